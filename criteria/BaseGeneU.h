#pragma once
// The base criteria form's rules that need no form: message kinds,
// coded-message texts, help topics and required-field lists. (Date texts
// in the user's date style are TDateStyle's, common/DateStyle.h.)

#include "runtime/forms/VclTypes.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace basegene {

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
