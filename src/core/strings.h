// Text across the boundary: Java String <-> string_t in the narrow codeset (core/codeset.h).
#pragma once

#include <jni.h>

#include "../native/tarvex.h"
#include "java_class.h"
#include "local_refs.h"

namespace tvj {

// A null or empty Java string gives a null string_t. Otherwise the narrow copy lives in the
// call's memory (core/scratch.h), exactly one byte per UTF-16 unit; a text that takes more
// bytes raises "java/io/CharConversionException" "jstring2string_t" and leaves *out null.
bool jstring2string_t(JNIEnv* env, jstring s, string_t* out);

// Replaces *slot with a new Java string of the native text (null for a null or empty text)
// and releases the text with QUMEN_FreeMem, clearing *text. On failure (CharConversionException
// "string_t2jstring", or an allocation error) the text stays with its owner, unreleased.
bool string_t2jstring(JNIEnv* env, jstring* slot, string_t* text, context_t context);

// The n bytes at `text` (n >= 1) as a new Java string into *out, releasing nothing. On failure
// raises CharConversionException "<converter>" (or leaves an allocation error) and returns false.
bool narrow_to_jstring(JNIEnv* env, const char* text, size_t n, jstring* out,
                       const char* converter);

// The String field `id` of `obj` set from a native text, which is released; a null result is
// not stored into a `fresh` object (one this call made, which holds null already). After a
// failed conversion the field keeps its old value. One function for every field and record:
// the conversion of a large record runs through little code.
bool store_string(JNIEnv* env, jobject obj, jfieldID id, string_t* text, context_t context,
                  bool fresh);

// A String field of a record, read and converted into *out.
template <Name F, const auto& Class>
bool read_string(JavaObject<Class>& o, string_t* out) {
  LocalRef<jstring> s;
  return o.template read<F>(s) && jstring2string_t(o.env(), s.get(), out);
}

// A String field of a record set from a native text, which is released. After a failed
// conversion the field keeps its old value.
template <Name F, const auto& Class>
bool write_string(JavaObject<Class>& o, string_t* text, context_t context) {
  jfieldID id = o.template field<F>();
  return id != nullptr && store_string(o.env(), o.get(), id, text, context, o.fresh());
}

}  // namespace tvj
