#include "test_jni.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <unordered_set>
#include <utility>

namespace testjni {

// ---- The model
// -----------------------------------------------------------------------------------

namespace {

struct FieldDef {
  const char* name;
  const char* sig;
};
struct MethodDef {
  const char* name;
  const char* descriptor;
  int modifiers;
};
struct ClassDef {
  const char* name;
  const char* super;
  int modifiers;
  std::vector<FieldDef> fields;
  std::vector<MethodDef> methods;
};

const ClassDef kHostClasses[] = {
#include "class_model.inc"
};

// Every slot of the JNI function table, in order (made from the JDK's jni.h at build time).
const char* const kFunctionNames[] = {
#include "jni_functions.inc"
};
static_assert(sizeof kFunctionNames / sizeof *kFunctionNames ==
                  sizeof(JNINativeInterface_) / sizeof(void*),
              "one name for every slot of the JNI function table");

const char* const kInvokeNames[] = {
    "reserved0",           "reserved1",           "reserved2", "DestroyJavaVM",
    "AttachCurrentThread", "DetachCurrentThread", "GetEnv",    "AttachCurrentThreadAsDaemon"};
static_assert(sizeof kInvokeNames / sizeof *kInvokeNames ==
                  sizeof(JNIInvokeInterface_) / sizeof(void*),
              "one name for every slot of the invocation table");

constexpr int kPublic = 0x0001, kStatic = 0x0008, kFinal = 0x0010, kInterface = 0x0200,
              kAbstract = 0x0400;
constexpr size_t kNativeFrameCapacity = 32;  // what JDK 17's checks allow a native method
constexpr size_t kPushedFrameExtra = 32;     // and a pushed frame beyond its capacity

}  // namespace

struct Value {
  int64_t i = 0;
  Object* o = nullptr;
};

struct Method;
using Body = std::function<Value(Object* self, const std::vector<Value>& args)>;

struct Field {
  Class* owner;
  std::string name;
  std::string sig;
  size_t slot;
};

struct Method {
  Class* owner;
  std::string name;
  std::string descriptor;
  int modifiers;
  Body body;  // built-in methods only
};

struct Class {
  std::string name;  // JNI name; "int" and the like for primitive classes
  Class* super = nullptr;
  int modifiers = kPublic;
  std::vector<std::unique_ptr<Field>> fields;
  std::vector<std::unique_ptr<Method>> methods;
  size_t slots = 0;    // instance fields, inherited ones included
  char primitive = 0;  // 'I', 'J', ... for a primitive class
  char array = 0;      // 'B', 'I', 'L' for an array class
  Class* element = nullptr;
  Object* mirror = nullptr;  // its java.lang.Class object
};

struct Object {
  Class* cls;
  std::vector<Value> fields;
  std::vector<int8_t> bytes;           // byte[]
  std::vector<int32_t> ints;           // int[]
  std::vector<Object*> elements;       // Object[]
  std::u16string chars;                // String
  std::optional<std::string> message;  // Throwable
  Class* mirrored = nullptr;           // Class
  Method* method = nullptr;            // reflect.Method
  size_t length() const {
    return cls->array == 'B' ? bytes.size() : cls->array == 'I' ? ints.size() : elements.size();
  }
};

namespace {

struct Ref {
  Object* obj;
  bool global;
  bool live;
};

struct Frame {
  size_t capacity;
  bool native;
  std::vector<Ref*> refs;
  size_t live = 0;
  bool warned = false;
};

// Modified UTF-8, as JNI's UTF functions speak it: every UTF-16 unit on its own, NUL as C0 80.
std::string to_modified_utf8(const std::u16string& units) {
  std::string out;
  for (char16_t u : units) {
    if (u != 0 && u < 0x80) {
      out += char(u);
    } else if (u < 0x800) {
      out += char(0xC0 | (u >> 6));
      out += char(0x80 | (u & 0x3F));
    } else {
      out += char(0xE0 | (u >> 12));
      out += char(0x80 | ((u >> 6) & 0x3F));
      out += char(0x80 | (u & 0x3F));
    }
  }
  return out;
}

std::u16string from_modified_utf8(const char* text) {
  std::u16string out;
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  while (*s) {
    if (*s < 0x80) {
      out += char16_t(*s++);
    } else if ((*s & 0xE0) == 0xC0 && s[1]) {
      out += char16_t(((s[0] & 0x1F) << 6) | (s[1] & 0x3F));
      s += 2;
    } else if ((*s & 0xF0) == 0xE0 && s[1] && s[2]) {
      out += char16_t(((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F));
      s += 3;
    } else {
      out += char16_t(0xFFFD);
      ++s;
    }
  }
  return out;
}

std::string dotted(const std::string& name) {
  std::string out = name;
  for (char& c : out)
    if (c == '/') c = '.';
  return out;
}

// The types of a method descriptor: its parameters, then its return type last.
std::vector<std::string> descriptor_types(const std::string& d) {
  std::vector<std::string> types;
  size_t i = 1;
  while (i < d.size()) {
    if (d[i] == ')') {
      ++i;
      continue;
    }
    size_t start = i;
    while (d[i] == '[') ++i;
    if (d[i] == 'L') i = d.find(';', i);
    ++i;
    types.push_back(d.substr(start, i - start));
  }
  return types;
}

}  // namespace

// ---- The state
// -------------------------------------------------------------------------------------

struct Vm::State {
  JNINativeInterface_ functions{};
  JNIEnv_ env{};
  JNIInvokeInterface_ invoke{};
  JavaVM_ java_vm{};

  std::map<std::string, std::unique_ptr<Class>> classes;
  std::deque<std::unique_ptr<Object>> objects;
  std::deque<Ref> refs;
  std::unordered_set<const void*> known_refs;
  std::unordered_set<const void*> known_fields;
  std::unordered_set<const void*> known_methods;
  std::vector<Frame> frames;
  std::map<const char*, Object*> utf_chars;  // taken and not yet released
  Object* pending = nullptr;
  const char* must_check = nullptr;  // a Call<Type>Method whose exception nobody checked yet
  std::vector<std::string> problems;
  std::vector<std::string> calls;

