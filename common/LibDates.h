#pragma once
// Date texts and date arithmetic of the criteria forms and reports.
//
// Dates travel as eight-digit "yyyymmdd" texts or as day numbers (see
// runtime/system/DateTime.h); a day number of 0 means "no date". How a date
// is shown to the user, in one of the five date styles, is TDateStyle's
// (common/DateStyle.h).

#include "runtime/system/Variant.h"

#include <QString>

// Day number of an eight-digit "yyyymmdd" text; 0 when the text is not exactly
// eight digits or the date does not exist.
double ParseDate8(const QString& text);
// Today as "yyyymmdd".
QString TodayText();
// True for an empty text, or a real "yyyymmdd" date from 17530101 to 99991231.
bool IsValidSqlDate(const QString& text);
// 28 to 31 by the Gregorian rule; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

// A "yyyymmdd" text or a date Variant moved by amount units: "Y" years, "M"
// months (a day past the month's end steps back to it), "D" days; unit case
// does not matter. "yyyymmdd", or empty for no date, another unit or a date
// that cannot be formed.
QString ShiftDate(const Variant& value, const QString& unit, int amount);

// The date a relative date rule gives from base ("yyyymmdd", or "yyyymm" to
// move whole months). offset counts months when monthMode is not "0", else
// weeks; anchor 0 adds dayOffset days, 1 takes the first day (of the month, or
// Sunday of the week), 2 the last day (of the month, or Saturday). offset,
// dayOffset and anchor are decimal texts (spaces around and a sign allowed);
// any of the three that is not one, the empty text included, raises
// EConvertError, whether or not the rule in force uses it.
QString RelativeDate(const QString& base, const QString& offset, const QString& monthMode,
    const QString& dayOffset, const QString& anchor);

// The weekday mark of a date text ("yyyymmdd", "/" allowed anywhere): "<FRI>"
// for date styles 1 to 3, "<五>" for the Minguo styles 4 and 5; "<   >" or four spaces when the
// text is no date.
QString WeekdayToken(const QString& dateText, int order);
