#include "common/MailAddress.h"

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
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator
            || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    }
    name = name.trimmed();
    if (name.size() >= 2 && name.startsWith(QLatin1Char('"')) && name.endsWith(QLatin1Char('"')))
        name = name.mid(1, name.size() - 2).trimmed();
    return name.remove(QLatin1Char('"'));
}

// The address part of an entry: inside the angle brackets after a display
// name (filled in name), else the whole entry.
QString addressOfEntry(const QString& entry, QString* name)
{
    const qsizetype open = entry.lastIndexOf(QLatin1Char('<'));
    if (open >= 0 && entry.endsWith(QLatin1Char('>'))) {
        if (name)
            *name = cleanName(entry.left(open));
        return entry.mid(open + 1, entry.size() - open - 2).trimmed();
    }
    return entry;
}

bool isAtomCharacter(QChar ch)
{
    static const QString specials = QStringLiteral("!#$%&'*+/=?^_`{|}~-");
    return ch.unicode() < 128 && (ch.isLetterOrNumber() || specials.contains(ch));
}

// The first character of address that no address may hold: outside the
// atoms in the local part, anything but letters, digits, "-" and "." in an
// ASCII domain (other letters of a domain travel in its ASCII form).
QString badCharacter(const QString& local, const QString& domain)
{
    for (const QChar ch : local) {
        if (ch != QLatin1Char('.') && !isAtomCharacter(ch))
            return QString(ch);
    }
    for (const QChar ch : domain) {
        const bool ascii = ch.unicode() < 128;
        if ((ascii && !ch.isLetterOrNumber() && ch != QLatin1Char('-') && ch != QLatin1Char('.'))
            || (!ascii && !ch.isLetterOrNumber() && ch.category() != QChar::Mark_NonSpacing))
            return QString(ch);
    }
    return {};
}

TMailAddressCheck diagnose(const QString& entry, const QString& address)
{
    TMailAddressCheck check;
    check.Entry = entry.simplified();
    const qsizetype ats = address.count(QLatin1Char('@'));
    const qsizetype at = address.indexOf(QLatin1Char('@'));
    const QString local = at < 0 ? address : address.left(at);
    const QString domain = at < 0 ? QString() : address.mid(at + 1);
    const QString ace = QString::fromLatin1(QUrl::toAce(domain));
    if (ats == 0) {
        check.Problem = TMailAddressProblem::NoAt;
    } else if (ats > 1) {
        check.Problem = TMailAddressProblem::SeveralAt;
    } else if (local.isEmpty()) {
        check.Problem = TMailAddressProblem::NoLocalPart;
    } else if (const QString bad = badCharacter(local, domain); !bad.isEmpty()) {
        check.Problem = TMailAddressProblem::BadCharacter;
        check.Character = bad;
    } else if (ace.isEmpty() || !ace.contains(QLatin1Char('.')) || ace.startsWith(QLatin1Char('.'))
        || ace.endsWith(QLatin1Char('.')) || ace.contains(QLatin1String(".."))) {
        check.Problem = TMailAddressProblem::IncompleteDomain;
        check.Domain = domain;
    } else if (address.size() > 254) {
        check.Problem = TMailAddressProblem::TooLong;
    } else {
        check.Problem = TMailAddressProblem::Malformed;
    }
    return check;
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
        const QString address = addressOfEntry(entry, &recipient.Name);
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

TMailAddressCheck CheckRecipients(const QString& text)
{
    // The same entries ParseRecipients reads, and its own verdict on each,
    // so that what is explained here is exactly what it refuses.
    for (const QString& raw : splitEntries(text)) {
        const QString entry = raw.trimmed();
        if (entry.isEmpty())
            continue;
        const QString address = addressOfEntry(entry, nullptr);
        if (checkedAddress(address).isEmpty())
            return diagnose(entry, address);
    }
    return {};
}
