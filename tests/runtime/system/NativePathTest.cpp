#include "runtime/system/NativePath.h"

#include "runtime/system/SystemFacts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

TEST(NativePath, DrivesSharesAndSeparators)
{
    const ScopedEnv drive("STEWARD_DRIVE_D", "/srv/d/");
    const ScopedEnv unc("STEWARD_UNC_ROOT", "/srv/unc");
    EXPECT_EQ(NativePath("D:\\App\\\\Log"), "/srv/d/App/Log");
    EXPECT_EQ(NativePath("d:/App\\Log\\"), "/srv/d/App/Log/");
    EXPECT_EQ(NativePath("D:"), "/srv/d");
    EXPECT_EQ(NativePath("\\\\server\\share\\dir\\f.ini"), "/srv/unc/server/share/dir/f.ini");
    EXPECT_EQ(NativePath("/home/u/app/\\Log\\a.txt"), "/home/u/app/Log/a.txt");
    EXPECT_EQ(NativePath("Log\\a.txt"), "Log/a.txt");
    EXPECT_EQ(NativePath("..\\x"), "../x");
    EXPECT_EQ(NativePath(""), "");
}

TEST(NativePath, RootedPathsNeverClimbAboveTheirRoot)
{
    const ScopedEnv drive("STEWARD_DRIVE_C", "/srv/c");
    const ScopedEnv unc("STEWARD_UNC_ROOT", "/srv/unc");
    EXPECT_EQ(NativePath("C:\\..\\..\\etc\\passwd"), "/srv/c/etc/passwd");
    EXPECT_EQ(NativePath("C:\\a\\.\\b\\..\\c"), "/srv/c/a/c");
    EXPECT_EQ(NativePath("\\\\srv\\share\\..\\..\\x"), "/srv/unc/srv/share/x");
    EXPECT_EQ(NativePath("\\\\..\\..\\x"), "/srv/unc/x");
    EXPECT_EQ(NativePath("/../tmp"), "/tmp");
}

TEST(NativePath, UnconfiguredDrivesLandInTheTemporaryFolder)
{
    const ScopedEnv tmp("TMPDIR", "/var/tmp/t");
    const ScopedEnv drive("STEWARD_DRIVE_E", std::nullopt);
    const ScopedEnv unc("STEWARD_UNC_ROOT", std::nullopt);
    EXPECT_EQ(NativePath("e:\\Temp\\x"), "/var/tmp/t/steward-drive-e/Temp/x");
    EXPECT_EQ(NativePath("\\\\host\\s"), "/var/tmp/t/steward-unc/host/s");
}

TEST(NativePath, FileSystemHelpers)
{
    TempFolder folder;
    const ScopedEnv drive("STEWARD_DRIVE_D", folder.path().toLocal8Bit());
    EXPECT_TRUE(ForceDirectories("D:\\App\\Log\\\\deep\\"));
    EXPECT_TRUE(DirectoryExists("D:\\App\\Log\\deep"));
    EXPECT_TRUE(folder.exists("App/Log/deep"));
    EXPECT_TRUE(ForceDirectories("D:\\App\\Log")); // already there
    folder.write("App/Log/a.log", "x");
    EXPECT_TRUE(FileExists("D:\\App\\Log\\a.log"));
    EXPECT_FALSE(FileExists("D:\\App\\Log")); // a folder is no file
    EXPECT_FALSE(DirectoryExists("D:\\App\\Log\\a.log"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(ForceDirectories(""));
    // A file in the way of a folder.
    EXPECT_FALSE(ForceDirectories("D:\\App\\Log\\a.log\\sub"));
}

TEST(NativePath, PathTextParts)
{
    EXPECT_EQ(IncludeTrailingBackslash("D:\\App"), "D:\\App\\");
    EXPECT_EQ(IncludeTrailingBackslash("D:\\App\\"), "D:\\App\\");
    EXPECT_EQ(IncludeTrailingBackslash("/home/app/"), "/home/app/");
    EXPECT_EQ(IncludeTrailingBackslash(""), "\\");
    EXPECT_EQ(ExcludeTrailingBackslash("D:\\App\\"), "D:\\App");

    EXPECT_EQ(ExtractFilePath("D:\\App\\C_DATA\\f.frm"), "D:\\App\\C_DATA\\");
    EXPECT_EQ(ExtractFilePath("/opt/a/f.frm"), "/opt/a/");
    EXPECT_EQ(ExtractFilePath("D:f.frm"), "D:");
    EXPECT_EQ(ExtractFilePath("f.frm"), "");
    EXPECT_EQ(ExtractFileName("D:\\App\\f.frm"), "f.frm");
    EXPECT_EQ(ExtractFileName("D:\\App\\"), "");
    EXPECT_EQ(ExtractFileName("D:f"), "f");

    EXPECT_EQ(ExtractFileExt("D:\\App\\a.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("D:\\x.d\\name"), "");
    EXPECT_EQ(ExtractFileExt("name."), ".");
    EXPECT_EQ(ExtractFileExt("/x.d/name"), "");
    EXPECT_EQ(ChangeFileExt("D:\\App\\a.txt", ".ini"), "D:\\App\\a.ini");
    EXPECT_EQ(ChangeFileExt("D:\\x.d\\name", ".ini"), "D:\\x.d\\name.ini");
    EXPECT_EQ(ChangeFileExt("a.txt", ""), "a");
}
