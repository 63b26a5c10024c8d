// TLS sessions inside the library, driven from Java: the bridge opens no connection and does no
// network input or output of its own. The session handle lives in the caller's object: Create
// stores it (0 on failure, even over an older session), Destroy hands the library the address of
// a local copy and always leaves 0; the other calls pass it by value.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include "../core/frame.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionCreate(
    JNIEnv* env, jclass cls, jobject context, jstring name, jobject session, jint option) {
  return call<QUMEN_TlsSessionCreate>(env, cls, context, Text{name}, HandleInit{session},
                                      Int{option});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionDestroy(JNIEnv* env, jclass cls,
                                                                         jobject context,
                                                                         jobject session) {
  return call<QUMEN_TlsSessionDestroy>(env, cls, context, HandleFinal{session});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionHandshake(
    JNIEnv* env, jclass cls, jobject context, jobject session, jobject received, jobject toSend) {
  return call<QUMEN_TlsSessionHandshake>(env, cls, context, HandleValue{session}, BlockIn{received},
                                         BlockOut{toSend});
}

// The native status as it stands: no result, no exception test.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionComplete(JNIEnv* env, jclass cls,
                                                                          jobject context,
                                                                          jobject session) {
  return call<QUMEN_TlsSessionComplete>(env, cls, context, HandleValue{session});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionQuery(
    JNIEnv* env, jclass cls, jobject context, jobject session, jint selector, jobject answer) {
  return call<QUMEN_TlsSessionQuery>(env, cls, context, HandleValue{session}, Int{selector},
                                     BlockOut{answer});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionWrite(
    JNIEnv* env, jclass cls, jobject context, jobject session, jobject plain, jobject toSend) {
  return call<QUMEN_TlsSessionWrite>(env, cls, context, HandleValue{session}, BlockIn{plain},
                                     BlockOut{toSend});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionRead(
    JNIEnv* env, jclass cls, jobject context, jobject session, jobject received, jobject plain) {
  return call<QUMEN_TlsSessionRead>(env, cls, context, HandleValue{session}, BlockIn{received},
                                    BlockOut{plain});
}

}  // extern "C"
