// What the bridge may know of an argument's class without asking the VM on every call.
//
// A native method of LocalIface receives exactly the types its Java declaration names: Java code
// that passes anything else does not pass verification, and reflection and method handles check
// their arguments before the call. When that declared class is final, an argument (not null) is
// an instance of exactly that class, and its fields are the class's own. This holds when the host
// class that the bridge serves declares its native methods as the bridge implements them: one
// method per name, each with the bridge's descriptor (kDeclarations). A host compiled elsewhere
// may declare them otherwise (an overload taking Object, a wider type): then nothing is trusted
// and every object is asked its class, as always for records that are not final.
//
// The check runs once, on the first call that asks, over the class that calls: a native library
// belongs to one class loader, which defines one Norv1.LocalIface, so every call into the bridge
// comes from that one class. (A JNI caller that passes an object of another class to a native
// method breaks the method's type, which the JNI leaves undefined.)
#pragma once

#include <jni.h>

#include <atomic>
#include <cstddef>

#include "java_class.h"

namespace tvj {

struct Declaration {
  const char* name;
  const char* descriptor;
};
extern const Declaration kDeclarations[];
extern const size_t kDeclarationCount;

// Whether every native method that `host` declares is one of kDeclarations, each name once, with
// its descriptor. Asks the VM's tool interface (JVMTI), else reflection; leaves no exception
// pending (any failure: false).
bool declares_exactly(JNIEnv* env, jclass host);
// The same through JVMTI alone, which reads the names, descriptors and modifiers of the class as
// the VM holds it without making Method objects or loading the classes that the descriptors name
// (reflection loads every record class of a parameter, some 30, at a cost in start-up time):
// 1 exactly, 0 not, -1 when the VM offers no JVMTI or it fails.
int tool_declares_exactly(JNIEnv* env, jclass host);
// The same through reflection alone.
bool reflection_declares_exactly(JNIEnv* env, jclass host);

// declares_exactly for the calling host, asked once per process.
bool check_host(JNIEnv* env, jclass host);
extern std::atomic<int> g_host_declares;  // 0 not asked yet, 1 exactly, 2 otherwise
inline bool host_declares_exactly(JNIEnv* env, jclass host) {
  int state = g_host_declares.load(std::memory_order_acquire);
  return state != 0 ? state == 1 : check_host(env, host);
}

// The documented class of an argument that the method declares as Class, when that settles the
// argument's class: Class is final and the host declares exactly. Null otherwise: ask the object.
template <const auto& Class>
inline const ResolvedClass* declared_class(JNIEnv* env, jclass host) {
  const ResolvedClass* r = documented_class<Class>(env);
  return r != nullptr && r->final_class && host_declares_exactly(env, host) ? r : nullptr;
}

}  // namespace tvj
