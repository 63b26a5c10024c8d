// The certificate record and its parts (alternative names, policies, extended key usages,
// extensions) in both directions: from the library to Java as a signer's certificate of
// VerifyMem, and from Java to the library through the converters themselves.
#include <algorithm>
#include <clocale>
#include <functional>
#include <cstring>

#include "core/scratch.h"
#include "records.h"
#include "records/altname.h"
#include "records/certificate.h"

using namespace tj;

namespace {

const char* const kAltnames[] = {"emailAddress",     "DNS",          "URI",
                                 "IP",               "organizationName", "registredAddress",
                                 "surname",          "businessCategory", "telephoneNumber",
                                 "description",      "account_number",   "bank_id",
                                 "physicalDelivery", "exchange_address"};

// The bytes fill_certificate puts in its encoding and extensions.
Bytes pattern(size_t n, int seed) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = uint8_t(seed * 31 + int(i));
  return b;
}

// Every field of a Java certificate_t against what fill_certificate(seed) put in.
void expect_filled(jobject cert, int seed) {
  SCOPED_TRACE("certificate of seed " + std::to_string(seed));
  ASSERT_NE(cert, nullptr);
  std::string s = std::to_string(seed);
  EXPECT_EQ(get_int(cert, "fields"), 0x3FF);
  EXPECT_EQ(get_string(cert, "issuer"), standin::CertificateText::issuer(seed));
  EXPECT_EQ(get_string(cert, "serialNumber"), standin::CertificateText::serial(seed));
  EXPECT_EQ(get_string(cert, "subject"), standin::CertificateText::subject(seed));
  EXPECT_EQ(get_string(cert, "algorithm"), "1.2.840.113549.1.1.11");
  EXPECT_EQ(get_long(cert, "notBeforeEx"), 0x65000000LL + seed);
  EXPECT_EQ(get_long(cert, "notAfterEx"), 4294967280LL) << "widened without sign";
  EXPECT_EQ(get_int(cert, "keyUsage"), 0x86);
  EXPECT_EQ(get_long(cert, "notBeforePrivateEx"), 0x65000000LL);
  EXPECT_EQ(get_long(cert, "notAfterPrivateEx"), 2147483649LL);
  const std::pair<const char*, const char*> kNames[] = {{"issuerAltName", "issuer"},
                                                        {"subjectAltName", "subject"}};
  for (auto [field, who] : kNames) {
    jobject names = get(cert, field);
    ASSERT_NE(names, nullptr) << field;
    for (const char* f : kAltnames) EXPECT_EQ(get_string(names, f), who + s + "." + f);
    EXPECT_EQ(get_string(names, "notes_address"), std::nullopt);
  }
  EXPECT_EQ(get_string(cert, "keyId"), "key-" + s);
  EXPECT_EQ(get_int(cert, "policy_num"), 3);
  EXPECT_EQ(java_all(get(cert, "policies"), show_policy),
            (std::vector<std::string>{"1.3.6.1.4.1.99999.1.0|Org 0|10|notice 0",
                                      "1.3.6.1.4.1.99999.1.1|Org 1|11|notice 1",
                                      "1.3.6.1.4.1.99999.1.2|Org 2|12|-"}));
  EXPECT_EQ(get_int(cert, "extkeyusage_num"), 2);
  EXPECT_EQ(java_all(get(cert, "extKeyUsage"), show_eku),
            (std::vector<std::string>{"1.3.6.1.5.5.7.3.2", "1.3.6.1.5.5.7.3.4"}));
  EXPECT_EQ(get_int(cert, "extension_num"), 2);
  Bytes d0 = pattern(3, seed), d1 = pattern(5, seed + 1);
  EXPECT_EQ(java_all(get(cert, "extensions"), show_extension),
            (std::vector<std::string>{"2.5.29.15|0|1|3|" + hex(d0.data(), 3),
                                      "2.5.29.16|1|0|5|" + hex(d1.data(), 5)}));
  jobject encoded = get(cert, "certEncoded");
  jobject hash = get(cert, "certHash");
  ASSERT_TRUE(encoded && hash);
  Bytes der = pattern(40, seed);
  EXPECT_EQ(get_int(encoded, "len"), 40);
  EXPECT_EQ(get_bytes(encoded, "buf"), der);
  EXPECT_EQ(get_int(hash, "len"), 32);
  EXPECT_EQ(get_bytes(hash, "buf"), standin::digest(der.data(), der.size()));
}

