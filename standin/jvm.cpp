// The Java side of a call (jvm.h): threads and frames through the JVM's tool interface.
#include "jvm.h"

#include <jvmti.h>

#include <atomic>
#include <cstring>

namespace standin::jvm {

namespace {

JavaVM* vm = nullptr;
jvmtiEnv* ti = nullptr;
jfieldID thread_id = nullptr;  // java.lang.Thread.tid, which Thread.getId() returns
std::atomic<bool> on{false};

JNIEnv* here() {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) return nullptr;
  return env;
}

template <typename T>
void release(T* p) {
  if (p != nullptr) ti->Deallocate(reinterpret_cast<unsigned char*>(p));
}

// The capability to see virtual threads (JDK 21 and later) has no name in JDK 17's header, which
// the stand-in is built with: its bit is the one after can_generate_sampled_object_alloc_events,
// the last one that header names (GCC and Clang fill an unsigned int's bit-fields from its lowest
// bit). Added where the JVM offers it, for what it says of a virtual thread.
void add_virtual_threads(const jvmtiCapabilities& offered, jvmtiCapabilities* wanted) {
  constexpr size_t kWords = sizeof(jvmtiCapabilities) / sizeof(uint32_t);
  jvmtiCapabilities last{};
  last.can_generate_sampled_object_alloc_events = 1;
  uint32_t marker[kWords], potential[kWords], chosen[kWords];
  std::memcpy(marker, &last, sizeof marker);
  std::memcpy(potential, &offered, sizeof potential);
  std::memcpy(chosen, wanted, sizeof chosen);
  for (size_t bit = 0; bit + 1 < kWords * 32; ++bit) {
    if ((marker[bit / 32] >> (bit % 32) & 1) == 0) continue;
    size_t next = bit + 1;
    chosen[next / 32] |= potential[next / 32] & (uint32_t(1) << (next % 32));
    break;
  }
  std::memcpy(wanted, chosen, sizeof chosen);
}

// The thread's name, cached per operating-system thread for the Java thread seen last on it (a
// virtual thread's carrier sees many); a fixed buffer, so that nothing is destroyed per thread.
thread_local uint64_t cached_id = 0;
thread_local char cached_name[120];

void name_of(jthread thread, uint64_t id, std::string* name) {
  if (id == cached_id) {
    *name = cached_name;
    return;
  }
  jvmtiThreadInfo info{};
  if (ti->GetThreadInfo(thread, &info) != JVMTI_ERROR_NONE) return;
  *name = info.name != nullptr ? info.name : "";
  release(info.name);
  if (name->size() < sizeof cached_name) {
    std::memcpy(cached_name, name->c_str(), name->size() + 1);
    cached_id = id;
  }
}

}  // namespace

bool start(JNIEnv* env) {
  if (on) return true;
  if (env->GetJavaVM(&vm) != JNI_OK) return false;
  if (vm->GetEnv(reinterpret_cast<void**>(&ti), JVMTI_VERSION_1_2) != JNI_OK) return false;
  jvmtiCapabilities offered{}, wanted{};
  if (ti->GetPotentialCapabilities(&offered) == JVMTI_ERROR_NONE) {
    wanted.can_get_line_numbers = offered.can_get_line_numbers;
    wanted.can_get_source_file_name = offered.can_get_source_file_name;
    add_virtual_threads(offered, &wanted);
    ti->AddCapabilities(&wanted);  // what is refused is only left out of the descriptions
  }
  jclass thread = env->FindClass("java/lang/Thread");
  if (thread == nullptr) {
    env->ExceptionClear();
    return false;
  }
  thread_id = env->GetFieldID(thread, "tid", "J");
  env->DeleteLocalRef(thread);
  if (thread_id == nullptr) {
    env->ExceptionClear();
    return false;
  }
  on = true;
  return true;
}

bool started() { return on.load(std::memory_order_relaxed); }

// Inside a library call nothing is pending (the bridge calls the library only then), and every
// reference made here lives in a frame of its own, which the bridge's count of references does
// not see.
uint64_t current_thread(std::string* name) {
  if (!started()) return 0;
  JNIEnv* env = here();
  if (env == nullptr || env->PushLocalFrame(4) != 0) return 0;
  uint64_t id = 0;
  jthread thread = nullptr;
  if (ti->GetCurrentThread(&thread) == JVMTI_ERROR_NONE && thread != nullptr) {
    id = uint64_t(env->GetLongField(thread, thread_id));
    if (name != nullptr) name_of(thread, id, name);
  }
  env->PopLocalFrame(nullptr);
  return id;
}

std::vector<Frame> current_stack(int depth) {
  std::vector<Frame> frames;
  if (!started() || depth <= 0) return frames;
  std::vector<jvmtiFrameInfo> info(size_t(depth), jvmtiFrameInfo{});
  jint count = 0;
  if (ti->GetStackTrace(nullptr, 0, depth, info.data(), &count) != JVMTI_ERROR_NONE) return frames;
  for (jint i = 0; i < count; ++i)
    frames.push_back(Frame{info[size_t(i)].method, info[size_t(i)].location});
  return frames;
}

std::vector<std::string> describe(JNIEnv* env, const std::vector<Frame>& frames) {
  std::vector<std::string> lines;
  if (!started()) return lines;
  for (const Frame& f : frames) {
    auto method = jmethodID(const_cast<void*>(f.method));
    jclass owner = nullptr;
    char* signature = nullptr;
    char* name = nullptr;
    if (ti->GetMethodDeclaringClass(method, &owner) != JVMTI_ERROR_NONE ||
        ti->GetClassSignature(owner, &signature, nullptr) != JVMTI_ERROR_NONE ||
        ti->GetMethodName(method, &name, nullptr, nullptr) != JVMTI_ERROR_NONE) {
      release(signature);
      if (owner != nullptr) env->DeleteLocalRef(owner);
      continue;  // a class unloaded since
    }
    // "Ljava/lang/Thread;" names java.lang.Thread.
    std::string type = signature;
    if (type.size() > 2 && type.front() == 'L' && type.back() == ';')
      type = type.substr(1, type.size() - 2);
    for (char& c : type) c = c == '/' ? '.' : c;
    char* file = nullptr;
    std::string source;
    if (ti->GetSourceFileName(owner, &file) == JVMTI_ERROR_NONE && file != nullptr) source = file;
    int line = -1;
    jint entries = 0;
    jvmtiLineNumberEntry* table = nullptr;
    if (f.location >= 0 && ti->GetLineNumberTable(method, &entries, &table) == JVMTI_ERROR_NONE) {
      jlocation best = -1;  // the entry that starts last at or before the frame's location
      for (jint i = 0; i < entries; ++i) {
        if (table[i].start_location > f.location || table[i].start_location < best) continue;
        best = table[i].start_location;
        line = table[i].line_number;
      }
    }
    lines.push_back(type + '\t' + name + '\t' + source + '\t' + std::to_string(line));
    release(table);
    release(file);
    release(name);
    release(signature);
    env->DeleteLocalRef(owner);
  }
  return lines;
}

}  // namespace standin::jvm
