// The floor the bridge is measured against: the same native calls written by hand, the way a
// careful engineer would for one method with nothing else to serve. IDs resolved once, small
// inputs through the stack, no frame, no guard, no arena. And a bare static native no-op.
#include <jni.h>

#include <cstdlib>
#include <cstring>

#include "tarvex.h"

namespace {

jfieldID handle_id, len_id, buf_id;

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) return JNI_ERR;
  jclass self = env->FindClass("Norv1/LocalIface");
  jclass block = env->FindClass("Norv1/LocalIface$mem_blk_t");
  if (self == nullptr || block == nullptr) return JNI_ERR;
  handle_id = env->GetFieldID(self, "handle", "J");
  len_id = env->GetFieldID(block, "len", "I");
  buf_id = env->GetFieldID(block, "buf", "[B");
  return JNI_VERSION_1_8;
}

JNIEXPORT void JNICALL Java_tvbench_Floor_noop(JNIEnv*, jclass) {}

JNIEXPORT jint JNICALL Java_tvbench_Floor_hashMem(JNIEnv* env, jclass, jobject self, jobject data,
                                                  jobject hash) {
  auto context = context_t(uint64_t(env->GetLongField(self, handle_id)));
  mem_blk_t in{env->GetIntField(data, len_id), nullptr};
  auto array = static_cast<jbyteArray>(env->GetObjectField(data, buf_id));
  uint8_t stack[4096];
  uint8_t* bytes = in.len <= int32_t(sizeof stack) ? stack : static_cast<uint8_t*>(std::malloc(size_t(in.len)));
  env->GetByteArrayRegion(array, 0, in.len, reinterpret_cast<jbyte*>(bytes));
  env->DeleteLocalRef(array);
  in.buf = bytes;
  mem_blk_t out{0, nullptr};
  int32_t status = QUMEN_HashMem(context, &in, &out);
  if (bytes != stack) std::free(bytes);
  jbyteArray result = env->NewByteArray(out.len);
  env->SetByteArrayRegion(result, 0, out.len, reinterpret_cast<jbyte*>(out.buf));
  env->SetObjectField(hash, buf_id, result);
  env->SetIntField(hash, len_id, out.len);
  env->DeleteLocalRef(result);
  QUMEN_FreeMem(context, out.buf);
  return status;
}

}  // extern "C"