// A certificate block of the library with nothing in it.
certificate_t* blank_certificate(context_t c) {
  auto* cert = static_cast<certificate_t*>(standin::alloc(c, sizeof(certificate_t)));
  std::memset(static_cast<void*>(cert), 0, sizeof *cert);
  return cert;
}

// VerifyMem answered with one signer carrying `cert`.
void one_signer(std::function<certificate_t*(context_t)> cert) {
  standin::on<QUMEN_VerifyMem>([cert](context_t c, verify_param_t*, mem_blk_t*, mem_blk_t*,
                                      mem_blk_t*, verify_result_t* r) {
    r->sign_num = 1;
    r->signs = static_cast<sign_status_t*>(standin::alloc(c, sizeof(sign_status_t)));
    r->signs[0] = sign_status_t{0, 0, cert(c)};
    return 0;
  });
}

jobject verify_signer(jobject self) {
  jobject result = make("verify_result_t");
  EXPECT_EQ(call("VerifyMem", self, nullptr, nullptr, nullptr, nullptr, result), 0);
  auto signs = elements(get(result, "signs"));
  EXPECT_EQ(signs.size(), 1u);
  return signs.empty() ? nullptr : get(signs[0], "cert");
}

class Certificate : public BridgeTest {
 protected:
  tvj::CallMemory memory_;  // the direct conversions' copies live as long as a call would
};

TEST_F(Certificate, VerifyMemGivesEachSignerANewCompleteCertificate) {
  jobject s = open();
  standin::on<QUMEN_VerifyMem>([](context_t c, verify_param_t*, mem_blk_t*, mem_blk_t*,
                                  mem_blk_t* out, verify_result_t* r) {
    *out = mem_blk_t{3, standin::bytes(c, {'m', 's', 'g'})};
    standin::fill_verify_result(c, r, 3);
    return 0;
  });
  // What the Java objects held before is replaced, never written into.
  jobject old_cert = make("certificate_t");
  set(old_cert, "subject", "old");
  jobject old_sign = make("sign_status_t");
  set(old_sign, "status", jint(77));
  set(old_sign, "cert", old_cert);
  jobject old_signs = array("sign_status_t", {old_sign});
  jobject result = make("verify_result_t");
  set(result, "sign_num", jint(1));
  set(result, "signs", old_signs);
  jobject out = block({1, 2, 3, 4});

  ASSERT_EQ(call("VerifyMem", s, make("verify_param_t"), block({1}), nullptr, out, result), 0);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{'m', 's', 'g'}));
  EXPECT_EQ(get_int(result, "sign_num"), 3);
  jobject signs = get(result, "signs");
  EXPECT_FALSE(env_->IsSameObject(signs, old_signs));
  auto each = elements(signs);
  ASSERT_EQ(each.size(), 3u);
  for (jint i = 0; i < 3; ++i) {
    EXPECT_FALSE(env_->IsSameObject(each[i], old_sign));
    EXPECT_EQ(get_int(each[i], "status"), i);
    EXPECT_EQ(get_long(each[i], "timeEx"), 2147483648LL + i) << "widened without sign";
  }
  expect_filled(get(each[0], "cert"), 1);
  expect_filled(get(each[1], "cert"), 2);
  EXPECT_EQ(get(each[2], "cert"), nullptr) << "a signer without certificate";
  EXPECT_TRUE(env_->IsSameObject(elements(old_signs).at(0), old_sign));
  EXPECT_EQ(get_int(old_sign, "status"), 77);
  EXPECT_EQ(get_string(old_cert, "subject"), "old");
  // The ledger (checked after the test) proves every native block given back exactly once.
  EXPECT_EQ(standin::count("QUMEN_FreeVerifyResult"), 1u);
  EXPECT_EQ(standin::count("QUMEN_FreeCert"), 2u);
}

