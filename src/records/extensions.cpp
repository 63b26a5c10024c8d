#include "extensions.h"

#include "../core/local_refs.h"
#include "common.h"

namespace tvj {

bool jobject2policy_t(JNIEnv* env, jobject obj, policy_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kPolicyClass> o(env, obj, "jobject2policy_t");
  return read_string<"oid">(o, &rec->oid) && read_string<"org_name">(o, &rec->org_name) &&
         o.read<"not_num">(rec->not_num) && read_string<"text">(o, &rec->text);
}

bool jobject2extkeyusage_t(JNIEnv* env, jobject obj, extkeyusage_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kExtKeyUsageClass> o(env, obj, "jobject2extkeyusage_t");
  return read_string<"oid">(o, &rec->oid);
}

bool jobject2extension_t(JNIEnv* env, jobject obj, extension_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kExtensionClass> o(env, obj, "jobject2extension_t");
  LocalRef<jbyteArray> data;
  if (!read_string<"oid">(o, &rec->oid) || !o.read<"type">(rec->type) ||
      !o.read<"critical">(rec->critical) || !o.read<"len">(rec->len) || !o.read<"data">(data))
    return false;
  if (!data || rec->len < 1) return true;
  return copy_input_bytes(env, data.get(), rec->len, &rec->data, "jobject2extension_t", "len");
}

bool policy_t2jobject(JNIEnv* env, jobject obj, policy_t* rec, context_t context) {
  JavaObject<kPolicyClass> o(env, obj, "policy_t2jobject");
  if (!write_string<"oid">(o, &rec->oid, context) ||
      !write_string<"org_name">(o, &rec->org_name, context) || !o.write<"not_num">(rec->not_num) ||
      !write_string<"text">(o, &rec->text, context))
    return false;
  zero(rec);
  return true;
}

bool extkeyusage_t2jobject(JNIEnv* env, jobject obj, extkeyusage_t* rec, context_t context) {
  JavaObject<kExtKeyUsageClass> o(env, obj, "extkeyusage_t2jobject");
  if (!write_string<"oid">(o, &rec->oid, context)) return false;
  zero(rec);
  return true;
}

// `data` becomes a new array of exactly `len` bytes, or null when the library gave no bytes (or
// a len below 1); the native block is released either way, unless the array cannot be made.
bool extension_t2jobject(JNIEnv* env, jobject obj, extension_t* rec, context_t context) {
  JavaObject<kExtensionClass> o(env, obj, "extension_t2jobject");
  if (!write_string<"oid">(o, &rec->oid, context) || !o.write<"type">(rec->type) ||
      !o.write<"critical">(rec->critical) || !o.write<"len">(rec->len))
    return false;
  jfieldID data = o.field<"data">();
  if (data == nullptr) return false;
  bool make = rec->data != nullptr && rec->len > 0;
  if (!store_bytes(env, obj, data, rec->data, rec->len, make, "extension_t2jobject")) return false;
  QUMEN_FreeMem(context, rec->data);
  zero(rec);
  return true;
}

void policy_tFree(JNIEnv*, policy_t* rec) { zero(rec); }

void extkeyusage_tFree(JNIEnv*, extkeyusage_t* rec) { zero(rec); }

void extension_tFree(JNIEnv*, jobject, extension_t* rec) { zero(rec); }

}  // namespace tvj
