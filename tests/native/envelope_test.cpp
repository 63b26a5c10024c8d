// PKCS#7 envelopes: the identifiers, signatures, recipients and message structure the library
// reads into Java, the receivers of an encryption, and the combined operations that stop at the
// first result Java cannot take. (Every envelope method is also a row of the methods table.)
#include <cstring>

#include "helpers.h"

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
  for (jobject s : elements(array))
    out += (out.size() > 1 ? "," : "") + text_of(utf8(static_cast<jstring>(s)));
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

class Envelopes : public BridgeTest {};

TEST_F(Envelopes, SignedInfoGivesEachSignatureItsIdentifier) {
  jobject s = open();
  standin::on<QUMEN_SignedInfoMem>([](context_t c, mem_blk_t*, signed_info_result_t* r) {
    standin::fill_signed_info(c, r, 6);                     // types 0, 1, 2, 3, 0, 1
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
  EXPECT_EQ(get_int(result, "type"), 1);
  EXPECT_EQ(get_int(result, "sign_num"), 6);
  Texts got;
  for (jobject info : elements(get(result, "infos")))
    got.push_back(std::to_string(get_long(info, "timeEx")) + " " +
                  show_certid(get(info, "certid")));
  EXPECT_EQ(
      got, (Texts{"4294967040 0|CN=Issuer 1/S1|-|-|-", "4294967041 1|-|keyid-2|-|-",
                  "4294967042 2|-|-|" + show_block(builder_bytes(20, 3)) + "|-",
                  "4294967043 3|-|-|-|alias-4", "4294967044 2|-|-|0:-|-", "4294967295 7|-|-|-|-"}));
}

// The sender is always a new object, even from the zero record of a failed call.
TEST_F(Envelopes, EncryptedInfoGivesRecipientsAndAlwaysASender) {
  jobject s = open();
  bool fill = true;
  standin::on<QUMEN_EncryptedInfoMem>([&](context_t c, mem_blk_t*, encrypted_info_result_t* r) {
    if (fill) standin::fill_encrypted_info(c, r, 4);
    return fill ? 0 : 0x0BAD;
  });
  jobject result = make("encrypted_info_result_t");
  ASSERT_EQ(call("EncryptedInfoMem", s, block({1}), result), 0);
  EXPECT_EQ(get_int(result, "recipients_num"), 4);
  EXPECT_EQ(java_all(get(result, "recipients"), show_certid),
            (Texts{"0|CN=Issuer 1/S1|-|-|-", "1|-|keyid-2|-|-",
                   "2|-|-|" + show_block(builder_bytes(20, 3)) + "|-", "3|-|-|-|alias-4"}));
  EXPECT_EQ(show_certid(get(result, "sender")), "0|CN=Issuer 99/S99|-|-|-");

  fill = false;
  EXPECT_EQ(call("EncryptedInfoMem", s, block({1}), result), 0x0BAD);
  EXPECT_EQ(get_int(result, "type"), 0);
  EXPECT_EQ(get(result, "recipients"), nullptr);
  EXPECT_EQ(show_certid(get(result, "sender")), "0|-/-|-|-|-");
}

TEST_F(Envelopes, Pkcs7InfoGivesSignersAndRecipientsInNativeOrder) {
  jobject s = open();
  standin::on<QUMEN_GetPkcs7InfoMem>([](context_t c, mem_blk_t*, pkcs7_info_t* info) {
    standin::fill_pkcs7_info(c, info, 2, 2);
    return 0;
  });
  jobject info = make("pkcs7_info_t");
  set(info, "signers", array("pkcs7_signer_t", {make("pkcs7_signer_t")}));
  ASSERT_EQ(call("GetPkcs7InfoMem", s, block({0x30}), info), 0);
  EXPECT_EQ(get_int(info, "type"), 2);
  EXPECT_EQ(get_int(info, "signer_num"), 2);
  EXPECT_EQ(java_all(get(info, "signers"), show_signer),
            (Texts{"sha256-0|rsa-0|CN=Signer CA 0/SS0|2[signingTime=0,-]|1[counterSignature=0]",
                   "sha256-1|rsa-1|CN=Signer CA 1/SS1|2[signingTime=1,-]|1[counterSignature=1]"}));
  EXPECT_EQ(get_string(info, "dataCipher"), "aes256-cbc");
  EXPECT_EQ(get_int(info, "recipient_num"), 2);
  EXPECT_EQ(
      java_all(get(info, "recipients"), show_recipient),
      (Texts{"rsaEncryption-0|CN=Recipient CA 0/RS0", "rsaEncryption-1|CN=Recipient CA 1/RS1"}));
}

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

// receiver_num alone says how many receivers are read: elements past it are never converted.
TEST_F(Envelopes, ReceiverNumAloneSaysHowManyCertificatesAreRead) {
  jobject s = open();
  Texts subjects;
  standin::on<QUMEN_EncryptMem>([&](context_t, encrypt_param_t* p, mem_blk_t*, mem_blk_t*) {
    subjects = {std::to_string(p->receiver_num)};
    for (int i = 0; p->receivers && i < p->receiver_num; ++i)
      subjects.push_back(text_of(p->receivers[i].subject));
    return 0;
  });
  jobject param = make("encrypt_param_t");
  set(param, "receiver_num", jint(1));
  set(param, "receivers", array("certificate_t", {receiver("CN=First"), unconvertible_receiver()}));
  ASSERT_EQ(call("EncryptMem", s, param, block({1}), nullptr), 0);
  EXPECT_EQ(subjects, (Texts{"1", "CN=First"}));

  set(param, "receiver_num", jint(0));
  ASSERT_EQ(call("EncryptMem", s, param, block({1}), nullptr), 0) << "no element is read";
  EXPECT_EQ(subjects, Texts{"0"});
}

// Results convert in parameter order: the first that fails stops the others, which Java never
// sees, and everything the library gave goes back to it.
TEST_F(Envelopes, DecryptAndVerifyMemStopsAtTheFirstResultThatFails) {
  jobject s = open();
  standin::on<QUMEN_DecryptAndVerifyMem>([&](context_t c, decrypt_param_t*, verify_param_t*,
                                             mem_blk_t*, mem_blk_t* out, decrypt_result_t* r,
                                             verify_result_t* vr) {
    *out = mem_blk_t{2, standin::bytes(c, {0xD0, 0x0D})};
    standin::fill_certificate(c, &r->sender, 4);
    standin::fill_verify_result(c, vr, 2);
    return 0x55;
  });
  jobject result = make("decrypt_result_t");
  jobject old_sender = receiver("CN=Old");
  set(result, "sender", old_sender);
  jobject vresult = make("verify_result_t");
  set(vresult, "sign_num", jint(9));

  // The output block cannot take its length: neither result is touched. (A look-alike block
  // through JNI: only where the host's block class is not final.)
  if (open_host()) {
    EXPECT_EQ(raw("DecryptAndVerifyMem", s, nullptr, nullptr, nullptr,
                  make("tvtest/Odd$BlockNoLen"), result, vresult),
              kPending);
    EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");
    EXPECT_TRUE(same(get(result, "sender"), old_sender));
    EXPECT_EQ(get_string(old_sender, "subject"), "CN=Old");
    EXPECT_EQ(get_int(vresult, "sign_num"), 9);
  }

  // The decryption result cannot take its sender: the block is converted, the verification not.
  jobject out = make("mem_blk_t");
  EXPECT_EQ(raw("DecryptAndVerifyMem", s, nullptr, nullptr, nullptr, out,
                make("tvtest/Odd$DecryptResultNoSender"), vresult),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "decrypt_result_t2jobject:sender");
  EXPECT_EQ(show_block(out), "2:d00d");
  EXPECT_EQ(get_int(vresult, "sign_num"), 9);
  EXPECT_EQ(standin::count("QUMEN_FreeVerifyResult"), open_host() ? 2u : 1u);
}

}  // namespace
