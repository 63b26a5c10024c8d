#include "common.h"

namespace tvj {

bool store_null(RecordObject& o, jfieldID id) {
  if (!o.fresh()) o.env()->SetObjectField(o.get(), id, nullptr);
  return true;
}

bool dropped_on_failure(RecordObject& o, jfieldID id) {
  if (o.fresh()) return false;  // null already, and never seen by Java
  JNIEnv* env = o.env();
  jthrowable pending = env->ExceptionOccurred();
  env->ExceptionClear();
  env->SetObjectField(o.get(), id, nullptr);
  if (pending != nullptr) {
    env->Throw(pending);
    env->DeleteLocalRef(pending);
  }
  return false;
}

bool fill_record(JNIEnv* env, jobject obj, const RecordKind& kind, void* rec, context_t context) {
  Filling filling(obj, kind.documented(env));
  if (kind.fields >= 8 && t_spare_local_refs < kind.fields + 8) {
    LocalFrame frame(env);
    return frame.pushed() && kind.from(env, obj, rec, context);
  }
  return kind.from(env, obj, rec, context);
}

bool write_record_at(RecordObject& o, int i, const RecordKind& kind, void* rec, context_t context) {
  JNIEnv* env = o.env();
  jfieldID id = o.field_at(i);
  if (id == nullptr) return false;
  if (rec == nullptr) return store_null(o, id);
  jclass cls = kind.find(env, o.converter());
  LocalRef<jobject> child;
  if (cls != nullptr) child = allocate_object(env, cls, o.converter());
  if (!child || !fill_record(env, child.get(), kind, rec, context)) return dropped_on_failure(o, id);
  env->SetObjectField(o.get(), id, child.get());
  return true;
}

bool write_records_at(RecordObject& o, int i, const RecordKind& kind, void* elems, jint count,
                      context_t context) {
  JNIEnv* env = o.env();
  jfieldID id = o.field_at(i);
  if (id == nullptr) return false;
  if (elems == nullptr) return store_null(o, id);
  jclass cls = kind.find(env, o.converter());
  if (cls == nullptr) return dropped_on_failure(o, id);
  LocalRef<jobjectArray> array(env, env->NewObjectArray(count, cls, nullptr));
  if (!array) {
    throw_out_of_memory(env, o.converter());
    return dropped_on_failure(o, id);
  }
  auto* elem = static_cast<char*>(elems);
  for (jint j = 0; j < count; ++j, elem += kind.size) {
    LocalRef<jobject> element = allocate_object(env, cls, o.converter());
    if (!element || !fill_record(env, element.get(), kind, elem, context)) return dropped_on_failure(o, id);
    env->SetObjectArrayElement(array.get(), j, element.get());
  }
  env->SetObjectField(o.get(), id, array.get());
  return true;
}

}  // namespace tvj
