#include "altname.h"

#include "common.h"

namespace tvj {

namespace {

// The fourteen texts are consecutive string_t in the record, in the order of the names.
template <Name... Fields>
struct Texts {
  static bool read(JavaObject<kAltnameClass>& o, altname_t* rec) {
    string_t* slot = &rec->emailAddress;
    return (read_string<Fields>(o, slot++) && ...);
  }
  static bool write(JavaObject<kAltnameClass>& o, altname_t* rec, context_t context) {
    static constexpr int kFields[] = {kAltnameClass.index_of(Fields.view())...};
    static_assert(((kAltnameClass.index_of(Fields.view()) >= 0) && ...), "a name not described");
    string_t* slot = &rec->emailAddress;
    for (int i : kFields) {
      jfieldID id = o.field_at(i);
      if (id == nullptr || !store_string(o.env(), o.get(), id, slot++, context, o.fresh()))
        return false;
    }
    return true;
  }
};
using Names = Texts<"emailAddress", "DNS", "URI", "IP", "organizationName", "registredAddress",
                    "surname", "businessCategory", "telephoneNumber", "description",
                    "account_number", "bank_id", "physicalDelivery", "exchange_address">;
static_assert(sizeof(altname_t) == 14 * sizeof(string_t));

}  // namespace

bool jobject2altname_t(JNIEnv* env, jobject obj, altname_t* rec) {
  zero(rec);
  if (obj == nullptr) return true;
  JavaObject<kAltnameClass> o(env, obj, "jobject2altname_t");
  return Names::read(o, rec);
}

bool altname_t2jobject(JNIEnv* env, jobject obj, altname_t* rec, context_t context) {
  JavaObject<kAltnameClass> o(env, obj, "altname_t2jobject");
  string_t notes = nullptr;  // no native counterpart
  if (!Names::write(o, rec, context) || !write_string<"notes_address">(o, &notes, context))
    return false;
  zero(rec);
  return true;
}

void altname_tFree(JNIEnv*, altname_t* rec) { zero(rec); }

}  // namespace tvj
