// The change-slip options window against a steward-appserver --serve process
// on 127.0.0.2, as a user drives it: criteria, preview, print, export,
// schemes, stored formats; and the daemon dying under a running report.
// On PostgreSQL (a schema of its own) when ZORV_TEST_POSTGRES is set, on
// the SQLite demo otherwise. Checks read the database directly, not through
// the server under test.

#include "ChangeSlipWindowFixture.h"
#include "runtime/data/ClientLogin.h"

#include "criteria/GeneCondition.h"
#include "criteria/SelectPnl.h"
#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/RemoteTransport.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "suite/appserver/DaemonProcess.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/PgTestSupport.h"
#include "support/QStringPrinter.h"
#include "zorv52/Zorv52FmtF.h"

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <optional>

namespace {

constexpr int LinesPerPage = 10; // the detail band's room on the built-in layout

QStringList pageTexts(const TQRPageModel& pages)
{
    QStringList texts;
    for (int page = 1; page <= pages.PageCount(); ++page)
        for (const auto& text : pages.Texts(page))
            texts << text.Text;
    return texts;
}

// The slip keys ("type-number-version") of a data set's rows, in order.
QStringList slipKeysOf(TDataSet* rows)
{
    QStringList keys;
    for (rows->First(); !rows->Eof(); rows->Next())
        keys << rows->FieldByName(QStringLiteral("TO001T"))->AsString();
    return keys;
}

int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    // Page objects ("/Type /Page"), not the "/Type /Pages" tree.
    return static_cast<int>(
        QString::fromLatin1(file.readAll()).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

} // namespace

class ChangeSlipDaemonTest : public ChangeSlipWindowTest {
protected:
    void SetUp() override
    {
        DemoServerTest::SetUp();
        if (!PgTestConnection().isEmpty()) {
            schema_.emplace();
            summary_ = CreateDemoHome(home_.path(), schema_->DemoOptions(240));
            database_ = schema_->CompanyCode();
        }
        daemon_.Configure();
        // One row a batch: every report comes in as many batches as rows, and
        // as each batch repeats the field list, the 763 rows of A511 take
        // 4.9 MB, more than loopback buffers hold (about 4 MB): a daemon
        // killed after its first batch cannot have sent them all.
        daemon_.SetKey(QStringLiteral("BatchRows"), QStringLiteral("1"));
        // A client that waits for a dead daemon fails within seconds, not minutes.
        daemon_.SetClientKey(QStringLiteral("TimeoutSeconds"), QStringLiteral("20"));
        daemon_.Start();
        if (HasFatalFailure())
            return;
        // As the shell does once the user typed the password: the window's
        // connections present it at Connect.
        clientlogin::Set(QStringLiteral("CHEN"), DemoPassword(QStringLiteral("CHEN")));
        OpenWindow(true, database_);
    }

    void TearDown() override
    {
        SetFetchObserver({});
        ChangeSlipWindowTest::TearDown();
        daemon_.Kill();
    }

    // The first column of a statement, read from the demo database itself.
    QStringList Direct(const QString& sql) const
    {
        auto db = OpenBackend(
            schema_ ? QStringLiteral("POSTGRESQL") : QStringLiteral("SQLITE"), summary_.DatabaseFile);
        QStringList out;
        for (auto rows = db->Query(sql); rows->Next();)
            out << rows->Text(0);
        return out;
    }

    // The slip keys and line counts of the approved, unprinted slips of a
    // type (what the window's default criteria select), in slip order.
    QList<QPair<QString, int>> SlipsOfType(const QString& type) const
    {
        QList<QPair<QString, int>> slips;
        for (const QString& row : Direct(QStringLiteral(
                 "SELECT TO001 || '-' || TO002 || '-' || TO003 || '|' || COUNT(TP003) FROM MOCTO "
                 "LEFT JOIN MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003 "
                 "WHERE TO001='%1' AND TO041='Y' AND TO042=0 GROUP BY TO001, TO002, TO003 "
                 "ORDER BY TO001, TO002, TO003")
                                             .arg(type))) {
            const QStringList parts = row.split(u'|');
            slips.append({parts.value(0), parts.value(1).toInt()});
        }
        return slips;
    }

