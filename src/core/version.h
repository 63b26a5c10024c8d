// The bridge's side of the Java loader's handshake (core/version.cpp).
#pragma once

#include <jni.h>

namespace tvj {

// What the bridge does to the process once it is accepted (core/lifecycle.cpp). `codeset` and
// `units` are the single-byte encoding the loader was told to use for texts, by its name and the
// character of each of its 256 bytes; both null to keep the process locale's codeset.
using Activation = void(JNICALL*)(JNIEnv* env, jclass loader, jstring codeset, jcharArray units);

// Binds tarvexjni.internal.NativeLoader's bridgeVersion0() to this build's version and its
// activate0() to `activate`, when the class that loads the bridge can see that class. Returns
// false when it cannot: nobody will then ask for the version or activate the bridge.
bool register_handshake(JNIEnv* env, Activation activate);

}  // namespace tvj
