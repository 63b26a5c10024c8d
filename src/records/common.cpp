#include "common.h"

#include "../core/local_refs.h"

namespace tvj {

bool store_null(const FieldTarget& to) {
  if (!to.fresh) to.env->SetObjectField(to.obj, to.id, nullptr);
  return true;
}

bool dropped_on_failure(const FieldTarget& to) {
  if (to.fresh) return false;  // null already, and never seen by Java
  JNIEnv* env = to.env;
  jthrowable pending = env->ExceptionOccurred();
  env->ExceptionClear();
  env->SetObjectField(to.obj, to.id, nullptr);
  if (pending != nullptr) {
    env->Throw(pending);
    env->DeleteLocalRef(pending);
  }
  return false;
}

bool write_record_to(const FieldTarget& to, const RecordKind& kind, void* rec, context_t context) {
  if (rec == nullptr) return store_null(to);
  jclass cls = kind.find(to.env, to.converter);
  LocalRef<jobject> child;
  if (cls != nullptr) child = allocate_object(to.env, cls, to.converter);
  if (!child || !kind.fill(to.env, child.get(), rec, context)) return dropped_on_failure(to);
  to.env->SetObjectField(to.obj, to.id, child.get());
  return true;
}

bool write_records_to(const FieldTarget& to, const RecordKind& kind, void* elems, jint count,
                      context_t context) {
  JNIEnv* env = to.env;
  if (elems == nullptr) return store_null(to);
  jclass cls = kind.find(env, to.converter);
  if (cls == nullptr) return dropped_on_failure(to);
  LocalRef<jobjectArray> array(env, env->NewObjectArray(count, cls, nullptr));
  if (!array) {
    throw_out_of_memory(env, to.converter);
    return dropped_on_failure(to);
  }
  auto* elem = static_cast<char*>(elems);
  for (jint i = 0; i < count; ++i, elem += kind.size) {
    LocalRef<jobject> element = allocate_object(env, cls, to.converter);
    if (!element || !kind.fill(env, element.get(), elem, context)) return dropped_on_failure(to);
    env->SetObjectArrayElement(array.get(), i, element.get());
  }
  env->SetObjectField(to.obj, to.id, array.get());
  return true;
}

}  // namespace tvj
