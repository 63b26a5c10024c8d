#include "jvm.h"

#include <dlfcn.h>
#include <pthread.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <sstream>

namespace tj {

namespace {

JavaVM* the_vm = nullptr;
std::mutex output_mutex;
std::string output;

jint JNICALL capture(FILE*, const char* format, va_list args) {
  char line[4096];
  int n = std::vsnprintf(line, sizeof line, format, args);
  std::lock_guard<std::mutex> lock(output_mutex);
  output += line;
  return n;
}

std::string full_name(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  return "Norv1/LocalIface$" + name;
}

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "harness: %s failed\n", what);
    if (env()->ExceptionCheck()) env()->ExceptionDescribe();
    std::abort();
  }
}

std::string field_signature(jobject o, const char* field) {
  JNIEnv* e = env();
  static jmethodID mid =
      e->GetStaticMethodID(cls("tvtest/Reflect"), "fieldSignature",
                           "(Ljava/lang/Class;Ljava/lang/String;)Ljava/lang/String;");
  jclass c = e->GetObjectClass(o);
  jstring name = e->NewStringUTF(field);
  auto sig = static_cast<jstring>(e->CallStaticObjectMethod(cls("tvtest/Reflect"), mid, c, name));
  check(!e->ExceptionCheck(), "fieldSignature");
  std::string out = sig ? *utf8(sig) : "";
  e->DeleteLocalRef(c);
  e->DeleteLocalRef(name);
  if (sig) e->DeleteLocalRef(sig);
  if (out.empty()) {
    std::fprintf(stderr, "harness: no field %s\n", field);
    std::abort();
  }
  return out;
}

jfieldID field_id(jobject o, const char* field, const std::string& sig) {
  jclass c = env()->GetObjectClass(o);
  jfieldID id = env()->GetFieldID(c, field, sig.c_str());
  env()->DeleteLocalRef(c);
  check(id != nullptr, field);
  return id;
}

}  // namespace

JNIEnv* env() {
  JNIEnv* e = nullptr;
  if (the_vm->GetEnv(reinterpret_cast<void**>(&e), JNI_VERSION_1_8) != JNI_OK)
    the_vm->AttachCurrentThread(reinterpret_cast<void**>(&e), nullptr);
  return e;
}

JavaVM* vm() { return the_vm; }

std::string take_output() {
  std::lock_guard<std::mutex> lock(output_mutex);
  return std::exchange(output, std::string());
}

jclass cls(const std::string& name) {
  static std::map<std::string, jclass> known;
  std::string full = full_name(name);
  auto it = known.find(full);
  if (it != known.end()) return it->second;
  jclass local = env()->FindClass(full.c_str());
  check(local != nullptr, full.c_str());
  auto global = static_cast<jclass>(env()->NewGlobalRef(local));
  env()->DeleteLocalRef(local);
  known[full] = global;
  return global;
}

jobject make(const std::string& name) {
  jclass c = cls(name);
  jmethodID ctor = env()->GetMethodID(c, "<init>", "()V");
  check(ctor != nullptr, "constructor");
  jobject o = env()->NewObject(c, ctor);
  check(o != nullptr && !env()->ExceptionCheck(), "NewObject");
  return o;
}

jobject self() { return make("Norv1/LocalIface"); }

void set(jobject o, const char* field, jint v) {
  env()->SetIntField(o, field_id(o, field, "I"), v);
}
void set(jobject o, const char* field, L v) {
  env()->SetLongField(o, field_id(o, field, "J"), v.v);
}
void set(jobject o, const char* field, jobject v) {
  env()->SetObjectField(o, field_id(o, field, field_signature(o, field)), v);
}
void set(jobject o, const char* field, const char* text) {
  jstring s = str(text);
  env()->SetObjectField(o, field_id(o, field, "Ljava/lang/String;"), s);
}
void set(jobject o, const char* field, const std::vector<uint8_t>& b) {
  env()->SetObjectField(o, field_id(o, field, "[B"), bytes(b));
}

jint get_int(jobject o, const char* field) {
  return env()->GetIntField(o, field_id(o, field, "I"));
}
jlong get_long(jobject o, const char* field) {
  return env()->GetLongField(o, field_id(o, field, "J"));
}
jobject get(jobject o, const char* field) {
  return env()->GetObjectField(o, field_id(o, field, field_signature(o, field)));
}
std::optional<std::vector<uint8_t>> get_bytes(jobject o, const char* field) {
  return bytes_of(static_cast<jbyteArray>(env()->GetObjectField(o, field_id(o, field, "[B"))));
}
std::optional<std::string> get_string(jobject o, const char* field) {
  return utf8(
      static_cast<jstring>(env()->GetObjectField(o, field_id(o, field, "Ljava/lang/String;"))));
}

