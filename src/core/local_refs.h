// The call's local references: the owner of one (LocalRef), the allowance a call may leave to
// the VM (SpareLocalRefs), and local frames of their own for large conversions (LocalFrame,
// RefRoom). Every release is allowed while an exception is pending.
#pragma once

#include <jni.h>

#include <utility>

namespace tvj {

// Local references a call may leave to the VM instead of deleting them one by one: the VM drops
// them all when the native method returns. A short call (a block or two, a small record) thus
// deletes nothing; a call that converts many objects deletes every reference past the first
// kSpareLocalRefs, so that few are ever live at once. Outside a call (SpareLocalRefs) there
// are none: every reference is deleted.
inline constexpr int kSpareLocalRefs = 24;
extern __thread int t_spare_local_refs __attribute__((tls_model("initial-exec")));

// Opens the allowance of one call, on its thread.
class SpareLocalRefs {
 public:
  SpareLocalRefs() : saved_(t_spare_local_refs) { t_spare_local_refs = kSpareLocalRefs; }
  ~SpareLocalRefs() { t_spare_local_refs = saved_; }
  SpareLocalRefs(const SpareLocalRefs&) = delete;
  SpareLocalRefs& operator=(const SpareLocalRefs&) = delete;

 private:
  int saved_;
};

// A local frame of its own around the conversion of one object with many fields: the references
// made inside go all at once when it ends (PopLocalFrame) instead of one by one, the frame's
// capacity standing in for the call's allowance meanwhile. Check pushed(): when the VM cannot
// make the frame, its own error is pending.
class LocalFrame {
 public:
  static constexpr int kCapacity = 128;
  explicit LocalFrame(JNIEnv* env)
      : env_(env), saved_(t_spare_local_refs), pushed_(env->PushLocalFrame(kCapacity) == 0) {
    if (pushed_) t_spare_local_refs = kCapacity - 8;  // room for those live at once
  }
  ~LocalFrame() {
    if (pushed_) env_->PopLocalFrame(nullptr);
    t_spare_local_refs = saved_;
  }
  LocalFrame(const LocalFrame&) = delete;
  LocalFrame& operator=(const LocalFrame&) = delete;
  bool pushed() const { return pushed_; }

 private:
  JNIEnv* env_;
  int saved_;
  bool pushed_;
};

// Room for `refs` more references, for the conversion of one large record: a frame of its own
// (as LocalFrame) only when the allowance left cannot hold them, so that a record converted
// inside another's frame shares it. A frame the VM cannot make is done without (its error
// cleared): the references then go one by one, as outside a frame.
class RefRoom {
 public:
  RefRoom(JNIEnv* env, int refs) : env_(env), saved_(t_spare_local_refs), pushed_(false) {
    if (t_spare_local_refs >= refs) return;
    pushed_ = env->PushLocalFrame(LocalFrame::kCapacity) == 0;
    if (pushed_)
      t_spare_local_refs = LocalFrame::kCapacity - 8;
    else
      env->ExceptionClear();
  }
  ~RefRoom() {
    if (!pushed_) return;  // without a frame, what was used of the allowance stays used
    env_->PopLocalFrame(nullptr);
    t_spare_local_refs = saved_;
  }
  RefRoom(const RefRoom&) = delete;
  RefRoom& operator=(const RefRoom&) = delete;

 private:
  JNIEnv* env_;
  int saved_;
  bool pushed_;
};

// Owns one local reference and gives it up when it goes out of scope: to the call's allowance
// while it lasts, else with DeleteLocalRef, which is among the functions allowed while an
// exception is pending, so this is safe on every path.
template <typename T = jobject>
class LocalRef {
 public:
  LocalRef() = default;
  LocalRef(JNIEnv* env, T ref) : env_(env), ref_(ref) {}
  LocalRef(LocalRef&& other) noexcept
      : env_(other.env_), ref_(std::exchange(other.ref_, nullptr)) {}
  LocalRef& operator=(LocalRef&& other) noexcept {
    if (this != &other) {
      reset();
      env_ = other.env_;
      ref_ = std::exchange(other.ref_, nullptr);
    }
    return *this;
  }
  LocalRef(const LocalRef&) = delete;
  LocalRef& operator=(const LocalRef&) = delete;
  ~LocalRef() { reset(); }

  T get() const { return ref_; }
  explicit operator bool() const { return ref_ != nullptr; }
  void reset() {
    if (ref_) {
      if (t_spare_local_refs > 0)
        --t_spare_local_refs;
      else
        env_->DeleteLocalRef(ref_);
    }
    ref_ = nullptr;
  }

 private:
  JNIEnv* env_ = nullptr;
  T ref_ = nullptr;
};

}  // namespace tvj
