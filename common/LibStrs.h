#pragma once
// The helpers every form of the module uses: small text utilities, variants,
// message-box captions and the named alert log. Including this header gives
// the date helpers (LibDates.h) and the SQL condition helpers
// (LibConditions.h) too. Every function is stateless and re-entrant.

#include "common/LibConditions.h"
#include "common/LibDates.h"
#include "runtime/system/Variant.h"

#include <QDateTime>
#include <QString>

// Text utilities ------------------------------------------------------------

// text with (width - length) pad characters in front when it is shorter than width.
QString PadLeft(const QString& text, int width, QChar pad = QLatin1Char(' '));
// The n-th field (from 1) of text cut at every separator; empty when there is none.
QString GetToken(const QString& text, const QString& separator, int n);
// 0 for an empty text, else the number of separators + 1, separators found
// the way GetToken cuts (never overlapping): the fields GetToken can return.
int CountFields(const QString& text, const QString& separator);
// value with leading zeros to width digits ("%.*d": ZeroPad(4, -5) = "-0005").
QString ZeroPad(int width, int value);
// head = text before the first separator and text = what follows it; without
// a separator head takes the whole text and text becomes empty.
void SplitFirst(QString& text, const QString& separator, QString& head);
// Every occurrence of oldText (case-sensitive) replaced by newText, searching
// on after each inserted text; nothing is replaced when the two are equal
// ignoring case, or oldText is empty. trim: trim the result.
QString ReplaceText(const QString& text, const QString& oldText, const QString& newText, bool trim);
// 0 when x and y, each rounded to 15 significant digits, differ by less than
// 1e-10; else -1 (x < y) or 1.
int CompareFloat(double x, double y);
// The number the text spells (spaces around it allowed), or defaultValue.
double TextToFloatDef(const QString& text, double defaultValue);
// True for an Unassigned or Null variant.
bool IsEmptyOrNull(const Variant& value);
// True only for exactly "127.0.0.1".
bool IsLocalHost(const QString& address);
// The Boolean in row 1 under the column whose row-0 name matches name (case
// ignored); true when the name is absent, false when the table cannot be read.
// table: a two-dimensional array [0..1, columns] or an array of two row arrays.
bool LookupFlag(const Variant& table, const QString& name);
// prefix #3 count #3 item1 #3 item2 #3 ... of a list whose element 0 is the
// count and elements 1..count the items.
QString PackList(const QString& prefix, const Variant& list);

// Variants and captions ----------------------------------------------------------

// Texts inside value as they would read had their bytes, in the system ANSI
// code page, been written in codePage: each text is encoded with GetACP() and
// decoded with codePage; a text that decodes to nothing stays as it was.
// Arrays of one dimension are recoded element by element (nested arrays too),
// two-dimensional arrays their text elements. Other values are copied. An
// error is logged to the "libstrs" alert log and the copy made so far returned.
void RecodeVariant(const Variant& value, int codePage, Variant& result);
// The Chinese caption of a standard message-box button ("Yes" -> "是(&Y)");
// any other name is its own caption. Names are case-sensitive.
void ButtonCaption(const QString& name, QString& caption);

// Alert log -----------------------------------------------------------------------

// Appends "[yyyy/MM/dd hh:mm:ss:zzz] " + message to the alert log of that name
// under the home folder's "Log" folder (home: registry ClientPath, else
// ServerPath, else the folder of the host program). period "D" daily file,
// "M" monthly, "Y" yearly, anything else daily: "Alert_<name>_<stamp>" plus
// ".log" when the name has no dot. False when the line could not be written;
// never throws.
bool WriteAlertLog(const QString& name, const QString& message, const QString& period) noexcept;
// The same line in the alert log of that name and period kept in the given
// folder (a path text) instead of the home folder's "Log" folder.
bool WriteAlertLogIn(
    const QString& folder, const QString& name, const QString& message, const QString& period) noexcept;
// The file the alert log of that name and period writes to at the given
// moment, as a path text: home folder + "\Log\Alert_..." (WriteAlertLog's rules).
QString AlertLogFileName(const QString& name, const QString& period, const QDateTime& moment);
