// The change slips printed end to end on a demo home: the options window,
// the real manager and in-process server, and the change-slip layout
// TfrmZorv52Fmt with its preview. With ZORV_SCREENSHOTS set to a folder the
// preview window and the first sheet are saved there as PNG files.

#include "ChangeSlipWindowFixture.h"

#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "support/QStringPrinter.h"
#include "zorv52/Zorv52F.h"
#include "zorv52/Zorv52FmtF.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QWidget>

namespace {

QStringList sheetTexts(const TQRPageModel& pages, int page)
{
    QStringList texts;
    for (const auto& text : pages.Texts(page))
        texts << text.Text;
    return texts;
}

void saveScreenshots(TfrmVRPreview* preview, const QString& name)
{
    const QString folder = qEnvironmentVariable("ZORV_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QWidget* window = preview->Widget();
    window->resize(1280, 900);
    window->show();
    preview->QRPreview->SetZoom(100);
    window->grab().save(folder + u'/' + name + QStringLiteral("-window.png"));
    preview->Report()->QRPrinter()->SheetImage(1, 150).save(
        folder + u'/' + name + QStringLiteral("-sheet1.png"));
    window->hide();
}

} // namespace

class ChangeSlipPrintTest : public ChangeSlipWindowTest {
protected:
    void SetUp() override
    {
        DemoServerTest::SetUp();
        OpenWindow();
    }

    // Keys of the demo slip with the most lines.
    Variant BusiestSlip(int* lines = nullptr) const
    {
        const QStringList row = Column(QStringLiteral("SELECT TP001 || ',' || TP002 || ',' || TP003 || ',' "
                                                      "|| COUNT(*) FROM MOCTP GROUP BY TP001, TP002, TP003 "
                                                      "ORDER BY COUNT(*) DESC, TP001, TP002, TP003 LIMIT 1"))
                                    .value(0)
                                    .split(u',');
        if (lines)
            *lines = row.value(3).toInt();
        return Variant::ArrayOf({Variant(row.value(0)), Variant(row.value(1)), Variant(row.value(2))});
    }
};

TEST_F(ChangeSlipPrintTest, KeyPreviewShowsTheSlipWithItsLinesAndRemarks)
{
    int lines = 0;
    const Variant keys = BusiestSlip(&lines);
    ASSERT_GT(lines, 0);
    const QString number = keys[1].ToString();
    std::shared_ptr<TQRPageModel> pages;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* preview = qobject_cast<TfrmVRPreview*>(shown);
        EXPECT_NE(preview, nullptr) << "the preview window shows";
        if (!preview)
            return mrCancel;
        preview->Report()->QRPrinter()->Complete();
        pages = preview->Report()->Pages();
        preview->RefreshState();
        EXPECT_EQ(preview->edtPageNo->Text(), QStringLiteral("1"));
        saveScreenshots(preview, QStringLiteral("zorv52-preview"));
        return mrOk;
    });
    ASSERT_TRUE(form_->PrintKeys(keys, true));
    ASSERT_TRUE(pages);
    const int perPage = 10;
    EXPECT_EQ(pages->PageCount(), (lines + perPage - 1) / perPage);
    const QStringList first = sheetTexts(*pages, 1);
    EXPECT_TRUE(first.contains(keys[0].ToString() + u'-' + number + u'-' + keys[2].ToString()))
        << first.join(u'|').toStdString();
    // The title from the message table, with the slip type's name.
    EXPECT_TRUE(std::any_of(first.begin(), first.end(),
        [](const QString& t) { return t.startsWith(QStringLiteral("工单变更单")); }));
    EXPECT_TRUE(first.contains(QStringLiteral("0001")));
    // Every line carries its remark: replaced, added or removed.
    int remarks = 0;
    for (int page = 1; page <= pages->PageCount(); ++page)
        for (const QString& text : sheetTexts(*pages, page))
            remarks += text == QStringLiteral("替换") || text == QStringLiteral("新增")
                || text == QStringLiteral("删除");
    EXPECT_EQ(remarks, lines);
}

