// The floor the bridge is measured against: the same native calls written by hand, the way a
// careful engineer would for one method with nothing else to serve, and a bare static native
// no-op. Field and class IDs are resolved once at load; inputs are copied with
// GetByteArrayRegion into a stack buffer or into a per-thread buffer kept from call to call (no
// heap allocation per call); results are new Java objects, built inside one local frame per
// certificate; texts (ASCII here) become Java strings with NewStringUTF. Native results go back
// to the library as the bridge gives them back: each text, buffer and block of a record array
// with QUMEN_FreeMem once its content reached Java, then the rest with the record's release
// function. No checks beyond what JNI itself makes: the benchmark passes well-formed objects.
//
// Floor.program() also sets the stand-in's answers that the benchmark compares: VerifyMem with
// four signers, each with a fully populated certificate, and FindCert with 32 certificates.
#include <jni.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "standin.h"
#include "tarvex.h"

namespace {

struct Field {
  jfieldID* id;
  const char* name;
  const char* sig;
};

constexpr const char* kStr = "Ljava/lang/String;";
constexpr const char* kBlk = "LNorv1/LocalIface$mem_blk_t;";

jclass mem_blk_class, altname_class, policy_class, eku_class, extension_class, certificate_class,
    sign_status_class;
jfieldID handle_id, len_id, buf_id;
jfieldID altname_ids[14];
jfieldID policy_oid, policy_org, policy_not, policy_text;
jfieldID eku_oid;
jfieldID ext_oid, ext_type, ext_critical, ext_len, ext_data;
jfieldID c_fields, c_issuer, c_serial, c_subject, c_algorithm, c_nb, c_na, c_ku, c_nbp, c_nap,
    c_ialt, c_salt, c_keyid, c_pnum, c_pols, c_enum, c_ekus, c_xnum, c_exts, c_enc, c_hash;
jfieldID vp_flag, vp_ku, vp_pnum, vp_pols, vp_enum, vp_ekus, vp_xnum, vp_exts, vp_del, vp_min,
    vp_info;
jfieldID vr_num, vr_signs, ss_status, ss_time, ss_cert;
jfieldID fp_flag, fp_template, fp_info, fr_num, fr_certs;

const char* const kAltnameFields[14] = {"emailAddress",
                                        "DNS",
                                        "URI",
                                        "IP",
                                        "organizationName",
                                        "registredAddress",
                                        "surname",
                                        "businessCategory",
                                        "telephoneNumber",
                                        "description",
                                        "account_number",
                                        "bank_id",
                                        "physicalDelivery",
                                        "exchange_address"};

jclass global_class(JNIEnv* env, const char* name) {
  jclass local = env->FindClass(name);
  if (local == nullptr) return nullptr;
  auto global = static_cast<jclass>(env->NewGlobalRef(local));
  env->DeleteLocalRef(local);
  return global;
}

bool resolve(JNIEnv* env, jclass cls, std::initializer_list<Field> fields) {
  for (const Field& f : fields)
    if ((*f.id = env->GetFieldID(cls, f.name, f.sig)) == nullptr) return false;
  return true;
}

// ---- Inputs ----------------------------------------------------------------------------------

// Bytes of the calling thread kept from call to call for inputs larger than the stack buffer.
struct ThreadBuffer {
  uint8_t* data = nullptr;
  size_t size = 0;
  ~ThreadBuffer() { std::free(data); }
  uint8_t* get(size_t n) {
    if (n > size) {
      std::free(data);
      data = static_cast<uint8_t*>(std::malloc(n));
      size = data != nullptr ? n : 0;
    }
    return data;
  }
};
thread_local ThreadBuffer thread_buffer;

constexpr jint kStackBytes = 4096;

// The block's bytes into `stack` when they fit, else into the thread's buffer.
mem_blk_t read_block(JNIEnv* env, jobject obj, uint8_t* stack) {
  mem_blk_t blk{env->GetIntField(obj, len_id), nullptr};
  auto array = static_cast<jbyteArray>(env->GetObjectField(obj, buf_id));
  if (array != nullptr && blk.len > 0) {
    blk.buf = blk.len <= kStackBytes ? stack : thread_buffer.get(size_t(blk.len));
    env->GetByteArrayRegion(array, 0, blk.len, reinterpret_cast<jbyte*>(blk.buf));
    env->DeleteLocalRef(array);
  }
  return blk;
}

// ---- Results -----------------------------------------------------------------------------------

jstring text(JNIEnv* env, const char* s) {
  return s != nullptr && *s != '\0' ? env->NewStringUTF(s) : nullptr;
}

jbyteArray byte_array(JNIEnv* env, const uint8_t* buf, jint len) {
  if (buf == nullptr || len < 1) return nullptr;
  jbyteArray array = env->NewByteArray(len);
  env->SetByteArrayRegion(array, 0, len, reinterpret_cast<const jbyte*>(buf));
  return array;
}

// A native block given back to the library once its content reached Java, as the bridge does
// (its contract: texts, buffers and the blocks of record arrays go back one by one, and the
// record's release function finds only what was not converted).
template <typename T>
void give_back(context_t context, T*& block) {
  if (block != nullptr) QUMEN_FreeMem(context, block);
  block = nullptr;
}

void set_text(JNIEnv* env, jobject obj, jfieldID id, string_t& s, context_t context) {
  env->SetObjectField(obj, id, text(env, s));
  give_back(context, s);
}

void write_block(JNIEnv* env, jobject obj, const mem_blk_t& blk) {
  env->SetIntField(obj, len_id, blk.len);
  env->SetObjectField(obj, buf_id, byte_array(env, blk.buf, blk.len));
}

jobject new_block(JNIEnv* env, mem_blk_t& blk, context_t context) {
  jobject obj = env->AllocObject(mem_blk_class);
  write_block(env, obj, blk);
  give_back(context, blk.buf);
  return obj;
}

jobject new_altname(JNIEnv* env, altname_t& names, context_t context) {
  jobject obj = env->AllocObject(altname_class);
  string_t* texts = &names.emailAddress;
  for (int i = 0; i < 14; ++i) set_text(env, obj, altname_ids[i], texts[i], context);
  return obj;
}

// A new array of `count` new objects of `cls`, each filled by fill(object, element); null for a
// null list. Each element's reference goes once stored, so that few are live at once.
template <typename T, typename Fill>
jobjectArray new_array(JNIEnv* env, jclass cls, T* elems, jint count, Fill fill) {
  if (elems == nullptr) return nullptr;
  jobjectArray array = env->NewObjectArray(count, cls, nullptr);
  for (jint i = 0; i < count; ++i) {
    jobject e = env->AllocObject(cls);
    fill(e, elems[i]);
    env->SetObjectArrayElement(array, i, e);
    env->DeleteLocalRef(e);
  }
  return array;
}

// Fills a certificate_t in a local frame of its own (the caller's references stay few), then
// releases what is left of it.
void fill_certificate(JNIEnv* env, jobject obj, certificate_t& c, context_t context) {
  env->PushLocalFrame(80);
  env->SetIntField(obj, c_fields, c.fields);
  set_text(env, obj, c_issuer, c.issuer, context);
  set_text(env, obj, c_serial, c.serialNumber, context);
  set_text(env, obj, c_subject, c.subject, context);
  set_text(env, obj, c_algorithm, c.algorithm, context);
  env->SetLongField(obj, c_nb, jlong(c.notBeforeEx));
  env->SetLongField(obj, c_na, jlong(c.notAfterEx));
  env->SetIntField(obj, c_ku, c.keyUsage);
  env->SetLongField(obj, c_nbp, jlong(c.notBeforePrivateEx));
  env->SetLongField(obj, c_nap, jlong(c.notAfterPrivateEx));
  env->SetObjectField(obj, c_ialt, new_altname(env, c.issuerAltName, context));
  env->SetObjectField(obj, c_salt, new_altname(env, c.subjectAltName, context));
  set_text(env, obj, c_keyid, c.keyId, context);
  env->SetIntField(obj, c_pnum, c.policy_num);
  env->SetObjectField(
      obj, c_pols,
      new_array(env, policy_class, c.policies, c.policy_num, [&](jobject p, policy_t& x) {
        set_text(env, p, policy_oid, x.oid, context);
        set_text(env, p, policy_org, x.org_name, context);
        env->SetIntField(p, policy_not, x.not_num);
        set_text(env, p, policy_text, x.text, context);
      }));
  give_back(context, c.policies);
  env->SetIntField(obj, c_enum, c.extkeyusage_num);
  env->SetObjectField(
      obj, c_ekus,
      new_array(env, eku_class, c.extKeyUsage, c.extkeyusage_num,
                [&](jobject e, extkeyusage_t& x) { set_text(env, e, eku_oid, x.oid, context); }));
  give_back(context, c.extKeyUsage);
  env->SetIntField(obj, c_xnum, c.extension_num);
  env->SetObjectField(obj, c_exts,
                      new_array(env, extension_class, c.extensions, c.extension_num,
                                [&](jobject e, extension_t& x) {
                                  set_text(env, e, ext_oid, x.oid, context);
                                  env->SetIntField(e, ext_type, x.type);
                                  env->SetIntField(e, ext_critical, x.critical);
                                  env->SetIntField(e, ext_len, x.len);
                                  env->SetObjectField(e, ext_data, byte_array(env, x.data, x.len));
                                  give_back(context, x.data);
                                }));
  give_back(context, c.extensions);
  env->SetObjectField(obj, c_enc, new_block(env, c.certEncoded, context));
  env->SetObjectField(obj, c_hash, new_block(env, c.certHash, context));
  env->PopLocalFrame(nullptr);
  QUMEN_FreeCert(context, &c);  // as the bridge does; nothing is left by now
}

context_t context_of(JNIEnv* env, jobject self) {
  return context_t(uint64_t(env->GetLongField(self, handle_id)));
}

}  // namespace

