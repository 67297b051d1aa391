#include "SendList.h"

#include <QSet>

QList<int> TSendRecipient::Pages() const
{
    QList<int> pages;
    QSet<int> seen;
    for (const TSendGroup& group : Groups) {
        if (!seen.contains(group.Page)) {
            seen.insert(group.Page);
            pages << group.Page;
        }
    }
    return pages;
}

QList<TSendGroup> TSendRecipient::PrintCounts() const
{
    return DistinctSlips(Groups);
}

QList<TSendGroup> DistinctSlips(const QList<TSendGroup>& groups)
{
    QList<TSendGroup> counts;
    QSet<QString> seen;
    for (const TSendGroup& group : groups) {
        if (!group.CountsPrints())
            continue;
        // Table, column and condition name the slip; NUL cannot occur in any of them.
        const QString slip = group.Table + QChar(0) + group.CountField + QChar(0) + group.Condition;
        if (!seen.contains(slip)) {
            seen.insert(slip);
            counts << group;
        }
    }
    return counts;
}

QString TSendRecipient::Line() const
{
    QString line = Key + QLatin1Char('=') + FaxNumber + QLatin1Char('|') + EMail + QLatin1Char('|');
    for (const TSendGroup& group : Groups) {
        line += QString::number(group.Page) + QLatin1Char(',') + group.Table + QLatin1Char(';')
            + group.CountField + QLatin1Char(';') + group.Condition + QLatin1Char(';');
    }
    return line;
}

void TSendList::Register(
    const QString& key, const QString& faxNumber, const QString& eMail, const TSendGroup& group)
{
    for (TSendRecipient& recipient : recipients_) {
        // Keys match without regard to case, as the recipient list always matched them.
        if (recipient.Key.compare(key, Qt::CaseInsensitive) == 0) {
            recipient.Groups << group;
            return;
        }
    }
    recipients_ << TSendRecipient {key, faxNumber, eMail, {group}};
}

QStringList TSendList::Text() const
{
    QStringList lines;
    for (const TSendRecipient& recipient : recipients_)
        lines << recipient.Line();
    return lines;
}
