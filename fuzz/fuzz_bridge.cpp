// libFuzzer target: every native method of LocalIface under random Java arguments and random
// answers of the library, in one JVM started in this process.
//
// One input is up to three calls. For each, the input gives (FuzzedDataProvider): the method (an
// index into LocalIface's native methods, sorted by name), how the library answers (a status, or
// its default behaviour, or a machine fault before or after it filled its results), the process
// locale (C or UTF-8, which changes nothing: texts cross in windows-1252, which the setting
// tarvexjni.codeset names, as deployments name their encoding), the bytes from which
// tvfuzz.Shapes builds the Java arguments (null objects, counts around the arrays' lengths, len
// beyond buf, strings null, empty, long and outside the codeset, int[] of any length, handles,
// look-alike record classes), and the choices from which the stand-in builds its results
// (standin::fill_any).
//
// After every call the target checks, and aborts with a description when one fails:
//   - the status is 0xE0700001 exactly when a Java exception is pending (never for EncodeMem and
//     DecodeMem; GetErrorText returns a String), and a fault's code after a fault;
//   - a pending exception is one the bridge documents, or one the VM raises itself;
//   - the stand-in's ledger is clean: every block it handed out came back once, through the
//     right function, with the right context (after a fault, what the call left behind is
//     reclaimed here first, as the bridge must leave it alone);
//   - the JVM printed nothing (-Xcheck:jni warnings included);
// and every 256 inputs it runs a GC and an allocation in the JVM.
//
// Environment: TVJ_XCHECK=1 adds -Xcheck:jni; TVJ_FUZZ_SEEDS=<dir> writes a seed corpus (two
// inputs per method: a succeeding and a failing native call, each verified) and exits;
// TVJ_FUZZ_REACHED=<file> writes, at exit, each method with its counts of succeeding and
// failing native calls; TVJ_FUZZ_VERBOSE=1 prints every call and its Java arguments.
#include <dlfcn.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <jni.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "method_layouts.h"
#include "standin.h"

namespace {

constexpr uint32_t kPending = 0xE0700001;
constexpr size_t kCallsPerInput = 3;

JavaVM* the_vm = nullptr;
JNIEnv* env = nullptr;
std::string jvm_output;

jint JNICALL capture(FILE*, const char* format, va_list args) {
  char line[4096];
  int n = std::vsnprintf(line, sizeof line, format, args);
  jvm_output += line;
  return n;
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "\n==== tarvexjni fuzz finding: %s\n", what.c_str());
  if (!jvm_output.empty()) std::fprintf(stderr, "JVM output:\n%s\n", jvm_output.c_str());
  std::fflush(stderr);
  std::abort();  // libFuzzer's deadly-signal handler writes the reproducer
}

void require(bool ok, const char* what) {
  if (!ok) {
    if (env != nullptr && env->ExceptionCheck()) env->ExceptionDescribe();
    fail(std::string("harness: ") + what);
  }
}

// ---- The methods ----------------------------------------------------------------------------

struct Method {
  std::string name;    // QUMENJNI_<Op>
  std::string params;  // one letter per Java parameter: I int, J long, L object
  bool returns_string;
  std::string
      declared;  // the checked exceptions it declares: "java.io.CharConversionException ..."
  void* exported;
  void (*install)();   // programs the stand-in's answer for one call
  const void* native;  // the QUMEN_ function, for faults
  long reached[2];     // native calls that succeeded, failed
};
std::vector<Method> methods;
jclass shapes_class, local_iface_class, system_class;
jmethodID shapes_arguments, int_value, long_value, class_name, gc, get_message;

// ---- The library's answer ---------------------------------------------------------------------

// What the library does in the current call.
struct Answer {
  int32_t status = 0;
  standin::Fault fault = standin::Fault::kNone;
  bool fault_after = false;  // the fault comes after the results are in place
  bool entered = false;
  std::vector<jlong>* handles = nullptr;  // handles issued so far in this input
};
Answer answer;
FuzzedDataProvider* input = nullptr;

const standin::Choose choose = [](uint32_t bound) {
  return bound < 2 ? 0u : input->ConsumeIntegralInRange<uint32_t>(0, bound - 1);
};

