// The named alert logs: where they go, how their files are named, what a line holds.

#include "common/LibStrs.h"

#include "runtime/system/Libraries.h"
#include "runtime/system/NativePath.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QRegularExpression>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

class AlertLog : public ::testing::Test {
protected:
    // A registry file whose Steward key holds the given values.
    void useRegistry(const QByteArray& values)
    {
        const QString file = folder.write("registry.reg",
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n"
                + values);
        registry.emplace("STEWARD_REGISTRY", file.toUtf8());
    }
    QByteArray pathValue(const char* name, const QString& path) const
    {
        return QByteArray("\"") + name + "\"=\"" + path.toUtf8() + "\"\r\n";
    }
    static QString today(const char* format)
    {
        return QDate::currentDate().toString(QString::fromLatin1(format));
    }

    TempFolder folder;
    std::optional<ScopedEnv> registry;
};

} // namespace

TEST_F(AlertLog, WritesDatedLinesUnderTheClientHome)
{
    useRegistry(
        pathValue("ClientPath", folder.file("client")) + pathValue("ServerPath", folder.file("server")));
    ASSERT_TRUE(WriteAlertLog("VRBASE", "first", "D"));
    ASSERT_TRUE(WriteAlertLog("VRBASE", "第二 line", "D"));

    const QString file = "client/Log/Alert_VRBASE_" + today("yyyyMMdd") + ".log";
    const QStringList lines = QString::fromUtf8(folder.read(file)).split('\n');
    ASSERT_EQ(lines.size(), 3) << file.toStdString();
    const QRegularExpression format(R"(^\[(\d{4}/\d{2}/\d{2}) \d{2}:\d{2}:\d{2}:\d{3}\] (.*)$)");
    const auto first = format.match(lines[0]);
    ASSERT_TRUE(first.hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(first.captured(1), today("yyyy/MM/dd"));
    EXPECT_EQ(first.captured(2), "first");
    EXPECT_EQ(format.match(lines[1]).captured(2), "第二 line");
    EXPECT_EQ(lines[2], "");
    EXPECT_FALSE(folder.exists("server/Log"));
}

TEST_F(AlertLog, FileNamePerPeriodAndName)
{
    useRegistry(pathValue("ClientPath", folder.file("home")));
    EXPECT_TRUE(WriteAlertLog("libstrs", "m", "M"));
    EXPECT_TRUE(WriteAlertLog("libstrs", "y", "Y"));
    EXPECT_TRUE(WriteAlertLog("libstrs", "q", "Q"));
    EXPECT_TRUE(WriteAlertLog("libstrs", "e", ""));
    EXPECT_TRUE(WriteAlertLog("Tidewise.ReturnValue", "dot", "D"));

    EXPECT_TRUE(folder.read("home/Log/Alert_libstrs_" + today("yyyyMM") + ".log").endsWith("] m\n"));
    EXPECT_TRUE(folder.read("home/Log/Alert_libstrs_" + today("yyyy") + ".log").endsWith("] y\n"));
    const QByteArray daily = folder.read("home/Log/Alert_libstrs_" + today("yyyyMMdd") + ".log");
    EXPECT_TRUE(daily.contains("] q\n") && daily.endsWith("] e\n")) << daily.toStdString();
    EXPECT_TRUE(folder.read("home/Log/Alert_Tidewise.ReturnValue_" + today("yyyyMMdd")).endsWith("] dot\n"));
    EXPECT_FALSE(folder.exists("home/Log/Alert_Tidewise.ReturnValue_" + today("yyyyMMdd") + ".log"));

    EXPECT_EQ(AlertLogFileName("VRBASE", "Y", QDateTime(QDate(2011, 10, 28), QTime(9, 30))),
        folder.file("home") + "\\Log\\Alert_VRBASE_2011.log");
}

TEST_F(AlertLog, HomeFallsBackToServerPathThenToTheProgramFolder)
{
    useRegistry(pathValue("ClientPath", "") + pathValue("ServerPath", folder.file("server")));
    EXPECT_TRUE(WriteAlertLog("x", "s", "D"));
    EXPECT_TRUE(folder.exists("server/Log/Alert_x_" + today("yyyyMMdd") + ".log"));

    useRegistry("");
    const QDateTime moment(QDate(2011, 10, 28), QTime(9, 30));
    EXPECT_EQ(AlertLogFileName("x", "D", moment),
        ExtractFilePath(ModuleFileName()) + "\\Log\\Alert_x_20111028.log");
}

TEST_F(AlertLog, UnwritableFolderReturnsFalse)
{
    // The home is a regular file: the Log folder cannot be made below it.
    const QString blocker = folder.write("blocker", "not a folder");
    useRegistry(pathValue("ClientPath", blocker));
    bool written = true;
    EXPECT_NO_THROW(written = WriteAlertLog("libstrs", "lost", "D"));
    EXPECT_FALSE(written);

    // The log file's place is taken by a folder.
    useRegistry(pathValue("ClientPath", folder.file("home")));
    ASSERT_TRUE(ForceDirectories(folder.file("home/Log/Alert_busy_" + today("yyyyMMdd") + ".log")));
    EXPECT_FALSE(WriteAlertLog("busy", "lost", "D"));
}
