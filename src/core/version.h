// The bridge's version for the Java loader's handshake (core/version.cpp).
#pragma once

#include <jni.h>

namespace tvj {

// Binds tarvexjni.internal.NativeLoader.bridgeVersion0() to this build's version, when the
// class that loads the bridge can see that class; otherwise does nothing.
void register_version(JavaVM* vm);

}  // namespace tvj
