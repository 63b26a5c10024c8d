// Certificate stores and registry profiles: import, export, search, add, enumerate, issue and
// create stores; create and query registry profiles.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include <algorithm>
#include <cstring>

#include "../core/frame.h"
#include "../core/local_refs.h"
#include "../records/common.h"
#include "../records/store.h"

using namespace tvj;

namespace {

// The record of ExportMem is left as it is after the call (the others are zeroed); nothing in it
// needs releasing either way.
template <typename Rec>
void leave_record(JNIEnv*, jobject, Rec*) {}
using ExportMemParam =
    RecordIn<export_param_t, jobject2export_param_t, leave_record<export_param_t>>;

// A Java mem_blk_t[] with the count the caller gives (its length is never consulted): `count`
// native blocks, each converted by jobject2mem_blk_t (a null element gives a zero block). A count
// below 1, or a null array, passes a null pointer with the count as given. A count beyond the
// array's end raises the VM's own ArrayIndexOutOfBoundsException once the elements that exist
// are converted. The blocks copy their bytes, so the clean-up has nothing to give back to Java.
struct BlockArray {
  jobjectArray java;
  jint count;
  mem_blk_t* blocks = nullptr;

  void convert(CallState& s) {
    if (java == nullptr || count < 1) return;
    jint available = std::min(count, s.env->GetArrayLength(java));
    size_t room = sizeof(mem_blk_t) * size_t(std::max<jint>(available, 1));
    blocks = static_cast<mem_blk_t*>(scratch_alloc(room));
    if (blocks == nullptr) {
      s.status = kNoBuffer;
      return;
    }
    std::memset(static_cast<void*>(blocks), 0, room);
    for (jint i = 0; i < available; ++i) {
      LocalRef<jobject> element(s.env, s.env->GetObjectArrayElement(java, i));
      if (s.env->ExceptionCheck()) return;
      jobject2mem_blk_t(s.env, element.get(), &blocks[i]);
      if (s.env->ExceptionCheck()) return;
    }
    if (available < count) s.env->GetObjectArrayElement(java, available);  // the VM's own error
  }
  mem_blk_t* native() { return blocks; }
  void release(JNIEnv*) { blocks = nullptr; }
};

// The text buffer of QueryRegistryProfile: `size` zero bytes from QUMEN_AllocMem (0xE0700006 when
// it gives none), filled by the library, converted into element 0 of the caller's String[]
// whatever the status. A null array is treated like a null result object: nothing is stored, the
// buffer is still given back. After a fault the buffer is left with the library, as results are.
struct ProfileBuffer : Result {
  jobjectArray java;
  jint size;
  char* buffer = nullptr;
  ProfileBuffer(jobjectArray j, jint n) : java(j), size(n) {}