extern "C" {

JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) return JNI_ERR;
  jclass self = env->FindClass("Norv1/LocalIface");
  mem_blk_class = global_class(env, "Norv1/LocalIface$mem_blk_t");
  altname_class = global_class(env, "Norv1/LocalIface$altname_t");
  policy_class = global_class(env, "Norv1/LocalIface$policy_t");
  eku_class = global_class(env, "Norv1/LocalIface$extkeyusage_t");
  extension_class = global_class(env, "Norv1/LocalIface$extension_t");
  certificate_class = global_class(env, "Norv1/LocalIface$certificate_t");
  sign_status_class = global_class(env, "Norv1/LocalIface$sign_status_t");
  jclass verify_param = env->FindClass("Norv1/LocalIface$verify_param_t");
  jclass verify_result = env->FindClass("Norv1/LocalIface$verify_result_t");
  jclass find_param = env->FindClass("Norv1/LocalIface$find_param_t");
  jclass find_result = env->FindClass("Norv1/LocalIface$find_result_t");
  if (self == nullptr || mem_blk_class == nullptr || altname_class == nullptr ||
      policy_class == nullptr || eku_class == nullptr || extension_class == nullptr ||
      certificate_class == nullptr || sign_status_class == nullptr || verify_param == nullptr ||
      verify_result == nullptr || find_param == nullptr || find_result == nullptr)
    return JNI_ERR;
  for (int i = 0; i < 14; ++i)
    if ((altname_ids[i] = env->GetFieldID(altname_class, kAltnameFields[i], kStr)) == nullptr)
      return JNI_ERR;
  bool ok =
      resolve(env, self, {{&handle_id, "handle", "J"}}) &&
      resolve(env, mem_blk_class, {{&len_id, "len", "I"}, {&buf_id, "buf", "[B"}}) &&
      resolve(env, policy_class,
              {{&policy_oid, "oid", kStr},
               {&policy_org, "org_name", kStr},
               {&policy_not, "not_num", "I"},
               {&policy_text, "text", kStr}}) &&
      resolve(env, eku_class, {{&eku_oid, "oid", kStr}}) &&
      resolve(env, extension_class,
              {{&ext_oid, "oid", kStr},
               {&ext_type, "type", "I"},
               {&ext_critical, "critical", "I"},
               {&ext_len, "len", "I"},
               {&ext_data, "data", "[B"}}) &&
      resolve(env, certificate_class,
              {{&c_fields, "fields", "I"},
               {&c_issuer, "issuer", kStr},
               {&c_serial, "serialNumber", kStr},
               {&c_subject, "subject", kStr},
               {&c_algorithm, "algorithm", kStr},
               {&c_nb, "notBeforeEx", "J"},
               {&c_na, "notAfterEx", "J"},
               {&c_ku, "keyUsage", "I"},
               {&c_nbp, "notBeforePrivateEx", "J"},
               {&c_nap, "notAfterPrivateEx", "J"},
               {&c_ialt, "issuerAltName", "LNorv1/LocalIface$altname_t;"},
               {&c_salt, "subjectAltName", "LNorv1/LocalIface$altname_t;"},
               {&c_keyid, "keyId", kStr},
               {&c_pnum, "policy_num", "I"},
               {&c_pols, "policies", "[LNorv1/LocalIface$policy_t;"},
               {&c_enum, "extkeyusage_num", "I"},
               {&c_ekus, "extKeyUsage", "[LNorv1/LocalIface$extkeyusage_t;"},
               {&c_xnum, "extension_num", "I"},
               {&c_exts, "extensions", "[LNorv1/LocalIface$extension_t;"},
               {&c_enc, "certEncoded", kBlk},
               {&c_hash, "certHash", kBlk}}) &&
      resolve(env, verify_param,
              {{&vp_flag, "flag", "I"},
               {&vp_ku, "keyUsage", "I"},
               {&vp_pnum, "policy_num", "I"},
               {&vp_pols, "policies", "[LNorv1/LocalIface$policy_t;"},
               {&vp_enum, "extkeyusage_num", "I"},
               {&vp_ekus, "extKeyUsage", "[LNorv1/LocalIface$extkeyusage_t;"},
               {&vp_xnum, "extension_num", "I"},
               {&vp_exts, "extensions", "[LNorv1/LocalIface$extension_t;"},
               {&vp_del, "nSignToDelete", "I"},
               {&vp_min, "minsigns", "I"},
               {&vp_info, "info", "I"}}) &&
      resolve(env, verify_result,
              {{&vr_num, "sign_num", "I"},
               {&vr_signs, "signs", "[LNorv1/LocalIface$sign_status_t;"}}) &&
      resolve(env, sign_status_class,
              {{&ss_status, "status", "I"},
               {&ss_time, "timeEx", "J"},
               {&ss_cert, "cert", "LNorv1/LocalIface$certificate_t;"}}) &&
      resolve(env, find_param,
              {{&fp_flag, "flag", "I"},
               {&fp_template, "certTemplate", "LNorv1/LocalIface$certificate_t;"},
               {&fp_info, "info", "I"}}) &&
      resolve(env, find_result,
              {{&fr_num, "num", "I"}, {&fr_certs, "certs", "[LNorv1/LocalIface$certificate_t;"}});
  return ok ? JNI_VERSION_1_8 : JNI_ERR;
}

