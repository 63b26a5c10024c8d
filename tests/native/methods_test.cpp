// The method table (method_table.h) in a JVM: every method that follows the call frame called
// through Java, on success, on failure and with null objects.
#include "helpers.h"
#include "method_table.h"

using namespace tj;

namespace {

// The JVM's side of the table: objects are local references, calls go through Java.
struct Jvm {
  using Object = jobject;
  static jobject make(const char* c) { return tj::make(c); }
  static jobject str(const char* utf8) { return tj::str(utf8); }
  static jobject ints(const std::vector<int32_t>& v) { return tj::ints({v.begin(), v.end()}); }
  static jobject block(const Bytes& b) { return tj::block(b); }
  static void set(jobject o, const char* f, int32_t v) { tj::set(o, f, jint(v)); }
  static void set(jobject o, const char* f, jobject v) { tj::set(o, f, v); }
  static void set_long(jobject o, const char* f, int64_t v) { tj::set(o, f, L{v}); }
  static int32_t get_int(jobject o, const char* f) { return tj::get_int(o, f); }
  static int64_t get_long(jobject o, const char* f) { return tj::get_long(o, f); }
  static jobject get(jobject o, const char* f) { return tj::get(o, f); }
  static std::optional<Bytes> get_bytes(jobject o, const char* f) { return tj::get_bytes(o, f); }
  static std::vector<int32_t> ints_of(jobject o) {
    auto v = tj::ints_of(static_cast<jintArray>(o));
    return {v.begin(), v.end()};
  }
  static std::optional<std::string> descriptor(const char* op) { return method_descriptor(op); }
  template <auto Fn, typename H>
  static void on(const char*, H handler) {
    standin::on<Fn>(std::move(handler));
  }
  static int32_t call(jobject self, const char* op,
                      const std::vector<method_table::Argument<Jvm>>& args) {
    std::vector<jvalue> values{tj::arg(self)};
    for (const auto& a : args)
      values.push_back(a.letter == 'T'   ? tj::arg(jint(a.number))
                       : a.letter == 'G' ? tj::arg(L{a.number})
                                         : tj::arg(a.object));
    JNIEnv* env = tj::env();
    jint status = env->CallStaticIntMethodA(cls("Norv1/LocalIface"), method(op), values.data());
    env->ExceptionCheck();
    return status;
  }
  static std::optional<std::string> thrown() {
    auto t = tj::thrown();
    return t ? std::optional(t->cls + ": " + t->message) : std::nullopt;
  }
  static Texts problems() { return {}; }  // -Xcheck:jni speaks for itself
};

class Methods : public BridgeTest {
 protected:
  void run(jobject self, const method_table::Row<Jvm>& row, int32_t status, bool nulls) {
    // A frame of its own: the table makes more local references than the test's frame takes.
    ASSERT_EQ(env_->PushLocalFrame(64), JNI_OK);
    method_table::run<Jvm>(self, row, status, nulls);
    env_->PopLocalFrame(nullptr);
  }
};

TEST_F(Methods, EveryMethodPassesItsArgumentsInPlaceAndTakesItsResultsWhateverTheStatus) {
  jobject s = open();
  for (const auto& row : method_table::kRows<Jvm>) {
    run(s, row, 0, false);
    run(s, row, method_table::kFail, false);
  }
}

TEST_F(Methods, NullObjectsReachTheLibraryAsZerosAndResultsStillGoBack) {
  jobject s = open();
  for (const auto& row : method_table::kRows<Jvm>) run(s, row, 0, true);
}

}  // namespace
