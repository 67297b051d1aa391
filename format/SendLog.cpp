#include "SendLog.h"

#include "common/LibConditions.h"

#include <QStringList>

TSendLog::TSendLog(Variant server, TSendContext context)
    : server_(std::move(server))
    , context_(std::move(context))
{
}

QString TSendLog::InsertStatement(
    const TSendContext& context, const QString& key, const QString& text, bool failed, const QDateTime& when)
{
    const QString today = when.date().toString(QStringLiteral("yyyyMMdd"));
    const QStringList values {context.CompanyCode, context.UserCode, context.UserGroup, today,
        QStringLiteral("1"), context.ProgramCode, key, failed ? QStringLiteral("N") : QStringLiteral("Y"),
        text, when.time().toString(QStringLiteral("HH:mm:ss")), today};
    QStringList quoted;
    for (const QString& value : values) {
        QString clean = value;
        clean.remove(QChar(0)); // the one character a literal cannot hold
        quoted << QuoteSqlText(clean);
    }
    return QStringLiteral(
               "INSERT INTO $$ADMTA (COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,TA001,TA002,TA003,TA004,"
               "TA005,TA006) VALUES(")
        + quoted.join(QLatin1Char(',')) + QLatin1Char(')');
}

bool TSendLog::Write(const QString& key, const QString& text, bool failed) noexcept
{
    try {
        if (!server_.IsObject())
            return false;
        const Variant rows = server_.Call(QStringLiteral("RunFreeSQL"),
            {Variant(InsertStatement(context_, key, text, failed, QDateTime::currentDateTime()))});
        return rows.ToInt() >= 0;
    } catch (...) {
        return false;
    }
}
