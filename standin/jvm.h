// The Java side of a call, where the kit runs the stand-in in a JVM: which Java thread calls
// (a virtual thread apart from the carrier it runs on) and from where in its code. The stand-in
// asks the JVM's tool interface, which answers without running Java code: Java code run from
// inside a library call would run under the bridge's fault guard, which takes every fault on the
// thread, the JVM's own included.
#pragma once

#include <jni.h>

#include <cstdint>
#include <string>
#include <vector>

namespace standin::jvm {

// Starts answering for the JVM of `env` (the kit calls it once, from Java); false where the JVM
// has no tool interface. Until then every answer below is empty.
bool start(JNIEnv* env);
bool started();

// The calling Java thread's id (as Thread.getId() gives it), its name into `name` where given;
// 0 when not started or on a thread the JVM does not know.
uint64_t current_thread(std::string* name);

// The calling thread's Java frames, innermost first, at most `depth`: kept as the JVM names them
// and described only when asked, outside any library call.
struct Frame {
  const void* method;
  int64_t location;
};
std::vector<Frame> current_stack(int depth);
// One line per frame that can still be described: class, method, source file and line, separated
// by tabs (line -1 where unknown). For the kit's natives, called from Java.
std::vector<std::string> describe(JNIEnv* env, const std::vector<Frame>& frames);

}  // namespace standin::jvm
