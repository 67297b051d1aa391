// The change slips printed end to end on a demo home: the options window,
// the real manager and in-process server, and the change-slip layout
// TfrmZorv52Fmt with its preview. With ZORV_SCREENSHOTS set to a folder the
// preview window and the first sheet are saved there as PNG files.

#include "ChangeSlipWindowFixture.h"

#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "support/QStringPrinter.h"
#include "zorv52/Zorv52F.h"
#include "zorv52/Zorv52FmtF.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPrinterInfo>
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
        folderAfter = QDir(home_.file(QStringLiteral("c_data/CHEN"))).entryList(QDir::Files, QDir::Name);
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
    const QString folder = home_.file(QStringLiteral("c_data/CHEN/"));
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
    EXPECT_TRUE(pdf.readAll().contains("/MediaBox [ 0 0 612 792]")) << "a Letter page of the picture's own size";
}
