// Users prove who they are: password hashes, the slowing of failed logins,
// Connect with and without the password, the trust given to the home's
// owner in the client's own process, and the password table out of every
// client's reach.
#include "DemoServerFixture.h"

#include "suite/appserver/AppServer.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/LoginThrottle.h"
#include "suite/appserver/PasswordHash.h"
#include "suite/appserver/UserPasswords.h"

#include <QDir>
#include <QFile>

namespace {

constexpr TScryptCost cheap {10, 8, 1};

QString connectArgs(const Variant& server, const QString& user, const QVariant& password = QVariant())
{
    VariantList args {"ZORV52", user, "HV01", "DEMO", "MOCTO"};
    if (password.isValid())
        args << password.toString();
    return server.Call(QStringLiteral("Connect"), {Variant::ArrayOf(args)}).ToString();
}

} // namespace

TEST(PasswordHash, VerifiesOnlyTheSamePasswordAndNeverTheSameTextTwice)
{
    const QString stored = HashPassword(QStringLiteral("秘密 word "), cheap);
    EXPECT_TRUE(stored.startsWith(QStringLiteral("scrypt$10$8$1$"))) << qPrintable(stored);
    EXPECT_FALSE(stored.contains(QStringLiteral("word")));
    EXPECT_TRUE(VerifyPassword(QStringLiteral("秘密 word "), stored));
    // Blanks and case belong to the password.
    for (const char* other : {"秘密 word", "秘密 Word ", "", "秘密 word  "})
        EXPECT_FALSE(VerifyPassword(QString::fromUtf8(other), stored)) << other;
    // A fresh salt each time: equal passwords do not show as equal rows.
    EXPECT_NE(HashPassword(QStringLiteral("same"), cheap), HashPassword(QStringLiteral("same"), cheap));
    // The default cost is the one a new hash names.
    EXPECT_TRUE(HashPassword(QStringLiteral("x")).startsWith(QStringLiteral("scrypt$15$8$3$")));
}

TEST(PasswordHash, ADamagedOrTamperedStoredTextVerifiesNothing)
{
    const QString stored = HashPassword(QStringLiteral("pw"), cheap);
    QStringList parts = stored.split(u'$');
    QString flipped = stored;
    flipped[flipped.size() - 3] = flipped[flipped.size() - 3] == u'A' ? u'B' : u'A';
    const QStringList bad {QString(), QStringLiteral("pw"), QStringLiteral("scrypt$10$8$1$abc"), flipped,
        stored + QStringLiteral("$"), QStringLiteral("pbkdf2$10$8$1$") + parts[4] + u'$' + parts[5],
        // A cost that would take the server's memory or time with one login.
        QStringLiteral("scrypt$40$8$1$") + parts[4] + u'$' + parts[5],
        QStringLiteral("scrypt$10$8$1000$") + parts[4] + u'$' + parts[5],
        QStringLiteral("scrypt$10$0$1$") + parts[4] + u'$' + parts[5],
        // A salt of the wrong length, base64 that is no base64.
        QStringLiteral("scrypt$10$8$1$AAAA$") + parts[5], QStringLiteral("scrypt$10$8$1$*!*$") + parts[5]};
    for (const QString& text : bad)
        EXPECT_FALSE(VerifyPassword(QStringLiteral("pw"), text)) << qPrintable(text);
}