TEST_F(ChangeSlipPrintTest, TheSlipTitleNamesTheSlipTypeOfTheOptionsWindow)
{
    // The first page of a preview, whatever asked for it.
    const auto firstPage = [this]() {
        auto texts = std::make_shared<QStringList>();
        dialogs_->ExpectModal([texts](TForm* shown) {
            auto* preview = qobject_cast<TfrmVRPreview*>(shown);
            EXPECT_NE(preview, nullptr);
            if (preview) {
                preview->Report()->QRPrinter()->Complete();
                *texts = sheetTexts(*preview->Report()->Pages(), 1);
            }
            return mrOk;
        });
        return texts;
    };
    // From the criteria: the slip type entered.
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    ASSERT_EQ(form_->lblTO001->Caption(), QStringLiteral("厂内工单变更单"));
    auto texts = firstPage();
    ASSERT_TRUE(form_->PrintOrPreview(true));
    EXPECT_TRUE(texts->contains(QStringLiteral("工单变更单(厂内工单变更单)")))
        << texts->join(u'|').toStdString();

    // From the shell's keys: the slip type of the keys, not the one entered.
    const QString number = Column(QStringLiteral("SELECT TO002 || ',' || TO003 FROM MOCTO WHERE TO001='A512' "
                                                 "ORDER BY TO002 LIMIT 1"))
                               .value(0);
    ASSERT_FALSE(number.isEmpty());
    texts = firstPage();
    ASSERT_TRUE(form_->PrintKeys(Variant::ArrayOf({Variant("A512"), Variant(number.section(u',', 0, 0)),
                                     Variant(number.section(u',', 1))}),
        true));
    EXPECT_TRUE(texts->contains(QStringLiteral("工单变更单(重工工单变更单)")))
        << texts->join(u'|').toStdString();
    EXPECT_FALSE(texts->contains(QStringLiteral("工单变更单(厂内工单变更单)")));
}

TEST_F(ChangeSlipPrintTest, WithoutPricesNoPriceOrAmountOfTheSlipPrints)
{
    const Variant keys = BusiestSlip();
    // The slip's header as it prints, and the price and amount texts of its data.
    const auto run = [&](QStringList& texts, QStringList& prices) {
        ExpectPreview([&](TfrmVRBaseFmt* format, TfrmVRPreview* preview) {
            texts = sheetTexts(*preview->Report()->Pages(), 1);
            format->ClientDataSet1->First();
            for (const char* field : {"TO024", "TO124", "TO025", "TO125"})
                prices << format->ClientDataSet1->FieldByName(QString::fromLatin1(field))->AsString();
            return mrOk;
        });
        ASSERT_TRUE(form_->PrintKeys(keys, true));
    };
    QStringList with, prices;
    ASSERT_TRUE(form_->ChkPricePower->Checked()) << "CHEN holds the price right";
    run(with, prices);
    ASSERT_EQ(prices.size(), 4);
    for (const QString& price : prices) {
        ASSERT_FALSE(price.isEmpty());
        EXPECT_TRUE(with.contains(price)) << price.toStdString() << " prints with prices on";
    }

    form_->ChkPricePower->SetChecked(false);
    QStringList without, same;
    run(without, same);
    EXPECT_EQ(same, prices) << "the data are the same; only the print leaves them out";
    for (const QString& price : prices)
        EXPECT_FALSE(without.contains(price))
            << price.toStdString() << " | " << without.join(u'|').toStdString();
    const QString slip = keys[0].ToString() + u'-' + keys[1].ToString() + u'-' + keys[2].ToString();
    EXPECT_TRUE(without.contains(slip)) << "the rest of the slip prints";
    // The captions of the fields stay; their values are gone.
    EXPECT_TRUE(without.contains(QStringLiteral("金额")));
}

TEST_F(ChangeSlipPrintTest, KeysThatMatchNoSlipSayNoDataAndShowNothing)
{
    dialogs_->ExpectMessage(mrOk, QStringLiteral("没有符合条件的资料"));
    EXPECT_FALSE(
        form_->PrintKeys(Variant::ArrayOf({Variant("A511"), Variant("NOSUCHSLIP"), Variant("0001")}), true));
}

