#include "suite/appserver/QueryLog.h"

#include "suite/appserver/LogText.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>

namespace {
QMutex logMutex;
}

void TQueryLog::Received(const QString& operation, const QString& text) const
{
    write(operation, "received", text);
}

void TQueryLog::Ran(const QString& operation, const QString& text) const
{
    write(operation, "ran", text);
}

void TQueryLog::Failed(const QString& operation, const QString& message) const
{
    write(operation, "failed", message);
}

void TQueryLog::write(const QString& operation, const char* what, const QString& text) const
{
    if (fileName_.isEmpty())
        return;
    // Line breaks are blanks to SQL: a statement becomes one line. Any other
    // control a client put in its text is shown escaped, not written.
    QString flat = text;
    flat.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\n', u' ').replace(u'\r', u' ');
    flat = LogSafe(flat);
    const QString line
        = QStringLiteral("[%1] %2 %3: %4\n")
              .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy/MM/dd hh:mm:ss:zzz")),
                  LogSafe(operation), QLatin1String(what), flat);
    QMutexLocker lock(&logMutex);
    QFile file(fileName_);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8());
}
