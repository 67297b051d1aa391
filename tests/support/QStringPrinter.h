#pragma once
// Failure messages show QString values as their text rather than as bytes.
// Include it in a test file that compares QStrings.

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
