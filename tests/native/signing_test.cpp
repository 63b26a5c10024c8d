// The signing and verification records: the certificate and its parts (alternative names,
// policies, extended key usages, extensions) from the library to Java as a signer's certificate
// of VerifyMem, the verification parameters from Java to the library, and what a failure inside
// either leaves behind.
#include <cstring>
#include <functional>

#include "helpers.h"

using namespace tj;

namespace {

const char* const kAltnames[] = {"emailAddress",
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
  EXPECT_EQ(get_long(cert, "notAfterEx"), 4294967280LL) << "times widen without sign";
  EXPECT_EQ(get_int(cert, "keyUsage"), 0x86);
  EXPECT_EQ(get_long(cert, "notBeforePrivateEx"), 0x65000000LL);
  EXPECT_EQ(get_long(cert, "notAfterPrivateEx"), 2147483649LL);
  for (auto [field, who] : {std::pair{"issuerAltName", "issuer"}, {"subjectAltName", "subject"}}) {
    jobject names = get(cert, field);
    ASSERT_NE(names, nullptr) << field;
    for (const char* f : kAltnames) EXPECT_EQ(get_string(names, f), who + s + "." + f);
    EXPECT_EQ(get_string(names, "notes_address"), std::nullopt) << "it has no native place";
  }
  EXPECT_EQ(get_string(cert, "keyId"), "key-" + s);
  EXPECT_EQ(get_int(cert, "policy_num"), 3);
  EXPECT_EQ(java_all(get(cert, "policies"), show_policy),
            (Texts{"1.3.6.1.4.1.99999.1.0|Org 0|10|notice 0",
                   "1.3.6.1.4.1.99999.1.1|Org 1|11|notice 1", "1.3.6.1.4.1.99999.1.2|Org 2|12|-"}));
  EXPECT_EQ(get_int(cert, "extkeyusage_num"), 2);
  EXPECT_EQ(java_all(get(cert, "extKeyUsage"), show_eku),
            (Texts{"1.3.6.1.5.5.7.3.2", "1.3.6.1.5.5.7.3.4"}));
  EXPECT_EQ(get_int(cert, "extension_num"), 2);
  Bytes d0 = builder_bytes(3, seed), d1 = builder_bytes(5, seed + 1);
  EXPECT_EQ(
      java_all(get(cert, "extensions"), show_extension),
      (Texts{"2.5.29.15|0|1|3|" + hex(d0.data(), 3), "2.5.29.16|1|0|5|" + hex(d1.data(), 5)}));
  Bytes der = builder_bytes(40, seed);
  EXPECT_EQ(show_block(get(cert, "certEncoded")), show_block(der));
  EXPECT_EQ(show_block(get(cert, "certHash")), show_block(standin::digest(der.data(), der.size())));
}

// VerifyMem answered with one signer carrying the certificate `make` builds.
void one_signer(std::function<void(context_t, certificate_t*)> make) {
  standin::on<QUMEN_VerifyMem>(
      [make](context_t c, verify_param_t*, mem_blk_t*, mem_blk_t*, mem_blk_t*, verify_result_t* r) {
        r->sign_num = 1;
        r->signs = static_cast<sign_status_t*>(standin::alloc(c, sizeof(sign_status_t)));
        auto* cert = static_cast<certificate_t*>(standin::alloc(c, sizeof(certificate_t)));
        std::memset(static_cast<void*>(cert), 0, sizeof *cert);
        make(c, cert);
        r->signs[0] = sign_status_t{0, 0, cert};
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

class Signing : public BridgeTest {};

// ---- From the library to Java --------------------------------------------------------------

TEST_F(Signing, VerifyMemGivesEachSignerANewCompleteCertificate) {
  jobject s = open();
  standin::on<QUMEN_VerifyMem>(
      [](context_t c, verify_param_t*, mem_blk_t*, mem_blk_t*, mem_blk_t*, verify_result_t* r) {
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
  set(result, "signs", old_signs);

  ASSERT_EQ(call("VerifyMem", s, nullptr, block({1}), nullptr, nullptr, result), 0);
  EXPECT_EQ(get_int(result, "sign_num"), 3);
  auto each = elements(get(result, "signs"));
  ASSERT_EQ(each.size(), 3u);
  for (jint i = 0; i < 3; ++i) {
    EXPECT_FALSE(same(each[i], old_sign));
    EXPECT_EQ(get_int(each[i], "status"), i);
    EXPECT_EQ(get_long(each[i], "timeEx"), 2147483648LL + i);
  }
  expect_filled(get(each[0], "cert"), 1);
  expect_filled(get(each[1], "cert"), 2);
  EXPECT_EQ(get(each[2], "cert"), nullptr) << "a signer without certificate";
  EXPECT_TRUE(same(elements(old_signs).at(0), old_sign));
  EXPECT_EQ(get_int(old_sign, "status"), 77);
  EXPECT_EQ(get_string(old_cert, "subject"), "old");
  // The ledger (checked after the test) proves every native block given back exactly once.
  EXPECT_EQ(standin::count("QUMEN_FreeVerifyResult"), 1u);
}

TEST_F(Signing, OddNativeContentsReachJavaAsTheyAre) {
  jobject s = open();
  one_signer([](context_t c, certificate_t* cert) {
    cert->issuer = standin::text(c, "");  // empty: a null Java string, the text released
    cert->subject = standin::text(c, "CN=odd");
    cert->policy_num = 2;  // a count without an array
    cert->extKeyUsage = static_cast<extkeyusage_t*>(standin::alloc(c, sizeof(extkeyusage_t)));
    cert->extKeyUsage->oid = nullptr;  // an array without elements (count 0)
    cert->extension_num = 2;
    cert->extensions = static_cast<extension_t*>(standin::alloc(c, 2 * sizeof(extension_t)));
    cert->extensions[0] =
        extension_t{standin::text(c, "2.5.29.19"), 0, 1, 0, standin::bytes(c, {1, 2, 3})};
    cert->extensions[1] = extension_t{nullptr, 0, 0, 4, nullptr};
    cert->certHash.len = 7;  // a length without bytes
  });
  jobject cert = verify_signer(s);
  ASSERT_NE(cert, nullptr);
  EXPECT_EQ(get_string(cert, "issuer"), std::nullopt);
  EXPECT_EQ(get_string(cert, "subject"), "CN=odd");
  EXPECT_NE(get(cert, "subjectAltName"), nullptr) << "always a new object, even empty";
  EXPECT_EQ(get_int(cert, "policy_num"), 2);
  EXPECT_EQ(get(cert, "policies"), nullptr);
  EXPECT_EQ(java_all(get(cert, "extKeyUsage"), show_eku), Texts{});
  EXPECT_EQ(java_all(get(cert, "extensions"), show_extension),
            (Texts{"2.5.29.19|0|1|0|-", "-|0|0|4|-"}));
  EXPECT_EQ(show_block(get(cert, "certEncoded")), "0:-")
      << "new blocks even when the native ones are empty";
  EXPECT_EQ(show_block(get(cert, "certHash")), "7:-");
}

// A text the narrow codeset cannot take stops the conversion in the middle of the second
// signer's certificate: Java sees the exception, and everything the library gave, converted
// or not, is still given back exactly once.
TEST_F(Signing, AFailureInsideASignersCertificateStillReleasesEverything) {
  Locale utf8("C.UTF-8");
  ASSERT_TRUE(utf8.ok());
  jobject s = open();
  standin::on<QUMEN_VerifyMem>(
      [](context_t c, verify_param_t*, mem_blk_t*, mem_blk_t*, mem_blk_t*, verify_result_t* r) {
        standin::fill_verify_result(c, r, 3);
        certificate_t* second = r->signs[1].cert;
        standin::release(c, second->subject, "test");
        second->subject = standin::text(c, "CN=caf\xc3\xa9");  // two bytes for one character
        return 0;
      });
  jobject result = make("verify_result_t");
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), kPending);
  EXPECT_THROWN("java.io.CharConversionException", "string_t2jstring");
  EXPECT_EQ(get_int(result, "sign_num"), 3);
  EXPECT_EQ(get(result, "signs"), nullptr) << "the unfinished array never reaches Java";
}

// A certificate the library does not give leaves the caller's field null: no certificate of an
// earlier call stays behind.
TEST_F(Signing, ACertificateTheLibraryDoesNotGiveClearsTheCallersOld) {
  jobject s = open();
  standin::on<QUMEN_TspVerifyResponse>(
      [](context_t c, tsp_verify_param_t*, mem_blk_t*, tsp_verify_result_t* r) {
        standin::fill_tsp_verify_result(c, r, false);
        return 0;
      });
  jobject result = make("tsp_verify_result_t");
  set(result, "cert", make("certificate_t"));
  ASSERT_EQ(call("TspVerifyResponse", s, nullptr, nullptr, result), 0);
  EXPECT_EQ(get_long(result, "timeEx"), 0x66554433);
  EXPECT_EQ(get(result, "cert"), nullptr);
}

// Arrays the VM cannot make (too large, a negative count): the bridge's OutOfMemoryError under
// the converter's name replaces the VM's own error, and everything the library gave still goes
// back.
TEST_F(Signing, ArraysTheVmCannotMakeRaiseOutOfMemory) {
  jobject s = open();
  one_signer([](context_t c, certificate_t* cert) {  // more bytes than the Java heap can take
    cert->extension_num = 1;
    cert->extensions = static_cast<extension_t*>(standin::alloc(c, sizeof(extension_t)));
    cert->extensions[0] = extension_t{nullptr, 0, 0, 1 << 30, standin::bytes(c, {1})};
  });
  jobject result = make("verify_result_t");
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), kPending);
  EXPECT_THROWN("java.lang.OutOfMemoryError", "extension_t2jobject");
  EXPECT_EQ(get(result, "signs"), nullptr);

  one_signer([](context_t c, certificate_t* cert) {  // a negative count over an array
    cert->policy_num = -1;
    cert->policies = static_cast<policy_t*>(standin::alloc(c, sizeof(policy_t)));
  });
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), kPending);
  EXPECT_THROWN("java.lang.OutOfMemoryError", "certificate_t2jobject");
}

