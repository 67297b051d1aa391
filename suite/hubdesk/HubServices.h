#pragma once
// The manager's service objects for system parameters and validation:
//
// Com_Counter
//   GetSysInfo(company [, database name]) -> rows [name, value] of the
//       company's system parameters (Sys001, Sys002, Sys026, HVN002 ...);
//       Unassigned when the server cannot answer
//   GetCounter(name, parameters, [company, database name]) -> the first value
//       of the counter query of that (upper-case) name, run with the company
//       followed by the parameters; Unassigned when there is none
// Com_Validator
//   QueryData(table, number, database name, parameters, out rows) -> True when
//       rows came back; rows is a zero-based array of zero-based rows whose
//       elements come in the catalogue's column order. Table "SimpleSql" runs
//       the read-only statement parameters[0] and answers column parameters[1].
//   CheckValue(the same)  -> True when the value is valid (a row exists)
// Both answer False, and leave rows untouched, on any failure.

#include "runtime/system/AutoObject.h"

#include <memory>

class THubServerLink;

class THubCounter : public TAutoObject {
public:
    explicit THubCounter(std::shared_ptr<THubServerLink> link);
    Variant GetSysInfo(const QString& company, const QString& databaseName);
    Variant GetCounter(const QString& name, const Variant& params, const Variant& context);

private:
    std::shared_ptr<THubServerLink> link_;
};

class THubValidator : public TAutoObject {
public:
    explicit THubValidator(std::shared_ptr<THubServerLink> link);
    bool QueryData(const QString& table, const QString& number, const QString& databaseName,
        const Variant& params, Variant& rows);

private:
    std::shared_ptr<THubServerLink> link_;
};