TEST_F(Certificate, OddNativeContentsReachJavaAsTheyAre) {
  jobject s = open();
  one_signer([](context_t c) {
    certificate_t* cert = blank_certificate(c);
    cert->issuer = standin::text(c, "");  // empty: a null Java string, the text released
    cert->subject = standin::text(c, "CN=odd");
    cert->issuerAltName.DNS = standin::text(c, "");
    cert->policy_num = 2;  // a count without an array
    cert->extkeyusage_num = 0;  // an array without elements
    cert->extKeyUsage = static_cast<extkeyusage_t*>(standin::alloc(c, sizeof(extkeyusage_t)));
    cert->extKeyUsage->oid = nullptr;
    cert->extension_num = 2;
    cert->extensions = static_cast<extension_t*>(standin::alloc(c, 2 * sizeof(extension_t)));
    cert->extensions[0] = extension_t{standin::text(c, "2.5.29.19"), 0, 1, 0, standin::bytes(c, {1, 2, 3})};
    cert->extensions[1] = extension_t{nullptr, 0, 0, 4, nullptr};
    cert->certHash.len = 7;  // a length without bytes
    return cert;
  });
  jobject cert = verify_signer(s);
  ASSERT_NE(cert, nullptr);
  EXPECT_EQ(get_string(cert, "issuer"), std::nullopt);
  EXPECT_EQ(get_string(cert, "subject"), "CN=odd");
  EXPECT_EQ(get_string(get(cert, "issuerAltName"), "DNS"), std::nullopt);
  EXPECT_NE(get(cert, "subjectAltName"), nullptr) << "always a new object, even empty";
  EXPECT_EQ(get_int(cert, "policy_num"), 2);
  EXPECT_EQ(get(cert, "policies"), nullptr);
  EXPECT_EQ(java_all(get(cert, "extKeyUsage"), show_eku), std::vector<std::string>{});
  EXPECT_EQ(java_all(get(cert, "extensions"), show_extension),
            (std::vector<std::string>{"2.5.29.19|0|1|0|-", "-|0|0|4|-"}));
  jobject encoded = get(cert, "certEncoded");
  jobject hash = get(cert, "certHash");
  ASSERT_TRUE(encoded && hash) << "new blocks even when the native ones are empty";
  EXPECT_EQ(get_int(encoded, "len"), 0);
  EXPECT_EQ(get_bytes(encoded, "buf"), std::nullopt);
  EXPECT_EQ(get_int(hash, "len"), 7);
  EXPECT_EQ(get_bytes(hash, "buf"), std::nullopt);
}

TEST_F(Certificate, TenThousandElementsReachJavaWithoutLocalReferenceWarnings) {
  jobject s = open();
  constexpr int kCount = 10000;
  one_signer([](context_t c) {
    certificate_t* cert = blank_certificate(c);
    cert->policy_num = kCount;
    cert->policies = static_cast<policy_t*>(standin::alloc(c, kCount * sizeof(policy_t)));
    for (int i = 0; i < kCount; ++i)
      cert->policies[i] = policy_t{standin::text(c, "1.2." + std::to_string(i)), nullptr, i, nullptr};
    cert->extension_num = kCount;
    cert->extensions = static_cast<extension_t*>(standin::alloc(c, kCount * sizeof(extension_t)));
    for (int i = 0; i < kCount; ++i)
      cert->extensions[i] = extension_t{nullptr, i, 0, 1, standin::bytes(c, {uint8_t(i)})};
    return cert;
  });
  jobject cert = verify_signer(s);
  ASSERT_NE(cert, nullptr);
  auto policies = static_cast<jobjectArray>(get(cert, "policies"));
  ASSERT_EQ(env_->GetArrayLength(policies), kCount);
  jobject last = env_->GetObjectArrayElement(policies, kCount - 1);
  EXPECT_EQ(show_policy(last), "1.2.9999|-|9999|-");
  auto extensions = static_cast<jobjectArray>(get(cert, "extensions"));
  ASSERT_EQ(env_->GetArrayLength(extensions), kCount);
  EXPECT_EQ(show_extension(env_->GetObjectArrayElement(extensions, kCount - 1)), "-|9999|0|1|0f");
}