template <typename T>
void give(context_t c, char letter, T arg) {
  if constexpr (std::is_pointer_v<T>) {
    if constexpr (requires { standin::fill_any(c, choose, arg); })
      if (std::islower(letter) || letter == 'O') standin::fill_any(c, choose, arg);
  }
}
void give(context_t, char letter, strhandle_t* h) {
  if (letter != 'H') return;
  switch (choose(4)) {
    case 0:
      break;  // left as it is
    case 1:
      *h = strhandle_t{0};
      break;
    default: {
      jlong issued = jlong(0x5151000000000000ll | choose(1u << 16));
      *h = strhandle_t(issued);
      answer.handles->push_back(issued);
    }
  }
}
void give(context_t, char letter, int32_t* word) {
  if (letter == 'W' && word != nullptr) *word = int32_t(choose(0xFFFFFFFFu));
}
void give(context_t, char letter, context_t* out) {
  if (letter == 'x' && answer.status == 0) *out = standin::open_context();
}

template <typename T>
void context_of(T arg, context_t& c) {
  if constexpr (std::is_same_v<T, context_t>) c = arg;
}

int32_t finish() {
  if (answer.fault != standin::Fault::kNone && answer.fault_after) standin::crash(answer.fault);
  return answer.status;
}

// Answers for a function whose arguments are `layout` (after the context, where it takes one).
template <auto Fn>
void respond(const char* layout) {
  standin::on<Fn>([layout](auto... args) -> int32_t {
    answer.entered = true;
    context_t c{};
    (context_of(args, c), ...);
    constexpr bool with_context = (std::is_same_v<decltype(args), context_t> || ...);
    size_t i = with_context ? size_t(-1) : 0;  // the context takes no letter
    (give(c, i < std::strlen(layout) ? layout[i++] : (++i, '?'), args), ...);
    return finish();
  });
}

