#include "declarations.h"

#include <jvmti.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "exceptions.h"
#include "local_refs.h"

namespace tvj {

namespace {

constexpr jint kAccStatic = 0x0008;
constexpr jint kAccNative = 0x0100;

// The descriptor of a type from Class.getName(): "int", "[B", "java.lang.String".
void append_descriptor(std::string& out, const char* name) {
  static constexpr struct {
    const char* name;
    char code;
  } kPrimitives[] = {{"int", 'I'},     {"long", 'J'},   {"byte", 'B'},
                     {"boolean", 'Z'}, {"char", 'C'},   {"short", 'S'},
                     {"float", 'F'},   {"double", 'D'}, {"void", 'V'}};
  for (const auto& p : kPrimitives) {
    if (std::strcmp(name, p.name) == 0) {
      out += p.code;
      return;
    }
  }
  bool array = name[0] == '[';
  if (!array) out += 'L';
  for (const char* c = name; *c != '\0'; ++c) out += *c == '.' ? '/' : *c;
  if (!array) out += ';';
}

// A method's object result, asked the VM for an exception as it must be after a call to Java;
// null when the method threw.
template <typename T>
LocalRef<T> call_object(JNIEnv* env, jobject obj, jmethodID method) {
  jobject result = env->CallObjectMethod(obj, method);
  if (env->ExceptionCheck()) {
    if (result != nullptr) env->DeleteLocalRef(result);
    return {};
  }
  return LocalRef<T>(env, static_cast<T>(result));
}

// Class.getName() of `cls` appended as a descriptor; false on any failure.
bool append_class(JNIEnv* env, std::string& out, jobject cls, jmethodID get_name) {
  LocalRef<jstring> name = call_object<jstring>(env, cls, get_name);
  if (!name) return false;
  const char* text = env->GetStringUTFChars(name.get(), nullptr);
  if (text == nullptr) return false;
  append_descriptor(out, text);
  env->ReleaseStringUTFChars(name.get(), text);
  return true;
}

const Declaration* find_declaration(const char* name) {
  size_t lo = 0, hi = kDeclarationCount;
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    int c = std::strcmp(kDeclarations[mid].name, name);
    if (c == 0) return &kDeclarations[mid];
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return nullptr;
}

bool check_declarations(JNIEnv* env, jclass host) {
  LocalRef<jclass> class_class(env, env->FindClass("java/lang/Class"));
  LocalRef<jclass> method_class(env, env->FindClass("java/lang/reflect/Method"));
  if (!class_class || !method_class) return false;
  jmethodID get_methods =
      env->GetMethodID(class_class.get(), "getDeclaredMethods", "()[Ljava/lang/reflect/Method;");
  jmethodID class_name = env->GetMethodID(class_class.get(), "getName", "()Ljava/lang/String;");
  jmethodID modifiers = env->GetMethodID(method_class.get(), "getModifiers", "()I");
  jmethodID method_name = env->GetMethodID(method_class.get(), "getName", "()Ljava/lang/String;");
  jmethodID parameters =
      env->GetMethodID(method_class.get(), "getParameterTypes", "()[Ljava/lang/Class;");
  jmethodID return_type =
      env->GetMethodID(method_class.get(), "getReturnType", "()Ljava/lang/Class;");
  if (!get_methods || !class_name || !modifiers || !method_name || !parameters || !return_type)
    return false;

  LocalRef<jobjectArray> methods = call_object<jobjectArray>(env, host, get_methods);
  if (!methods) return false;
  std::vector<bool> seen(kDeclarationCount, false);
  jsize count = env->GetArrayLength(methods.get());
  for (jsize i = 0; i < count; ++i) {
    LocalRef<jobject> method(env, env->GetObjectArrayElement(methods.get(), i));
    jint mods = env->CallIntMethod(method.get(), modifiers);
    if (env->ExceptionCheck()) return false;
    if ((mods & kAccNative) == 0) continue;
    if ((mods & kAccStatic) == 0) return false;

    LocalRef<jstring> name = call_object<jstring>(env, method.get(), method_name);
    if (!name) return false;
    const char* text = env->GetStringUTFChars(name.get(), nullptr);
    if (text == nullptr) return false;
    const Declaration* d = find_declaration(text);
    env->ReleaseStringUTFChars(name.get(), text);
    if (d == nullptr || seen[size_t(d - kDeclarations)]) return false;  // not ours, or overloaded
    seen[size_t(d - kDeclarations)] = true;

    std::string descriptor = "(";
    LocalRef<jobjectArray> types = call_object<jobjectArray>(env, method.get(), parameters);
    if (!types) return false;
    jsize n = env->GetArrayLength(types.get());
    for (jsize k = 0; k < n; ++k) {
      LocalRef<jobject> type(env, env->GetObjectArrayElement(types.get(), k));
      if (!append_class(env, descriptor, type.get(), class_name)) return false;
    }
    descriptor += ')';
    LocalRef<jobject> result = call_object<jobject>(env, method.get(), return_type);
    if (!result || !append_class(env, descriptor, result.get(), class_name)) return false;
    if (descriptor != d->descriptor) return false;
  }
  return true;
}

std::mutex check_mutex;

}  // namespace

int tool_declares_exactly(JNIEnv* env, jclass host) {
  JavaVM* vm = nullptr;
  jvmtiEnv* ti = nullptr;
  if (host == nullptr || env->GetJavaVM(&vm) != JNI_OK ||
      vm->GetEnv(reinterpret_cast<void**>(&ti), JVMTI_VERSION_1_2) != JNI_OK || ti == nullptr)
    return -1;
  jint count = 0;
  jmethodID* methods = nullptr;
  int exact = -1;
  if (ti->GetClassMethods(host, &count, &methods) == JVMTI_ERROR_NONE) {
    exact = 1;
    std::vector<bool> seen(kDeclarationCount, false);
    for (jint i = 0; i < count && exact == 1; ++i) {
      jint mods = 0;
      char* name = nullptr;
      char* descriptor = nullptr;
      if (ti->GetMethodModifiers(methods[i], &mods) != JVMTI_ERROR_NONE) {
        exact = -1;
      } else if ((mods & kAccNative) == 0) {
        continue;
      } else if (ti->GetMethodName(methods[i], &name, &descriptor, nullptr) != JVMTI_ERROR_NONE) {
        exact = -1;
      } else {
        const Declaration* d = (mods & kAccStatic) != 0 ? find_declaration(name) : nullptr;
        // not ours, not static, overloaded, or another descriptor
        if (d == nullptr || seen[size_t(d - kDeclarations)] ||
            std::strcmp(descriptor, d->descriptor) != 0)
          exact = 0;
        else
          seen[size_t(d - kDeclarations)] = true;
      }
      ti->Deallocate(reinterpret_cast<unsigned char*>(name));
      ti->Deallocate(reinterpret_cast<unsigned char*>(descriptor));
    }
    ti->Deallocate(reinterpret_cast<unsigned char*>(methods));
  }
  ti->DisposeEnvironment();
  return exact;
}

bool declares_exactly(JNIEnv* env, jclass host) {
  if (host == nullptr || env->ExceptionCheck()) return false;
  int told = tool_declares_exactly(env, host);
  if (told >= 0) return told == 1;
  return reflection_declares_exactly(env, host);
}

bool reflection_declares_exactly(JNIEnv* env, jclass host) {
  if (host == nullptr || env->ExceptionCheck()) return false;
  // Reflection's own references go with the frame, however many methods the class has.
  if (env->PushLocalFrame(64) != 0) {
    env->ExceptionClear();
    return false;
  }
  bool exact = check_declarations(env, host);
  if (env->ExceptionCheck()) {
    env->ExceptionClear();
    exact = false;
  }
  env->PopLocalFrame(nullptr);
  return exact;
}

std::atomic<int> g_host_declares{0};

bool check_host(JNIEnv* env, jclass host) {
  std::lock_guard<std::mutex> lock(check_mutex);
  int state = g_host_declares.load(std::memory_order_relaxed);
  if (state == 0) {
    state = declares_exactly(env, host) ? 1 : 2;
    g_host_declares.store(state, std::memory_order_release);
  }
  return state == 1;
}

}  // namespace tvj