// A text the narrow codeset cannot take stops the conversion in the middle of the second
// signer's certificate: Java sees the exception, and everything the library gave, converted
// or not, is still given back exactly once.
TEST_F(Certificate, AFailureInsideASignersCertificateStillReleasesEverything) {
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
  jobject s = open();
  standin::on<QUMEN_VerifyMem>([](context_t c, verify_param_t*, mem_blk_t*, mem_blk_t*,
                                  mem_blk_t*, verify_result_t* r) {
    standin::fill_verify_result(c, r, 3);
    certificate_t* second = r->signs[1].cert;
    standin::release(c, second->subject, "test");
    second->subject = standin::text(c, "CN=caf\xc3\xa9");  // two bytes for one character
    return 0;
  });
  jobject result = make("verify_result_t");
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), kPending);
  std::setlocale(LC_CTYPE, previous.c_str());
  EXPECT_THROWN("java.io.CharConversionException", "string_t2jstring");
  EXPECT_EQ(get_int(result, "sign_num"), 3);
  EXPECT_EQ(get(result, "signs"), nullptr) << "the unfinished array never reaches Java";
}

// More bytes than the Java heap can take: the array cannot be made, Java sees the VM's own
// OutOfMemoryError (the first exception of the call), and the extension's block still goes back
// (with the rest of the result).
TEST_F(Certificate, AnExtensionTooLargeForJavaIsRefusedAndStillReleased) {
  jobject s = open();
  one_signer([](context_t c) {
    certificate_t* cert = blank_certificate(c);
    cert->extension_num = 1;
    cert->extensions = static_cast<extension_t*>(standin::alloc(c, sizeof(extension_t)));
    cert->extensions[0] = extension_t{standin::text(c, "2.5.29.99"), 0, 0, 1 << 30, standin::bytes(c, {1})};
    return cert;
  });
  jobject result = make("verify_result_t");
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), kPending);
  auto t = thrown();
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->cls, "java.lang.OutOfMemoryError");
  EXPECT_NE(t->message, "extension_t2jobject") << "the VM's error stands, not one of the bridge's";
  EXPECT_EQ(get(result, "signs"), nullptr);
}

TEST_F(Certificate, AlternativeNamesIgnoreAndClearNotesAddress) {
  context_t c = standin::open_context();
  jobject names = make("altname_t");
  set(names, "emailAddress", "old@example.org");
  set(names, "notes_address", "notes");
  altname_t rec;
  tvj::jobject2altname_t(env_, names, &rec);
  EXPECT_EQ(text_of(rec.emailAddress), "old@example.org");
  EXPECT_TRUE(std::all_of(&rec.DNS, &rec.exchange_address + 1, [](string_t t) { return !t; }))
      << "notes_address has no native place";
  tvj::altname_tFree(env_, &rec);
  EXPECT_TRUE(zeroed(rec));

  std::memset(static_cast<void*>(&rec), 0, sizeof rec);
  rec.emailAddress = standin::text(c, "new@example.org");
  rec.exchange_address = standin::text(c, "X.400");
  rec.URI = standin::text(c, "");
  set(names, "URI", "old-uri");
  tvj::altname_t2jobject(env_, names, &rec, c);
  EXPECT_EQ(get_string(names, "emailAddress"), "new@example.org");
  EXPECT_EQ(get_string(names, "exchange_address"), "X.400");
  EXPECT_EQ(get_string(names, "URI"), std::nullopt);
  EXPECT_EQ(get_string(names, "notes_address"), std::nullopt);
  EXPECT_TRUE(zeroed(rec));
}

