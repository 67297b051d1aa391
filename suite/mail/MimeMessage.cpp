#include "MimeMessage.h"

#include <QDateTime>
#include <QMimeDatabase>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QUrl>
#include <QUuid>

namespace {

const QByteArray CRLF = QByteArrayLiteral("\r\n");

QString withoutControls(QString text)
{
    for (QChar& ch : text) {
        if (ch.category() == QChar::Other_Control || ch == QChar::LineSeparator
            || ch == QChar::ParagraphSeparator)
            ch = QLatin1Char(' ');
    }
    return text;
}

bool isPlainAscii(const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x20 || ch.unicode() > 0x7e)
            return false;
    }
    return true;
}

// 76 characters per line, as MIME asks of base64 bodies.
QByteArray base64Lines(const QByteArray& data)
{
    const QByteArray encoded = data.toBase64();
    QByteArray out;
    out.reserve(encoded.size() + encoded.size() / 76 * 2 + 2);
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + CRLF;
    return out;
}

QByteArray percentEncoded(const QString& text)
{
    return text.toUtf8().toPercentEncoding(QByteArray(), QByteArrayLiteral("'()*"));
}

// File names lose what a header parameter cannot hold: controls, quotes,
// backslashes, folders.
QString safeFileName(QString name)
{
    name = withoutControls(name);
    name.remove(QLatin1Char('"')).remove(QLatin1Char('\\'));
    name = name.section(QLatin1Char('/'), -1).trimmed();
    return name.isEmpty() ? QStringLiteral("attachment") : name;
}

// A display name as encoded words, or as a quoted string: a plain name with
// ":", "@" or "," must not read as more addresses or a group.
QByteArray displayName(const QString& name)
{
    QByteArray encoded = EncodeHeaderText(name, 40);
    if (encoded.startsWith("=?"))
        return encoded;
    encoded.replace("\\", "\\\\").replace("\"", "\\\"");
    return "\"" + encoded + "\"";
}

QByteArray addressList(const QList<TMailAddress>& addresses)
{
    QByteArray out;
    for (const TMailAddress& address : addresses) {
        if (!out.isEmpty())
            out += "," + CRLF + " ";
        if (!address.Name.isEmpty())
            out += displayName(address.Name) + " ";
        out += "<" + address.Address.toLatin1() + ">";
    }
    return out;
}

QByteArray textPart(const QString& body)
{
    QString text = body;
    // Bare LF or CR become CR LF, so SMTP sees proper lines.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return "Content-Type: text/plain; charset=UTF-8" + CRLF + "Content-Transfer-Encoding: base64" + CRLF
        + CRLF + base64Lines(text.toUtf8());
}

QByteArray attachmentPart(const TMailAttachment& attachment)
{
    static const QMimeDatabase mimeTypes;
    const QString name = safeFileName(attachment.FileName);
    const QByteArray type = mimeTypes.mimeTypeForFile(name, QMimeDatabase::MatchExtension).name().toLatin1();
    QByteArray part
        = "Content-Type: " + type + ";" + CRLF + " name=\"" + EncodeHeaderText(name, 60) + "\"" + CRLF;
    part += "Content-Transfer-Encoding: base64" + CRLF;
    if (isPlainAscii(name) && name.size() < 60)
        part += "Content-Disposition: attachment; filename=\"" + name.toLatin1() + "\"" + CRLF;
    else
        part
            += "Content-Disposition: attachment;" + CRLF + " filename*=UTF-8''" + percentEncoded(name) + CRLF;
    return part + CRLF + base64Lines(attachment.Data);
}

QByteArray newBoundary(const QList<QByteArray>& parts)
{
    for (;;) {
        const QByteArray boundary
            = "=_steward_" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        bool clash = false;
        for (const QByteArray& part : parts)
            clash = clash || part.contains(boundary);
        if (!clash)
            return boundary;
    }
}

} // namespace

QByteArray EncodeHeaderText(const QString& text, int firstLineRoom)
{
    const QString clean = withoutControls(text);
    if (isPlainAscii(clean) && clean.size() <= firstLineRoom)
        return clean.toLatin1();
    // Encoded words of at most 75 characters: "=?UTF-8?B?" + base64 of up to
    // 45 bytes (60 characters) + "?=". Characters are never cut in two, and a
    // surrogate pair stays together.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += CRLF + " ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (qsizetype i = 0; i < clean.size(); ++i) {
        qsizetype length = 1;
        if (clean.at(i).isHighSurrogate() && i + 1 < clean.size())
            length = 2;
        const QByteArray bytes = clean.mid(i, length).toUtf8();
        if (chunk.size() + bytes.size() > 45)
            flush();
        chunk += bytes;
        i += length - 1;
    }
    flush();
    return out;
}

QByteArray TMimeMessage::Compose() const
{
    QByteArray head;
    head += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + CRLF;
    head += "From: <" + From.toLatin1() + ">" + CRLF;
    head += "To: " + addressList(To) + CRLF;
    head += "Subject: " + EncodeHeaderText(Subject) + CRLF;
    head += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@"
        + QUrl::toAce(QSysInfo::machineHostName()) + ">" + CRLF;
    head += "MIME-Version: 1.0" + CRLF;
    if (Attachments.isEmpty())
        return head + textPart(Body);

    QList<QByteArray> parts {textPart(Body)};
    for (const TMailAttachment& attachment : Attachments)
        parts << attachmentPart(attachment);
    const QByteArray boundary = newBoundary(parts);
    QByteArray message = head + "Content-Type: multipart/mixed;" + CRLF + " boundary=\"" + boundary + "\""
        + CRLF + CRLF + "This is a message in MIME format." + CRLF;
    for (const QByteArray& part : parts)
        message += CRLF + "--" + boundary + CRLF + part;
    return message + CRLF + "--" + boundary + "--" + CRLF;
}
