// Certificate and CRL inspection: CRLs and single extensions parsed into Java, what a failed
// parse leaves in the caller's objects, and what the verification, display and request
// functions receive from Java.
#include <cstring>
#include <functional>

#include "views.h"

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

TEST_F(Inspection, ParseCrlGivesEveryFieldInNewObjects) {
  jobject s = open();
  int32_t flag = 0;
  std::string input;
  standin::on<QUMEN_ParseCrl>([&](context_t c, mem_blk_t* in, int32_t f, crl_t* crl) {
    flag = f;
    input = seen(in);
    standin::fill_crl(c, crl, 3);
    return 0;
  });
  jobject crl = make("crl_t");
  jobject old_encoded = block({1}), old_hash = block({2});
  set(crl, "issuer", "CN=Old");
  set(crl, "revcerts", array("revcert_t", {make("revcert_t")}));
  set(crl, "crlEncoded", old_encoded);
  set(crl, "crlHash", old_hash);

  ASSERT_EQ(call("ParseCrl", s, block({0x30, 0x82, 0x01}), jint(0x55), crl), 0);
  EXPECT_EQ(flag, 0x55);
  EXPECT_EQ(input, "3:308201");
  EXPECT_EQ(get_int(crl, "fields"), 0x1F);
  EXPECT_EQ(get_string(crl, "issuer"), standin::CertificateText::issuer(1));
  EXPECT_EQ(get_long(crl, "lastUpdateEx"), 0x66000000LL);
  EXPECT_EQ(get_long(crl, "nextUpdateEx"), 4294967295LL) << "widened without sign";
  EXPECT_EQ(get_int(crl, "number"), 42);
  EXPECT_EQ(get_int(crl, "revcert_num"), 3);
  EXPECT_EQ(java_all(get(crl, "revcerts"), show_revcert),
            (std::vector<std::string>{"R0|4026531840|0", "R1|4026531841|1", "R2|4026531842|2"}));
  jobject encoded = get(crl, "crlEncoded"), hash = get(crl, "crlHash");
  EXPECT_FALSE(same(encoded, old_encoded));
  EXPECT_FALSE(same(hash, old_hash));
  Bytes der = builder_bytes(24, 9);
  EXPECT_EQ(show_block(encoded), show_block(der));
  EXPECT_EQ(show_block(hash), show_block(standin::digest(der.data(), der.size())));
  EXPECT_EQ(show_block(old_encoded), "1:01") << "the caller's old objects are never written";
}

TEST_F(Inspection, ParseCrlFollowsTheNativePointerNotTheCount) {
  jobject s = open();
  std::function<void(context_t, crl_t*)> fill;
  int32_t status = 0;
  standin::on<QUMEN_ParseCrl>([&](context_t c, mem_blk_t*, int32_t, crl_t* crl) {
    fill(c, crl);
    return status;
  });
  jobject crl = make("crl_t");

  fill = [](context_t c, crl_t* crl) {  // no entries, but an array block to give back
    crl->revcerts = static_cast<revcert_t*>(standin::alloc(c, sizeof(revcert_t)));
  };
  ASSERT_EQ(call("ParseCrl", s, nullptr, jint(0), crl), 0);
  jobject revcerts = get(crl, "revcerts");
  ASSERT_NE(revcerts, nullptr);
  EXPECT_EQ(env_->GetArrayLength(static_cast<jarray>(revcerts)), 0);
  EXPECT_EQ(show_block(get(crl, "crlEncoded")), "0:-") << "a new block object even when empty";
  EXPECT_EQ(show_block(get(crl, "crlHash")), "0:-");

  fill = [](context_t, crl_t* crl) { crl->revcert_num = 5; };
  ASSERT_EQ(call("ParseCrl", s, nullptr, jint(0), crl), 0);
  EXPECT_EQ(get(crl, "revcerts"), nullptr);
  EXPECT_EQ(get_int(crl, "revcert_num"), 5);

  // A negative count: the VM refuses the array, its own exception is the first and stands; the
  // conversion stops and the CRL is still given back.
  fill = [](context_t c, crl_t* crl) {
    standin::fill_crl(c, crl, 0);
    crl->revcert_num = -1;
    crl->revcerts = static_cast<revcert_t*>(standin::alloc(c, sizeof(revcert_t)));
  };
  EXPECT_EQ(raw("ParseCrl", s, nullptr, jint(0), crl), kPending);
  auto t = thrown();
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->cls, "java.lang.NegativeArraySizeException");

  fill = [](context_t c, crl_t* crl) { standin::fill_crl(c, crl, 2); };
  status = 0x0BAD;
  EXPECT_EQ(call("ParseCrl", s, nullptr, jint(0), nullptr), 0x0BAD) << "a null crl_t only releases";

  // A failed parse that wrote nothing still rewrites the caller's object.
  fill = [](context_t, crl_t*) {};
  set(crl, "issuer", "CN=Old");
  EXPECT_EQ(call("ParseCrl", s, nullptr, jint(0), crl), 0x0BAD);
  EXPECT_EQ(get_string(crl, "issuer"), std::nullopt);
  EXPECT_EQ(get_int(crl, "revcert_num"), 0);
  EXPECT_EQ(get_long(crl, "nextUpdateEx"), 0);
  EXPECT_EQ(get(crl, "revcerts"), nullptr);
  EXPECT_EQ(show_block(get(crl, "crlEncoded")), "0:-");
}

