#include "common/MailAddress.h"

#include <gtest/gtest.h>

namespace {

QList<TMailAddress> parsed(const QString& text)
{
    QList<TMailAddress> out;
    QString error;
    EXPECT_TRUE(ParseRecipients(text, out, error)) << error.toStdString();
    EXPECT_EQ(CheckRecipients(text).Problem, TMailAddressProblem::None) << text.toStdString();
    return out;
}

} // namespace

TEST(MailAddress, SplitsTheWaysMailClientsWriteLists)
{
    const QList<TMailAddress> list
        = parsed(QStringLiteral(" a@x.com; 王五 <b@y.cn>,c.d+e@z.example.org ;; "));
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0].Address, QStringLiteral("a@x.com"));
    EXPECT_TRUE(list[0].Name.isEmpty());
    EXPECT_EQ(list[1].Name, QStringLiteral("王五"));
    EXPECT_EQ(list[1].Address, QStringLiteral("b@y.cn"));
    EXPECT_EQ(list[2].Address, QStringLiteral("c.d+e@z.example.org"));

    const QList<TMailAddress> quoted = parsed(QStringLiteral("\"Wang, Li\" <w@x.cn>; <bare@x.cn>"));
    ASSERT_EQ(quoted.size(), 2);
    EXPECT_EQ(quoted[0].Name, QStringLiteral("Wang, Li"));
    EXPECT_EQ(quoted[1].Address, QStringLiteral("bare@x.cn"));

    EXPECT_TRUE(parsed(QStringLiteral(" ; ")).isEmpty());
}

TEST(MailAddress, InternationalDomainsTravelInAsciiForm)
{
    const QList<TMailAddress> list = parsed(QStringLiteral("sales@例子.中国"));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].Address, QStringLiteral("sales@xn--fsqu00a.xn--fiqs8s"));
}

TEST(MailAddress, NothingThatCouldReachACommandOrHeaderPasses)
{
    const char* bad[] = {
        "a@x.com\r\nBcc: evil@x.com", // header injection
        "a@x.com>\r\nRCPT TO:<e@x.com", // SMTP command injection
        "a@x.com\nb@y.com",
        "a b@x.com",
        "a@x.com b@y.com",
        "\"a\"@x.com",
        "a@-x.com",
        "a@x",
        "@x.com",
        "a@",
        "a..b@x.com",
        "张三@x.com", // no SMTPUTF8: the local part stays ASCII
        "Name <a@x.com",
    };
    for (const char* text : bad) {
        QList<TMailAddress> out {TMailAddress {QString(), QStringLiteral("kept@x.com")}};
        QString error;
        EXPECT_FALSE(ParseRecipients(QString::fromUtf8(text), out, error)) << text;
        EXPECT_TRUE(out.isEmpty()) << text;
        EXPECT_FALSE(error.contains(QLatin1Char('\r')) || error.contains(QLatin1Char('\n'))) << text;
        EXPECT_FALSE(IsPlainMailAddress(QString::fromUtf8(text))) << text;
        // What is refused is explained, never passed as fine.
        EXPECT_NE(CheckRecipients(QString::fromUtf8(text)).Problem, TMailAddressProblem::None) << text;
    }
}

TEST(MailAddress, DisplayNamesLoseControlCharacters)
{
    const QList<TMailAddress> list = parsed(QStringLiteral("Evil\r\nBcc: x <a@x.com>"));
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list[0].Address, QStringLiteral("a@x.com"));
    EXPECT_FALSE(list[0].Name.contains(QLatin1Char('\r')) || list[0].Name.contains(QLatin1Char('\n')));
}

TEST(MailAddress, TheCheckNamesTheRefusedEntryAndWhy)
{
    const TMailAddressCheck twoAts = CheckRecipients(QStringLiteral("ok@x.cn, chen@@x"));
    EXPECT_EQ(twoAts.Problem, TMailAddressProblem::SeveralAt);
    EXPECT_EQ(twoAts.Entry, QStringLiteral("chen@@x"));
    const TMailAddressCheck blank = CheckRecipients(QStringLiteral("Li <li wei@x.cn>"));
    EXPECT_EQ(blank.Problem, TMailAddressProblem::BadCharacter);
    EXPECT_EQ(blank.Character, QStringLiteral(" "));
    EXPECT_EQ(blank.Entry, QStringLiteral("Li <li wei@x.cn>"));
    const TMailAddressCheck domain = CheckRecipients(QStringLiteral("a@x."));
    EXPECT_EQ(domain.Problem, TMailAddressProblem::IncompleteDomain);
    EXPECT_EQ(domain.Domain, QStringLiteral("x."));
    EXPECT_EQ(CheckRecipients(QStringLiteral("a\r\nBcc: b@x.cn")).Entry, QStringLiteral("a Bcc: b@x.cn"));
    EXPECT_EQ(
        CheckRecipients(QString(250, u'a') + QStringLiteral("@x.cn")).Problem, TMailAddressProblem::TooLong);
}
