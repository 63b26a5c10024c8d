// The call frame that every exported method follows, written once.
//
// An exported method names its native function and lists its parameters, each wrapped in the
// kind that says what it is (an input block, a string, a result record, a stream handle...):
//
//   return call<QUMEN_HashMem>(env, cls, context, BlockIn{data}, BlockOut{hash});
//
// and the frame does the rest, in this order:
//   1. every native record of the call starts zeroed (each kind zero-initialises its own);
//   2. the context is read from the LocalIface object (`self`), when the native function takes
//      one first;
//   3. the arguments are converted in parameter order (a kind may ask to come later), each
//      checked for a pending exception; the first one skips the rest and the native call,
//      status 0xE0700001 (or 0xE0700006 where an intermediate buffer could not be had);
//   4. the native function is called once, under the fault guard (core/guard.h): a fault
//      becomes the status, and nothing after it but the clean-up runs (on Windows the guard
//      covers steps 2 to 5, so a fault in a conversion ends the call the same way);
//   5. the results are converted, handle rules first, then in parameter order, each checked
//      likewise; the first pending exception stops them, status 0xE0700001 (replacing a
//      native failure code);
//   6. the clean-up releases every argument, whatever happened, and hands back to the native
//      library whatever a result conversion did not (a conversion skipped or stopped by an
//      exception), except after a fault, when the native results are left alone;
//   7. the status is returned. A pending Java exception is never cleared: Java sees it.
// A method without results makes no exception check after the native call: its status is the
// native status as it stands.
//
// A kind is a small struct with any of these members:
//   convert(CallState&)        turns its Java value into the native one (step 3)
//   native()                   what the native function receives in its position
//   result(CallState&)         writes the native result into Java (step 5); kinds with a
//                              result derive from Result
//   release(JNIEnv*)           gives back what convert took (step 6); never raises
//   discard(context_t)         gives back a native result whose conversion did not complete
// convert and result return bool when they can tell whether they left an exception pending (as
// every converter of the bridge does); for the others the frame asks the VM (ExceptionCheck).
// Kinds shared by every family are below; the record families add theirs next to their
// converters (records/), and the few methods that depart from the frame say so where they are
// defined (ops/).
#pragma once

#include <jni.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>

#include "../native/tarvex.h"
#include "blocks.h"
#include "codeset.h"
#include "declarations.h"
#include "guard.h"
#include "handles.h"
#include "local_refs.h"
#include "scratch.h"
#include "status.h"
#include "strings.h"

namespace tvj {

struct CallState {
  JNIEnv* env;
  jclass cls;
  jobject self;
  context_t context;
  int32_t status;
};

// Base of the kinds that have a result: the frame records whether it was fully converted.
struct Result {
  bool done = false;
};

// ---- What the frame asks of a kind -----------------------------------------------------------

template <typename A>
concept Converts = requires(A a, CallState& s) {
  a.convert(s);
};
template <typename A>
concept Produces = std::is_base_of_v<Result, std::remove_cvref_t<A>>;
template <typename A>
concept Releases = requires(A a, JNIEnv* env) {
  a.release(env);
};
template <typename A>
concept Discards = requires(A a, context_t c) {
  a.discard(c);
};

template <typename F>
struct NativeSignature;
template <typename R, typename... P>
struct NativeSignature<R (*)(P...)> {
  static constexpr bool takes_context = [] {
    if constexpr (sizeof...(P) == 0) {
      return false;
    } else {
      return std::is_same_v<std::tuple_element_t<0, std::tuple<P...>>, context_t>;
    }
  }();
};

// Results run in two phases: handle rules first (a stream's or session's handle is written back
// before anything else of the call reaches Java), then the other results in parameter order.
template <typename A>
constexpr int result_phase() {
  using K = std::remove_cvref_t<A>;
  if constexpr (requires { K::kHandleRule; })
    return 0;
  else
    return 1;
}

// Arguments convert in parameter order; a kind may ask to come later (kConvertPhase 1 or 2).
// A kind fails its conversion with a Java exception pending (status 0xE0700001), or, where no
// exception applies, by setting a status of the bridge's own (0xE0700006). A kind whose hooks
// return bool says itself whether an exception is pending; for the others the frame asks the VM.
template <typename A>
constexpr int convert_phase() {
  using K = std::remove_cvref_t<A>;
  if constexpr (requires { K::kConvertPhase; })
    return K::kConvertPhase;
  else
    return 0;
}

template <int Phase, typename A>
bool convert(CallState& state, A& a) {
  if constexpr (Converts<A> && convert_phase<A>() == Phase) {
    if constexpr (std::is_same_v<decltype(a.convert(state)), bool>) {
      if (a.convert(state)) return true;  // false: an exception is pending
    } else {
      a.convert(state);
      if (!state.env->ExceptionCheck()) return state.status == 0;
    }
    state.status = kPendingException;
    return false;
  }
  return true;
}

template <int Phase, typename A>
bool produce(CallState& state, A& a) {
  if constexpr (Produces<A> && result_phase<A>() == Phase) {
    bool ok;
    if constexpr (std::is_same_v<decltype(a.result(state)), bool>) {
      ok = a.result(state);
    } else {
      a.result(state);
      ok = !state.env->ExceptionCheck();
    }
    if (!ok) return false;
    a.done = true;
  }
  return true;
}

template <typename T>
bool all_zero(const T& rec) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(&rec);
  for (size_t i = 0; i < sizeof(T); ++i)
    if (bytes[i] != 0) return false;
  return true;
}