jbyteArray bytes(const std::vector<uint8_t>& b) {
  jbyteArray a = env()->NewByteArray(jsize(b.size()));
  env()->SetByteArrayRegion(a, 0, jsize(b.size()), reinterpret_cast<const jbyte*>(b.data()));
  return a;
}

std::optional<std::vector<uint8_t>> bytes_of(jbyteArray a) {
  if (a == nullptr) return std::nullopt;
  std::vector<uint8_t> out(size_t(env()->GetArrayLength(a)));
  env()->GetByteArrayRegion(a, 0, jsize(out.size()), reinterpret_cast<jbyte*>(out.data()));
  return out;
}

jstring str(const char* text) { return text ? env()->NewStringUTF(text) : nullptr; }

jstring str16(const std::u16string& s) {
  return env()->NewString(reinterpret_cast<const jchar*>(s.data()), jsize(s.size()));
}

std::optional<std::string> utf8(jstring s) {
  if (s == nullptr) return std::nullopt;
  const char* chars = env()->GetStringUTFChars(s, nullptr);
  std::string out(chars);
  env()->ReleaseStringUTFChars(s, chars);
  return out;
}

jobjectArray array(const std::string& element, const std::vector<jobject>& items) {
  jobjectArray a = env()->NewObjectArray(jsize(items.size()), cls(element), nullptr);
  for (size_t i = 0; i < items.size(); ++i) env()->SetObjectArrayElement(a, jsize(i), items[i]);
  return a;
}

jintArray ints(const std::vector<jint>& v) {
  jintArray a = env()->NewIntArray(jsize(v.size()));
  env()->SetIntArrayRegion(a, 0, jsize(v.size()), v.data());
  return a;
}

std::vector<jint> ints_of(jintArray a) {
  std::vector<jint> out(size_t(env()->GetArrayLength(a)));
  env()->GetIntArrayRegion(a, 0, jsize(out.size()), out.data());
  return out;
}

jobject block(const std::vector<uint8_t>& data) { return block(data, jint(data.size())); }

jobject block(const std::vector<uint8_t>& data, jint len) {
  jobject b = make("mem_blk_t");
  set(b, "buf", data);
  set(b, "len", len);
  return b;
}

jvalue arg(jobject o) {
  jvalue v;
  v.l = o;
  return v;
}
jvalue arg(std::nullptr_t) { return arg(jobject(nullptr)); }
jvalue arg(jint i) {
  jvalue v;
  v.i = i;
  return v;
}
jvalue arg(L l) {
  jvalue v;
  v.j = l.v;
  return v;
}

std::string method_descriptor(const char* op) {
  JNIEnv* e = env();
  jmethodID describe = e->GetStaticMethodID(cls("tvtest/Reflect"), "methodDescriptor",
                                            "(Ljava/lang/String;)Ljava/lang/String;");
  jstring jname = e->NewStringUTF((std::string("QUMENJNI_") + op).c_str());
  auto desc =
      static_cast<jstring>(e->CallStaticObjectMethod(cls("tvtest/Reflect"), describe, jname));
  check(!e->ExceptionCheck(), op);
  std::string sig = utf8(desc).value_or("");
  e->DeleteLocalRef(jname);
  if (desc) e->DeleteLocalRef(desc);
  return sig;
}

jmethodID method(const char* op) {
  static std::map<std::string, jmethodID> known;
  auto it = known.find(op);
  if (it != known.end()) return it->second;
  std::string name = std::string("QUMENJNI_") + op;
  std::string sig = method_descriptor(op);
  jmethodID mid = env()->GetStaticMethodID(cls("Norv1/LocalIface"), name.c_str(), sig.c_str());
  check(mid != nullptr, name.c_str());
  known[op] = mid;
  return mid;
}

