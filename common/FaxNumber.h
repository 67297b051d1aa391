#pragma once
// Fax numbers as people write them: digits with the usual dialling marks
// "+", "-", blanks, "(", ")", ".", ",", "#", "*"; at least one digit;
// starting with a digit, "+", "(", "#" or "*" (never "-", so a number cannot
// pass for an option of the fax client); at most 64 characters. No letters
// and no "@" (the fax client would read a name).
//
// CheckFaxNumber tells why a number is refused, for a person who typed it;
// IsDialable is true exactly when it finds nothing.

#include <QString>

enum class TFaxNumberProblem {
    None,
    Empty, // nothing but blanks
    BadCharacter, // a letter or another mark ("0512-6688abc"); see Character
    BadStart, // starts with a mark no number starts with; see Character
    NoDigit, // marks only
    TooLong, // more than 64 characters
};

struct TFaxNumberCheck {
    TFaxNumberProblem Problem = TFaxNumberProblem::None;
    QString Character; // the offending character, for BadCharacter and BadStart
};

TFaxNumberCheck CheckFaxNumber(const QString& number);
bool IsDialable(const QString& number);
