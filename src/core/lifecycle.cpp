// Library load and the four lifecycle methods.
#include <Norv1_LocalIface.h>
#include <jni.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "codeset.h"
#include "frame.h"
#include "guard.h"
#include "handles.h"
#include "local_refs.h"
#include "pin.h"
#include "status.h"
#include "version.h"

namespace tvj {
namespace {

using LocalParam = RecordIn<local_param_t, jobject2local_param_t, local_param_tFree>;

// A system property's value, read with `use(text)` while it is held; false when it is not set
// (or cannot be read, which counts the same).
template <typename Use>
bool read_property(JNIEnv* env, const char* name, Use use) {
  LocalRef<jclass> system(env, env->FindClass("java/lang/System"));
  jmethodID get = system ? env->GetStaticMethodID(system.get(), "getProperty",
                                                  "(Ljava/lang/String;)Ljava/lang/String;")
                         : nullptr;
  LocalRef<jstring> key(env, get ? env->NewStringUTF(name) : nullptr);
  LocalRef<jstring> value;
  if (key)
    value = LocalRef<jstring>(
        env, static_cast<jstring>(env->CallStaticObjectMethod(system.get(), get, key.get())));
  if (env->ExceptionCheck()) env->ExceptionClear();  // no property: as if unset
  if (!value) return false;
  if (const char* text = env->GetStringUTFChars(value.get(), nullptr)) {
    use(text);
    env->ReleaseStringUTFChars(value.get(), text);
  } else {
    env->ExceptionClear();
  }
  return true;
}

// The budget for scratch memory kept between calls (core/scratch.h), read once. The system
// property wins over the environment variable, which alone counts where there is no JNIEnv.
void read_scratch_budget(JNIEnv* env) {
  size_t bytes = kDefaultRetain;
  bool found = env != nullptr && read_property(env, "tarvexjni.scratch.retain", [&](const char* t) {
                 parse_scratch_size(t, &bytes);
               });
  if (!found) parse_scratch_size(std::getenv("TARVEXJNI_SCRATCH_RETAIN"), &bytes);
  set_scratch_budget(bytes);
}

// Windows: tarvexjni.exactCodePage=true (any case) converts texts to the code page without best
// fits, refusing a character it has no exact form for (core/codeset_windows.h). The jar's loader
// has refused any other value than true or false, and refuses true on Linux, where no character
// ever becomes another.
void read_exact_code_page(JNIEnv* env) {
#if defined(_WIN32)
  if (env == nullptr) return;
  read_property(env, "tarvexjni.exactCodePage",
                [](const char* text) { use_exact_code_page(_stricmp(text, "true") == 0); });
#else
  (void)env;
#endif
}

// The single-byte encoding of texts that the loader read from the setting tarvexjni.codeset and
// resolved with java.nio.charset: its name and the character of each byte. Strings then cross
// in it whatever the process locale, and without iconv. Without it, they keep the locale's
// codeset. Windows has no such setting (the loader refuses it there): texts stay in the active
// ANSI code page.
void use_named_codeset(JNIEnv* env, jstring name, jcharArray units) {
#if defined(_WIN32)
  (void)env, (void)name, (void)units;
#else
  if (env == nullptr || name == nullptr || units == nullptr || env->GetArrayLength(units) != 256)
    return;
  jchar table[256];
  env->GetCharArrayRegion(units, 0, 256, table);
  const char* text = env->GetStringUTFChars(name, nullptr);
  if (text == nullptr) {
    env->ExceptionClear();
    return;
  }
  use_codeset(codeset_of_units(text, table));
  env->ReleaseStringUTFChars(name, text);
#endif
}

// Everything the bridge does to the process, once per process: it keeps itself loaded, installs
// the fault handlers, takes the encoding of texts the loader names and reads its own settings.
// The Java loader calls it (as NativeLoader.activate0) only after it has accepted the bridge's
// version and checked that the library mapped is the file it verified; a refused bridge stays
// loaded, but inert. Pinning succeeds or not: activation goes on either way.
void JNICALL activate(JNIEnv* env, jclass, jstring codeset, jcharArray units) {
  static std::atomic<bool> done{false};
  if (done.exchange(true)) return;
  pin_library();
  install_fault_guard();
  use_named_codeset(env, codeset, units);
  read_exact_code_page(env);
  read_scratch_budget(env);
}

}  // namespace
}  // namespace tvj

using namespace tvj;

// The bridge's own statuses are LocalIface's constants.
static_assert(Norv1_LocalIface_PENDING_EXCEPTION == tvj::kPendingException);
static_assert(Norv1_LocalIface_NO_ERROR_TEXT == tvj::kNoErrorText);
static_assert(Norv1_LocalIface_NO_BUFFER == tvj::kNoBuffer);

extern "C" {

// Only what the handshake needs. Where the jar's loader is not there to ask for the version
// (a host that loads the bridge itself), there is nobody to wait for: activated at once, with
// the locale's codeset (tarvexjni.codeset is the jar's loader's to read).
JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) env = nullptr;
  if (env == nullptr || !register_handshake(env, &activate))
    activate(env, nullptr, nullptr, nullptr);
  return JNI_VERSION_1_8;
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1Initialize(JNIEnv* env, jclass cls,
                                                                  jobject context, jstring name,
                                                                  jint option) {
  return call<QUMEN_Initialize>(env, cls, context, Text{name}, Int{option}, NewContext{});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1InitializeEx(JNIEnv* env, jclass cls,
                                                                    jobject context, jint option,
                                                                    jobject param) {
  return call<QUMEN_InitializeEx>(env, cls, context, Int{option}, LocalParam{param}, NewContext{});
}

JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1InitMinimal(JNIEnv* env, jclass cls,
                                                                   jobject context) {
  return call<QUMEN_InitMinimal>(env, cls, context, NewContext{});
}

// context's handle keeps the ended context's value.
JNIEXPORT jint JNICALL Java_Norv1_LocalIface_QUMENJNI_1Uninitialize(JNIEnv* env, jclass cls,
                                                                    jobject context) {
  return call<QUMEN_Uninitialize>(env, cls, context);
}

}  // extern "C"
