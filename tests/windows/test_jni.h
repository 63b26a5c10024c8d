// A JNI environment of the tests' own, for running the bridge where no JVM can: under Wine.
//
// It implements the JNI functions the bridge calls, and only those: any other aborts the
// program, naming the function. Its classes are the shipped LocalIface and its record classes,
// read from their compiled form at build time (ClassModel.java), and the few of java.lang the
// bridge reaches: String, Class and reflection's Method (the bridge checks once how the host
// declares its methods), System (a property at load), and the exceptions.
//
// It checks what -Xcheck:jni checks, as far as it can, and records each breach as a problem,
// which fails the test (the fixture, harness.h):
//   - a JNI function other than those the JNI allows then is called with an exception pending;
//   - a JNI call follows Call<Type>Method without an exception check in between;
//   - a reference that was deleted, popped with its frame or never made is used;
//   - more local references are live in a frame than its capacity (32 in a native method's own
//     frame, capacity + 32 in a pushed one, as JDK 17 counts);
//   - a field ID is used on an object that is no instance of its class, or through the accessor
//     of another type;
//   - GetStringUTFChars characters are released twice or not by the end of the call, or a frame
//     pushed inside a native method is not popped when it returns.
// What it cannot check: the VM's own behaviour under memory pressure, concurrency, and anything
// the bridge does not call.
//
// One environment per process, used by one thread at a time.
#pragma once

#include <jni.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testjni {

struct Class;
struct Object;
using Obj = Object*;  // an object as the tests hold it: no reference, never collected

class Vm {
 public:
  Vm();
  ~Vm();
  Vm(const Vm&) = delete;
  Vm& operator=(const Vm&) = delete;

  JNIEnv* env();
  JavaVM* java_vm();

  // ---- Objects, for the tests (no JNI checks) ----------------------------------------------
  // A class by JNI name; a name without '/' is a record class of LocalIface ("mem_blk_t").
  Class* find(const std::string& name);
  Obj make(const std::string& cls);  // fields zero or null, as AllocObject leaves them
  Obj class_object(const std::string& cls);
  Obj string(const std::u16string& units);
  Obj utf8(const char* text);  // null for null
  Obj bytes(const std::vector<uint8_t>& b);
  Obj ints(const std::vector<int32_t>& v);
  Obj array(const std::string& element, const std::vector<Obj>& items);

  void set(Obj o, const char* field, int32_t v);
  void set_long(Obj o, const char* field, int64_t v);
  void set(Obj o, const char* field, Obj v);
  int32_t get_int(Obj o, const char* field);
  int64_t get_long(Obj o, const char* field);
  Obj get(Obj o, const char* field);
  std::optional<std::vector<uint8_t>> bytes_of(Obj array);  // nullopt for null
  std::optional<std::u16string> units_of(Obj string);       // nullopt for null
  std::vector<Obj> elements(Obj array);
  std::vector<int32_t> ints_of(Obj array);
  std::string class_name(Obj o);  // JNI name

  // ---- Calls ----------------------------------------------------------------------------------
  // The frame of one native method: the arguments become local references in it, the result
  // (an object) is taken back as an Obj, and its end is checked.
  void enter_native();
  jobject local(Obj o);        // a local reference in the current frame; null for null
  Obj object_of(jobject ref);  // what a reference stands for (checked)
  void leave_native();

  // The pending exception, taken and cleared: its class (dotted) and message.
  struct Thrown {
    std::string cls;
    std::string message;
  };
  std::optional<Thrown> thrown();
  bool exception_pending() const;

  // Problems found since the last call, taken.
  std::vector<std::string> take_problems();
  // The JNI functions called since the last call, taken (in order, with repeats).
  std::vector<std::string> take_calls();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace testjni
