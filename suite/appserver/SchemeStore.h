#pragma once
// Condition schemes in table GENES, one row per name, user and program.
// Every operation answers an error text, empty on success.

#include "runtime/system/Variant.h"

#include <memory>

class TDbBackend;
class TDbCursor;

namespace SchemeStore {

// Longest scheme name, in bytes of the database code page (936).
constexpr int NameLimit = 20;

// [name, user, date YYYYMMDD, program, key list, value text, replace flag]:
// without the flag an existing scheme of that name is an error.
QString Insert(TDbBackend& db, const Variant& args);
// [name, user, program]: a scheme that does not exist is an error.
QString Delete(TDbBackend& db, const Variant& args);
// [old name, user, program], [new name, user, program].
QString Rename(TDbBackend& db, const Variant& oldKey, const Variant& newKey);
// The user's schemes of the program: NCONDITION, CREATOR, PROGRAMME,
// SCONDITION, VCONDITION, CREATE_DATE, by name.
std::unique_ptr<TDbCursor> List(TDbBackend& db, const QString& user, const QString& program);

} // namespace SchemeStore
