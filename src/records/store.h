// Certificate-store records: option words of import, export and add, a search with its
// certificate template, and the certificates a search found.
#pragma once

#include <jni.h>

#include "../core/frame.h"
#include "../core/java_class.h"
#include "../native/tarvex.h"
#include "certificate.h"

namespace tvj {

inline constexpr JavaClass kImportParamClass{"Norv1/LocalIface$import_param_t", {{"flag", "I"}}};
inline constexpr JavaClass kExportParamClass{"Norv1/LocalIface$export_param_t", {{"flag", "I"}}};
inline constexpr JavaClass kAddParamClass{"Norv1/LocalIface$add_param_t", {{"flag", "I"}}};
inline constexpr JavaClass kFindParamClass{
    "Norv1/LocalIface$find_param_t",
    {{"flag", "I"}, {"certTemplate", "LNorv1/LocalIface$certificate_t;"}, {"info", "I"}}};
inline constexpr JavaClass kFindResultClass{
    "Norv1/LocalIface$find_result_t",
    {{"num", "I"}, {"certs", "[LNorv1/LocalIface$certificate_t;"}}};

// A null object gives a zero record. The option records hold nothing to release: the calls
// zero them afterwards.
bool jobject2import_param_t(JNIEnv* env, jobject obj, import_param_t* rec);
bool jobject2export_param_t(JNIEnv* env, jobject obj, export_param_t* rec);
bool jobject2add_param_t(JNIEnv* env, jobject obj, add_param_t* rec);
// The template certificate is converted in place (jobject2certificate_t).
bool jobject2find_param_t(JNIEnv* env, jobject obj, find_param_t* rec);
void find_param_tFree(JNIEnv* env, jobject obj, find_param_t* rec);
// A new certificate_t per certificate found, in the library's order; then QUMEN_FreeFindResult.
// On a failure Java's certs stays null and the result is not released here.
bool find_result_t2jobject(JNIEnv* env, jobject obj, find_result_t* rec, context_t context);

using ImportParam = RecordIn<import_param_t, jobject2import_param_t>;
using ExportParam = RecordIn<export_param_t, jobject2export_param_t>;
using AddParam = RecordIn<add_param_t, jobject2add_param_t>;
using FindParam = RecordIn<find_param_t, jobject2find_param_t, find_param_tFree>;
using FindResult = RecordOut<find_result_t, find_result_t2jobject, QUMEN_FreeFindResult>;

}  // namespace tvj
