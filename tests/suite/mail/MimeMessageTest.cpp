#include "suite/mail/MimeMessage.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Decodes a run of "=?UTF-8?B?...?=" words separated by folding.
QString DecodeWords(const QByteArray& encoded)
{
    static const QRegularExpression word(QStringLiteral(R"(=\?UTF-8\?B\?([A-Za-z0-9+/=]*)\?=)"));
    QByteArray bytes;
    auto it = word.globalMatch(QString::fromLatin1(encoded));
    while (it.hasNext())
        bytes += QByteArray::fromBase64(it.next().captured(1).toLatin1());
    return QString::fromUtf8(bytes);
}

QList<QByteArray> SplitAt(const QByteArray& text, const QByteArray& separator)
{
    QList<QByteArray> pieces;
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(separator, from)) >= 0; from = at + separator.size())
        pieces << text.mid(from, at - from);
    return pieces << text.mid(from);
}

QList<QByteArray> Lines(const QByteArray& message)
{
    return message.split('\n');
}

} // namespace

TEST(MimeHeader, PlainShortTextStaysAsItIs)
{
    EXPECT_EQ(EncodeHeaderText(QStringLiteral("Korvane-ERP ZORV52")), QByteArray("Korvane-ERP ZORV52"));
    EXPECT_EQ(EncodeHeaderText(QStringLiteral("a\r\nBcc: evil@x.com")), QByteArray("a  Bcc: evil@x.com"));
}

TEST(MimeHeader, OtherTextBecomesEncodedWordsThatDecodeBack)
{
    const QString texts[] = {
        QStringLiteral("Korvane-ERP 工单变更单"),
        QStringLiteral("工单变更单").repeated(20),
        QStringLiteral("emoji 😀😀😀 between 中文 and more 😀").repeated(4),
        QStringLiteral("x").repeated(200),
    };
    for (const QString& text : texts) {
        const QByteArray encoded = EncodeHeaderText(text);
        for (const QByteArray& line : encoded.split('\n')) {
            EXPECT_LE(line.size(), 77) << line.constData(); // 75 + CR + the folding blank
            EXPECT_FALSE(line.trimmed().isEmpty());
        }
        EXPECT_EQ(DecodeWords(encoded), text);
    }
}

TEST(MimeMessage, HeadersCannotBeAddedThroughSubjectOrName)
{
    TMimeMessage message;
    message.From = QStringLiteral("erp@x.com");
    message.To = {TMailAddress {QStringLiteral("Li\r\nBcc: evil@x.com"), QStringLiteral("li@x.com")}};
    message.Subject = QStringLiteral("Slip\r\nBcc: evil@x.com\r\n\r\nbody");
    const QByteArray composed = message.Compose();
    const qsizetype end = composed.indexOf("\r\n\r\n");
    ASSERT_GT(end, 0);
    for (const QByteArray& line : Lines(composed.left(end + 2))) {
        EXPECT_FALSE(line.startsWith("Bcc")) << line.constData();
        EXPECT_TRUE(line.isEmpty() || line.endsWith('\r')) << "bare LF in " << line.constData();
    }
}

TEST(MimeMessage, AttachmentsFollowTheTextInBase64Lines)
{
    TMimeMessage message;
    message.From = QStringLiteral("erp@x.com");
    message.To = {TMailAddress {QString(), QStringLiteral("a@x.com")},
        TMailAddress {QStringLiteral("王五"), QStringLiteral("b@y.cn")}};
    message.Subject = QStringLiteral("Korvane-ERP 工单变更单");
    message.Body = QStringLiteral("line 1\nline 2");
    QByteArray pixels(5000, '\0');
    for (int i = 0; i < pixels.size(); ++i)
        pixels[i] = char(i * 7);
    message.Attachments = {TMailAttachment {QStringLiteral("ZORV52_20111028_093000001.gif"), pixels},
        TMailAttachment {QStringLiteral("变更单 第2页.jpg"), QByteArray("jpeg bytes")}};
    const QByteArray composed = message.Compose();

    for (const QByteArray& line : Lines(composed))
        EXPECT_LE(line.size(), 79) << line.constData(); // 78 characters and CR
    const QRegularExpression boundaryPattern(QStringLiteral("boundary=\"([^\"]+)\""));
    const QString boundary = boundaryPattern.match(QString::fromLatin1(composed)).captured(1);
    ASSERT_FALSE(boundary.isEmpty());
    const QList<QByteArray> parts = SplitAt(composed, ("\r\n--" + boundary).toLatin1());
    ASSERT_EQ(parts.size(), 5); // preamble, text, two attachments, closing "--"
    EXPECT_TRUE(parts[1].contains("text/plain"));
    EXPECT_TRUE(parts[2].contains("Content-Type: image/gif"));
    EXPECT_TRUE(parts[2].contains("filename=\"ZORV52_20111028_093000001.gif\""));
    const QByteArray body = parts[2].mid(parts[2].indexOf("\r\n\r\n") + 4);
    EXPECT_EQ(QByteArray::fromBase64(QByteArray(body).replace("\r\n", "")), pixels);
    EXPECT_TRUE(parts[3].contains("filename*=UTF-8''%E5%8F%98%E6%9B%B4%E5%8D%95%20%E7%AC%AC2%E9%A1%B5.jpg"));
    EXPECT_TRUE(parts[4].startsWith("--"));
}
