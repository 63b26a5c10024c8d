#include "harness.h"

#include <cstdio>
#include <cstdlib>
#include <set>

#include "method_layouts.h"

namespace wt {

namespace {

std::wstring widen(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring out(size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out.data(), n);
  out.resize(size_t(n - 1));
  return out;
}

std::string narrow(const std::u16string& units) {
  auto* wide = reinterpret_cast<const wchar_t*>(units.data());
  int n = WideCharToMultiByte(CP_UTF8, 0, wide, int(units.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, int(units.size()), out.data(), n, nullptr, nullptr);
  return out;
}

[[noreturn]] void fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace

testjni::Vm& vm() {
  static auto* the_vm = new testjni::Vm();  // lives for the process, as a JVM would
  return *the_vm;
}

std::wstring program_folder() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, n);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

HMODULE bridge() {
  static HMODULE module = [] {
    std::wstring path = program_folder() + L"tarvexjni.dll";
    HMODULE m = LoadLibraryW(path.c_str());
    if (m == nullptr) fail("cannot load tarvexjni.dll: error " + std::to_string(GetLastError()));
    auto on_load =
        reinterpret_cast<jint(JNICALL*)(JavaVM*, void*)>(GetProcAddress(m, "JNI_OnLoad"));
    if (on_load == nullptr || on_load(vm().java_vm(), nullptr) != JNI_VERSION_1_8)
      fail("tarvexjni.dll: JNI_OnLoad missing or refused");
    return m;
  }();
  return module;
}

const void* key(const char* function) {
  FARPROC address = GetProcAddress(GetModuleHandleW(L"tarvex.dll"), function);
  if (address == nullptr) fail(std::string("tarvex.dll has no ") + function);
  return reinterpret_cast<const void*>(address);
}

// The methods called so far, by name: what the run's last line counts.
std::set<std::string, std::less<>>& called() {
  static auto* ops = new std::set<std::string, std::less<>>();
  return *ops;
}

void* exported(const char* op) {
  called().insert(op);
  std::string name = std::string("Java_Norv1_LocalIface_QUMENJNI_1") + op;
  FARPROC address = GetProcAddress(bridge(), name.c_str());
  if (address == nullptr) fail("tarvexjni.dll exports no " + name);
  return reinterpret_cast<void*>(address);
}

Obj host_class() { return vm().class_object("Norv1/LocalIface"); }

Obj block(const Bytes& data) { return block(data, int32_t(data.size())); }
Obj block(const Bytes& data, int32_t len) {
  Obj b = vm().make("mem_blk_t");
  vm().set(b, "buf", vm().bytes(data));
  vm().set(b, "len", len);
  return b;
}

Obj str(const char* utf8) {
  if (utf8 == nullptr) return nullptr;
  std::wstring wide = widen(utf8);
  return vm().string(std::u16string(wide.begin(), wide.end()));
}

std::optional<Bytes> block_bytes(Obj b) { return vm().bytes_of(vm().get(b, "buf")); }

std::optional<std::string> text(Obj o, const char* field) {
  std::optional<std::u16string> units = vm().units_of(vm().get(o, field));
  if (!units) return std::nullopt;
  return narrow(*units);
}

void BridgeTest::SetUp() {
  bridge();
  standin::reset();
  standin::ledger_forgive();
  vm().take_problems();
}

void BridgeTest::TearDown() {
  if (auto t = vm().thrown()) ADD_FAILURE() << "left pending: " << t->cls << ": " << t->message;
  for (const auto& p : vm().take_problems()) ADD_FAILURE() << "JNI: " << p;
  for (const auto& p : standin::ledger_problems()) ADD_FAILURE() << "ledger: " << p;
  standin::reset();
}

Obj BridgeTest::open() {
  Obj self = vm().make("Norv1/LocalIface");
  EXPECT_EQ(call("InitMinimal", self), 0);
  return self;
}

}  // namespace wt

// GoogleTest's main, and after a whole run the count of LocalIface's native methods (as javac
// declares them) that it called.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  if (testing::GTEST_FLAG(filter) == "*") {
    size_t ran = 0;
    for (std::string_view method : layouts::kNativeMethods) {
      bool was = wt::called().contains(method);
      ran += was;
      if (!was) std::printf("windows: not called: %.*s\n", int(method.size()), method.data());
    }
    std::printf("windows: %zu of %zu methods ran under Wine\n", ran,
                std::size(layouts::kNativeMethods));
  }
  return result;
}
