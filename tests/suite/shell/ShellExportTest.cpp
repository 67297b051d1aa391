// steward's window-less exports of the change-slip module on a demo home:
// the pages of a slip as picture files of every kind, and the whole report
// as one vector PDF whose texts a PDF reader finds again.

#include "support/ProgramRun.h"
#include "support/QStringPrinter.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Keys (type, number, version) of the demo slip with the most lines, and its line count.
QStringList busiestSlip(const QString& databaseFile, int& lines)
{
    sqlite3* db = nullptr;
    QStringList keys;
    lines = 0;
    if (sqlite3_open_v2(databaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        const char* sql = "SELECT TP001, TP002, TP003, COUNT(*) FROM MOCTP GROUP BY TP001, TP002, TP003 "
                          "ORDER BY COUNT(*) DESC, TP001, TP002, TP003 LIMIT 1";
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK
            && sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < 3; ++i)
                keys << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
            lines = sqlite3_column_int(stmt, 3);
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return keys;
}

// Output of a tool of the system (poppler-utils, qpdf); empty tool = not installed.
testsupport::ProgramRun tool(const QString& name, const QStringList& args)
{
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        return {};
    return testsupport::RunProgram(path, args, QProcessEnvironment::systemEnvironment());
}

class ShellExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_ = folder_.file(QStringLiteral("demo"));
        const testsupport::ProgramRun made
            = run({QStringLiteral("--create-demo"), home_, QStringLiteral("--slips"), QStringLiteral("40")});
        ASSERT_EQ(made.Status, 0) << qPrintable(made.Err);
        keys_ = busiestSlip(home_ + QStringLiteral("/C_DATA/DEMO.db"), lines_);
        ASSERT_EQ(keys_.size(), 3);
        // Ten lines a page on the change slip.
        ASSERT_GT(lines_, 10) << "the demo slip spans at least two pages";
    }

    testsupport::ProgramRun run(const QStringList& args) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return testsupport::RunProgram(QStringLiteral(ZORV_STEWARD), args, environment);
    }

    testsupport::ProgramRun exportSlip(const QStringList& command) const
    {
        return run(
            QStringList {QStringLiteral("ZORV52"), QStringLiteral("--home"), home_, QStringLiteral("--user"),
                QStringLiteral("CHEN"), QStringLiteral("--keys"), keys_.join(u',')}
            + command);
    }

    int Pages() const { return (lines_ + 9) / 10; }

    testsupport::TempFolder folder_;
    QString home_;
    QStringList keys_;
    int lines_ = 0;
};

} // namespace

TEST_F(ShellExportTest, EveryPictureKindWritesOneFilePerPageFromThePapersEdge)
{
    const QStringList kinds {
        QStringLiteral("BMP"), QStringLiteral("JPG"), QStringLiteral("GIF"), QStringLiteral("PDF")};
    const QStringList extensions {
        QStringLiteral("bmp"), QStringLiteral("jpg"), QStringLiteral("gif"), QStringLiteral("pdf")};
    ASSERT_LT(Pages(), 10) << "one digit numbers below";
    for (int kind = 0; kind < 4; ++kind) {
        const QString out = folder_.file(kinds[kind]);
        QDir().mkpath(out);
        const testsupport::ProgramRun done = exportSlip(
            {QStringLiteral("--export-pictures"), QString::number(kind), out + QStringLiteral("/P")});
        ASSERT_EQ(done.Status, 0) << qPrintable(done.Err);
        QStringList expected;
        for (int page = 1; page <= Pages(); ++page)
            expected << QStringLiteral("P%1.%2").arg(page).arg(extensions[kind]);
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), expected) << qPrintable(kinds[kind]);
        if (kind == 3) {
            const testsupport::ProgramRun check
                = tool(QStringLiteral("qpdf"), {QStringLiteral("--check"), out + QStringLiteral("/P1.pdf")});
            if (check.Status >= 0) {
                EXPECT_EQ(check.Status, 0) << qPrintable(check.Out + check.Err);
            }
            const testsupport::ProgramRun info
                = tool(QStringLiteral("pdfinfo"), {out + QStringLiteral("/P1.pdf")});
            if (info.Status >= 0) {
                EXPECT_TRUE(info.Out.contains(QStringLiteral("612 x 792 pts"))) << qPrintable(info.Out);
            }
            continue;
        }
        for (const QString& name : expected) {
            const QImage page(out + u'/' + name);
            ASSERT_FALSE(page.isNull()) << qPrintable(name);
            // Letter at 96 dpi, drawn from the paper's edge: the slip's frame
            // starts within the page's own margin, not a screen margin further in.
            EXPECT_EQ(page.size(), QSize(816, 1056)) << qPrintable(name);
            int darkRows = 0;
            for (int y = 0; y < page.height(); y += 2) {
                int dark = 0;
                for (int x = 0; x < page.width(); x += 2)
                    dark += qGray(page.pixel(x, y)) < 100;
                darkRows += dark > 0;
            }
            EXPECT_GT(darkRows, 100) << "the page shows the slip: " << qPrintable(name);
            EXPECT_GT(qGray(page.pixel(2, 2)), 200) << "paper is white at its corner: " << qPrintable(name);
        }
    }
}

