#include "suite/libs/HVDownLoadStamp.h"

#include <QFileInfo>

namespace hvdownload {

QDateTime ParseStamp(const QString& stamp)
{
    const QString text = stamp.trimmed();
    if (text.size() != 14)
        return {};
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return {};
    // Built from its parts so that "20260230..." or an hour 24 is no stamp.
    const QDate day(text.left(4).toInt(), text.mid(4, 2).toInt(), text.mid(6, 2).toInt());
    const QTime time(text.mid(8, 2).toInt(), text.mid(10, 2).toInt(), text.mid(12, 2).toInt());
    if (!day.isValid() || !time.isValid())
        return {};
    return QDateTime(day, time, Qt::LocalTime);
}

bool NeedsReplacing(const QString& stamp, const QString& localFile)
{
    const QDateTime server = ParseStamp(stamp);
    if (!server.isValid())
        return false;
    const QFileInfo local(localFile);
    if (!local.exists())
        return true;
    // The stamp has whole seconds; the file system keeps fractions.
    const qint64 localSeconds = local.lastModified().toSecsSinceEpoch();
    return localSeconds < server.toSecsSinceEpoch();
}

} // namespace hvdownload
