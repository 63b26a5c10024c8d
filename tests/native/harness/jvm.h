// The test harness: one real JVM in this process, the bridge loaded into it through
// LocalIface, and helpers to build Java objects, call LocalIface's native methods the way Java
// does, and read what came back.
//
// Environment: TVJ_XCHECK=1 starts the JVM with -Xcheck:jni. Every line the JVM prints (its
// warnings under -Xcheck:jni included) is captured and fails the test that caused it.
// TVJ_HOST_JAR names another jar to take LocalIface from (the host compiled with record classes
// that are not final). TVJ_CODESET names the encoding of texts (-Dtarvexjni.codeset).
#pragma once

#include <gtest/gtest.h>
#include <jni.h>

#include <clocale>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "standin.h"

namespace tj {

JNIEnv* env();
JavaVM* vm();
// What the JVM printed since the last call.
std::string take_output();

// ---- Classes and objects ---------------------------------------------------------------------

// A class by JNI name; "mem_blk_t" is short for "Norv1/LocalIface$mem_blk_t". Global reference.
jclass cls(const std::string& name);
// A new object through its no-argument constructor.
jobject make(const std::string& name);
jobject self();  // a new LocalIface, handle 0

// Whether LocalIface comes from TVJ_HOST_JAR, whose record classes are not final. Only there may
// a test pass an object of another class through JNI where a method declares a block: with the
// shipped host's final classes that breaks the method's declared type, and the bridge relies on
// that type.
bool open_host();
#define TVJ_ONLY_ON_OPEN_HOST() \
  if (!::tj::open_host()) GTEST_SKIP() << "look-alike blocks through JNI: run by jvm.open"

// A long argument, told apart from an int.
struct L {
  jlong v;
};

void set(jobject o, const char* field, jint v);
void set(jobject o, const char* field, L v);
void set(jobject o, const char* field, jobject v);         // object fields of any signature
void set(jobject o, const char* field, const char* utf8);  // a String field (nullptr: null)
void set(jobject o, const char* field, const std::vector<uint8_t>& bytes);  // a byte[] field

jint get_int(jobject o, const char* field);
jlong get_long(jobject o, const char* field);
jobject get(jobject o, const char* field);
std::optional<std::vector<uint8_t>> get_bytes(jobject o, const char* field);  // nullopt: null
std::optional<std::string> get_string(jobject o, const char* field);          // as UTF-8

jbyteArray bytes(const std::vector<uint8_t>& b);
std::optional<std::vector<uint8_t>> bytes_of(jbyteArray a);
jstring str(const char* utf8);           // nullptr gives null
jstring str16(const std::u16string& s);  // exact UTF-16 units
std::optional<std::string> utf8(jstring s);
jobjectArray array(const std::string& element, const std::vector<jobject>& items);
jintArray ints(const std::vector<jint>& v);
std::vector<jint> ints_of(jintArray a);

// A mem_blk_t holding `data`, len = data.size() unless given.
jobject block(const std::vector<uint8_t>& data);
jobject block(const std::vector<uint8_t>& data, jint len);

// ---- Calls -------------------------------------------------------------------------------------

jvalue arg(jobject o);
jvalue arg(std::nullptr_t);
jvalue arg(jint i);
jvalue arg(L l);

jmethodID method(const char* op);               // LocalIface.QUMENJNI_<op>
std::string method_descriptor(const char* op);  // its JNI descriptor, "" when there is none

// The exception a call leaves pending stays for thrown(); it is checked here, as any JNI caller
// must check after a call that can throw.
template <typename... A>
jint call(const char* op, A... args) {
  jvalue values[] = {arg(args)..., jvalue{}};
  jmethodID m = method(op);
  jint status = env()->CallStaticIntMethodA(cls("Norv1/LocalIface"), m, values);
  env()->ExceptionCheck();
  return status;
}
template <typename... A>
jobject call_object(const char* op, A... args) {
  jvalue values[] = {arg(args)..., jvalue{}};
  jmethodID m = method(op);
  jobject result = env()->CallStaticObjectMethodA(cls("Norv1/LocalIface"), m, values);
  env()->ExceptionCheck();
  return result;
}

// The exported function itself, called directly: its status is visible even when it leaves an
// exception pending (through Java the caller sees only the exception).
void* exported(const char* op);
template <typename T>
struct CType {
  using type = jobject;
};
template <>
struct CType<jint> {
  using type = jint;
};
template <>
struct CType<L> {
  using type = jlong;
};
inline jobject c_value(jobject o) { return o; }
inline jobject c_value(std::nullptr_t) { return nullptr; }
inline jint c_value(jint i) { return i; }
inline jlong c_value(L l) { return l.v; }

template <typename... A>
jint raw(const char* op, A... args) {
  using Fn = jint (*)(JNIEnv*, jclass, typename CType<A>::type...);
  auto fn = reinterpret_cast<Fn>(exported(op));
  return fn(env(), cls("Norv1/LocalIface"), c_value(args)...);
}

// The pending exception, taken and cleared: its class name (dotted) and message.
struct Thrown {
  std::string cls;
  std::string message;
};
std::optional<Thrown> thrown();

// ---- The fixture -------------------------------------------------------------------------------

// Every JVM test: a local frame of its own, a clean stand-in, and at the end no pending
// exception, no JVM output and a clean ledger.
class BridgeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A LocalIface with a live stand-in context in its handle.
  jobject open();

  JNIEnv* env_ = nullptr;
};

constexpr jint kPending = jint(0xE0700001);

// LC_CTYPE switched for one scope (the bridge narrows strings in the codeset of the locale).
class Locale {
 public:
  explicit Locale(const char* name) : previous_(std::setlocale(LC_CTYPE, nullptr)) {
    ok_ = std::setlocale(LC_CTYPE, name) != nullptr;
  }
  ~Locale() { std::setlocale(LC_CTYPE, previous_.c_str()); }
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;
  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_;
};

}  // namespace tj

// Asserts that the call left exactly this exception pending, and clears it.
#define EXPECT_THROWN(klass, msg)                          \
  do {                                                     \
    auto t_ = tj::thrown();                                \
    ASSERT_TRUE(t_.has_value()) << "no exception pending"; \
    EXPECT_EQ(t_->cls, klass);                             \
    EXPECT_EQ(t_->message, msg);                           \
  } while (0)
#define EXPECT_NOTHING_THROWN()                                     \
  do {                                                              \
    auto t_ = tj::thrown();                                         \
    EXPECT_FALSE(t_.has_value()) << t_->cls << ": " << t_->message; \
  } while (0)
