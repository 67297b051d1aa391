#include "common/QNERPGeneratorU.h"

#include "StewardIniTestHome.h"

#include <QDate>

#include <gtest/gtest.h>

using steward_test::TestHome;

namespace {

QString Chars(std::initializer_list<int> codes)
{
    QString text;
    for (int code : codes)
        text += QChar(code);
    return text;
}

} // namespace

TEST(PasswordCodec, EncodesByRotatingEachByte)
{
    // 'a' = 0x61 rotated right by 1 bit.
    EXPECT_EQ(EncodePassword(QStringLiteral("a")), QStringLiteral("b0"));
    EXPECT_EQ(EncodePassword(Chars({1})), QStringLiteral("80"));
    // Positions 1..8 rotate by 1..7 and then 0 bits.
    EXPECT_EQ(EncodePassword(Chars({0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80})),
        QStringLiteral("40201008040201") + QStringLiteral("80") + QStringLiteral("40"));
    EXPECT_EQ(EncodePassword(QString()), EncodePassword(QString::fromLatin1(NoPasswordMarker)));
    EXPECT_EQ(EncodePassword(QString()).size(), 72);
    EXPECT_EQ(EncodePassword(Chars({0xFF, 0xFE})), QStringLiteral("ffbf"));
}

TEST(PasswordCodec, RoundTrips)
{
    QString allBytes;
    for (int code = 1; code <= 255; ++code) {
        const QString single = Chars({code});
        EXPECT_EQ(EncodePassword(single).size(), 2) << code;
        EXPECT_EQ(DecodePassword(EncodePassword(single)), single) << code;
        allBytes += QChar(code);
    }
    const QStringList passwords
        = {allBytes, QStringLiteral("sa"), QStringLiteral("P@ssw0rd!"), QStringLiteral("a b\tc\"d'e;f=g"),
            QStringLiteral("Zürich-ÄÖÜ-ß"), QStringLiteral("密码123"), QStringLiteral("中文 and ascii ü"),
            QStringLiteral("😀x"), QString::fromLatin1(WrongPasswordMarker), QString(300, QLatin1Char('x'))};
    for (const QString& password : passwords)
        EXPECT_EQ(DecodePassword(EncodePassword(password)), password) << password.toStdString();

    EXPECT_EQ(DecodePassword(EncodePassword(QString())), QString());
    EXPECT_EQ(DecodePassword(QString()), QString());
    // Characters above 255 are stored as their UTF-8 bytes.
    EXPECT_EQ(EncodePassword(QStringLiteral("中")).size(), 6);
    EXPECT_EQ(DecodePassword(EncodePassword(QStringLiteral("中")).toUpper()), QStringLiteral("中"));
}

TEST(PasswordCodec, OddLengthIgnoresTheLastDigit)
{
    const QString stored = EncodePassword(QStringLiteral("abc"));
    EXPECT_EQ(DecodePassword(stored + QLatin1Char('7')), QStringLiteral("abc"));
    EXPECT_EQ(DecodePassword(stored + QLatin1Char('z')), QStringLiteral("abc"));
    EXPECT_EQ(DecodePassword(QStringLiteral("b")), QString());
}

TEST(PasswordCodec, MalformedPairGivesWrongPasswordAndLogs)
{
    TestHome home({});
    home.WriteRegistry({{QStringLiteral("ClientPath"), home.Folder(QStringLiteral("home"))}});
    const QString log = QStringLiteral("home/Log/Alert_QNERPGenerator_")
        + QDate::currentDate().toString("yyyyMMdd") + QStringLiteral(".log");

    for (const QString& stored :
        {QStringLiteral("b0zz"), QStringLiteral("g0"), QStringLiteral(" 1b0"), QStringLiteral("-1")}) {
        EXPECT_EQ(DecodePassword(stored), QString::fromLatin1(WrongPasswordMarker)) << stored.toStdString();
    }
    const QString text = QString::fromUtf8(home.Read(log));
    const QString place = EncodePassword(QStringLiteral("DecodeSQLSa"));
    EXPECT_EQ(text.count(QStringLiteral(" on ") + place + QLatin1Char(' ')), 4);
    EXPECT_TRUE(text.contains(
        QStringLiteral("Exception is EConvertError\r\nMessage 01: '$zz' is not a valid integer value")));
    EXPECT_TRUE(text.contains(QStringLiteral("'$g0' is not a valid integer value")));
    EXPECT_EQ(text.count(QStringLiteral("Programer Message: 解析 Sa 时发生错误!")), 4);
}
