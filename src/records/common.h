// What every record converter does with nested records, arrays of records and arrays of texts,
// in both directions. The converters of each family read as the list of their fields, in order,
// each a call to JavaObject (core/java_class.h) or to one of these.
//
// Java to native: an array of records follows its own count field, stored as read. A null array
// or a count below 1 gives a null pointer. Otherwise `count` elements are fetched by index and
// converted into a block of the call's memory; an index past the array's end raises the VM's own
// ArrayIndexOutOfBoundsException, after the elements that exist were converted, and nothing is
// allocated for elements that cannot exist.
//
// Native to Java: every nested object is new (AllocObject, no constructor runs), and the field's
// old value never outlives the conversion: a failure leaves the field null. Missing classes raise
// "java/lang/ClassNotFoundException" "<converter>:<class>"; a creation that fails in the VM
// (no room, a negative count) raises "java/lang/OutOfMemoryError" "<converter>" in place of the
// VM's own error. Local references are deleted once stored.
#pragma once

#include <jni.h>

#include <algorithm>
#include <cstring>

#include "../core/blocks.h"
#include "../core/exceptions.h"
#include "../core/frame.h"
#include "../core/java_class.h"
#include "../core/local_refs.h"
#include "../core/scratch.h"
#include "../core/strings.h"
#include "../native/tarvex.h"
#include "extensions.h"

