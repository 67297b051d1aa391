#include "common/QNERPGeneratorU.h"
#include "common/StewardINI.h"

#include "StewardIniTestHome.h"

#include <gtest/gtest.h>

using steward_test::TestHome;

namespace {

// A server home "<temp>/server" with the given StewardS.ini.
struct ServerHome {
    explicit ServerHome(const QByteArray& ini, const QByteArray& acp = "936")
        : home({}, acp)
    {
        home.WriteRegistry({{QStringLiteral("ServerPath"), Path()}});
        home.Write(QStringLiteral("server/StewardS.ini"), ini);
    }
    QString Path() const { return home.Folder(QStringLiteral("server")); }
    TestHome home;
};

QString Cell(const TStewardIniS& ini, int row, int column)
{
    return ini.Databases.At(row, column).ToString();
}

} // namespace

TEST(StewardIniServer, DefaultsOfAnEmptyFile)
{
    ServerHome server("");
    TStewardIniS ini;
    ASSERT_TRUE(ini.LoadSettings());
    EXPECT_EQ(ini.HomePath, server.Path() + QStringLiteral("\\"));
    EXPECT_EQ(ini.IniFileName, server.Path() + QStringLiteral("\\StewardS.ini"));
    ASSERT_EQ(ini.Databases.DimCount(), 2);
    EXPECT_EQ(ini.Databases.HighBound(1), 3);
    EXPECT_EQ(ini.Databases.HighBound(2), 7);

    const QStringList main = {"Mainstay", "sa", "", "MSSQL", "", "", "300", "3000"};
    const QStringList temp = {"MainstayTemp", "sa", "", "PARADOX", "", "PostgreSQL", "300", "3000"};
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(Cell(ini, 0, column), main.at(column)) << column;
        EXPECT_EQ(Cell(ini, 1, column), temp.at(column)) << column;
    }
    EXPECT_EQ(ini.Databases.At(0, 6), Variant(300));
    EXPECT_EQ(ini.Databases.At(1, 7), Variant(3000));
    EXPECT_EQ(ini.Databases.At(2, 0), Variant(QString()));
    EXPECT_EQ(ini.Databases.At(2, 1), Variant(211));
    EXPECT_EQ(ini.Databases.At(2, 2), Variant(1024));
    EXPECT_EQ(Cell(ini, 2, 3), QStringLiteral("Chinese_Taiwan_Stroke_BIN"));
    EXPECT_EQ(Cell(ini, 3, 0), QStringLiteral("EDIDATA"));
    EXPECT_EQ(Cell(ini, 3, 1), QStringLiteral("sa"));
    EXPECT_EQ(Cell(ini, 3, 2), QString());
    EXPECT_EQ(ini.DBKind, 0);
    EXPECT_FALSE(ini.SupportCallBack);
    EXPECT_EQ(ini.SystemControlAddress, QString());
    EXPECT_EQ(ini.WorkDLLPaths, QStringList {server.Path() + QStringLiteral("\\S_PKG\\")});
}