JNIEXPORT void JNICALL Java_tvbench_Floor_noop(JNIEnv*, jclass) {}

JNIEXPORT void JNICALL Java_tvbench_Floor_program(JNIEnv*, jclass) {
  standin::on<QUMEN_VerifyMem>([](context_t c, verify_param_t*, mem_blk_t* in, mem_blk_t*,
                                  mem_blk_t* out, verify_result_t* result) {
    if (in->buf != nullptr && in->len > 0)
      *out =
          mem_blk_t{in->len, standin::bytes(c, std::vector<uint8_t>(in->buf, in->buf + in->len))};
    result->sign_num = 4;
    result->signs = static_cast<sign_status_t*>(standin::alloc(c, 4 * sizeof(sign_status_t)));
    for (int i = 0; i < 4; ++i)
      result->signs[i] =
          sign_status_t{i, 0x80000000u + uint32_t(i), standin::new_certificate(c, i + 1)};
    return 0;
  });
  standin::on<QUMEN_FindCert>([](context_t c, find_param_t*, find_result_t* result) {
    standin::fill_find_result(c, result, 32);
    return 0;
  });
}

JNIEXPORT jint JNICALL Java_tvbench_Floor_hashMem(JNIEnv* env, jclass, jobject self, jobject data,
                                                  jobject hash) {
  context_t context = context_of(env, self);
  uint8_t stack[kStackBytes];
  mem_blk_t in = read_block(env, data, stack);
  mem_blk_t out{0, nullptr};
  int32_t status = QUMEN_HashMem(context, &in, &out);
  write_block(env, hash, out);
  QUMEN_FreeMem(context, out.buf);
  return status;
}

