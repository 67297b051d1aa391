#include "runtime/system/TabSeparated.h"

QList<TTabSeparatedLine> TabSeparatedDataLines(const QString& text)
{
    QList<TTabSeparatedLine> lines;
    int number = 0;
    for (QString line : text.split(u'\n')) {
        ++number;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        lines.append({number, line.split(u'\t')});
    }
    return lines;
}
