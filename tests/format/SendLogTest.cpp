#include "format/SendLog.h"

#include "RecordingServer.h"

#include <gtest/gtest.h>

namespace {

const TSendContext Context {QStringLiteral("KV"), QStringLiteral("CHEN"), QStringLiteral("G1"),
    QStringLiteral("ZORV52"), QStringLiteral("工单变更单"), QStringLiteral("/home/c")};

} // namespace

TEST(SendLog, OneRowPerOutcomeWithEveryValueQuoted)
{
    const QDateTime when(QDate(2011, 10, 28), QTime(9, 30, 5));
    EXPECT_EQ(TSendLog::InsertStatement(
                  Context, QStringLiteral("C001"), QStringLiteral("Send e-Mail Complete !"), false, when),
        QStringLiteral(
            "INSERT INTO $$ADMTA (COMPANY,CREATOR,USR_GROUP,CREATE_DATE,FLAG,TA001,TA002,TA003,TA004,TA005,"
            "TA006) VALUES('KV','CHEN','G1','20111028','1','ZORV52','C001','Y','Send e-Mail Complete !',"
            "'09:30:05','20111028')"));
    const QString hostile = TSendLog::InsertStatement(
        Context, QStringLiteral("O'Brien'); DELETE FROM MOCTO; --"), QStringLiteral("x"), true, when);
    EXPECT_TRUE(hostile.contains(QStringLiteral("'O''Brien''); DELETE FROM MOCTO; --','N'")))
        << hostile.toStdString();
}

TEST(SendLog, AServerThatFailsDoesNotStopTheCaller)
{
    auto server = std::make_shared<RecordingServer>(1);
    TSendLog log(Variant(server), Context);
    EXPECT_TRUE(log.Write(QStringLiteral("C001"), QStringLiteral("Send Fax Complete !"), false));
    ASSERT_EQ(server->Statements.size(), 1);
    EXPECT_TRUE(server->Statements[0].contains(QStringLiteral("'C001','Y','Send Fax Complete !'")));

    EXPECT_FALSE(TSendLog(Variant(std::make_shared<RecordingServer>(-1)), Context)
                     .Write(QStringLiteral("k"), QStringLiteral("t"), true));
    EXPECT_FALSE(TSendLog(Variant(std::make_shared<RecordingServer>(-2)), Context)
                     .Write(QStringLiteral("k"), QStringLiteral("t"), true));
    EXPECT_FALSE(TSendLog(Variant(), Context).Write(QStringLiteral("k"), QStringLiteral("t"), true));
}