#define ROW(op, layout)                                  \
  {"QUMENJNI_" #op, [] { respond<QUMEN_##op>(layout); }, \
   reinterpret_cast<const void*>(&QUMEN_##op)},
struct Known {
  const char* name;
  void (*install)();
  const void* native;
};
const Known kKnown[] = {
    TVJ_FRAME_METHODS(ROW)
    // The departures from the frame, in the same letters (x: a new context, P: an input the
    // stand-in does not fill).
    ROW(Initialize, "NTx") ROW(InitializeEx, "TPx") ROW(InitMinimal, "x") ROW(Uninitialize, "")
        ROW(EncodeMem, "PPG") ROW(DecodeMem, "PPG") ROW(EnumStoreObjects, "_HOT")
            ROW(EnumStoreObjectsEx, "_NNHOT") ROW(CreateCertificateStore, "ITITNNT")
    // Selector 4 offers the bridge's own 4096-byte block: the library writes into it and
    // leaves a len of its choice (beyond the block, negative), never a buffer of its own.
    {"QUMENJNI_ControlEx",
     [] {
       standin::on<QUMEN_ControlEx>(
           [](context_t c, int64_t, int32_t selector, mem_blk_t*, mem_blk_t* out, int32_t) {
             answer.entered = true;
             if (selector != 4) {
               give(c, 'O', out);
             } else {
               static const int32_t kLens[] = {0, 1, 4096, 4097, -3, 1 << 30};
               out->len = kLens[choose(std::size(kLens))];
               std::memset(out->buf, 'c', size_t(std::clamp(out->len, 0, 4096)));
             }
             return finish();
           });
     },
     reinterpret_cast<const void*>(&QUMEN_ControlEx)},
    {"QUMENJNI_GetErrorText",
     [] {
       standin::on<QUMEN_GetErrorText>([](int32_t, char* buffer, int32_t capacity) -> string_t {
         answer.entered = true;
         int32_t n = int32_t(choose(uint32_t(capacity)));
         std::memset(buffer, 'e', size_t(n));
         buffer[n] = '\0';
         if (choose(4) == 0) buffer[0] = char(0xE9);  // outside ASCII
         finish();
         return answer.status == 0 ? buffer : nullptr;
       });
     },
     reinterpret_cast<const void*>(&QUMEN_GetErrorText)},
    {"QUMENJNI_QueryRegistryProfile",
     [] {
       standin::on<QUMEN_QueryRegistryProfile>([](context_t, char* buffer, int32_t size, int32_t) {
         answer.entered = true;
         if (buffer != nullptr && size > 0) {
           int32_t n = int32_t(choose(uint32_t(size)));
           std::memset(buffer, 'q', size_t(n));
           buffer[n] = '\0';
         }
         return finish();
       });
     },
     reinterpret_cast<const void*>(&QUMEN_QueryRegistryProfile)},
};
#undef ROW

// ---- The JVM --------------------------------------------------------------------------------

// A String a Java method just returned (the exception check JNI asks for comes first).
std::string utf8(jstring s) {
  require(!env->ExceptionCheck(), "a Java method of the harness threw");
  if (s == nullptr) return "<null>";
  const char* chars = env->GetStringUTFChars(s, nullptr);
  std::string out(chars);
  env->ReleaseStringUTFChars(s, chars);
  return out;
}

jclass global_class(const char* name) {
  jclass local = env->FindClass(name);
  require(local != nullptr, name);
  auto global = static_cast<jclass>(env->NewGlobalRef(local));
  env->DeleteLocalRef(local);
  return global;
}

void start_jvm() {
  std::vector<std::string> options = {
      std::string("-Djava.class.path=") + TVJ_JAR + ":" + TVJ_FUZZ_JAR,
      std::string("-Dtarvexjni.library=") + TVJ_LIB_DIR + "/libtarvexjni.so",
      "-Dtarvexjni.codeset=windows-1252",
      "-Xmx512m",
      "-XX:+UseSerialGC",  // one GC thread: the machine is shared
  };
  if (const char* x = std::getenv("TVJ_XCHECK"); x && std::string(x) == "1")
    options.push_back("-Xcheck:jni");
  std::vector<JavaVMOption> vm_options;
  for (auto& o : options) vm_options.push_back(JavaVMOption{o.data(), nullptr});
  vm_options.push_back(
      JavaVMOption{const_cast<char*>("vfprintf"), reinterpret_cast<void*>(&capture)});
  JavaVMInitArgs init{JNI_VERSION_1_8, jint(vm_options.size()), vm_options.data(), JNI_FALSE};
  require(JNI_CreateJavaVM(&the_vm, reinterpret_cast<void**>(&env), &init) == JNI_OK, "JVM start");

  local_iface_class = global_class("Norv1/LocalIface");  // loads the bridge
  shapes_class = global_class("tvfuzz/Shapes");
  system_class = global_class("java/lang/System");
  shapes_arguments = env->GetStaticMethodID(shapes_class, "arguments",
                                            "(I[BLNorv1/LocalIface;[J)[Ljava/lang/Object;");
  int_value = env->GetMethodID(global_class("java/lang/Integer"), "intValue", "()I");
  long_value = env->GetMethodID(global_class("java/lang/Long"), "longValue", "()J");
  class_name = env->GetMethodID(global_class("java/lang/Class"), "getName", "()Ljava/lang/String;");
  get_message =
      env->GetMethodID(global_class("java/lang/Throwable"), "getMessage", "()Ljava/lang/String;");
  gc = env->GetStaticMethodID(system_class, "gc", "()V");
  require(shapes_arguments && int_value && long_value && class_name && get_message && gc,
          "method IDs");

  void* bridge =
      dlopen((std::string(TVJ_LIB_DIR) + "/libtarvexjni.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  require(bridge != nullptr, "the bridge is loaded");

  jmethodID names = env->GetStaticMethodID(shapes_class, "names", "()[Ljava/lang/String;");
  jmethodID descriptor =
      env->GetStaticMethodID(shapes_class, "descriptor", "(I)Ljava/lang/String;");
  jmethodID declared = env->GetStaticMethodID(shapes_class, "declared", "(I)Ljava/lang/String;");
  auto list = static_cast<jobjectArray>(env->CallStaticObjectMethod(shapes_class, names));
  require(!env->ExceptionCheck() && list != nullptr, "Shapes.names");
  for (jsize i = 0; i < env->GetArrayLength(list); ++i) {
    Method m{};
    auto name = static_cast<jstring>(env->GetObjectArrayElement(list, i));
    auto described = static_cast<jstring>(env->CallStaticObjectMethod(shapes_class, descriptor, i));
    m.name = utf8(name);
    std::string desc = utf8(described);
    env->DeleteLocalRef(name);  // else two references per method, 352, stay live in this frame
    env->DeleteLocalRef(described);
    auto exceptions = static_cast<jstring>(env->CallStaticObjectMethod(shapes_class, declared, i));
    m.declared = utf8(exceptions);
    env->DeleteLocalRef(exceptions);
    for (size_t k = 1; desc[k] != ')'; ++k) {
      char c = desc[k];
      while (desc[k] == '[') ++k;
      if (desc[k] == 'L') k = desc.find(';', k);
      m.params += c == 'I' || c == 'J' ? c : 'L';
    }
    m.returns_string = desc.ends_with(")Ljava/lang/String;");
    std::string symbol = "Java_Norv1_LocalIface_QUMENJNI_1" + m.name.substr(9);
    m.exported = dlsym(bridge, symbol.c_str());
    require(m.exported != nullptr, symbol.c_str());
    for (const Known& k : kKnown)  // the last entry of a name wins (ControlEx's own)
      if (m.name == k.name) m.install = k.install, m.native = k.native;
    require(m.install != nullptr, (m.name + " has no answer").c_str());
    methods.push_back(m);
  }
  require(methods.size() == std::size(layouts::kNativeMethods), "every native method");
  env->DeleteLocalRef(list);
  if (!jvm_output.empty()) fail("the JVM printed while the target started");
}

// The exported function called directly, as the JVM would call it, so that the status is seen
// together with the exception. Every parameter travels as one 64-bit word: on x86_64 and
// aarch64 an int, a long and a reference all take one integer register (or one 8-byte stack
// slot), and a callee reads an int from the low half, so one function type serves every
// method; the check of function types at the call is off for this one call.
using Exported = uint64_t (*)(JNIEnv*, jclass, uint64_t, uint64_t, uint64_t, uint64_t, uint64_t,
                              uint64_t, uint64_t, uint64_t, uint64_t, uint64_t);
__attribute__((no_sanitize("function"))) uint64_t invoke(void* fn, const uint64_t (&w)[10]) {
  return reinterpret_cast<Exported>(fn)(env, local_iface_class, w[0], w[1], w[2], w[3], w[4], w[5],
                                        w[6], w[7], w[8], w[9]);
}

// The pending exception: its class name and message, taken and cleared.
std::string take_exception() {
  jthrowable t = env->ExceptionOccurred();
  env->ExceptionClear();
  jclass tc = env->GetObjectClass(t);
  std::string name = utf8(static_cast<jstring>(env->CallObjectMethod(tc, class_name)));
  std::string message = utf8(static_cast<jstring>(env->CallObjectMethod(t, get_message)));
  return name + ": " + message;
}

bool allowed(const std::string& exception) {
  static const char* const kAllowed[] = {
      // The bridge's own.
      "java.lang.NoSuchFieldException:",
      "java.lang.ClassNotFoundException:",
      "java.lang.OutOfMemoryError:",
      "java.io.CharConversionException:",
      "java.lang.ArrayIndexOutOfBoundsException:",
      "java.lang.NullPointerException:",
  };
  for (const char* a : kAllowed)
    if (exception.starts_with(a)) return true;
  return false;
}

// Whether a caller of the method can catch the exception by its class: an unchecked one, or a
// checked one the method declares. A NoSuchFieldException for a field other than a handle's
// comes from a look-alike record class, which this jar's classes never are.
bool declares(const Method& m, const std::string& exception) {
  const std::string name = exception.substr(0, exception.find(':'));
  if (name == "java.io.CharConversionException" ||
      (name == "java.lang.NoSuchFieldException" && exception.ends_with(":handle")))
    return m.declared.find(name + " ") != std::string::npos;
  return true;
}

bool is_fault_code(uint32_t status) {
  return status == 0xC0000005 || status == 0xC0000006 || status == 0x80000002 ||
         (status >= 0xC000008C && status <= 0xC0000096) || status == 0xC000001D;
}

const int32_t kStatuses[] = {0x7E570001, 0x0BAD0001, 0x7FFFFFFF,          int32_t(0x80000000),
                             1,          0x7E570005, int32_t(0xE0700002), int32_t(0xE0700006)};

// One call: returns whether the library was reached (and with which status it answered).
bool one_call(FuzzedDataProvider& in, jobject self, std::vector<jlong>& handles,
              std::string& trace) {
  Method& m = methods[in.ConsumeIntegralInRange<size_t>(0, methods.size() - 1)];
  uint8_t how = in.ConsumeIntegral<uint8_t>();
  const bool utf8_locale = in.ConsumeBool();
  std::vector<uint8_t> java = in.ConsumeBytes<uint8_t>(in.ConsumeIntegral<uint8_t>());

  answer = Answer{};
  answer.handles = &handles;
  answer.status = how < 128 ? 0 : kStatuses[how % std::size(kStatuses)];
  // The stand-in's own behaviour, except where it would take what it is told to (GenRandom's
  // count) or needs a handler (GetErrorText).
  const bool default_behaviour =
      how % 16 == 15 && m.name != "QUMENJNI_GetErrorText" && m.name != "QUMENJNI_GenRandom";
  if (how % 32 == 14 || how % 32 == 30) {
    static const standin::Fault kFaults[] = {standin::Fault::kSegv, standin::Fault::kSegv,
                                             standin::Fault::kFpe, standin::Fault::kIll,
                                             standin::Fault::kBus};
    answer.fault = kFaults[(how >> 5) % std::size(kFaults)];
    answer.fault_after = how % 32 == 30 && !default_behaviour;
  }
  standin::reset();
  // A library refuses what it cannot give: buffers beyond 64 MiB are refused (the bridge's
  // 0xE0700006), so that a size of 2^31 - 1 does not take the machine's memory.
  standin::on<QUMEN_AllocMem>([](context_t c, int64_t size) -> void* {
    return size > (int64_t(64) << 20) ? nullptr : standin::alloc(c, size);
  });
  if (!default_behaviour) m.install();
  if (answer.fault != standin::Fault::kNone && !answer.fault_after)
    standin::set_fault(m.native, answer.fault, 1);
  std::setlocale(LC_CTYPE, utf8_locale ? "C.UTF-8" : "C");

  // The Java arguments.
  jbyteArray bytes = env->NewByteArray(jsize(java.size()));
  env->SetByteArrayRegion(bytes, 0, jsize(java.size()),
                          reinterpret_cast<const jbyte*>(java.data()));
  jlongArray issued = env->NewLongArray(jsize(handles.size()));
  env->SetLongArrayRegion(issued, 0, jsize(handles.size()), handles.data());
  jsize index = jsize(&m - methods.data());
  auto args = static_cast<jobjectArray>(
      env->CallStaticObjectMethod(shapes_class, shapes_arguments, index, bytes, self, issued));
  require(!env->ExceptionCheck() && args != nullptr, "Shapes.arguments");
  uint64_t words[10] = {};
  for (size_t k = 0; k < m.params.size(); ++k) {
    jobject a = env->GetObjectArrayElement(args, jsize(k));
    if (m.params[k] == 'I')
      words[k] = uint32_t(env->CallIntMethod(a, int_value));
    else if (m.params[k] == 'J')
      words[k] = uint64_t(env->CallLongMethod(a, long_value));
    else
      words[k] = reinterpret_cast<uintptr_t>(a);  // a local reference, freed with the frame
    require(!env->ExceptionCheck(), "unboxing");
  }
  // EncodeMem and DecodeMem give the library copies at least as long as the length the caller
  // names, so that it cannot write past a short array: 2^31 - 1 is served with 2 GiB a copy,
  // which is the caller's to ask and beyond this process's memory limit, not a finding.
  if ((m.name == "QUMENJNI_EncodeMem" || m.name == "QUMENJNI_DecodeMem") && m.params[3] == 'I' &&
      int32_t(words[3]) > (int32_t(64) << 20))
    words[3] = uint32_t(64) << 20;
  trace += m.name + (default_behaviour ? " (default)" : "") + " status " +
           std::to_string(answer.status) + (answer.fault != standin::Fault::kNone ? " fault" : "") +
           (utf8_locale ? " UTF-8" : " C") + "; ";

  static const bool verbose = std::getenv("TVJ_FUZZ_VERBOSE") != nullptr;
  if (verbose) {
    jmethodID describe =
        env->GetStaticMethodID(shapes_class, "describe", "([Ljava/lang/Object;)Ljava/lang/String;");
    std::fprintf(
        stderr, "%s %s\n", trace.c_str(),
        utf8(static_cast<jstring>(env->CallStaticObjectMethod(shapes_class, describe, args)))
            .c_str());
  }
  const size_t unraised = standin::faults_not_raised();
  uint64_t result = invoke(m.exported, words);
  const bool native_called = standin::count("QUMEN_" + m.name.substr(9)) > 0;
  const bool faulted = answer.fault != standin::Fault::kNone && native_called &&
                       standin::faults_not_raised() == unraised;
  std::setlocale(LC_CTYPE, "C");

  // The invariants.
  const uint32_t status = uint32_t(result);
  const bool pending = env->ExceptionCheck();
  std::string exception = pending ? take_exception() : "";
  auto where = [&] { return m.name + " (" + trace + ")"; };
  if (pending && !allowed(exception))
    fail("an exception the bridge does not document: " + exception + " in " + where());
  if (pending && !declares(m, exception))
    fail("a checked exception the method does not declare: " + exception + " in " + where());
  if (m.returns_string) {
    if ((faulted || pending) && result != 0)
      fail("a String after a fault or with an exception in " + where());
  } else if (m.name == "QUMENJNI_EncodeMem" || m.name == "QUMENJNI_DecodeMem") {
    if (pending) fail("an exception from " + where());
    if (faulted && status != 0xFFFFFFFF)
      fail("status " + std::to_string(status) + " after a fault in " + where());
  } else {
    if (pending != (status == kPending))
      fail("status " + std::to_string(status) +
           (pending ? " with " + exception : " without an exception") + " in " + where());
    if (faulted && !pending && !is_fault_code(status))
      fail("status " + std::to_string(status) + " after a fault in " + where());
  }
  if (faulted) standin::reclaim();  // the results of a faulted call are the harness's to reclaim
  std::vector<std::string> problems = standin::ledger_problems();
  if (!problems.empty()) fail("ledger: " + problems.front() + " in " + where());
  if (!jvm_output.empty()) fail("the JVM printed during " + where());
  if (answer.entered && !faulted) ++m.reached[answer.status == 0 ? 0 : 1];
  return answer.entered;
}

void report_reached() {
  const char* path = std::getenv("TVJ_FUZZ_REACHED");
  if (path == nullptr) return;
  std::ofstream out(path);
  for (const Method& m : methods)
    out << m.name << ' ' << m.reached[0] << ' ' << m.reached[1] << '\n';
}

int run_input(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  input = &in;
  require(env->PushLocalFrame(256) == JNI_OK, "PushLocalFrame");
  jobject self = env->AllocObject(local_iface_class);
  jfieldID handle = env->GetFieldID(local_iface_class, "handle", "J");
  env->SetLongField(self, handle, jlong(standin::open_context()));
  std::vector<jlong> handles;
  std::string trace;
  for (size_t i = 0; i < kCallsPerInput && in.remaining_bytes() > 0; ++i)
    one_call(in, self, handles, trace);
  env->PopLocalFrame(nullptr);
  standin::reset();
  standin::end_all_contexts();
  standin::end_all_handles();

  static unsigned inputs = 0;
  if (++inputs % 256 == 0) {  // the JVM stays healthy: a collection and an allocation
    env->CallStaticVoidMethod(system_class, gc);
    require(!env->ExceptionCheck(), "System.gc");
    jbyteArray a = env->NewByteArray(1 << 16);
    require(a != nullptr && !env->ExceptionCheck(), "allocation after a GC");
    env->DeleteLocalRef(a);
  }
  return 0;
}

// Two verified seeds per method: one whose native call succeeds, one whose call fails.
void write_seeds(const char* dir) {
  size_t written = 0;
  for (size_t i = 0; i < methods.size(); ++i) {
    for (int failing = 0; failing < 2; ++failing) {
      bool done = false;
      for (int pattern = 1; pattern < 256 && !done; ++pattern) {
        std::vector<uint8_t> seed(64);
        for (size_t k = 0; k < seed.size(); ++k)
          seed[k] = uint8_t(pattern * 37 + k * (pattern % 7));
        // From the end: method, how the library answers, locale, the Java bytes' length.
        seed.push_back(64);
        seed.push_back(0);
        seed.push_back(failing ? 128 : 0);
        seed.push_back(uint8_t(i));
        long before = methods[i].reached[failing];
        run_input(seed.data(), seed.size());
        if (methods[i].reached[failing] == before) continue;
        std::string path =
            std::string(dir) + "/" + methods[i].name.substr(9) + (failing ? "-fails" : "-succeeds");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(seed.data()), std::streamsize(seed.size()));
        done = true;
        ++written;
      }
      if (!done)
        std::fprintf(stderr, "no seed reaches %s %s\n", methods[i].name.c_str(),
                     failing ? "failing" : "succeeding");
    }
  }
  std::fprintf(stderr, "%zu seeds written to %s\n", written, dir);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  start_jvm();
  std::atexit(report_reached);
  if (const char* dir = std::getenv("TVJ_FUZZ_SEEDS")) {
    write_seeds(dir);
    std::fflush(stderr);
    std::_Exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return run_input(data, size);
}