TEST(StewardIniServer, ReadsDatabasesAndDecodesTwoPasswords)
{
    const QByteArray main = EncodePassword(QStringLiteral("Main#Pw1")).toLatin1();
    const QByteArray temp = EncodePassword(QString()).toLatin1();
    const QByteArray edi = EncodePassword(QStringLiteral("edi")).toLatin1();
    ServerHome server("[ProductVersion]\nVersion=9.1\n[CodePage]\nUICodePage=950\n"
                      "[DBE Setting]\nMainUserName=erp\nXXXXXX="
        + main
        + "\nMainAlias=Main\nMainDBType=oracle\nMainDBName=ERPDB\nMainServerName=dbhost\n"
          "SystemControlAddress= ctl \nOtherSystemControlAddress=  \n"
          "MainConnectionTimeOut=30\nMainCommandTimeOut=60\n"
          "TempAlias=T\nTempUserName=tu\nTempPassword="
        + temp
        + "\nTempDBType=MSSQL\nTempDBName=TMP\nTempDriverName=SQLite\n"
          "TempConnectionTimeOut=31\nTempCommandTimeOut=61\n"
          "DataBaseCodeOrder=Chinese_PRC_BIN\nEctAlias=E\nEctUserName=eu\nEctPassword="
        + edi
        + "\n[DBPasswordCtrl]\nComputerName= pwd01 \nServerPort=212\nClientSocketPort=2048\n"
          "SupportCallBack=Yes\n[WorkDLLPath]\nA=\\pkg\nB=E:\\lib\n");
    TStewardIniS ini;
    EXPECT_EQ(ini.Version, QStringLiteral("9.1"));
    EXPECT_EQ(ini.UICodePage, QStringLiteral("950"));
    EXPECT_EQ(ini.UIConvertMode, 2);
    EXPECT_EQ(ini.DBConvertMode, 2);

    const QStringList mainRow = {"Main", "erp", "Main#Pw1", "oracle", "ERPDB", "dbhost", "30", "60"};
    const QStringList tempRow = {"T", "tu", "", "MSSQL", "TMP", "SQLite", "31", "61"};
    for (int column = 0; column < 8; ++column) {
        EXPECT_EQ(Cell(ini, 0, column), mainRow.at(column)) << column;
        EXPECT_EQ(Cell(ini, 1, column), tempRow.at(column)) << column;
    }
    EXPECT_EQ(ini.Databases.At(0, 7), Variant(60));
    EXPECT_EQ(ini.SystemControlAddress, QStringLiteral("ctl"));
    EXPECT_EQ(ini.OtherSystemControlAddress, QStringLiteral("dbhost"));
    EXPECT_EQ(ini.Databases.At(2, 0), Variant(QStringLiteral("pwd01")));
    EXPECT_EQ(ini.Databases.At(2, 1), Variant(212));
    EXPECT_EQ(ini.Databases.At(2, 2), Variant(2048));
    EXPECT_EQ(Cell(ini, 2, 3), QStringLiteral("Chinese_PRC_BIN"));
    EXPECT_TRUE(ini.SupportCallBack);
    EXPECT_EQ(Cell(ini, 3, 0), QStringLiteral("E"));
    EXPECT_EQ(Cell(ini, 3, 1), QStringLiteral("eu"));
    EXPECT_EQ(Cell(ini, 3, 2), QString::fromLatin1(edi));
    EXPECT_EQ(ini.DBKind, 1);

    const QString home = server.Path() + QStringLiteral("\\");
    QStringList list = {QStringLiteral("stale")};
    ini.GetWorkDLLPaths(list);
    EXPECT_EQ(list, (QStringList {home + QStringLiteral("pkg\\"), QStringLiteral("E:\\lib\\")}));
}

TEST(StewardIniServer, DatabaseKind)
{
    const QList<QPair<QByteArray, int>> cases
        = {{"ORACLE", 1}, {"Oracle", 1}, {"db2", 2}, {"DB2", 2}, {"MSSQL", 0}, {"ORACLE8", 0}, {"", 0}};
    for (const auto& [type, kind] : cases) {
        ServerHome server("[DBE Setting]\nMainDBType=" + type + "\n");
        TStewardIniS ini;
        EXPECT_EQ(ini.DBKind, kind) << type.constData();
    }
}

TEST(StewardIniServer, RegistryProblems)
{
    {
        TestHome home({{QStringLiteral("ClientPath"), QStringLiteral("/srv/client")}});
        TStewardIniS ini;
        EXPECT_FALSE(ini.LoadSettings());
        EXPECT_EQ(ini.ErrorCode, QString());
        EXPECT_TRUE(ini.Databases.IsEmpty());
    }
    {
        TestHome home({});
        testsupport::ScopedEnv missing(
            "STEWARD_REGISTRY", home.Folder(QStringLiteral("none.reg")).toLocal8Bit());
        TStewardIniS ini;
        EXPECT_FALSE(ini.LoadSettings());
        EXPECT_EQ(ini.ErrorCode, QStringLiteral("E;000015"));
        EXPECT_EQ(ini.UICodePage, QStringLiteral("936"));
    }
}
