// The server knows the programs by their descriptors: it is created by every
// known program's class id, the daemon serves those (or the ServerClass list
// of StewardS.ini), print counts go to the count columns the programs name,
// and the demo database holds each program's rows.
#include "DemoServerFixture.h"

#include "common/ProgramDescriptor.h"
#include "common/QNERPGeneratorU.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DaemonConfig.h"
#include "support/QStringPrinter.h"

namespace {

// The daemon's settings of a home whose [AppServer] section holds appServer.
TDaemonConfig daemonWith(const testsupport::TempFolder& home, const QString& appServer)
{
    home.write(QStringLiteral("StewardS.ini"),
        (QStringLiteral("[DBE Setting]\r\nMainDBType=SQLITE\r\nMainDBName=C_DATA\\DEMO.db\r\n"
                        "[AppServer]\r\nSecret=%1\r\n")
                .arg(EncodePassword(QStringLiteral("s3cret")))
            + appServer)
            .toUtf8());
    return TDaemonConfig::Load(TServerConfig::FromHome(home.path()));
}

} // namespace

TEST(DaemonServerClassTest, UnsetItIsEveryKnownProgramsClassSetItIsTheListAsWritten)
{
    testsupport::TempFolder home;
    TDaemonConfig config = daemonWith(home, QString());
    EXPECT_EQ(config.ErrorText, QString());
    // The build's installed descriptors: the change slips and the tests' program.
    EXPECT_TRUE(config.ServerClasses.contains(QStringLiteral("ZORV52S.Class1")))
        << qPrintable(config.ServerClasses.join(u','));
    EXPECT_TRUE(config.ServerClasses.contains(QStringLiteral("ZTST53S.Class1")))
        << qPrintable(config.ServerClasses.join(u','));
    EXPECT_EQ(config.ServerClasses, TDaemonConfig::ProgramServerClasses());

    // One class, as StewardS.ini files written before the list say it.
    config = daemonWith(home, QStringLiteral("ServerClass=ZORV52S.Class1\r\n"));
    EXPECT_EQ(config.ErrorText, QString());
    EXPECT_EQ(config.ServerClasses, QStringList({"ZORV52S.Class1"}));
    EXPECT_EQ(config.ServedClass(QStringLiteral("zorv52s.CLASS1")), QStringLiteral("ZORV52S.Class1"));
    EXPECT_EQ(config.ServedClass(QStringLiteral("ZTST53S.Class1")), QString());

    config
        = daemonWith(home, QStringLiteral("ServerClass= zorv52s.class1 , ZTST53S.Class1,ZORV52S.CLASS1\r\n"));
    EXPECT_EQ(config.ErrorText, QString());
    EXPECT_EQ(config.ServerClasses, QStringList({"zorv52s.class1", "ZTST53S.Class1"})) << "duplicates go";
    EXPECT_EQ(config.ServedClass(QStringLiteral("ZORV52S.Class1")), QStringLiteral("zorv52s.class1"));

    for (const char* wrong : {"ZORV52S.Class1,bad name", "ZORV52S.Class1,,ZTST53S.Class1", "x.", "a b.c"}) {
        config = daemonWith(home, QStringLiteral("ServerClass=%1\r\n").arg(QLatin1String(wrong)));
        EXPECT_TRUE(config.ErrorText.startsWith(QStringLiteral("[AppServer] ServerClass=")))
            << wrong << ": " << qPrintable(config.ErrorText);
    }
}

TEST(ProgramCountColumnsTest, TheCountColumnsAreThoseOfTheKnownProgramsAndOfPrintCount)
{
    RegisterProgramText("Code=QC0001\nTitle=t\nOptionsForm=A\nFormatForm=B\nServerClass=QC0001S.Class1\n"
                        "Slip=QMSTA|TA040|TA041\nSlip=MOCTO|TO042\n");
    const TServerConfig config;
    EXPECT_EQ(config.PrintCountColumns.value(QStringLiteral("QMSTA")), QStringList({"TA040", "TA041"}));
    // ZORV52's two columns, with the registered program's TO042 once.
    EXPECT_EQ(config.PrintCountColumns.value(QStringLiteral("MOCTO")), QStringList({"TO042", "TO053"}));

    testsupport::TempFolder home;
    home.write(QStringLiteral("StewardS.ini"),
        "[DBE Setting]\r\nMainDBName=x.db\r\n[PrintCount]\r\nqmstb=TB040, tb041\r\nMOCTO=TO099\r\n");
    const TServerConfig read = TServerConfig::FromHome(home.path());
    EXPECT_EQ(read.PrintCountColumns.value(QStringLiteral("QMSTB")), QStringList({"TB040", "TB041"}));
    EXPECT_EQ(
        read.PrintCountColumns.value(QStringLiteral("MOCTO")), QStringList({"TO042", "TO053", "TO099"}));
}

class ProgramClassesTest : public DemoServerTest { };

TEST_F(ProgramClassesTest, EveryKnownProgramCreatesTheServerByItsClassIdAndFindsItsDemoRights)
{
    RegisterProgramText("Code=QC0002\nTitle=t\nOptionsForm=A\nFormatForm=B\nServerClass=QC0002S.Class1\n");
    const QStringList registered = RegisterAppServer();
    for (const char* classId : {"ZORV52S.Class1", "ZTST53S.Class1", "QC0002S.Class1"}) {
        EXPECT_TRUE(registered.contains(QLatin1String(classId))) << classId;
        EXPECT_EQ(AutoObjectFactory::Create(QLatin1String(classId))->ClassName(), QLatin1String(classId));
    }

    // The second program's rights came with its descriptor into the demo database.
    EXPECT_EQ(Column(QStringLiteral(
                  "SELECT MG001 || ':' || MG003 FROM ADMMG WHERE MG002 = 'ZTST53' ORDER BY MG001")),
        QStringList({"CHEN:YYYYYYYYYY", "LIU:YYNYYNYYYY", "WANG:YYYYYYYYYY"}));
    const Variant server = CreateOleObject(QStringLiteral("ZTST53S.Class1"));
    const Variant refused = server.Call(QStringLiteral("Connect"),
        {Variant::ArrayOf({"ZTST53", "NOBODY", "HV01", "DEMO", "MOCTO", QStringLiteral("nobody-demo")})});
    EXPECT_FALSE(refused.ToString().isEmpty());
    const Variant error = server.Call(QStringLiteral("Connect"),
        {Variant::ArrayOf(
            {"ZTST53", "CHEN", "HV01", "DEMO", "MOCTO", DemoPassword(QStringLiteral("CHEN"))})});
    EXPECT_EQ(error.ToString(), QString());
    // WANG's data rights in ZTST53: factory F01 only.
    const Variant wang = CreateOleObject(QStringLiteral("ZTST53S.Class1"));
    ASSERT_EQ(wang.Call(QStringLiteral("Connect"),
                      {Variant::ArrayOf(
                          {"ZTST53", "WANG", "HV01", "DEMO", "MOCTO", DemoPassword(QStringLiteral("WANG"))})})
                  .ToString(),
        QString());
    const QList<VariantList> rows
        = Fetch(wang, QStringLiteral("Provider1"), QStringLiteral("SELECT TO021 FROM $$MOCTO"));
    ASSERT_FALSE(rows.isEmpty());
    for (const VariantList& row : rows)
        EXPECT_EQ(row.value(0).ToString(), QStringLiteral("F01"));
    EXPECT_LT(rows.size(), Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO")));
}