  Class* object_class = nullptr;
  Class* string_class = nullptr;
  Class* class_class = nullptr;
  Class* method_class = nullptr;

  // ---- Classes

  Class* define(const std::string& name, Class* super, int modifiers) {
    auto& slot = classes[name];
    if (!slot) slot = std::make_unique<Class>();
    Class* c = slot.get();
    c->name = name;
    c->super = super;
    c->modifiers = modifiers;
    c->slots = super != nullptr ? super->slots : 0;
    return c;
  }

  void add_field(Class* c, const std::string& name, const std::string& sig) {
    c->fields.push_back(std::make_unique<Field>(Field{c, name, sig, c->slots++}));
    known_fields.insert(c->fields.back().get());
  }

  Method* add_method(Class* c, const std::string& name, const std::string& descriptor,
                     int modifiers, Body body = nullptr) {
    c->methods.push_back(
        std::make_unique<Method>(Method{c, name, descriptor, modifiers, std::move(body)}));
    known_methods.insert(c->methods.back().get());
    return c->methods.back().get();
  }

  Class* primitive(char code, const char* name) {
    Class* c = define(name, nullptr, kPublic | kFinal | kAbstract);
    c->primitive = code;
    return c;
  }

  // A class by descriptor ("I", "[B", "Ljava/lang/String;") or JNI name; array classes are made
  // on demand. Null when there is no such class.
  Class* by_descriptor(const std::string& d) {
    static const std::map<char, const char*> kPrimitives = {
        {'I', "int"},   {'J', "long"},  {'B', "byte"},   {'Z', "boolean"}, {'C', "char"},
        {'S', "short"}, {'F', "float"}, {'D', "double"}, {'V', "void"}};
    if (d.size() == 1 && kPrimitives.count(d[0])) return classes[kPrimitives.at(d[0])].get();
    if (d[0] == 'L') return by_name(d.substr(1, d.size() - 2));
    return by_name(d);
  }

  Class* by_name(const std::string& name) {
    auto it = classes.find(name);
    if (it != classes.end()) return it->second.get();
    if (name.size() < 2 || name[0] != '[') return nullptr;
    Class* element = nullptr;
    if (name[1] == 'L' || name[1] == '[') {
      element = by_descriptor(name.substr(1));
      if (element == nullptr) return nullptr;
    } else if (name != "[B" && name != "[I") {
      return nullptr;
    }
    Class* c = define(name, object_class, kPublic | kFinal | kAbstract);
    c->array = element != nullptr ? 'L' : name[1];
    c->element = element;
    mirror_of(c);
    return c;
  }

  Object* mirror_of(Class* c) {
    if (c->mirror == nullptr) {
      c->mirror = make(class_class);
      c->mirror->mirrored = c;
    }
    return c->mirror;
  }

  static bool subclass(const Class* c, const Class* of) {
    for (; c != nullptr; c = c->super)
      if (c == of) return true;
    return false;
  }
  bool instance_of(const Object* o, const Class* c) {
    if (subclass(o->cls, c)) return true;
    return o->cls->array == 'L' && c->array == 'L' && subclass(o->cls->element, c->element);
  }

  // ---- Objects

  Object* make(Class* c) {
    objects.push_back(std::make_unique<Object>());
    Object* o = objects.back().get();
    o->cls = c;
    o->fields.resize(c->slots);
    return o;
  }
  Object* new_string(const std::u16string& units) {
    Object* s = make(string_class);
    s->chars = units;
    return s;
  }
  Object* new_array(Class* c, size_t n) {
    Object* a = make(c);
    if (c->array == 'B') a->bytes.assign(n, 0);
    if (c->array == 'I') a->ints.assign(n, 0);
    if (c->array == 'L') a->elements.assign(n, nullptr);
    return a;
  }

  // ---- Exceptions

  void raise(const std::string& cls, const std::optional<std::string>& message) {
    Class* c = by_name(cls);
    if (c == nullptr) c = define(cls, by_name("java/lang/Throwable"), kPublic);
    pending = make(c);
    pending->message = message;
  }

  // ---- References

  jobject local(Object* o) {
    if (o == nullptr) return nullptr;
    Frame& f = frames.back();
    refs.push_back(Ref{o, false, true});
    Ref* r = &refs.back();
    known_refs.insert(r);
    f.refs.push_back(r);
    ++f.live;
    if (f.live > f.capacity && !f.warned) {
      f.warned = true;
      problem("JNI local refs: " + std::to_string(f.live) +
              ", exceeds capacity: " + std::to_string(f.capacity));
    }
    return reinterpret_cast<jobject>(r);
  }

  jobject global(Object* o) {
    if (o == nullptr) return nullptr;
    refs.push_back(Ref{o, true, true});
    known_refs.insert(&refs.back());
    return reinterpret_cast<jobject>(&refs.back());
  }

  Ref* ref(jobject r, const char* fn) {
    if (r == nullptr) return nullptr;
    if (!known_refs.count(r)) {
      problem(std::string(fn) + ": a reference that was never made");
      std::abort();  // nothing to read through it
    }
    auto* ref = reinterpret_cast<Ref*>(r);
    if (!ref->live) problem(std::string(fn) + ": a deleted reference");
    return ref;
  }

  Object* deref(jobject r, const char* fn) {
    Ref* x = ref(r, fn);
    return x != nullptr ? x->obj : nullptr;
  }

  void drop(Ref* r) {
    if (!r->live) return;
    r->live = false;
    if (!r->global)
      for (Frame& f : frames)
        for (Ref* x : f.refs)
          if (x == r) --f.live;
  }

  void pop_frame() {
    for (Ref* r : frames.back().refs) r->live = false;
    frames.pop_back();
  }

