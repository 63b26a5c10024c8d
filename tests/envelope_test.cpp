// PKCS#7 envelopes: the identifiers, signatures, recipients and message structure the library
// reads into Java, the encryption parameters it receives, and the order in which the envelope
// operations convert their results and stop at the first that fails.
#include <cstring>
#include <functional>

#include "views.h"

using namespace tj;

namespace {

std::string show_ias(jobject ias) {
  if (ias == nullptr) return "null";
  return text_of(get_string(ias, "issuer")) + "/" + text_of(get_string(ias, "serialNumber"));
}
// "type|ias|keyId|certHash|alias", '-' for a null field.
std::string show_certid(jobject id) {
  if (id == nullptr) return "null";
  jobject ias = get(id, "ias"), hash = get(id, "certHash");
  return std::to_string(get_int(id, "type")) + "|" + (ias ? show_ias(ias) : "-") + "|" +
         text_of(get_string(id, "keyId")) + "|" + (hash ? show_block(hash) : "-") + "|" +
         text_of(get_string(id, "alias"));
}
std::string show_texts(jobject array) {
  if (array == nullptr) return "null";
  std::string out = "[";
  for (jobject s : elements(array)) out += (out.size() > 1 ? "," : "") + text_of(utf8(static_cast<jstring>(s)));
  return out + "]";
}
std::string show_signer(jobject s) {
  return text_of(get_string(s, "digest")) + "|" + text_of(get_string(s, "encryption")) + "|" +
         show_ias(get(s, "signer")) + "|" + std::to_string(get_int(s, "authAttr_num")) +
         show_texts(get(s, "authAttrs")) + "|" + std::to_string(get_int(s, "unauthAttr_num")) +
         show_texts(get(s, "unauthAttrs"));
}
std::string show_recipient(jobject r) {
  return text_of(get_string(r, "publicKey")) + "|" + show_ias(get(r, "recipient"));
}

// Gives back what a certid holds and leaves it as `type` with nothing in it.
void empty_certid(context_t c, certid_t* id, int32_t type) {
  QUMEN_FreeCertId(c, id);
  std::memset(static_cast<void*>(id), 0, sizeof *id);
  id->type = type;
}

class EnvelopeRecords : public BridgeTest {};

TEST_F(EnvelopeRecords, SignedInfoGivesEachSignatureItsIdentifier) {
  jobject s = open();
  std::string input;
  standin::on<QUMEN_SignedInfoMem>([&](context_t c, mem_blk_t* in, signed_info_result_t* r) {
    input = seen(in);
    standin::fill_signed_info(c, r, 6);                  // types 0, 1, 2, 3, 0, 1
    empty_certid(c, r->infos[4].certid, CERTID_CERT_HASH);  // an empty hash
    empty_certid(c, r->infos[5].certid, 7);                 // a kind the bridge does not know:
    static char junk[] = "junk";                            // its slot is never read
    r->infos[5].certid->alias = junk;
    r->infos[5].timeEx = 0xFFFFFFFFu;
    return 0;
  });
  jobject result = make("signed_info_result_t");
  set(result, "infos", array("sign_info_t", {make("sign_info_t")}));
  ASSERT_EQ(call("SignedInfoMem", s, block({0x30, 0x80}), result), 0);
  EXPECT_EQ(input, "2:3080");
  EXPECT_EQ(get_int(result, "type"), 1);
  EXPECT_EQ(get_int(result, "sign_num"), 6);
  std::vector<std::string> got;
  for (jobject info : elements(get(result, "infos")))
    got.push_back(std::to_string(get_long(info, "timeEx")) + " " + show_certid(get(info, "certid")));
  EXPECT_EQ(got, (std::vector<std::string>{"4294967040 0|CN=Issuer 1/S1|-|-|-",
                                           "4294967041 1|-|keyid-2|-|-",
                                           "4294967042 2|-|-|" + show_block(builder_bytes(20, 3)) + "|-",
                                           "4294967043 3|-|-|-|alias-4",
                                           "4294967044 2|-|-|0:-|-",
                                           "4294967295 7|-|-|-|-"}));
}

TEST_F(EnvelopeRecords, SignedInfoFollowsTheNativePointerNotTheCount) {
  jobject s = open();
  std::function<void(context_t, signed_info_result_t*)> fill;
  int32_t status = 0;
  std::string name;
  standin::on<QUMEN_SignedInfoFile>([&](context_t c, string_t in, signed_info_result_t* r) {
    name = name_of(in);
    fill(c, r);
    return status;
  });
  jobject result = make("signed_info_result_t");

  fill = [](context_t, signed_info_result_t* r) { r->sign_num = 3; };
  ASSERT_EQ(call("SignedInfoFile", s, str("signed.p7"), result), 0);
  EXPECT_EQ(name, "signed.p7");
  EXPECT_EQ(get_int(result, "sign_num"), 3);
  EXPECT_EQ(get(result, "infos"), nullptr);

  fill = [](context_t c, signed_info_result_t* r) {
    r->infos = static_cast<sign_info_t*>(standin::alloc(c, sizeof(sign_info_t)));
  };
  ASSERT_EQ(call("SignedInfoFile", s, str(""), result), 0);
  EXPECT_EQ(name, "null") << "an empty name reaches the library as null";
  ASSERT_NE(get(result, "infos"), nullptr);
  EXPECT_EQ(length(get(result, "infos")), 0);

  fill = [](context_t c, signed_info_result_t* r) { standin::fill_signed_info(c, r, 2); };
  EXPECT_EQ(call("SignedInfoFile", s, nullptr, nullptr), 0) << "a null result only releases";

  fill = [](context_t, signed_info_result_t*) {};
  status = 0x0BAD;
  set(result, "type", jint(5));
  EXPECT_EQ(call("SignedInfoFile", s, nullptr, result), 0x0BAD);
  EXPECT_EQ(get_int(result, "type"), 0);
  EXPECT_EQ(get_int(result, "sign_num"), 0);
  EXPECT_EQ(get(result, "infos"), nullptr);
}

TEST_F(EnvelopeRecords, EncryptedInfoGivesRecipientsAndAlwaysASender) {
  jobject s = open();
  int count = 4;
  bool fill = true;
  int32_t status = 0;
  standin::on<QUMEN_EncryptedInfoMem>([&](context_t c, mem_blk_t*, encrypted_info_result_t* r) {
    if (fill) standin::fill_encrypted_info(c, r, count);
    return status;
  });
  jobject result = make("encrypted_info_result_t");
  ASSERT_EQ(call("EncryptedInfoMem", s, block({1}), result), 0);
  EXPECT_EQ(get_int(result, "type"), 7);
  EXPECT_EQ(get_int(result, "recipients_num"), 4);
  EXPECT_EQ(java_all(get(result, "recipients"), show_certid),
            (std::vector<std::string>{"0|CN=Issuer 1/S1|-|-|-", "1|-|keyid-2|-|-",
                                      "2|-|-|" + show_block(builder_bytes(20, 3)) + "|-", "3|-|-|-|alias-4"}));
  EXPECT_EQ(show_certid(get(result, "sender")), "0|CN=Issuer 99/S99|-|-|-");

  count = 0;
  ASSERT_EQ(call("EncryptedInfoMem", s, block({1}), result), 0);
  EXPECT_EQ(get_int(result, "recipients_num"), 0);
  EXPECT_EQ(get(result, "recipients"), nullptr);
  EXPECT_EQ(show_certid(get(result, "sender")), "0|CN=Issuer 99/S99|-|-|-");

  fill = false;
  status = 0x0BAD;
  EXPECT_EQ(call("EncryptedInfoMem", s, block({1}), result), 0x0BAD);
  EXPECT_EQ(get_int(result, "type"), 0);
  EXPECT_EQ(get(result, "recipients"), nullptr);
  EXPECT_EQ(show_certid(get(result, "sender")), "0|-/-|-|-|-") << "a sender from the zero record";
}

class Pkcs7Info : public BridgeTest {};

TEST_F(Pkcs7Info, SignersAndRecipientsInNativeOrder) {
  jobject s = open();
  std::string input;
  standin::on<QUMEN_GetPkcs7InfoMem>([&](context_t c, mem_blk_t* in, pkcs7_info_t* info) {
    input = seen(in);
    standin::fill_pkcs7_info(c, info, 3, 2);
    // The last signer has a count of attributes but no list, and no issuer nor serial number.
    pkcs7_signer_t& last = info->signers[2];
    for (int i = 0; i < last.authAttr_num; ++i) standin::release(c, last.authAttrs[i], "test");
    standin::release(c, last.authAttrs, "test");
    last.authAttrs = nullptr;
    last.authAttr_num = 4;
    standin::release(c, last.signer.issuer, "test");
    standin::release(c, last.signer.serialNumber, "test");
    last.signer = issuer_and_serial_t{};
    pkcs7_recipient_t& r = info->recipients[1];
    standin::release(c, r.recipient.issuer, "test");
    standin::release(c, r.recipient.serialNumber, "test");
    r.recipient = issuer_and_serial_t{};
    return 0;
  });
  jobject info = make("pkcs7_info_t");
  set(info, "signers", array("pkcs7_signer_t", {make("pkcs7_signer_t")}));
  ASSERT_EQ(call("GetPkcs7InfoMem", s, block({0x30}), info), 0);
  EXPECT_EQ(input, "1:30");
  EXPECT_EQ(get_int(info, "type"), 2);
  EXPECT_EQ(get_int(info, "signer_num"), 3);
  EXPECT_EQ(java_all(get(info, "signers"), show_signer),
            (std::vector<std::string>{
                "sha256-0|rsa-0|CN=Signer CA 0/SS0|2[signingTime=0,-]|1[counterSignature=0]",
                "sha256-1|rsa-1|CN=Signer CA 1/SS1|2[signingTime=1,-]|1[counterSignature=1]",
                "sha256-2|rsa-2|-/-|4null|1[counterSignature=2]"}));
  EXPECT_EQ(get_string(info, "dataCipher"), "aes256-cbc");
  EXPECT_EQ(get_int(info, "recipient_num"), 2);
  EXPECT_EQ(java_all(get(info, "recipients"), show_recipient),
            (std::vector<std::string>{"rsaEncryption-0|CN=Recipient CA 0/RS0", "rsaEncryption-1|-/-"}));
}

TEST_F(Pkcs7Info, ArraysFollowTheNativePointersAndANullResultOnlyReleases) {
  jobject s = open();
  std::function<void(context_t, pkcs7_info_t*)> fill;
  int32_t status = 0;
  std::string name;
  standin::on<QUMEN_GetPkcs7InfoFile>([&](context_t c, string_t in, pkcs7_info_t* info) {
    name = name_of(in);
    fill(c, info);
    return status;
  });
  jobject info = make("pkcs7_info_t");

  fill = [](context_t c, pkcs7_info_t* p) {
    standin::fill_pkcs7_info(c, p, 0, 0);
    p->signer_num = 2;  // no list
    p->recipients = static_cast<pkcs7_recipient_t*>(standin::alloc(c, sizeof(pkcs7_recipient_t)));
  };
  ASSERT_EQ(call("GetPkcs7InfoFile", s, str("message.p7m"), info), 0);
  EXPECT_EQ(name, "message.p7m");
  EXPECT_EQ(get_int(info, "signer_num"), 2);
  EXPECT_EQ(get(info, "signers"), nullptr);
  ASSERT_NE(get(info, "recipients"), nullptr);
  EXPECT_EQ(length(get(info, "recipients")), 0);

  fill = [](context_t c, pkcs7_info_t* p) { standin::fill_pkcs7_info(c, p); };
  EXPECT_EQ(call("GetPkcs7InfoFile", s, nullptr, nullptr), 0);

  fill = [](context_t, pkcs7_info_t*) {};
  status = 0x0BAD;
  set(info, "dataCipher", "old");
  EXPECT_EQ(call("GetPkcs7InfoFile", s, str(""), info), 0x0BAD);
  EXPECT_EQ(name, "null");
  EXPECT_EQ(get_int(info, "signer_num"), 0);
  EXPECT_EQ(get_int(info, "recipient_num"), 0);
  EXPECT_EQ(get(info, "signers"), nullptr);
  EXPECT_EQ(get(info, "recipients"), nullptr);
  EXPECT_EQ(get_string(info, "dataCipher"), std::nullopt);
}

class EnvelopeOps : public BridgeTest {};

jobject receiver(const char* subject) {
  jobject c = make("certificate_t");
  set(c, "subject", subject);
  return c;
}
// A certificate whose encoding claims more bytes than it has: converting it raises.
jobject unconvertible_receiver() {
  jobject c = make("certificate_t");
  set(c, "certEncoded", block({1}, 5));
  return c;
}

TEST_F(EnvelopeOps, ReceiverNumAloneSaysHowManyCertificatesAreRead) {
  jobject s = open();
  encrypt_param_t got;
  std::vector<std::string> subjects;
  standin::on<QUMEN_EncryptMem>([&](context_t, encrypt_param_t* p, mem_blk_t*, mem_blk_t*) {
    std::memcpy(static_cast<void*>(&got), p, sizeof got);
    subjects = {"null"};
    if (p->receivers != nullptr) {
      subjects.clear();
      for (int i = 0; i < p->receiver_num; ++i) subjects.push_back(text_of(p->receivers[i].subject));
    }
    return 0;
  });
  jobject param = make("encrypt_param_t");
  jobject out = make("mem_blk_t");
  set(param, "flag", jint(0x11));

  set(param, "receiver_num", jint(1));
  set(param, "receivers", array("certificate_t", {receiver("CN=First"), unconvertible_receiver(),
                                                   unconvertible_receiver()}));
  ASSERT_EQ(call("EncryptMem", s, param, block({1}), out), 0);
  EXPECT_EQ(got.flag, 0x11);
  EXPECT_EQ(got.reserved, nullptr);
  EXPECT_EQ(got.receiver_num, 1);
  EXPECT_EQ(subjects, (std::vector<std::string>{"CN=First"}));

  set(param, "receiver_num", jint(2));
  set(param, "receivers", jobject(nullptr));
  ASSERT_EQ(call("EncryptMem", s, param, block({1}), out), 0);
  EXPECT_EQ(got.receiver_num, 2);
  EXPECT_EQ(subjects, (std::vector<std::string>{"null"}));

  set(param, "receiver_num", jint(0));
  set(param, "receivers", array("certificate_t", {unconvertible_receiver()}));
  ASSERT_EQ(call("EncryptMem", s, param, block({1}), out), 0) << "no element is read";
  EXPECT_EQ(got.receiver_num, 0);
  EXPECT_EQ(subjects, (std::vector<std::string>{"null"}));

  std::memset(static_cast<void*>(&got), 0xFF, sizeof got);
  ASSERT_EQ(call("EncryptMem", s, nullptr, block({1}), out), 0);
  EXPECT_TRUE(zeroed(got)) << "a null parameter object: 32 zero bytes";

  // More receivers than the array holds: the VM's own index exception, no call.
  set(param, "receiver_num", jint(3));
  set(param, "receivers", array("certificate_t", {receiver("CN=A"), receiver("CN=B")}));
  jobject kept = block({7});
  EXPECT_EQ(raw("EncryptMem", s, param, block({1}), kept), kPending);
  auto t = thrown();
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->cls, "java.lang.ArrayIndexOutOfBoundsException");
  EXPECT_EQ(standin::count("QUMEN_EncryptMem"), 4u);
  EXPECT_EQ(show_block(kept), "1:07");
}

