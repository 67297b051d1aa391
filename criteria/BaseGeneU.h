#pragma once
// The base criteria form's rules that need no form: date texts in the five
// date styles, edit masks, message kinds, coded-message texts, help topics
// and required-field lists.
//
// Date styles (system parameter Sys001): 1 year-month-day, 2 month-day-year,
// 3 day-month-year, 4 and 5 year-month-day with the year counted from 1911
// (two and three digits). Storage dates are "yyyymmdd", year-months "yyyymm".

#include "runtime/forms/VclTypes.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace basegene {

// A date typed in the style as "yyyymmdd": parts split at separator,
// trimmed, put in year-month-day order (1911 added for styles 4 and 5).
// Empty for an empty text or one equal to emptyMask (both trimmed); the text
// itself when a part is no number or there are not three parts. The result
// is not checked to be a real date.
QString DateToStorage(const QString& text, int style, const QString& separator, const QString& emptyMask = {});
// "yyyymmdd" in the style; empty for an empty text, the text itself when it
// is no date.
QString StorageToDate(const QString& yyyymmdd, int style, const QString& separator);
// The same for year and month ("2024/05" <-> "202405"; styles 2 and 3 put
// the month first).
QString YearMonthToStorage(const QString& text, int style, const QString& separator, const QString& emptyMask = {});
QString StorageToYearMonth(const QString& yyyymm, int style, const QString& separator);
// Edit masks of a date and of a year-month in the style ("!9999/99/99;1;_").
QString DateMask(int style, const QString& separator);
QString YearMonthMask(int style, const QString& separator);
// The selection panel's date type of a style (dt_NoneCare outside 1..5).
int PanelDateType(int style);

// Box type and buttons of a message kind ("C", "D", "E", "I", "Q", "W").
Vcl::TMsgDlgType BoxTypeOf(const QString& kind);
Vcl::TMsgDlgButtons ButtonsOf(const QString& kind);
// The captions of the buttons in the user's language: every button of the
// box under its ButtonCaption text, or none for the English code page 437
// (the toolkit's own captions stay).
QMap<Vcl::TMsgDlgBtn, QString> ButtonCaptionsOf(Vcl::TMsgDlgButtons buttons, const QString& uiCodePage);
// A message text with "%s"/"%d" places filled in order; false in ok when
// the places and the arguments do not fit, in number or kind (the caller
// then shows them raw).
QString FormatMessage(const QString& text, const QStringList& args, bool* ok);

// A code "K;id;arg1;...": kind, id and up to nine arguments.
struct MessageCode {
    QString Kind;
    QString Id;
    QStringList Args;
};
MessageCode ParseMessageCode(const QString& code);

// The help topic of a program code ("ZORV52" -> "120520000"); empty when
// the kind letter names no help.
QString HelpTopic(const QString& programCode);

// One entry of a required-field list "name;flag;part".
struct RequiredEntry {
    QString Name;
    QString Flag;
    int Part = 0; // 0 all of a panel, 1 begin, 2 final, 3 list
    // Entries flagged "N" or with a number are not checked.
    bool Checked() const;
};
QList<RequiredEntry> ParseRequiredList(const QString& list);

// Program code from a module file name: the base name without "lib" and
// extension, its first six characters, upper case ("libZORV52C.so" -> "ZORV52").
QString ProgramCodeOf(const QString& modulePath);

// The colour of a required field.
constexpr int RequiredColour = 0xAFFFFF;

} // namespace basegene
