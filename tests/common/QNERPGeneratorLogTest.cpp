#include "common/QNERPGeneratorU.h"

#include "StewardIniTestHome.h"
#include "runtime/system/Exceptions.h"

#include <QDate>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <stdexcept>

using steward_test::TestHome;

namespace {

const QString kHyphens = QString(34, QLatin1Char('-'));

// A client home below a temporary folder, and the generator log in it.
class GeneratorLog {
public:
    GeneratorLog()
        : home_({})
    {
        home_.WriteRegistry({{QStringLiteral("ClientPath"), home_.Folder("home")}});
    }

    QString RelativeName() const
    {
        return QStringLiteral("home/Log/Alert_QNERPGenerator_") + QDate::currentDate().toString("yyyyMMdd")
            + QStringLiteral(".log");
    }
    // The entries written so far, each without its time stamp. An entry that
    // holds a line break itself continues on the next line of the file.
    QStringList Messages() const
    {
        const QRegularExpression stamp(QStringLiteral("^\\[\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\] "));
        QStringList entries;
        const QStringList lines = QString::fromUtf8(home_.Read(RelativeName())).split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            const QRegularExpressionMatch match = stamp.match(line);
            if (match.hasMatch())
                entries.append(line.mid(match.capturedLength()));
            else if (!entries.isEmpty())
                entries.last() += QLatin1Char('\n') + line;
            else if (!line.isEmpty())
                entries.append(QStringLiteral("<no stamp> ") + line);
        }
        if (!entries.isEmpty() && entries.last().endsWith(QLatin1Char('\n')))
            entries.last().chop(1);
        return entries;
    }
    TestHome& Home() { return home_; }

private:
    TestHome home_;
};

} // namespace

TEST(GeneratorLog, WritesStampedLinesInTheDailyFile)
{
    GeneratorLog log;
    EXPECT_TRUE(WriteGeneratorLog(QStringLiteral("first")));
    EXPECT_TRUE(WriteGeneratorLog(QStringLiteral("第二行")));
    ASSERT_TRUE(log.Home().Exists(log.RelativeName()));
    EXPECT_EQ(log.Messages(), (QStringList {QStringLiteral("first"), QStringLiteral("第二行")}));
}

TEST(GeneratorLog, UnwritableHomeReturnsFalse)
{
    TestHome home({});
    const QString blocker = home.Write(QStringLiteral("plainfile"), "not a folder");
    home.WriteRegistry({{QStringLiteral("ClientPath"), blocker}});
    EXPECT_FALSE(WriteGeneratorLog(QStringLiteral("lost")));
    LogError(nullptr, QStringLiteral("nowhere"), QStringLiteral("still no throw"));
}

TEST(GeneratorLog, LogErrorHeaderAndProgrammerMessage)
{
    GeneratorLog log;
    LogError(nullptr, QString(), QString());
    LogError(nullptr, QStringLiteral("   "), QStringLiteral("  "));
    LogError(nullptr, QStringLiteral(" Place "), QStringLiteral("Check the input"));
    EXPECT_EQ(log.Messages(),
        (QStringList {QString(68, QLatin1Char('-')), QString(68, QLatin1Char('-')),
            kHyphens + QStringLiteral(" on  Place  ") + kHyphens,
            QStringLiteral("Programer Message: Check the input")}));
}

TEST(GeneratorLog, LogErrorDescribesEachErrorClass)
{
    struct Case {
        std::unique_ptr<std::exception> error;
        QStringList details;
    };
    std::vector<Case> cases;
    cases.push_back({std::make_unique<EDBEngineError>(QStringLiteral("outer"),
                         QList<EDBEngineError::SubError> {{1205, "deadlock"}, {-3, "无效"}}),
        {QStringLiteral("EDBEngineError Error 01: Code: 1205, Message: deadlock"),
            QStringLiteral("EDBEngineError Error 02: Code: -3, Message: 无效"),
            QStringLiteral("ErrorMessage Count: 2")}});
    cases.push_back(
        {std::make_unique<EDBEngineError>(QStringLiteral("no details"), QList<EDBEngineError::SubError> {}),
            {QStringLiteral("Exception is EDBEngineError\r\nMessage 01: no details"),
                QStringLiteral("ErrorMessage Count: 1")}});
    cases.push_back({std::make_unique<EWin32Error>(QStringLiteral("Access denied"), 5),
        {QStringLiteral("EWin32Error Error 01: Code: 5, Message: Access denied"),
            QStringLiteral("ErrorMessage Count: 1")}});
    cases.push_back({std::make_unique<EOSError>(QStringLiteral("Not found"), 2),
        {QStringLiteral("EWin32Error Error 01: Code: 2, Message: Not found"),
            QStringLiteral("ErrorMessage Count: 1")}});
    cases.push_back({std::make_unique<EInOutError>(QStringLiteral("Disk full"), 112),
        {QStringLiteral("EInOutError Error 01: Code: 112, Message: Disk full"),
            QStringLiteral("ErrorMessage Count: 1")}});
    cases.push_back({std::make_unique<EConvertError>(QStringLiteral("'x' is not a valid integer value")),
        {QStringLiteral("Exception is EConvertError\r\nMessage 01: 'x' is not a valid integer value"),
            QStringLiteral("ErrorMessage Count: 1")}});
    cases.push_back({std::make_unique<std::runtime_error>("plain"),
        {QStringLiteral("Exception is std::runtime_error\r\nMessage 01: plain"),
            QStringLiteral("ErrorMessage Count: 1")}});

    for (const Case& c : cases) {
        GeneratorLog log;
        LogError(c.error.get(), QStringLiteral("Step"), QString());
        QStringList expected
            = {kHyphens + QStringLiteral(" on Step ") + kHyphens, QStringLiteral("讯息信息:")};
        expected += c.details;
        EXPECT_EQ(log.Messages(), expected) << log.Messages().join(QLatin1Char('|')).toStdString();
    }
}
