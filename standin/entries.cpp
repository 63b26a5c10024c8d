// Every function of the library but the memory functions (memory.cpp). A function without a
// default of its own checks its context and succeeds, leaving its results empty.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "entry.h"

using namespace standin;
using namespace standin::detail;

namespace {

int32_t new_context(context_t* out) {
  *out = open_context();
  return 0;
}

int32_t fill_digest(context_t context, const uint8_t* data, size_t len, mem_blk_t* out) {
  std::vector<uint8_t> d = digest(data, len);
  out->len = int32_t(d.size());
  out->buf = bytes(context, d);
  return 0;
}

int32_t hash_block(context_t context, const mem_blk_t* data, mem_blk_t* out) {
  if (!context_live(context)) return kBadContext;
  return fill_digest(context, data->buf,
                     data->buf != nullptr && data->len > 0 ? size_t(data->len) : 0, out);
}

int32_t hash_file(context_t context, const char* name, mem_blk_t* out) {
  if (!context_live(context)) return kBadContext;
  if (name == nullptr) return kNoFile;
  std::ifstream file(name, std::ios::binary);
  if (!file) return kNoFile;
  std::vector<uint8_t> content((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
  return fill_digest(context, content.data(), content.size(), out);
}

const char* error_text(int32_t code) {
  switch (code) {
    case 0:
      return "success";
    case kBadContext:
      return "stand-in: the context is not live";
    case kBadHandle:
      return "stand-in: unknown or ended handle";
    case kMismatch:
      return "stand-in: verification found a difference";
    case kNoFile:
      return "stand-in: the file could not be read";
    default:
      return nullptr;
  }
}

// A deterministic byte sequence: the stand-in has no randomness, on purpose.
int32_t pseudo_random(context_t context, int32_t count, mem_blk_t* out) {
  if (!context_live(context)) return kBadContext;
  if (count < 0) return kMismatch;
  std::vector<uint8_t> b(static_cast<size_t>(count));
  uint32_t x = 0x2545F491;
  for (auto& v : b) v = uint8_t((x = x * 1103515245u + 12345u) >> 16);
  out->len = count;
  out->buf = bytes(context, b);
  return 0;
}

// The stand-in's transformation pair: first[i] = second[i] ^ 0x5A, both ways.
int32_t mask_bytes(uint8_t* first, const uint8_t* second, int64_t length) {
  if (first == nullptr || second == nullptr) return length > 0 ? kMismatch : 0;
  for (int64_t i = 0; i < length; ++i) first[i] = second[i] ^ 0x5A;
  return 0;
}

std::vector<uint8_t> block_bytes(const mem_blk_t* b) {
  if (b == nullptr || b->buf == nullptr || b->len <= 0) return {};
  return std::vector<uint8_t>(b->buf, b->buf + b->len);
}

// A stream that checks content against the detached signature its Init stage is given: refused
// at once when that is not one of the stand-in's.
int32_t detached_init(context_t context, strhandle_t* h, const mem_blk_t* signature) {
  Bytes s = block_bytes(signature);
  if (!context_live(context)) return kBadContext;
  if (!detached_signature(s)) return kMismatch;
  return message_init(context, h, "CmsStrDetVerify", detached_verifying(std::move(s)));
}

int32_t parse_certificate(context_t context, const mem_blk_t* encoded, certificate_t* cert) {
  if (!context_live(context)) return kBadContext;
  std::vector<uint8_t> der = block_bytes(encoded);
  if (der.empty()) return kMismatch;
  fill_certificate(context, cert, 7);
  release(context, cert->certEncoded.buf, "stand-in");
  release(context, cert->certHash.buf, "stand-in");
  std::vector<uint8_t> d = digest(der.data(), der.size());
  cert->certEncoded = mem_blk_t{int32_t(der.size()), bytes(context, der)};
  cert->certHash = mem_blk_t{int32_t(d.size()), bytes(context, d)};
  return 0;
}

// Checks the context, then lets `filler` put a complete result in place.
template <typename Filler>
int32_t fill(context_t context, Filler filler) {
  if (!context_live(context)) return kBadContext;
  filler();
  return 0;
}

// After a successful stage, `filler` puts a complete result in place.
template <typename Filler>
int32_t finish(int32_t status, Filler filler) {
  if (status == 0) filler();
  return status;
}

// A decryption stream starts with state word 1.
int32_t first_state(int32_t status, int32_t* state) {
  if (status == 0) *state = 1;
  return status;
}

}  // namespace

extern "C" {

// Lifecycle
int32_t QUMEN_Initialize(string_t name, int32_t value, context_t* context) {
  return enter<QUMEN_Initialize>(
      __func__, [&] { return new_context(context); }, name, value, context);
}
int32_t QUMEN_InitializeEx(int32_t value, local_param_t* param, context_t* context) {
  return enter<QUMEN_InitializeEx>(
      __func__, [&] { return new_context(context); }, value, param, context);
}
int32_t QUMEN_InitMinimal(context_t* context) {
  return enter<QUMEN_InitMinimal>(
      __func__, [&] { return new_context(context); }, context);
}
int32_t QUMEN_Uninitialize(context_t context) {
  return enter<QUMEN_Uninitialize>(
      __func__, [&] { return end_context(context) ? 0 : kBadContext; }, context);
}

// Diagnostics and utilities
string_t QUMEN_GetErrorText(int32_t code, char* buffer, int32_t capacity) {
  return enter<QUMEN_GetErrorText>(
      __func__,
      [&]() -> string_t {
        std::string programmed;
        const char* text =
            programmed_error_text(code, &programmed) ? programmed.c_str() : error_text(code);
        if (text == nullptr || buffer == nullptr || capacity < 1) return nullptr;
        std::snprintf(buffer, size_t(capacity), "%s", text);
        return buffer;
      },
      code, buffer, capacity);
}
int32_t QUMEN_GenRandom(context_t context, int32_t count, mem_blk_t* out) {
  return enter<QUMEN_GenRandom>(
      __func__, [&] { return pseudo_random(context, count, out); }, context, count, out);
}
int32_t QUMEN_EncodeMem(uint8_t* first, uint8_t* second, int64_t length) {
  return enter<QUMEN_EncodeMem>(
      __func__, [&] { return mask_bytes(first, second, length); }, first, second, length);
}
int32_t QUMEN_DecodeMem(uint8_t* first, uint8_t* second, int64_t length) {
  return enter<QUMEN_DecodeMem>(
      __func__, [&] { return mask_bytes(first, second, length); }, first, second, length);
}

// Hashing
int32_t QUMEN_HashMem(context_t context, mem_blk_t* data, mem_blk_t* hash) {
  return enter<QUMEN_HashMem>(
      __func__, [&] { return hash_block(context, data, hash); }, context, data, hash);
}
int32_t QUMEN_HashFile(context_t context, string_t name, mem_blk_t* hash) {
  return enter<QUMEN_HashFile>(
      __func__, [&] { return hash_file(context, name, hash); }, context, name, hash);
}
int32_t QUMEN_BlkHashMem(context_t context, string_t text, mem_blk_t* data, mem_blk_t* hash) {
  return enter<QUMEN_BlkHashMem>(
      __func__, [&] { return hash_block(context, data, hash); }, context, text, data, hash);
}
int32_t QUMEN_BlkHashFile(context_t context, string_t text, string_t name, mem_blk_t* hash) {
  return enter<QUMEN_BlkHashFile>(
      __func__, [&] { return hash_file(context, name, hash); }, context, text, name, hash);
}
// Succeeds when the second block is the stand-in digest of the first.
int32_t QUMEN_VerifyHashMem(context_t context, verify_param_t* unused, mem_blk_t* in1,
                            mem_blk_t* in2, mem_blk_t* in3) {
  return enter<QUMEN_VerifyHashMem>(
      __func__,
      [&] {
        if (!context_live(context)) return kBadContext;
        std::vector<uint8_t> d =
            digest(in1->buf, in1->buf != nullptr && in1->len > 0 ? size_t(in1->len) : 0);
        bool same = in2->buf != nullptr && in2->len == int32_t(d.size()) &&
                    std::memcmp(in2->buf, d.data(), d.size()) == 0;
        return same ? 0 : kMismatch;
      },
      context, unused, in1, in2, in3);
}

// Diagnostics and utilities
int32_t QUMEN_GetErrorLineEx(context_t context, mem_blk_t* a, mem_blk_t* b, int32_t* c,
                             mem_blk_t* d) {
  return enter<QUMEN_GetErrorLineEx>(__func__, live(context), context, a, b, c, d);
}
int32_t QUMEN_UpdateCRLs(context_t context) {
  return enter<QUMEN_UpdateCRLs>(__func__, live(context), context);
}
int32_t QUMEN_ExportToSystemStore(context_t context, int32_t value) {
  return enter<QUMEN_ExportToSystemStore>(__func__, live(context), context, value);
}
int32_t QUMEN_ControlEx(context_t context, int64_t value, int32_t selector, mem_blk_t* in,
                        mem_blk_t* out, int32_t option) {
  return enter<QUMEN_ControlEx>(__func__, live(context), context, value, selector, in, out, option);
}

// Hashing and one-shot signing
// The stand-in's messages (messages.cpp): what one form signs or encrypts, every form of the
// family verifies or decrypts, from blocks, from files and piece by piece.
int32_t QUMEN_SignMem(context_t context, sign_param_t* param, mem_blk_t* in1, mem_blk_t* in2,
                      mem_blk_t* result) {
  return enter<QUMEN_SignMem>(
      __func__, [&] { return sign(context, block_in(in1), block_out(result)); }, context, param,
      in1, in2, result);
}
int32_t QUMEN_SignFile(context_t context, sign_param_t* param, string_t name1, string_t name2,
                       string_t name3) {
  return enter<QUMEN_SignFile>(
      __func__, [&] { return sign(context, file_in(name1), file_out(name3)); }, context, param,
      name1, name2, name3);
}
int32_t QUMEN_VerifyMem(context_t context, verify_param_t* param, mem_blk_t* in1, mem_blk_t* in2,
                        mem_blk_t* out, verify_result_t* result) {
  return enter<QUMEN_VerifyMem>(
      __func__,
      [&] { return verify(context, block_in(in1), block_in(in2), block_out(out), result); },
      context, param, in1, in2, out, result);
}
int32_t QUMEN_VerifyFile(context_t context, verify_param_t* param, string_t name1, string_t name2,
                         string_t name3, verify_result_t* result) {
  return enter<QUMEN_VerifyFile>(
      __func__,
      [&] {
        return verify(context, file_in(name1), optional_file_in(name2), file_out(name3), result);
      },
      context, param, name1, name2, name3, result);
}
int32_t QUMEN_SignHashMem(context_t context, sign_param_t* unused, mem_blk_t* in,
                          mem_blk_t* result) {
  return enter<QUMEN_SignHashMem>(__func__, live(context), context, unused, in, result);
}

// Certificate and CRL inspection
// Any bytes parse: a complete certificate (seed 7) whose encoding is the input.
int32_t QUMEN_ParseCert(context_t context, mem_blk_t* encoded, int32_t flag, certificate_t* cert) {
  return enter<QUMEN_ParseCert>(
      __func__, [&] { return parse_certificate(context, encoded, cert); }, context, encoded, flag,
      cert);
}
int32_t QUMEN_VerifyCert(context_t context, verify_param_t* param, mem_blk_t* encoded,
                         certificate_t* cert) {
  return enter<QUMEN_VerifyCert>(__func__, live(context), context, param, encoded, cert);
}
int32_t QUMEN_VerifyCertificatePolicy(context_t context, verify_policy_param_t* param,
                                      mem_blk_t* encoded) {
  return enter<QUMEN_VerifyCertificatePolicy>(__func__, live(context), context, param, encoded);
}
int32_t QUMEN_ParseCrl(context_t context, mem_blk_t* encoded, int32_t flag, crl_t* crl) {
  return enter<QUMEN_ParseCrl>(__func__, live(context), context, encoded, flag, crl);
}
int32_t QUMEN_VerifyCrlPolicy(context_t context, verify_policy_param_t* param, mem_blk_t* encoded) {
  return enter<QUMEN_VerifyCrlPolicy>(__func__, live(context), context, param, encoded);
}
int32_t QUMEN_ParseAltnameEx(context_t context, mem_blk_t* encoded, altname_ex_t* altname) {
  return enter<QUMEN_ParseAltnameEx>(__func__, live(context), context, encoded, altname);
}
int32_t QUMEN_ParseBasicConstraintsEx(context_t context, mem_blk_t* encoded,
                                      basic_constraints_ex_t* constraints) {
  return enter<QUMEN_ParseBasicConstraintsEx>(__func__, live(context), context, encoded,
                                              constraints);
}
int32_t QUMEN_ParseKeyIdentifierEx(context_t context, mem_blk_t* encoded, mem_blk_t* key_id) {
  return enter<QUMEN_ParseKeyIdentifierEx>(__func__, live(context), context, encoded, key_id);
}
int32_t QUMEN_ShowCertificate(context_t context, mem_blk_t* encoded) {
  return enter<QUMEN_ShowCertificate>(__func__, live(context), context, encoded);
}
int32_t QUMEN_ShowCrl(context_t context, mem_blk_t* encoded) {
  return enter<QUMEN_ShowCrl>(__func__, live(context), context, encoded);
}
int32_t QUMEN_ShowCertificateEx(context_t context, int64_t value, mem_blk_t* encoded) {
  return enter<QUMEN_ShowCertificateEx>(__func__, live(context), context, value, encoded);
}
int32_t QUMEN_ShowCrlEx(context_t context, int64_t value, mem_blk_t* encoded) {
  return enter<QUMEN_ShowCrlEx>(__func__, live(context), context, value, encoded);
}
int32_t QUMEN_ShowRequestEx(context_t context, int64_t value, mem_blk_t* encoded) {
  return enter<QUMEN_ShowRequestEx>(__func__, live(context), context, value, encoded);
}
int32_t QUMEN_ShowRevocationEx(context_t context, int64_t value, mem_blk_t* encoded) {
  return enter<QUMEN_ShowRevocationEx>(__func__, live(context), context, value, encoded);
}
int32_t QUMEN_CreateXmlRequest(context_t context, int32_t flag, certificate_t* cert,
                               mem_blk_t* request) {
  return enter<QUMEN_CreateXmlRequest>(__func__, live(context), context, flag, cert, request);
}

// PKCS#7 envelopes
int32_t QUMEN_EncryptMem(context_t context, encrypt_param_t* param, mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_EncryptMem>(
      __func__, [&] { return encrypt(context, block_in(in), block_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_EncryptFile(context_t context, encrypt_param_t* param, string_t in, string_t out) {
  return enter<QUMEN_EncryptFile>(
      __func__, [&] { return encrypt(context, file_in(in), file_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_DecryptMem(context_t context, decrypt_param_t* param, mem_blk_t* in, mem_blk_t* out,
                         decrypt_result_t* result) {
  return enter<QUMEN_DecryptMem>(
      __func__, [&] { return decrypt(context, block_in(in), block_out(out), result); }, context,
      param, in, out, result);
}
int32_t QUMEN_DecryptFile(context_t context, decrypt_param_t* param, string_t in, string_t out,
                          decrypt_result_t* result) {
  return enter<QUMEN_DecryptFile>(
      __func__, [&] { return decrypt(context, file_in(in), file_out(out), result); }, context,
      param, in, out, result);
}
int32_t QUMEN_SignedInfoMem(context_t context, mem_blk_t* in, signed_info_result_t* result) {
  return enter<QUMEN_SignedInfoMem>(__func__, live(context), context, in, result);
}
int32_t QUMEN_SignedInfoFile(context_t context, string_t in, signed_info_result_t* result) {
  return enter<QUMEN_SignedInfoFile>(__func__, live(context), context, in, result);
}
int32_t QUMEN_EncryptedInfoMem(context_t context, mem_blk_t* in, encrypted_info_result_t* result) {
  return enter<QUMEN_EncryptedInfoMem>(__func__, live(context), context, in, result);
}
int32_t QUMEN_EncryptedInfoFile(context_t context, string_t in, encrypted_info_result_t* result) {
  return enter<QUMEN_EncryptedInfoFile>(__func__, live(context), context, in, result);
}
int32_t QUMEN_AttachSignMem(context_t context, mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out) {
  return enter<QUMEN_AttachSignMem>(
      __func__, [&] { return attach(context, block_in(in), block_in(in2), block_out(out)); },
      context, in, in2, out);
}
int32_t QUMEN_AttachSignFile(context_t context, string_t in, string_t in2, string_t out) {
  return enter<QUMEN_AttachSignFile>(
      __func__, [&] { return attach(context, file_in(in), file_in(in2), file_out(out)); }, context,
      in, in2, out);
}
int32_t QUMEN_DetachSignMem(context_t context, mem_blk_t* in, mem_blk_t* out, mem_blk_t* out2) {
  return enter<QUMEN_DetachSignMem>(
      __func__,
      [&] { return detach(context, block_in(in), block_out(out), block_out(out2), false); },
      context, in, out, out2);
}
int32_t QUMEN_DetachSignFile(context_t context, string_t in, string_t out, string_t out2) {
  return enter<QUMEN_DetachSignFile>(
      __func__, [&] { return detach(context, file_in(in), file_out(out), file_out(out2), false); },
      context, in, out, out2);
}
int32_t QUMEN_VerifyAndSignMem(context_t context, verify_param_t* verify, sign_param_t* sign,
                               mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out,
                               verify_result_t* result) {
  return enter<QUMEN_VerifyAndSignMem>(__func__, live(context), context, verify, sign, in, in2, out,
                                       result);
}
int32_t QUMEN_VerifyAndSignFile(context_t context, verify_param_t* verify, sign_param_t* sign,
                                string_t in, string_t in2, string_t out, verify_result_t* result) {
  return enter<QUMEN_VerifyAndSignFile>(__func__, live(context), context, verify, sign, in, in2,
                                        out, result);
}
int32_t QUMEN_SignAndEncryptMem(context_t context, sign_param_t* sign, encrypt_param_t* encrypt,
                                mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_SignAndEncryptMem>(
      __func__, [&] { return sign_and_encrypt(context, block_in(in), block_out(out)); }, context,
      sign, encrypt, in, out);
}
int32_t QUMEN_SignAndEncryptFile(context_t context, sign_param_t* sign, encrypt_param_t* encrypt,
                                 string_t in, string_t out) {
  return enter<QUMEN_SignAndEncryptFile>(
      __func__, [&] { return sign_and_encrypt(context, file_in(in), file_out(out)); }, context,
      sign, encrypt, in, out);
}
int32_t QUMEN_DecryptAndVerifyMem(context_t context, decrypt_param_t* decrypt,
                                  verify_param_t* verify, mem_blk_t* in, mem_blk_t* out,
                                  decrypt_result_t* result, verify_result_t* verify_result) {
  return enter<QUMEN_DecryptAndVerifyMem>(
      __func__,
      [&] {
        return decrypt_and_verify(context, block_in(in), block_out(out), result, verify_result);
      },
      context, decrypt, verify, in, out, result, verify_result);
}
int32_t QUMEN_DecryptAndVerifyFile(context_t context, decrypt_param_t* decrypt,
                                   verify_param_t* verify, string_t in, string_t out,
                                   decrypt_result_t* result, verify_result_t* verify_result) {
  return enter<QUMEN_DecryptAndVerifyFile>(
      __func__,
      [&] {
        return decrypt_and_verify(context, file_in(in), file_out(out), result, verify_result);
      },
      context, decrypt, verify, in, out, result, verify_result);
}
int32_t QUMEN_GetPkcs7InfoMem(context_t context, mem_blk_t* in, pkcs7_info_t* info) {
  return enter<QUMEN_GetPkcs7InfoMem>(__func__, live(context), context, in, info);
}
int32_t QUMEN_GetPkcs7InfoFile(context_t context, string_t in, pkcs7_info_t* info) {
  return enter<QUMEN_GetPkcs7InfoFile>(__func__, live(context), context, in, info);
}

// Streaming
int32_t QUMEN_StrHashInitMem(context_t context, string_t a, strhandle_t* h) {
  return enter<QUMEN_StrHashInitMem>(
      __func__, [&] { return stream_init(context, h, "StrHash"); }, context, a, h);
}
int32_t QUMEN_StrHashUpdateMem(context_t context, strhandle_t* h, mem_blk_t* in) {
  return enter<QUMEN_StrHashUpdateMem>(
      __func__, [&] { return stream_update(context, h, "StrHash", in, nullptr); }, context, h, in);
}
int32_t QUMEN_StrHashFinalMem(context_t context, strhandle_t* h, mem_blk_t* out) {
  return enter<QUMEN_StrHashFinalMem>(
      __func__, [&] { return stream_final(context, h, "StrHash", out); }, context, h, out);
}
int32_t QUMEN_StrHashFile(context_t context, string_t a, string_t in, mem_blk_t* out) {
  return enter<QUMEN_StrHashFile>(__func__, live(context), context, a, in, out);
}
int32_t QUMEN_StrSignInitMem(context_t context, sign_param_t* param, mem_blk_t* in,
                             strhandle_t* h) {
  return enter<QUMEN_StrSignInitMem>(
      __func__, [&] { return message_init(context, h, "StrSign", signing(), in); }, context, param,
      in, h);
}
int32_t QUMEN_StrSignUpdateMem(context_t context, sign_param_t* param, strhandle_t* h,
                               mem_blk_t* in) {
  return enter<QUMEN_StrSignUpdateMem>(
      __func__, [&] { return message_update(context, h, "StrSign", in, nullptr); }, context, param,
      h, in);
}
int32_t QUMEN_StrSignFinalMem(context_t context, sign_param_t* param, strhandle_t* h,
                              mem_blk_t* out) {
  return enter<QUMEN_StrSignFinalMem>(
      __func__, [&] { return message_final(context, h, "StrSign", out); }, context, param, h, out);
}
int32_t QUMEN_StrSignFile(context_t context, sign_param_t* param, string_t in, string_t in2,
                          string_t out) {
  return enter<QUMEN_StrSignFile>(
      __func__, [&] { return sign(context, file_in(in), file_out(out)); }, context, param, in, in2,
      out);
}
int32_t QUMEN_StrVerifyInitMem(context_t context, verify_param_t* param, mem_blk_t* in,
                               strhandle_t* h) {
  return enter<QUMEN_StrVerifyInitMem>(
      __func__, [&] { return message_init(context, h, "StrVerify", verifying(), in); }, context,
      param, in, h);
}
int32_t QUMEN_StrVerifyUpdateMem(context_t context, verify_param_t* param, strhandle_t* h,
                                 mem_blk_t* in) {
  return enter<QUMEN_StrVerifyUpdateMem>(
      __func__, [&] { return message_update(context, h, "StrVerify", in, nullptr); }, context,
      param, h, in);
}
int32_t QUMEN_StrVerifyFinalMem(context_t context, verify_param_t* param, strhandle_t* h,
                                mem_blk_t* out, verify_result_t* result) {
  return enter<QUMEN_StrVerifyFinalMem>(
      __func__,
      [&] {
        return message_final(context, h, "StrVerify", out, nullptr,
                             [&](int32_t s, bool well_formed) {
                               if (well_formed) verification_result(context, result, s);
                             });
      },
      context, param, h, out, result);
}
int32_t QUMEN_StrVerifyFile(context_t context, verify_param_t* param, string_t in, string_t in2,
                            string_t out, verify_result_t* result) {
  return enter<QUMEN_StrVerifyFile>(
      __func__,
      [&] { return verify(context, file_in(in), optional_file_in(in2), file_out(out), result); },
      context, param, in, in2, out, result);
}
int32_t QUMEN_StrEncryptInitMem(context_t context, encrypt_param_t* param, strhandle_t* h) {
  return enter<QUMEN_StrEncryptInitMem>(
      __func__, [&] { return message_init(context, h, "StrEncrypt", encrypting()); }, context,
      param, h);
}
int32_t QUMEN_StrEncryptUpdateMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                  mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_StrEncryptUpdateMem>(
      __func__, [&] { return message_update(context, h, "StrEncrypt", in, out); }, context, param,
      h, in, out);
}
int32_t QUMEN_StrEncryptFinalMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                 mem_blk_t* out) {
  return enter<QUMEN_StrEncryptFinalMem>(
      __func__, [&] { return message_final(context, h, "StrEncrypt", out); }, context, param, h,
      out);
}
int32_t QUMEN_StrEncryptFile(context_t context, encrypt_param_t* param, string_t in, string_t out) {
  return enter<QUMEN_StrEncryptFile>(
      __func__, [&] { return encrypt(context, file_in(in), file_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_StrDecryptInitMem(context_t context, decrypt_param_t* param, mem_blk_t* in,
                                int32_t* state, strhandle_t* h) {
  return enter<QUMEN_StrDecryptInitMem>(
      __func__,
      [&] { return first_state(message_init(context, h, "StrDecrypt", decrypting(), in), state); },
      context, param, in, state, h);
}
int32_t QUMEN_StrDecryptUpdateMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                  mem_blk_t* in, int32_t* state, mem_blk_t* out) {
  return enter<QUMEN_StrDecryptUpdateMem>(
      __func__, [&] { return message_update(context, h, "StrDecrypt", in, out, state); }, context,
      param, h, in, state, out);
}
int32_t QUMEN_StrDecryptFinalMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                 decrypt_result_t* result) {
  return enter<QUMEN_StrDecryptFinalMem>(
      __func__,
      [&] {
        return message_final(context, h, "StrDecrypt", nullptr, nullptr, [&](int32_t s, bool) {
          if (s == 0) decryption_result(context, result);
        });
      },
      context, param, h, result);
}
int32_t QUMEN_StrDecryptFile(context_t context, decrypt_param_t* param, string_t in, string_t out,
                             decrypt_result_t* result) {
  return enter<QUMEN_StrDecryptFile>(
      __func__, [&] { return decrypt(context, file_in(in), file_out(out), result); }, context,
      param, in, out, result);
}
int32_t QUMEN_StrEncryptedInfoMem(context_t context, mem_blk_t* in,
                                  encrypted_info_result_t* result) {
  return enter<QUMEN_StrEncryptedInfoMem>(__func__, live(context), context, in, result);
}
int32_t QUMEN_StrEncryptedInfoFile(context_t context, string_t in,
                                   encrypted_info_result_t* result) {
  return enter<QUMEN_StrEncryptedInfoFile>(__func__, live(context), context, in, result);
}

// CMS: signing with a parameter record, attached (one input) and detached (two inputs)
int32_t QUMEN_CmsBlkAttSignMem(context_t context, sign_param_t* param, mem_blk_t* in,
                               mem_blk_t* out) {
  return enter<QUMEN_CmsBlkAttSignMem>(
      __func__, [&] { return sign(context, block_in(in), block_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_CmsBlkAttSignFile(context_t context, sign_param_t* param, string_t in, string_t out) {
  return enter<QUMEN_CmsBlkAttSignFile>(
      __func__, [&] { return sign(context, file_in(in), file_out(out)); }, context, param, in, out);
}
int32_t QUMEN_CmsStrAttSignInitMem(context_t context, sign_param_t* param, mem_blk_t* in,
                                   strhandle_t* h) {
  return enter<QUMEN_CmsStrAttSignInitMem>(
      __func__, [&] { return message_init(context, h, "CmsStrAttSign", signing(), in); }, context,
      param, in, h);
}
int32_t QUMEN_CmsStrAttSignUpdateMem(context_t context, sign_param_t* param, strhandle_t* h,
                                     mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_CmsStrAttSignUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrAttSign", in, out); }, context,
      param, h, in, out);
}
int32_t QUMEN_CmsStrAttSignFinalMem(context_t context, sign_param_t* param, strhandle_t* h,
                                    mem_blk_t* out) {
  return enter<QUMEN_CmsStrAttSignFinalMem>(
      __func__, [&] { return message_final(context, h, "CmsStrAttSign", out); }, context, param, h,
      out);
}
int32_t QUMEN_CmsStrAttSignFile(context_t context, sign_param_t* param, string_t in, string_t out) {
  return enter<QUMEN_CmsStrAttSignFile>(
      __func__, [&] { return sign(context, file_in(in), file_out(out)); }, context, param, in, out);
}
int32_t QUMEN_CmsBlkDetSignMem(context_t context, sign_param_t* param, mem_blk_t* in,
                               mem_blk_t* in2, mem_blk_t* out) {
  return enter<QUMEN_CmsBlkDetSignMem>(
      __func__, [&] { return sign_detached(context, block_in(in), block_out(out)); }, context,
      param, in, in2, out);
}
int32_t QUMEN_CmsBlkDetSignFile(context_t context, sign_param_t* param, string_t in, string_t in2,
                                string_t out) {
  return enter<QUMEN_CmsBlkDetSignFile>(
      __func__, [&] { return sign_detached(context, file_in(in), file_out(out)); }, context, param,
      in, in2, out);
}
int32_t QUMEN_CmsStrDetSignInitMem(context_t context, sign_param_t* param, mem_blk_t* in,
                                   strhandle_t* h) {
  return enter<QUMEN_CmsStrDetSignInitMem>(
      __func__, [&] { return message_init(context, h, "CmsStrDetSign", detached_signing(), in); },
      context, param, in, h);
}
int32_t QUMEN_CmsStrDetSignUpdateMem(context_t context, sign_param_t* param, strhandle_t* h,
                                     mem_blk_t* in) {
  return enter<QUMEN_CmsStrDetSignUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrDetSign", in, nullptr); }, context,
      param, h, in);
}
int32_t QUMEN_CmsStrDetSignFinalMem(context_t context, sign_param_t* param, strhandle_t* h,
                                    mem_blk_t* out) {
  return enter<QUMEN_CmsStrDetSignFinalMem>(
      __func__, [&] { return message_final(context, h, "CmsStrDetSign", out); }, context, param, h,
      out);
}
int32_t QUMEN_CmsStrDetSignFile(context_t context, sign_param_t* param, string_t in, string_t in2,
                                string_t out) {
  return enter<QUMEN_CmsStrDetSignFile>(
      __func__, [&] { return sign_detached(context, file_in(in), file_out(out)); }, context, param,
      in, in2, out);
}

// CMS: verification, attached and detached
int32_t QUMEN_CmsBlkAttVerifyMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                 mem_blk_t* out, verify_result_t* result) {
  return enter<QUMEN_CmsBlkAttVerifyMem>(
      __func__,
      [&] { return verify(context, block_in(in), block_in(nullptr), block_out(out), result); },
      context, param, in, out, result);
}
int32_t QUMEN_CmsBlkAttVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t out, verify_result_t* result) {
  return enter<QUMEN_CmsBlkAttVerifyFile>(
      __func__,
      [&] {
        return verify(context, file_in(in), optional_file_in(nullptr), file_out(out), result);
      },
      context, param, in, out, result);
}
int32_t QUMEN_CmsStrAttVerifyInitMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                     strhandle_t* h) {
  return enter<QUMEN_CmsStrAttVerifyInitMem>(
      __func__, [&] { return message_init(context, h, "CmsStrAttVerify", verifying(), in); },
      context, param, in, h);
}
int32_t QUMEN_CmsStrAttVerifyUpdateMem(context_t context, verify_param_t* param, strhandle_t* h,
                                       mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_CmsStrAttVerifyUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrAttVerify", in, out); }, context,
      param, h, in, out);
}
int32_t QUMEN_CmsStrAttVerifyFinalMem(context_t context, verify_param_t* param, strhandle_t* h,
                                      mem_blk_t* out, verify_result_t* result) {
  return enter<QUMEN_CmsStrAttVerifyFinalMem>(
      __func__,
      [&] {
        return message_final(context, h, "CmsStrAttVerify", out, nullptr,
                             [&](int32_t s, bool well_formed) {
                               if (well_formed) verification_result(context, result, s);
                             });
      },
      context, param, h, out, result);
}
int32_t QUMEN_CmsStrAttVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t out, verify_result_t* result) {
  return enter<QUMEN_CmsStrAttVerifyFile>(
      __func__,
      [&] {
        return verify(context, file_in(in), optional_file_in(nullptr), file_out(out), result);
      },
      context, param, in, out, result);
}
int32_t QUMEN_CmsBlkDetVerifyMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                 mem_blk_t* in2, mem_blk_t* out, verify_result_t* result) {
  return enter<QUMEN_CmsBlkDetVerifyMem>(
      __func__,
      [&] { return verify(context, block_in(in), block_in(in2), block_out(out), result); }, context,
      param, in, in2, out, result);
}
int32_t QUMEN_CmsBlkDetVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t in2, string_t out, verify_result_t* result) {
  return enter<QUMEN_CmsBlkDetVerifyFile>(
      __func__, [&] { return verify(context, file_in(in), file_in(in2), file_out(out), result); },
      context, param, in, in2, out, result);
}
int32_t QUMEN_CmsStrDetVerifyInitMem(context_t context, verify_param_t* param, mem_blk_t* in,
                                     strhandle_t* h) {
  return enter<QUMEN_CmsStrDetVerifyInitMem>(
      __func__, [&] { return detached_init(context, h, in); }, context, param, in, h);
}
int32_t QUMEN_CmsStrDetVerifyUpdateMem(context_t context, verify_param_t* param, strhandle_t* h,
                                       mem_blk_t* in) {
  return enter<QUMEN_CmsStrDetVerifyUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrDetVerify", in, nullptr); }, context,
      param, h, in);
}
int32_t QUMEN_CmsStrDetVerifyFinalMem(context_t context, verify_param_t* param, strhandle_t* h,
                                      mem_blk_t* out, verify_result_t* result) {
  return enter<QUMEN_CmsStrDetVerifyFinalMem>(
      __func__,
      [&] {
        return message_final(context, h, "CmsStrDetVerify", out, nullptr,
                             [&](int32_t s, bool well_formed) {
                               if (well_formed) verification_result(context, result, s);
                             });
      },
      context, param, h, out, result);
}
int32_t QUMEN_CmsStrDetVerifyFile(context_t context, verify_param_t* param, string_t in,
                                  string_t in2, string_t out, verify_result_t* result) {
  return enter<QUMEN_CmsStrDetVerifyFile>(
      __func__, [&] { return verify(context, file_in(in), file_in(in2), file_out(out), result); },
      context, param, in, in2, out, result);
}

// CMS: encryption and decryption
int32_t QUMEN_CmsBlkEncryptMem(context_t context, encrypt_param_t* param, mem_blk_t* in,
                               mem_blk_t* out) {
  return enter<QUMEN_CmsBlkEncryptMem>(
      __func__, [&] { return encrypt(context, block_in(in), block_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_CmsBlkEncryptFile(context_t context, encrypt_param_t* param, string_t in,
                                string_t out) {
  return enter<QUMEN_CmsBlkEncryptFile>(
      __func__, [&] { return encrypt(context, file_in(in), file_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_CmsStrEncryptInitMem(context_t context, encrypt_param_t* param, mem_blk_t* in,
                                   strhandle_t* h) {
  return enter<QUMEN_CmsStrEncryptInitMem>(
      __func__, [&] { return message_init(context, h, "CmsStrEncrypt", encrypting(), in); },
      context, param, in, h);
}
int32_t QUMEN_CmsStrEncryptUpdateMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                     mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_CmsStrEncryptUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrEncrypt", in, out); }, context,
      param, h, in, out);
}
int32_t QUMEN_CmsStrEncryptFinalMem(context_t context, encrypt_param_t* param, strhandle_t* h,
                                    mem_blk_t* out) {
  return enter<QUMEN_CmsStrEncryptFinalMem>(
      __func__, [&] { return message_final(context, h, "CmsStrEncrypt", out); }, context, param, h,
      out);
}
int32_t QUMEN_CmsStrEncryptFile(context_t context, encrypt_param_t* param, string_t in,
                                string_t out) {
  return enter<QUMEN_CmsStrEncryptFile>(
      __func__, [&] { return encrypt(context, file_in(in), file_out(out)); }, context, param, in,
      out);
}
int32_t QUMEN_CmsBlkDecryptMem(context_t context, decrypt_param_t* param, mem_blk_t* in,
                               mem_blk_t* out, decrypt_result_t* result) {
  return enter<QUMEN_CmsBlkDecryptMem>(
      __func__, [&] { return decrypt(context, block_in(in), block_out(out), result); }, context,
      param, in, out, result);
}
int32_t QUMEN_CmsBlkDecryptFile(context_t context, decrypt_param_t* param, string_t in,
                                string_t out, decrypt_result_t* result) {
  return enter<QUMEN_CmsBlkDecryptFile>(
      __func__, [&] { return decrypt(context, file_in(in), file_out(out), result); }, context,
      param, in, out, result);
}
int32_t QUMEN_CmsStrDecryptInitMem(context_t context, decrypt_param_t* param, mem_blk_t* in,
                                   strhandle_t* h) {
  return enter<QUMEN_CmsStrDecryptInitMem>(
      __func__, [&] { return message_init(context, h, "CmsStrDecrypt", decrypting(), in); },
      context, param, in, h);
}
int32_t QUMEN_CmsStrDecryptUpdateMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                     mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_CmsStrDecryptUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrDecrypt", in, out); }, context,
      param, h, in, out);
}
int32_t QUMEN_CmsStrDecryptFinalMem(context_t context, decrypt_param_t* param, strhandle_t* h,
                                    mem_blk_t* out, decrypt_result_t* result) {
  return enter<QUMEN_CmsStrDecryptFinalMem>(
      __func__,
      [&] {
        return message_final(context, h, "CmsStrDecrypt", out, nullptr, [&](int32_t s, bool) {
          if (s == 0) decryption_result(context, result);
        });
      },
      context, param, h, out, result);
}
int32_t QUMEN_CmsStrDecryptFile(context_t context, decrypt_param_t* param, string_t in,
                                string_t out, decrypt_result_t* result) {
  return enter<QUMEN_CmsStrDecryptFile>(
      __func__, [&] { return decrypt(context, file_in(in), file_out(out), result); }, context,
      param, in, out, result);
}

// CMS: signing without a parameter record, and message information
int32_t QUMEN_CmsBlkSignAttachMem(context_t context, mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out,
                                  int32_t value) {
  return enter<QUMEN_CmsBlkSignAttachMem>(
      __func__, [&] { return attach(context, block_in(in), block_in(in2), block_out(out)); },
      context, in, in2, out, value);
}
int32_t QUMEN_CmsBlkSignAttachFile(context_t context, string_t in, string_t in2, string_t out,
                                   int32_t value) {
  return enter<QUMEN_CmsBlkSignAttachFile>(
      __func__, [&] { return attach(context, file_in(in), file_in(in2), file_out(out)); }, context,
      in, in2, out, value);
}
int32_t QUMEN_CmsBlkSignDetachMem(context_t context, mem_blk_t* in, mem_blk_t* out, mem_blk_t* out2,
                                  int32_t value) {
  return enter<QUMEN_CmsBlkSignDetachMem>(
      __func__,
      [&] { return detach(context, block_in(in), block_out(out), block_out(out2), true); }, context,
      in, out, out2, value);
}
int32_t QUMEN_CmsBlkSignDetachFile(context_t context, string_t in, string_t out, string_t out2,
                                   int32_t value) {
  return enter<QUMEN_CmsBlkSignDetachFile>(
      __func__, [&] { return detach(context, file_in(in), file_out(out), file_out(out2), true); },
      context, in, out, out2, value);
}
int32_t QUMEN_CmsStrSignDetachInitMem(context_t context, mem_blk_t* in, strhandle_t* h,
                                      int32_t value) {
  return enter<QUMEN_CmsStrSignDetachInitMem>(
      __func__, [&] { return message_init(context, h, "CmsStrSignDetach", splitting(), in); },
      context, in, h, value);
}
int32_t QUMEN_CmsStrSignDetachUpdateMem(context_t context, strhandle_t* h, mem_blk_t* in,
                                        mem_blk_t* out) {
  return enter<QUMEN_CmsStrSignDetachUpdateMem>(
      __func__, [&] { return message_update(context, h, "CmsStrSignDetach", in, out); }, context, h,
      in, out);
}
int32_t QUMEN_CmsStrSignDetachFinalMem(context_t context, strhandle_t* h, mem_blk_t* out,
                                       mem_blk_t* out2) {
  return enter<QUMEN_CmsStrSignDetachFinalMem>(
      __func__, [&] { return message_final(context, h, "CmsStrSignDetach", out, out2); }, context,
      h, out, out2);
}
int32_t QUMEN_CmsStrSignDetachFile(context_t context, string_t in, string_t out, string_t out2,
                                   int32_t value) {
  return enter<QUMEN_CmsStrSignDetachFile>(
      __func__, [&] { return detach(context, file_in(in), file_out(out), file_out(out2), true); },
      context, in, out, out2, value);
}
int32_t QUMEN_CmsBlkMsgInfMem(context_t context, mem_blk_t* in, cms_msginf_t* info, int32_t value) {
  return enter<QUMEN_CmsBlkMsgInfMem>(
      __func__, [&] { return fill(context, [&] { fill_cms_msginf(context, info); }); }, context, in,
      info, value);
}
int32_t QUMEN_CmsBlkMsgInfFile(context_t context, string_t in, cms_msginf_t* info, int32_t value) {
  return enter<QUMEN_CmsBlkMsgInfFile>(
      __func__, [&] { return fill(context, [&] { fill_cms_msginf(context, info); }); }, context, in,
      info, value);
}
int32_t QUMEN_CmsStrMsgInfInitMem(context_t context, mem_blk_t* in, strhandle_t* h, int32_t value) {
  return enter<QUMEN_CmsStrMsgInfInitMem>(
      __func__, [&] { return stream_init(context, h, "CmsStrMsgInf"); }, context, in, h, value);
}
int32_t QUMEN_CmsStrMsgInfUpdateMem(context_t context, strhandle_t* h, mem_blk_t* in) {
  return enter<QUMEN_CmsStrMsgInfUpdateMem>(
      __func__, [&] { return stream_update(context, h, "CmsStrMsgInf", in, nullptr, nullptr); },
      context, h, in);
}
int32_t QUMEN_CmsStrMsgInfFinalMem(context_t context, strhandle_t* h, cms_msginf_t* info) {
  return enter<QUMEN_CmsStrMsgInfFinalMem>(
      __func__,
      [&] {
        return finish(stream_final(context, h, "CmsStrMsgInf", nullptr),
                      [&] { fill_cms_msginf(context, info); });
      },
      context, h, info);
}
int32_t QUMEN_CmsStrMsgInfFile(context_t context, string_t in, cms_msginf_t* info, int32_t value) {
  return enter<QUMEN_CmsStrMsgInfFile>(
      __func__, [&] { return fill(context, [&] { fill_cms_msginf(context, info); }); }, context, in,
      info, value);
}

// Stores and profiles. The enumerations receive 0 (a null pointer) in their second position.
int32_t QUMEN_ImportMem(context_t context, import_param_t* param, mem_blk_t* data) {
  return enter<QUMEN_ImportMem>(__func__, live(context), context, param, data);
}
int32_t QUMEN_ImportFile(context_t context, import_param_t* param, string_t name) {
  return enter<QUMEN_ImportFile>(__func__, live(context), context, param, name);
}
int32_t QUMEN_ExportMem(context_t context, export_param_t* param, mem_blk_t* out) {
  return enter<QUMEN_ExportMem>(__func__, live(context), context, param, out);
}
int32_t QUMEN_ExportFile(context_t context, export_param_t* param, string_t name) {
  return enter<QUMEN_ExportFile>(__func__, live(context), context, param, name);
}
int32_t QUMEN_FindCert(context_t context, find_param_t* param, find_result_t* result) {
  return enter<QUMEN_FindCert>(
      __func__, [&] { return fill(context, [&] { fill_find_result(context, result); }); }, context,
      param, result);
}
int32_t QUMEN_AddCertificate(context_t context, add_param_t* param, mem_blk_t* cert) {
  return enter<QUMEN_AddCertificate>(__func__, live(context), context, param, cert);
}
int32_t QUMEN_AddCRL(context_t context, add_param_t* param, mem_blk_t* crl) {
  return enter<QUMEN_AddCRL>(__func__, live(context), context, param, crl);
}
int32_t QUMEN_EnumStoreObjects(context_t context, void* unused, strhandle_t* h, mem_blk_t* out,
                               int32_t options) {
  return enter<QUMEN_EnumStoreObjects>(
      __func__, [&] { return enumerate(context, h, out); }, context, unused, h, out, options);
}
int32_t QUMEN_EnumStoreObjectsEx(context_t context, void* unused, string_t text1, string_t text2,
                                 strhandle_t* h, mem_blk_t* out, int32_t options) {
  return enter<QUMEN_EnumStoreObjectsEx>(
      __func__, [&] { return enumerate(context, h, out); }, context, unused, text1, text2, h, out,
      options);
}
int32_t QUMEN_IssueCertificateStore(context_t context, mem_blk_t* data, string_t text1,
                                    string_t text2) {
  return enter<QUMEN_IssueCertificateStore>(__func__, live(context), context, data, text1, text2);
}
int32_t QUMEN_CreateCertificateStore(context_t context, mem_blk_t* blocks1, int32_t count1,
                                     mem_blk_t* blocks2, int32_t count2, string_t text1,
                                     string_t text2, int32_t options) {
  return enter<QUMEN_CreateCertificateStore>(__func__, live(context), context, blocks1, count1,
                                             blocks2, count2, text1, text2, options);
}
int32_t QUMEN_CreateRegistryProfile(context_t context, string_t text1, string_t text2,
                                    int32_t value) {
  return enter<QUMEN_CreateRegistryProfile>(__func__, live(context), context, text1, text2, value);
}
int32_t QUMEN_CreateRegistryProfileEx(context_t context, string_t text1, string_t text2,
                                      string_t text3, string_t text4, int32_t value) {
  return enter<QUMEN_CreateRegistryProfileEx>(__func__, live(context), context, text1, text2, text3,
                                              text4, value);
}
int32_t QUMEN_QueryRegistryProfile(context_t context, char* buffer, int32_t size,
                                   int32_t selector) {
  return enter<QUMEN_QueryRegistryProfile>(__func__, live(context), context, buffer, size,
                                           selector);
}
int32_t QUMEN_QueryRegistryProfileEx(context_t context, mem_blk_t* out1, mem_blk_t* out2,
                                     mem_blk_t* out3, mem_blk_t* out4, int32_t selector) {
  return enter<QUMEN_QueryRegistryProfileEx>(__func__, live(context), context, out1, out2, out3,
                                             out4, selector);
}

// Time stamps
int32_t QUMEN_TspBlkRequestFromCmsMem(context_t context, tsp_request_param_t* param, mem_blk_t* in,
                                      mem_blk_t* out) {
  return enter<QUMEN_TspBlkRequestFromCmsMem>(__func__, live(context), context, param, in, out);
}
int32_t QUMEN_TspRequestFromPkcs7(context_t context, tsp_request_param_t* param, mem_blk_t* in,
                                  mem_blk_t* out) {
  return enter<QUMEN_TspRequestFromPkcs7>(__func__, live(context), context, param, in, out);
}
int32_t QUMEN_TspBlkRequestFromCmsFile(context_t context, tsp_request_param_t* param, string_t in,
                                       mem_blk_t* out) {
  return enter<QUMEN_TspBlkRequestFromCmsFile>(__func__, live(context), context, param, in, out);
}
int32_t QUMEN_TspSignResponse(context_t context, tsp_response_param_t* param, mem_blk_t* in,
                              mem_blk_t* out) {
  return enter<QUMEN_TspSignResponse>(__func__, live(context), context, param, in, out);
}
int32_t QUMEN_TspVerifyResponse(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                tsp_verify_result_t* result) {
  return enter<QUMEN_TspVerifyResponse>(
      __func__, [&] { return verify_stamp(context, in, result); }, context, param, in, result);
}
int32_t QUMEN_TspBlkVerifyCmsMem(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                 tsp_verify_result_t* result) {
  return enter<QUMEN_TspBlkVerifyCmsMem>(
      __func__, [&] { return verify_stamp(context, in, result); }, context, param, in, result);
}
int32_t QUMEN_TspVerifyPkcs7Mem(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                tsp_verify_result_t* result) {
  return enter<QUMEN_TspVerifyPkcs7Mem>(
      __func__, [&] { return verify_stamp(context, in, result); }, context, param, in, result);
}
int32_t QUMEN_TspBlkVerifyCmsFile(context_t context, tsp_verify_param_t* param, string_t in,
                                  tsp_verify_result_t* result) {
  return enter<QUMEN_TspBlkVerifyCmsFile>(__func__, live(context), context, param, in, result);
}
int32_t QUMEN_TspStrVerifyCmsFile(context_t context, tsp_verify_param_t* param, string_t in,
                                  tsp_verify_result_t* result) {
  return enter<QUMEN_TspStrVerifyCmsFile>(__func__, live(context), context, param, in, result);
}
int32_t QUMEN_TspVerifyPkcs7File(context_t context, tsp_verify_param_t* param, string_t in,
                                 tsp_verify_result_t* result) {
  return enter<QUMEN_TspVerifyPkcs7File>(__func__, live(context), context, param, in, result);
}
int32_t QUMEN_TspBlkUrlStampCmsMem(context_t context, tsp_request_param_t* param, string_t url,
                                   mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_TspBlkUrlStampCmsMem>(
      __func__, [&] { return stamp(context, url, in, out); }, context, param, url, in, out);
}
int32_t QUMEN_TspUrlStampPkcs7Mem(context_t context, tsp_request_param_t* param, string_t url,
                                  mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_TspUrlStampPkcs7Mem>(
      __func__, [&] { return stamp(context, url, in, out); }, context, param, url, in, out);
}
int32_t QUMEN_TspBlkUrlStampCmsFile(context_t context, tsp_request_param_t* param, string_t url,
                                    string_t in, string_t out) {
  return enter<QUMEN_TspBlkUrlStampCmsFile>(__func__, live(context), context, param, url, in, out);
}
int32_t QUMEN_TspStrUrlStampCmsFile(context_t context, tsp_request_param_t* param, string_t url,
                                    string_t in, string_t out) {
  return enter<QUMEN_TspStrUrlStampCmsFile>(__func__, live(context), context, param, url, in, out);
}
int32_t QUMEN_TspUrlStampPkcs7File(context_t context, tsp_request_param_t* param, string_t url,
                                   string_t in, string_t out) {
  return enter<QUMEN_TspUrlStampPkcs7File>(__func__, live(context), context, param, url, in, out);
}
int32_t QUMEN_TspStrUrlStampCmsInitMem(context_t context, tsp_request_param_t* param, string_t url,
                                       mem_blk_t* in, strhandle_t* h) {
  return enter<QUMEN_TspStrUrlStampCmsInitMem>(
      __func__, [&] { return stream_init(context, h, "TspStrUrlStampCms"); }, context, param, url,
      in, h);
}
int32_t QUMEN_TspStrUrlStampCmsUpdateMem(context_t context, tsp_request_param_t* param,
                                         string_t url, strhandle_t* h, mem_blk_t* in,
                                         mem_blk_t* out) {
  return enter<QUMEN_TspStrUrlStampCmsUpdateMem>(
      __func__, [&] { return stream_update(context, h, "TspStrUrlStampCms", in, out, nullptr); },
      context, param, url, h, in, out);
}
int32_t QUMEN_TspStrUrlStampCmsFinalMem(context_t context, tsp_request_param_t* param, string_t url,
                                        strhandle_t* h, mem_blk_t* out) {
  return enter<QUMEN_TspStrUrlStampCmsFinalMem>(
      __func__, [&] { return stream_final(context, h, "TspStrUrlStampCms", out); }, context, param,
      url, h, out);
}
int32_t QUMEN_TspStrVerifyCmsInitMem(context_t context, tsp_verify_param_t* param, mem_blk_t* in,
                                     strhandle_t* h) {
  return enter<QUMEN_TspStrVerifyCmsInitMem>(
      __func__, [&] { return stream_init(context, h, "TspStrVerifyCms"); }, context, param, in, h);
}
int32_t QUMEN_TspStrVerifyCmsUpdateMem(context_t context, tsp_verify_param_t* param, strhandle_t* h,
                                       mem_blk_t* in) {
  return enter<QUMEN_TspStrVerifyCmsUpdateMem>(
      __func__, [&] { return stream_update(context, h, "TspStrVerifyCms", in, nullptr, nullptr); },
      context, param, h, in);
}
int32_t QUMEN_TspStrVerifyCmsFinalMem(context_t context, tsp_verify_param_t* param, strhandle_t* h,
                                      tsp_verify_result_t* result) {
  return enter<QUMEN_TspStrVerifyCmsFinalMem>(
      __func__,
      [&] {
        return finish(stream_final(context, h, "TspStrVerifyCms", nullptr),
                      [&] { fill_tsp_verify_result(context, result); });
      },
      context, param, h, result);
}

// OCSP
int32_t QUMEN_OcspCreateRequest(context_t context, ocsp_request_param_t* param, mem_blk_t* in,
                                mem_blk_t* out) {
  return enter<QUMEN_OcspCreateRequest>(__func__, live(context), context, param, in, out);
}
int32_t QUMEN_OcspUrlObtainResponse(context_t context, ocsp_request_param_t* param, string_t url,
                                    mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_OcspUrlObtainResponse>(__func__, live(context), context, param, url, in, out);
}
int32_t QUMEN_OcspSignResponse(context_t context, ocsp_response_param_t* param, mem_blk_t* in,
                               mem_blk_t* out) {
  return enter<QUMEN_OcspSignResponse>(__func__, live(context), context, param, in, out);
}
int32_t QUMEN_OcspVerifyResponse(context_t context, ocsp_verify_param_t* param, mem_blk_t* in,
                                 ocsp_verify_result_t* result) {
  return enter<QUMEN_OcspVerifyResponse>(
      __func__, [&] { return fill(context, [&] { fill_ocsp_verify_result(context, result); }); },
      context, param, in, result);
}

// TLS sessions. Destroy receives the handle's address; the others take it by value.
int32_t QUMEN_TlsSessionCreate(context_t context, string_t text, strhandle_t* h, int32_t value) {
  return enter<QUMEN_TlsSessionCreate>(
      __func__, [&] { return stream_init(context, h, "TlsSession"); }, context, text, h, value);
}
int32_t QUMEN_TlsSessionDestroy(context_t context, strhandle_t* h) {
  return enter<QUMEN_TlsSessionDestroy>(
      __func__, [&] { return session_destroy(context, h); }, context, h);
}
int32_t QUMEN_TlsSessionHandshake(context_t context, strhandle_t h, mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_TlsSessionHandshake>(
      __func__, [&] { return session_call(context, h, 'H', in, out); }, context, h, in, out);
}
int32_t QUMEN_TlsSessionComplete(context_t context, strhandle_t h) {
  return enter<QUMEN_TlsSessionComplete>(
      __func__, [&] { return session_call(context, h, 'C', nullptr, nullptr); }, context, h);
}
int32_t QUMEN_TlsSessionQuery(context_t context, strhandle_t h, int32_t selector, mem_blk_t* out) {
  return enter<QUMEN_TlsSessionQuery>(
      __func__, [&] { return session_call(context, h, selector, nullptr, out); }, context, h,
      selector, out);
}
int32_t QUMEN_TlsSessionWrite(context_t context, strhandle_t h, mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_TlsSessionWrite>(
      __func__, [&] { return session_call(context, h, 'W', in, out); }, context, h, in, out);
}
int32_t QUMEN_TlsSessionRead(context_t context, strhandle_t h, mem_blk_t* in, mem_blk_t* out) {
  return enter<QUMEN_TlsSessionRead>(
      __func__, [&] { return session_call(context, h, 'R', in, out); }, context, h, in, out);
}
}  // extern "C"
