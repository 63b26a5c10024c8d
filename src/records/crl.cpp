#include "crl.h"

#include "common.h"

namespace tvj {

bool crl_t2jobject(JNIEnv* env, jobject obj, crl_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kCrlClass> o(env, obj, "crl_t2jobject");
    bool done = o.write<"fields">(rec->fields) &&
                write_string<"issuer">(o, &rec->issuer, context) &&
                o.write_time<"lastUpdateEx">(rec->lastUpdateEx) &&
                o.write_time<"nextUpdateEx">(rec->nextUpdateEx) && o.write<"number">(rec->number) &&
                o.write<"revcert_num">(rec->revcert_num) &&
                write_released_records<"revcerts", kRevcertClass, revcert_t2jobject>(
                    o, rec->revcerts, rec->revcert_num, context) &&
                write_block<"crlEncoded">(o, &rec->crlEncoded, context) &&
                write_block<"crlHash">(o, &rec->crlHash, context);
    if (!done) return false;
  }
  QUMEN_FreeCrl(context, rec);
  zero(rec);
  return true;
}

bool revcert_t2jobject(JNIEnv* env, jobject obj, revcert_t* rec, context_t context) {
  JavaObject<kRevcertClass> o(env, obj, "revcert_t2jobject");
  if (!write_string<"serialNumber">(o, &rec->serialNumber, context) ||
      !o.write_time<"revtimeEx">(rec->revtimeEx) || !o.write<"reason">(rec->reason))
    return false;
  zero(rec);
  return true;
}

// The othernames array itself goes back with QUMEN_FreeAltnameEx, not here.
bool altname_ex_t2jobject(JNIEnv* env, jobject obj, altname_ex_t* rec, context_t context) {
  if (obj != nullptr) {
    JavaObject<kAltnameExClass> o(env, obj, "altname_ex_t2jobject");
    if (!o.write<"othername_num">(rec->othername_num) ||
        !write_records<"othernames", kOthernameClass, othername_t2jobject>(
            o, rec->othernames, rec->othername_num, context))
      return false;
  }
  QUMEN_FreeAltnameEx(context, rec);
  zero(rec);
  return true;
}

bool othername_t2jobject(JNIEnv* env, jobject obj, othername_t* rec, context_t context) {
  JavaObject<kOthernameClass> o(env, obj, "othername_t2jobject");
  if (!write_string<"oid">(o, &rec->oid, context) || !write_string<"name">(o, &rec->name, context))
    return false;
  zero(rec);
  return true;
}

bool basic_constraints_ex_t2jobject(JNIEnv* env, jobject obj, basic_constraints_ex_t* rec,
                                    context_t) {
  if (obj != nullptr) {
    JavaObject<kBasicConstraintsClass> o(env, obj, "basic_constraints_ex_t2jobject");
    if (!o.write<"ca">(rec->ca) || !o.write<"pathlen">(rec->pathlen)) return false;
  }
  zero(rec);
  return true;
}

}  // namespace tvj
