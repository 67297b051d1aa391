#include "common/LogWriter.h"

#include "support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using testsupport::TempFolder;

TEST(LogWriter, AppendsLinesCreatingFoldersOnFirstUse)
{
    TempFolder home;
    // The callers build "home\" + "\Log": the doubled separator must still work.
    const QString folder = home.path() + QStringLiteral("\\\\Log\\sub");
    EXPECT_TRUE(
        logwriter::AppendLine(folder, QStringLiteral("\\Alert_x_2011.log"), QStringLiteral("第一行")));
    EXPECT_TRUE(
        logwriter::AppendLine(folder, QStringLiteral("\\Alert_x_2011.log"), QStringLiteral("second")));
    EXPECT_EQ(QString::fromUtf8(home.read(QStringLiteral("Log/sub/Alert_x_2011.log"))),
        QStringLiteral("第一行\nsecond\n"));
}

TEST(LogWriter, ReportsFailureWithoutThrowing)
{
    TempFolder home;
    home.write(QStringLiteral("plain"), "a file, not a folder");
    EXPECT_FALSE(logwriter::AppendLine(
        home.path() + QStringLiteral("/plain/Log"), QStringLiteral("\\a.log"), QStringLiteral("lost")));
    // A file name that is a folder cannot be opened for appending.
    EXPECT_FALSE(logwriter::AppendLine(home.path(), QStringLiteral("/"), QStringLiteral("lost")));
    if (QFile::exists(QStringLiteral("/dev/full"))) {
        EXPECT_FALSE(logwriter::AppendLine(
            QStringLiteral("/dev"), QStringLiteral("/full"), QStringLiteral("disk full")));
    }
}
