#pragma once
// TDateStyle: how the user's dates are written, the suite's date-format
// setting (system parameter Sys001) with the separator between the parts
// (Sys002). Every date text a form shows, reads, masks or prints goes
// through one of these.
//
// The five styles, with "/" as separator:
//   1 year-month-day        2024/05/31   2024/05
//   2 month-day-year        05/31/2024   05/2024
//   3 day-month-year        31/05/2024   05/2024
//   4 Minguo year-month-day 113/05/31    113/05   (years from 1911, at least two digits)
//   5 Minguo year-month-day 113/05/31    113/05   (years from 1911, at least three digits)
//
// Writing: from a day number (runtime/system/DateTime.h), the year in four
// digits (styles 1-3) or counted from 1911 (styles 4 and 5), month and day
// in two; day number 0 is "no date" and writes nothing. A Minguo year before
// 1912 is zero or negative and is written with its sign ("-11/01/02"), which
// no reading takes back.
//
// Reading: the text, trimmed, is split at the separator into exactly three
// parts (two for a year-month); each part, trimmed, must be one to nine
// decimal digits (no sign). The parts are then put in year-month-day order,
// 1911 added to a Minguo year. Reading does not ask whether the date exists;
// DayOf does.
//
// Storage: dates as "yyyymmdd", year-months as "yyyymm", as the database
// and the condition schemes keep them. A text read is stored unchecked ("2024/02/30"
// is "20240230"): the callers' checks refuse it with their own message.
//
// A style is a small value; nothing here keeps state or raises.

#include <QString>

#include <optional>

// The parts of a date text in year-month-day order; Day is 1 for a year-month.
struct TDateFields {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    bool operator==(const TDateFields&) const = default;
};

class TDateStyle {
public:
    enum Order : int {
        YearMonthDay = 1,
        MonthDayYear = 2,
        DayMonthYear = 3,
        MinguoTwoDigits = 4,
        MinguoThreeDigits = 5,
    };

    // Style 1 with "/".
    TDateStyle() = default;
    // The style of number 1 to 5 with the first character of separator (none
    // when it is empty); nothing for any other number.
    static std::optional<TDateStyle> Of(int number, const QString& separator);
    // The style a setting text names ("1" to "5", spaces around allowed);
    // style 1 for any other text.
    static TDateStyle FromSetting(const QString& setting, const QString& separator);
    // The same style with another separator (its first character).
    TDateStyle WithSeparator(const QString& separator) const;

    int Number() const { return order_; }
    // One character, or empty: then texts are written without one and no
    // text can be read.
    QString Separator() const { return separator_; }
    // Styles 4 and 5 count years from 1911.
    bool CountsFrom1911() const { return order_ == MinguoTwoDigits || order_ == MinguoThreeDigits; }

    // --- writing ------------------------------------------------------------------
    // The date of a day number; empty for 0.
    QString FormatDate(double day) const;
    // Its year and month only; empty for 0.
    QString FormatYearMonth(double day) const;
    // The edit masks that fit the written texts ("!9999/99/99;1;_",
    // "!99/9999;1;_"); a separator that is a mask character is escaped. The
    // Minguo styles both take three year digits (years from 1911 have three
    // since 2011).
    QString DateMask() const;
    QString YearMonthMask() const;

    // --- reading --------------------------------------------------------------------
    // The three parts of a date text; nothing when the text is not one (see
    // above). The date is not checked to exist.
    std::optional<TDateFields> ReadDate(const QString& text) const;
    // The two parts of a year-month text, Day 1; nothing when it is not one.
    std::optional<TDateFields> ReadYearMonth(const QString& text) const;
    // The day number of a date, or of a year-month's first day when the text
    // holds a single separator; 0 when it is neither or the date does not
    // exist.
    double DayOf(const QString& text) const;

    // --- storage texts ----------------------------------------------------------------
    // A typed date as "yyyymmdd" (a part wider than its place is kept whole).
    // Empty for an empty text or one equal to emptyText (both trimmed) when
    // emptyText is not null; the text itself, unchanged, when it reads as no
    // date.
    QString ToStorage(const QString& text, const QString& emptyText = QString()) const;
    // "yyyymmdd" written in the style; empty for an empty (or blank) text,
    // the text itself when it is no existing date.
    QString FromStorage(const QString& yyyymmdd) const;
    // The same for year-months and "yyyymm".
    QString YearMonthToStorage(const QString& text, const QString& emptyText = QString()) const;
    QString YearMonthFromStorage(const QString& yyyymm) const;

    bool operator==(const TDateStyle&) const = default;

private:
    TDateStyle(int order, const QString& separator);
    QString write(double day, bool withDay) const;
    std::optional<TDateFields> read(const QString& text, int parts) const;

    int order_ = YearMonthDay;
    QString separator_ = QStringLiteral("/");
};