    // Runs a preview of the window's criteria; handler gets the format form
    // and its preview, and makes exports there (after each the user is asked
    // whether to open the file: no). Answers what the window answered.
    bool Preview(const std::function<void(TfrmVRBaseFmt*, TfrmVRPreview*)>& handler, int exports = 0)
    {
        ExpectPreview([&](TfrmVRBaseFmt* format, TfrmVRPreview* preview) {
            handler(format, preview);
            return mrOk;
        });
        for (int i = 0; i < exports; ++i)
            dialogs_->ExpectMessage(mrNo, QStringLiteral("转出文件为："));
        return form_->PrintOrPreview(true);
    }

    // E;000025 as the user reads it, naming the daemon.
    QString CannotGetData() const
    {
        return QStringLiteral("无法取得数据! 服务器: %1 端口: %2")
            .arg(QLatin1String(TDaemonProcess::Address))
            .arg(daemon_.Port());
    }

    // Connections the daemon saw logged in as user.
    int LoginsOf(const QString& user) const
    {
        return static_cast<int>(daemon_.Log().count(
            QRegularExpression(QStringLiteral(" #\\d+ [0-9.]+:\\d+ %1 logged in$").arg(user),
                QRegularExpression::MultilineOption)));
    }

    std::optional<TPgTestSchema> schema_;
    QString database_ = QStringLiteral("DEMO");
    TDaemonProcess daemon_ {home_.path()};
};

TEST_F(ChangeSlipDaemonTest, CriteriaPreviewPrintAndExportGoThroughTheDaemon)
{
    const auto slips = SlipsOfType(QStringLiteral("A511"));
    ASSERT_GE(slips.size(), 2) << "the demo has approved unprinted A511 slips";
    QStringList wantRows;
    int wantPages = 0;
    for (const auto& [key, lines] : slips) {
        // A slip without lines is one row (the header alone) on one page.
        for (int i = 0; i < qMax(lines, 1); ++i)
            wantRows << key;
        wantPages += qMax(1, (lines + LinesPerPage - 1) / LinesPerPage);
    }
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    EXPECT_FALSE(form_->lblTO001->Caption().isEmpty()) << "the slip type's name came from the daemon";

    const QString pdf = home_.file(QStringLiteral("print.pdf"));
    const QString userFolder = home_.file(QStringLiteral("C_DATA/CHEN"));
    QStringList rows, texts, exported;
    int pages = 0, printed = 0;
    const bool shown = Preview(
        [&](TfrmVRBaseFmt* format, TfrmVRPreview* preview) {
            rows = slipKeysOf(format->ClientDataSet1);
            pages = preview->Report()->Pages()->PageCount();
            texts = pageTexts(*preview->Report()->Pages());
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            EXPECT_TRUE(format->PrintTo(printer));
            printed = pdfPages(pdf);
            preview->QRPreview->SetPageNumber(2);
            preview->RefreshState();
            preview->pmBMPClick(preview->pmBMP);
            preview->pmJPGClick(preview->pmJPG);
            preview->pmVectorPDFClick(preview->pmVectorPDF);
            exported = QDir(userFolder).entryList(QDir::Files, QDir::Name);
        },
        3);
    ASSERT_TRUE(shown);
    // The rows are the database's, slip for slip and line for line.
    EXPECT_EQ(rows, wantRows);
    EXPECT_EQ(pages, wantPages);
    for (const auto& slip : slips)
        EXPECT_TRUE(texts.contains(slip.first)) << qPrintable(slip.first);
    EXPECT_EQ(printed, pages) << "one PDF page per sheet";

    ASSERT_EQ(exported.size(), 3) << exported.join(u' ').toStdString();
    const auto named = [&](const QString& tail) {
        for (const QString& file : exported)
            if (file.endsWith(tail))
                return userFolder + u'/' + file;
        return QString();
    };
    const QImage bmp(named(QStringLiteral("002.bmp")));
    EXPECT_FALSE(bmp.isNull());
    EXPECT_EQ(QImage(named(QStringLiteral("002.jpg"))).size(), bmp.size());
    const QString vector = named(QStringLiteral(".pdf"));
    EXPECT_EQ(pdfPages(vector), pages) << "the vector PDF holds the whole report";

    // The daemon served the manager's catalogue link and the window, which logged in.
    const QString log = daemon_.Log();
    EXPECT_EQ(log.count(QStringLiteral(" connected\n")), 2) << qPrintable(log);
    EXPECT_EQ(LoginsOf(QStringLiteral("CHEN")), 1) << qPrintable(log);
}

TEST_F(ChangeSlipDaemonTest, ASavedSchemeIsFoundFromAnotherConnection)
{
    const QString name = QStringLiteral("A511 上半年");
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    form_->spTO002->edBegin->SetText(QStringLiteral("20240101001"));
    form_->spTO002->edFinal->SetText(QStringLiteral("20240630999"));
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* dialog = qobject_cast<TfrmGeneCondition*>(shown);
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return int(mrCancel);
        dialog->edConName->SetText(name);
        dialog->btnOkClick(dialog->btnOk);
        return dialog->ModalResult();
    });
    form_->btnInsert->Click();
    EXPECT_EQ(
        Direct(QStringLiteral("SELECT NCONDITION FROM GENES WHERE CREATOR='CHEN' AND PROGRAMME='ZORV52'")),
        QStringList {name});

    // A second window: a connection of its own to the daemon.
    std::unique_ptr<TfrmZorv52, FreeComponent> other(CreateForm<TfrmZorv52>());
    other->SetHostObject(manager_);
    other->SetModulePath(QStringLiteral("/opt/steward/libZORV52C.so"));
    ASSERT_TRUE(other->ApplyParams(
        Variant::ArrayOf({Variant("CHEN"), Variant("HV01"), Variant(database_), Variant(0), Variant("FEP")})))
        << other->ErrorCodes().toStdString();
    EXPECT_FALSE(other->MainMidas()->InProcess());
    other->Show(); // the list is read as the window shows
    ASSERT_EQ(other->lstCondition->Items()->Count(), 1);
    TListItem* item = other->lstCondition->Items()->Items(0);
    EXPECT_EQ(item->Caption(), name);
    item->SetSelected(true);
    other->btnOpenClick(other->btnOpen);
    EXPECT_EQ(other->edTO001->Text(), QStringLiteral("A511"));
    EXPECT_EQ(other->spTO002->edBegin->Text(), QStringLiteral("20240101001"));
    EXPECT_EQ(other->spTO002->edFinal->Text(), QStringLiteral("20240630999"));
    other->Hide();
    EXPECT_EQ(LoginsOf(QStringLiteral("CHEN")), 2) << qPrintable(daemon_.Log());
}