  // ---- Checks

  void problem(const std::string& text) { problems.push_back(text); }

  // Every JNI function starts here. `allowed`: one of those the JNI allows with an exception
  // pending; they do not answer for an unchecked Call<Type>Method either.
  void enter(const char* fn, bool allowed = false) {
    calls.push_back(fn);
    if (allowed) return;
    if (pending != nullptr) problem(std::string("JNI call made with exception pending: ") + fn);
    if (must_check != nullptr) {
      problem(std::string("JNI call made without checking exceptions when required to from ") +
              must_check + " (next: " + fn + ")");
      must_check = nullptr;
    }
  }

  Field* field(jfieldID id, Object* o, char type, const char* fn) {
    auto* f = reinterpret_cast<Field*>(id);
    if (!known_fields.count(f)) {
      problem(std::string(fn) + ": a field ID that was never made");
      std::abort();
    }
    if (o == nullptr) {
      problem(std::string(fn) + ": a null object");
      return nullptr;
    }
    if (!instance_of(o, f->owner))
      problem(std::string(fn) + ": field " + f->name + " of " + f->owner->name + " on a " +
              o->cls->name);
    char sig = f->sig[0] == '[' ? 'L' : f->sig[0];
    if (sig != type) problem(std::string(fn) + ": field " + f->name + " is " + f->sig);
    return f->slot < o->fields.size() ? f : nullptr;
  }

  Object* array(jobject r, char kind, const char* fn) {
    Object* a = deref(r, fn);
    if (a == nullptr || a->cls->array != kind) {
      problem(std::string(fn) + ": not an array of the function's type");
      return nullptr;
    }
    return a;
  }

  // Whether a region lies inside the array; else the VM's exception.
  bool region(Object* a, jsize start, jsize len) {
    size_t n = a->length();
    if (start < 0 || len < 0 || size_t(start) + size_t(len) > n) {
      raise("java/lang/ArrayIndexOutOfBoundsException",
            "Array region " + std::to_string(start) + ".." + std::to_string(int64_t(start) + len) +
                " out of bounds for length " + std::to_string(n));
      return false;
    }
    return true;
  }

  Value call(Object* self, jmethodID id, va_list args, const char* fn, bool is_static) {
    auto* m = reinterpret_cast<Method*>(id);
    if (!known_methods.count(m)) {
      problem(std::string(fn) + ": a method ID that was never made");
      std::abort();
    }
    if (bool(m->modifiers & kStatic) != is_static || (!is_static && self == nullptr) ||
        (!is_static && !instance_of(self, m->owner)))
      problem(std::string(fn) + ": " + m->owner->name + "." + m->name + " on a wrong receiver");
    if (!m->body) {
      std::fprintf(stderr, "test JNI environment: %s.%s cannot run here\n", m->owner->name.c_str(),
                   m->name.c_str());
      std::abort();
    }
    std::vector<std::string> types = descriptor_types(m->descriptor);
    std::vector<Value> values;
    for (size_t i = 0; i + 1 < types.size(); ++i) {
      char t = types[i][0];
      if (t == 'L' || t == '[')
        values.push_back(Value{0, deref(va_arg(args, jobject), fn)});
      else if (t == 'J')
        values.push_back(Value{int64_t(va_arg(args, jlong)), nullptr});
      else if (t == 'F' || t == 'D')
        values.push_back(Value{int64_t(va_arg(args, double)), nullptr});
      else
        values.push_back(Value{int64_t(va_arg(args, int)), nullptr});
    }
    must_check = fn;
    return m->body(self, values);
  }

