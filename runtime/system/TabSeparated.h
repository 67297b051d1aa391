#pragma once
// The data lines of a tab-separated text file (the language tool's account
// files, the phrase overrides): each line split at its tabs and numbered from
// 1 as an editor numbers it, a trailing CR dropped. Blank lines and lines
// that start with '#' are comments and left out; fields are not trimmed.

#include <QList>
#include <QString>
#include <QStringList>

struct TTabSeparatedLine {
    int Number = 0;
    QStringList Fields;
};

QList<TTabSeparatedLine> TabSeparatedDataLines(const QString& text);
