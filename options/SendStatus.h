#pragma once
// The send-status condition of the options window: which rows a fax or
// e-mail run takes, by the program's send counter column.
//
// The options window keeps it in a reserved slot of its option values,
// right after the program's own options (slot = the program's option count
// + 1); the print date and whatever the criteria form adds come after it.

#include "runtime/system/Variant.h"

#include <QString>

// Send-status list: 0 "已传送" "<>0", 1 "未传送" "=0", 2 "全部" (and anything
// else) empty.
QString SendStatusCondition(int itemIndex);

// The condition a query run uses: for criteria (mode 0) the value in the
// reserved slot of the option values, for keys (mode 1) none. Raises
// EConvertError when the slot holds anything but the three texts above,
// since the text is put into the statement as it is.
QString SendStatusOfValues(int mode, const Variant& values, int slot);
