// tarvexjni.dll end to end: methods of every family called as a JVM calls them, over the
// stand-in tarvex.dll, through the tests' JNI environment. Each test ends with a clean ledger
// and nothing the environment's checks object to (harness.h).
#include <algorithm>
#include <cstring>

#include "harness.h"

using namespace wt;

namespace {

using standin::Fault;

class Bridge : public BridgeTest {
 protected:
  int64_t handle(Obj o) { return vm().get_long(o, "handle"); }
};

// ---- Lifecycle --------------------------------------------------------------------------------

TEST_F(Bridge, AContextGoesToHandleAndStaysThereAfterItEnds) {
  Obj self = vm().make("Norv1/LocalIface");
  std::string name_seen;
  ON(QUMEN_Initialize, [&](string_t name, int32_t value, context_t* c) {
    name_seen = name != nullptr ? name : "(null)";
    *c = standin::open_context();
    return value == 5 ? 0 : 1;
  });
  ASSERT_EQ(call("Initialize", self, str("profile"), int32_t(5)), 0);
  EXPECT_EQ(name_seen, "profile");
  int64_t context = handle(self);
  EXPECT_TRUE(standin::context_live(context_t(context)));
  EXPECT_EQ(call("Uninitialize", self), 0);
  EXPECT_EQ(handle(self), context);
  EXPECT_EQ(call("Uninitialize", self), standin::kBadContext)
      << "the stale value goes to the library";

  EXPECT_EQ(call("InitMinimal", nullptr), kPending);
  EXPECT_THROWN("java.lang.NullPointerException", "context_t2jthis:self");
}

// ---- Blocks
// ---------------------------------------------------------------------------------------

TEST_F(Bridge, HashMemReturnsTheLibrarysDigestInANewArray) {
  Obj self = open();
  Bytes data{'a', 'b', 'c', 0xff, 0};
  Obj out = block({9, 9});
  Obj old_array = vm().get(out, "buf");
  ASSERT_EQ(call("HashMem", self, block(data), out), 0);
  EXPECT_EQ(block_bytes(out), standin::digest(data.data(), data.size()));
  EXPECT_EQ(vm().get_int(out, "len"), 32);
  EXPECT_EQ(vm().bytes_of(old_array), (Bytes{9, 9})) << "the caller's array is never written";
}

TEST_F(Bridge, ABlockWhoseLenExceedsItsArrayIsRefusedBeforeTheLibrary) {
  Obj self = open();
  standin::clear_calls();
  EXPECT_EQ(call("HashMem", self, block({1, 2, 3}, 4), vm().make("mem_blk_t")), kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "jobject2mem_blk_t:len");
  EXPECT_EQ(standin::count("QUMEN_HashMem"), 0u);
}

// ---- Signing and verification, certificates --------------------------------------------------

TEST_F(Bridge, WhatSignMemSignsVerifyMemOpensWithItsSignersCertificate) {
  Obj self = open();
  Bytes message{'T', 'h', 'e', ' ', 'f', 'o', 'x'};
  Obj sign = vm().make("sign_param_t");
  Obj signed_message = vm().make("mem_blk_t");
  ASSERT_EQ(call("SignMem", self, sign, block(message), nullptr, signed_message), 0);

  Obj param = vm().make("verify_param_t");
  vm().set(param, "policy_num", 1);
  Obj policy = vm().make("policy_t");
  vm().set(policy, "oid", str("1.2.3"));
  vm().set(param, "policies", vm().array("policy_t", {policy}));
  Obj content = vm().make("mem_blk_t");
  Obj result = vm().make("verify_result_t");
  ASSERT_EQ(call("VerifyMem", self, param, signed_message, nullptr, content, result), 0);
  EXPECT_EQ(block_bytes(content), message);
  ASSERT_EQ(vm().get_int(result, "sign_num"), 1);
  std::vector<Obj> signs = vm().elements(vm().get(result, "signs"));
  ASSERT_EQ(signs.size(), 1u);
  EXPECT_EQ(vm().get_int(signs[0], "status"), 0);
  EXPECT_EQ(vm().get_long(signs[0], "timeEx"), 0x66000000);
  Obj cert = vm().get(signs[0], "cert");
  ASSERT_NE(cert, nullptr);
  EXPECT_EQ(text(cert, "subject"), standin::CertificateText::subject(1));
  EXPECT_EQ(text(cert, "issuer"), standin::CertificateText::issuer(1));
  EXPECT_EQ(vm().get_long(cert, "notAfterEx"), 4294967280LL) << "a time widens without sign";
  EXPECT_EQ(vm().elements(vm().get(cert, "policies")).size(), 3u);
}

TEST_F(Bridge, ParseCertFillsEveryPartOfTheCallersCertificate) {
  Obj self = open();
  Bytes der{0x30, 0x03, 1, 2, 3};
  Obj cert = vm().make("certificate_t");
  ASSERT_EQ(call("ParseCert", self, block(der), int32_t(0), cert), 0);
  EXPECT_EQ(text(cert, "subject"), standin::CertificateText::subject(7));
  EXPECT_EQ(text(vm().get(cert, "subjectAltName"), "DNS"), "subject7.DNS");
  std::vector<Obj> extensions = vm().elements(vm().get(cert, "extensions"));
  ASSERT_EQ(extensions.size(), 2u);
  EXPECT_EQ(vm().get_int(extensions[1], "len"), 5);
  EXPECT_EQ(block_bytes(vm().get(cert, "certEncoded")), der);
}

// Forty certificates in one result: the bridge keeps its live local references within what a
// native method's frame may hold.
TEST_F(Bridge, FindCertReturnsEveryCertificateFoundWithinTheReferenceCapacity) {
  Obj self = open();
  std::string issuer_seen;
  ON(QUMEN_FindCert, [&](context_t c, find_param_t* p, find_result_t* r) {
    issuer_seen = p->certTemplate.issuer != nullptr ? p->certTemplate.issuer : "(null)";
    standin::fill_find_result(c, r, 40);
    return 0;
  });
  Obj wanted = vm().make("certificate_t");
  vm().set(wanted, "issuer", str("CN=Wanted"));
  Obj param = vm().make("find_param_t");
  vm().set(param, "certTemplate", wanted);
  Obj result = vm().make("find_result_t");
  ASSERT_EQ(call("FindCert", self, param, result), 0);
  EXPECT_EQ(issuer_seen, "CN=Wanted");
  std::vector<Obj> certs = vm().elements(vm().get(result, "certs"));
  ASSERT_EQ(certs.size(), 40u);
  for (int i = 0; i < 40; ++i)
    EXPECT_EQ(text(certs[size_t(i)], "subject"), standin::CertificateText::subject(11 + i));
}

// ---- An envelope, a stream
// -------------------------------------------------------------------------

TEST_F(Bridge, AnEnvelopeMakesARoundTrip) {
  Obj self = open();
  Bytes plain{1, 2, 3, 4, 5};
  Obj sealed = vm().make("mem_blk_t");
  ASSERT_EQ(call("EncryptMem", self, vm().make("encrypt_param_t"), block(plain), sealed), 0);
  EXPECT_NE(block_bytes(sealed), plain);
  Obj opened = vm().make("mem_blk_t");
  Obj result = vm().make("decrypt_result_t");
  ASSERT_EQ(call("DecryptMem", self, vm().make("decrypt_param_t"), sealed, opened, result), 0);
  EXPECT_EQ(block_bytes(opened), plain);
  EXPECT_EQ(text(vm().get(result, "sender"), "subject"), standin::CertificateText::subject(2));
}

TEST_F(Bridge, AStreamHashesWhatItIsGivenAndEndsItsHandle) {
  Obj self = open();
  Obj h = vm().make("strhandle_t");
  ASSERT_EQ(call("StrHashInitMem", self, str("sha256"), h), 0);
  EXPECT_NE(handle(h), 0);
  Bytes all;
  for (Bytes piece : {Bytes{1, 2}, Bytes{}, Bytes{3, 4, 5}}) {
    ASSERT_EQ(call("StrHashUpdateMem", self, h, block(piece)), 0);
    all.insert(all.end(), piece.begin(), piece.end());
  }
  Obj digest = vm().make("mem_blk_t");
  ASSERT_EQ(call("StrHashFinalMem", self, h, digest), 0);
  EXPECT_EQ(handle(h), 0);
  Obj whole = vm().make("mem_blk_t");
  ASSERT_EQ(call("HashMem", self, block(all), whole), 0);
  EXPECT_EQ(block_bytes(digest), block_bytes(whole));
  EXPECT_EQ(standin::open_handles(), 0u);
}

// ---- Faults, exceptions, texts
// ----------------------------------------------------------------------

TEST_F(Bridge, AFaultInTheLibraryReturnsItsCodeAndLeavesTheResultsAlone) {
  Obj self = open();
  const std::pair<Fault, jint> faults[] = {{Fault::kSegv, kAccessViolation},
                                           {Fault::kFpe, kIntDivideByZero},
                                           {Fault::kIll, kIllegalInstruction}};
  for (auto [kind, code] : faults) {
    fault("QUMEN_HashMem", kind);
    Obj out = block({1, 2, 3});
    EXPECT_EQ(call("HashMem", self, block({9}), out), code);
    EXPECT_EQ(block_bytes(out), (Bytes{1, 2, 3}));
    EXPECT_EQ(call("HashMem", self, block({9}), out), 0) << "and the next call works";
  }

  ON(QUMEN_HashMem, [](context_t c, mem_blk_t*, mem_blk_t* out) {
    out->buf = standin::bytes(c, {1, 2});
    out->len = 2;
    standin::crash(Fault::kSegv);
    return 0;
  });
  EXPECT_EQ(call("HashMem", self, block({1}), vm().make("mem_blk_t")), kAccessViolation);
  EXPECT_EQ(standin::outstanding(), 1u) << "a faulted call's results are the library's";
  standin::ledger_forget();
}

// A stack overflow inside the library returns its code, and the thread's guard page is restored:
// a second overflow on the same thread is caught too (without it the process would end), and
// ordinary calls go on.
TEST_F(Bridge, StackOverflowsInTheLibraryReturnTheirCodeAgainOnTheSameThread) {
  Obj self = open();
  for (int overflow = 1; overflow <= 2; ++overflow) {
    fault("QUMEN_HashMem", Fault::kStack);
    Obj out = block({1, 2, 3});
    EXPECT_EQ(call("HashMem", self, block({9}), out), kStackOverflow) << "overflow " << overflow;
    EXPECT_EQ(block_bytes(out), (Bytes{1, 2, 3}));
  }
  Obj out = vm().make("mem_blk_t");
  EXPECT_EQ(call("HashMem", self, block({9}), out), 0);
  EXPECT_EQ(vm().get_int(out, "len"), 32);
  EXPECT_EQ(call("Uninitialize", self), 0);
}

TEST_F(Bridge, TheTransformationPairReturnsMinusOneOnAFault) {
  Obj self = vm().make("Norv1/LocalIface");
  Obj first = vm().bytes({1, 2, 3});
  EXPECT_EQ(call("EncodeMem", self, first, vm().bytes({0x10, 0x20, 0x30}), int32_t(3)), 0);
  EXPECT_EQ(vm().bytes_of(first), (Bytes{0x4A, 0x7A, 0x6A})) << "the first array is written back";
  fault("QUMEN_DecodeMem", Fault::kIll);
  EXPECT_EQ(call("DecodeMem", self, first, vm().bytes({1, 2, 3}), int32_t(3)), -1);
}

// The first exception stands: a count beyond its array makes the VM's own error, and nothing
// converted before it leaks.
TEST_F(Bridge, AnExceptionDuringTheArgumentsSkipsTheLibraryAndReleasesWhatWasConverted) {
  Obj self = open();
  standin::clear_calls();
  Obj param = vm().make("verify_param_t");
  vm().set(param, "policy_num", 2);
  Obj policy = vm().make("policy_t");
  vm().set(policy, "oid", str("1.2.3"));
  vm().set(param, "policies", vm().array("policy_t", {policy}));
  EXPECT_EQ(call("VerifyMem", self, param, block({1}), nullptr, vm().make("mem_blk_t"),
                 vm().make("verify_result_t")),
            kPending);
  EXPECT_THROWN("java.lang.ArrayIndexOutOfBoundsException", "Index 1 out of bounds for length 1");
  EXPECT_EQ(standin::count("QUMEN_VerifyMem"), 0u);
}

// A result record that lacks a field: NoSuchFieldException, and the native result the
// conversion did not finish goes back to the library.
TEST_F(Bridge, AResultRecordMissingAFieldRaisesNoSuchFieldExceptionAndGivesTheResultBack) {
  Obj self = open();
  Obj sealed = vm().make("mem_blk_t");
  ASSERT_EQ(call("EncryptMem", self, nullptr, block({7, 7}), sealed), 0);
  Obj opened = vm().make("mem_blk_t");
  Obj not_a_result = vm().make("strhandle_t");  // through JNI any object goes
  EXPECT_EQ(call("DecryptMem", self, nullptr, sealed, opened, not_a_result), kPending);
  EXPECT_THROWN("java.lang.NoSuchFieldException", "decrypt_result_t2jobject:sender");
  EXPECT_EQ(block_bytes(opened), (Bytes{7, 7})) << "the results before it were converted";
  EXPECT_EQ(standin::count("QUMEN_FreeDecryptResult"), 1u);
}

TEST_F(Bridge, GetErrorTextReturnsTheLibrarysTextOrNull) {
  Obj self = open();
  Obj text = call_object("GetErrorText", self, int32_t(standin::kMismatch));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(vm().units_of(text), u"stand-in: verification found a difference");
  EXPECT_EQ(call_object("GetErrorText", self, int32_t(0x1234)), nullptr);
  EXPECT_FALSE(vm().exception_pending());
}

// ---- The kit's natives, in tarvex.dll ----------------------------------------------------------

TEST_F(Bridge, TheKitNamesTheLibrarysFunctionsAndProgramsThem) {
  using Functions = jobjectArray(JNICALL*)(JNIEnv*, jclass);
  using Rule0 = jlong(JNICALL*)(JNIEnv*, jclass, jint, jboolean, jlong, jlong, jlong, jint, jint,
                                jint, jint, jbyteArray);
  HMODULE standin_dll = GetModuleHandleW(L"tarvex.dll");
  auto functions = reinterpret_cast<Functions>(
      GetProcAddress(standin_dll, "Java_tarvexjni_standin_StandIn_functions0"));
  auto rule0 =
      reinterpret_cast<Rule0>(GetProcAddress(standin_dll, "Java_tarvexjni_standin_StandIn_rule0"));
  ASSERT_NE(functions, nullptr);
  ASSERT_NE(rule0, nullptr);

  vm().enter_native();
  std::vector<Obj> names = vm().elements(vm().object_of(functions(vm().env(), nullptr)));
  vm().leave_native();
  std::vector<std::u16string> texts;
  for (Obj n : names) texts.push_back(vm().units_of(n).value_or(u"(null)"));
  EXPECT_EQ(texts.size(), 191u) << "every function of the library, without its prefix";
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"FreeMem"), texts.end());
  auto hash = std::find(texts.begin(), texts.end(), u"HashMem");
  ASSERT_NE(hash, texts.end());

  // The next HashMem on any thread raises an access violation (the kit's SEGV).
  vm().enter_native();
  jlong id = rule0(vm().env(), nullptr, jint(hash - texts.begin()), JNI_FALSE, 1, 1, 0,
                   jint(standin::Action::kFault), 0, 0, 0, nullptr);
  vm().leave_native();
  EXPECT_GT(id, 0);
  Obj self = open();
  EXPECT_EQ(call("HashMem", self, block({1}), vm().make("mem_blk_t")), kAccessViolation);
  EXPECT_EQ(call("HashMem", self, block({1}), vm().make("mem_blk_t")), 0) << "one call only";
}

}  // namespace
