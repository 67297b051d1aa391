// ZTST53, the second print program, run as a user runs it: the real shell
// (build/bin/steward) exports and prints on a demo home through the server in
// its own process and through a steward-appserver process, and the window in
// this process previews. Nothing outside the program's folder names it: the
// demo rows, the server's class id and the module come from its descriptor
// and its one zorv_program line.
//
// Checks read the demo database directly, not through the server under test.

#include "suite/appserver/DaemonProcess.h"
#include "tests/programs/ztst53/Ztst53F.h"

#include "criteria/SelectPnl.h"
#include "format/VRPreviewF.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPageModel.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"
#include "suite/hubdesk/HubDeskManager.h"
#include "support/ProgramRun.h"
#include "support/QStringPrinter.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <sqlite3.h>

namespace {

struct Slip {
    QString Type, Number, Version, ChangeDate, Factory;
    QString Keys() const { return Type + u',' + Number + u',' + Version; }
};

// The slip headers of the demo database, in slip order.
QList<Slip> slipsOf(const QString& databaseFile)
{
    QList<Slip> slips;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databaseFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        const char* sql = "SELECT TO001, TO002, TO003, TO004, TO021 FROM MOCTO ORDER BY TO001, TO002, TO003";
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                QStringList row;
                for (int i = 0; i < 5; ++i)
                    row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
                slips.append({row[0], row[1], row[2], row[3], row[4]});
            }
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return slips;
}

// The text of a PDF (pdftotext of poppler-utils); nullopt when the tool is missing.
std::optional<QString> pdfText(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return std::nullopt;
    const testsupport::ProgramRun run
        = testsupport::RunProgram(tool, {pdf, QStringLiteral("-")}, QProcessEnvironment::systemEnvironment());
    return run.Out;
}

class Ztst53ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        home_ = folder_.file(QStringLiteral("demo"));
        const testsupport::ProgramRun made = steward(
            {QStringLiteral("--create-demo"), home_, QStringLiteral("--slips"), QStringLiteral("40")});
        ASSERT_EQ(made.Status, 0) << qPrintable(made.Err);
        slips_ = slipsOf(home_ + QStringLiteral("/C_DATA/DEMO.db"));
        ASSERT_GE(slips_.size(), 40);
    }

    testsupport::ProgramRun steward(const QStringList& args, const QMap<QString, QString>& extra = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        for (auto it = extra.begin(); it != extra.end(); ++it)
            environment.insert(it.key(), it.value());
        return testsupport::RunProgram(QStringLiteral(ZORV_STEWARD), args, environment);
    }

    // steward PROGRAM --home HOME --user USER, then args.
    testsupport::ProgramRun program(const QString& code, const QString& user, const QStringList& args,
        const QMap<QString, QString>& extra = {}) const
    {
        return steward(
            QStringList {code, QStringLiteral("--home"), home_, QStringLiteral("--user"), user} + args,
            extra);
    }

    testsupport::TempFolder folder_;
    QString home_;
    QList<Slip> slips_;
};

} // namespace

TEST_F(Ztst53ShellTest, AKeyExportWritesThatSlipAloneAndTheDefaultCriteriaEverySlipTheUserMaySee)
{
    const Slip& slip = slips_.at(3);
    const QString one = folder_.file(QStringLiteral("one.pdf"));
    testsupport::ProgramRun run = program(QStringLiteral("ZTST53"), QStringLiteral("CHEN"),
        {QStringLiteral("--keys"), slip.Keys(), QStringLiteral("--export-pdf"), one});
    ASSERT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(testsupport::readAll(one).startsWith("%PDF-"));

    // WANG's data rights in ZTST53 (its descriptor's ADMMR row) keep him to factory F01.
    const QString all = folder_.file(QStringLiteral("all.pdf"));
    run = program(QStringLiteral("ZTST53"), QStringLiteral("WANG"), {QStringLiteral("--export-pdf"), all});
    ASSERT_EQ(run.Status, 0) << qPrintable(run.Err);

    const std::optional<QString> oneText = pdfText(one);
    if (!oneText)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(oneText->contains(slip.Number)) << qPrintable(*oneText);
    EXPECT_TRUE(oneText->contains(QStringLiteral("Changed on")));
    EXPECT_EQ(oneText->count(QStringLiteral("Slip:")), 1) << "one slip";
    // The report names its program as the PDF's creator, not the engine a program of its own.
    const QString info = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (!info.isEmpty()) {
        const testsupport::ProgramRun meta
            = testsupport::RunProgram(info, {one}, QProcessEnvironment::systemEnvironment());
        EXPECT_TRUE(meta.Out.contains(QRegularExpression(QStringLiteral("Creator:\\s+ZTST53\\n"))))
            << qPrintable(meta.Out);
    }

    // A number may have versions of both kinds: numbers are told apart only
    // where all their versions are of one kind.
    const QString allText = pdfText(all).value_or(QString());
    QSet<QString> f01Numbers, otherNumbers;
    int f01 = 0;
    for (const Slip& s : std::as_const(slips_)) {
        (s.Factory == u"F01" ? f01Numbers : otherNumbers) << s.Number;
        f01 += s.Factory == u"F01";
    }
    for (const QString& number : std::as_const(f01Numbers))
        EXPECT_TRUE(allText.contains(number)) << qPrintable(number);
    int othersOnly = 0;
    for (const QString& number : otherNumbers - f01Numbers) {
        ++othersOnly;
        EXPECT_FALSE(allText.contains(number)) << "not WANG's: " << qPrintable(number);
    }
    EXPECT_GT(f01, 0);
    EXPECT_GT(othersOnly, 0) << "the demo has slips of other factories";
    EXPECT_EQ(allText.count(QStringLiteral("Slip:")), f01) << "one slip per F01 header";
}