TEST_F(ChangeSlipDaemonTest, TheDaemonDyingWhileTheRowsComeInIsReportedAndTheSameWindowRunsAgainOnceItIsBack)
{
    // Every slip of a type, of every status: the rows come in many batches.
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    form_->cboTO041->SetItemIndex(3);
    form_->cboTO042->SetItemIndex(2);
    const QStringList all = Direct(QStringLiteral(
        "SELECT TO001 || '-' || TO002 || '-' || TO003 FROM MOCTO LEFT JOIN MOCTP ON TP001=TO001 AND "
        "TP002=TO002 AND TP003=TO003 WHERE TO001='A511' ORDER BY TO001, TO002, TO003, TP004"));
    qint64 rowsAtKill = 0;
    SetFetchObserver([&](qint64 rows, qint64) {
        if (rowsAtKill == 0) {
            rowsAtKill = rows;
            daemon_.Kill();
        }
    });
    const int port = daemon_.Port();
    dialogs_->ExpectMessage(mrOk, CannotGetData());
    EXPECT_FALSE(form_->PrintOrPreview(true));
    EXPECT_GT(rowsAtKill, 0);
    EXPECT_LT(rowsAtKill, all.size());

    // Back on the same port: the same window runs the same report, its
    // link connecting afresh and logging in again.
    qint64 bytes = 0;
    SetFetchObserver([&](qint64, qint64 total) { bytes = total; });
    daemon_.Start();
    ASSERT_EQ(daemon_.Port(), port);
    QStringList rows;
    EXPECT_TRUE(
        Preview([&](TfrmVRBaseFmt* format, TfrmVRPreview*) { rows = slipKeysOf(format->ClientDataSet1); }));
    EXPECT_EQ(rows, all);
    EXPECT_GT(bytes, qint64(4.5 * 1024 * 1024)) << "the answer outgrew what loopback buffers hold";
    const QString log = daemon_.Log();
    EXPECT_EQ(log.count(QStringLiteral("listening on ")), 2) << qPrintable(log);
    EXPECT_EQ(LoginsOf(QStringLiteral("CHEN")), 2) << qPrintable(log);
}

