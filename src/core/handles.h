// The native context in LocalIface.handle, stream and session handles in the `handle` field of
// any object the caller passes, and the parameter record of QUMENJNI_InitializeEx.
#pragma once

#include <jni.h>

#include <atomic>

#include "../native/tarvex.h"
#include "java_class.h"

namespace tvj {

inline constexpr JavaClass kStrHandleClass{"Norv1/LocalIface$strhandle_t", {{"handle", "J"}}};
inline constexpr JavaClass kLocalParamClass{"Norv1/LocalIface$local_param_t",
                                            {{"flag", "I"},
                                             {"pse", "Ljava/lang/String;"},
                                             {"localstore", "Ljava/lang/String;"},
                                             {"ldap", "Ljava/lang/String;"},
                                             {"pincode", "Ljava/lang/String;"}}};

// The context in self's `handle` (the field looked up on the class argument). A missing field
// raises "java/lang/NoSuchFieldException" "jthis2context_t:handle" and gives 0; a null self
// raises "java/lang/NullPointerException" "jthis2context_t:self".
context_t jthis2context_t(JNIEnv* env, jclass cls, jobject self);

// Stores a context in self's `handle` ("context_t2jthis:handle", "context_t2jthis:self").
bool context_t2jthis(JNIEnv* env, jclass cls, jobject self, context_t context);

// The field ID of LocalIface.handle once found, and the lookup that finds it.
extern std::atomic<jfieldID> g_context_field;
bool read_context_looked_up(JNIEnv* env, jclass cls, jobject self, context_t* context);

// As jthis2context_t, telling whether it succeeded.
inline bool read_context(JNIEnv* env, jclass cls, jobject self, context_t* context) {
  jfieldID id = g_context_field.load(std::memory_order_relaxed);
  if (id == nullptr || self == nullptr) return read_context_looked_up(env, cls, self, context);
  *context = context_t(uint64_t(env->GetLongField(self, id)));
  return true;
}

// The handle in obj's `handle`; a null object reads as 0 without a lookup.
// Missing field: "jobject2strhandle_t:handle".
strhandle_t jobject2strhandle_t(JNIEnv* env, jobject obj);

// Stores a handle in obj's `handle`; a null object swallows it.
// Missing field: "strhandle_t2jobject:handle".
bool strhandle_t2jobject(JNIEnv* env, jobject obj, strhandle_t handle);

// The 48-byte record: size 48 and the fields in order flag, pse, localstore, ldap, pincode;
// all zero, size included, for a null object. Stops at the first missing field or failed
// string, keeping what was converted.
bool jobject2local_param_t(JNIEnv* env, jobject obj, local_param_t* rec);

// Its release: the strings go back with the call's memory; the pointers are cleared.
void local_param_tFree(JNIEnv* env, jobject obj, local_param_t* rec);

}  // namespace tvj
