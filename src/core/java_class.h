// Java record classes as the bridge sees them: a JNI class name and the fields it reads or
// writes, each by name and JNI signature, and the IDs of those fields resolved once.
//
// A converter names the class it expects (`JavaClass`) and reaches fields by name at compile
// time (`o.read<"len">(v)`): a misspelt field or a wrong accessor for the field's signature
// does not compile. At run time the fields are looked up on the class of the object actually
// given, as any JNI converter must, but the documented class (the nested class of LocalIface)
// is resolved once per process and its field IDs reused whenever the object is an instance of
// exactly that class (asked of the VM for an object a caller gave; known for one the bridge
// created, and for an argument whose declared class settles it, core/declarations.h). Any other
// class is looked up field by field, on demand. Both paths raise
// the same exceptions at the same points: a missing field is "java/lang/NoSuchFieldException"
// with "<converter>:<field>", raised where the converter first needs it.
//
// The bridge binds to the class loader of the first LocalIface that loads it: the resolved
// classes are global references held for the life of the process, as the library itself is.
#pragma once

#include <jni.h>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <type_traits>

#include "exceptions.h"
#include "local_refs.h"

namespace tvj {

// The integers an int or a long field is read into or written from.
template <typename T>
concept Int32 = std::is_integral_v<T> && sizeof(T) == 4;
template <typename T>
concept Int64 = std::is_integral_v<T> && sizeof(T) == 8;

// A field name written at the call site as a template argument: `o.read<"len">(v)`.
template <size_t N>
struct Name {
  char text[N];
  constexpr Name(const char (&s)[N]) {
    for (size_t i = 0; i < N; ++i) text[i] = s[i];
  }
  constexpr std::string_view view() const { return {text, N - 1}; }
};

struct JavaField {
  const char* name;
  const char* sig;
};

template <size_t N>
struct JavaClass {
  const char* jni_name;
  std::array<JavaField, N> fields;

  constexpr JavaClass(const char* name, const JavaField (&f)[N]) : jni_name(name), fields{} {
    for (size_t i = 0; i < N; ++i) fields[i] = f[i];
  }
  constexpr explicit JavaClass(const char* name) requires(N == 0) : jni_name(name), fields{} {}

  constexpr int index_of(std::string_view field) const {
    for (size_t i = 0; i < N; ++i)
      if (std::string_view(fields[i].name) == field) return int(i);
    return -1;
  }
};
template <size_t N>
JavaClass(const char*, const JavaField (&)[N]) -> JavaClass<N>;
JavaClass(const char*)->JavaClass<0>;

// The documented class of a description, resolved once.
struct ResolvedClass {
  jclass cls;           // global reference
  bool final_class;     // no subclass exists: IsInstanceOf identifies exactly this class
  const jfieldID* ids;  // in the declared order; null where the class lacks the field
};

struct ClassSlot {
  std::atomic<const ResolvedClass*> resolved{nullptr};
  std::atomic<bool> absent{false};
};

// The object that JavaObject::create just made, while its converter fills it (Filling): the VM
// made it of exactly the documented class, so the converter's JavaObject asks the VM nothing.
// A local reference identifies one object while it lives, and this one lives for the whole fill.
struct CreatedObject {
  jobject obj;
  const ResolvedClass* cls;
};
extern __thread CreatedObject t_filling __attribute__((tls_model("initial-exec")));

class Filling {
 public:
  Filling(jobject obj, const ResolvedClass* cls) : saved_(t_filling) { t_filling = {obj, cls}; }
  ~Filling() { t_filling = saved_; }
  Filling(const Filling&) = delete;
  Filling& operator=(const Filling&) = delete;

 private:
  CreatedObject saved_;
};

// Resolves the class named `name` (FindClass through LocalIface's class loader) and its
// fields, once per slot; nullptr when the class cannot be found. Called with no exception
// pending; leaves none pending.
const ResolvedClass* resolve_class(JNIEnv* env, ClassSlot& slot, const char* name,
                                   const JavaField* fields, size_t count);

template <const auto& Class>
inline const ResolvedClass* documented_class(JNIEnv* env) {
  static ClassSlot slot;
  const ResolvedClass* r = slot.resolved.load(std::memory_order_acquire);
  if (r != nullptr || slot.absent.load(std::memory_order_relaxed)) return r;
  return resolve_class(env, slot, Class.jni_name, Class.fields.data(), Class.fields.size());
}

// The class a description names, for creating objects and arrays: FindClass semantics. On failure
// raises "java/lang/ClassNotFoundException" "<converter>:<class>" and returns null.
template <const auto& Class>
inline jclass find_class(JNIEnv* env, const char* converter) {
  const ResolvedClass* r = documented_class<Class>(env);
  if (r == nullptr) {
    throw_class_not_found(env, converter, Class.jni_name);
    return nullptr;
  }
  return r->cls;
}

// A new object of `cls` (AllocObject: no constructor runs); on failure OutOfMemoryError
// "<converter>" in place of the VM's own error.
LocalRef<jobject> allocate_object(JNIEnv* env, jclass cls, const char* converter);

// One Java object of a record class, with its fields reached by name. Every accessor returns
// false, with an exception pending, when the field is missing; the caller returns at once.
template <const auto& Class>
class JavaObject {
  static constexpr size_t kFields = Class.fields.size();