// ---- The frame -------------------------------------------------------------------------------

// Inlined into each exported method, as a hand-written one would be.
template <auto Native, typename... Args>
[[gnu::always_inline]] inline jint call(JNIEnv* env, jclass cls, jobject self, Args&&... args) {
  CallMemory memory;
  SpareLocalRefs spare_refs;
  CallCodeset codeset;
  CallState state{env, cls, self, context_t{}, 0};
  bool called = false;

  auto steps = [&] {
    bool ready = true;
    if constexpr (NativeSignature<decltype(Native)>::takes_context)
      ready = read_context(env, cls, self, &state.context);
    ready = ready && (convert<0>(state, args) && ...) && (convert<1>(state, args) && ...) &&
            (convert<2>(state, args) && ...);
    if (!ready) {
      if (state.status == 0) state.status = kPendingException;
      return;
    }
    auto invoke = [&] {
      if constexpr (NativeSignature<decltype(Native)>::takes_context)
        state.status = Native(state.context, args.native()...);
      else
        state.status = Native(args.native()...);
    };
    int32_t fault = 0;
    if (!guard_native(invoke, fault)) {
      state.status = fault;
      return;
    }
    called = true;
    if constexpr ((Produces<Args> || ...)) {
      bool produced = (produce<0>(state, args) && ...) && (produce<1>(state, args) && ...);
      if (!produced) state.status = kPendingException;
    }
  };

  auto cleanup = [&](bool faulted) {
    [[maybe_unused]] auto release = [&](auto& a) {
      if constexpr (Releases<decltype(a)>) a.release(env);
    };
    (release(args), ...);
    if (called && !faulted) {
      [[maybe_unused]] auto discard = [&](auto& a) {
        if constexpr (Discards<decltype(a)>)
          if (!a.done) a.discard(state.context);
      };
      (discard(args), ...);
    }
  };

  int32_t fault = 0;
  if (!guard_frame(steps, cleanup, fault)) state.status = fault;
  return state.status;
}

// ---- Kinds shared by every family ------------------------------------------------------------

// A Java int or long, handed over unchanged.
struct Int {
  jint value;
  int32_t native() const { return value; }
};
struct Long {
  jlong value;
  int64_t native() const { return value; }
};

// A position the native function receives as a null pointer; the Java parameter, where there
// is one, is never read.
template <typename T>
struct Null {
  T* native() const { return nullptr; }
};

// A String: a narrow copy by value, null for a null or empty string.
struct Text {
  jstring java;
  string_t text = nullptr;
  bool convert(CallState& s) { return jstring2string_t(s.env, java, &text); }
  string_t native() const { return text; }
  void release(JNIEnv*) { text = nullptr; }  // the copy goes back with the call's memory
};

// A mem_blk_t the native library reads.
struct BlockIn {
  static constexpr size_t kRoom = 256;  // a block this short is copied here, on the stack
  jobject java;
  mem_blk_t blk{};
  uint8_t room[kRoom];  // left unset: only what the copy writes is read

  BlockIn(jobject j) : java(j) {}  // implicit: kinds are made from their Java argument
  bool convert(CallState& s) {
    return jobject2mem_blk_t_declared(s.env, java, &blk, declared_class<kMemBlkClass>(s.env, s.cls),
                                      room, kRoom);
  }
  mem_blk_t* native() { return &blk; }
  void release(JNIEnv* env) { mem_blk_tFree(env, java, &blk); }
};

// A mem_blk_t the native library fills: copied into a new Java array, then released.
struct BlockOut : Result {
  jobject java;
  mem_blk_t blk{};
  explicit BlockOut(jobject j) : java(j) {}
  mem_blk_t* native() { return &blk; }
  bool result(CallState& s) {
    return mem_blk_t2jobject_declared(s.env, java, &blk, s.context,
                                      declared_class<kMemBlkClass>(s.env, s.cls));
  }
  void discard(context_t context) {
    if (blk.buf != nullptr) QUMEN_FreeMem(context, blk.buf);
    blk.buf = nullptr;
  }
};

// Every byte of a native record set to zero: a record as the library expects it before it
// fills it, and as the bridge leaves it after releasing what it held.
template <typename Rec>
void zero(Rec* rec) {
  std::memset(static_cast<void*>(rec), 0, sizeof(Rec));
}