  void convert(CallState& s) {
    buffer = static_cast<char*>(QUMEN_AllocMem(s.context, int64_t(size)));
    if (buffer == nullptr) {
      s.status = kNoBuffer;
      return;
    }
    if (size > 0) std::memset(buffer, 0, size_t(size));
  }
  char* native() { return buffer; }
  // The text is what precedes the first NUL within the buffer's size: never read past it.
  void result(CallState& s) {
    size_t n = size > 0 ? strnlen(buffer, size_t(size)) : 0;
    jstring text = nullptr;
    if (n > 0 && !narrow_to_jstring(s.env, buffer, n, &text, "string_t2jstring")) return;
    LocalRef<jstring> owned(s.env, text);
    free_native(s.context, buffer);
    if (java != nullptr) s.env->SetObjectArrayElement(java, 0, text);  // may raise the VM's own
  }
  void discard(context_t context) { free_native(context, buffer); }
};

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ImportMem(JNIEnv* env, jclass cls,
                                                                 jobject context, jobject param,
                                                                 jobject data) {
  return call<QUMEN_ImportMem>(env, cls, context, ImportParam{param}, BlockIn{data});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ImportFile(JNIEnv* env, jclass cls,
                                                                  jobject context, jobject param,
                                                                  jstring dataFile) {
  return call<QUMEN_ImportFile>(env, cls, context, ImportParam{param}, Text{dataFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ExportMem(JNIEnv* env, jclass cls,
                                                                 jobject context, jobject param,
                                                                 jobject data) {
  return call<QUMEN_ExportMem>(env, cls, context, ExportMemParam{param}, BlockOut{data});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1ExportFile(JNIEnv* env, jclass cls,
                                                                  jobject context, jobject param,
                                                                  jstring dataFile) {
  return call<QUMEN_ExportFile>(env, cls, context, ExportParam{param}, Text{dataFile});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1FindCert(JNIEnv* env, jclass cls,
                                                                jobject context, jobject param,
                                                                jobject result) {
  return call<QUMEN_FindCert>(env, cls, context, FindParam{param}, FindResult{result});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1AddCertificate(JNIEnv* env, jclass cls,
                                                                      jobject context,
                                                                      jobject param, jobject cert) {
  return call<QUMEN_AddCertificate>(env, cls, context, AddParam{param}, BlockIn{cert});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1AddCRL(JNIEnv* env, jclass cls,
                                                              jobject context, jobject param,
                                                              jobject crl) {
  return call<QUMEN_AddCRL>(env, cls, context, AddParam{param}, BlockIn{crl});
}

// The handle carries the enumeration's position from call to call. A failed step writes 0 into
// it and leaves the Java block as it was; the first parameter is never read (null goes in its
// place).
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EnumStoreObjects(JNIEnv* env, jclass cls,
                                                                        jobject context, jobject,
                                                                        jobject position,
                                                                        jobject object,
                                                                        jint options) {
  return call<QUMEN_EnumStoreObjects>(env, cls, context, Null<void>{}, HandlePosition{position},
                                      OnSuccess<BlockOut>{object}, Int{options});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1EnumStoreObjectsEx(
    JNIEnv* env, jclass cls, jobject context, jobject, jstring firstText, jstring secondText,
    jobject position, jobject object, jint options) {
  return call<QUMEN_EnumStoreObjectsEx>(env, cls, context, Null<void>{}, Text{firstText},
                                        Text{secondText}, HandlePosition{position},
                                        OnSuccess<BlockOut>{object}, Int{options});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1IssueCertificateStore(
    JNIEnv* env, jclass cls, jobject context, jobject data, jstring firstText, jstring secondText) {
  return call<QUMEN_IssueCertificateStore>(env, cls, context, BlockIn{data}, Text{firstText},
                                           Text{secondText});
}

// The two block arrays convert first, then text 2, then text 1.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CreateCertificateStore(
    JNIEnv* env, jclass cls, jobject context, jobjectArray firstBlocks, jint firstCount,
    jobjectArray secondBlocks, jint secondCount, jstring firstText, jstring secondText,
    jint options) {
  return call<QUMEN_CreateCertificateStore>(env, cls, context, BlockArray{firstBlocks, firstCount},
                                            Int{firstCount}, BlockArray{secondBlocks, secondCount},
                                            Int{secondCount}, Later<Text, 2>{{firstText}},
                                            Later<Text, 1>{{secondText}}, Int{options});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CreateRegistryProfile(
    JNIEnv* env, jclass cls, jobject context, jstring firstText, jstring secondText, jint value) {
  return call<QUMEN_CreateRegistryProfile>(env, cls, context, Text{firstText}, Text{secondText},
                                           Int{value});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1CreateRegistryProfileEx(
    JNIEnv* env, jclass cls, jobject context, jstring firstText, jstring secondText,
    jstring thirdText, jstring fourthText, jint value) {
  return call<QUMEN_CreateRegistryProfileEx>(env, cls, context, Text{firstText}, Text{secondText},
                                             Text{thirdText}, Text{fourthText}, Int{value});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1QueryRegistryProfile(
    JNIEnv* env, jclass cls, jobject context, jobjectArray text, jint size, jint selector) {
  return call<QUMEN_QueryRegistryProfile>(env, cls, context, ProfileBuffer{text, size}, Int{size},
                                          Int{selector});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1QueryRegistryProfileEx(
    JNIEnv* env, jclass cls, jobject context, jobject firstOutput, jobject secondOutput,
    jobject thirdOutput, jobject fourthOutput, jint selector) {
  return call<QUMEN_QueryRegistryProfileEx>(env, cls, context, BlockOut{firstOutput},
                                            BlockOut{secondOutput}, BlockOut{thirdOutput},
                                            BlockOut{fourthOutput}, Int{selector});
}

}  // extern "C"