TEST_F(ShellExportTest, TheVectorPdfHoldsTheSlipsTextsAsText)
{
    const QString pdf = folder_.file(QStringLiteral("slip.pdf"));
    const testsupport::ProgramRun done = exportSlip({QStringLiteral("--export-pdf"), pdf});
    ASSERT_EQ(done.Status, 0) << qPrintable(done.Err);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
    const testsupport::ProgramRun text = tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (text.Status < 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(text.Status, 0);
    EXPECT_TRUE(text.Out.contains(QStringLiteral("工单变更单"))) << qPrintable(text.Out.left(400));
    EXPECT_TRUE(text.Out.contains(keys_.join(u'-'))) << qPrintable(text.Out.left(400));
    EXPECT_TRUE(text.Out.contains(QStringLiteral("变更前")) && text.Out.contains(QStringLiteral("变更后")));
    // One page of the PDF per page of the slip.
    EXPECT_EQ(text.Out.count(u'\f'), Pages());
}

TEST_F(ShellExportTest, AVectorPdfThatCannotBeWrittenFailsAndLeavesNothing)
{
    const QString pdf = folder_.file(QStringLiteral("no/such/folder/slip.pdf"));
    const testsupport::ProgramRun done = exportSlip({QStringLiteral("--export-pdf"), pdf});
    EXPECT_EQ(done.Status, 1) << qPrintable(done.Err);
    EXPECT_TRUE(done.Err.contains(QStringLiteral("command 11 failed: The folder ")
        + QFileInfo(pdf).absolutePath() + QStringLiteral(" does not exist")))
        << qPrintable(done.Err);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ShellExportTest, AHomeExportsWhereverItIsCopiedAfterItsOldPlaceIsGone)
{
    // The demo home as made, and one as an older version recorded it: its
    // absolute place in the registry file.
    const QString older = folder_.file(QStringLiteral("older"));
    ASSERT_EQ(
        run({QStringLiteral("--create-demo"), older, QStringLiteral("--slips"), QStringLiteral("40")}).Status,
        0);
    const QString oldPlace = older + QStringLiteral("\\\\");
    QFile registry(older + QStringLiteral("/registry.reg"));
    ASSERT_TRUE(registry.open(QIODevice::WriteOnly | QIODevice::Truncate));
    registry.write(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n"
                                  "\"ClientPath\"=\"%1\"\r\n\"ServerPath\"=\"%1\"\r\n")
                       .arg(oldPlace)
                       .toUtf8());
    registry.close();
    for (const QString& from : {home_, older}) {
        const QString copy = folder_.file(QStringLiteral("elsewhere/") + QFileInfo(from).fileName());
        ASSERT_TRUE(QDir().mkpath(QFileInfo(copy).absolutePath()));
        ASSERT_TRUE(QDir().rename(from, copy)) << qPrintable(from);
        ASSERT_FALSE(QFileInfo::exists(from));
        const QString pdf = copy + QStringLiteral(".pdf");
        const testsupport::ProgramRun done = run({QStringLiteral("ZORV52"), QStringLiteral("--home"), copy,
            QStringLiteral("--user"), QStringLiteral("CHEN"), QStringLiteral("--keys"), keys_.join(u','),
            QStringLiteral("--export-pdf"), pdf});
        EXPECT_EQ(done.Status, 0) << qPrintable(from) << ": " << qPrintable(done.Err);
        EXPECT_TRUE(QFileInfo(pdf).size() > 0) << qPrintable(from);
        EXPECT_FALSE(QFileInfo::exists(from)) << "nothing is written at the old place";
    }
}