TEST(LoginThrottle, EachFailureDoublesTheWaitOfTheUserAndThePeer)
{
    TLoginThrottle throttle({100, 800, 2000, 60000});
    qint64 wait = -1;
    ASSERT_TRUE(throttle.Admit(QStringLiteral("DS"), QStringLiteral("10.0.0.1"), wait));
    EXPECT_EQ(wait, 0);
    EXPECT_EQ(throttle.DelayAfterFailure(QStringLiteral("DS")), 100);
    QList<qint64> delays;
    for (int i = 0; i < 5; ++i) {
        throttle.Failed(QStringLiteral("DS"), QStringLiteral("10.0.0.1"));
        delays << throttle.DelayAfterFailure(QStringLiteral("DS"));
    }
    EXPECT_EQ(delays, QList<qint64>({200, 400, 800, 800, 800})); // doubling up to the cap
    // The next attempt for DS waits, from any peer; so does any user from that peer.
    ASSERT_TRUE(throttle.Admit(QStringLiteral("DS"), QStringLiteral("10.0.0.2"), wait));
    EXPECT_GT(wait, 700);
    ASSERT_TRUE(throttle.Admit(QStringLiteral("CHEN"), QStringLiteral("10.0.0.1"), wait));
    EXPECT_GT(wait, 700);
    // Another user from another peer does not.
    ASSERT_TRUE(throttle.Admit(QStringLiteral("CHEN"), QStringLiteral("10.0.0.3"), wait));
    EXPECT_EQ(wait, 0);
    // A success clears the user, not the peer that guessed.
    throttle.Succeeded(QStringLiteral("DS"));
    ASSERT_TRUE(throttle.Admit(QStringLiteral("DS"), QStringLiteral("10.0.0.4"), wait));
    EXPECT_EQ(wait, 0);
    ASSERT_TRUE(throttle.Admit(QStringLiteral("LIU"), QStringLiteral("10.0.0.1"), wait));
    EXPECT_GT(wait, 0);
}

TEST(LoginThrottle, ParallelAttemptsQueueBehindEachOtherAndAQueueTooLongIsRefused)
{
    TLoginThrottle throttle({500, 500, 1800, 60000});
    throttle.Failed(QStringLiteral("DS"), QString());
    QList<qint64> waits;
    qint64 wait = 0;
    // Connections that try at the same moment go 500 ms one after the other.
    while (throttle.Admit(QStringLiteral("DS"), QString(), wait))
        waits << wait;
    ASSERT_EQ(waits.size(), 3) << waits.size();
    EXPECT_NEAR(waits[0], 500, 50);
    for (int i = 1; i < waits.size(); ++i)
        EXPECT_NEAR(waits[i] - waits[i - 1], 500, 50);
    // The fourth would wait 2 s, more than 1.8: refused at once, without a check.
    EXPECT_FALSE(throttle.Admit(QStringLiteral("DS"), QString(), wait));
    EXPECT_GT(wait, 1800);
}

// A server as the daemon makes it: nobody is trusted without a password.
class LoginTest : public DemoServerTest {
protected:
    Variant DaemonLikeServer(const QString& peer = QStringLiteral("192.0.2.7"))
    {
        auto server = std::make_shared<TAppServer>(TServerConfig::FromHome(home_.path()));
        TLoginPolicy policy;
        policy.Peer = peer;
        server->SetLoginPolicy(policy);
        return Variant(server);
    }
    QString AlertLog() const
    {
        QString all;
        for (const QString& name :
            QDir(home_.file(QStringLiteral("Log"))).entryList({QStringLiteral("*AppServerLogin*")})) {
            QFile f(home_.file(QStringLiteral("Log/") + name));
            if (f.open(QIODevice::ReadOnly))
                all += QString::fromUtf8(f.readAll());
        }
        return all;
    }
};

TEST_F(LoginTest, ConnectTakesTheRightPasswordOnlyAndSaysWhatWasWrong)
{
    const Variant server = DaemonLikeServer();
    EXPECT_TRUE(connectArgs(server, QStringLiteral("DS")).contains(QStringLiteral("须输入密码")));
    EXPECT_TRUE(connectArgs(server, QStringLiteral("DS"), QStringLiteral("DS-DEMO"))
                    .contains(QStringLiteral("密码错误")));
    EXPECT_TRUE(connectArgs(server, QStringLiteral("NOBODY"), QStringLiteral("x"))
                    .contains(QStringLiteral("不存在")));
    // Nothing is served after a refused Connect.
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), -1);
    EXPECT_EQ(connectArgs(server, QStringLiteral("DS"), DemoPassword(QStringLiteral("DS"))), QString());
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT MQ001 FROM $$CMSMQ"}).ToInt(), 4);
    // A user whose password was never set cannot log in at all.
    ASSERT_EQ(Execute(QStringLiteral("DELETE FROM ADMMP WHERE MP001 = 'LIU'")), QString());
    EXPECT_TRUE(connectArgs(DaemonLikeServer(), QStringLiteral("LIU"), QStringLiteral("liu-demo"))
                    .contains(QStringLiteral("尚未设定密码")));
    // Every failure is in the alert log, with who and from where.
    const QString log = AlertLog();
    for (const char* line : {"login of DS from 192.0.2.7 refused: no password given",
             "login of DS from 192.0.2.7 refused: wrong password",
             "login of NOBODY from 192.0.2.7 refused: unknown user",
             "login of LIU from 192.0.2.7 refused: the user has no password"})
        EXPECT_TRUE(log.contains(QLatin1String(line))) << line << "\n" << qPrintable(log);
}

