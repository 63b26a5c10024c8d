#include "strings.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "codeset.h"
#include "exceptions.h"
#include "local_refs.h"
#include "scratch.h"

namespace tvj {

namespace {

constexpr size_t kStackUnits = 256;  // shorter texts convert through the stack

// UTF-16 units of one conversion: on the stack when short, else a heap block freed at once.
class Units {
 public:
  explicit Units(size_t n)
      : heap_(n > kStackUnits ? static_cast<jchar*>(std::malloc(n * sizeof(jchar))) : nullptr),
        data_(n > kStackUnits ? heap_ : stack_) {}
  ~Units() { std::free(heap_); }
  Units(const Units&) = delete;
  Units& operator=(const Units&) = delete;
  jchar* get() { return data_; }

 private:
  jchar stack_[kStackUnits];
  jchar* heap_;
  jchar* data_;
};

uint64_t load8(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

uint64_t load4(const char* p) {
  uint32_t word;
  std::memcpy(&word, p, 4);
  return word;
}

// n >= 1 bytes of ASCII in a codeset that keeps ASCII: the text is its own modified UTF-8 form,
// and the VM can make the string straight from it (when it ends with a NUL at n). Texts of 8 to
// 32 bytes, the usual names and identifiers, are covered by four overlapping loads whatever
// their length, with no branch on it: a loop whose exit moved with every text cost a
// mispredicted branch per text, more than the rest of the test.
bool plain_ascii(const char* text, size_t n) {
  uint64_t high;  // the top bits of every byte
  if (n - 8 <= 24) {
    size_t second = n < 16 ? n - 8 : 8;
    size_t third = n < 16 ? 0 : n - 16;
    high = load8(text) | load8(text + second) | load8(text + third) | load8(text + n - 8);
  } else if (n > 32) {
    high = load8(text + n - 8);
    for (size_t i = 0; i + 8 < n; i += 8) high |= load8(text + i);
  } else if (n >= 4) {
    high = load4(text) | load4(text + n - 4);
  } else {
    high = uint8_t(text[0]) | uint8_t(text[n / 2]) | uint8_t(text[n - 1]);
  }
  return (high & 0x8080808080808080u) == 0 && n <= size_t(INT32_MAX) && process_keeps_ascii();
}

}  // namespace

bool jstring2string_t(JNIEnv* env, jstring s, string_t* out) {
  *out = nullptr;
  if (s == nullptr) return true;
  jsize n = env->GetStringLength(s);
  if (n < 1) return true;
  Units units{size_t(n)};
  char* narrow = static_cast<char*>(scratch_alloc(size_t(n) + 1));
  if (units.get() == nullptr || narrow == nullptr) {
    throw_out_of_memory(env, "jstring2string_t");
    return false;
  }
  env->GetStringRegion(s, 0, n, units.get());
  if (encode_narrow(process_codeset(), units.get(), size_t(n), narrow) != n) {
    throw_char_conversion(env, "jstring2string_t");
    return false;
  }
  narrow[n] = '\0';
  *out = narrow;
  return true;
}

bool narrow_to_jstring(JNIEnv* env, const char* text, size_t n, jstring* out,
                       const char* converter) {
  Units units(n);
  if (units.get() == nullptr || n > size_t(INT32_MAX)) {
    throw_out_of_memory(env, converter);
    return false;
  }
  if (decode_narrow(process_codeset(), text, n, units.get()) != long(n)) {
    throw_char_conversion(env, converter);
    return false;
  }
  *out = env->NewString(units.get(), jsize(n));
  if (*out == nullptr) {
    throw_out_of_memory(env, converter);
    return false;
  }
  return true;
}

bool string_t2jstring(JNIEnv* env, jstring* slot, string_t* text, context_t context) {
  size_t n = *text != nullptr ? std::strlen(*text) : 0;
  if (*slot != nullptr) {
    env->DeleteLocalRef(*slot);
    *slot = nullptr;
  }
  if (n == 0) {
    if (*text != nullptr) QUMEN_FreeMem(context, *text);
    *text = nullptr;
    return true;
  }
  if (plain_ascii(*text, n)) {
    *slot = env->NewStringUTF(*text);
    if (*slot == nullptr) {
      throw_out_of_memory(env, "string_t2jstring");
      return false;
    }
  } else if (!narrow_to_jstring(env, *text, n, slot, "string_t2jstring")) {
    return false;
  }
  QUMEN_FreeMem(context, *text);
  *text = nullptr;
  return true;
}

bool store_string(JNIEnv* env, jobject obj, jfieldID id, string_t* text, context_t context,
                  bool fresh) {
  jstring s = nullptr;
  bool converted = string_t2jstring(env, &s, text, context);
  LocalRef<jstring> owned(env, s);
  if (!converted) return false;
  if (s != nullptr || !fresh) env->SetObjectField(obj, id, s);
  return true;
}

}  // namespace tvj