TEST_F(Ztst53ShellTest, PrintingOnAMachineWithoutPrintersSaysSo)
{
    // CUPS pointed at nothing: the run gets as far as the printer and says there is none.
    const testsupport::ProgramRun run = program(QStringLiteral("ZTST53"), QStringLiteral("CHEN"),
        {QStringLiteral("--keys"), slips_.at(0).Keys(), QStringLiteral("--print")},
        {{QStringLiteral("CUPS_SERVER"), folder_.file(QStringLiteral("no-cups.sock"))}});
    EXPECT_EQ(run.Status, 1) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("E;000040"))) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("ZTST53: command 6 failed"))) << qPrintable(run.Err);
}

TEST_F(Ztst53ShellTest, TheDaemonServesEveryProgramByDefaultAndOnlyTheListedOnesWhenServerClassIsSet)
{
    TDaemonProcess daemon(home_);
    daemon.Configure();
    daemon.Start();
    ASSERT_FALSE(HasFatalFailure());
    const QMap<QString, QString> chen {
        {QStringLiteral("STEWARD_PASSWORD"), DemoPassword(QStringLiteral("CHEN"))}};
    const Slip& slip = slips_.at(5);
    const auto exportAs = [&](const QString& code, const QString& name) {
        return program(code, QStringLiteral("CHEN"),
            {QStringLiteral("--keys"), slip.Keys(), QStringLiteral("--export-pdf"), folder_.file(name)},
            chen);
    };
    testsupport::ProgramRun run = exportAs(QStringLiteral("ZTST53"), QStringLiteral("daemon.pdf"));
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    EXPECT_TRUE(testsupport::readAll(folder_.file(QStringLiteral("daemon.pdf"))).startsWith("%PDF-"));
    if (const auto text = pdfText(folder_.file(QStringLiteral("daemon.pdf")))) {
        EXPECT_TRUE(text->contains(slip.Number)) << qPrintable(*text);
    }

    // One class alone, as the StewardS.ini files written before the list know it.
    daemon.Kill();
    daemon.SetKey(QStringLiteral("ServerClass"), QStringLiteral("ZORV52S.Class1"));
    daemon.Start();
    ASSERT_FALSE(HasFatalFailure());
    run = exportAs(QStringLiteral("ZTST53"), QStringLiteral("refused.pdf"));
    // The program cannot reach its server (E;000006) ...
    EXPECT_EQ(run.Status, 1) << qPrintable(run.Err);
    EXPECT_TRUE(run.Err.contains(QStringLiteral("E;000006"))) << qPrintable(run.Err);
    EXPECT_FALSE(QFile::exists(folder_.file(QStringLiteral("refused.pdf"))));
    // ... while the listed one still does, on the same daemon.
    run = exportAs(QStringLiteral("ZORV52"), QStringLiteral("zorv52.pdf"));
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);

    // The second program alone: its whole run (the manager's services too)
    // needs no other program's server class.
    daemon.Kill();
    daemon.SetKey(QStringLiteral("ServerClass"), QStringLiteral("ZTST53S.Class1"));
    daemon.Start();
    ASSERT_FALSE(HasFatalFailure());
    run = exportAs(QStringLiteral("ZTST53"), QStringLiteral("alone.pdf"));
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    if (const auto text = pdfText(folder_.file(QStringLiteral("alone.pdf")))) {
        EXPECT_TRUE(text->contains(slip.Number)) << qPrintable(*text);
    }

    // A list, either program by its own class id.
    daemon.Kill();
    daemon.SetKey(QStringLiteral("ServerClass"), QStringLiteral("zorv52s.class1, ZTST53S.Class1"));
    daemon.Start();
    ASSERT_FALSE(HasFatalFailure());
    run = exportAs(QStringLiteral("ZTST53"), QStringLiteral("listed.pdf"));
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
    run = exportAs(QStringLiteral("ZORV52"), QStringLiteral("listed52.pdf"));
    EXPECT_EQ(run.Status, 0) << qPrintable(run.Err);
}

