#pragma once
// The condition texts the change-slip options put into their option values
// (element 1 slip type, 6 approval status, 7 print status) and into key
// conditions, and the checks the query builder applies to them.
//
// Each builder quotes what the user typed or the shell sent as an SQL
// literal (QuoteSqlText: single quotes, an inner quote doubled), so a slip
// type A'001 gives ='A''001' and cannot end the literal early. Each check
// accepts exactly the texts its builder makes.

#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>

// "='" slip type "' " with the slip type quoted; raises EConvertError for a
// text with a NUL character.
QString SlipTypeCondition(const QString& slipType);
// True for "=" followed by one quoted literal, spaces around allowed.
bool IsSlipTypeCondition(const QString& text);

// Approval status list: 0 "已审核" "='Y' ", 1 "未审核" "='N' ", 2 "作废"
// "='V' ", 3 "全部" (and anything else) empty.
QString ApprovalStatusCondition(int itemIndex);
bool IsApprovalStatusCondition(const QString& text);
// Print status list: 0 "已打印" "<> 0 ", 1 "未打印" "= 0 ", 2 "全部" (and
// anything else) empty.
QString PrintStatusCondition(int itemIndex);
bool IsPrintStatusCondition(const QString& text);

// What the user entered on the change-slip options, read from the controls.
struct TChangeSlipInputs {
    QString SlipType; // edTO001
    // The selection panels' values, dates already in storage form:
    // slip number, version, change date, approval date.
    Variant SlipNumber, Version, ChangeDate, ApprovalDate;
    int ApprovalItem = 0; // cboTO041
    int PrintItem = 1; // cboTO042
};
// Number of the program's own options (the send status follows them).
constexpr int ChangeSlipOptionCount = 7;
// Fills elements 1 to 7 of the option values (indexed from 1, at least 7
// long). False, with nothing written, when the slip type is empty: the
// window asks for it (E;000003). Raises EConvertError for a slip type with
// a NUL character.
bool FillChangeSlipOptionValues(Variant& values, const TChangeSlipInputs& inputs);
// Elements 1 to 7 of the option texts: the columns the options stand for.
QStringList ChangeSlipOptionTexts();
// The price and amount columns of a slip, before and after the change:
// unit price (TO024/TO124), amount (TO025/TO125), processing unit price
// (TO047/TO147) and processing amount (TO046/TO146). A user without the
// price right, or who does not ask for prices, sees none of them printed.
QStringList ChangeSlipPriceFields();

// "=" and the key as a quoted literal, no trailing space: ='A001'.
QString KeyCondition(const QString& key);
// Element 3 of the shell's keys, the slip type key; empty when missing.
QString SlipTypeKeyOfKeys(const Variant& keys);
