// The natives of tarvexjni.standin.StandIn, the Java test kit: the kit loads this library as
// the process's libtarvex.so, and these functions program it from Java.
#include <jni.h>

#include <iterator>
#include <string>
#include <type_traits>
#include <vector>

#include "entry.h"
#include "jvm.h"
#include "platform.h"

using namespace standin;

namespace {

constexpr char kPrefix[] = "QUMEN_";

// What the kit checks before it programs a function: one bit for each kind of argument.
enum Trait : jint {
  kVerification = 1,  // fills a verify_result_t
  kContent = 2,       // has a block before the verify_result_t: a verification's content
  kFinds = 4,         // fills a find_result_t
  kBlocks = 8,        // has a block (where an output can be)
  kPointer = 16,      // returns a pointer, not a status
};

template <typename R, typename... A>
constexpr jint traits_of(R (*)(A...)) {
  jint traits = std::is_pointer_v<R> ? kPointer : 0;
  bool verification_seen = false;
  auto look = [&](auto* tag) {
    using T = std::remove_pointer_t<decltype(tag)>;
    if constexpr (std::is_same_v<T, verify_result_t*>) {
      traits |= kVerification;
      verification_seen = true;
    } else if constexpr (std::is_same_v<T, find_result_t*>) {
      traits |= kFinds;
    } else if constexpr (std::is_same_v<T, mem_blk_t*>) {
      traits |= kBlocks | (verification_seen ? 0 : kContent);
    }
  };
  (look(static_cast<A*>(nullptr)), ...);
  return (traits & kVerification) ? traits : traits & ~kContent;
}

// Every function of the library, in the order of its declarations, as the kit's enum has them.
struct Function {
  const char* name;
  const void* address;
  jint traits;
};
const Function kFunctions[] = {
#define STANDIN_FUNCTION(name) \
  {#name, reinterpret_cast<const void*>(&QUMEN_##name), traits_of(&QUMEN_##name)},
#include "functions.inc"
#undef STANDIN_FUNCTION
};
constexpr jint kFunctionCount = jint(sizeof kFunctions / sizeof kFunctions[0]);

// The function of the enum's ordinal; Java has checked it.
const void* key_of(jint function) {
  return function >= 0 && function < kFunctionCount ? kFunctions[function].address : nullptr;
}

jint index_of(const void* key) {
  for (jint i = 0; i < kFunctionCount; ++i)
    if (kFunctions[i].address == key) return i;
  return -1;
}

jobjectArray strings(JNIEnv* env, const std::vector<std::string>& items) {
  jclass string_class = env->FindClass("java/lang/String");
  if (string_class == nullptr) return nullptr;
  jobjectArray array = env->NewObjectArray(jsize(items.size()), string_class, nullptr);
  env->DeleteLocalRef(string_class);
  for (size_t i = 0; array != nullptr && i < items.size(); ++i) {
    jstring s = env->NewStringUTF(items[i].c_str());
    if (s == nullptr) return nullptr;
    env->SetObjectArrayElement(array, jsize(i), s);
    env->DeleteLocalRef(s);
  }
  return array;
}

jlongArray longs(JNIEnv* env, const std::vector<jlong>& items) {
  jlongArray array = env->NewLongArray(jsize(items.size()));
  if (array != nullptr) env->SetLongArrayRegion(array, 0, jsize(items.size()), items.data());
  return array;
}

std::vector<uint8_t> copy_of(JNIEnv* env, jbyteArray bytes) {
  if (bytes == nullptr) return {};
  std::vector<uint8_t> copy(size_t(env->GetArrayLength(bytes)));
  env->GetByteArrayRegion(bytes, 0, jsize(copy.size()), reinterpret_cast<jbyte*>(copy.data()));
  return copy;
}

std::string unprefixed(const std::string& function) {
  return function.rfind(kPrefix, 0) == 0 ? function.substr(sizeof kPrefix - 1) : function;
}

}  // namespace

extern "C" {

// The path of the libtarvex.so that the dynamic linker finds by that name in this process (as
// it finds the bridge's dependency) when it is not `kit`, the kit's own copy; else null. It
// compares paths, not addresses: when another stand-in came first, this may be its copy running.
JNIEXPORT jstring JNICALL Java_tarvexjni_standin_StandIn_foreignLibrary0(JNIEnv* env, jclass,
                                                                         jstring kit) {
  const char* ours = env->GetStringUTFChars(kit, nullptr);
  if (ours == nullptr) return nullptr;
  std::string where = platform::foreign_library(ours);
  env->ReleaseStringUTFChars(kit, ours);
  return where.empty() ? nullptr : env->NewStringUTF(where.c_str());
}

// The kit starts recording what calls receive (the C++ tests and the fuzzer do not need it), and
// naming Java threads and frames where the JVM can tell them; true where it can.
JNIEXPORT jboolean JNICALL Java_tarvexjni_standin_StandIn_start0(JNIEnv* env, jclass) {
  record_details(true);
  return jvm::start(env) ? JNI_TRUE : JNI_FALSE;
}

// How many calls of the function of that ordinal since the last reset, logged or dropped since.
JNIEXPORT jlong JNICALL Java_tarvexjni_standin_StandIn_count0(JNIEnv*, jclass, jint function) {
  return function >= 0 && function < kFunctionCount
             ? jlong(count(std::string(kPrefix) + kFunctions[function].name))
             : 0;
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_logLimit0(JNIEnv*, jclass, jlong calls) {
  set_log_limit(size_t(calls));
}

JNIEXPORT jlong JNICALL Java_tarvexjni_standin_StandIn_logLimit1(JNIEnv*, jclass) {
  return jlong(log_limit());
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_functions0(JNIEnv* env, jclass) {
  std::vector<std::string> names;
  for (const Function& f : kFunctions) names.push_back(f.name);
  return strings(env, names);
}

JNIEXPORT jintArray JNICALL Java_tarvexjni_standin_StandIn_traits0(JNIEnv* env, jclass) {
  std::vector<jint> traits;
  for (const Function& f : kFunctions) traits.push_back(f.traits);
  jintArray array = env->NewIntArray(kFunctionCount);
  if (array != nullptr) env->SetIntArrayRegion(array, 0, kFunctionCount, traits.data());
  return array;
}

JNIEXPORT jlong JNICALL Java_tarvexjni_standin_StandIn_thisThread0(JNIEnv*, jclass) {
  return jlong(thread_number());
}

// A rule (standin.h) for the function of that ordinal; Java has checked every value.
JNIEXPORT jlong JNICALL Java_tarvexjni_standin_StandIn_rule0(JNIEnv* env, jclass, jint function,
                                                             jboolean this_thread, jlong from,
                                                             jlong count, jlong delay_ns,
                                                             jint action, jint status, jint fault,
                                                             jint answer, jbyteArray data) {
  static const Fault kFaults[] = {Fault::kSegv, Fault::kBus, Fault::kFpe, Fault::kIll,
                                  Fault::kStack};
  Rule rule;
  rule.fn = key_of(function);
  if (rule.fn == nullptr) return 0;
  rule.thread = this_thread ? thread_number() : 0;
  rule.from = from;
  rule.count = count;
  rule.delay = std::chrono::nanoseconds(delay_ns);
  rule.action = Action(action);
  rule.status = status;
  rule.fault = kFaults[unsigned(fault) % std::size(kFaults)];
  rule.answer = AnswerKind(answer);
  rule.data = copy_of(env, data);
  return jlong(add_rule(std::move(rule)));
}

// For every rule: its id, the calls it counted, the calls in its window.
JNIEXPORT jlongArray JNICALL Java_tarvexjni_standin_StandIn_ruleUses0(JNIEnv* env, jclass) {
  std::vector<jlong> uses;
  for (const RuleUse& u : rule_uses()) {
    uses.push_back(jlong(u.id));
    uses.push_back(u.counted);
    uses.push_back(u.reached);
  }
  return longs(env, uses);
}

// Queued for the calls of this thread.
JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_output0(JNIEnv* env, jclass, jint function,
                                                              jbyteArray bytes) {
  if (const void* key = key_of(function)) queue_output(key, copy_of(env, bytes), thread_number());
}

// For every function and thread with outputs still queued: the function's ordinal, the thread,
// how many.
JNIEXPORT jlongArray JNICALL Java_tarvexjni_standin_StandIn_queued0(JNIEnv* env, jclass) {
  std::vector<jlong> queued;
  for (const Queued& q : queued_outputs()) {
    queued.push_back(index_of(q.fn));
    queued.push_back(jlong(q.thread));
    queued.push_back(jlong(q.count));
  }
  return longs(env, queued);
}

// Java has checked that the text is ASCII.
JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_errorText0(JNIEnv* env, jclass, jint status,
                                                                 jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  if (chars == nullptr) return;
  set_error_text(status, chars);
  env->ReleaseStringUTFChars(text, chars);
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_recordBytes0(JNIEnv*, jclass, jboolean on) {
  record_bytes(on);
}

JNIEXPORT jbyteArray JNICALL Java_tarvexjni_standin_StandIn_calls0(JNIEnv* env, jclass) {
  std::vector<uint8_t> encoded = encode_calls();
  jbyteArray array = env->NewByteArray(jsize(encoded.size()));
  if (array != nullptr)
    env->SetByteArrayRegion(array, 0, jsize(encoded.size()),
                            reinterpret_cast<const jbyte*>(encoded.data()));
  return array;
}

// The outstanding blocks as triples of texts: function, size in bytes, index of its call (-1).
JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_blocks0(JNIEnv* env, jclass) {
  std::vector<std::string> triples;
  for (const Outstanding& b : outstanding_blocks()) {
    triples.push_back(unprefixed(b.function));
    triples.push_back(std::to_string(b.size));
    triples.push_back(std::to_string(b.call));
  }
  return strings(env, triples);
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_releaseErrors0(JNIEnv* env, jclass) {
  return strings(env, release_errors());
}

JNIEXPORT jint JNICALL Java_tarvexjni_standin_StandIn_openHandles0(JNIEnv*, jclass) {
  return jint(open_handles());
}

JNIEXPORT jint JNICALL Java_tarvexjni_standin_StandIn_openContexts0(JNIEnv*, jclass) {
  return jint(live_contexts());
}

// The contexts, then the handles, opened since the last reset and still open, one after the
// other as texts: kind ("context", or the family of a handle), value, index of the call that
// opened it (-1: none logged), that call's function, thread, thread's name, the number of
// frames, and each frame (jvm::describe).
JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_leftOpen0(JNIEnv* env, jclass) {
  std::vector<detail::LeftOpen> open = detail::contexts_left_open();
  for (detail::LeftOpen& h : detail::handles_left_open()) open.push_back(std::move(h));
  std::vector<std::string> texts;
  for (const detail::LeftOpen& o : open) {
    const detail::Origin& from = o.origin;
    std::vector<std::string> frames = jvm::describe(env, from.frames);
    bool logged = from.call.generation != 0 && from.call.index >= 0;
    texts.insert(texts.end(),
                 {o.kind, std::to_string(o.value), std::to_string(logged ? from.call.index : -1),
                  unprefixed(from.function != nullptr ? from.function : ""),
                  std::to_string(from.thread), from.thread_name, std::to_string(frames.size())});
    texts.insert(texts.end(), frames.begin(), frames.end());
  }
  return strings(env, texts);
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_endWaits0(JNIEnv*, jclass, jboolean release) {
  if (release)
    release_waits();
  else
    end_waits();
}

JNIEXPORT jlong JNICALL Java_tarvexjni_standin_StandIn_programmingMark0(JNIEnv*, jclass) {
  return jlong(programming_mark());
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_dropProgrammingSince0(JNIEnv*, jclass,
                                                                            jlong mark) {
  drop_programming_since(uint64_t(mark));
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_reset0(JNIEnv*, jclass) {
  reset();
  record_bytes(false);
  ledger_forgive();
}

}  // extern "C"