TEST_F(ShellExportTest, ATraditionalHomePrintsItsSlipAndQtsDialogsInTraditionalChinese)
{
    const QString home = folder_.file(QStringLiteral("cht"));
    ASSERT_EQ(run({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("40"),
                      QStringLiteral("--code-page"), QStringLiteral("950")})
                  .Status,
        0);
    const QString pdf = folder_.file(QStringLiteral("cht.pdf"));
    const testsupport::ProgramRun done = run({QStringLiteral("ZORV52"), QStringLiteral("--home"), home,
        QStringLiteral("--user"), QStringLiteral("CHEN"), QStringLiteral("--keys"), keys_.join(u','),
        QStringLiteral("--export-pdf"), pdf, QStringLiteral("--verbose")});
    ASSERT_EQ(done.Status, 0) << qPrintable(done.Err);
    if (QFileInfo::exists(QStringLiteral("/usr/share/qt6/translations/qtbase_zh_TW.qm"))) {
        EXPECT_TRUE(done.Err.contains(QStringLiteral("Qt's texts in zh_TW"))) << qPrintable(done.Err);
    }
    const testsupport::ProgramRun text = tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (text.Status < 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    for (const char* caption :
        {"工單變更單", "單號:", "變更日期:", "變更前", "變更後", "品名", "項次", "說明"})
        EXPECT_TRUE(text.Out.contains(QString::fromUtf8(caption))) << caption;
    for (const char* simplified : {"单号", "变更", "项次", "说明"})
        EXPECT_FALSE(text.Out.contains(QString::fromUtf8(simplified))) << simplified;
}

TEST_F(ShellExportTest, AnEnglishHomeGetsTheInstalledPackagesAndPrintsItsSlipInEnglish)
{
    const QString home = folder_.file(QStringLiteral("eng"));
    const testsupport::ProgramRun made
        = run({QStringLiteral("--create-demo"), home, QStringLiteral("--slips"), QStringLiteral("40"),
            QStringLiteral("--code-page"), QStringLiteral("437")});
    ASSERT_EQ(made.Status, 0) << qPrintable(made.Err);
    QFile ini(home + QStringLiteral("/StewardC.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray settings = ini.readAll();
    EXPECT_TRUE(settings.contains("UICodePage=437") && settings.contains("LangType=ENG"))
        << settings.constData();
    // Every shipped package of every language, byte for byte.
    for (const char* code : {"CHS", "CHT", "ENG"}) {
        const QDir shipped(
            testsupport::sourcePath(QStringLiteral("data/MultiLanguage/") + QLatin1String(code)));
        const QStringList packages = shipped.entryList({QStringLiteral("*.Lng")}, QDir::Files, QDir::Name);
        ASSERT_FALSE(packages.isEmpty()) << code;
        const QDir copied(home + QStringLiteral("/MultiLanguage/") + QLatin1String(code));
        EXPECT_EQ(copied.entryList({QStringLiteral("*.Lng")}, QDir::Files, QDir::Name), packages) << code;
        for (const QString& name : packages) {
            QFile a(shipped.filePath(name));
            QFile b(copied.filePath(name));
            ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << qPrintable(name);
            EXPECT_EQ(a.readAll(), b.readAll()) << code << "/" << qPrintable(name);
        }
    }

    const QString pdf = folder_.file(QStringLiteral("eng.pdf"));
    const testsupport::ProgramRun done = run({QStringLiteral("ZORV52"), QStringLiteral("--home"), home,
        QStringLiteral("--user"), QStringLiteral("CHEN"), QStringLiteral("--keys"), keys_.join(u','),
        QStringLiteral("--export-pdf"), pdf});
    ASSERT_EQ(done.Status, 0) << qPrintable(done.Err);
    const testsupport::ProgramRun text = tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (text.Status < 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // The captions, the title (the database's printing message) and the
    // weekday marks; the slip's data (item names, suppliers, the slip type's
    // name in the title's brackets) stay as the database holds them.
    for (const char* caption : {"Work Order Change Slip(", "No.:", "Before Change", "After Change", "Descr."})
        EXPECT_TRUE(text.Out.contains(QString::fromUtf8(caption))) << caption;
    EXPECT_TRUE(text.Out.contains(QRegularExpression(QStringLiteral("<(SUN|MON|TUE|WED|THU|FRI|SAT)>"))));
    for (const char* chinese :
        {"工单变更单(", "单号", "变更前", "变更后", "品名", "项次", "<日>", "<一>", "<五>"})
        EXPECT_FALSE(text.Out.contains(QString::fromUtf8(chinese))) << chinese;
}

TEST_F(ShellExportTest, AHomeInALanguageWithoutItsPackagesIsRefused)
{
    // A data folder without packages, and one with the simplified ones only.
    const QString bare = folder_.file(QStringLiteral("bare"));
    const QString chineseOnly = folder_.file(QStringLiteral("chs-only"));
    ASSERT_TRUE(QDir().mkpath(bare));
    folder_.write(QStringLiteral("chs-only/MultiLanguage/CHS/TfrmZorv52.Lng"), "<TfrmZorv52 Caption=\"x\"/>");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const auto make = [&](const QString& data, const QString& codePage, const QString& name) {
        environment.insert(QStringLiteral("STEWARD_DATA_PATH"), data);
        return testsupport::RunProgram(QStringLiteral(ZORV_STEWARD),
            {QStringLiteral("--create-demo"), folder_.file(name), QStringLiteral("--slips"),
                QStringLiteral("5"), QStringLiteral("--code-page"), codePage},
            environment);
    };
    const testsupport::ProgramRun none = make(bare, QStringLiteral("437"), QStringLiteral("h1"));
    EXPECT_EQ(none.Status, 1);
    EXPECT_TRUE(none.Err.contains(QStringLiteral("no language packages for code page 437")))
        << qPrintable(none.Err);
    const testsupport::ProgramRun other = make(chineseOnly, QStringLiteral("950"), QStringLiteral("h2"));
    EXPECT_EQ(other.Status, 1);
    EXPECT_TRUE(other.Err.contains(QStringLiteral("holds no language package"))) << qPrintable(other.Err);
    // A simplified home does without: its built-in texts are the simplified ones.
    const testsupport::ProgramRun simplified = make(bare, QStringLiteral("936"), QStringLiteral("h3"));
    EXPECT_EQ(simplified.Status, 0) << qPrintable(simplified.Err);
    const testsupport::ProgramRun copied = make(chineseOnly, QStringLiteral("936"), QStringLiteral("h4"));
    EXPECT_EQ(copied.Status, 0) << qPrintable(copied.Err);
    EXPECT_TRUE(QFileInfo::exists(folder_.file(QStringLiteral("h4/MultiLanguage/CHS/TfrmZorv52.Lng"))));
}