TEST_F(Certificate, EveryJavaFieldReachesTheNativeRecord) {
  jobject issuer_names = make("altname_t");
  set(issuer_names, "emailAddress", "ca@example.org");
  set(issuer_names, "registredAddress", "1 Main St");
  set(issuer_names, "exchange_address", "X.400");
  set(issuer_names, "notes_address", "ignored");
  jobject cert = make("certificate_t");
  set(cert, "fields", jint(0x1F));
  set(cert, "issuer", "CN=Issuer");
  set(cert, "serialNumber", "0A:0B");
  set(cert, "subject", "CN=Subject");
  set(cert, "algorithm", "");
  set(cert, "notBeforeEx", L{(jlong(1) << 32) + 5});
  set(cert, "notAfterEx", L{0xFFFFFFFFLL});
  set(cert, "keyUsage", jint(-2));
  set(cert, "notBeforePrivateEx", L{-1});
  set(cert, "notAfterPrivateEx", L{7});
  set(cert, "issuerAltName", issuer_names);  // subjectAltName stays null
  set(cert, "keyId", "kid");
  set(cert, "policy_num", jint(2));
  set(cert, "policies", array("policy_t", {policy("1.2.3", "Org", 4, "notice"), nullptr}));
  set(cert, "extkeyusage_num", jint(1));
  set(cert, "extKeyUsage", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.1")}));
  set(cert, "extension_num", jint(2));
  set(cert, "extensions", array("extension_t", {nullptr, extension("2.5.29.17", 3, 1, {9, 8, 7}, 2)}));
  set(cert, "certEncoded", block({0x30, 0x82, 0x01}));

  certificate_t rec;
  tvj::jobject2certificate_t(env_, cert, &rec);
  EXPECT_EQ(rec.fields, 0x1F);
  EXPECT_EQ(text_of(rec.issuer), "CN=Issuer");
  EXPECT_EQ(text_of(rec.serialNumber), "0A:0B");
  EXPECT_EQ(text_of(rec.subject), "CN=Subject");
  EXPECT_EQ(rec.algorithm, nullptr) << "an empty string is absent";
  EXPECT_EQ(rec.notBeforeEx, 5u) << "the low 32 bits";
  EXPECT_EQ(rec.notAfterEx, 0xFFFFFFFFu);
  EXPECT_EQ(rec.keyUsage, -2);
  EXPECT_EQ(rec.notBeforePrivateEx, 0xFFFFFFFFu);
  EXPECT_EQ(rec.notAfterPrivateEx, 7u);
  EXPECT_EQ(text_of(rec.issuerAltName.emailAddress), "ca@example.org");
  EXPECT_EQ(text_of(rec.issuerAltName.registredAddress), "1 Main St");
  EXPECT_EQ(text_of(rec.issuerAltName.exchange_address), "X.400");
  EXPECT_EQ(rec.issuerAltName.DNS, nullptr);
  EXPECT_TRUE(zeroed(rec.subjectAltName)) << "a null altname_t: every name null";
  EXPECT_EQ(text_of(rec.keyId), "kid");
  EXPECT_EQ(show_all(rec.policies, rec.policy_num),
            (std::vector<std::string>{"1.2.3|Org|4|notice", "-|-|0|-"}));
  EXPECT_EQ(show_all(rec.extKeyUsage, rec.extkeyusage_num), std::vector<std::string>{"1.3.6.1.5.5.7.3.1"});
  EXPECT_EQ(show_all(rec.extensions, rec.extension_num),
            (std::vector<std::string>{"-|0|0|0|-", "2.5.29.17|3|1|2|0908"}));
  EXPECT_EQ(rec.certEncoded.len, 3);
  EXPECT_EQ(hex(rec.certEncoded.buf, 3), "308201");
  EXPECT_EQ(rec.certHash.len, 0);
  EXPECT_EQ(rec.certHash.buf, nullptr);

  // The release clears every field and leaves the library's 16 reserved bytes as they were.
  std::memset(rec.reserved, 0xA5, sizeof rec.reserved);
  tvj::certificate_tFree(env_, cert, &rec);
  certificate_t expected;
  std::memset(static_cast<void*>(&expected), 0, sizeof expected);
  std::memset(expected.reserved, 0xA5, sizeof expected.reserved);
  EXPECT_EQ(std::memcmp(&rec, &expected, sizeof rec), 0);

  tvj::jobject2certificate_t(env_, nullptr, &rec);
  EXPECT_TRUE(zeroed(rec));
}

TEST_F(Certificate, AMissingFieldStopsTheConversionThere) {
  jobject cert = make("tvtest/Records$CertificateNoKeyUsage");
  set(cert, "issuer", "CN=Issuer");
  set(cert, "notAfterEx", L{9});
  set(cert, "notBeforePrivateEx", L{11});
  set(cert, "keyId", "kid");
  certificate_t rec;
  tvj::jobject2certificate_t(env_, cert, &rec);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2certificate_t:keyUsage");
  EXPECT_EQ(text_of(rec.issuer), "CN=Issuer");
  EXPECT_EQ(rec.notAfterEx, 9u);
  EXPECT_EQ(rec.notBeforePrivateEx, 0u) << "fields after the missing one are not read";
  EXPECT_EQ(rec.keyId, nullptr);
}

}  // namespace
