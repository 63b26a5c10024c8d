#include "handles.h"

#include <atomic>
#include <cstring>

#include "exceptions.h"
#include "strings.h"

namespace tvj {

// LocalIface.handle, found on the class argument of the native methods (always LocalIface).
// Cached once found; while it is missing every call looks again and fails the same way.
std::atomic<jfieldID> g_context_field{nullptr};

namespace {

jfieldID handle_of(JNIEnv* env, jclass cls, jobject self, const char* converter) {
  if (self == nullptr) {
    throw_null_pointer(env, converter, "self");
    return nullptr;
  }
  jfieldID id = g_context_field.load(std::memory_order_relaxed);
  if (id != nullptr) return id;
  id = env->GetFieldID(cls, "handle", "J");
  if (id == nullptr) {
    throw_no_such_field(env, converter, "handle");
    return nullptr;
  }
  g_context_field.store(id, std::memory_order_relaxed);
  return id;
}

}  // namespace

bool read_context_looked_up(JNIEnv* env, jclass cls, jobject self, context_t* context) {
  *context = context_t{};
  jfieldID id = handle_of(env, cls, self, "jthis2context_t");
  if (id == nullptr) return false;
  *context = context_t(uint64_t(env->GetLongField(self, id)));
  return true;
}

context_t jthis2context_t(JNIEnv* env, jclass cls, jobject self) {
  context_t context;
  read_context(env, cls, self, &context);
  return context;
}

bool context_t2jthis(JNIEnv* env, jclass cls, jobject self, context_t context) {
  jfieldID id = handle_of(env, cls, self, "context_t2jthis");
  if (id == nullptr) return false;
  env->SetLongField(self, id, jlong(context));
  return true;
}

strhandle_t jobject2strhandle_t(JNIEnv* env, jobject obj) {
  if (obj == nullptr) return strhandle_t{};
  JavaObject<kStrHandleClass> o(env, obj, "jobject2strhandle_t");
  jlong value = 0;
  o.read<"handle">(value);
  return strhandle_t(uint64_t(value));
}

bool strhandle_t2jobject(JNIEnv* env, jobject obj, strhandle_t handle) {
  if (obj == nullptr) return true;
  JavaObject<kStrHandleClass> o(env, obj, "strhandle_t2jobject");
  return o.write<"handle">(jlong(handle));
}

bool jobject2local_param_t(JNIEnv* env, jobject obj, local_param_t* rec) {
  std::memset(rec, 0, sizeof *rec);
  if (obj == nullptr) return true;
  rec->size = sizeof(local_param_t);
  JavaObject<kLocalParamClass> o(env, obj, "jobject2local_param_t");
  return o.read<"flag">(rec->flag) && read_string<"pse">(o, &rec->pse) &&
         read_string<"localstore">(o, &rec->localstore) && read_string<"ldap">(o, &rec->ldap) &&
         read_string<"pincode">(o, &rec->pincode);
}

void local_param_tFree(JNIEnv*, jobject, local_param_t* rec) {
  rec->pse = rec->localstore = rec->ldap = rec->pincode = nullptr;
}

}  // namespace tvj