TEST_F(ChangeSlipPrintTest, PrintingFromThePreviewWritesEverySheetToThePrinter)
{
    const Variant keys = BusiestSlip();
    const QString pdf = home_.file(QStringLiteral("slip.pdf"));
    int sheets = 0;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* format = qobject_cast<TfrmVRBaseFmt*>(shown->Owner());
        EXPECT_NE(format, nullptr);
        if (!format)
            return mrCancel;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(format->PrintTo(printer));
        sheets = format->QuickRep1->QRPrinter()->PageCount();
        const QString folder = qEnvironmentVariable("ZORV_SCREENSHOTS");
        if (!folder.isEmpty())
            QFile::copy(pdf, folder + QStringLiteral("/zorv52-print.pdf"));
        return mrOk;
    });
    ASSERT_TRUE(form_->PrintKeys(keys, true));
    ASSERT_GT(sheets, 0);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // One page object per sheet ("/Type /Page", not the "/Type /Pages" tree).
    EXPECT_EQ(
        QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), sheets);
}

TEST_F(ChangeSlipPrintTest, TheReportIsTitledWithTheProgramNotWithTheWindowsDecoratedCaption)
{
    // Shown, the window's caption carries the "[suffix]" of the system; the
    // report, its preview, print job, PDF and mail subject must not.
    form_->Show();
    QApplication::processEvents();
    ASSERT_TRUE(form_->Caption().endsWith(u']')) << qPrintable(form_->Caption());
    QString title, caption;
    dialogs_->ExpectModal([&](TForm* shown) {
        if (auto* format = qobject_cast<TfrmVRBaseFmt*>(shown->Owner()))
            title = format->DisplayTitle();
        caption = shown->Caption();
        return mrOk;
    });
    ASSERT_TRUE(form_->PrintKeys(BusiestSlip(), true));
    EXPECT_TRUE(title.endsWith(QStringLiteral(" - 工单变更单打印"))) << qPrintable(title);
    EXPECT_FALSE(caption.contains(u'[')) << qPrintable(caption);
    form_->Hide();
}

TEST_F(ChangeSlipPrintTest, PrintingWithoutAnyPrinterSaysSoInsteadOfPrintingNothing)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    const Variant keys = BusiestSlip();
    const QString count
        = QStringLiteral("SELECT TO042 FROM MOCTO WHERE TO001='%1' AND TO002='%2' AND TO003='%3'")
              .arg(keys[0].ToString(), keys[1].ToString(), keys[2].ToString());
    const qint64 before = Count(count);
    dialogs_->ExpectMessage(mrOk, QStringLiteral("没有可用的打印机"));
    EXPECT_FALSE(form_->PrintKeys(keys, false));
    EXPECT_EQ(dialogs_->Asked().last().Code, QStringLiteral("E;000040"));
    EXPECT_EQ(Count(count), before) << "a print that went nowhere counts nothing";
}