JNIEXPORT jint JNICALL Java_tvbench_Floor_parseCert(JNIEnv* env, jclass, jobject self,
                                                    jobject encoded, jint flag, jobject cert) {
  context_t context = context_of(env, self);
  uint8_t stack[kStackBytes];
  mem_blk_t in = read_block(env, encoded, stack);
  certificate_t out{};
  int32_t status = QUMEN_ParseCert(context, &in, flag, &out);
  fill_certificate(env, cert, out, context);
  return status;
}

JNIEXPORT jint JNICALL Java_tvbench_Floor_verifyMem(JNIEnv* env, jclass, jobject self,
                                                    jobject param, jobject in1, jobject in2,
                                                    jobject content, jobject result) {
  context_t context = context_of(env, self);
  // The benchmark's parameters carry no policies, usages or extensions: the arrays stay null.
  verify_param_t p{};
  p.flag = env->GetIntField(param, vp_flag);
  p.keyUsage = env->GetIntField(param, vp_ku);
  p.policy_num = env->GetIntField(param, vp_pnum);
  p.extkeyusage_num = env->GetIntField(param, vp_enum);
  p.extension_num = env->GetIntField(param, vp_xnum);
  p.nSignToDelete = env->GetIntField(param, vp_del);
  p.minsigns = env->GetIntField(param, vp_min);
  p.info = env->GetIntField(param, vp_info);
  uint8_t stack1[kStackBytes];
  mem_blk_t message = read_block(env, in1, stack1);
  mem_blk_t detached{0, nullptr};
  uint8_t stack2[kStackBytes];
  if (in2 != nullptr) detached = read_block(env, in2, stack2);
  mem_blk_t out{0, nullptr};
  verify_result_t r{};
  int32_t status = QUMEN_VerifyMem(context, &p, &message, &detached, &out, &r);
  write_block(env, content, out);
  QUMEN_FreeMem(context, out.buf);
  env->SetIntField(result, vr_num, r.sign_num);
  env->SetObjectField(
      result, vr_signs,
      new_array(env, sign_status_class, r.signs, r.sign_num, [&](jobject s, sign_status_t& x) {
        env->SetIntField(s, ss_status, x.status);
        env->SetLongField(s, ss_time, jlong(x.timeEx));
        if (x.cert == nullptr) return;
        jobject cert = env->AllocObject(certificate_class);
        fill_certificate(env, cert, *x.cert, context);
        give_back(context, x.cert);
        env->SetObjectField(s, ss_cert, cert);
        env->DeleteLocalRef(cert);
      }));
  QUMEN_FreeVerifyResult(context, &r);
  return status;
}

JNIEXPORT jint JNICALL Java_tvbench_Floor_findCert(JNIEnv* env, jclass, jobject self, jobject param,
                                                   jobject result) {
  context_t context = context_of(env, self);
  // The benchmark searches without a template: a null certTemplate is 392 zero bytes.
  find_param_t p{};
  p.flag = env->GetIntField(param, fp_flag);
  p.info = env->GetIntField(param, fp_info);
  find_result_t r{};
  int32_t status = QUMEN_FindCert(context, &p, &r);
  env->SetIntField(result, fr_num, r.num);
  env->SetObjectField(
      result, fr_certs,
      new_array(env, certificate_class, r.certs, r.num,
                [&](jobject cert, certificate_t& x) { fill_certificate(env, cert, x, context); }));
  QUMEN_FreeFindResult(context, &r);
  return status;
}

}  // extern "C"
