#include "MailAddress.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

// RFC 5322 dot-atom local part; domain labels of letters, digits and
// hyphens, not starting or ending with a hyphen, at least two labels.
const QRegularExpression& addressPattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*)"
        R"(@([A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?\.)+[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?$)"));
    return pattern;
}

// The address with its domain in ASCII form, or empty when it is none.
QString checkedAddress(const QString& text)
{
    const qsizetype at = text.lastIndexOf(QLatin1Char('@'));
    if (at <= 0 || text.size() > 254)
        return {};
    const QString domain = text.mid(at + 1);
    const QString ascii = text.left(at) + QLatin1Char('@') + QString::fromLatin1(QUrl::toAce(domain));
    return addressPattern().match(ascii).hasMatch() ? ascii : QString();
}

QStringList splitEntries(const QString& text)
{
    QStringList entries;
    QString current;
    bool quoted = false;
    for (const QChar ch : text) {
        if (ch == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && (ch == QLatin1Char(';') || ch == QLatin1Char(','))) {
            entries << current;
            current.clear();
        } else {
            current += ch;
        }
    }
    entries << current;
    return entries;
}

QString cleanName(QString name)
{
    for (QChar& ch : name) {
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    }
    name = name.trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2).trimmed();
    return name.remove(QLatin1Char('"'));
}

} // namespace

bool IsPlainMailAddress(const QString& address)
{
    return !checkedAddress(address).isEmpty();
}

bool ParseRecipients(const QString& text, QList<TMailAddress>& out, QString& error)
{
    out.clear();
    QList<TMailAddress> result;
    for (const QString& raw : splitEntries(text)) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty())
            continue;
        TMailAddress recipient;
        QString address = entry;
        const qsizetype open = entry.lastIndexOf(QLatin1Char('<'));
        if (open >= 0 && entry.endsWith(QLatin1Char('>'))) {
            recipient.Name = cleanName(entry.left(open));
            address = entry.mid(open + 1, entry.size() - open - 2).trimmed();
        }
        recipient.Address = checkedAddress(address);
        if (recipient.Address.isEmpty()) {
            error = QStringLiteral("\"%1\" is no mail address").arg(entry.simplified());
            return false;
        }
        result << recipient;
    }
    out = result;
    return true;
}
