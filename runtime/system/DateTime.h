#pragma once
// Date-time values as the original runtime keeps them: a day number counted
// from 30 December 1899 with the time of day as its fraction. 0 stands for
// "no date" wherever a date may be absent.

#include <QDate>
#include <QDateTime>

namespace datetime {

constexpr double NoDate = 0.0;

// Day number of a calendar date; false when the date does not exist.
bool TryEncodeDate(int year, int month, int day, double& result);
// Day number of a calendar date; raises EConvertError when it does not exist.
double EncodeDate(int year, int month, int day);
void DecodeDate(double value, int& year, int& month, int& day);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(double value);
double Today();
double Now();

QDate ToQDate(double value);
QDateTime ToQDateTime(double value);
double FromQDate(const QDate& date);
double FromQDateTime(const QDateTime& dateTime);

} // namespace datetime
