#pragma once
// The sign-off lines of a slip from the workflow product's answer.
//
// A request names every slip of the report once: "<FormSet> " + one
// " <Form wfProgramID='' ..." element per slip + "</FormSet> ". The answer
// comes in one of two shapes:
// - an array (the server's GetTWData): [count, set 1, ..., set count]; a set
//   is an array whose scalar elements 1 to 4 are key values and whose array
//   elements are sign-off tables (first index the column, second the row;
//   columns 5 signed time, 10 signer name, 12 signer title) belonging to the
//   slip whose keys equal the scalars read before them;
// - a text (the web service): an XML document of Form elements whose
//   wfFormType and wfSheetNo attributes name the slip and whose text is a
//   "||"-separated list, the last item the final result.
// The captions of the printed lines come from the caller, in the user's
// language (TSignOffCaptions); the answer's own values are printed as they
// come, a text answer's through the caller's display conversion.
// Guaranteed: nothing raises; an answer of another shape, or without the
// slip, answers Found false. Rows lacking a signed time, name or title go to
// the log callback (the debug log, in the system's language: it is read by
// the support staff) instead of the lines.

#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>
#include <functional>

// The words printed around the answer's values.
struct TSignOffCaptions {
    // In front of the three lines of an array answer: the signers' titles,
    // names and signed times. Each is padded to the widest of the three (a
    // CJK character counts two), so that the values start under each other.
    QString Titles;
    QString Names;
    QString Times;
    // A text answer: the column headings of its first line (joined by two
    // blanks) and the caption in front of the final result.
    QStringList Headings;
    QString FinalResult;
};

struct TSignOffLines {
    bool Found = false;
    QStringList Lines; // up to three lines, in the order of lblSignIn1..3
};

// The request for the slips' key lists (each at least the form type and the
// sheet number; parameters 3 and 4 follow from keys 3 and 4). Slips whose
// first or second key is empty are left out; empty when none is left.
QString SignOffRequest(const QList<QStringList>& slipKeys);

using TSignOffLog = std::function<void(const QString& name, const QString& line)>;

// The lines of the slip with these keys from an array answer. Signed times
// print in the date order and separator given.
TSignOffLines SignOffFromArray(const Variant& answer, const QStringList& keys, int dateType,
    const QString& dateSeparator, const TSignOffCaptions& captions, const TSignOffLog& log = {});

// The lines of the slip with these keys (form type, sheet number) from a text
// answer; display converts the answer's text for the screen (none when empty).
TSignOffLines SignOffFromXml(const QString& answer, const QStringList& keys, const TSignOffCaptions& captions,
    const std::function<QString(const QString&)>& display = {});

// A signed time "yyyy/mm/dd hh:nn:ss" (or any form Qt reads) as a date in
// the order and separator given; valid false when it could only be read by
// the fixed positions yyyy?mm?dd of the text.
QString SignedTimeText(
    const QString& text, int dateType, const QString& dateSeparator, bool* valid = nullptr);