// ---- From Java to the library --------------------------------------------------------------

TEST_F(Signing, VerifyParamReachesTheLibraryFieldByField) {
  jobject s = open();
  Texts seen;
  standin::on<QUMEN_VerifyMem>(
      [&](context_t, verify_param_t* p, mem_blk_t*, mem_blk_t*, mem_blk_t*, verify_result_t*) {
        seen = {std::to_string(p->flag) + "|" + std::to_string(p->keyUsage) + "|" +
                std::to_string(p->nSignToDelete) + "|" + std::to_string(p->minsigns) + "|" +
                std::to_string(p->info)};
        for (Texts each :
             {show_all(p->policies, p->policy_num), show_all(p->extKeyUsage, p->extkeyusage_num),
              show_all(p->extensions, p->extension_num)})
          seen.insert(seen.end(), each.begin(), each.end());
        return 0;
      });
  jobject vp = make("verify_param_t");
  set(vp, "flag", jint(0x11));
  set(vp, "keyUsage", jint(0x80));
  set(vp, "policy_num", jint(2));
  set(vp, "policies", array("policy_t", {policy("1.2.3", "Org", 7, "notice"), nullptr}));
  set(vp, "extkeyusage_num", jint(1));
  set(vp, "extKeyUsage", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.4")}));
  set(vp, "extension_num", jint(2));
  set(vp, "extensions",
      array("extension_t", {extension("2.5.29.15", 1, 1, {3, 2, 1, 0}, 3), nullptr}));
  set(vp, "nSignToDelete", jint(3));
  set(vp, "minsigns", jint(2));
  set(vp, "info", jint(-1));
  ASSERT_EQ(call("VerifyMem", s, vp, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(seen, (Texts{"17|128|3|2|-1", "1.2.3|Org|7|notice", "-|-|0|-", "1.3.6.1.5.5.7.3.4",
                         "2.5.29.15|1|1|3|030201", "-|0|0|0|-"}))
      << "a null element is a zero record; an extension carries len bytes";

  // Counts are carried as read, whatever the arrays hold: a null array or a count below 1 is a
  // null pointer.
  set(vp, "policy_num", jint(0));
  set(vp, "extkeyusage_num", jint(-1));
  set(vp, "extensions", jobject(nullptr));
  ASSERT_EQ(call("VerifyMem", s, vp, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(Texts(seen.begin() + 1, seen.end()), (Texts{"null", "null", "null"}));
}

TEST_F(Signing, ACountBeyondItsArrayIsTheVmsOwnIndexError) {
  jobject s = open();
  jobject vp = make("verify_param_t");
  set(vp, "policy_num", jint(3));
  set(vp, "policies", array("policy_t", {policy("1", "a", 1, "t"), policy("2", "b", 2, "u")}));
  EXPECT_EQ(raw("VerifyMem", s, vp, nullptr, nullptr, nullptr, nullptr), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");

  // The existing element is converted first: its own refusal comes before the VM's.
  jobject bad = make("verify_param_t");
  set(bad, "extension_num", jint(5));
  set(bad, "extensions", array("extension_t", {extension("2.5.29.15", 0, 0, {1, 2}, 4)}));
  EXPECT_EQ(raw("VerifyMem", s, bad, nullptr, nullptr, nullptr, nullptr), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2extension_t:len");
  EXPECT_EQ(standin::count("QUMEN_VerifyMem"), 0u);
}

// Each element's local references are dropped as the loop goes: -Xcheck:jni reports a frame that
// outgrows its capacity, and the harness fails the test on any JVM output. From Java: policies
// and key usages; to Java: signers, and in the first signer's certificate policies and extensions
// (each element with a text or an array of its own).
TEST_F(Signing, TenThousandElementsEachWayWithoutLocalReferenceWarnings) {
  jobject s = open();
  constexpr jint kCount = 10000;
  Texts last;
  standin::on<QUMEN_VerifyMem>([&](context_t c, verify_param_t* p, mem_blk_t*, mem_blk_t*,
                                   mem_blk_t*, verify_result_t* r) {
    last = {std::to_string(p->policy_num), show(p->policies[kCount - 1]),
            std::to_string(p->extkeyusage_num), show(p->extKeyUsage[kCount - 1])};
    r->sign_num = kCount;
    r->signs = static_cast<sign_status_t*>(standin::alloc(c, kCount * sizeof(sign_status_t)));
    for (jint i = 0; i < kCount; ++i) r->signs[i] = sign_status_t{i, uint32_t(i), nullptr};
    auto* cert = static_cast<certificate_t*>(standin::alloc(c, sizeof(certificate_t)));
    std::memset(static_cast<void*>(cert), 0, sizeof *cert);
    r->signs[0].cert = cert;
    cert->policy_num = cert->extension_num = kCount;
    cert->policies = static_cast<policy_t*>(standin::alloc(c, kCount * sizeof(policy_t)));
    cert->extensions = static_cast<extension_t*>(standin::alloc(c, kCount * sizeof(extension_t)));
    for (int i = 0; i < kCount; ++i) {
      cert->policies[i] =
          policy_t{standin::text(c, "1.2." + std::to_string(i)), nullptr, i, nullptr};
      cert->extensions[i] = extension_t{nullptr, i, 0, 1, standin::bytes(c, {uint8_t(i)})};
    }
    return 0;
  });
  jobject vp = make("verify_param_t");
  set(vp, "policy_num", kCount);
  set(vp, "policies", built("policies", "policy_t", kCount));
  set(vp, "extkeyusage_num", kCount);
  set(vp, "extKeyUsage", built("extKeyUsages", "extkeyusage_t", kCount));
  jobject result = make("verify_result_t");
  ASSERT_EQ(call("VerifyMem", s, vp, nullptr, nullptr, nullptr, result), 0);
  EXPECT_EQ(last, (Texts{"10000", "1.2.840.9999|org 9999|9999|-", "10000", "1.3.6.9999"}));
  auto signs = static_cast<jobjectArray>(get(result, "signs"));
  ASSERT_EQ(env_->GetArrayLength(signs), kCount);
  EXPECT_EQ(get_int(env_->GetObjectArrayElement(signs, kCount - 1), "status"), kCount - 1);
  jobject cert = get(env_->GetObjectArrayElement(signs, 0), "cert");
  auto policies = static_cast<jobjectArray>(get(cert, "policies"));
  auto extensions = static_cast<jobjectArray>(get(cert, "extensions"));
  EXPECT_EQ(show_policy(env_->GetObjectArrayElement(policies, kCount - 1)), "1.2.9999|-|9999|-");
  EXPECT_EQ(show_extension(env_->GetObjectArrayElement(extensions, kCount - 1)), "-|9999|0|1|0f");
}

}  // namespace
