#pragma once
// The enumerations a selection panel publishes, under the names its form
// descriptions and stored condition schemes use ("sp_Range", "vt_Date" ...).

#include <QObject>

namespace Sel {
Q_NAMESPACE

// Which input the panel offers: a range, a list, or either as the user picks.
enum TSelectStyle { sp_Range, sp_Discrete, sp_UserChoice };
Q_ENUM_NS(TSelectStyle)

// How begin and final are compared when the panel puts them in order.
enum TValueType { vt_String, vt_Number, vt_Date, vt_Time, vt_Float, vt_OtherMask };
Q_ENUM_NS(TValueType)

// Field order of a date text; the last two count years from 1911.
enum TDateType { dt_NoneCare, dt_YYYYMMDD, dt_MMDDYYYY, dt_DDMMYYYY, dt_YYMMDD, dt_YYYMMDD };
Q_ENUM_NS(TDateType)

// Removal of list rows whose caption repeats the row before.
enum TCheckDuplicate { cd_None, cd_CheckCase, cd_CaseInsensitive };
Q_ENUM_NS(TCheckDuplicate)

} // namespace Sel

using namespace Sel;