TEST_F(Inspection, ParseAltnameExGivesOthernamesInNativeOrder) {
  jobject s = open();
  int count = 3;
  standin::on<QUMEN_ParseAltnameEx>([&](context_t c, mem_blk_t*, altname_ex_t* ext) {
    standin::fill_altname_ex(c, ext, count);
    return 0;
  });
  jobject ext = make("altname_ex_t");
  set(ext, "othernames", array("othername_t", {make("othername_t")}));
  ASSERT_EQ(call("ParseAltnameEx", s, block({4}), ext), 0);
  EXPECT_EQ(get_int(ext, "othername_num"), 3);
  EXPECT_EQ(java_all(get(ext, "othernames"), show_othername),
            (std::vector<std::string>{"1.3.6.1.4.1.311.20.2.0=other-0", "1.3.6.1.4.1.311.20.2.1=other-1",
                                      "1.3.6.1.4.1.311.20.2.2=other-2"}));

  EXPECT_EQ(call("ParseAltnameEx", s, block({4}), nullptr), 0) << "a null object: released all the same";

  count = 0;
  ASSERT_EQ(call("ParseAltnameEx", s, block({4}), ext), 0);
  EXPECT_EQ(get_int(ext, "othername_num"), 0);
  EXPECT_EQ(get(ext, "othernames"), nullptr);
}

TEST_F(Inspection, ParseBasicConstraintsExStoresCaThenPathlen) {
  jobject s = open();
  standin::on<QUMEN_ParseBasicConstraintsEx>([](context_t, mem_blk_t*, basic_constraints_ex_t* bc) {
    *bc = basic_constraints_ex_t{1, -1};
    return 0x33;
  });
  jobject bc = make("basic_constraints_ex_t");
  EXPECT_EQ(call("ParseBasicConstraintsEx", s, block({1}), bc), 0x33);
  EXPECT_EQ(get_int(bc, "ca"), 1);
  EXPECT_EQ(get_int(bc, "pathlen"), -1);

  EXPECT_EQ(call("ParseBasicConstraintsEx", s, block({1}), nullptr), 0x33);
  EXPECT_NOTHING_THROWN();

  jobject partial = make("tvtest/Partial$ConstraintsNoPathlen");
  EXPECT_EQ(raw("ParseBasicConstraintsEx", s, block({1}), partial), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "basic_constraints_ex_t2jobject:pathlen");
  EXPECT_EQ(get_int(partial, "ca"), 1) << "ca is stored before pathlen is looked up";
}

TEST_F(Inspection, ParseKeyIdentifierExRewritesTheBlockWhateverTheStatus) {
  jobject s = open();
  bool give = true;
  int32_t status = 0;
  standin::on<QUMEN_ParseKeyIdentifierEx>([&](context_t c, mem_blk_t*, mem_blk_t* out) {
    if (give) *out = mem_blk_t{4, standin::bytes(c, {0xAB, 0xCD, 0xEF, 0x01})};
    return status;
  });
  jobject key = block({1, 2, 3});
  EXPECT_EQ(call("ParseKeyIdentifierEx", s, block({4, 20}), key), 0);
  EXPECT_EQ(show_block(key), "4:abcdef01");

  give = false;
  status = standin::kMismatch;
  EXPECT_EQ(call("ParseKeyIdentifierEx", s, block({4, 20}), key), standin::kMismatch);
  EXPECT_EQ(show_block(key), "0:-");
}

TEST_F(Inspection, AFailedParseCertStillRewritesTheCertificate) {
  jobject s = open();
  std::string input = "not called";
  int32_t flag = 0;
  standin::on<QUMEN_ParseCert>([&](context_t, mem_blk_t* in, int32_t f, certificate_t*) {
    input = seen(in);
    flag = f;
    return 0x4321;
  });
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
  EXPECT_EQ(input, "0:-") << "a null block reaches the library as len 0, buf null";
  EXPECT_EQ(flag, -1);
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

  standin::on<QUMEN_ParseCert>([](context_t c, mem_blk_t*, int32_t, certificate_t* cert) {
    standin::fill_certificate(c, cert, 3);
    return 0;
  });
  EXPECT_EQ(call("ParseCert", s, block({1}), jint(0), nullptr), 0) << "a null object only releases";
}

