// A home copied or moved with its registry file: relative home values, and
// the absolute ones older homes recorded, lead to where the home is now.
#include "common/HomeFolder.h"
#include "common/LibStrs.h"
#include "common/StewardINI.h"

#include "StewardIniTestHome.h"
#include "runtime/system/RegistryFile.h"

#include <QDir>
#include <gtest/gtest.h>

using steward_test::TestHome;

namespace {

// The home folder value valueName names, through a fresh registry reader.
QString homeOf(const QString& valueName)
{
    TRegistry registry;
    if (!registry.OpenKeyReadOnly(QStringLiteral("Software\\HVN\\Steward")))
        return QStringLiteral("<no key>");
    return RegistryHomeFolder(registry, valueName);
}

} // namespace

TEST(HomeFolder, RelativeValuesAreTakenFromTheRegistryFilesFolder)
{
    TestHome home({{QStringLiteral("ClientPath"), QStringLiteral(".")},
        {QStringLiteral("ServerPath"), QStringLiteral("server\\home\\")}});
    const QString here = QDir::cleanPath(home.Folder(QStringLiteral(".")));
    EXPECT_EQ(homeOf(QStringLiteral("ClientPath")), here);
    EXPECT_EQ(homeOf(QStringLiteral("ServerPath")), here + QStringLiteral("/server/home"));
    EXPECT_EQ(homeOf(QStringLiteral("Missing")), QString()) << "an empty value stays empty";
}

TEST(HomeFolder, AGoneAbsolutePlaceLeadsToTheCopyThatHoldsTheHomesFile)
{
    // Written by an older version: the home's absolute place, long gone.
    const QString gone = QStringLiteral("/nonexistent/steward/old-home\\");
    TestHome home({{QStringLiteral("ClientPath"), gone}, {QStringLiteral("ServerPath"), gone}});
    const QString here = QDir::cleanPath(home.Folder(QStringLiteral(".")));
    // Without the home's files beside the registry file nothing is guessed.
    EXPECT_EQ(homeOf(QStringLiteral("ClientPath")), gone);
    EXPECT_EQ(homeOf(QStringLiteral("ServerPath")), gone);

    home.Write(QStringLiteral("StewardC.ini"), "[Server Information]\r\nComputerName=127.0.0.1\r\n");
    EXPECT_EQ(homeOf(QStringLiteral("ClientPath")), here);
    EXPECT_EQ(homeOf(QStringLiteral("ServerPath")), gone) << "a server home needs its StewardS.ini";
    home.Write(QStringLiteral("StewardS.ini"), "[DBE Setting]\r\n");
    EXPECT_EQ(homeOf(QStringLiteral("ServerPath")), here);
}

TEST(HomeFolder, AnExistingAbsolutePlaceIsKeptEvenBesideACopy)
{
    TestHome home({});
    const QString elsewhere = home.Write(QStringLiteral("elsewhere/StewardC.ini"), "");
    const QString folder = QFileInfo(elsewhere).absolutePath();
    home.WriteRegistry({{QStringLiteral("ClientPath"), folder}});
    home.Write(QStringLiteral("StewardC.ini"), "");
    EXPECT_EQ(homeOf(QStringLiteral("ClientPath")), folder);
}

TEST(HomeFolder, AMovedHomeIsReadAndLogsWhereItStandsNow)
{
    // Copied from its old place, which is gone; its registry file names it
    // as an older version wrote it.
    TestHome home({{QStringLiteral("ClientPath"), QStringLiteral("/nonexistent/copied-from\\")}});
    home.Write(QStringLiteral("StewardC.ini"),
        "[Server Information]\r\nComputerName=app1;app2\r\n[Client Components]\r\nLangType=CHT\r\n");
    const QString here = QDir::cleanPath(home.Folder(QStringLiteral(".")));
    TStewardIniC ini;
    EXPECT_EQ(ini.HomePath, here + u'\\');
    EXPECT_EQ(ini.IniFileName, here + QStringLiteral("\\StewardC.ini"));
    EXPECT_EQ(ini.LangType, QStringLiteral("CHT"));
    EXPECT_EQ(ini.Servers.At(0, 1).ToString(), QStringLiteral("app2"));
    EXPECT_EQ(ini.WorkDLLPaths, QStringList({here + QStringLiteral("\\C_PKG\\")}));
    EXPECT_EQ(GetHomeFolder(), here);

    ASSERT_TRUE(WriteAlertLog(QStringLiteral("moved"), QStringLiteral("here"), QStringLiteral("D")));
    EXPECT_TRUE(
        QDir(here + QStringLiteral("/Log")).entryList({QStringLiteral("Alert_moved_*.log")}).size() == 1);
}
