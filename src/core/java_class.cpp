#include "java_class.h"

#include <mutex>
#include <new>

#include "local_refs.h"

namespace tvj {

__thread CreatedObject t_filling __attribute__((tls_model("initial-exec"))) = {nullptr, nullptr};

namespace {

std::mutex resolve_mutex;

constexpr jint kAccFinal = 0x0010;

bool is_final(JNIEnv* env, jclass cls) {
  LocalRef<jclass> class_class(env, env->GetObjectClass(cls));
  jmethodID get_modifiers = env->GetMethodID(class_class.get(), "getModifiers", "()I");
  if (get_modifiers == nullptr) {
    env->ExceptionClear();
    return false;
  }
  jint modifiers = env->CallIntMethod(cls, get_modifiers);
  if (env->ExceptionCheck()) {
    env->ExceptionClear();
    return false;
  }
  return (modifiers & kAccFinal) != 0;
}

}  // namespace

const ResolvedClass* resolve_class(JNIEnv* env, ClassSlot& slot, const char* name,
                                   const JavaField* fields, size_t count) {
  std::lock_guard<std::mutex> lock(resolve_mutex);
  if (const ResolvedClass* r = slot.resolved.load(std::memory_order_acquire)) return r;
  if (slot.absent.load(std::memory_order_relaxed)) return nullptr;

  LocalRef<jclass> local(env, env->FindClass(name));
  if (!local) {
    env->ExceptionClear();
    slot.absent.store(true, std::memory_order_relaxed);
    return nullptr;
  }
  auto* ids = new (std::nothrow) jfieldID[count > 0 ? count : 1]();
  auto* r = new (std::nothrow) ResolvedClass{};
  jclass global = static_cast<jclass>(env->NewGlobalRef(local.get()));
  if (ids == nullptr || r == nullptr || global == nullptr) {
    // Not cached this time: the callers fall back to looking fields up per call.
    delete[] ids;
    delete r;
    if (global != nullptr) env->DeleteGlobalRef(global);
    return nullptr;
  }
  for (size_t i = 0; i < count; ++i) {
    ids[i] = env->GetFieldID(global, fields[i].name, fields[i].sig);
    if (ids[i] == nullptr) env->ExceptionClear();
  }
  r->cls = global;
  r->final_class = is_final(env, global);
  r->ids = ids;
  slot.resolved.store(r, std::memory_order_release);
  return r;
}

LocalRef<jobject> allocate_object(JNIEnv* env, jclass cls, const char* converter) {
  jobject obj = env->AllocObject(cls);
  if (obj == nullptr) throw_out_of_memory(env, converter);
  return LocalRef<jobject>(env, obj);
}

}  // namespace tvj