TEST_F(ChangeSlipDaemonTest, ADaemonGoneWhileTheWindowWaitsIsReportedEachTimeUntilItIsBack)
{
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    daemon_.Kill();
    // A preview first: the link finds the daemon gone. Then a print: it
    // cannot reach it. Each time the user hears where it was sought.
    for (const bool preview : {true, false}) {
        dialogs_->ExpectMessage(mrOk, CannotGetData());
        EXPECT_FALSE(form_->PrintOrPreview(preview)) << preview;
    }
    daemon_.Start();
    QStringList rows;
    EXPECT_TRUE(
        Preview([&](TfrmVRBaseFmt* format, TfrmVRPreview*) { rows = slipKeysOf(format->ClientDataSet1); }));
    int lines = 0;
    for (const auto& slip : SlipsOfType(QStringLiteral("A511")))
        lines += qMax(slip.second, 1);
    EXPECT_EQ(rows.size(), lines);
}

TEST_F(ChangeSlipDaemonTest, AFormatStoredThroughTheDaemonIsPrintedWithAndDeleted)
{
    const QString name = QStringLiteral("远程格式");
    const auto titleBox = [&] {
        QRect box;
        EXPECT_TRUE(Preview([&](TfrmVRBaseFmt*, TfrmVRPreview* preview) {
            for (const auto& text : preview->Report()->Pages()->Texts(1))
                if (text.Text.startsWith(QStringLiteral("工单变更单")))
                    box = text.Box;
        }));
        return box;
    };
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    const QRect builtIn = titleBox();
    ASSERT_FALSE(builtIn.isEmpty());

    // Design: the title 40 pixels to the right; saved under a new name.
    form_->btnDesignClick(form_->btnDesign);
    auto* design = dynamic_cast<TfrmZorv52Fmt*>(form_->DesignForm());
    ASSERT_NE(design, nullptr);
    design->lblVoucherName->SetLeft(design->lblVoucherName->Left() + 40);
    dialogs_->ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
    dialogs_->ExpectInput(true, name);
    QTest::keyClick(design->DreamDesigner1->Surface(), Qt::Key_F12, Qt::ControlModifier);
    for (int i = 0; i < 5 && form_->DesignForm(); ++i)
        QCoreApplication::processEvents();
    ASSERT_EQ(form_->DesignForm(), nullptr);
    const QString stored
        = QStringLiteral("SELECT COUNT(*) FROM WARRANT WHERE NT001='TfrmZorv52Fmt' AND NT002='%1'").arg(name);
    EXPECT_EQ(Direct(stored), QStringList {QStringLiteral("1")});
    EXPECT_EQ(form_->cboFormStyleName->Text(), name);

    // Loaded back for a preview: the title moved, nothing else of it.
    const QRect moved = titleBox();
    EXPECT_GT(moved.left(), builtIn.left());
    EXPECT_EQ(moved.top(), builtIn.top());
    EXPECT_EQ(moved.size(), builtIn.size());

    dialogs_->ExpectMessage(mrYes, QStringLiteral("确认删除"));
    dialogs_->ExpectMessage(mrOk, QStringLiteral("删除成功"));
    form_->btnDelFormStypeClick(form_->btnDelFormStype);
    EXPECT_EQ(Direct(stored), QStringList {QStringLiteral("0")});
    EXPECT_LT(form_->cboFormStyleName->Items()->IndexOf(name), 0);
}