// A parameter record converted from Java and released after the call by `Free`; without one
// the record owns nothing and is only zeroed.
// (`Free` is told apart by its type, not by comparing it with null: with the sanitizers on, g++
// does not take a function's address as a constant it can compare.)
template <typename Rec, bool (*To)(JNIEnv*, jobject, Rec*), auto Free = nullptr>
struct RecordIn {
  static_assert(std::is_same_v<decltype(Free), std::nullptr_t> ||
                std::is_same_v<decltype(Free), void (*)(JNIEnv*, jobject, Rec*)>);
  jobject java;
  Rec rec{};
  bool convert(CallState& s) { return To(s.env, java, &rec); }
  Rec* native() { return &rec; }
  void release(JNIEnv* env) {
    if constexpr (std::is_same_v<decltype(Free), std::nullptr_t>)
      zero(&rec);
    else
      Free(env, java, &rec);
  }
};

// A result record filled by the native library and emptied by its converter, which releases
// the native memory it consumed; `Free` is the native library's release for the record.
template <typename Rec, bool (*From)(JNIEnv*, jobject, Rec*, context_t),
          int32_t (*Free)(context_t, Rec*)>
struct RecordOut : Result {
  jobject java;
  Rec rec;
  explicit RecordOut(jobject j) : java(j) { zero(&rec); }
  Rec* native() { return &rec; }
  bool result(CallState& s) { return From(s.env, java, &rec, s.context); }
  void discard(context_t context) {
    if (!all_zero(rec)) Free(context, &rec);
  }
};

// The release of a result record that holds no native memory.
template <typename Rec>
int32_t nothing_to_release(context_t, Rec*) {
  return 0;
}

// The new context of an initialisation, stored in self only when the native call succeeded.
// A null self is refused before the call: the context would have nowhere to go.
struct NewContext : Result {
  context_t context{};
  bool convert(CallState& s) {
    if (s.self != nullptr) return true;
    throw_null_pointer(s.env, "context_t2jthis", "self");
    return false;
  }
  context_t* native() { return &context; }
  bool result(CallState& s) {
    return s.status != 0 || context_t2jthis(s.env, s.cls, s.self, context);
  }
};

// An int[] of one element the native library fills (it starts at 0).
struct IntOut : Result {
  jintArray java;
  int32_t value = 0;
  explicit IntOut(jintArray j) : java(j) {}
  int32_t* native() { return &value; }
  bool result(CallState& s) { return intArray2jintArray(s.env, java, &value, 1); }
};

// An int[] of one element read before the call and written back after it.
struct IntInOut : Result {
  jintArray java;
  int32_t value = 0;
  explicit IntInOut(jintArray j) : java(j) {}
  bool convert(CallState& s) { return jintArray2intArray(s.env, java, &value, 1); }
  int32_t* native() { return &value; }
  bool result(CallState& s) { return intArray2jintArray(s.env, java, &value, 1); }
};

// ---- Handles of streams, sessions and enumerations ----------------------------------------------
// A handle lives in the `handle` field of a Java object the caller passes to every call on it
// (a null object reads as 0 and swallows writes); within a call the library receives the address
// of a local copy. The rule of each kind says when the handle goes back to Java.

struct HandleRule : Result {
  static constexpr bool kHandleRule = true;
  jobject java;
  strhandle_t handle{};
  explicit HandleRule(jobject j) : java(j) {}
  strhandle_t* native() { return &handle; }

 protected:
  void read(CallState& s) { handle = jobject2strhandle_t(s.env, java); }
  bool write(CallState& s, strhandle_t value) { return strhandle_t2jobject(s.env, java, value); }
};

// The library makes a handle: stored on success, 0 otherwise (also over an older handle).
struct HandleInit : HandleRule {
  using HandleRule::HandleRule;
  bool result(CallState& s) { return write(s, s.status == 0 ? handle : strhandle_t{}); }
};

// The library uses a handle: a failure ends it, so 0 goes back; success leaves the object as is.
struct HandleUpdate : HandleRule {
  using HandleRule::HandleRule;
  void convert(CallState& s) { read(s); }
  bool result(CallState& s) { return s.status == 0 || write(s, strhandle_t{}); }
};

// The library ends a handle, whatever its outcome: 0 goes back.
struct HandleFinal : HandleRule {
  using HandleRule::HandleRule;
  void convert(CallState& s) { read(s); }
  bool result(CallState& s) { return write(s, strhandle_t{}); }
};

// The library moves a position: the new one goes back on success, 0 otherwise.
struct HandlePosition : HandleRule {
  using HandleRule::HandleRule;
  void convert(CallState& s) { read(s); }
  bool result(CallState& s) { return write(s, s.status == 0 ? handle : strhandle_t{}); }
};

// A handle the library receives by value and cannot change.
struct HandleValue {
  jobject java;
  strhandle_t handle{};
  void convert(CallState& s) { handle = jobject2strhandle_t(s.env, java); }
  strhandle_t native() const { return handle; }
};

// A kind converted after the others of earlier phases (where a method's order of conversion
// differs from its order of parameters).
template <typename Kind, int Phase>
struct Later : Kind {
  static constexpr int kConvertPhase = Phase;
};

// A result converted only when the native call succeeded; after a failure the Java object is
// left as it was and the native result, if any, handed back to the library there and then.
template <typename Out>
struct OnSuccess : Out {
  using Out::Out;
  bool result(CallState& s) {
    if (s.status == 0) return Out::result(s);
    Out::discard(s.context);
    return true;
  }
};

}  // namespace tvj