TEST_F(ChangeSlipPrintTest, ThePreviewExportsTheShownPageInEveryKindAndTheWholeReportAsVectorPdf)
{
    const Variant keys = BusiestSlip();
    QStringList folderAfter;
    QImage shown;
    dialogs_->ExpectModal([&](TForm* form) {
        auto* preview = qobject_cast<TfrmVRPreview*>(form);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return mrCancel;
        preview->Report()->QRPrinter()->Complete();
        EXPECT_GE(preview->Report()->QRPrinter()->PageCount(), 2);
        preview->QRPreview->SetPageNumber(2);
        preview->RefreshState();
        shown = preview->Report()->QRPrinter()->ReportPageImage(2, 96);
        preview->pmBMPClick(preview->pmBMP);
        preview->pmJPGClick(preview->pmJPG);
        preview->pmGIFClick(preview->pmGIF);
        preview->pmPDFClick(preview->pmPDF);
        preview->pmVectorPDFClick(preview->pmVectorPDF);
        folderAfter = QDir(home_.file(QStringLiteral("C_DATA/CHEN"))).entryList(QDir::Files, QDir::Name);
        return mrOk;
    });
    // After each export the user is asked whether to open what was written.
    for (int i = 0; i < 5; ++i)
        dialogs_->ExpectMessage(mrNo, QStringLiteral("转出文件为："));
    ASSERT_TRUE(form_->PrintKeys(keys, true));

    // The shown page 2 in each kind, and the report as one PDF, under the
    // program code and the time (yyyyMMddhhmmss) in the user's folder.
    ASSERT_EQ(folderAfter.size(), 5) << folderAfter.join(u' ').toStdString();
    const QRegularExpression name(QStringLiteral("^ZORV52_\\d{14}(002\\.(bmp|gif|jpg|pdf)|\\.pdf)$"));
    for (const QString& file : folderAfter)
        EXPECT_TRUE(name.match(file).hasMatch()) << file.toStdString();
    const QString folder = home_.file(QStringLiteral("C_DATA/CHEN/"));
    const auto named = [&](const QString& tail) {
        for (const QString& file : folderAfter)
            if (file.endsWith(tail))
                return folder + file;
        return QString();
    };
    const QImage bmp(named(QStringLiteral("002.bmp")));
    ASSERT_EQ(bmp.size(), shown.size());
    // The BMP is the page the preview shows, pixel for pixel.
    qint64 differing = 0;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            differing += (bmp.pixel(x, y) & 0xffffff) != (shown.pixel(x, y) & 0xffffff);
    EXPECT_LT(differing, qint64(bmp.width()) * bmp.height() / 100);
    EXPECT_EQ(QImage(named(QStringLiteral("002.gif"))).size(), shown.size());
    EXPECT_EQ(QImage(named(QStringLiteral("002.jpg"))).size(), shown.size());
    QFile pdf(named(QStringLiteral("002.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().contains("/MediaBox [ 0 0 612 792]"))
        << "a Letter page of the picture's own size";
}

namespace {

// The slip keys ("A511-20240102001-0001") printed on sheets from..to.
QStringList slipsOnSheets(const TQRPageModel& pages, int from, int to)
{
    static const QRegularExpression key(QStringLiteral("^A511-\\d+-\\d{4}$"));
    QStringList slips;
    const int first = pages.HalfPage() ? 2 * from - 1 : from;
    const int last = std::min(pages.HalfPage() ? 2 * to : to, pages.PageCount());
    for (int page = first; page <= last; ++page)
        for (const QString& text : sheetTexts(pages, page))
            if (key.match(text).hasMatch() && !slips.contains(text))
                slips << text;
    return slips;
}

} // namespace

class ChangeSlipCountTest : public ChangeSlipPrintTest {
protected:
    // The print count (TO042) of every A511 slip by its key.
    QMap<QString, int> PrintCounts() const
    {
        QMap<QString, int> counts;
        for (const QString& row :
            Column(QStringLiteral("SELECT TO001 || '-' || TO002 || '-' || TO003 || '|' || TO042 FROM MOCTO "
                                  "WHERE TO001 = 'A511'")))
            counts.insert(row.section(u'|', 0, 0), row.section(u'|', 1).toInt());
        return counts;
    }

    // The slips whose count rose from before, by how much.
    QMap<QString, int> Risen(const QMap<QString, int>& before) const
    {
        QMap<QString, int> risen;
        const QMap<QString, int> now = PrintCounts();
        for (auto it = now.begin(); it != now.end(); ++it)
            if (it.value() != before.value(it.key()))
                risen.insert(it.key(), it.value() - before.value(it.key()));
        return risen;
    }

    static QMap<QString, int> once(const QStringList& slips)
    {
        QMap<QString, int> counts;
        for (const QString& slip : slips)
            counts.insert(slip, 1);
        return counts;
    }

    static int pdfPageObjects(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return -1;
        return static_cast<int>(QString::fromLatin1(file.readAll())
                                    .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
    }

    TPrintSettings::Destination pdf = TPrintSettings::Destination::PdfFile;
};

TEST_F(ChangeSlipCountTest, ThePreviewsPrintCountsExactlyTheSlipsOnThePrintedSheets)
{
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    const QMap<QString, int> before = PrintCounts();
    const QString range = home_.file(QStringLiteral("range.pdf"));
    const QString all = home_.file(QStringLiteral("all.pdf"));
    QStringList onRange, onAll;
    QMap<QString, int> afterPreview, afterCancel, afterRange;
    int sheets = 0;
    bool makingPages = false;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* preview = qobject_cast<TfrmVRPreview*>(shown);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return mrCancel;
        // 打印 while the later pages are still being made: the print makes them first.
        makingPages = preview->Report()->QRPrinter()->Generating();
        preview->btnPrintClick(preview->btnPrint);
        sheets = preview->Report()->QRPrinter()->PageCount();
        const auto pages = preview->Report()->Pages();
        afterPreview = Risen(before);
        onRange = slipsOnSheets(*pages, 2, 3);
        onAll = slipsOnSheets(*pages, 1, sheets);
        preview->btnPrintClick(preview->btnPrint); // the dialog cancelled
        afterCancel = Risen(before);
        preview->btnPrintClick(preview->btnPrint); // sheets 2 to 3
        afterRange = Risen(before);
        // Ctrl+P is the print button: every sheet this time.
        Word key = 'P';
        preview->FormKeyDown(preview, key, Vcl::TShiftState(ssCtrl));
        return mrOk;
    });
    // The first print: the user cancels the dialog, which was offered every sheet.
    TPrintSettings offered;
    dialogs_->ExpectPrint([&](TPrintSettings& s) {
        offered = s;
        s.Output = pdf;
        s.OutputFile = all;
    });
    dialogs_->ExpectPrint(nullptr);
    dialogs_->ExpectPrint([&](TPrintSettings& s) {
        s.Output = pdf;
        s.OutputFile = range;
        s.FromPage = 2;
        s.ToPage = 3;
    });
    dialogs_->ExpectPrint([&](TPrintSettings& s) {
        s.Output = pdf;
        s.OutputFile = all;
    });
    ASSERT_TRUE(form_->PrintOrPreview(true));

    ASSERT_GE(sheets, 4) << "the demo's approved A511 slips fill several sheets";
    EXPECT_TRUE(makingPages) << "the first print came while the preview was still making pages";
    EXPECT_EQ(offered.PageCount, sheets) << "the dialog knew every sheet, made before it opened";
    EXPECT_EQ(afterPreview, once(onAll)) << "the first print counted every slip once";
    EXPECT_EQ(afterCancel, afterPreview) << "a cancelled dialog counts nothing";
    ASSERT_FALSE(onRange.isEmpty());
    QMap<QString, int> rangeTwice = afterPreview;
    for (const QString& slip : onRange)
        rangeTwice[slip] += 1;
    EXPECT_EQ(afterRange, rangeTwice) << "sheets 2-3 count their slips, and only those";
    EXPECT_LT(onRange.size(), onAll.size());
    EXPECT_EQ(pdfPageObjects(range), 2);
    EXPECT_EQ(pdfPageObjects(all), sheets) << "Ctrl+P printed every sheet again";
    QMap<QString, int> thrice = rangeTwice;
    for (const QString& slip : onAll)
        thrice[slip] += 1;
    EXPECT_EQ(Risen(before), thrice);
}

TEST_F(ChangeSlipCountTest, APageSetOfSeveralRangesCountsTheSlipsOnItsSheetsOnce)
{
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);
    const QMap<QString, int> before = PrintCounts();
    const QString printed = home_.file(QStringLiteral("page-set.pdf"));
    // The page set leaves out one sheet (gap) that holds a slip of its own.
    QStringList onSet, onGapOnly;
    int sheets = 0;
    int gap = 0;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* preview = qobject_cast<TfrmVRPreview*>(shown);
        EXPECT_NE(preview, nullptr);
        if (!preview)
            return mrCancel;
        preview->Report()->QRPrinter()->Complete();
        sheets = preview->Report()->QRPrinter()->PageCount();
        const auto pages = preview->Report()->Pages();
        for (gap = 2; gap < sheets; ++gap) {
            onSet = slipsOnSheets(*pages, 1, gap - 1);
            for (const QString& slip : slipsOnSheets(*pages, gap + 1, sheets))
                if (!onSet.contains(slip))
                    onSet << slip;
            onGapOnly.clear();
            for (const QString& slip : slipsOnSheets(*pages, gap, gap))
                if (!onSet.contains(slip))
                    onGapOnly << slip;
            if (!onGapOnly.isEmpty())
                break;
        }
        preview->btnPrintClick(preview->btnPrint);
        return mrOk;
    });
    dialogs_->ExpectPrint([&](TPrintSettings& s) {
        s.Output = pdf;
        s.OutputFile = printed;
        s.PageRanges
            = QPageRanges::fromString(QStringLiteral("1-%1,%2-%3").arg(gap - 1).arg(gap + 1).arg(sheets));
    });
    ASSERT_TRUE(form_->PrintOrPreview(true));
    ASSERT_GE(sheets, 4);
    ASSERT_FALSE(onGapOnly.isEmpty()) << "the demo has a sheet with a slip of its own";
    EXPECT_EQ(pdfPageObjects(printed), sheets - 1) << "every sheet but sheet " << gap;
    EXPECT_EQ(Risen(before), once(onSet)) << "the slips of the other sheets, each once";
}

