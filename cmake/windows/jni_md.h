/* The machine-dependent JNI types of a Windows JDK, for building the Windows bridge on a
 * system without one (cmake/windows-x86_64.toolchain.cmake puts this folder on the include
 * path beside the host JDK's jni.h, whose other declarations are the same everywhere).
 * jint is long, as a Windows JDK declares it: a 32-bit type that is not int32_t, so that
 * code mixing the two does not compile. */
#ifndef _JAVASOFT_JNI_MD_H_
#define _JAVASOFT_JNI_MD_H_

#define JNIEXPORT __declspec(dllexport)
#define JNIIMPORT __declspec(dllimport)
#define JNICALL __stdcall

typedef long jint;
typedef __int64 jlong;
typedef signed char jbyte;

#endif