TEST_F(LoginTest, ASessionStaysItsUsersUnlessAnotherProvesTheirOwnPassword)
{
    const Variant server = DaemonLikeServer();
    ASSERT_EQ(connectArgs(server, QStringLiteral("WANG"), DemoPassword(QStringLiteral("WANG"))), QString());
    // The same user again (another program, the replay after a reconnect) needs no new proof.
    EXPECT_EQ(connectArgs(server, QStringLiteral("WANG")), QString());
    // The super user without DS's password: refused, and WANG's session is over.
    EXPECT_FALSE(connectArgs(server, QStringLiteral("DS")).isEmpty());
    EXPECT_FALSE(connectArgs(server, QStringLiteral("DS"), DemoPassword(QStringLiteral("WANG"))).isEmpty());
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt(), -1);
    // With DS's own password the object is DS's.
    EXPECT_EQ(connectArgs(server, QStringLiteral("DS"), DemoPassword(QStringLiteral("DS"))), QString());
    EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {"SELECT TO001 FROM MOCTO"}).ToInt(), 240);
}

TEST_F(LoginTest, AUserCodeWithLineBreaksAndEscapesStaysOnOneLogLine)
{
    const Variant server = DaemonLikeServer();
    connectArgs(
        server, QStringLiteral("X\r\n2026-12-09 login of DS succeeded\x1b]0;t\x07"), QStringLiteral("p"));
    const QString log = AlertLog();
    EXPECT_TRUE(log.contains(QStringLiteral("X\\x0D\\x0A2026-12-09 login of DS succeeded\\x1B]0;t\\x07")))
        << qPrintable(log);
    EXPECT_FALSE(log.contains(QChar(0x1B)));
    EXPECT_FALSE(log.contains(QStringLiteral("\n2026-12-09 login")));
}

TEST_F(LoginTest, TheHomesOwnerIsTrustedInItsOwnProcessOnlyAndOnlyWithoutAPassword)
{
    // Made by class name, as the module makes it for address 127.0.0.1.
    EXPECT_EQ(
        connectArgs(CreateOleObject(QStringLiteral("ZORV52S.Class1")), QStringLiteral("CHEN")), QString());
    // A password given is checked, also for the owner.
    EXPECT_TRUE(connectArgs(
        CreateOleObject(QStringLiteral("ZORV52S.Class1")), QStringLiteral("CHEN"), QStringLiteral("wrong"))
                    .contains(QStringLiteral("密码错误")));
    // An unknown user is unknown to the owner too.
    EXPECT_FALSE(
        connectArgs(CreateOleObject(QStringLiteral("ZORV52S.Class1")), QStringLiteral("NOBODY")).isEmpty());
    // The daemon's server object trusts nobody.
    EXPECT_FALSE(connectArgs(DaemonLikeServer(), QStringLiteral("CHEN")).isEmpty());
    // An install that wants passwords in-process too says so.
    AddServerSettings(QStringLiteral("AppServer"), QStringLiteral("TrustHomeOwner=0"));
    EXPECT_TRUE(connectArgs(CreateOleObject(QStringLiteral("ZORV52S.Class1")), QStringLiteral("CHEN"))
                    .contains(QStringLiteral("须输入密码")));
    EXPECT_EQ(connectArgs(CreateOleObject(QStringLiteral("ZORV52S.Class1")), QStringLiteral("CHEN"),
                  DemoPassword(QStringLiteral("CHEN"))),
        QString());
}

