// The method table (method_table.h) under Wine: every method that follows the call frame called
// as the JVM calls it, through the test JNI environment, with the cases it runs in a JVM.
#include <cstring>

#include "harness.h"
#include "method_table.h"

using namespace wt;

namespace {

// The test JNI environment's side of the table.
struct Wine {
  using Object = Obj;
  using Args = std::vector<method_table::Argument<Wine>>;
  static Obj make(const char* c) { return vm().make(c); }
  static Obj str(const char* utf8) { return wt::str(utf8); }
  static Obj ints(const std::vector<int32_t>& v) { return vm().ints(v); }
  static Obj block(const Bytes& b) { return wt::block(b); }
  static void set(Obj o, const char* f, int32_t v) { vm().set(o, f, v); }
  static void set(Obj o, const char* f, Obj v) { vm().set(o, f, v); }
  static void set_long(Obj o, const char* f, int64_t v) { vm().set_long(o, f, v); }
  static int32_t get_int(Obj o, const char* f) { return vm().get_int(o, f); }
  static int64_t get_long(Obj o, const char* f) { return vm().get_long(o, f); }
  static Obj get(Obj o, const char* f) { return vm().get(o, f); }
  static std::optional<Bytes> get_bytes(Obj o, const char* f) { return vm().bytes_of(get(o, f)); }
  static std::vector<int32_t> ints_of(Obj o) { return vm().ints_of(o); }
  static std::optional<std::string> descriptor(const char*) { return std::nullopt; }
  template <auto Fn, typename H>
  static void on(const char* function, H handler) {
    wt::on<Fn>(function, std::move(handler));
  }
  // Under the x64 calling convention every argument takes one 8-byte slot (an int in its low
  // half), the first four in registers and the rest on the stack the caller owns: a method is
  // called with as many slots as the longest layout takes, those past its own unread.
  static int32_t call(Obj self, const char* op, const Args& args) {
    using Slot = uint64_t;
    using Fn = jint(JNICALL*)(JNIEnv*, jclass, jobject, Slot, Slot, Slot, Slot, Slot, Slot, Slot);
    Slot s[7] = {};
    EXPECT_LE(args.size(), std::size(s)) << op;
    auto fn = reinterpret_cast<Fn>(exported(op));
    vm().enter_native();
    for (size_t i = 0; i < args.size() && i < std::size(s); ++i) {
      const auto& a = args[i];
      s[i] = a.letter == 'T'   ? Slot(uint32_t(int32_t(a.number)))
             : a.letter == 'G' ? Slot(a.number)
                               : reinterpret_cast<Slot>(vm().local(a.object));
    }
    jint status = fn(vm().env(), static_cast<jclass>(vm().local(host_class())), vm().local(self),
                     s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
    vm().leave_native();
    return status;
  }
  static std::optional<std::string> thrown() {
    auto t = vm().thrown();
    return t ? std::optional(t->cls + ": " + t->message) : std::nullopt;
  }
  static std::vector<std::string> problems() { return vm().take_problems(); }
};

class Methods : public BridgeTest {};

TEST_F(Methods, EveryMethodPassesItsArgumentsInPlaceAndTakesItsResultsWhateverTheStatus) {
  Obj s = open();
  for (const auto& row : method_table::kRows<Wine>) {
    method_table::run<Wine>(s, row, 0, false);
    method_table::run<Wine>(s, row, method_table::kFail, false);
  }
}

TEST_F(Methods, NullObjectsReachTheLibraryAsZerosAndResultsStillGoBack) {
  Obj s = open();
  for (const auto& row : method_table::kRows<Wine>) method_table::run<Wine>(s, row, 0, true);
}

}  // namespace
