#include "runtime/system/InstallLayout.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

TEST(InstallLayout, ModuleFoldersInstalledFirstThenBuilt)
{
    // An installed shell in <prefix>/bin looks in its private module folder
    // below <prefix>/lib (lib/<triplet>/zorv52 on Debian) before the build
    // folder's lib/; both are named from the shell's own folder.
    const QStringList folders = ProgramModuleFolders(QStringLiteral("/opt/erp/bin"));
    ASSERT_EQ(folders.size(), 2);
    EXPECT_TRUE(folders[0].startsWith(QStringLiteral("/opt/erp/lib/"))) << folders[0].toStdString();
    EXPECT_TRUE(folders[0].endsWith(QStringLiteral("/zorv52"))) << folders[0].toStdString();
    EXPECT_EQ(folders[1], QStringLiteral("/opt/erp/lib"));
    // Trailing separators and ".." are folded: the texts are plain folders.
    const QStringList fromUsr = ProgramModuleFolders(QStringLiteral("/usr/local/../bin/"));
    EXPECT_EQ(fromUsr[0], QString(folders[0]).replace(QStringLiteral("/opt/erp"), QStringLiteral("/usr")));
    EXPECT_EQ(fromUsr[1], QStringLiteral("/usr/lib"));
    EXPECT_TRUE(ProgramModuleFolders(QString()).isEmpty());
}

TEST(InstallLayout, DataFolderBesideTheExecutableOrFromTheEnvironment)
{
    const ScopedEnv unset("STEWARD_DATA_PATH", std::nullopt);
    TempFolder prefix;
    ASSERT_TRUE(QDir().mkpath(prefix.file("bin")));
    // No share folder: no data folder, rather than one that is not there.
    EXPECT_EQ(SharedDataFolder(prefix.file("bin")), QString());
    prefix.write("share/zorv52/help/ZORV52.html", "<html/>");
    EXPECT_EQ(SharedDataFolder(prefix.file("bin")), QDir::cleanPath(prefix.file("share/zorv52")));
    // A link stands for the folder, as build/share/zorv52 does for data/.
    TempFolder built;
    ASSERT_TRUE(QDir().mkpath(built.file("bin")));
    ASSERT_TRUE(QDir().mkpath(built.file("share")));
    ASSERT_TRUE(QFile::link(prefix.file("share/zorv52"), built.file("share/zorv52")));
    const QString viaLink = SharedDataFolder(built.file("bin"));
    EXPECT_EQ(viaLink, QDir::cleanPath(built.file("share/zorv52")));
    EXPECT_TRUE(QFileInfo::exists(viaLink + "/help/ZORV52.html"));
    {
        const ScopedEnv set("STEWARD_DATA_PATH", "/srv/zorv52-data/");
        EXPECT_EQ(SharedDataFolder(prefix.file("bin")), QStringLiteral("/srv/zorv52-data"));
    }
    const ScopedEnv empty("STEWARD_DATA_PATH", "");
    EXPECT_EQ(SharedDataFolder(prefix.file("bin")), QDir::cleanPath(prefix.file("share/zorv52")));
}

TEST(InstallLayout, ExecutableFolderIsTheRunningProgramsOwn)
{
    const QString folder = ExecutableFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isAbsolute());
    EXPECT_TRUE(QDir(folder).exists());
    // This test program is the running executable.
    EXPECT_TRUE(QFileInfo(folder + "/test_runtime_system").isExecutable()) << folder.toStdString();
}
