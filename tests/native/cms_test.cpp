// CMS operations: the departure of the Update stages after a failure, and the message-information
// tree (cms_msginf_t with its signers or recipients and their certificate identifiers) as Java
// receives it. (Each of the fifty methods is a row of the methods table.)
#include <functional>

#include "helpers.h"

using namespace tj;

namespace {

class Cms : public BridgeTest {};

// A stream the library refuses produces nothing: the attached signing and verification leave
// the Java output as it was, the other Update stages clear it; every one ends the handle.
TEST_F(Cms, AFailingUpdateClearsTheOutputOfAllButAttachedSigningAndVerification) {
  jobject s = open();
  for (auto [op, cleared] : {std::pair{"CmsStrAttSignUpdateMem", false},
                             {"CmsStrAttVerifyUpdateMem", false},
                             {"CmsStrEncryptUpdateMem", true},
                             {"CmsStrDecryptUpdateMem", true}}) {
    SCOPED_TRACE(op);
    jobject h = handle_object(0x1234);
    jobject out = block({1, 2});
    EXPECT_EQ(call(op, s, nullptr, h, block({3}), out), standin::kBadHandle);
    EXPECT_EQ(get_long(h, "handle"), 0);
    EXPECT_EQ(show_block(out), cleared ? "0:-" : "2:0102");
  }
}

// ---- Message information ---------------------------------------------------------------------

// CmsBlkMsgInfMem answered with a tree built by `fill`, with status `status`.
void answer(std::function<void(context_t, cms_msginf_t*)> fill, int32_t status = 0) {
  standin::on<QUMEN_CmsBlkMsgInfMem>([=](context_t c, mem_blk_t*, cms_msginf_t* m, int32_t) {
    fill(c, m);
    return status;
  });
}

Texts texts(jobject array) {
  return java_all(array, [](jobject e) { return *utf8(static_cast<jstring>(e)); });
}

// "type|issuer|subjKeyId|serialNum|certHash", '-' for a null text.
std::string show_certid(jobject id) {
  if (id == nullptr) return "null";
  return std::to_string(get_int(id, "type")) + "|" + text_of(get_string(id, "issuer")) + "|" +
         text_of(get_string(id, "subjKeyId")) + "|" + text_of(get_string(id, "serialNum")) + "|" +
         text_of(get_string(id, "certHash"));
}

// A Java cms_msginf_t whose every field holds something the conversion must keep or replace.
jobject preset_msginf() {
  jobject m = make("cms_msginf_t");
  set(m, "type", jint(-1));
  set(m, "signer_num", jint(9));
  set(m, "signers", array("cms_siginf_t", {make("cms_siginf_t")}));
  set(m, "recipient_num", jint(8));
  set(m, "recipients", array("cms_recinf_t", {make("cms_recinf_t")}));
  set(m, "cipherAlg", "old");
  set(m, "unprotAttr_num", jint(7));
  set(m, "unprotAttrs", array("java/lang/String", {str("old")}));
  return m;
}

TEST_F(Cms, ASignedMessageGivesItsSignersAndLeavesTheRecipientsAlone) {
  jobject s = open();
  jobject m = preset_msginf();
  jobject recipients = get(m, "recipients");
  // A whole message-information stream: the library's Final fills a message of two signers.
  jobject h = handle_object();
  ASSERT_EQ(call("CmsStrMsgInfInitMem", s, block({'m'}), h, jint(1)), 0);
  ASSERT_EQ(call("CmsStrMsgInfUpdateMem", s, h, block({'s', 'g'})), 0);
  ASSERT_EQ(call("CmsStrMsgInfFinalMem", s, h, m), 0);

  EXPECT_EQ(get_int(m, "type"), 1);
  EXPECT_EQ(get_int(m, "flags"), 0x10);
  EXPECT_EQ(get_int(m, "signer_num"), 2);
  EXPECT_EQ(get_int(m, "recipient_num"), 8);
  EXPECT_TRUE(same(get(m, "recipients"), recipients));
  EXPECT_EQ(get_string(m, "cipherAlg"), "aes128-gcm");
  EXPECT_EQ(get_int(m, "unprotAttr_num"), 1);
  EXPECT_EQ(texts(get(m, "unprotAttrs")), Texts{"unprotected=1"});

  std::vector<jobject> signers = elements(get(m, "signers"));
  ASSERT_EQ(signers.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    jobject g = signers[size_t(i)];
    EXPECT_EQ(get_int(g, "version"), 1);
    EXPECT_EQ(get_string(g, "digestAlg"), "sha256");
    EXPECT_EQ(get_string(g, "signatureAlg"), "ecdsa-with-sha256");
    EXPECT_EQ(get_long(g, "signingTimeEx"), 4294967295LL - i);
    EXPECT_EQ(get_int(g, "authAttr_num"), 2);
    EXPECT_EQ(texts(get(g, "authAttrs")), (Texts{"contentType=data", "null"}))
        << "empty text: null";
    EXPECT_EQ(get_int(g, "unauthAttr_num"), 1);
    EXPECT_EQ(texts(get(g, "unauthAttrs")), Texts{"countersignature=" + std::to_string(i)});
  }
  // Issuer and serial (type 1) fill three texts; a subject key identifier (type 2) only its own.
  EXPECT_EQ(show_certid(get(signers[0], "signerId")), "1|CN=CMS Issuer 0|-|CS0|hash-0");
  EXPECT_EQ(show_certid(get(signers[1], "signerId")), "2|-|ski-1|-|-");
}

TEST_F(Cms, AnEnvelopedMessageGivesItsRecipientsAndLeavesTheSignersAlone) {
  jobject s = open();
  answer([](context_t c, cms_msginf_t* m) { standin::fill_cms_msginf(c, m, 2, 2); });
  jobject m = preset_msginf();
  jobject signers = get(m, "signers");
  ASSERT_EQ(call("CmsBlkMsgInfMem", s, block({1}), m, jint(0)), 0);
  EXPECT_EQ(get_int(m, "type"), 2);
  EXPECT_EQ(get_int(m, "signer_num"), 9);
  EXPECT_TRUE(same(get(m, "signers"), signers));
  EXPECT_EQ(get_int(m, "recipient_num"), 2);
  std::vector<jobject> r = elements(get(m, "recipients"));
  ASSERT_EQ(r.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(get_int(r[size_t(i)], "type"), 2);
    EXPECT_EQ(get_int(r[size_t(i)], "index"), i);
    EXPECT_EQ(get_int(r[size_t(i)], "version"), 2);
    EXPECT_EQ(get_string(r[size_t(i)], "publicKeyAlg"), "rsaEncryption");
    EXPECT_EQ(get_string(r[size_t(i)], "cipherAlg"), "rsaes-oaep");
  }
  EXPECT_EQ(show_certid(get(r[0], "originatorId")), "1|CN=CMS Issuer 100|-|CS100|hash-100");
  EXPECT_EQ(show_certid(get(r[0], "recipientId")), "2|-|ski-200|-|-");
  EXPECT_EQ(show_certid(get(r[1], "originatorId")), "2|-|ski-101|-|-");
  EXPECT_EQ(show_certid(get(r[1], "recipientId")), "1|CN=CMS Issuer 201|-|CS201|hash-201");
}

// A message of any other type has neither list: both are left as they were.
TEST_F(Cms, AMessageOfAnotherTypeGivesNeitherList) {
  jobject s = open();
  answer([](context_t c, cms_msginf_t* m) { standin::fill_cms_msginf(c, m, 3, 0); });
  jobject m = preset_msginf();
  ASSERT_EQ(call("CmsBlkMsgInfMem", s, block({1}), m, jint(0)), 0);
  EXPECT_EQ(get_int(m, "type"), 3);
  EXPECT_EQ(get_int(m, "signer_num"), 9);
  EXPECT_EQ(elements(get(m, "signers")).size(), 1u);
  EXPECT_EQ(get_int(m, "recipient_num"), 8);
  EXPECT_EQ(elements(get(m, "recipients")).size(), 1u);
  EXPECT_EQ(get_string(m, "cipherAlg"), "aes128-gcm");
}

TEST_F(Cms, AbsentPartsOfASignerComeBackNullButCountsAndIdentifiersStay) {
  jobject s = open();
  answer([](context_t c, cms_msginf_t* m) {
    m->type = CMS_MSG_SIGNED;
    m->list_num = 1;
    m->signers = static_cast<cms_siginf_t*>(standin::alloc(c, sizeof(cms_siginf_t)));
    *m->signers = cms_siginf_t{};
    cms_siginf_t& g = *m->signers;
    g.signerId.type = 9;  // a type with no texts
    g.authAttr_num = 3;   // a count without a list
    g.unauthAttr_num = 2;
    g.unauthAttrs = static_cast<string_t*>(standin::alloc(c, 2 * sizeof(string_t)));
    g.unauthAttrs[0] = nullptr;
    g.unauthAttrs[1] = standin::text(c, "u");
  });
  jobject m = preset_msginf();
  ASSERT_EQ(call("CmsBlkMsgInfMem", s, block({1}), m, jint(0)), 0);
  std::vector<jobject> signers = elements(get(m, "signers"));
  ASSERT_EQ(signers.size(), 1u);
  jobject g = signers[0];
  EXPECT_EQ(show_certid(get(g, "signerId")), "9|-|-|-|-") << "the identifier object is always made";
  EXPECT_EQ(get_int(g, "authAttr_num"), 3);
  EXPECT_EQ(get(g, "authAttrs"), nullptr);
  EXPECT_EQ(texts(get(g, "unauthAttrs")), (Texts{"null", "u"}));
}

TEST_F(Cms, AMissingFieldStopsTheTreeAndTheRestGoesBackToTheLibrary) {
  jobject s = open();
  // Type 1 (the library's default): the signers are converted, then unprotAttrs is missing.
  jobject partial = make("tvtest/Odd$MsgInfNoUnprotAttrs");
  EXPECT_EQ(raw("CmsBlkMsgInfMem", s, block({1}), partial, jint(0)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "cms_msginf_t2jobject:unprotAttrs");
  EXPECT_EQ(elements(get(partial, "signers")).size(), 2u);
  EXPECT_EQ(get_int(partial, "unprotAttr_num"), 1);

  // A class without recipients serves a signed message, and stops an enveloped one there.
  jobject no_recipients = make("tvtest/Odd$MsgInfNoRecipients");
  EXPECT_EQ(call("CmsBlkMsgInfMem", s, block({1}), no_recipients, jint(0)), 0);
  answer([](context_t c, cms_msginf_t* m) { standin::fill_cms_msginf(c, m, 2, 3); });
  set(no_recipients, "cipherAlg", "old");
  EXPECT_EQ(raw("CmsBlkMsgInfMem", s, block({1}), no_recipients, jint(0)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "cms_msginf_t2jobject:recipients");
  EXPECT_EQ(get_int(no_recipients, "recipient_num"), 3);
  EXPECT_EQ(get_string(no_recipients, "cipherAlg"), "old");
  EXPECT_EQ(standin::count("QUMEN_CmsFreeMsgInf"), 3u) << "each tree released once, by the bridge";
}

}  // namespace
