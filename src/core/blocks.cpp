#include "blocks.h"

#include <type_traits>

#include "exceptions.h"
#include "local_refs.h"
#include "scratch.h"

namespace tvj {

bool copy_input_bytes(JNIEnv* env, jbyteArray array, jint len, uint8_t** out, const char* converter,
                      const char* len_field, uint8_t* room, size_t room_size) {
  if (len > env->GetArrayLength(array)) {
    throw_array_index(env, converter, len_field);
    return false;
  }
  auto* copy = size_t(len) <= room_size ? room : static_cast<uint8_t*>(scratch_alloc(size_t(len)));
  if (copy == nullptr) {
    throw_out_of_memory(env, converter);
    return false;
  }
  env->GetByteArrayRegion(array, 0, len, reinterpret_cast<jbyte*>(copy));
  *out = copy;
  return true;
}

bool jobject2mem_blk_t(JNIEnv* env, jobject obj, mem_blk_t* blk) {
  return jobject2mem_blk_t_declared(env, obj, blk, nullptr);
}

bool jobject2mem_blk_t_declared(JNIEnv* env, jobject obj, mem_blk_t* blk,
                                const ResolvedClass* declared, uint8_t* room, size_t room_size) {
  blk->len = 0;
  blk->buf = nullptr;
  if (obj == nullptr) return true;
  JavaObject<kMemBlkClass> o(env, obj, "jobject2mem_blk_t", declared);
  LocalRef<jbyteArray> array;
  if (!o.read<"len">(blk->len) || !o.read<"buf">(array)) return false;
  if (!array || blk->len < 1) return true;
  return copy_input_bytes(env, array.get(), blk->len, &blk->buf, "jobject2mem_blk_t", "len", room,
                          room_size);
}

bool store_bytes(JNIEnv* env, jobject obj, jfieldID field, const uint8_t* buf, jint len, bool make,
                 const char* converter) {
  if (!make) {
    env->SetObjectField(obj, field, nullptr);
    return true;
  }
  LocalRef<jbyteArray> array(env, env->NewByteArray(len));
  if (!array) {
    // The field must not keep its old array: set it to null (with the VM's error cleared, as
    // SetObjectField needs), then raise the documented error.
    env->ExceptionClear();
    env->SetObjectField(obj, field, nullptr);
    throw_out_of_memory(env, converter);
    return false;
  }
  env->SetByteArrayRegion(array.get(), 0, len, reinterpret_cast<const jbyte*>(buf));
  env->SetObjectField(obj, field, array.get());
  return true;
}

namespace {

// Stores the Java side of an output block: len, then buf as a new array of exactly the bytes
// (or null). Without `always_array` an array is made only for a non-null buf and len >= 1.
bool store_block(JNIEnv* env, jobject obj, const mem_blk_t* blk, const char* converter,
                 bool always_array, const ResolvedClass* declared = nullptr) {
  JavaObject<kMemBlkClass> o(env, obj, converter, declared);
  if (!o.write<"len">(blk->len)) return false;
  jfieldID buf = o.field<"buf">();
  if (buf == nullptr) return false;
  bool make = blk->buf != nullptr && (always_array || blk->len > 0);
  if (!make && o.fresh()) return true;  // buf is null already
  return store_bytes(env, obj, buf, blk->buf, blk->len, make, converter);
}

}  // namespace

bool mem_blk_t2jobject(JNIEnv* env, jobject obj, mem_blk_t* blk, context_t context) {
  return mem_blk_t2jobject_declared(env, obj, blk, context, nullptr);
}

bool mem_blk_t2jobject_declared(JNIEnv* env, jobject obj, mem_blk_t* blk, context_t context,
                                const ResolvedClass* declared) {
  if (obj != nullptr && !store_block(env, obj, blk, "mem_blk_t2jobject", false, declared))
    return false;
  QUMEN_FreeMem(context, blk->buf);
  blk->len = 0;
  blk->buf = nullptr;
  return true;
}

bool mem_blk_t2jobjectNoFree(JNIEnv* env, jobject obj, mem_blk_t* blk) {
  if (obj != nullptr && !store_block(env, obj, blk, "mem_blk_t2jobjectNoFree", true)) return false;
  blk->len = 0;
  blk->buf = nullptr;
  return true;
}

LocalRef<jobject> new_mem_blk(JNIEnv* env, mem_blk_t* blk, context_t context,
                              const char* converter) {
  LocalRef<jobject> obj = JavaObject<kMemBlkClass>::create(env, converter);
  if (!obj) return obj;
  Filling filling = JavaObject<kMemBlkClass>::filling(env, obj.get());
  if (!mem_blk_t2jobject(env, obj.get(), blk, context)) return {};
  return obj;
}

namespace {

// A Java int[] and native 32-bit integers: one copy when they are the same type; else (jint is
// long on Windows) one value at a time.
template <typename Int>
void set_ints(JNIEnv* env, jintArray array, const Int* values, jsize count) {
  if constexpr (std::is_same_v<Int, jint>) {
    env->SetIntArrayRegion(array, 0, count, values);
  } else {
    for (jsize i = count; i-- > 0;) {
      jint value = jint(values[i]);
      env->SetIntArrayRegion(array, i, 1, &value);
    }
  }
}

template <typename Int>
void get_ints(JNIEnv* env, jintArray array, Int* values, jsize count) {
  if constexpr (std::is_same_v<Int, jint>) {
    env->GetIntArrayRegion(array, 0, count, values);
  } else {
    for (jsize i = count; i-- > 0;) {
      jint value = 0;
      env->GetIntArrayRegion(array, i, 1, &value);
      values[i] = Int(value);
    }
  }
}

}  // namespace

bool intArray2jintArray(JNIEnv* env, jintArray array, const int32_t* values, jsize count) {
  if (array == nullptr) return true;
  if (env->GetArrayLength(array) != count) {
    throw_array_index(env, "intArray2jintArray", "array");
    return false;
  }
  set_ints(env, array, values, count);
  return true;
}

bool jintArray2intArray(JNIEnv* env, jintArray array, int32_t* values, jsize count) {
  if (array == nullptr) return true;
  if (env->GetArrayLength(array) != count) {
    throw_array_index(env, "jintArray2intArray", "array");
    return false;
  }
  get_ints(env, array, values, count);
  return true;
}

}  // namespace tvj