void* exported(const char* op) {
  static void* bridge =
      dlopen((std::string(TVJ_LIB_DIR) + "/libtarvexjni.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
  check(bridge != nullptr, "the bridge is loaded");
  void* fn = dlsym(bridge, (std::string("Java_Norv1_LocalIface_QUMENJNI_1") + op).c_str());
  check(fn != nullptr, op);
  return fn;
}

std::optional<Thrown> thrown() {
  JNIEnv* e = env();
  jthrowable t = e->ExceptionOccurred();
  if (t == nullptr) return std::nullopt;
  e->ExceptionClear();
  jclass tc = e->GetObjectClass(t);
  jclass class_class = e->GetObjectClass(tc);
  jmethodID get_name = e->GetMethodID(class_class, "getName", "()Ljava/lang/String;");
  auto name = static_cast<jstring>(e->CallObjectMethod(tc, get_name));
  check(!e->ExceptionCheck(), "Class.getName");
  jmethodID get_message =
      e->GetMethodID(cls("java/lang/Throwable"), "getMessage", "()Ljava/lang/String;");
  auto message = static_cast<jstring>(e->CallObjectMethod(t, get_message));
  check(!e->ExceptionCheck(), "Throwable.getMessage");
  Thrown out{utf8(name).value_or(""), utf8(message).value_or("<null>")};
  for (jobject r : {jobject(t), jobject(tc), jobject(class_class), jobject(name), jobject(message)})
    if (r) e->DeleteLocalRef(r);
  return out;
}

void BridgeTest::SetUp() {
  env_ = env();
  ASSERT_EQ(env_->PushLocalFrame(1024), JNI_OK);
  standin::reset();
  take_output();
}

void BridgeTest::TearDown() {
  if (auto t = thrown())
    ADD_FAILURE() << "exception left pending: " << t->cls << ": " << t->message;
  env_->PopLocalFrame(nullptr);
  standin::end_all_contexts();
  standin::end_all_handles();
  std::vector<std::string> problems = standin::ledger_problems();
  std::ostringstream text;
  for (const auto& p : problems) text << "\n  " << p;
  EXPECT_TRUE(problems.empty()) << "stand-in ledger:" << text.str();
  standin::ledger_forget();
  standin::reset();
  std::string printed = take_output();
  EXPECT_EQ(printed, "") << "the JVM printed";
}

jobject BridgeTest::open() {
  jobject s = self();
  EXPECT_EQ(call("InitMinimal", s), 0);
  return s;
}

bool open_host() {
  const char* host = std::getenv("TVJ_HOST_JAR");
  return host != nullptr && *host != '\0';
}

}  // namespace tj

// ---- main: the JVM and the tests run on a thread of our own -------------------------------------

namespace {

int run_tests() {
  const char* host = std::getenv("TVJ_HOST_JAR");
  std::vector<std::string> options = {
      std::string("-Djava.class.path=") + (host && *host ? host : TVJ_JAR) + ":" + TVJ_TEST_JAR,
      std::string("-Dtarvexjni.library=") + TVJ_LIB_DIR + "/libtarvexjni.so",
      "--enable-native-access=ALL-UNNAMED",  // JDK 24 and later warn without it
      "-Xss2m",
      "-Xmx512m",
  };
  if (const char* x = std::getenv("TVJ_XCHECK"); x && std::string(x) == "1")
    options.push_back("-Xcheck:jni");
  if (const char* c = std::getenv("TVJ_CODESET"); c && *c)
    options.push_back(std::string("-Dtarvexjni.codeset=") + c);
#if TVJ_SANITIZED
  // The JVM maps its class data archive where it chooses, which can fall in AddressSanitizer's
  // shadow memory (under qemu-aarch64 one start in three failed in the archive's set-up).
  options.push_back("-Xshare:off");
#endif
  std::vector<JavaVMOption> vm_options;
  for (auto& o : options) vm_options.push_back(JavaVMOption{o.data(), nullptr});
  vm_options.push_back(
      JavaVMOption{const_cast<char*>("vfprintf"), reinterpret_cast<void*>(&tj::capture)});
  JavaVMInitArgs init{JNI_VERSION_1_8, jint(vm_options.size()), vm_options.data(), JNI_FALSE};
  JNIEnv* e = nullptr;
  if (JNI_CreateJavaVM(&tj::the_vm, reinterpret_cast<void**>(&e), &init) != JNI_OK) {
    std::fprintf(stderr, "harness: the JVM did not start\n");
    return 1;
  }
  // Load LocalIface, and with it the bridge, before any test.
  tj::cls("Norv1/LocalIface");
  int rc = RUN_ALL_TESTS();
  std::string late = tj::take_output();
  if (!late.empty()) {
    std::fprintf(stderr, "the JVM printed after the tests:\n%s\n", late.c_str());
    rc = 1;
  }
  return rc;
}

void* test_thread(void* rc) {
  *static_cast<int*>(rc) = run_tests();
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  int rc = 1;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, size_t(16) << 20);
  pthread_t thread;
  pthread_create(&thread, &attr, test_thread, &rc);
  pthread_join(thread, nullptr);
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(rc);  // the JVM's threads are still running: no static destructors now
}