// The window in this process, as the shell would show it, previewing.
class Ztst53WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDemoOptions options;
        options.Slips = 30;
        summary_ = CreateDemoHome(home_.path(), options);
        registry_ = std::make_unique<testsupport::ScopedEnv>(
            "STEWARD_REGISTRY", home_.file("registry.reg").toUtf8());
        RegisterAppServer();
        RegisterHubDesk();
        manager_ = CreateOleObject(QStringLiteral("HubDesk.Manager"));
        dialogs_ = std::make_unique<ScriptedDialogService>();
        form_.reset(CreateForm<TfrmZtst53>());
        form_->SetHostObject(manager_);
        form_->SetModulePath(QStringLiteral("/opt/steward/libZTST53C.so"));
        ASSERT_TRUE(form_->ApplyParams(Variant::ArrayOf(
            {Variant("CHEN"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("FEP")})))
            << form_->ErrorCodes().toStdString();
        slips_ = slipsOf(summary_.DatabaseFile);
        ASSERT_FALSE(slips_.isEmpty());
    }

    void TearDown() override
    {
        if (dialogs_) {
            EXPECT_TRUE(dialogs_->Failures().isEmpty()) << dialogs_->Failures().join(u'\n').toStdString();
            EXPECT_EQ(dialogs_->Pending(), 0) << "expected dialogs that never came";
        }
        form_.reset();
        dialogs_.reset();
        manager_ = Variant();
    }

    // The texts of every page the next preview shows, page by page.
    std::shared_ptr<QList<QStringList>> ExpectPreview()
    {
        auto pages = std::make_shared<QList<QStringList>>();
        dialogs_->ExpectModal([pages](TForm* shown) {
            auto* preview = qobject_cast<TfrmVRPreview*>(shown);
            EXPECT_NE(preview, nullptr) << "the preview window shows";
            if (!preview)
                return mrCancel;
            preview->Report()->QRPrinter()->Complete();
            const std::shared_ptr<TQRPageModel> model = preview->Report()->Pages();
            for (int page = 1; page <= model->PageCount(); ++page) {
                QStringList texts;
                for (const auto& text : model->Texts(page))
                    texts << text.Text;
                pages->append(texts);
            }
            return mrOk;
        });
        return pages;
    }

    testsupport::TempFolder home_;
    std::unique_ptr<testsupport::ScopedEnv> registry_;
    TDemoSummary summary_;
    QList<Slip> slips_;
    Variant manager_;
    std::unique_ptr<ScriptedDialogService> dialogs_;
    std::unique_ptr<TfrmZtst53, FreeComponent> form_;
};

TEST_F(Ztst53WindowTest, ThePreviewOfAKeyShowsItsSlipWithTheChangeDateInTheUsersStyle)
{
    const Slip& slip = slips_.at(2);
    const auto pages = ExpectPreview();
    ASSERT_TRUE(form_->PrintKeys(
        Variant::ArrayOf({Variant(slip.Type), Variant(slip.Number), Variant(slip.Version)}), true));
    ASSERT_EQ(pages->size(), 1);
    const QStringList& texts = pages->at(0);
    EXPECT_TRUE(texts.contains(slip.Number)) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(slip.Factory)) << texts.join(u'|').toStdString();
    // The demo's date style is 1 with "/": yyyy/mm/dd.
    const QString shown
        = slip.ChangeDate.left(4) + u'/' + slip.ChangeDate.mid(4, 2) + u'/' + slip.ChangeDate.mid(6, 2);
    EXPECT_TRUE(texts.contains(shown)) << qPrintable(shown) << " in " << texts.join(u'|').toStdString();
}

TEST_F(Ztst53WindowTest, ThePreviewOfASlipTypeRangeShowsEachOfItsSlipsOnce)
{
    const QString type = slips_.at(0).Type;
    QStringList expected;
    for (const Slip& s : std::as_const(slips_))
        if (s.Type == type)
            expected << s.Number;
    form_->spTO001->edBegin->SetText(type);
    form_->spTO001->edFinal->SetText(type);
    const auto pages = ExpectPreview();
    ASSERT_TRUE(form_->PrintOrPreview(true));
    QStringList shown;
    for (const QStringList& page : *pages)
        for (const QString& text : page)
            for (const Slip& s : std::as_const(slips_))
                if (text == s.Number)
                    shown << text;
    // Numbers repeat across versions: every number of the type shows, and
    // one header per slip.
    int headers = 0;
    for (const QStringList& page : *pages)
        headers += page.count(QStringLiteral("Slip:"));
    EXPECT_EQ(headers, expected.size());
    shown.removeDuplicates();
    expected.removeDuplicates();
    std::sort(shown.begin(), shown.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(shown, expected);
}
