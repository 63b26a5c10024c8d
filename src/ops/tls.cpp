// TLS sessions inside the library, driven from Java: the bridge opens no connection and does no
// network input or output of its own. The session handle lives in the caller's object: Create
// stores it (0 on failure, even over an older session), Destroy hands the library the address of
// a local copy and always leaves 0; the other calls pass it by value.
#include <jni.h>

#include "../core/frame.h"

using namespace tvj;

extern "C" {

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionCreate(JNIEnv* env, jclass cls,
                                                                        jobject self, jstring text,
                                                                        jobject session,
                                                                        jint value) {
  return call<QUMEN_TlsSessionCreate>(env, cls, self, Text{text}, HandleInit{session}, Int{value});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionDestroy(JNIEnv* env, jclass cls,
                                                                         jobject self,
                                                                         jobject session) {
  return call<QUMEN_TlsSessionDestroy>(env, cls, self, HandleFinal{session});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionHandshake(
    JNIEnv* env, jclass cls, jobject self, jobject session, jobject in, jobject out) {
  return call<QUMEN_TlsSessionHandshake>(env, cls, self, HandleValue{session}, BlockIn{in},
                                         BlockOut{out});
}

// The native status as it stands: no result, no exception test.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionComplete(JNIEnv* env, jclass cls,
                                                                          jobject self,
                                                                          jobject session) {
  return call<QUMEN_TlsSessionComplete>(env, cls, self, HandleValue{session});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionQuery(JNIEnv* env, jclass cls,
                                                                       jobject self,
                                                                       jobject session,
                                                                       jint selector, jobject out) {
  return call<QUMEN_TlsSessionQuery>(env, cls, self, HandleValue{session}, Int{selector},
                                     BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionWrite(JNIEnv* env, jclass cls,
                                                                       jobject self,
                                                                       jobject session, jobject in,
                                                                       jobject out) {
  return call<QUMEN_TlsSessionWrite>(env, cls, self, HandleValue{session}, BlockIn{in},
                                     BlockOut{out});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1TlsSessionRead(JNIEnv* env, jclass cls,
                                                                      jobject self, jobject session,
                                                                      jobject in, jobject out) {
  return call<QUMEN_TlsSessionRead>(env, cls, self, HandleValue{session}, BlockIn{in},
                                    BlockOut{out});
}

}  // extern "C"
