// certificate_t: one X.509 certificate as the library describes it (392 bytes), with its
// alternative names, policies, extended key usages, extensions, encoding and hash.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "altname.h"
#include "extensions.h"

namespace tvj {

inline constexpr JavaClass kCertificateClass{"Norv1/LocalIface$certificate_t",
                                             {{"fields", "I"},
                                              {"issuer", kStringSig},
                                              {"serialNumber", kStringSig},
                                              {"subject", kStringSig},
                                              {"algorithm", kStringSig},
                                              {"notBeforeEx", "J"},
                                              {"notAfterEx", "J"},
                                              {"keyUsage", "I"},
                                              {"notBeforePrivateEx", "J"},
                                              {"notAfterPrivateEx", "J"},
                                              {"issuerAltName", "LNorv1/LocalIface$altname_t;"},
                                              {"subjectAltName", "LNorv1/LocalIface$altname_t;"},
                                              {"keyId", kStringSig},
                                              {"policy_num", "I"},
                                              {"policies", "[LNorv1/LocalIface$policy_t;"},
                                              {"extkeyusage_num", "I"},
                                              {"extKeyUsage", "[LNorv1/LocalIface$extkeyusage_t;"},
                                              {"extension_num", "I"},
                                              {"extensions", "[LNorv1/LocalIface$extension_t;"},
                                              {"certEncoded", "LNorv1/LocalIface$mem_blk_t;"},
                                              {"certHash", "LNorv1/LocalIface$mem_blk_t;"}}};

// Java to native, for a certificate handed to the library (a recipient, a search template):
// every field in order, stopping at the first failure. A null object gives 392 zero bytes.
bool jobject2certificate_t(JNIEnv* env, jobject obj, certificate_t* rec);

// Native to Java, filling `obj` in place: every nested object is new. The native parts are
// released as they are converted, the rest with QUMEN_FreeCert at the end, and the record is
// zero afterwards. A null object only releases. On a failure the unconverted parts stay in the
// record.
bool certificate_t2jobject(JNIEnv* env, jobject obj, certificate_t* rec, context_t context);

// Release after jobject2certificate_t: the record is cleared, its 16 reserved bytes left alone.
void certificate_tFree(JNIEnv* env, jobject obj, certificate_t* rec);

using CertificateIn = RecordIn<certificate_t, jobject2certificate_t, certificate_tFree>;
using CertificateOut = RecordOut<certificate_t, certificate_t2jobject, QUMEN_FreeCert>;

}  // namespace tvj