TEST_F(ChangeSlipCountTest, APrintThatFailsSaysWhyAndCountsNothing)
{
    const Variant keys = BusiestSlip();
    const QMap<QString, int> before = PrintCounts();
    const QString nowhere = home_.file(QStringLiteral("no/such/folder/slip.pdf"));
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* preview = qobject_cast<TfrmVRPreview*>(shown);
        if (preview)
            preview->btnPrintClick(preview->btnPrint);
        return mrOk;
    });
    dialogs_->ExpectPrint([&](TPrintSettings& s) {
        s.Output = pdf;
        s.OutputFile = nowhere;
    });
    dialogs_->ExpectMessage(mrOk, QStringLiteral("打印失败"));
    ASSERT_TRUE(form_->PrintKeys(keys, true));
    const DialogRequest& told = dialogs_->Asked().last();
    EXPECT_EQ(told.Code, QStringLiteral("E;000041"));
    EXPECT_EQ(told.Type, mtError);
    EXPECT_TRUE(told.Text.contains(nowhere)) << told.Text.toStdString();
    EXPECT_TRUE(Risen(before).isEmpty());
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST_F(ChangeSlipCountTest, PrintToFileChosenInThePrinterSetupIsWhereThePrintGoes)
{
    const Variant keys = BusiestSlip();
    const QString key
        = QStringLiteral("%1-%2-%3").arg(keys[0].ToString(), keys[1].ToString(), keys[2].ToString());
    const QString file = home_.file(QStringLiteral("setup.pdf"));
    dialogs_->ExpectPrint(DialogKind::PrinterSetup, [&](TPrintSettings& s) {
        s.Output = pdf;
        s.OutputFile = file;
        s.Paper = QPageSize(QPageSize::A4);
    });
    form_->btnPrintSetupClick(form_->btnPrintSetup);
    EXPECT_EQ(form_->PrinterIndex, -1);
    EXPECT_TRUE(form_->PrintSettings.ToFile());

    const QMap<QString, int> before = PrintCounts();
    ASSERT_TRUE(form_->PrintKeys(keys, false)) << "printed without a printer on the machine";
    EXPECT_GT(pdfPageObjects(file), 0);
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {file});
    ASSERT_TRUE(info.waitForFinished(20000));
    EXPECT_TRUE(info.readAllStandardOutput().contains("(A4)")) << "on the A4 paper chosen there";
    EXPECT_EQ(Risen(before), once({key}));
    // The next run goes there too.
    EXPECT_TRUE(form_->PrintSettings.ToFile());
    EXPECT_EQ(form_->PrintSettings.OutputFile, file);
}
