// The send log and print counts against the real application server on a
// demo database.
#include "format/PrintCounts.h"
#include "format/SendLog.h"

#include "suite/appserver/DemoServerFixture.h"

namespace {

const TSendContext Context {QStringLiteral("HV01"), QStringLiteral("DS"), QStringLiteral("G1"),
    QStringLiteral("ZORV52"), QStringLiteral("工单变更单"), QString()};

class SendOnServer : public DemoServerTest { };

} // namespace

TEST_F(SendOnServer, SendLogRowsLandInTheLogTable)
{
    const Variant server = NewServer();
    TSendLog log(server, Context);
    const qint64 slips = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO"));
    ASSERT_TRUE(log.Write(QStringLiteral("C'001"), QStringLiteral("Send e-Mail Complete !"), false));
    ASSERT_TRUE(log.Write(
        QStringLiteral("x'); DELETE FROM MOCTO; --"), QStringLiteral("Not assign e-Mail address!"), true));
    EXPECT_EQ(Column(QStringLiteral(
                  "SELECT COMPANY||'|'||CREATOR||'|'||FLAG||'|'||TA001||'|'||TA002||'|'||TA003||'|'||TA004 "
                  "FROM ADMTA ORDER BY rowid")),
        (QStringList {QStringLiteral("HV01|DS|1|ZORV52|C'001|Y|Send e-Mail Complete !"),
            QStringLiteral("HV01|DS|1|ZORV52|x'); DELETE FROM MOCTO; --|N|Not assign e-Mail address!")}));
    EXPECT_EQ(
        Count(QStringLiteral("SELECT COUNT(*) FROM ADMTA WHERE TA006 = CREATE_DATE AND length(TA005) = 8")),
        2);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO")), slips);
}

TEST_F(SendOnServer, PrintsAreCountedExceptInPreview)
{
    const Variant server = NewServer();
    const QString key
        = Column(QStringLiteral("SELECT TO001||'-'||TO002||'-'||TO003 FROM MOCTO ORDER BY 1 LIMIT 1"))
              .value(0);
    ASSERT_FALSE(key.isEmpty());
    const TSendGroup slip {1, QStringLiteral("$$MOCTO"), QStringLiteral("TO042"),
        QStringLiteral("TO001+'-'+TO002+'-'+TO003='%1'").arg(key)};
    const QString countOf
        = QStringLiteral("SELECT COALESCE(TO042, 0) FROM MOCTO WHERE TO001||'-'||TO002||'-'||TO003 = '%1'")
              .arg(key);
    const qint64 before = Count(countOf);

    EXPECT_EQ(UpdatePrintCount(server, pcmPreview, slip), 0);
    EXPECT_EQ(Count(countOf), before);
    EXPECT_EQ(UpdatePrintCount(server, pcmSend, slip), 1);
    EXPECT_EQ(UpdatePrintCount(server, pcmPrint, slip), 1);
    EXPECT_EQ(Count(countOf), before + 2);

    TSendGroup noCondition = slip;
    noCondition.Condition.clear();
    EXPECT_EQ(UpdatePrintCount(server, pcmPrint, noCondition), -1);
    TSendGroup badColumn = slip;
    badColumn.CountField = QStringLiteral("TO042 = 0; --");
    EXPECT_EQ(UpdatePrintCount(server, pcmPrint, badColumn), -1);
    EXPECT_EQ(UpdatePrintCount(Variant(), pcmPrint, slip), -1);
    EXPECT_EQ(Count(countOf), before + 2);
}