TEST_F(EnvelopeOps, WhatEncryptMemSealsDecryptMemOpens) {
  jobject s = open();
  Bytes data = {'s', 'e', 'c', 'r', 'e', 't'};
  jobject param = make("encrypt_param_t");
  set(param, "receiver_num", jint(1));
  set(param, "receivers", array("certificate_t", {receiver("CN=Reader")}));
  jobject sealed = make("mem_blk_t");
  ASSERT_EQ(call("EncryptMem", s, param, block(data), sealed), 0);
  auto bytes = get_bytes(sealed, "buf");
  ASSERT_TRUE(bytes.has_value());
  ASSERT_EQ(bytes->size(), 10u);
  EXPECT_EQ(Bytes(bytes->begin(), bytes->begin() + 4), (Bytes{'T', 'V', 'E', 'N'}));

  jobject opened = make("mem_blk_t");
  jobject result = make("decrypt_result_t");
  ASSERT_EQ(call("DecryptMem", s, make("decrypt_param_t"), sealed, opened, result), 0);
  EXPECT_EQ(show_block(opened), show_block(data));
  EXPECT_EQ(get_string(get(result, "sender"), "subject"), standin::CertificateText::subject(2));

  // Null holders: nothing reaches Java, the library's results are released all the same.
  EXPECT_EQ(call("EncryptMem", s, nullptr, block(data), nullptr), 0);
  EXPECT_EQ(call("DecryptMem", s, nullptr, sealed, nullptr, nullptr), 0);
}

