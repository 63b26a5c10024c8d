// Certificate and CRL inspection: CRLs and single extensions parsed into Java, what a failed
// parse leaves in the caller's certificate, and the records the policy checks and the request
// receive from Java. (Every inspection method is also a row of the methods table.)
#include <cstring>

#include "helpers.h"

using namespace tj;

namespace {

std::string show_revcert(jobject r) {
  return text_of(get_string(r, "serialNumber")) + "|" + std::to_string(get_long(r, "revtimeEx")) +
         "|" + std::to_string(get_int(r, "reason"));
}
std::string show_othername(jobject o) {
  return text_of(get_string(o, "oid")) + "=" + text_of(get_string(o, "name"));
}

class Inspection : public BridgeTest {};

TEST_F(Inspection, ParseCrlGivesEveryField) {
  jobject s = open();
  standin::on<QUMEN_ParseCrl>([](context_t c, mem_blk_t*, int32_t, crl_t* crl) {
    standin::fill_crl(c, crl, 3);
    return 0;
  });
  jobject crl = make("crl_t");
  ASSERT_EQ(call("ParseCrl", s, block({0x30, 0x82, 0x01}), jint(0x55), crl), 0);
  EXPECT_EQ(get_int(crl, "fields"), 0x1F);
  EXPECT_EQ(get_string(crl, "issuer"), standin::CertificateText::issuer(1));
  EXPECT_EQ(get_long(crl, "lastUpdateEx"), 0x66000000LL);
  EXPECT_EQ(get_long(crl, "nextUpdateEx"), 4294967295LL);
  EXPECT_EQ(get_int(crl, "number"), 42);
  EXPECT_EQ(get_int(crl, "revcert_num"), 3);
  EXPECT_EQ(java_all(get(crl, "revcerts"), show_revcert),
            (Texts{"R0|4026531840|0", "R1|4026531841|1", "R2|4026531842|2"}));
  Bytes der = builder_bytes(24, 9);
  EXPECT_EQ(show_block(get(crl, "crlEncoded")), show_block(der));
  EXPECT_EQ(show_block(get(crl, "crlHash")), show_block(standin::digest(der.data(), der.size())));
}

TEST_F(Inspection, ParseAltnameExGivesOthernamesInNativeOrder) {
  jobject s = open();
  standin::on<QUMEN_ParseAltnameEx>([](context_t c, mem_blk_t*, altname_ex_t* ext) {
    standin::fill_altname_ex(c, ext, 3);
    return 0;
  });
  jobject ext = make("altname_ex_t");
  set(ext, "othernames", array("othername_t", {make("othername_t")}));
  ASSERT_EQ(call("ParseAltnameEx", s, block({4}), ext), 0);
  EXPECT_EQ(get_int(ext, "othername_num"), 3);
  EXPECT_EQ(java_all(get(ext, "othernames"), show_othername),
            (Texts{"1.3.6.1.4.1.311.20.2.0=other-0", "1.3.6.1.4.1.311.20.2.1=other-1",
                   "1.3.6.1.4.1.311.20.2.2=other-2"}));
}

// A failed parse that wrote nothing still rewrites the caller's certificate: every text and
// array cleared, and new empty objects for the names and blocks, the caller's old ones untouched.
TEST_F(Inspection, AFailedParseCertStillRewritesTheCertificate) {
  jobject s = open();
  standin::on<QUMEN_ParseCert>(
      [](context_t, mem_blk_t*, int32_t, certificate_t*) { return 0x4321; });
  jobject cert = make("certificate_t");
  jobject old_names = make("altname_t");
  set(old_names, "DNS", "old.example");
  jobject old_encoded = block({9});
  set(cert, "issuer", "CN=Old");
  set(cert, "subjectAltName", old_names);
  set(cert, "policy_num", jint(1));
  set(cert, "policies", array("policy_t", {policy("1.2.3", "org", 1, "t")}));
  set(cert, "certEncoded", old_encoded);

  EXPECT_EQ(call("ParseCert", s, nullptr, jint(-1), cert), 0x4321);
  EXPECT_EQ(get_string(cert, "issuer"), std::nullopt);
  EXPECT_EQ(get_int(cert, "policy_num"), 0);
  EXPECT_EQ(get(cert, "policies"), nullptr);
  jobject names = get(cert, "subjectAltName");
  ASSERT_NE(names, nullptr);
  EXPECT_FALSE(same(names, old_names));
  EXPECT_EQ(get_string(names, "DNS"), std::nullopt);
  jobject encoded = get(cert, "certEncoded");
  EXPECT_FALSE(same(encoded, old_encoded));
  EXPECT_EQ(show_block(encoded), "0:-");
  EXPECT_EQ(show_block(get(cert, "certHash")), "0:-");
  EXPECT_EQ(get_string(old_names, "DNS"), "old.example");
  EXPECT_EQ(show_block(old_encoded), "1:09");
}

// A nested record that fails to convert leaves the caller's field null, not its old object, and
// Java sees the conversion's own exception; what came before it stays converted.
TEST_F(Inspection, ANestedRecordThatFailsLeavesTheCallersFieldNull) {
  Locale utf8("C.UTF-8");
  ASSERT_TRUE(utf8.ok());
  jobject s = open();
  standin::on<QUMEN_ParseCert>([](context_t c, mem_blk_t*, int32_t, certificate_t* cert) {
    cert->subject = standin::text(c, "CN=New");
    cert->issuerAltName.surname = standin::text(c, "Z\xc3\xa9");  // two bytes, one character
    return 0;
  });
  jobject cert = make("certificate_t");
  jobject old_names = make("altname_t");
  set(old_names, "DNS", "old.example");
  set(cert, "issuerAltName", old_names);
  set(cert, "subjectAltName", old_names);

  EXPECT_EQ(raw("ParseCert", s, nullptr, jint(0), cert), kPending);
  EXPECT_THROWN("java.io.CharConversionException", "string_t2jstring");
  EXPECT_EQ(get(cert, "issuerAltName"), nullptr);
  EXPECT_TRUE(same(get(cert, "subjectAltName"), old_names)) << "not reached";
  EXPECT_EQ(get_string(cert, "subject"), "CN=New");
  EXPECT_EQ(get_string(old_names, "DNS"), "old.example");
}

TEST_F(Inspection, PolicyChecksReceiveASizeAndTheLowBitsOfTheTime) {
  jobject s = open();
  verify_policy_param_t got;
  Texts ekus;
  standin::on<QUMEN_VerifyCertificatePolicy>([&](context_t, verify_policy_param_t* p, mem_blk_t*) {
    std::memcpy(static_cast<void*>(&got), p, sizeof got);
    ekus = show_all(p->extkeyusages, p->eku_num);
    return 0x61;
  });
  jobject param = make("verify_policy_param_t");
  set(param, "flag", jint(9));
  set(param, "check_timeEx", L{0x123456789LL});
  set(param, "keyusage", jint(0x80));
  set(param, "eku_num", jint(1));
  set(param, "extkeyusages", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.9"), eku("1.3")}));
  EXPECT_EQ(call("VerifyCertificatePolicy", s, param, block({7})), 0x61);
  EXPECT_EQ(got.size, 56u);
  EXPECT_EQ(got.flag, 9);
  EXPECT_EQ(got.check_timeEx, 0x23456789u) << "the low 32 bits of the long";
  EXPECT_EQ(got.keyusage, 0x80);
  EXPECT_EQ(ekus, Texts{"1.3.6.1.5.5.7.3.9"});
  EXPECT_EQ(got.policies, nullptr);
}

// The texts an altname_t holds, in field order.
std::string names(const altname_t& a) {
  std::string out;
  for (const string_t* t = &a.emailAddress; t <= &a.exchange_address; ++t)
    if (*t != nullptr) out += (out.empty() ? "" : ",") + std::string(*t);
  return out;
}

// What the library received as the request's certificate, field by field.
Texts describe(const certificate_t& c) {
  Texts out = {
      text_of(c.issuer) + "|" + text_of(c.serialNumber) + "|" + text_of(c.subject) + "|" +
          text_of(c.algorithm) + "|" + text_of(c.keyId),
      std::to_string(c.fields) + "|" + std::to_string(c.keyUsage) + "|" +
          std::to_string(c.policy_num) + "|" + std::to_string(c.extkeyusage_num) + "|" +
          std::to_string(c.extension_num),
      std::to_string(c.notBeforeEx) + "|" + std::to_string(c.notAfterEx) + "|" +
          std::to_string(c.notBeforePrivateEx) + "|" + std::to_string(c.notAfterPrivateEx),
      names(c.issuerAltName) + "|" + names(c.subjectAltName),
  };
  for (const auto& p : show_all(c.policies, c.policy_num)) out.push_back(p);
  for (const auto& e : show_all(c.extKeyUsage, c.extkeyusage_num)) out.push_back(e);
  for (const auto& e : show_all(c.extensions, c.extension_num)) out.push_back(e);
  for (const mem_blk_t* b : {&c.certEncoded, &c.certHash}) out.push_back(seen(b));
  return out;
}

// The certificate record from Java to the library, every field of it.
TEST_F(Inspection, CreateXmlRequestPassesTheWholeCertificate) {
  jobject s = open();
  Texts got;
  standin::on<QUMEN_CreateXmlRequest>([&](context_t, int32_t, certificate_t* cert, mem_blk_t*) {
    got = describe(*cert);  // the texts live only as long as the call
    return 0;
  });
  jobject cert = make("certificate_t");
  for (auto [field, value] : {std::pair{"issuer", "CN=CA"},
                              {"serialNumber", "01:02"},
                              {"subject", "CN=Me"},
                              {"algorithm", "1.2.840.10045.4.3.2"},
                              {"keyId", "0A:0B"}})
    set(cert, field, value);
  for (auto [field, value] : {std::pair{"fields", 0x3FF},
                              {"keyUsage", 0x86},
                              {"policy_num", 1},
                              {"extkeyusage_num", 2},
                              {"extension_num", 1}})
    set(cert, field, jint(value));
  for (auto [field, value] : {std::pair{"notBeforeEx", 0x100000005LL},
                              {"notAfterEx", 4294967295LL},
                              {"notBeforePrivateEx", 7LL},
                              {"notAfterPrivateEx", -1LL}})
    set(cert, field, L{value});
  jobject issuer_names = make("altname_t"), subject_names = make("altname_t");
  set(issuer_names, "emailAddress", "ca@example.org");
  set(issuer_names, "notes_address", "notes");  // it has no native place
  set(subject_names, "DNS", "me.example.org");
  set(cert, "issuerAltName", issuer_names);
  set(cert, "subjectAltName", subject_names);
  set(cert, "policies", array("policy_t", {policy("2.5.29.32.0", "Org", 4, "notice")}));
  set(cert, "extKeyUsage",
      array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.2"), eku("1.3.6.1.5.5.7.3.4")}));
  set(cert, "extensions",
      array("extension_t", {extension("2.5.29.19", 1, 1, {0x30, 0x00, 0xFF}, 2)}));
  set(cert, "certEncoded", block({0x30, 0x01, 0x00}));
  set(cert, "certHash", block({0xEE}));
  ASSERT_EQ(call("CreateXmlRequest", s, jint(0x40), cert, nullptr), 0);
  EXPECT_EQ(got, (Texts{"CN=CA|01:02|CN=Me|1.2.840.10045.4.3.2|0A:0B", "1023|134|1|2|1",
                        "5|4294967295|7|4294967295", "ca@example.org|me.example.org",
                        "2.5.29.32.0|Org|4|notice", "1.3.6.1.5.5.7.3.2", "1.3.6.1.5.5.7.3.4",
                        "2.5.29.19|1|1|2|3000", "3:300100", "1:ee"}))
      << "times keep their low 32 bits; an extension carries len bytes";
}

}  // namespace