namespace tvj {

inline constexpr JavaClass kStringClass{"java/lang/String"};

// ---- Java to native
// ------------------------------------------------------------------------------

// A record field converted into `rec` by `To` (a null object gives To's null record).
template <Name F, auto To, const auto& Class, typename Rec>
bool read_record(JavaObject<Class>& o, Rec* rec) {
  LocalRef<jobject> child;
  return o.template read<F>(child) && To(o.env(), child.get(), rec);
}

// A 32-bit time from a Java long: its low 32 bits.
template <Name F, const auto& Class>
bool read_time(JavaObject<Class>& o, uint32_t* out) {
  jlong value = 0;
  if (!o.template read<F>(value)) return false;
  *out = uint32_t(uint64_t(value));
  return true;
}

// The array field F converted element by element with `To` into a new block, `count` being the
// count the converter just read.
template <Name F, auto To, const auto& Class, typename Elem>
bool read_records(JavaObject<Class>& o, jint count, Elem** out) {
  JNIEnv* env = o.env();
  *out = nullptr;
  LocalRef<jobjectArray> array;
  if (!o.template read<F>(array)) return false;
  if (!array || count < 1) return true;
  jint available = std::min(count, env->GetArrayLength(array.get()));
  auto* elems =
      static_cast<Elem*>(scratch_alloc(sizeof(Elem) * size_t(std::max<jint>(available, 1))));
  if (elems == nullptr) {
    throw_out_of_memory(env, o.converter());
    return false;
  }
  std::memset(static_cast<void*>(elems), 0, sizeof(Elem) * size_t(std::max<jint>(available, 1)));
  *out = elems;
  for (jint i = 0; i < available; ++i) {
    LocalRef<jobject> element(env, env->GetObjectArrayElement(array.get(), i));
    if (!To(env, element.get(), &elems[i])) return false;
  }
  if (available < count) {  // the element past the array's end: the VM raises its own error
    env->GetObjectArrayElement(array.get(), available);
    return false;
  }
  return true;
}

// The three arrays that certificate_t and verify_param_t share, each after its count, read from
// Java in that order: policies, extended key usages, extensions.
template <typename JavaRecord, typename Rec>
bool read_extension_arrays(JavaRecord& o, Rec* rec) {
  return o.template read<"policy_num">(rec->policy_num) &&
         read_records<"policies", jobject2policy_t>(o, rec->policy_num, &rec->policies) &&
         o.template read<"extkeyusage_num">(rec->extkeyusage_num) &&
         read_records<"extKeyUsage", jobject2extkeyusage_t>(o, rec->extkeyusage_num,
                                                            &rec->extKeyUsage) &&
         o.template read<"extension_num">(rec->extension_num) &&
         read_records<"extensions", jobject2extension_t>(o, rec->extension_num, &rec->extensions);
}

// ---- Native to Java
// ------------------------------------------------------------------------------

// Gives a block back to the native library and clears the pointer.
template <typename T>
void free_native(context_t context, T*& block) {
  if (block != nullptr) QUMEN_FreeMem(context, block);
  block = nullptr;
}

// The object field a writer below stores into.
struct FieldTarget {
  JNIEnv* env;
  jobject obj;
  jfieldID id;
  bool fresh;  // the object is one this call made (JavaObject::fresh)
  const char* converter;
};

template <const auto& Class>
FieldTarget target(JavaObject<Class>& o, jfieldID id) {
  return {o.env(), o.get(), id, o.fresh(), o.converter()};
}

// Null into the field (nothing to do in an object made by this call).
bool store_null(const FieldTarget& to);

// After a conversion into the field failed: the field must not keep its old value. It is set to
// null with the pending exception set aside meanwhile (no other call is allowed while one is
// pending), then the same exception is raised again. Returns false.
bool dropped_on_failure(const FieldTarget& to);

// Fills a new object of ElemClass's class from `rec` with From: one of many fields inside a local
// frame of its own (LocalFrame), so that the references its conversion makes go at once, unless
// it is converted inside a frame that still has room for them.
template <const auto& ElemClass, auto From, typename Rec>
bool fill_object(JNIEnv* env, jobject obj, Rec* rec, context_t context) {
  Filling filling = JavaObject<ElemClass>::filling(env, obj);
  if constexpr (ElemClass.fields.size() >= 8) {
    if (t_spare_local_refs >= int(ElemClass.fields.size()) + 8)  // inside a frame with room
      return From(env, obj, rec, context);
    LocalFrame frame(env);
    return frame.pushed() && From(env, obj, rec, context);
  } else {
    return From(env, obj, rec, context);
  }
}

// How the objects of one record class are found and filled from native records: all that
// the writers of nested records need to know of it. One copy of their code thus serves every
// field of every record.
struct RecordKind {
  jclass (*find)(JNIEnv* env, const char* converter);
  bool (*fill)(JNIEnv* env, jobject obj, void* rec, context_t context);
  size_t size;  // of one native record
};

template <const auto& ElemClass, auto From, typename Rec>
bool fill_kind(JNIEnv* env, jobject obj, void* rec, context_t context) {
  return fill_object<ElemClass, From>(env, obj, static_cast<Rec*>(rec), context);
}

template <const auto& ElemClass, auto From, typename Rec>
inline constexpr RecordKind kRecordKind{&find_class<ElemClass>, &fill_kind<ElemClass, From, Rec>,
                                        sizeof(Rec)};

// The field becomes a new object of the kind, filled from `rec`; a null `rec` (a record the
// library did not give) leaves the field null.
bool write_record_to(const FieldTarget& to, const RecordKind& kind, void* rec, context_t context);

// The array field: `count` new objects of the kind, element i filled from the i-th record at
// `elems`. A null `elems` leaves the field null.
bool write_records_to(const FieldTarget& to, const RecordKind& kind, void* elems, jint count,
                      context_t context);

// The record field F becomes a new object of ElemClass's class filled from `rec` by From; a null
// `rec` leaves the field null.
template <Name F, const auto& ElemClass, auto From, const auto& Class, typename Rec>
bool write_record(JavaObject<Class>& o, Rec* rec, context_t context) {
  jfieldID id = o.template field<F>();
  return id != nullptr &&
         write_record_to(target(o, id), kRecordKind<ElemClass, From, Rec>, rec, context);
}

// The mem_blk_t field F becomes a new block object, filled (and released) from `blk`.
template <Name F, const auto& Class>
bool write_block(JavaObject<Class>& o, mem_blk_t* blk, context_t context) {
  return write_record<F, kMemBlkClass, mem_blk_t2jobject>(o, blk, context);
}

// The array field F: `count` new objects of ElemClass's class, element i filled from elems[i] by
// From. A null `elems` leaves it null.
template <Name F, const auto& ElemClass, auto From, const auto& Class, typename Elem>
bool write_records(JavaObject<Class>& o, Elem* elems, jint count, context_t context) {
  jfieldID id = o.template field<F>();
  return id != nullptr &&
         write_records_to(target(o, id), kRecordKind<ElemClass, From, Elem>, elems, count, context);
}

// As write_records, for an array block the converter itself gives back: once the array reached
// Java, the native block (its elements already emptied) is released with QUMEN_FreeMem.
template <Name F, const auto& ElemClass, auto From, const auto& Class, typename Elem>
bool write_released_records(JavaObject<Class>& o, Elem*& elems, jint count, context_t context) {
  if (!write_records<F, ElemClass, From>(o, elems, count, context)) return false;
  free_native(context, elems);
  return true;
}

// A new array of `count` elements of the class `cls` for field F, each made by make(i), which
// returns false with an exception pending when it fails (the element may be null otherwise).
template <Name F, const auto& Class, typename Make>
bool write_array(JavaObject<Class>& o, jclass cls, jint count, Make make) {
  JNIEnv* env = o.env();
  jfieldID id = o.template field<F>();
  if (id == nullptr) return false;
  LocalRef<jobjectArray> array(env, env->NewObjectArray(count, cls, nullptr));
  if (!array) {
    throw_out_of_memory(env, o.converter());
    return false;
  }
  for (jint i = 0; i < count; ++i) {
    LocalRef<jobject> element;
    if (!make(i, element)) return false;
    env->SetObjectArrayElement(array.get(), i, element.get());
  }
  env->SetObjectField(o.get(), id, array.get());
  return true;
}

// The String[] field F from `count` native texts, each released by string_t2jstring (an empty
// text gives a null element). The field is cleared first; a null list leaves it null.
template <Name F, const auto& Class>
bool write_texts(JavaObject<Class>& o, string_t* texts, jint count, context_t context) {
  JNIEnv* env = o.env();
  jfieldID id = o.template field<F>();
  if (id == nullptr) return false;
  if (texts == nullptr) return store_null(target(o, id));
  jclass cls = find_class<kStringClass>(env, o.converter());
  if (cls == nullptr || !write_array<F>(o, cls, count, [&](jint i, LocalRef<jobject>& element) {
        jstring s = nullptr;
        bool converted = string_t2jstring(env, &s, &texts[i], context);
        element = LocalRef<jobject>(env, s);
        return converted;
      }))
    return dropped_on_failure(target(o, id));
  return true;
}

}  // namespace tvj
