#pragma once
// The list of stored formats (report layouts) the options window offers,
// and the report title it gives a format form.
//
// A stored format carries an option text: one line per option it was made
// for, "component:key=value" (component = text before the first ":", the
// expected value = text after the first "="; the key between them names
// the property and is not compared). A format fits the window when every
// line's component exists on the window and its current value (item index
// of a list or radio group, "1" or "0" for a check box) equals the expected
// value. A blank option text fits always. Blank lines are skipped.

#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The current value of a component of the window by name; nullopt when the
// window has no such component.
using TOptionValueOf = std::function<std::optional<QString>(const QString& component)>;

bool FormatMatchesOptions(const QString& optionText, const TOptionValueOf& valueOf);

// The items of the format box: "<New>" first when the box is enabled (the
// built-in layout), then the name (element 0) of every row of the stored
// formats (element 1 its option text) that fits. Rows that cannot be read
// are skipped.
QStringList FormatListItems(const Variant& rows, bool boxEnabled, const TOptionValueOf& valueOf);
// The items after a format was deleted: "<NEW>", then every fitting format.
QStringList FormatListAfterDelete(const Variant& rows, const TOptionValueOf& valueOf);
// The item to select after the list was rebuilt: the remembered text when
// the list holds it in any case ("wide" finds "Wide"), else 0 (-1 for an
// empty list).
int FormatListSelection(const QStringList& items, const QString& remembered);

// "<company title prefix> - <program title>": the prefix is item 1 of the
// company row (nothing when the row is empty), the program's title falls
// back to its code.
QString ReportTitle(const QStringList& companyInfo, const QString& programTitle, const QString& programCode);
