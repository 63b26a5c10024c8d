// Hashing and one-shot signing, and the signing and verification records they carry: what the
// library receives, what Java gets back, and what a failure on either side leaves behind.
#include <climits>
#include <cstring>

#include "core/scratch.h"
#include "records.h"
#include "records/signing.h"

using namespace tj;

namespace {

using Texts = std::vector<std::string>;

std::optional<std::string> copy(const char* s) { return s ? std::optional<std::string>(s) : std::nullopt; }

// A verify_param_t as the library saw it: the scalars, and each array shown element by element.
struct SeenParam {
  bool present = false;
  verify_param_t scalars{};
  Texts policies, ekus, extensions;
};

SeenParam see(const verify_param_t* p) {
  SeenParam s;
  if (p == nullptr) return s;
  s.present = true;
  s.scalars = *p;
  s.policies = show_all(p->policies, p->policy_num);
  s.ekus = show_all(p->extKeyUsage, p->extkeyusage_num);
  s.extensions = show_all(p->extensions, p->extension_num);
  return s;
}

// VerifyMem answered by recording its parameter record and filling the result with `signers`
// signers (fill_verify_result) and a three-byte content block.
void answer_verify(SeenParam* seen, int signers, int32_t status = 0) {
  standin::on<QUMEN_VerifyMem>([=](context_t c, verify_param_t* p, mem_blk_t*, mem_blk_t*,
                                   mem_blk_t* out, verify_result_t* r) {
    *seen = see(p);
    *out = mem_blk_t{3, standin::bytes(c, {'m', 's', 'g'})};
    standin::fill_verify_result(c, r, signers);
    return status;
  });
}

class Signing : public BridgeTest {
 protected:
  tvj::CallMemory memory_;
};

TEST_F(Signing, VerifyParamReachesTheLibraryFieldByField) {
  jobject s = open();
  SeenParam seen;
  answer_verify(&seen, 0);
  jobject vp = make("verify_param_t");
  set(vp, "flag", jint(0x11));
  set(vp, "keyUsage", jint(0x80));
  set(vp, "policy_num", jint(2));
  set(vp, "policies", array("policy_t", {policy("1.2.3", "Org", 7, "notice"), nullptr}));
  set(vp, "extkeyusage_num", jint(1));
  set(vp, "extKeyUsage", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.4")}));
  set(vp, "extension_num", jint(2));
  set(vp, "extensions", array("extension_t", {extension("2.5.29.15", 1, 1, {3, 2, 1, 0}, 3), nullptr}));
  set(vp, "nSignToDelete", jint(3));
  set(vp, "minsigns", jint(2));
  set(vp, "info", jint(-1));
  ASSERT_EQ(call("VerifyMem", s, vp, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_TRUE(seen.present);
  const verify_param_t& p = seen.scalars;
  EXPECT_EQ(p.flag, 0x11);
  EXPECT_EQ(p.reserved, nullptr);
  EXPECT_EQ(p.keyUsage, 0x80);
  EXPECT_EQ(seen.policies, (Texts{"1.2.3|Org|7|notice", "-|-|0|-"})) << "a null element is zero";
  EXPECT_EQ(seen.ekus, Texts{"1.3.6.1.5.5.7.3.4"});
  EXPECT_EQ(seen.extensions, (Texts{"2.5.29.15|1|1|3|030201", "-|0|0|0|-"}));
  EXPECT_EQ(p.nSignToDelete, 3);
  EXPECT_EQ(p.minsigns, 2);
  EXPECT_EQ(p.info, -1);

  // Counts are carried as read, whatever the arrays hold.
  set(vp, "policy_num", jint(0));  // a two-element array goes unread
  set(vp, "extkeyusage_num", jint(-1));
  set(vp, "extensions", jobject(nullptr));  // extension_num stays 2
  ASSERT_EQ(call("VerifyMem", s, vp, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(seen.scalars.policy_num, 0);
  EXPECT_EQ(seen.policies, Texts{"null"});
  EXPECT_EQ(seen.scalars.extkeyusage_num, -1);
  EXPECT_EQ(seen.ekus, Texts{"null"});
  EXPECT_EQ(seen.scalars.extension_num, 2);
  EXPECT_EQ(seen.extensions, Texts{"null"});

  ASSERT_EQ(call("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  ASSERT_TRUE(seen.present) << "a null verify_param_t is a zero record, still passed by address";
  EXPECT_TRUE(zeroed(seen.scalars));
}

TEST_F(Signing, ACountBeyondItsArrayIsTheVmsOwnIndexError) {
  jobject s = open();
  jobject vp = make("verify_param_t");
  set(vp, "policy_num", jint(3));
  set(vp, "policies", array("policy_t", {policy("1", "a", 1, "t"), policy("2", "b", 2, "u")}));
  EXPECT_EQ(raw("VerifyMem", s, vp, nullptr, nullptr, nullptr, nullptr), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 2 out of bounds for length 2");

  // A count no array can reach: nothing is allocated for elements that cannot exist.
  jobject huge = make("verify_param_t");
  set(huge, "extkeyusage_num", jint(INT_MAX));
  set(huge, "extKeyUsage", array("extkeyusage_t", {eku("1.3.6.1.5.5.7.3.1")}));
  EXPECT_EQ(raw("VerifyMem", s, huge, nullptr, nullptr, nullptr, nullptr), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 1 out of bounds for length 1");

  // The existing element is converted first: its own refusal comes before the VM's.
  jobject bad = make("verify_param_t");
  set(bad, "extension_num", jint(5));
  set(bad, "extensions", array("extension_t", {extension("2.5.29.15", 0, 0, {1, 2}, 4)}));
  EXPECT_EQ(raw("VerifyMem", s, bad, nullptr, nullptr, nullptr, nullptr), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2extension_t:len");
  EXPECT_EQ(standin::count("QUMEN_VerifyMem"), 0u);
}

TEST_F(Signing, AFailedArgumentSkipsTheLibraryAndTheResults) {
  jobject s = open();
  jobject result = make("verify_result_t");
  set(result, "sign_num", jint(5));
  jobject out = block({4});

  jobject partial = make("tvtest/Records$VerifyParamNoMinsigns");
  set(partial, "policy_num", jint(1));
  set(partial, "policies", array("policy_t", {policy("1.2", "o", 1, "t")}));
  EXPECT_EQ(raw("VerifyMem", s, partial, block({1}), block({2}), out, result), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2verify_param_t:minsigns");

  // The second block is refused after the parameter record and the first block were converted.
  EXPECT_EQ(raw("VerifyMem", s, make("verify_param_t"), block({1}), block({1, 2}, 3), out, result),
            kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(raw("VerifyFile", s, partial, str("in"), nullptr, nullptr, result), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2verify_param_t:minsigns");
  EXPECT_EQ(raw("SignMem", s, make("tvtest/Records$SignParamLongFlag"), block({1}), nullptr, out), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "jobject2sign_param_t:flag");

  EXPECT_EQ(standin::call_names(), std::vector<std::string>{"QUMEN_InitMinimal"});
  EXPECT_EQ(get_int(result, "sign_num"), 5);
  EXPECT_EQ(get_bytes(out, "buf"), Bytes{4});
}

TEST_F(Signing, AFailedResultConversionStillGivesTheNativeResultBack) {
  jobject s = open();
  SeenParam seen;
  answer_verify(&seen, 3, 0x0BAD);

  // The result class lacks `signs`: sign_num is written, then the conversion stops.
  jobject no_signs = make("tvtest/Records$ResultNoSigns");
  jobject out = make("mem_blk_t");
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, out, no_signs), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "verify_result_t2jobject:signs");
  EXPECT_EQ(get_int(no_signs, "sign_num"), 3);
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{'m', 's', 'g'}));

  // The content block fails first: the verification result is never converted.
  jobject result = make("verify_result_t");
  set(result, "sign_num", jint(5));
  EXPECT_EQ(raw("VerifyMem", s, nullptr, nullptr, nullptr, make("tvtest/Odd$BlockNoBuf"), result),
            kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "mem_blk_t2jobject:buf");
  EXPECT_EQ(get_int(result, "sign_num"), 5);

  // A failing status of the library still has its results converted.
  EXPECT_EQ(call("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), 0x0BAD);
  EXPECT_EQ(get_int(result, "sign_num"), 3);
  EXPECT_EQ(elements(get(result, "signs")).size(), 3u);
  EXPECT_EQ(standin::count("QUMEN_FreeVerifyResult"), 3u);
}

TEST_F(Signing, VerifyResultsWithoutSignersOrWithoutAJavaObject) {
  jobject s = open();
  standin::on<QUMEN_VerifyMem>([](context_t, verify_param_t*, mem_blk_t*, mem_blk_t*, mem_blk_t*,
                                  verify_result_t* r) {
    r->sign_num = 2;  // a count without an array
    return 0;
  });
  jobject result = make("verify_result_t");
  set(result, "signs", array("sign_status_t", {make("sign_status_t")}));
  ASSERT_EQ(call("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, result), 0);
  EXPECT_EQ(get_int(result, "sign_num"), 2);
  EXPECT_EQ(get(result, "signs"), nullptr) << "the old array is dropped";

  SeenParam seen;
  answer_verify(&seen, 3);
  ASSERT_EQ(call("VerifyMem", s, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(standin::count("QUMEN_FreeVerifyResult"), 2u) << "released without a Java object";
}

TEST_F(Signing, VerifyFilePassesItsNamesAndFillsTheResult) {
  jobject s = open();
  std::vector<std::optional<std::string>> names;
  int32_t flag = 0;
  standin::on<QUMEN_VerifyFile>([&](context_t c, verify_param_t* p, string_t a, string_t b,
                                    string_t d, verify_result_t* r) {
    flag = p->flag;
    names = {copy(a), copy(b), copy(d)};
    standin::fill_verify_result(c, r, 1);  // one signer, without certificate
    return 0;
  });
  jobject vp = make("verify_param_t");
  set(vp, "flag", jint(9));
  jobject result = make("verify_result_t");
  ASSERT_EQ(call("VerifyFile", s, vp, str("signed.p7s"), str(""), nullptr, result), 0);
  EXPECT_EQ(flag, 9);
  EXPECT_EQ(names, (std::vector<std::optional<std::string>>{"signed.p7s", std::nullopt, std::nullopt}));
  EXPECT_EQ(get_int(result, "sign_num"), 1);
  auto signs = elements(get(result, "signs"));
  ASSERT_EQ(signs.size(), 1u);
  EXPECT_EQ(get_long(signs[0], "timeEx"), 2147483648LL);
  EXPECT_EQ(get(signs[0], "cert"), nullptr);
}

TEST_F(Signing, SignMemPassesTheFlagAndANullReserved) {
  jobject s = open();
  std::optional<sign_param_t> seen;
  std::optional<Bytes> first, second;
  standin::on<QUMEN_SignMem>([&](context_t c, sign_param_t* p, mem_blk_t* in1, mem_blk_t* in2,
                                 mem_blk_t* out) {
    seen = p ? std::optional(*p) : std::nullopt;
    first = in1->buf ? std::optional(Bytes(in1->buf, in1->buf + in1->len)) : std::nullopt;
    second = in2->buf ? std::optional(Bytes(in2->buf, in2->buf + in2->len)) : std::nullopt;
    *out = mem_blk_t{2, standin::bytes(c, {0x30, 0x00})};
    return 0;
  });
  jobject sp = make("sign_param_t");
  set(sp, "flag", jint(-5));
  jobject out = block({9, 9, 9});
  ASSERT_EQ(call("SignMem", s, sp, block({1, 2, 3}), block({4}), out), 0);
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->flag, -5);
  EXPECT_EQ(seen->reserved, nullptr);
  EXPECT_EQ(first, (Bytes{1, 2, 3}));
  EXPECT_EQ(second, Bytes{4});
  EXPECT_EQ(get_bytes(out, "buf"), (Bytes{0x30, 0x00}));

  ASSERT_EQ(call("SignMem", s, nullptr, nullptr, nullptr, out), 0);
  ASSERT_TRUE(seen.has_value()) << "a null sign_param_t is a zero record, still passed by address";
  EXPECT_TRUE(zeroed(*seen));
}

TEST_F(Signing, FileAndTextVariantsPassTheirStringsInOrder) {
  jobject s = open();
  std::vector<std::optional<std::string>> got;
  auto digest = [](context_t c, mem_blk_t* out) {
    *out = mem_blk_t{2, standin::bytes(c, {0xD1, 0x6E})};
    return 0;
  };
  standin::on<QUMEN_HashFile>([&](context_t c, string_t name, mem_blk_t* out) {
    got = {copy(name)};
    return digest(c, out);
  });
  standin::on<QUMEN_BlkHashMem>([&](context_t c, string_t text, mem_blk_t* in, mem_blk_t* out) {
    got = {copy(text), std::string(reinterpret_cast<char*>(in->buf), size_t(in->len))};
    return digest(c, out);
  });
  standin::on<QUMEN_BlkHashFile>([&](context_t c, string_t text, string_t name, mem_blk_t* out) {
    got = {copy(text), copy(name)};
    return digest(c, out);
  });
  standin::on<QUMEN_SignFile>([&](context_t, sign_param_t* p, string_t a, string_t b, string_t d) {
    got = {std::to_string(p->flag), copy(a), copy(b), copy(d)};
    return 0x1234;
  });
  using Got = std::vector<std::optional<std::string>>;
  jobject hash = make("mem_blk_t");

  ASSERT_EQ(call("HashFile", s, str("data.bin"), hash), 0);
  EXPECT_EQ(got, Got{"data.bin"});
  EXPECT_EQ(get_bytes(hash, "buf"), (Bytes{0xD1, 0x6E}));
  ASSERT_EQ(call("HashFile", s, str(""), hash), 0);
  EXPECT_EQ(got, Got{std::nullopt}) << "an empty name is no name";
  ASSERT_EQ(call("BlkHashMem", s, str("alg"), block({'a', 'b'}), hash), 0);
  EXPECT_EQ(got, (Got{"alg", "ab"}));
  ASSERT_EQ(call("BlkHashFile", s, str("alg"), str("data.bin"), hash), 0);
  EXPECT_EQ(got, (Got{"alg", "data.bin"}));

  // SignFile has no result: the library's status comes back as it is.
  jobject sp = make("sign_param_t");
  set(sp, "flag", jint(2));
  EXPECT_EQ(call("SignFile", s, sp, str("in.txt"), nullptr, str("out.p7s")), 0x1234);
  EXPECT_NOTHING_THROWN();
  EXPECT_EQ(got, (Got{"2", "in.txt", std::nullopt, "out.p7s"}));
}

TEST_F(Signing, SignHashMemPassesNullForItsFirstParameter) {
  jobject s = open();
  std::vector<bool> null_param;
  standin::on<QUMEN_SignHashMem>([&](context_t c, sign_param_t* p, mem_blk_t* in, mem_blk_t* out) {
    null_param.push_back(p == nullptr);
    *out = mem_blk_t{in->len, standin::bytes(c, Bytes(in->buf, in->buf + in->len))};
    return 0;
  });
  jobject sp = make("sign_param_t");
  set(sp, "flag", jint(7));
  for (jobject ignored : {jobject(nullptr), sp, s}) {
    jobject out = make("mem_blk_t");
    ASSERT_EQ(call("SignHashMem", s, ignored, block({5, 6}), out), 0);
    EXPECT_EQ(get_bytes(out, "buf"), (Bytes{5, 6}));
  }
  EXPECT_EQ(null_param, (std::vector<bool>{true, true, true}));
}

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
}

TEST_F(Signing, PolicyCheckParametersCarryASizeAndTheLowTimeBits) {
  verify_policy_param_t rec;
  std::memset(static_cast<void*>(&rec), 0x5A, sizeof rec);
  tvj::jobject2verify_policy_param_t(env_, nullptr, &rec);
  EXPECT_TRUE(zeroed(rec)) << "a null object: 56 zero bytes, size included";

  jobject pp = make("verify_policy_param_t");
  set(pp, "flag", jint(3));
  set(pp, "check_timeEx", L{jlong(1) << 32});
  set(pp, "keyusage", jint(0x06));
  set(pp, "eku_num", jint(1));
  set(pp, "extkeyusages", array("extkeyusage_t", {nullptr}));
  set(pp, "policy_num", jint(1));
  set(pp, "policies", array("policy_t", {policy("2.5.29.32.0", nullptr, 0, "")}));
  tvj::jobject2verify_policy_param_t(env_, pp, &rec);
  EXPECT_EQ(rec.size, 56u);
  EXPECT_EQ(rec.flag, 3);
  EXPECT_EQ(rec.reserved, nullptr);
  EXPECT_EQ(rec.check_timeEx, 0u) << "the low 32 bits of 2^32";
  EXPECT_EQ(rec.keyusage, 0x06);
  EXPECT_EQ(show_all(rec.extkeyusages, rec.eku_num), Texts{"-"});
  EXPECT_EQ(show_all(rec.policies, rec.policy_num), Texts{"2.5.29.32.0|-|0|-"});
  tvj::verify_policy_param_tFree(env_, pp, &rec);
  verify_policy_param_t expected;
  std::memset(static_cast<void*>(&expected), 0, sizeof expected);
  expected.size = 56;  // only the bridge sets it; the release leaves it
  EXPECT_EQ(std::memcmp(&rec, &expected, sizeof rec), 0);
}

}  // namespace
