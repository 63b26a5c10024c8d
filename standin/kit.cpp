// The natives of tarvexjni.standin.StandIn, the Java test kit: the kit loads this library as
// the process's libtarvex.so, and these functions program it from Java.
#include <dlfcn.h>
#include <elf.h>
#include <jni.h>
#include <link.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "entry.h"

using namespace standin;

namespace {

constexpr char kPrefix[] = "QUMEN_";

// The path this library was loaded from.
std::string own_path() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&QUMEN_InitMinimal), &info) == 0 || info.dli_fname == nullptr)
    return "";
  return info.dli_fname;
}

// The library's functions, without their prefix, read from its own dynamic symbol table.
std::vector<std::string> read_functions() {
  std::ifstream file(own_path(), std::ios::binary);
  std::vector<char> image((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> names;
  if (image.size() < sizeof(ElfW(Ehdr))) return names;
  auto* header = reinterpret_cast<const ElfW(Ehdr)*>(image.data());
  if (header->e_shoff == 0 || header->e_shoff + header->e_shnum * sizeof(ElfW(Shdr)) > image.size())
    return names;
  auto* sections = reinterpret_cast<const ElfW(Shdr)*>(image.data() + header->e_shoff);
  for (int i = 0; i < header->e_shnum; ++i) {
    if (sections[i].sh_type != SHT_DYNSYM || sections[i].sh_link >= header->e_shnum) continue;
    const ElfW(Shdr)& strings = sections[sections[i].sh_link];
    if (sections[i].sh_offset + sections[i].sh_size > image.size() ||
        strings.sh_offset + strings.sh_size > image.size())
      return names;
    auto* symbols = reinterpret_cast<const ElfW(Sym)*>(image.data() + sections[i].sh_offset);
    size_t count = sections[i].sh_size / sizeof(ElfW(Sym));
    for (size_t k = 0; k < count; ++k) {
      if (ELF64_ST_TYPE(symbols[k].st_info) != STT_FUNC || symbols[k].st_shndx == SHN_UNDEF ||
          symbols[k].st_name >= strings.sh_size)
        continue;
      std::string name(image.data() + strings.sh_offset + symbols[k].st_name);
      if (name.rfind(kPrefix, 0) == 0) names.push_back(name.substr(sizeof kPrefix - 1));
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

const std::vector<std::string>& functions() {
  static const auto* names = new std::vector<std::string>(read_functions());
  return *names;
}

// The key under which the stand-in programs a function: its address. Java has checked the name.
const void* key_of(JNIEnv* env, jstring function) {
  const char* chars = env->GetStringUTFChars(function, nullptr);
  if (chars == nullptr) return nullptr;
  std::string name = kPrefix + std::string(chars);
  env->ReleaseStringUTFChars(function, chars);
  static void* self = dlopen(own_path().c_str(), RTLD_LAZY | RTLD_NOLOAD);
  return self == nullptr ? nullptr : dlsym(self, name.c_str());
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
  void* found = dlopen("libtarvex.so", RTLD_LAZY | RTLD_NOLOAD);
  if (found == nullptr) return nullptr;
  void* function = dlsym(found, "QUMEN_InitMinimal");
  Dl_info info{};
  std::string where = function != nullptr && dladdr(function, &info) != 0 && info.dli_fname != nullptr
                          ? info.dli_fname
                          : "an unknown path";
  dlclose(found);
  const char* ours = env->GetStringUTFChars(kit, nullptr);
  if (ours == nullptr) return nullptr;
  char* real_where = realpath(where.c_str(), nullptr);
  char* real_ours = realpath(ours, nullptr);
  bool same = real_where != nullptr && real_ours != nullptr && std::strcmp(real_where, real_ours) == 0;
  std::free(real_where);
  std::free(real_ours);
  env->ReleaseStringUTFChars(kit, ours);
  return same ? nullptr : env->NewStringUTF(where.c_str());
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_functions0(JNIEnv* env, jclass) {
  return strings(env, functions());
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_fail0(JNIEnv* env, jclass, jstring function,
                                                            jint status, jint times) {
  if (const void* key = key_of(env, function)) set_failure(key, status, times);
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_fault0(JNIEnv* env, jclass, jstring function,
                                                             jint signal) {
  static const Fault kFaults[] = {Fault::kSegv, Fault::kBus, Fault::kFpe, Fault::kIll};
  if (const void* key = key_of(env, function)) set_fault(key, kFaults[signal & 3], 1);
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_output0(JNIEnv* env, jclass, jstring function,
                                                              jbyteArray bytes) {
  std::vector<uint8_t> copy(size_t(env->GetArrayLength(bytes)));
  env->GetByteArrayRegion(bytes, 0, jsize(copy.size()), reinterpret_cast<jbyte*>(copy.data()));
  if (const void* key = key_of(env, function)) queue_output(key, std::move(copy));
}

// Every store answers empty: a search finds nothing, an enumeration ends at once.
JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_emptyStore0(JNIEnv*, jclass) {
  on<QUMEN_FindCert>([](context_t c, find_param_t*, find_result_t* result) {
    if (!context_live(c)) return kBadContext;
    result->num = 0;
    result->certs = nullptr;
    return 0;
  });
  auto end = [](context_t c) { return context_live(c) ? kEndOfStore : kBadContext; };
  on<QUMEN_EnumStoreObjects>(
      [end](context_t c, void*, strhandle_t*, mem_blk_t*, int32_t) { return end(c); });
  on<QUMEN_EnumStoreObjectsEx>([end](context_t c, void*, string_t, string_t, strhandle_t*,
                                     mem_blk_t*, int32_t) { return end(c); });
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_calls0(JNIEnv* env, jclass) {
  std::vector<std::string> names = call_names();
  for (auto& n : names) n = unprefixed(n);
  return strings(env, names);
}

// The outstanding blocks as pairs of texts: function, size in bytes.
JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_blocks0(JNIEnv* env, jclass) {
  std::vector<std::string> pairs;
  for (const Outstanding& b : outstanding_blocks()) {
    pairs.push_back(unprefixed(b.function));
    pairs.push_back(std::to_string(b.size));
  }
  return strings(env, pairs);
}

JNIEXPORT jobjectArray JNICALL Java_tarvexjni_standin_StandIn_releaseErrors0(JNIEnv* env, jclass) {
  return strings(env, release_errors());
}

JNIEXPORT jint JNICALL Java_tarvexjni_standin_StandIn_openHandles0(JNIEnv*, jclass) {
  return jint(open_handles());
}

JNIEXPORT void JNICALL Java_tarvexjni_standin_StandIn_reset0(JNIEnv*, jclass) {
  reset();
  ledger_forgive();
}

}  // extern "C"
