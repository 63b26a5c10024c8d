#include "exceptions.h"

#include <cstdio>

namespace tvj {

void raise(JNIEnv* env, const char* java_class, const char* converter, const char* suffix) {
  jclass cls = env->FindClass(java_class);
  if (cls == nullptr) return;  // that lookup's error stands
  char message[1024];
  std::snprintf(message, sizeof message, "%s%s", converter, suffix);
  env->ThrowNew(cls, message);
  env->DeleteLocalRef(cls);
}

namespace {
void raise_named(JNIEnv* env, const char* java_class, const char* converter, const char* name) {
  char suffix[512];
  std::snprintf(suffix, sizeof suffix, ":%s", name);
  raise(env, java_class, converter, suffix);
}
}  // namespace

void throw_no_such_field(JNIEnv* env, const char* converter, const char* field) {
  if (env->ExceptionCheck()) env->ExceptionClear();  // the failed lookup's NoSuchFieldError
  raise_named(env, "java/lang/NoSuchFieldException", converter, field);
}

void throw_class_not_found(JNIEnv* env, const char* converter, const char* class_name) {
  if (env->ExceptionCheck()) env->ExceptionClear();  // the failed lookup's NoClassDefFoundError
  raise_named(env, "java/lang/ClassNotFoundException", converter, class_name);
}

void throw_out_of_memory(JNIEnv* env, const char* converter) {
  // The VM's own error of a failed creation (OutOfMemoryError without our message,
  // NegativeArraySizeException, InstantiationException) gives way to the documented one.
  if (env->ExceptionCheck()) env->ExceptionClear();
  raise(env, "java/lang/OutOfMemoryError", converter);
}

void throw_char_conversion(JNIEnv* env, const char* converter) {
  raise(env, "java/io/CharConversionException", converter);
}

void throw_array_index(JNIEnv* env, const char* converter, const char* what) {
  raise_named(env, "java/lang/ArrayIndexOutOfBoundsException", converter, what);
}

void throw_null_pointer(JNIEnv* env, const char* converter, const char* what) {
  raise_named(env, "java/lang/NullPointerException", converter, what);
}

}  // namespace tvj