  jmethodID method(Object* cls_mirror, const char* name, const char* sig, bool is_static,
                   const char* fn) {
    Class* c = cls_mirror != nullptr ? cls_mirror->mirrored : nullptr;
    if (c == nullptr) {
      problem(std::string(fn) + ": not a class");
      return nullptr;
    }
    for (Class* k = c; k != nullptr; k = k->super)
      for (auto& m : k->methods)
        if (m->name == name && m->descriptor == sig && bool(m->modifiers & kStatic) == is_static)
          return reinterpret_cast<jmethodID>(m.get());
    raise("java/lang/NoSuchMethodError", std::string(name));
    return nullptr;
  }
};

// ---- The functions
// ------------------------------------------------------------------------------------

namespace {

Vm::State* g_state = nullptr;

Vm::State& S(const char* fn, bool allowed = false) {
  g_state->enter(fn, allowed);
  return *g_state;
}

template <size_t I>
void missing() {
  std::fprintf(stderr, "test JNI environment: %s is not implemented (the bridge called it)\n",
               kFunctionNames[I]);
  std::fflush(stderr);
  std::abort();
}
template <size_t I>
void missing_invoke() {
  std::fprintf(stderr, "test JNI environment: JavaVM %s is not implemented\n", kInvokeNames[I]);
  std::fflush(stderr);
  std::abort();
}
template <size_t... I>
void fill_missing(void** table, std::index_sequence<I...>) {
  ((table[I] = reinterpret_cast<void*>(&missing<I>)), ...);
}
template <size_t... I>
void fill_missing_invoke(void** table, std::index_sequence<I...>) {
  ((table[I] = reinterpret_cast<void*>(&missing_invoke<I>)), ...);
}

// Classes and objects

jclass JNICALL FindClass(JNIEnv*, const char* name) {
  auto& s = S("FindClass");
  Class* c = s.by_name(name);
  if (c == nullptr || c->primitive) {
    s.raise("java/lang/NoClassDefFoundError", std::string(name));
    return nullptr;
  }
  return static_cast<jclass>(s.local(s.mirror_of(c)));
}

jclass JNICALL GetObjectClass(JNIEnv*, jobject obj) {
  auto& s = S("GetObjectClass");
  Object* o = s.deref(obj, "GetObjectClass");
  if (o == nullptr) {
    s.problem("GetObjectClass: a null object");
    return nullptr;
  }
  return static_cast<jclass>(s.local(s.mirror_of(o->cls)));
}

jboolean JNICALL IsInstanceOf(JNIEnv*, jobject obj, jclass cls) {
  auto& s = S("IsInstanceOf");
  Object* o = s.deref(obj, "IsInstanceOf");
  Object* c = s.deref(cls, "IsInstanceOf");
  return o == nullptr || (c != nullptr && c->mirrored && s.instance_of(o, c->mirrored));
}

jboolean JNICALL IsSameObject(JNIEnv*, jobject a, jobject b) {
  auto& s = S("IsSameObject");
  return s.deref(a, "IsSameObject") == s.deref(b, "IsSameObject");
}

jobject JNICALL AllocObject(JNIEnv*, jclass cls) {
  auto& s = S("AllocObject");
  Object* m = s.deref(cls, "AllocObject");
  Class* c = m != nullptr ? m->mirrored : nullptr;
  if (c == nullptr || c->array || c->primitive || (c->modifiers & (kInterface | kAbstract))) {
    s.raise("java/lang/InstantiationException", c != nullptr ? dotted(c->name) : "");
    return nullptr;
  }
  return s.local(s.make(c));
}

// Fields

jfieldID JNICALL GetFieldID(JNIEnv*, jclass cls, const char* name, const char* sig) {
  auto& s = S("GetFieldID");
  Object* m = s.deref(cls, "GetFieldID");
  for (Class* c = m != nullptr ? m->mirrored : nullptr; c != nullptr; c = c->super)
    for (auto& f : c->fields)
      if (f->name == name && f->sig == sig) return reinterpret_cast<jfieldID>(f.get());
  s.raise("java/lang/NoSuchFieldError", std::string(name));
  return nullptr;
}

jobject JNICALL GetObjectField(JNIEnv*, jobject obj, jfieldID id) {
  auto& s = S("GetObjectField");
  Object* o = s.deref(obj, "GetObjectField");
  Field* f = s.field(id, o, 'L', "GetObjectField");
  return f != nullptr ? s.local(o->fields[f->slot].o) : nullptr;
}
jint JNICALL GetIntField(JNIEnv*, jobject obj, jfieldID id) {
  auto& s = S("GetIntField");
  Object* o = s.deref(obj, "GetIntField");
  Field* f = s.field(id, o, 'I', "GetIntField");
  return f != nullptr ? jint(o->fields[f->slot].i) : 0;
}
jlong JNICALL GetLongField(JNIEnv*, jobject obj, jfieldID id) {
  auto& s = S("GetLongField");
  Object* o = s.deref(obj, "GetLongField");
  Field* f = s.field(id, o, 'J', "GetLongField");
  return f != nullptr ? jlong(o->fields[f->slot].i) : 0;
}
void JNICALL SetObjectField(JNIEnv*, jobject obj, jfieldID id, jobject value) {
  auto& s = S("SetObjectField");
  Object* o = s.deref(obj, "SetObjectField");
  Object* v = s.deref(value, "SetObjectField");
  Field* f = s.field(id, o, 'L', "SetObjectField");
  if (f == nullptr) return;
  Class* type = s.by_descriptor(f->sig);
  if (v != nullptr && type != nullptr && !s.instance_of(v, type))
    s.problem("SetObjectField: a " + v->cls->name + " into " + f->name + " (" + f->sig + ")");
  o->fields[f->slot].o = v;
}
void JNICALL SetIntField(JNIEnv*, jobject obj, jfieldID id, jint value) {
  auto& s = S("SetIntField");
  Object* o = s.deref(obj, "SetIntField");
  if (Field* f = s.field(id, o, 'I', "SetIntField")) o->fields[f->slot].i = int32_t(value);
}
void JNICALL SetLongField(JNIEnv*, jobject obj, jfieldID id, jlong value) {
  auto& s = S("SetLongField");
  Object* o = s.deref(obj, "SetLongField");
  if (Field* f = s.field(id, o, 'J', "SetLongField")) o->fields[f->slot].i = value;
}

// Methods: the built-in ones of java.lang only.

jmethodID JNICALL GetMethodID(JNIEnv*, jclass cls, const char* name, const char* sig) {
  auto& s = S("GetMethodID");
  return s.method(s.deref(cls, "GetMethodID"), name, sig, false, "GetMethodID");
}
jmethodID JNICALL GetStaticMethodID(JNIEnv*, jclass cls, const char* name, const char* sig) {
  auto& s = S("GetStaticMethodID");
  return s.method(s.deref(cls, "GetStaticMethodID"), name, sig, true, "GetStaticMethodID");
}
// The C++ interface of jni.h calls the va_list forms.
jint JNICALL CallIntMethodV(JNIEnv*, jobject obj, jmethodID id, va_list args) {
  auto& s = S("CallIntMethod");
  return jint(s.call(s.deref(obj, "CallIntMethod"), id, args, "CallIntMethod", false).i);
}
jobject JNICALL CallObjectMethodV(JNIEnv*, jobject obj, jmethodID id, va_list args) {
  auto& s = S("CallObjectMethod");
  return s.local(s.call(s.deref(obj, "CallObjectMethod"), id, args, "CallObjectMethod", false).o);
}
jobject JNICALL CallStaticObjectMethodV(JNIEnv*, jclass, jmethodID id, va_list args) {
  auto& s = S("CallStaticObjectMethod");
  return s.local(s.call(nullptr, id, args, "CallStaticObjectMethod", true).o);
}

// Strings

jstring JNICALL NewString(JNIEnv*, const jchar* units, jsize len) {
  auto& s = S("NewString");
  if (len < 0) s.problem("NewString: a negative length");
  return static_cast<jstring>(
      s.local(s.new_string(std::u16string(reinterpret_cast<const char16_t*>(units), size_t(len)))));
}
jstring JNICALL NewStringUTF(JNIEnv*, const char* text) {
  auto& s = S("NewStringUTF");
  if (text == nullptr) return nullptr;
  return static_cast<jstring>(s.local(s.new_string(from_modified_utf8(text))));
}
Object* string_arg(Vm::State& s, jstring str, const char* fn) {
  Object* o = s.deref(str, fn);
  if (o == nullptr || o->cls != s.string_class) {
    s.problem(std::string(fn) + ": not a string");
    return nullptr;
  }
  return o;
}
jsize JNICALL GetStringLength(JNIEnv*, jstring str) {
  auto& s = S("GetStringLength");
  Object* o = string_arg(s, str, "GetStringLength");
  return o != nullptr ? jsize(o->chars.size()) : 0;
}
void JNICALL GetStringRegion(JNIEnv*, jstring str, jsize start, jsize len, jchar* buf) {
  auto& s = S("GetStringRegion");
  Object* o = string_arg(s, str, "GetStringRegion");
  if (o == nullptr) return;
  if (start < 0 || len < 0 || size_t(start) + size_t(len) > o->chars.size()) {
    s.raise("java/lang/StringIndexOutOfBoundsException", std::nullopt);
    return;
  }
  std::memcpy(buf, o->chars.data() + start, size_t(len) * sizeof(jchar));
}
const char* JNICALL GetStringUTFChars(JNIEnv*, jstring str, jboolean* is_copy) {
  auto& s = S("GetStringUTFChars");
  Object* o = string_arg(s, str, "GetStringUTFChars");
  if (o == nullptr) return nullptr;
  std::string utf = to_modified_utf8(o->chars);
  char* copy = static_cast<char*>(std::malloc(utf.size() + 1));
  std::memcpy(copy, utf.c_str(), utf.size() + 1);
  s.utf_chars[copy] = o;
  if (is_copy != nullptr) *is_copy = JNI_TRUE;
  return copy;
}
void JNICALL ReleaseStringUTFChars(JNIEnv*, jstring str, const char* chars) {
  auto& s = S("ReleaseStringUTFChars", true);
  Object* o = s.deref(str, "ReleaseStringUTFChars");
  auto it = s.utf_chars.find(chars);
  if (it == s.utf_chars.end() || it->second != o) {
    s.problem("ReleaseStringUTFChars: characters not taken from this string, or released twice");
    return;
  }
  s.utf_chars.erase(it);
  std::free(const_cast<char*>(chars));
}

// Arrays

jsize JNICALL GetArrayLength(JNIEnv*, jarray array) {
  auto& s = S("GetArrayLength");
  Object* a = s.deref(array, "GetArrayLength");
  if (a == nullptr || !a->cls->array) {
    s.problem("GetArrayLength: not an array");
    return 0;
  }
  return jsize(a->length());
}
jbyteArray JNICALL NewByteArray(JNIEnv*, jsize len) {
  auto& s = S("NewByteArray");
  if (len < 0) {
    s.raise("java/lang/NegativeArraySizeException", std::to_string(len));
    return nullptr;
  }
  return static_cast<jbyteArray>(s.local(s.new_array(s.by_name("[B"), size_t(len))));
}
void JNICALL GetByteArrayRegion(JNIEnv*, jbyteArray array, jsize start, jsize len, jbyte* buf) {
  auto& s = S("GetByteArrayRegion");
  Object* a = s.array(array, 'B', "GetByteArrayRegion");
  if (a != nullptr && s.region(a, start, len) && len > 0)
    std::memcpy(buf, a->bytes.data() + start, size_t(len));
}
void JNICALL SetByteArrayRegion(JNIEnv*, jbyteArray array, jsize start, jsize len,
                                const jbyte* buf) {
  auto& s = S("SetByteArrayRegion");
  Object* a = s.array(array, 'B', "SetByteArrayRegion");
  if (a != nullptr && s.region(a, start, len) && len > 0)
    std::memcpy(a->bytes.data() + start, buf, size_t(len));
}
void JNICALL GetIntArrayRegion(JNIEnv*, jintArray array, jsize start, jsize len, jint* buf) {
  auto& s = S("GetIntArrayRegion");
  Object* a = s.array(array, 'I', "GetIntArrayRegion");
  if (a != nullptr && s.region(a, start, len))
    for (jsize i = 0; i < len; ++i) buf[i] = jint(a->ints[size_t(start + i)]);
}
void JNICALL SetIntArrayRegion(JNIEnv*, jintArray array, jsize start, jsize len, const jint* buf) {
  auto& s = S("SetIntArrayRegion");
  Object* a = s.array(array, 'I', "SetIntArrayRegion");
  if (a != nullptr && s.region(a, start, len))
    for (jsize i = 0; i < len; ++i) a->ints[size_t(start + i)] = int32_t(buf[i]);
}
jobjectArray JNICALL NewObjectArray(JNIEnv*, jsize len, jclass element, jobject init) {
  auto& s = S("NewObjectArray");
  Object* m = s.deref(element, "NewObjectArray");
  Object* first = s.deref(init, "NewObjectArray");
  if (m == nullptr || m->mirrored == nullptr) {
    s.problem("NewObjectArray: no element class");
    return nullptr;
  }
  if (len < 0) {
    s.raise("java/lang/NegativeArraySizeException", std::to_string(len));
    return nullptr;
  }
  Class* c = m->mirrored;
  std::string name = c->array ? "[" + c->name : "[L" + c->name + ";";
  Object* a = s.new_array(s.by_name(name), size_t(len));
  for (auto& e : a->elements) e = first;
  return static_cast<jobjectArray>(s.local(a));
}
jobject JNICALL GetObjectArrayElement(JNIEnv*, jobjectArray array, jsize index) {
  auto& s = S("GetObjectArrayElement");
  Object* a = s.array(array, 'L', "GetObjectArrayElement");
  if (a == nullptr) return nullptr;
  if (index < 0 || size_t(index) >= a->elements.size()) {
    s.raise("java/lang/ArrayIndexOutOfBoundsException", "Index " + std::to_string(index) +
                                                            " out of bounds for length " +
                                                            std::to_string(a->elements.size()));
    return nullptr;
  }
  return s.local(a->elements[size_t(index)]);
}
void JNICALL SetObjectArrayElement(JNIEnv*, jobjectArray array, jsize index, jobject value) {
  auto& s = S("SetObjectArrayElement");
  Object* a = s.array(array, 'L', "SetObjectArrayElement");
  Object* v = s.deref(value, "SetObjectArrayElement");
  if (a == nullptr) return;
  if (index < 0 || size_t(index) >= a->elements.size()) {
    s.raise("java/lang/ArrayIndexOutOfBoundsException", "Index " + std::to_string(index) +
                                                            " out of bounds for length " +
                                                            std::to_string(a->elements.size()));
    return;
  }
  if (v != nullptr && !s.instance_of(v, a->cls->element)) {
    s.raise("java/lang/ArrayStoreException", dotted(v->cls->name));
    return;
  }
  a->elements[size_t(index)] = v;
}

// Exceptions

jint JNICALL Throw(JNIEnv*, jthrowable obj) {
  auto& s = S("Throw");
  s.pending = s.deref(obj, "Throw");
  return 0;
}
jint JNICALL ThrowNew(JNIEnv*, jclass cls, const char* message) {
  auto& s = S("ThrowNew");
  Object* m = s.deref(cls, "ThrowNew");
  if (m == nullptr || m->mirrored == nullptr) {
    s.problem("ThrowNew: no class");
    return -1;
  }
  s.raise(m->mirrored->name,
          message != nullptr ? std::optional<std::string>(message) : std::nullopt);
  return 0;
}
jthrowable JNICALL ExceptionOccurred(JNIEnv*) {
  auto& s = S("ExceptionOccurred", true);
  s.must_check = nullptr;
  return static_cast<jthrowable>(s.local(s.pending));
}
jboolean JNICALL ExceptionCheck(JNIEnv*) {
  auto& s = S("ExceptionCheck", true);
  s.must_check = nullptr;
  return s.pending != nullptr;
}
void JNICALL ExceptionClear(JNIEnv*) {
  auto& s = S("ExceptionClear", true);
  s.pending = nullptr;
}

// References

jobject JNICALL NewGlobalRef(JNIEnv*, jobject obj) {
  auto& s = S("NewGlobalRef");
  return s.global(s.deref(obj, "NewGlobalRef"));
}
void JNICALL DeleteGlobalRef(JNIEnv*, jobject obj) {
  auto& s = S("DeleteGlobalRef", true);
  Ref* r = s.ref(obj, "DeleteGlobalRef");
  if (r == nullptr) return;
  if (!r->global) s.problem("DeleteGlobalRef: a local reference");
  s.drop(r);
}
void JNICALL DeleteLocalRef(JNIEnv*, jobject obj) {
  auto& s = S("DeleteLocalRef", true);
  Ref* r = s.ref(obj, "DeleteLocalRef");
  if (r == nullptr) return;
  if (r->global) s.problem("DeleteLocalRef: a global reference");
  s.drop(r);
}
jint JNICALL PushLocalFrame(JNIEnv*, jint capacity) {
  auto& s = S("PushLocalFrame", true);
  if (capacity < 0) s.problem("PushLocalFrame: a negative capacity");
  s.frames.push_back(Frame{size_t(capacity) + kPushedFrameExtra, false, {}});
  return 0;
}
jobject JNICALL PopLocalFrame(JNIEnv*, jobject result) {
  auto& s = S("PopLocalFrame", true);
  Object* keep = s.deref(result, "PopLocalFrame");
  if (s.frames.back().native) {
    s.problem("PopLocalFrame without PushLocalFrame");
    return nullptr;
  }
  s.pop_frame();
  return s.local(keep);
}

// The invocation interface: GetEnv only, for JNI versions: a tool interface's version (JVMTI's
// have 0x30000000 set) is refused, as by a VM without it, and the bridge falls back to reflection.
jint JNICALL GetEnv(JavaVM*, void** env, jint version) {
  if ((version & 0x30000000) == 0x30000000) {
    *env = nullptr;
    return JNI_EVERSION;
  }
  *env = &g_state->env;
  return JNI_OK;
}

jint JNICALL GetJavaVM(JNIEnv*, JavaVM** vm) {
  *vm = &g_state->java_vm;
  return JNI_OK;
}

}  // namespace

// ---- The environment
// --------------------------------------------------------------------------------

Vm::Vm() : state_(std::make_unique<State>()) {
  if (g_state != nullptr) std::abort();  // one per process
  State& s = *state_;
  g_state = &s;

  fill_missing(reinterpret_cast<void**>(&s.functions),
               std::make_index_sequence<sizeof kFunctionNames / sizeof *kFunctionNames>());
  fill_missing_invoke(reinterpret_cast<void**>(&s.invoke),
                      std::make_index_sequence<sizeof kInvokeNames / sizeof *kInvokeNames>());
  JNINativeInterface_& f = s.functions;
  f.FindClass = FindClass;
  f.GetObjectClass = GetObjectClass;
  f.IsInstanceOf = IsInstanceOf;
  f.IsSameObject = IsSameObject;
  f.AllocObject = AllocObject;
  f.GetFieldID = GetFieldID;
  f.GetObjectField = GetObjectField;
  f.GetIntField = GetIntField;
  f.GetLongField = GetLongField;
  f.SetObjectField = SetObjectField;
  f.SetIntField = SetIntField;
  f.SetLongField = SetLongField;
  f.GetMethodID = GetMethodID;
  f.GetStaticMethodID = GetStaticMethodID;
  f.CallIntMethodV = CallIntMethodV;
  f.CallObjectMethodV = CallObjectMethodV;
  f.CallStaticObjectMethodV = CallStaticObjectMethodV;
  f.NewString = NewString;
  f.NewStringUTF = NewStringUTF;
  f.GetStringLength = GetStringLength;
  f.GetStringRegion = GetStringRegion;
  f.GetStringUTFChars = GetStringUTFChars;
  f.ReleaseStringUTFChars = ReleaseStringUTFChars;
  f.GetArrayLength = GetArrayLength;
  f.NewByteArray = NewByteArray;
  f.GetByteArrayRegion = GetByteArrayRegion;
  f.SetByteArrayRegion = SetByteArrayRegion;
  f.GetIntArrayRegion = GetIntArrayRegion;
  f.SetIntArrayRegion = SetIntArrayRegion;
  f.NewObjectArray = NewObjectArray;
  f.GetObjectArrayElement = GetObjectArrayElement;
  f.SetObjectArrayElement = SetObjectArrayElement;
  f.Throw = Throw;
  f.ThrowNew = ThrowNew;
  f.ExceptionOccurred = ExceptionOccurred;
  f.ExceptionCheck = ExceptionCheck;
  f.ExceptionClear = ExceptionClear;
  f.NewGlobalRef = NewGlobalRef;
  f.DeleteGlobalRef = DeleteGlobalRef;
  f.DeleteLocalRef = DeleteLocalRef;
  f.PushLocalFrame = PushLocalFrame;
  f.PopLocalFrame = PopLocalFrame;
  f.GetJavaVM = GetJavaVM;
  s.env.functions = &s.functions;
  s.invoke.GetEnv = GetEnv;
  s.java_vm.functions = &s.invoke;

  // java.lang, as far as the bridge reaches it.
  s.object_class = s.define("java/lang/Object", nullptr, kPublic);
  s.class_class = s.define("java/lang/Class", s.object_class, kPublic | kFinal);
  s.string_class = s.define("java/lang/String", s.object_class, kPublic | kFinal);
  s.method_class = s.define("java/lang/reflect/Method", s.object_class, kPublic | kFinal);
  Class* system = s.define("java/lang/System", s.object_class, kPublic | kFinal);
  for (Class* c : {s.object_class, s.class_class, s.string_class, s.method_class, system})
    s.mirror_of(c);
  for (auto [code, name] : {std::pair{'I', "int"},
                            {'J', "long"},
                            {'B', "byte"},
                            {'Z', "boolean"},
                            {'C', "char"},
                            {'S', "short"},
                            {'F', "float"},
                            {'D', "double"},
                            {'V', "void"}})
    s.mirror_of(s.primitive(code, name));
  Class* throwable = s.define("java/lang/Throwable", s.object_class, kPublic);
  s.mirror_of(throwable);
  for (const char* name :
       {"java/lang/NoSuchFieldException", "java/lang/ClassNotFoundException",
        "java/lang/OutOfMemoryError", "java/io/CharConversionException",
        "java/lang/ArrayIndexOutOfBoundsException", "java/lang/NullPointerException",
        "java/lang/NoSuchFieldError", "java/lang/NoSuchMethodError",
        "java/lang/NoClassDefFoundError", "java/lang/NegativeArraySizeException",
        "java/lang/ArrayStoreException", "java/lang/InstantiationException",
        "java/lang/StringIndexOutOfBoundsException"})
    s.mirror_of(s.define(name, throwable, kPublic));

  State* st = &s;
  auto text = [st](const std::string& utf8) {
    return st->new_string(from_modified_utf8(utf8.c_str()));
  };
  s.add_method(s.class_class, "getModifiers", "()I", kPublic,
               [](Object* self, const std::vector<Value>&) {
                 return Value{self->mirrored->modifiers, nullptr};
               });
  s.add_method(s.class_class, "getName", "()Ljava/lang/String;", kPublic,
               [text](Object* self, const std::vector<Value>&) {
                 const Class* c = self->mirrored;
                 return Value{0, text(c->primitive ? c->name : dotted(c->name))};
               });
  s.add_method(s.class_class, "getDeclaredMethods", "()[Ljava/lang/reflect/Method;", kPublic,
               [st](Object* self, const std::vector<Value>&) {
                 Class* c = self->mirrored;
                 Object* array = st->new_array(st->by_name("[Ljava/lang/reflect/Method;"), 0);
                 for (auto& m : c->methods) {
                   Object* reflected = st->make(st->method_class);
                   reflected->method = m.get();
                   array->elements.push_back(reflected);
                 }
                 return Value{0, array};
               });
  s.add_method(s.method_class, "getModifiers", "()I", kPublic,
               [](Object* self, const std::vector<Value>&) {
                 return Value{self->method->modifiers, nullptr};
               });
  s.add_method(s.method_class, "getName", "()Ljava/lang/String;", kPublic,
               [text](Object* self, const std::vector<Value>&) {
                 return Value{0, text(self->method->name)};
               });
  s.add_method(s.method_class, "getParameterTypes", "()[Ljava/lang/Class;", kPublic,
               [st](Object* self, const std::vector<Value>&) {
                 std::vector<std::string> types = descriptor_types(self->method->descriptor);
                 types.pop_back();
                 Object* array = st->new_array(st->by_name("[Ljava/lang/Class;"), 0);
                 for (const auto& t : types)
                   array->elements.push_back(st->mirror_of(st->by_descriptor(t)));
                 return Value{0, array};
               });
  s.add_method(
      s.method_class, "getReturnType", "()Ljava/lang/Class;", kPublic,
      [st](Object* self, const std::vector<Value>&) {
        return Value{
            0, st->mirror_of(st->by_descriptor(descriptor_types(self->method->descriptor).back()))};
      });
  // The system properties: those in TVJ_PROPERTIES, "name=value;name=value".
  s.add_method(system, "getProperty", "(Ljava/lang/String;)Ljava/lang/String;", kPublic | kStatic,
               [text](Object*, const std::vector<Value>& args) {
                 const char* all = std::getenv("TVJ_PROPERTIES");
                 if (all == nullptr || args.empty() || args[0].o == nullptr) return Value{};
                 std::string key(args[0].o->chars.begin(), args[0].o->chars.end());
                 std::string rest = all;
                 for (size_t at = 0; at <= rest.size();) {
                   size_t end = std::min(rest.find(';', at), rest.size());
                   std::string entry = rest.substr(at, end - at);
                   if (entry.compare(0, key.size() + 1, key + "=") == 0)
                     return Value{0, text(entry.substr(key.size() + 1))};
                   at = end + 1;
                 }
                 return Value{};
               });

  // The host and its records, as compiled.
  for (const ClassDef& d : kHostClasses) s.mirror_of(s.define(d.name, s.object_class, d.modifiers));
  for (const ClassDef& d : kHostClasses) {
    Class* c = s.by_name(d.name);
    c->super = s.by_name(d.super);
    for (const FieldDef& fd : d.fields) s.add_field(c, fd.name, fd.sig);
    for (const MethodDef& md : d.methods) s.add_method(c, md.name, md.descriptor, md.modifiers);
  }
  s.frames.push_back(Frame{SIZE_MAX, false, {}});  // the tests' own references
}

Vm::~Vm() {
  for (auto& [chars, string] : state_->utf_chars) std::free(const_cast<char*>(chars));
  g_state = nullptr;
}

JNIEnv* Vm::env() { return &state_->env; }
JavaVM* Vm::java_vm() { return &state_->java_vm; }

Class* Vm::find(const std::string& name) {
  Class* c = state_->by_name(
      name.find('/') == std::string::npos && name[0] != '[' ? "Norv1/LocalIface$" + name : name);
  if (c == nullptr) {
    std::fprintf(stderr, "test JNI environment: no class %s\n", name.c_str());
    std::abort();
  }
  return c;
}

Obj Vm::make(const std::string& cls) { return state_->make(find(cls)); }
Obj Vm::class_object(const std::string& cls) { return state_->mirror_of(find(cls)); }
Obj Vm::string(const std::u16string& units) { return state_->new_string(units); }
Obj Vm::utf8(const char* text) {
  return text != nullptr ? state_->new_string(from_modified_utf8(text)) : nullptr;
}
Obj Vm::bytes(const std::vector<uint8_t>& b) {
  Obj a = state_->new_array(find("[B"), b.size());
  std::memcpy(a->bytes.data(), b.data(), b.size());
  return a;
}
Obj Vm::ints(const std::vector<int32_t>& v) {
  Obj a = state_->new_array(find("[I"), v.size());
  a->ints = v;
  return a;
}
Obj Vm::array(const std::string& element, const std::vector<Obj>& items) {
  Obj a = state_->new_array(find("[L" + find(element)->name + ";"), 0);
  a->elements = items;
  return a;
}

namespace {
Field* field_named(Obj o, const char* name) {
  for (Class* c = o->cls; c != nullptr; c = c->super)
    for (auto& f : c->fields)
      if (f->name == name) return f.get();
  std::fprintf(stderr, "test JNI environment: %s has no field %s\n", o->cls->name.c_str(), name);
  std::abort();
}
}  // namespace

void Vm::set(Obj o, const char* field, int32_t v) { o->fields[field_named(o, field)->slot].i = v; }
void Vm::set_long(Obj o, const char* field, int64_t v) {
  o->fields[field_named(o, field)->slot].i = v;
}
void Vm::set(Obj o, const char* field, Obj v) { o->fields[field_named(o, field)->slot].o = v; }
int32_t Vm::get_int(Obj o, const char* field) {
  return int32_t(o->fields[field_named(o, field)->slot].i);
}
int64_t Vm::get_long(Obj o, const char* field) { return o->fields[field_named(o, field)->slot].i; }
Obj Vm::get(Obj o, const char* field) { return o->fields[field_named(o, field)->slot].o; }
std::optional<std::vector<uint8_t>> Vm::bytes_of(Obj a) {
  if (a == nullptr) return std::nullopt;
  return std::vector<uint8_t>(a->bytes.begin(), a->bytes.end());
}
std::optional<std::u16string> Vm::units_of(Obj s) {
  if (s == nullptr) return std::nullopt;
  return s->chars;
}
std::vector<Obj> Vm::elements(Obj a) { return a != nullptr ? a->elements : std::vector<Obj>{}; }
std::vector<int32_t> Vm::ints_of(Obj a) { return a->ints; }
std::string Vm::class_name(Obj o) { return o->cls->name; }

void Vm::enter_native() { state_->frames.push_back(Frame{kNativeFrameCapacity, true, {}}); }
jobject Vm::local(Obj o) { return state_->local(o); }
Obj Vm::object_of(jobject ref) { return state_->deref(ref, "the native method's result"); }

void Vm::leave_native() {
  State& s = *state_;
  while (!s.frames.back().native) {
    s.problem("a local frame pushed and never popped");
    s.pop_frame();
  }
  s.pop_frame();
  for (auto& [chars, string] : s.utf_chars) {
    s.problem("GetStringUTFChars without ReleaseStringUTFChars");
    std::free(const_cast<char*>(chars));
  }
  s.utf_chars.clear();
  s.must_check = nullptr;
}

std::optional<Vm::Thrown> Vm::thrown() {
  Object* e = state_->pending;
  if (e == nullptr) return std::nullopt;
  state_->pending = nullptr;
  return Thrown{dotted(e->cls->name), e->message.value_or("")};
}
bool Vm::exception_pending() const { return state_->pending != nullptr; }

std::vector<std::string> Vm::take_problems() { return std::exchange(state_->problems, {}); }
std::vector<std::string> Vm::take_calls() { return std::exchange(state_->calls, {}); }

}  // namespace testjni