TEST_F(EnvelopeOps, AFailedDecryptMemStillRewritesItsHolders) {
  jobject s = open();
  jobject out = block({1, 2, 3});
  jobject result = make("decrypt_result_t");
  jobject old_sender = receiver("CN=Old");
  set(result, "sender", old_sender);
  EXPECT_EQ(call("DecryptMem", s, nullptr, block({'n', 'o'}), out, result), standin::kMismatch);
  EXPECT_EQ(show_block(out), "0:-");
  jobject sender = get(result, "sender");
  ASSERT_NE(sender, nullptr);
  EXPECT_FALSE(same(sender, old_sender));
  EXPECT_EQ(get_int(sender, "fields"), 0);
  EXPECT_EQ(get_string(sender, "subject"), std::nullopt);
  EXPECT_EQ(get_long(sender, "notAfterEx"), 0);
  EXPECT_NE(get(sender, "subjectAltName"), nullptr);
  EXPECT_EQ(get(sender, "policies"), nullptr);
  EXPECT_EQ(show_block(get(sender, "certEncoded")), "0:-");
  EXPECT_EQ(get_string(old_sender, "subject"), "CN=Old");
}

TEST_F(EnvelopeOps, DecryptAndVerifyMemStopsAtTheFirstResultThatFails) {
  jobject s = open();
  std::string args;
  standin::on<QUMEN_DecryptAndVerifyMem>([&](context_t c, decrypt_param_t* d, verify_param_t* v, mem_blk_t* in,
                                             mem_blk_t* out, decrypt_result_t* r, verify_result_t* vr) {
    args = std::to_string(d->flag) + "/" + std::to_string(d->info) + (d->reserved ? "/reserved" : "") + "," +
           std::to_string(v->flag) + "," + seen(in);
    *out = mem_blk_t{2, standin::bytes(c, {0xD0, 0x0D})};
    standin::fill_certificate(c, &r->sender, 4);
    standin::fill_verify_result(c, vr, 2);
    return 0x55;
  });
  jobject dparam = make("decrypt_param_t"), vparam = make("verify_param_t");
  set(dparam, "flag", jint(1));
  set(dparam, "info", jint(6));
  set(vparam, "flag", jint(2));
  jobject result = make("decrypt_result_t");
  jobject old_sender = receiver("CN=Old");
  set(result, "sender", old_sender);
  jobject vresult = make("verify_result_t");
  set(vresult, "sign_num", jint(9));

  // The output block cannot take its length: neither result is touched, both are released.
  EXPECT_EQ(raw("DecryptAndVerifyMem", s, dparam, vparam, block({3}), make("tvtest/Odd$BlockNoLen"),
                result, vresult),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");
  EXPECT_EQ(args, "1/6,2,1:03");
  EXPECT_TRUE(same(get(result, "sender"), old_sender));
  EXPECT_EQ(get_string(old_sender, "subject"), "CN=Old");
  EXPECT_EQ(get_int(vresult, "sign_num"), 9);

  // The decryption result cannot take its sender: the block is converted, the verification not.
  jobject out = make("mem_blk_t");
  EXPECT_EQ(raw("DecryptAndVerifyMem", s, dparam, vparam, block({3}), out,
                make("tvtest/Partial$DecryptResultNoSender"), vresult),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "decrypt_result_t2jobject:sender");
  EXPECT_EQ(show_block(out), "2:d00d");
  EXPECT_EQ(get_int(vresult, "sign_num"), 9);

  EXPECT_EQ(call("DecryptAndVerifyMem", s, dparam, vparam, block({3}), out, result, vresult), 0x55);
  EXPECT_EQ(get_string(get(result, "sender"), "subject"), standin::CertificateText::subject(4));
  EXPECT_EQ(get_int(vresult, "sign_num"), 2);
}

TEST_F(EnvelopeOps, CombinedOperationsTakeTheirParametersInTheOrderOfTheirNames) {
  jobject s = open();
  std::string args;
  standin::on<QUMEN_VerifyAndSignMem>([&](context_t c, verify_param_t* v, sign_param_t* sp, mem_blk_t* in,
                                          mem_blk_t* in2, mem_blk_t* out, verify_result_t* vr) {
    args = std::to_string(v->flag) + "," + std::to_string(sp->flag) + "," + seen(in) + "," + seen(in2);
    *out = mem_blk_t{1, standin::bytes(c, {0x5C})};
    standin::fill_verify_result(c, vr, 1);
    return 0;
  });
  standin::on<QUMEN_SignAndEncryptMem>([&](context_t c, sign_param_t* sp, encrypt_param_t* p, mem_blk_t* in,
                                           mem_blk_t* out) {
    args = std::to_string(sp->flag) + "," + std::to_string(p->flag) + "," + seen(in);
    *out = mem_blk_t{1, standin::bytes(c, {0xE5})};
    return 0;
  });
  jobject vparam = make("verify_param_t"), sparam = make("sign_param_t"), eparam = make("encrypt_param_t");
  set(vparam, "flag", jint(3));
  set(sparam, "flag", jint(4));
  set(eparam, "flag", jint(5));
  jobject vresult = make("verify_result_t");
  set(vresult, "sign_num", jint(9));

  EXPECT_EQ(raw("VerifyAndSignMem", s, vparam, sparam, block({0x0A}), block({0x0B}),
                make("tvtest/Odd$BlockNoLen"), vresult),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");
  EXPECT_EQ(args, "3,4,1:0a,1:0b");
  EXPECT_EQ(get_int(vresult, "sign_num"), 9) << "the verification result is left as it was";

  jobject out = make("mem_blk_t");
  EXPECT_EQ(call("VerifyAndSignMem", s, vparam, sparam, block({0x0A}), block({0x0B}), out, vresult), 0);
  EXPECT_EQ(show_block(out), "1:5c");
  EXPECT_EQ(get_int(vresult, "sign_num"), 1);

  EXPECT_EQ(call("SignAndEncryptMem", s, sparam, eparam, block({0x0C}), out), 0);
  EXPECT_EQ(args, "4,5,1:0c");
  EXPECT_EQ(show_block(out), "1:e5");
}

TEST_F(EnvelopeOps, DetachSignMemFillsOutThenOut2) {
  jobject s = open();
  standin::on<QUMEN_DetachSignMem>([](context_t c, mem_blk_t*, mem_blk_t* out, mem_blk_t* out2) {
    *out = mem_blk_t{1, standin::bytes(c, {0xAA})};
    *out2 = mem_blk_t{2, standin::bytes(c, {0xBB, 0xCC})};
    return 0;
  });
  std::string args;
  standin::on<QUMEN_AttachSignMem>([&](context_t c, mem_blk_t* in, mem_blk_t* in2, mem_blk_t* out) {
    args = seen(in) + "," + seen(in2);
    *out = mem_blk_t{1, standin::bytes(c, {0xDD})};
    return 0;
  });
  jobject out = make("mem_blk_t"), out2 = block({7});
  EXPECT_EQ(raw("DetachSignMem", s, block({1}), make("tvtest/Odd$BlockNoLen"), out2), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");
  EXPECT_EQ(show_block(out2), "1:07") << "the second block is left as it was";

  EXPECT_EQ(raw("DetachSignMem", s, block({1}), out, make("tvtest/Odd$BlockNoBuf")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(show_block(out), "1:aa");

  EXPECT_EQ(call("DetachSignMem", s, block({1}), out, out2), 0);
  EXPECT_EQ(show_block(out), "1:aa");
  EXPECT_EQ(show_block(out2), "2:bbcc");

  EXPECT_EQ(call("AttachSignMem", s, block({0xAA}), block({0xBB, 0xCC}), out), 0);
  EXPECT_EQ(args, "1:aa,2:bbcc");
  EXPECT_EQ(show_block(out), "1:dd");
}

TEST_F(EnvelopeOps, FileFormsPassTheirNamesAndReturnTheNativeStatus) {
  jobject s = open();
  using V = std::vector<std::string>;
  V names;
  auto two = [&](string_t a, string_t b, int32_t status) {
    names = {name_of(a), name_of(b)};
    return status;
  };
  auto three = [&](string_t a, string_t b, string_t c, int32_t status) {
    names = {name_of(a), name_of(b), name_of(c)};
    return status;
  };
  standin::on<QUMEN_EncryptFile>([&](context_t, encrypt_param_t*, string_t a, string_t b) { return two(a, b, 0x71); });
  standin::on<QUMEN_AttachSignFile>([&](context_t, string_t a, string_t b, string_t c) { return three(a, b, c, 0x72); });
  standin::on<QUMEN_DetachSignFile>([&](context_t, string_t a, string_t b, string_t c) { return three(a, b, c, 0x73); });
  standin::on<QUMEN_SignAndEncryptFile>(
      [&](context_t, sign_param_t*, encrypt_param_t*, string_t a, string_t b) { return two(a, b, 0x74); });
  standin::on<QUMEN_DecryptFile>(
      [&](context_t, decrypt_param_t*, string_t a, string_t b, decrypt_result_t*) { return two(a, b, 0x76); });
  standin::on<QUMEN_DecryptAndVerifyFile>([&](context_t c, decrypt_param_t*, verify_param_t*, string_t a,
                                              string_t b, decrypt_result_t* r, verify_result_t* vr) {
    standin::fill_certificate(c, &r->sender, 6);
    standin::fill_verify_result(c, vr, 1);
    return two(a, b, 0x77);
  });

  // Without results: the native status exactly.
  EXPECT_EQ(raw("EncryptFile", s, nullptr, str("plain.txt"), str("")), 0x71);
  EXPECT_EQ(names, (V{"plain.txt", "null"}));
  EXPECT_EQ(raw("AttachSignFile", s, str("sig.p7s"), nullptr, str("signed.p7m")), 0x72);
  EXPECT_EQ(names, (V{"sig.p7s", "null", "signed.p7m"}));
  EXPECT_EQ(raw("DetachSignFile", s, str("signed.p7m"), str("data"), str("sig.p7s")), 0x73);
  EXPECT_EQ(names, (V{"signed.p7m", "data", "sig.p7s"}));
  EXPECT_EQ(raw("SignAndEncryptFile", s, nullptr, nullptr, str("in"), str("out")), 0x74);
  EXPECT_EQ(names, (V{"in", "out"}));

  // With results: converted whatever the status.
  jobject vresult = make("verify_result_t"), result = make("decrypt_result_t");
  EXPECT_EQ(call("DecryptFile", s, nullptr, str("sealed"), str("opened"), result), 0x76);
  EXPECT_EQ(names, (V{"sealed", "opened"}));
  ASSERT_NE(get(result, "sender"), nullptr);
  EXPECT_EQ(get_string(get(result, "sender"), "subject"), std::nullopt);
  EXPECT_EQ(call("DecryptAndVerifyFile", s, nullptr, nullptr, str("x"), str(""), result, vresult), 0x77);
  EXPECT_EQ(names, (V{"x", "null"}));
  EXPECT_EQ(get_string(get(result, "sender"), "subject"), standin::CertificateText::subject(6));
  EXPECT_EQ(get_int(vresult, "sign_num"), 1);

  // A name with no one-byte-per-character form stops the call before the library.
  EXPECT_EQ(raw("AttachSignFile", s, str("a"), str16(u"x\U0001F600"), str("c")), kPending);
  EXPECT_THROWN("java.io.CharConversionException", "jstring2string_t");
  EXPECT_EQ(standin::count("QUMEN_AttachSignFile"), 1u);
}

}  // namespace
