#include "certificate.h"

#include "../core/local_refs.h"
#include "common.h"

namespace tvj {

// The 16 reserved bytes are never touched but for a null object, which gives 392 zero bytes.
bool jobject2certificate_t(JNIEnv* env, jobject obj, certificate_t* rec) {
  if (obj == nullptr) {
    zero(rec);
    return true;
  }
  JavaObject<kCertificateClass> o(env, obj, "jobject2certificate_t");
  return o.read<"fields">(rec->fields) && read_string<"issuer">(o, &rec->issuer) &&
         read_string<"serialNumber">(o, &rec->serialNumber) &&
         read_string<"subject">(o, &rec->subject) && read_string<"algorithm">(o, &rec->algorithm) &&
         read_time<"notBeforeEx">(o, &rec->notBeforeEx) &&
         read_time<"notAfterEx">(o, &rec->notAfterEx) && o.read<"keyUsage">(rec->keyUsage) &&
         read_time<"notBeforePrivateEx">(o, &rec->notBeforePrivateEx) &&
         read_time<"notAfterPrivateEx">(o, &rec->notAfterPrivateEx) &&
         read_record<"issuerAltName", jobject2altname_t>(o, &rec->issuerAltName) &&
         read_record<"subjectAltName", jobject2altname_t>(o, &rec->subjectAltName) &&
         read_string<"keyId">(o, &rec->keyId) && read_extension_arrays(o, rec) &&
         read_record<"certEncoded", jobject2mem_blk_t>(o, &rec->certEncoded) &&
         read_record<"certHash", jobject2mem_blk_t>(o, &rec->certHash);
}

// The references a complete certificate's conversion makes, its alternative names' texts and
// its arrays' elements included: converted in a frame with room for them, it makes no other.
constexpr int kCertificateRefs = 96;

bool certificate_t2jobject(JNIEnv* env, jobject obj, certificate_t* rec, context_t context) {
  if (obj != nullptr) {
    RefRoom room(env, kCertificateRefs);
    JavaObject<kCertificateClass> o(env, obj, "certificate_t2jobject");
    bool done =
        o.write<"fields">(rec->fields) && write_string<"issuer">(o, &rec->issuer, context) &&
        write_string<"serialNumber">(o, &rec->serialNumber, context) &&
        write_string<"subject">(o, &rec->subject, context) &&
        write_string<"algorithm">(o, &rec->algorithm, context) &&
        o.write_time<"notBeforeEx">(rec->notBeforeEx) &&
        o.write_time<"notAfterEx">(rec->notAfterEx) && o.write<"keyUsage">(rec->keyUsage) &&
        o.write_time<"notBeforePrivateEx">(rec->notBeforePrivateEx) &&
        o.write_time<"notAfterPrivateEx">(rec->notAfterPrivateEx) &&
        write_record<"issuerAltName", kAltnameClass, altname_t2jobject>(o, &rec->issuerAltName,
                                                                        context) &&
        write_record<"subjectAltName", kAltnameClass, altname_t2jobject>(o, &rec->subjectAltName,
                                                                         context) &&
        write_string<"keyId">(o, &rec->keyId, context) && o.write<"policy_num">(rec->policy_num) &&
        write_released_records<"policies", kPolicyClass, policy_t2jobject>(
            o, rec->policies, rec->policy_num, context) &&
        o.write<"extkeyusage_num">(rec->extkeyusage_num) &&
        write_released_records<"extKeyUsage", kExtKeyUsageClass, extkeyusage_t2jobject>(
            o, rec->extKeyUsage, rec->extkeyusage_num, context) &&
        o.write<"extension_num">(rec->extension_num) &&
        write_released_records<"extensions", kExtensionClass, extension_t2jobject>(
            o, rec->extensions, rec->extension_num, context) &&
        write_block<"certEncoded">(o, &rec->certEncoded, context) &&
        write_block<"certHash">(o, &rec->certHash, context);
    if (!done) return false;
  }
  QUMEN_FreeCert(context, rec);
  zero(rec);
  return true;
}

void certificate_tFree(JNIEnv*, jobject, certificate_t* rec) {
  uint8_t reserved[sizeof rec->reserved];
  std::memcpy(reserved, rec->reserved, sizeof reserved);
  zero(rec);
  std::memcpy(rec->reserved, reserved, sizeof reserved);
}

}  // namespace tvj
