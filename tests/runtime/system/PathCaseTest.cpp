#include "runtime/system/PathCase.h"

#include "runtime/system/NativePath.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using testsupport::TempFolder;

TEST(PathCase, NamesThatExistUnderAnotherCaseAreSpelledAsOnDisk)
{
    TempFolder home;
    home.write(QStringLiteral("C_DATA/CHEN/a.Frm"), "x");
    const QString root = home.path();
    // A Windows-style text with the other case and mixed separators.
    EXPECT_EQ(NativePathOnDisk(root + QStringLiteral("\\c_data\\chen\\A.FRM")),
        root + QStringLiteral("/C_DATA/CHEN/a.Frm"));
    // From the first name that is in no case on, the text stays as written.
    EXPECT_EQ(NativePathOnDisk(root + QStringLiteral("\\c_data\\DS\\Sub\\")),
        root + QStringLiteral("/C_DATA/DS/Sub/"));
    EXPECT_EQ(
        NativePathOnDisk(root + QStringLiteral("/nothere/c_data")), root + QStringLiteral("/nothere/c_data"));
    // Making the folder from the answer leaves no second C_DATA beside the first.
    ASSERT_TRUE(QDir().mkpath(NativePathOnDisk(root + QStringLiteral("\\c_data\\DS"))));
    EXPECT_EQ(
        QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList {QStringLiteral("C_DATA")});
    EXPECT_EQ(NativePathOnDisk(QString()), QString());
}

TEST(PathCase, AnExactNameWinsOverOnesThatDifferOnlyInCase)
{
    TempFolder home;
    home.write(QStringLiteral("Log/x"), "1");
    home.write(QStringLiteral("LOG/y"), "2");
    home.write(QStringLiteral("log/z"), "3");
    const QString root = home.path();
    EXPECT_EQ(NativePathOnDisk(root + QStringLiteral("/log")), root + QStringLiteral("/log"));
    EXPECT_EQ(NativePathOnDisk(root + QStringLiteral("/LOG/")), root + QStringLiteral("/LOG/"));
    // None as written: the first of the listing in sorted order.
    EXPECT_EQ(NativePathOnDisk(root + QStringLiteral("/lOg")), root + QStringLiteral("/LOG"));
}

TEST(PathCase, RelativeTextsAreMatchedInTheWorkingFolder)
{
    TempFolder home;
    home.write(QStringLiteral("C_TEMP/t"), "1");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    const QString matched = NativePathOnDisk(QStringLiteral("c_temp\\T"));
    QDir::setCurrent(previous);
    EXPECT_EQ(matched, QStringLiteral("C_TEMP/t"));
}
