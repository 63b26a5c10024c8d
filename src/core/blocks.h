// Memory blocks (Java mem_blk_t <-> native mem_blk_t) and int arrays of a known length.
//
// Like every converter of the bridge, each reports failure by leaving a Java exception pending,
// and returns whether it completed (false exactly when it left one), which spares its callers a
// call into the VM to ask.
#pragma once

#include <jni.h>

#include <cstdint>

#include "../native/tarvex.h"
#include "java_class.h"
#include "local_refs.h"

namespace tvj {

inline constexpr JavaClass kMemBlkClass{"Norv1/LocalIface$mem_blk_t",
                                        {{"len", "I"}, {"buf", "[B"}}};

// Input block. A null object gives len 0, buf null; so does a null buf or a len below 1
// (len kept as read). Otherwise buf is a copy of the first len bytes of the Java array in the
// call's memory: the native library can never write into the caller's array. A len beyond the
// array's length is refused: "java/lang/ArrayIndexOutOfBoundsException" "jobject2mem_blk_t:len".
bool jobject2mem_blk_t(JNIEnv* env, jobject obj, mem_blk_t* blk);

// The same for an argument whose class the method's declaration settles (core/declarations.h):
// `declared` is that class, or null to ask the object, as jobject2mem_blk_t does. A block of at
// most room_size bytes is copied into `room`, which the caller keeps for the call.
bool jobject2mem_blk_t_declared(JNIEnv* env, jobject obj, mem_blk_t* blk,
                                const ResolvedClass* declared, uint8_t* room = nullptr,
                                size_t room_size = 0);

// Release of an input block: the copy goes back with the call's memory; the record is cleared.
// Never raises, never calls into the VM.
inline void mem_blk_tFree(JNIEnv*, jobject, mem_blk_t* blk) {
  blk->len = 0;
  blk->buf = nullptr;
}

// Output block: Java len becomes the native len, Java buf a new array of exactly len bytes
// (null when the native buf is null or len < 1), and the native buffer is released with
// QUMEN_FreeMem (also when null). A null object only releases. On failure the record keeps
// its len and buf, unreleased.
bool mem_blk_t2jobject(JNIEnv* env, jobject obj, mem_blk_t* blk, context_t context);
bool mem_blk_t2jobject_declared(JNIEnv* env, jobject obj, mem_blk_t* blk, context_t context,
                                const ResolvedClass* declared);

// As mem_blk_t2jobject, but releases nothing: the array is made whenever buf is not null.
bool mem_blk_t2jobjectNoFree(JNIEnv* env, jobject obj, mem_blk_t* blk);

// A new Java mem_blk_t filled from the native block (released), for a field of a record.
// Missing class: ClassNotFoundException "<converter>:Norv1/LocalIface$mem_blk_t"; a failed
// creation: OutOfMemoryError "<converter>". Empty on failure.
LocalRef<jobject> new_mem_blk(JNIEnv* env, mem_blk_t* blk, context_t context,
                              const char* converter);

// Sets the byte[] field `field` of `obj` to a new array holding the `len` bytes at `buf`, or to
// null when `make` is false. When the array cannot be made (no room, or a negative len) the
// field is left null and "java/lang/OutOfMemoryError" "<converter>" pending.
bool store_bytes(JNIEnv* env, jobject obj, jfieldID field, const uint8_t* buf, jint len, bool make,
                 const char* converter);

// The first `len` bytes of a Java byte array, copied into `room` when they fit (room_size bytes
// the caller keeps for the call), else into the call's memory. Refuses a len beyond the array
// (ArrayIndexOutOfBoundsException "<converter>:<len_field>").
bool copy_input_bytes(JNIEnv* env, jbyteArray array, jint len, uint8_t** out, const char* converter,
                      const char* len_field, uint8_t* room = nullptr, size_t room_size = 0);

// Native values into a Java int[] of exactly `count` elements (a null array: nothing). Another
// length raises "java/lang/ArrayIndexOutOfBoundsException" "intArray2jintArray:array".
bool intArray2jintArray(JNIEnv* env, jintArray array, const int32_t* values, jsize count);

// The mirror, Java to native; "jintArray2intArray:array". A null array leaves the values.
bool jintArray2intArray(JNIEnv* env, jintArray array, int32_t* values, jsize count);

}  // namespace tvj