TEST_F(LoginTest, NoClientTextReachesThePasswordTable)
{
    const Variant server = NewServer(QStringLiteral("DS"));
    ASSERT_GT(Count(QStringLiteral("SELECT COUNT(*) FROM ADMMP")), 0);
    const QStringList texts {QStringLiteral("SELECT MP002 FROM ADMMP"),
        QStringLiteral("SELECT * FROM \"admmp\""), QStringLiteral("SELECT * FROM [ADMMP]"),
        QStringLiteral("SELECT * FROM `AdmMp`"), QStringLiteral("SELECT * FROM main.ADMMP"),
        QStringLiteral("SELECT * FROM 'ADMMP'"),
        QStringLiteral(
            "SELECT MF001 FROM ADMMF WHERE MF001 IN (SELECT MP001 FROM $$ADMMP WHERE MP002 LIKE 's%')"),
        QStringLiteral("SELECT MF001 FROM ADMMF, ADMMP /* a comment */ WHERE MF001 = MP001")};
    for (const QString& text : texts) {
        EXPECT_EQ(server.Call(QStringLiteral("RunFreeSQL"), {text}).ToInt(), -1) << qPrintable(text);
        EXPECT_TRUE(server.Get(QStringLiteral("LastError")).ToString().contains(QStringLiteral("ADMMP")))
            << qPrintable(text);
        EXPECT_THROW(Fetch(server, QStringLiteral("Provider1"), text), Exception) << qPrintable(text);
    }
    // The engine denies the table however it is reached, also past the
    // server's own look at the text.
    auto db = OpenBackend(QStringLiteral("SQLITE"), DatabaseFile());
    for (const char* text : {"SELECT MP002 FROM ADMMP", "SELECT * FROM \"AdMmP\"",
             "SELECT 1 FROM ADMMF WHERE EXISTS (SELECT 1 FROM admmp)"})
        EXPECT_THROW(db->Query(QLatin1String(text), {}, SqlAccess::Read)->Next(), EDatabaseError) << text;
    EXPECT_THROW(db->Execute(QStringLiteral("INSERT INTO ADMMP (MP001, MP002) VALUES ('X', 'Y')"), {},
                     SqlAccess::ReadInsert),
        EDatabaseError);
    EXPECT_THROW(
        db->Execute(QStringLiteral("UPDATE ADMMP SET MP002 = 'x'"), {}, SqlAccess::Update), EDatabaseError);
}

TEST_F(LoginTest, SetPasswordReplacesTheOldOneForAKnownUserOnly)
{
    auto db = OpenBackend(QStringLiteral("SQLITE"), DatabaseFile());
    const QString before = userpasswords::StoredHash(*db, QStringLiteral("CHEN"));
    userpasswords::SetPassword(*db, QStringLiteral("CHEN"), QStringLiteral("新的 pass"), cheap);
    const QString after = userpasswords::StoredHash(*db, QStringLiteral("CHEN"));
    EXPECT_NE(before, after);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM ADMMP WHERE MP001 = 'CHEN'")), 1);
    EXPECT_TRUE(connectArgs(DaemonLikeServer(), QStringLiteral("CHEN"), DemoPassword(QStringLiteral("CHEN")))
                    .contains(QStringLiteral("密码错误")));
    EXPECT_EQ(
        connectArgs(DaemonLikeServer(), QStringLiteral("CHEN"), QStringLiteral("新的 pass")), QString());
    EXPECT_THROW(
        userpasswords::SetPassword(*db, QStringLiteral("NOBODY"), QStringLiteral("x"), cheap), Exception);
    EXPECT_THROW(userpasswords::SetPassword(*db, QStringLiteral("CHEN"), QString(), cheap), Exception);
    EXPECT_EQ(userpasswords::StoredHash(*db, QStringLiteral("CHEN")), after);
}
