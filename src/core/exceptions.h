// Raising the bridge's Java exceptions.
//
// Converters report failure only by leaving a Java exception pending, and stop at the first; the
// first exception raised in a call is the one Java sees. After a failed lookup (GetFieldID,
// FindClass) or a failed creation (NewByteArray, NewObjectArray, AllocObject, NewString) the
// VM's own error (NoSuchFieldError, NoClassDefFoundError, NegativeArraySizeException, its own
// OutOfMemoryError...) is cleared and the bridge's documented exception raised in its place.
// No JNI function outside the set allowed with a pending exception is ever called.
#pragma once

#include <jni.h>

namespace tvj {

// Throws `java_class` with the message "<converter><suffix>". If the class itself cannot be
// found, the error of that failed lookup stays pending instead. Called with nothing pending.
void raise(JNIEnv* env, const char* java_class, const char* converter, const char* suffix = "");

// After a failed GetFieldID: "java/lang/NoSuchFieldException", "<converter>:<field>".
void throw_no_such_field(JNIEnv* env, const char* converter, const char* field);
// After a failed FindClass: "java/lang/ClassNotFoundException", "<converter>:<JNI class name>".
void throw_class_not_found(JNIEnv* env, const char* converter, const char* class_name);
// "java/lang/OutOfMemoryError", "<converter>": a failed allocation of the bridge's own, or a
// failed creation in the VM, whose own error (pending or not) it replaces.
void throw_out_of_memory(JNIEnv* env, const char* converter);
// "java/io/CharConversionException", "<converter>".
void throw_char_conversion(JNIEnv* env, const char* converter);
// "java/lang/ArrayIndexOutOfBoundsException", "<converter>:<what>".
void throw_array_index(JNIEnv* env, const char* converter, const char* what);
// "java/lang/NullPointerException", "<converter>:<what>".
void throw_null_pointer(JNIEnv* env, const char* converter, const char* what);

}  // namespace tvj