TEST_F(Inspection, VerifyCertConvertsItsCertificateWhateverTheStatus) {
  jobject s = open();
  std::string got;
  standin::on<QUMEN_VerifyCert>([&](context_t c, verify_param_t* p, mem_blk_t* in, certificate_t* cert) {
    got = std::to_string(p->flag) + "," + std::to_string(p->minsigns) + "," + seen(in);
    standin::fill_certificate(c, cert, 5);
    return standin::kMismatch;
  });
  jobject param = make("verify_param_t");
  set(param, "flag", jint(3));
  set(param, "minsigns", jint(2));
  jobject cert = make("certificate_t");
  EXPECT_EQ(call("VerifyCert", s, param, block({5, 6}), cert), standin::kMismatch);
  EXPECT_EQ(got, "3,2,2:0506");
  EXPECT_EQ(get_string(cert, "issuer"), standin::CertificateText::issuer(5));
}

TEST_F(Inspection, PolicyChecksReceiveTheirParametersAndReturnTheNativeStatus) {
  jobject s = open();
  verify_policy_param_t got;
  std::vector<std::string> ekus;
  std::string input;
  auto capture = [&](context_t, verify_policy_param_t* p, mem_blk_t* in) {
    std::memcpy(static_cast<void*>(&got), p, sizeof got);
    ekus = show_all(p->extkeyusages, p->eku_num);
    input = seen(in);
    return 0x61;
  };
  standin::on<QUMEN_VerifyCertificatePolicy>(capture);
  standin::on<QUMEN_VerifyCrlPolicy>(capture);

  std::memset(static_cast<void*>(&got), 0xFF, sizeof got);
  EXPECT_EQ(call("VerifyCertificatePolicy", s, nullptr, block({1, 2})), 0x61);
  EXPECT_TRUE(zeroed(got)) << "a null parameter object: 56 zero bytes, size included";
  EXPECT_EQ(input, "2:0102");

  jobject param = make("verify_policy_param_t");
  set(param, "flag", jint(9));
  set(param, "check_timeEx", L{0x123456789LL});
  set(param, "keyusage", jint(0x80));
  set(param, "eku_num", jint(1));
  set(param, "extkeyusages", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.9"), eku("1.3")}));
  for (const char* op : {"VerifyCertificatePolicy", "VerifyCrlPolicy"}) {
    SCOPED_TRACE(op);
    EXPECT_EQ(call(op, s, param, block({7})), 0x61);
    EXPECT_EQ(got.size, 56u);
    EXPECT_EQ(got.flag, 9);
    EXPECT_EQ(got.reserved, nullptr);
    EXPECT_EQ(got.check_timeEx, 0x23456789u) << "the low 32 bits of the long";
    EXPECT_EQ(got.keyusage, 0x80);
    EXPECT_EQ(ekus, (std::vector<std::string>{"1.3.6.1.5.5.7.3.9"}));
    EXPECT_EQ(got.policy_num, 0);
    EXPECT_EQ(got.policies, nullptr);
  }
}

TEST_F(Inspection, ShowFunctionsPassTheirValueWholeAndReturnTheNativeStatus) {
  jobject s = open();
  std::string input;
  standin::on<QUMEN_ShowCertificateEx>([&](context_t, int64_t, mem_blk_t* in) {
    input = seen(in);
    return 0x0E;
  });
  EXPECT_EQ(call("ShowCertificateEx", s, L{(1LL << 32) + 1}, block({0xC3})), 0x0E);
  EXPECT_EQ(input, "1:c3");
  EXPECT_EQ(standin::calls().back().words.at(0), 0x100000001ull) << "not truncated to 32 bits";
  for (const char* op : {"ShowCrlEx", "ShowRequestEx", "ShowRevocationEx"}) {
    EXPECT_EQ(call(op, s, L{-2}, block({1})), 0) << op;
    EXPECT_EQ(standin::calls().back().function, std::string("QUMEN_") + op);
    EXPECT_EQ(standin::calls().back().words.at(0), uint64_t(-2)) << op;
  }

  auto show = [&](context_t, mem_blk_t* in) {
    input = seen(in);
    return 0x5A;
  };
  standin::on<QUMEN_ShowCertificate>(show);
  standin::on<QUMEN_ShowCrl>(show);
  EXPECT_EQ(call("ShowCertificate", s, block({1, 2, 3}, 2)), 0x5A);
  EXPECT_EQ(input, "2:0102");
  EXPECT_EQ(call("ShowCrl", s, nullptr), 0x5A);
  EXPECT_EQ(input, "0:-");
  EXPECT_EQ(raw("ShowCrl", s, block({1}, 2)), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(standin::count("QUMEN_ShowCrl"), 1u);
}

// What the library received as the request's certificate, field by field.
std::vector<std::string> describe(const certificate_t& c) {
  std::vector<std::string> out = {
      text_of(c.issuer) + "|" + text_of(c.serialNumber) + "|" + text_of(c.subject) + "|" +
          text_of(c.algorithm) + "|" + text_of(c.keyId),
      std::to_string(c.fields) + "|" + std::to_string(c.keyUsage) + "|" + std::to_string(c.policy_num) +
          "|" + std::to_string(c.extkeyusage_num) + "|" + std::to_string(c.extension_num),
      std::to_string(c.notBeforeEx) + "|" + std::to_string(c.notAfterEx) + "|" +
          std::to_string(c.notBeforePrivateEx) + "|" + std::to_string(c.notAfterPrivateEx),
      text_of(c.issuerAltName.emailAddress) + "|" + text_of(c.subjectAltName.DNS),
  };
  for (const auto& p : show_all(c.policies, c.policy_num)) out.push_back(p);
  for (const auto& e : show_all(c.extKeyUsage, c.extkeyusage_num)) out.push_back(e);
  for (const auto& e : show_all(c.extensions, c.extension_num)) out.push_back(e);
  for (const mem_blk_t* b : {&c.certEncoded, &c.certHash}) out.push_back(seen(b));
  return out;
}

TEST_F(Inspection, CreateXmlRequestPassesTheWholeCertificate) {
  jobject s = open();
  std::vector<std::string> got;
  int32_t flag = 0;
  standin::on<QUMEN_CreateXmlRequest>([&](context_t c, int32_t f, certificate_t* cert, mem_blk_t* out) {
    flag = f;
    got = describe(*cert);  // the texts live only as long as the call
    *out = mem_blk_t{3, standin::bytes(c, {'<', 'r', '>'})};
    return 0;
  });
  jobject cert = make("certificate_t");
  for (auto [field, value] : {std::pair{"issuer", "CN=CA"}, {"serialNumber", "01:02"}, {"subject", "CN=Me"},
                              {"algorithm", "1.2.840.10045.4.3.2"}, {"keyId", "0A:0B"}})
    set(cert, field, value);
  for (auto [field, value] : {std::pair{"fields", 0x3FF}, {"keyUsage", 0x86}, {"policy_num", 1},
                              {"extkeyusage_num", 2}, {"extension_num", 1}})
    set(cert, field, jint(value));
  for (auto [field, value] : {std::pair{"notBeforeEx", 0x100000005LL}, {"notAfterEx", 4294967295LL},
                              {"notBeforePrivateEx", 7LL}, {"notAfterPrivateEx", -1LL}})
    set(cert, field, L{value});
  jobject issuer_names = make("altname_t"), subject_names = make("altname_t");
  set(issuer_names, "emailAddress", "ca@example.org");
  set(subject_names, "DNS", "me.example.org");
  set(cert, "issuerAltName", issuer_names);
  set(cert, "subjectAltName", subject_names);
  set(cert, "policies", array("policy_t", {policy("2.5.29.32.0", "Org", 4, "notice")}));
  set(cert, "extKeyUsage", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.2"), eku("1.3.6.1.5.5.7.3.4")}));
  set(cert, "extensions", array("extension_t", {extension("2.5.29.19", 1, 1, {0x30, 0x00, 0xFF}, 2)}));
  set(cert, "certEncoded", block({0x30, 0x01, 0x00}));
  set(cert, "certHash", block({0xEE}));
  jobject request = make("mem_blk_t");

  ASSERT_EQ(call("CreateXmlRequest", s, jint(0x40), cert, request), 0);
  EXPECT_EQ(flag, 0x40);
  EXPECT_EQ(got, (std::vector<std::string>{
                     "CN=CA|01:02|CN=Me|1.2.840.10045.4.3.2|0A:0B", "1023|134|1|2|1",
                     "5|4294967295|7|4294967295", "ca@example.org|me.example.org",
                     "2.5.29.32.0|Org|4|notice", "1.3.6.1.5.5.7.3.2", "1.3.6.1.5.5.7.3.4",
                     "2.5.29.19|1|1|2|3000", "3:300100", "1:ee"}));
  EXPECT_EQ(show_block(request), "3:3c723e");

  // A keyId that has no one-byte-per-character form stops the call before the library.
  {
    Locale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok());
    set(cert, "keyId", jobject(str16(u"cl\u00e9")));
    EXPECT_EQ(raw("CreateXmlRequest", s, jint(0x40), cert, request), kPending);
  }
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  EXPECT_EQ(standin::count("QUMEN_CreateXmlRequest"), 1u);
  EXPECT_EQ(show_block(request), "3:3c723e") << "no conversion out without the call";
}

}  // namespace
