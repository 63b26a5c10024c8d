// A test-only JNI library for loader_test.sh: tells which loaded library holds the process's
// SIGSEGV and SIGBUS handlers, as sigaction reports them (through libjsig, when it is preloaded,
// the handler installed behind the JVM's) and dladdr names them. Bound to tvload.Direct.
#include <dlfcn.h>
#include <jni.h>
#include <signal.h>

#include <string>

namespace {

std::string holder(int sig) {
  struct sigaction current {};
  if (sigaction(sig, nullptr, &current) != 0) return "unknown";
  void* handler = (current.sa_flags & SA_SIGINFO) ? reinterpret_cast<void*>(current.sa_sigaction)
                                                  : reinterpret_cast<void*>(current.sa_handler);
  if (handler == reinterpret_cast<void*>(SIG_DFL)) return "default";
  if (handler == reinterpret_cast<void*>(SIG_IGN)) return "ignored";
  Dl_info info{};
  if (dladdr(handler, &info) == 0 || info.dli_fname == nullptr) return "unknown";
  return info.dli_fname;
}

jstring JNICALL handlers(JNIEnv* env, jclass) {
  std::string text = "SIGSEGV " + holder(SIGSEGV) + ", SIGBUS " + holder(SIGBUS);
  return env->NewStringUTF(text.c_str());
}

}  // namespace

extern "C" JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void*) {
  JNIEnv* env = nullptr;
  if (vm->GetEnv(reinterpret_cast<void**>(&env), JNI_VERSION_1_8) != JNI_OK) return JNI_ERR;
  jclass probe = env->FindClass("tvload/Direct");
  if (probe == nullptr) return JNI_ERR;
  JNINativeMethod method{const_cast<char*>("handlers0"), const_cast<char*>("()Ljava/lang/String;"),
                         reinterpret_cast<void*>(&handlers)};
  if (env->RegisterNatives(probe, &method, 1) != JNI_OK) return JNI_ERR;
  env->DeleteLocalRef(probe);
  return JNI_VERSION_1_8;
}