 public:
  // An object the caller passed (not null): fields are found on its own class. `declared`, when
  // not null, is that class, settled by the method's declaration (core/declarations.h).
  JavaObject(JNIEnv* env, jobject obj, const char* converter,
             const ResolvedClass* declared = nullptr)
      : env_(env), obj_(obj), converter_(converter) {
    if (declared != nullptr) {
      known_ = declared;
      return;
    }
    const ResolvedClass* r = documented_class<Class>(env);
    if (r != nullptr && obj == t_filling.obj && r == t_filling.cls) {
      known_ = r;  // made by create() and being filled
      fresh_ = true;
      return;
    }
    ask_class(r);
  }

  // Creates an object of the documented class without running a constructor (AllocObject);
  // fill it inside filling(obj), so that its converter knows its class.
  // On failure: ClassNotFoundException "<converter>:<class>", or OutOfMemoryError "<converter>".
  static LocalRef<jobject> create(JNIEnv* env, const char* converter) {
    jclass cls = find_class<Class>(env, converter);
    return cls != nullptr ? allocate_object(env, cls, converter) : LocalRef<jobject>();
  }

  // The scope in which an object create() made is filled.
  static Filling filling(JNIEnv* env, jobject created) {
    return Filling(created, documented_class<Class>(env));
  }

  jobject get() const { return obj_; }
  // Made by create() in this call and not yet seen by Java: its fields all still hold null or
  // 0, so storing null or 0 changes nothing.
  bool fresh() const { return fresh_; }
  JNIEnv* env() const { return env_; }
  const char* converter() const { return converter_; }

  template <Name F>
  jfieldID field() {
    return field_at(index<F>());
  }

  // The field at `i` in the class description; null, with NoSuchFieldException pending, when
  // the object's class lacks it.
  jfieldID field_at(int i) {
    if (known_ != nullptr && known_->ids[i] != nullptr) return known_->ids[i];
    return look_up(i);
  }

  // Int and long fields read into and written from 32-bit and 64-bit integers, the JNI types
  // (jint, jlong) or the native records' own (int32_t, int64_t): on Windows jint is long, a
  // type of its own.
  template <Name F, Int32 T>
  bool read(T& out) {
    static_assert(sig<F>() == "I", "an int accessor on a field that is not I");
    jfieldID id = field<F>();
    if (id == nullptr) return false;
    out = T(env_->GetIntField(obj_, id));
    return true;
  }
  template <Name F, Int64 T>
  bool read(T& out) {
    static_assert(sig<F>() == "J", "a long accessor on a field that is not J");
    jfieldID id = field<F>();
    if (id == nullptr) return false;
    out = T(env_->GetLongField(obj_, id));
    return true;
  }
  template <Name F, typename T>
  bool read(LocalRef<T>& out) {
    static_assert(sig<F>()[0] == 'L' || sig<F>()[0] == '[', "an object accessor on a primitive");
    jfieldID id = field<F>();
    if (id == nullptr) return false;
    out = LocalRef<T>(env_, static_cast<T>(env_->GetObjectField(obj_, id)));
    return true;
  }

  template <Name F, Int32 T>
  bool write(T value) {
    static_assert(sig<F>() == "I", "an int accessor on a field that is not I");
    jfieldID id = field<F>();
    if (id == nullptr) return false;
    env_->SetIntField(obj_, id, jint(value));
    return true;
  }
  template <Name F, Int64 T>
  bool write(T value) {
    static_assert(sig<F>() == "J", "a long accessor on a field that is not J");
    jfieldID id = field<F>();
    if (id == nullptr) return false;
    env_->SetLongField(obj_, id, jlong(value));
    return true;
  }
  // A native unsigned 32-bit time into a Java long, widened without sign.
  template <Name F>
  bool write_time(uint32_t value) {
    return write<F>(jlong(value));
  }
  template <Name F>
  bool write_object(jobject value) {
    static_assert(sig<F>()[0] == 'L' || sig<F>()[0] == '[', "an object accessor on a primitive");
    jfieldID id = field<F>();
    if (id == nullptr) return false;
    env_->SetObjectField(obj_, id, value);
    return true;
  }

 private:
  template <Name F>
  static constexpr int index() {
    constexpr int i = Class.index_of(F.view());
    static_assert(i >= 0, "the class description has no field of this name");
    return i;
  }
  template <Name F>
  static constexpr std::string_view sig() {
    return Class.fields[index<F>()].sig;
  }

  // The class of an object the caller passed, asked of the VM. Out of line, like look_up, so
  // that every converter stays small: converting a large record runs through little code.
  [[gnu::noinline]] void ask_class(const ResolvedClass* r) {
    if (r != nullptr && r->final_class && env_->IsInstanceOf(obj_, r->cls)) {
      known_ = r;  // a final class has no subclass: an instance is of exactly that class
      return;
    }
    own_class_ = LocalRef<jclass>(env_, env_->GetObjectClass(obj_));
    if (r != nullptr && !r->final_class && env_->IsSameObject(own_class_.get(), r->cls)) known_ = r;
  }

  // A field the documented class lacks, or any field of another class: looked up on the
  // object's own class once per object.
  [[gnu::noinline]] jfieldID look_up(int i) {
    if (known_ != nullptr) {
      throw_no_such_field(env_, converter_, Class.fields[i].name);
      return nullptr;
    }
    if (ids_[i] == nullptr) {
      ids_[i] = env_->GetFieldID(own_class_.get(), Class.fields[i].name, Class.fields[i].sig);
      if (ids_[i] == nullptr) throw_no_such_field(env_, converter_, Class.fields[i].name);
    }
    return ids_[i];
  }

  JNIEnv* env_;
  jobject obj_;
  const char* converter_;
  const ResolvedClass* known_ = nullptr;
  bool fresh_ = false;
  LocalRef<jclass> own_class_;
  std::array<jfieldID, kFields> ids_{};
};

}  // namespace tvj
