// The alternative names of a certificate's issuer or subject: fourteen texts. The Java class has
// a fifteenth, notes_address, with no native counterpart: ignored on the way in, always null on
// the way out.
#pragma once

#include <jni.h>

#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "extensions.h"

namespace tvj {

inline constexpr JavaClass kAltnameClass{"Norv1/LocalIface$altname_t",
                                         {{"emailAddress", kStringSig},
                                          {"DNS", kStringSig},
                                          {"URI", kStringSig},
                                          {"IP", kStringSig},
                                          {"organizationName", kStringSig},
                                          {"registredAddress", kStringSig},
                                          {"surname", kStringSig},
                                          {"businessCategory", kStringSig},
                                          {"telephoneNumber", kStringSig},
                                          {"description", kStringSig},
                                          {"account_number", kStringSig},
                                          {"bank_id", kStringSig},
                                          {"physicalDelivery", kStringSig},
                                          {"exchange_address", kStringSig},
                                          {"notes_address", kStringSig}}};

bool jobject2altname_t(JNIEnv* env, jobject obj, altname_t* rec);
bool altname_t2jobject(JNIEnv* env, jobject obj, altname_t* rec, context_t context);
void altname_tFree(JNIEnv* env, altname_t* rec);

}  // namespace tvj
