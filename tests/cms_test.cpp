// CMS operations: each of the fifty methods against its own native function, the departures of
// the Update stages after a failure, and the message-information tree (cms_msginf_t with its
// signers or recipients and their certificate identifiers) as Java receives it.
#include "stage_probe.h"

using namespace tj;

namespace {

using Texts = std::vector<std::string>;

const Row kCmsRows[] = {
    TVJ_ROW(CmsBlkAttSignMem, "SIO"),         TVJ_ROW(CmsBlkAttSignFile, "SNN"),
    TVJ_ROW(CmsStrAttSignInitMem, "SIH"),     TVJ_ROW(CmsStrAttSignUpdateMem, "SHIO"),
    TVJ_ROW(CmsStrAttSignFinalMem, "SHO"),    TVJ_ROW(CmsStrAttSignFile, "SNN"),
    TVJ_ROW(CmsBlkDetSignMem, "SIIO"),        TVJ_ROW(CmsBlkDetSignFile, "SNNN"),
    TVJ_ROW(CmsStrDetSignInitMem, "SIH"),     TVJ_ROW(CmsStrDetSignUpdateMem, "SHI"),
    TVJ_ROW(CmsStrDetSignFinalMem, "SHO"),    TVJ_ROW(CmsStrDetSignFile, "SNNN"),
    TVJ_ROW(CmsBlkAttVerifyMem, "VIOr"),      TVJ_ROW(CmsBlkAttVerifyFile, "VNNr"),
    TVJ_ROW(CmsStrAttVerifyInitMem, "VIH"),   TVJ_ROW(CmsStrAttVerifyUpdateMem, "VHIO"),
    TVJ_ROW(CmsStrAttVerifyFinalMem, "VHOr"), TVJ_ROW(CmsStrAttVerifyFile, "VNNr"),
    TVJ_ROW(CmsBlkDetVerifyMem, "VIIOr"),     TVJ_ROW(CmsBlkDetVerifyFile, "VNNNr"),
    TVJ_ROW(CmsStrDetVerifyInitMem, "VIH"),   TVJ_ROW(CmsStrDetVerifyUpdateMem, "VHI"),
    TVJ_ROW(CmsStrDetVerifyFinalMem, "VHOr"), TVJ_ROW(CmsStrDetVerifyFile, "VNNNr"),
    TVJ_ROW(CmsBlkEncryptMem, "EIO"),         TVJ_ROW(CmsBlkEncryptFile, "ENN"),
    TVJ_ROW(CmsStrEncryptInitMem, "EIH"),     TVJ_ROW(CmsStrEncryptUpdateMem, "EHIO"),
    TVJ_ROW(CmsStrEncryptFinalMem, "EHO"),    TVJ_ROW(CmsStrEncryptFile, "ENN"),
    TVJ_ROW(CmsBlkDecryptMem, "DIOd"),        TVJ_ROW(CmsBlkDecryptFile, "DNNd"),
    TVJ_ROW(CmsStrDecryptInitMem, "DIH"),     TVJ_ROW(CmsStrDecryptUpdateMem, "DHIO"),
    TVJ_ROW(CmsStrDecryptFinalMem, "DHOd"),   TVJ_ROW(CmsStrDecryptFile, "DNNd"),
    TVJ_ROW(CmsBlkSignAttachMem, "IIOT"),     TVJ_ROW(CmsBlkSignAttachFile, "NNNT"),
    TVJ_ROW(CmsBlkSignDetachMem, "IOOT"),     TVJ_ROW(CmsBlkSignDetachFile, "NNNT"),
    TVJ_ROW(CmsStrSignDetachInitMem, "IHT"),  TVJ_ROW(CmsStrSignDetachUpdateMem, "HIO"),
    TVJ_ROW(CmsStrSignDetachFinalMem, "HOO"), TVJ_ROW(CmsStrSignDetachFile, "NNNT"),
    TVJ_ROW(CmsBlkMsgInfMem, "ImT"),          TVJ_ROW(CmsBlkMsgInfFile, "NmT"),
    TVJ_ROW(CmsStrMsgInfInitMem, "IHT"),      TVJ_ROW(CmsStrMsgInfUpdateMem, "HI"),
    TVJ_ROW(CmsStrMsgInfFinalMem, "Hm"),      TVJ_ROW(CmsStrMsgInfFile, "NmT"),
};
static_assert(std::size(kCmsRows) == 50);

jobject handle_object(jlong value = 0) {
  jobject h = make("strhandle_t");
  set(h, "handle", L{value});
  return h;
}

class Cms : public BridgeTest {};

TEST_F(Cms, EveryMethodPassesItsArgumentsAndTakesItsResultsInPlace) {
  jobject s = open();
  for (const Row& row : kCmsRows) {
    check_row(s, row, 0);
    check_row(s, row, kFail);
  }
}

// A stream the library refuses (its handle unknown) produces nothing: the attached signing and
// verification leave the Java output as it was, the other Update stages clear it.
TEST_F(Cms, AFailingUpdateClearsTheOutputOfAllButAttachedSigningAndVerification) {
  jobject s = open();
  struct Case {
    const char* op;
    jobject param;
    bool cleared;
  };
  for (const Case& c : {Case{"CmsStrAttSignUpdateMem", make("sign_param_t"), false},
                        Case{"CmsStrAttVerifyUpdateMem", make("verify_param_t"), false},
                        Case{"CmsStrEncryptUpdateMem", make("encrypt_param_t"), true},
                        Case{"CmsStrDecryptUpdateMem", make("decrypt_param_t"), true}}) {
    jobject h = handle_object(0x1234);
    jobject out = block({1, 2});
    EXPECT_EQ(call(c.op, s, c.param, h, block({3}), out), standin::kBadHandle) << c.op;
    EXPECT_EQ(get_long(h, "handle"), 0) << c.op;
    EXPECT_EQ(get_bytes(out, "buf"), c.cleared ? std::nullopt : std::optional<Bytes>(Bytes{1, 2}))
        << c.op;
    EXPECT_EQ(get_int(out, "len"), c.cleared ? 0 : 2) << c.op;
  }
  jobject h = handle_object(0x1234);
  jobject out = block({1, 2});
  EXPECT_EQ(call("CmsStrSignDetachUpdateMem", s, h, block({3}), out), standin::kBadHandle);
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(get_bytes(out, "buf"), std::nullopt);
}

TEST_F(Cms, DetachedSigningFinalClearsTheHandleBeforeItsOutput) {
  jobject s = open();
  jobject h = handle_object();
  ASSERT_EQ(call("CmsStrDetSignInitMem", s, nullptr, block({'a'}), h), 0);
  ASSERT_EQ(call("CmsStrDetSignUpdateMem", s, nullptr, h, block({'b'})), 0);
  EXPECT_EQ(raw("CmsStrDetSignFinalMem", s, nullptr, h, make("tvtest/Odd$BlockNoBuf")), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_long(h, "handle"), 0);
  EXPECT_EQ(standin::open_handles(), 0u);
}

TEST_F(Cms, SignDetachFillsItsSecondParameterThenItsThird) {
  jobject s = open();
  standin::on<QUMEN_CmsBlkSignDetachMem>(
      [](context_t c, mem_blk_t*, mem_blk_t* out, mem_blk_t* out2, int32_t) {
        *out = mem_blk_t{1, standin::bytes(c, {'1'})};
        *out2 = mem_blk_t{1, standin::bytes(c, {'2'})};
        return 0;
      });
  jobject second = block({0});
  EXPECT_EQ(
      raw("CmsBlkSignDetachMem", s, block({'x'}), make("tvtest/Odd$BlockNoBuf"), second, jint(0)),
      kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_bytes(second, "buf"), Bytes{0}) << "the third parameter is not reached";

  jobject first = block({0});
  EXPECT_EQ(
      raw("CmsBlkSignDetachMem", s, block({'x'}), first, make("tvtest/Odd$BlockNoLen"), jint(0)),
      kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:len");
  EXPECT_EQ(get_bytes(first, "buf"), Bytes{'1'});
  // Both native blocks of both calls went back to the library (the ledger is checked after).
}

TEST_F(Cms, AnEmptyNameReachesTheLibraryAsNull) {
  jobject s = open();
  std::vector<std::string> names;
  standin::on<QUMEN_CmsBlkDecryptFile>(
      [&](context_t, decrypt_param_t*, string_t in, string_t out, decrypt_result_t*) {
        names = {in ? in : "null", out ? out : "null"};
        return 0;
      });
  EXPECT_EQ(call("CmsBlkDecryptFile", s, nullptr, str("in.p7m"), str(""), nullptr), 0);
  EXPECT_EQ(names, (Texts{"in.p7m", "null"}));
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
  Texts out;
  if (array == nullptr) return {"null"};
  for (jobject e : elements(array)) out.push_back(e ? *utf8(static_cast<jstring>(e)) : "null");
  return out;
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
  EXPECT_EQ(get_long(h, "handle"), 0);

  EXPECT_EQ(get_int(m, "type"), 1);
  EXPECT_EQ(get_int(m, "flags"), 0x10);
  EXPECT_EQ(get_int(m, "signer_num"), 2);
  EXPECT_EQ(get_int(m, "recipient_num"), 8);
  EXPECT_TRUE(env_->IsSameObject(get(m, "recipients"), recipients));
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
    EXPECT_EQ(get_long(g, "signingTimeEx"), 4294967295LL - i) << "widened without sign";
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
  EXPECT_TRUE(env_->IsSameObject(get(m, "signers"), signers));
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
  EXPECT_EQ(get_string(m, "cipherAlg"), "aes128-gcm");
}

TEST_F(Cms, AMessageOfAnotherTypeGivesNeitherList) {
  jobject s = open();
  answer([](context_t c, cms_msginf_t* m) { standin::fill_cms_msginf(c, m, 3, 0); });
  jobject m = preset_msginf();
  ASSERT_EQ(call("CmsBlkMsgInfMem", s, block({1}), m, jint(0)), 0);
  EXPECT_EQ(get_int(m, "type"), 3);
  EXPECT_EQ(get_int(m, "flags"), 0x10);
  EXPECT_EQ(get_int(m, "signer_num"), 9);
  EXPECT_EQ(elements(get(m, "signers")).size(), 1u);
  EXPECT_EQ(get_int(m, "recipient_num"), 8);
  EXPECT_EQ(elements(get(m, "recipients")).size(), 1u);
  EXPECT_EQ(get_string(m, "cipherAlg"), "aes128-gcm");
  EXPECT_EQ(texts(get(m, "unprotAttrs")), Texts{"unprotected=1"});
}

TEST_F(Cms, AbsentPartsOfASignerComeBackNullButCountsAndIdentifiersStay) {
  jobject s = open();
  answer([](context_t c, cms_msginf_t* m) {
    *m = cms_msginf_t{};
    m->type = CMS_MSG_SIGNED;
    m->list_num = 1;
    m->signers = static_cast<cms_siginf_t*>(standin::alloc(c, sizeof(cms_siginf_t)));
    *m->signers = cms_siginf_t{};
    cms_siginf_t& g = *m->signers;
    g.digestAlg = standin::text(c, "");  // empty: null in Java
    g.signerId.type = 9;                 // a type with no texts
    g.authAttr_num = 3;                  // a count without a list
    g.unauthAttr_num = 2;
    g.unauthAttrs = static_cast<string_t*>(standin::alloc(c, 2 * sizeof(string_t)));
    g.unauthAttrs[0] = nullptr;
    g.unauthAttrs[1] = standin::text(c, "u");
    m->unprotAttr_num = 2;  // again without a list
  });
  jobject m = preset_msginf();
  jobject old_signers = get(m, "signers");
  ASSERT_EQ(call("CmsBlkMsgInfMem", s, block({1}), m, jint(0)), 0);
  std::vector<jobject> signers = elements(get(m, "signers"));
  ASSERT_EQ(signers.size(), 1u);
  EXPECT_FALSE(env_->IsSameObject(get(m, "signers"), old_signers)) << "a new array";
  jobject g = signers[0];
  EXPECT_EQ(get_string(g, "digestAlg"), std::nullopt);
  EXPECT_EQ(get_string(g, "signatureAlg"), std::nullopt);
  EXPECT_EQ(show_certid(get(g, "signerId")), "9|-|-|-|-") << "the identifier object is always made";
  EXPECT_EQ(get_long(g, "signingTimeEx"), 0);
  EXPECT_EQ(get_int(g, "authAttr_num"), 3);
  EXPECT_EQ(get(g, "authAttrs"), nullptr);
  EXPECT_EQ(texts(get(g, "unauthAttrs")), (Texts{"null", "u"}));
  EXPECT_EQ(get_string(m, "cipherAlg"), std::nullopt) << "the old text is replaced";
  EXPECT_EQ(get_int(m, "unprotAttr_num"), 2);
  EXPECT_EQ(get(m, "unprotAttrs"), nullptr);
}

TEST_F(Cms, AFailingMessageInformationCallStillConvertsTheEmptyRecord) {
  jobject s = open();
  answer([](context_t, cms_msginf_t*) {}, kFail);
  jobject m = preset_msginf();
  EXPECT_EQ(call("CmsBlkMsgInfMem", s, block({1}), m, jint(0)), kFail);
  EXPECT_EQ(get_int(m, "type"), 0);
  EXPECT_EQ(get_int(m, "flags"), 0);
  EXPECT_EQ(get_int(m, "signer_num"), 9) << "type 0 has no list";
  EXPECT_EQ(get_string(m, "cipherAlg"), std::nullopt);
  EXPECT_EQ(get_int(m, "unprotAttr_num"), 0);
  EXPECT_EQ(get(m, "unprotAttrs"), nullptr);
  EXPECT_EQ(standin::count("QUMEN_CmsFreeMsgInf"), 1u);
}

TEST_F(Cms, ANullJavaRecordStillReleasesTheWholeTree) {
  jobject s = open();
  EXPECT_EQ(call("CmsBlkMsgInfMem", s, block({1}), nullptr, jint(0)), 0);
  EXPECT_EQ(call("CmsBlkMsgInfFile", s, str("m.p7s"), nullptr, jint(0)), 0);
  EXPECT_EQ(standin::count("QUMEN_CmsFreeMsgInf"), 2u);
  EXPECT_EQ(standin::count("QUMEN_FreeMem"), 0u) << "no text was taken one by one";
}

TEST_F(Cms, AMissingFieldStopsTheTreeAndTheRestGoesBackToTheLibrary) {
  jobject s = open();
  // Type 1 (the library's default): the signers are converted, then unprotAttrs is missing.
  jobject partial = make("tvtest/MsgInf$NoUnprotAttrs");
  EXPECT_EQ(raw("CmsBlkMsgInfMem", s, block({1}), partial, jint(0)), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "cms_msginf_t2jobject:unprotAttrs");
  EXPECT_EQ(get_int(partial, "signer_num"), 2);
  EXPECT_EQ(elements(get(partial, "signers")).size(), 2u);
  EXPECT_EQ(get_string(partial, "cipherAlg"), "aes128-gcm");
  EXPECT_EQ(get_int(partial, "unprotAttr_num"), 1);

  // A class without recipients serves a signed message, and stops an enveloped one there.
  jobject no_recipients = make("tvtest/MsgInf$NoRecipients");
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
