#pragma once
// What a slip type sets on the options window of a slip-printing program:
// footer and sign-off blocks (codes, whether the user may change them), the
// every-page switches, the format, and an extra text for the report. The
// settings come from the slip type's row of the document-type table CMSMQ
// and from the program's row of CMSMT:
//
//   CMSMQ row: 1 footer code, 2 "Y" footer editable, 3 sign-off code,
//     4 "Y" sign-off editable, 7 "Y" footer on every page, 8 "Y" sign-off on
//     every page, 9 format name, 10 "Y" format changeable, 11 extra text,
//     12 "N" no totals on every page
//   CMSMT row: 0 footer code, 1 "Y" footer editable, 6 sign-off code,
//     7 "Y" sign-off editable, 12 default format name
//
// PlanSlipTypeSettings decides; the window applies the plan (loads the
// blocks by code, sets its controls). Nothing here queries or shows
// anything.

#include "options/PredefinedQuery.h"

#include <QString>
#include <optional>

// A footer or sign-off block: the code to load (empty: the block is only
// cleared) and whether its group may be edited.
struct TSignBlockPlan {
    QString Code;
    bool Editable = true;
};

struct TSlipTypePlan {
    // False when the slip type's row could not be read: the window shows
    // E;100007 and keeps its settings; Row stays Unassigned.
    bool Known = true;
    // The slip type's row; for an empty slip type the program's row, or an
    // empty text when there is none.
    Variant Row;
    QString SlipTypeExtra;
    // Select this format (when set); when the box is still empty after that,
    // select FallbackFormat (when set).
    std::optional<QString> Format;
    std::optional<QString> FallbackFormat;
    std::optional<bool> FormatBoxEnabled; // unset: the box stays as it is
    std::optional<bool> FooterEveryPage; // unset: the check box stays
    std::optional<bool> SignOffEveryPage;
    bool TotalEnabled = true;
    bool TotalChecked = false;
    std::optional<TSignBlockPlan> Footer; // unset: the group stays
    std::optional<TSignBlockPlan> SignOff;
};

// slipRow: the slip type's CMSMQ row, nullopt when the query failed
// (ignored for an empty slip type). programRow: the program's CMSMT row,
// nullopt when there is none.
TSlipTypePlan PlanSlipTypeSettings(
    const QString& slipType, const std::optional<Variant>& slipRow, const std::optional<Variant>& programRow);

// The slip type's row: CMSMQ "08" by the slip type alone for a key print or
// export, else "38" with the program's slip type key.
TPredefinedQuery SlipTypeSettingsQuery(const QString& slipType, bool keyMode, const QString& slipTypeKey);
// The program's settings row (CMSMT "01").
TPredefinedQuery ProgramSettingsQuery(const QString& programCode);

enum TSignBlockKind {
    SignBlockFooter = 1,
    SignBlockSignOff = 2,
};
// A footer or sign-off block by code (CMSMS "01"): elements 1 to 3 the lines.
TPredefinedQuery SignBlockQuery(TSignBlockKind kind, const QString& code);
// The resource text naming the block in W;000004: R;100235 footer, R;100236 sign-off.
QString SignBlockNameResource(TSignBlockKind kind);
// The sign-off code that hands the sign-off block to the workflow product.
bool IsWorkflowSignOff(const QString& signOffCode);
