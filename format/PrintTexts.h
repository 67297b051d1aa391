#pragma once
// The print conversions a report data text can ask for by its text type.
// Each takes the text the control is about to print and answers the text to
// print instead. None of them throws: a value a conversion cannot read comes
// back unchanged (the Chinese amount has its own rule, see ChineseCapital.h).

#include <QString>

// Report text types (ReportDBText::TextType).
enum class TPrintTextType {
    Plain = 0,
    Date = 1,
    Percent = 2,
    ChineseAmount = 3,
    Asterisk = 4,
    Dictionary = 5
};

// The "yyyymmdd" value in the date style and separator of the run (styles 1
// to 5 of TDateStyle, common/DateStyle.h). Unchanged when the value is no
// such date or the style is unknown.
QString DatePrintText(const QString& value, int dateType, const QString& dateSeparator);

// The value read as a number, times 100, in general form with up to 15
// significant digits, then "%": "0.125" -> "12.5%", "0.07" -> "7%".
// Unchanged when the value is no number.
QString PercentPrintText(const QString& value);

// Dictionary text: entries "key" + character 3 + "text", separated by "||".
// The value, trimmed, is looked up as a whole key; the first entry with that
// key gives the printed text. Unchanged when no entry has the key. Keys are
// compared exactly, so an empty value only matches an entry whose key is empty.
QString DictionaryPrintText(const QString& value, const QString& dictionary);

// Asterisks that stand for an amount on the pages of a slip before its last.
QString HiddenAmountText();
// A slip amount on a page: the value itself with totals on every page or on
// the slip's last page (the page caption equals the pages caption), else
// HiddenAmountText. The captions are compared as printed ("3" and "03" differ).
QString SlipAmountText(
    const QString& value, const QString& pageCaption, const QString& pagesCaption, bool totalsEveryPage);
