// The preview window over a slip layout's pages: the zoom box, paging,
// the keys, the send buttons, and the export of the shown page (a half-page
// sheet writes both of its report pages).

#include "SlipFormFixture.h"

#include "format/VRPreviewF.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/system/NativePath.h"
#include "suite/mail/OutlookApplication.h"
#include "suite/mail/SmtpServerFixture.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A preview over a slip of lines at three a page, prepared as showing does.
struct PreviewOf {
    // complete: every page is made before the window opens (else only the first).
    explicit PreviewOf(int lines, bool halfPage = false, bool complete = true)
    {
        if (halfPage)
            slip.Form()->QuickRep1->SetPageStyle(psHalfPage);
        slip.AddSlip(QStringLiteral("0001"), lines);
        slip.Form()->ClientHome = home.path();
        slip.Form()->SetContext(context());
        EXPECT_TRUE(slip.Form()->QuickRep1->QRPrinter()->GenerateAhead());
        if (complete)
            slip.Form()->QuickRep1->QRPrinter()->Complete();
        preview.reset(new TfrmVRPreview(slip.Form()));
        preview->Prepare();
    }
    static TFormatContext context()
    {
        TFormatContext c;
        c.ProgramCode = QStringLiteral("ZORV52");
        c.UserCode = QStringLiteral("CHEN");
        c.DateType = 1;
        c.DateSeparator = QStringLiteral("/");
        return c;
    }
    testsupport::TempFolder home;
    SlipForm slip {3};
    std::unique_ptr<TfrmVRPreview, FreeComponent> preview;
};

void typeZoom(TfrmVRPreview* preview, const QString& text)
{
    preview->cboZoom->SetText(text);
    preview->cboZoomExit(preview->cboZoom);
}

} // namespace

TEST(PreviewWindowTest, TypedZoomIsClampedToTheListAndNonNumbersGiveAHundred)
{
    PreviewOf p(4);
    typeZoom(p.preview.get(), QStringLiteral("500"));
    EXPECT_EQ(p.preview->QRPreview->Zoom(), 200);
    typeZoom(p.preview.get(), QStringLiteral("5"));
    EXPECT_EQ(p.preview->QRPreview->Zoom(), 20);
    EXPECT_EQ(p.preview->cboZoom->ItemIndex(), 5) << "the list's item of the zoom is selected";
    typeZoom(p.preview.get(), QStringLiteral("abc"));
    EXPECT_EQ(p.preview->QRPreview->Zoom(), 100);
    typeZoom(p.preview.get(), QStringLiteral("80"));
    EXPECT_EQ(p.preview->QRPreview->Zoom(), 80);
    EXPECT_EQ(p.preview->cboZoom->ItemIndex(), -1) << "a zoom the list lacks selects nothing";
    // Enter in the box zooms as leaving it does, and is swallowed.
    p.preview->cboZoom->SetText(QStringLiteral("150"));
    QChar enter(u'\r');
    p.preview->cboZoomKeyPress(p.preview->cboZoom, enter);
    EXPECT_EQ(enter, QChar());
    EXPECT_EQ(p.preview->QRPreview->Zoom(), 150);
    EXPECT_EQ(ZoomFromText(QStringLiteral(" 75 "), 20, 200), 75);
}

TEST(PreviewWindowTest, TypedPagesAreClampedAndTheButtonsFollowThePage)
{
    PreviewOf p(7); // three pages
    TfrmVRPreview* preview = p.preview.get();
    ASSERT_EQ(preview->QRPreview->PageCount(), 3);
    EXPECT_EQ(preview->edtPageNo->Text(), QStringLiteral("1"));
    EXPECT_FALSE(preview->btnFirstPage->Enabled());
    EXPECT_TRUE(preview->btnLastPage->Enabled());
    preview->edtPageNo->SetText(QStringLiteral("0"));
    preview->edtPageNoExit(preview->edtPageNo);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 1);
    preview->edtPageNo->SetText(QStringLiteral("99"));
    preview->edtPageNoExit(preview->edtPageNo);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 3);
    EXPECT_EQ(preview->StatusBar->Panels()->Items(0)->Text(), QStringLiteral("3 / 3"));
    EXPECT_FALSE(preview->btnNextPage->Enabled());
    EXPECT_TRUE(preview->btnPreviousPage->Enabled());
    preview->edtPageNo->SetText(QStringLiteral("x"));
    preview->edtPageNoExit(preview->edtPageNo);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 3) << "no number: the page stays";
    preview->btnPreviousPageClick(nullptr);
    EXPECT_EQ(preview->edtPageNo->Text(), QStringLiteral("2"));
    preview->btnFirstPageClick(nullptr);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 1);
    preview->btnLastPageClick(nullptr);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 3);
    EXPECT_TRUE(preview->StatusBar->Panels()->Items(1)->Text().contains(QStringLiteral("Letter")));
}

TEST(PreviewWindowTest, SendButtonsFollowTheSendFlags)
{
    // A mail client with a server to send through (without one the button
    // is greyed with the reason: FormatSendTest).
    RegisterOutlook();
    const mail_test::MailHome home("Server=127.0.0.1\nSecurity=None\nFrom=erp@korvane.example\n");
    PreviewOf p(2);
    EXPECT_FALSE(p.preview->btnEmail->Visible());
    EXPECT_FALSE(p.preview->btnFax->Visible());
    p.slip.Form()->SendFlags = 1;
    p.preview->Prepare();
    EXPECT_TRUE(p.preview->btnEmail->Visible());
    EXPECT_TRUE(p.preview->btnEmail->Enabled());
    EXPECT_FALSE(p.preview->btnFax->Visible());
}

TEST(PreviewWindowTest, ExportOfAHalfPageSheetWritesBothOfItsReportPages)
{
    PreviewOf p(16, true); // six report pages on three sheets
    ASSERT_EQ(p.slip.Form()->QuickRep1->Pages()->PageCount(), 6);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo, QStringLiteral("是否打开文件"));
    p.preview->GoToPage(3);
    ASSERT_TRUE(p.preview->ExportShownPage(TOutputKind::Bmp));
    const QStringList files = p.preview->ExportedFiles();
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].endsWith(QStringLiteral("005.bmp"))) << files[0].toStdString();
    EXPECT_TRUE(files[1].endsWith(QStringLiteral("006.bmp"))) << files[1].toStdString();
    for (const QString& file : files)
        EXPECT_GT(QFileInfo(NativePath(file)).size(), 0) << file.toStdString();
    // Into the user's folder under the home: c_data\CHEN, named by program and time.
    const QFileInfo first(NativePath(files[0]));
    EXPECT_TRUE(first.fileName().startsWith(QStringLiteral("ZORV52_"))) << files[0].toStdString();
    EXPECT_EQ(first.dir().dirName(), QStringLiteral("CHEN"));
    EXPECT_EQ(
        first.dir().absolutePath(), QDir(p.home.path()).absoluteFilePath(QStringLiteral("c_data/CHEN")));
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST(PreviewWindowTest, ExportOfTheLastHalfSheetWritesOnlyThePageThereIs)
{
    PreviewOf p(13, true); // five report pages on three sheets
    ASSERT_EQ(p.slip.Form()->QuickRep1->Pages()->PageCount(), 5);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo);
    p.preview->GoToPage(3);
    ASSERT_TRUE(p.preview->ExportShownPage(TOutputKind::PicturePdf));
    ASSERT_EQ(p.preview->ExportedFiles().size(), 1);
    EXPECT_TRUE(p.preview->ExportedFiles()[0].endsWith(QStringLiteral("005.pdf")));
}

TEST(PreviewWindowTest, TheWholeReportAsOneVectorPdf)
{
    PreviewOf p(7);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo);
    ASSERT_TRUE(p.preview->ExportWholeReport(TOutputKind::ReportPdf));
    QFile pdf(NativePath(p.preview->ExportedFiles().value(0)));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    // A page kind is no whole report, and the whole report no page.
    EXPECT_FALSE(p.preview->ExportWholeReport(TOutputKind::Bmp));
    EXPECT_FALSE(p.preview->ExportShownPage(TOutputKind::ReportPdf));
}

TEST(PreviewWindowTest, EachItemOfTheExportMenuWritesItsOwnKind)
{
    PreviewOf p(7); // three pages
    p.preview->GoToPage(2);
    struct Item {
        TMenuItem* item;
        void (TfrmVRPreview::*click)(TObject*);
        QString suffix;
    };
    const QList<Item> items {{p.preview->pmBMP, &TfrmVRPreview::pmBMPClick, QStringLiteral("002.bmp")},
        {p.preview->pmJPG, &TfrmVRPreview::pmJPGClick, QStringLiteral("002.jpg")},
        {p.preview->pmGIF, &TfrmVRPreview::pmGIFClick, QStringLiteral("002.gif")},
        {p.preview->pmPDF, &TfrmVRPreview::pmPDFClick, QStringLiteral("002.pdf")},
        {p.preview->pmVectorPDF, &TfrmVRPreview::pmVectorPDFClick, QStringLiteral("_")}};
    for (const Item& item : items) {
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrNo, QStringLiteral("是否打开文件"));
        ASSERT_NE(item.item, nullptr) << item.suffix.toStdString();
        (p.preview.get()->*item.click)(item.item);
        const QStringList files = p.preview->ExportedFiles();
        ASSERT_EQ(files.size(), 1) << item.suffix.toStdString();
        const QString name = QFileInfo(NativePath(files[0])).fileName();
        EXPECT_TRUE(dialogs.Failures().isEmpty()) << name.toStdString();
        if (item.item != p.preview->pmVectorPDF) {
            EXPECT_TRUE(name.endsWith(item.suffix)) << name.toStdString();
            continue;
        }
        // The whole report: one PDF named without a page number, every page in it.
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^ZORV52_\\d{14}\\.pdf$")).match(name).hasMatch())
            << name.toStdString();
        QFile pdf(NativePath(files[0]));
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        const QString bytes = QString::fromLatin1(pdf.readAll());
        EXPECT_EQ(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 3);
    }
}

TEST(PreviewWindowTest, AFolderThatCannotBeMadeStopsTheExportWithItsMessage)
{
    PreviewOf p(2);
    // A file where the user's folder should go.
    const QString blocker = p.home.write(QStringLiteral("c_data"), "not a folder");
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrOk, QStringLiteral("创建目录失败"));
    EXPECT_FALSE(p.preview->ExportShownPage(TOutputKind::Bmp));
    EXPECT_TRUE(p.preview->ExportedFiles().isEmpty());
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST(PreviewWindowTest, TheExportGoesIntoTheHomesDataFolderAsItIsOnDisk)
{
    PreviewOf p(2);
    // A home made on Windows: its data folder is C_DATA, which "c_data" names there.
    p.home.write(QStringLiteral("C_DATA/ZORV52.frm"), "layout");
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo, QStringLiteral("是否打开文件"));
    ASSERT_TRUE(p.preview->ExportShownPage(TOutputKind::Bmp));
    ASSERT_EQ(p.preview->ExportedFiles().size(), 1);
    const QFileInfo file(NativePath(p.preview->ExportedFiles()[0]));
    EXPECT_EQ(file.absolutePath(), QDir(p.home.path()).absoluteFilePath(QStringLiteral("C_DATA/CHEN")));
    EXPECT_EQ(QDir(p.home.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        QStringList {QStringLiteral("C_DATA")})
        << "no second data folder beside the home's";
    // The question names the files as this system writes paths.
    ASSERT_FALSE(dialogs.Asked().isEmpty());
    const QString question = dialogs.Asked().last().Text;
    EXPECT_TRUE(question.contains(p.home.path() + QStringLiteral("/C_DATA/CHEN/ZORV52_")))
        << question.toStdString();
    EXPECT_FALSE(question.section(u'\r', 0, 0).contains(u'\\')) << question.toStdString();
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST(PreviewWindowTest, OpeningAnExportWithoutAProgramForItSaysSo)
{
    // The offscreen platform opens no document (and this machine may lack xdg-open).
    PreviewOf p(2);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrYes, QStringLiteral("是否打开文件"));
    dialogs.ExpectMessage(mrOk, QStringLiteral("没有可以打开此文件的程序"));
    ASSERT_TRUE(p.preview->ExportShownPage(TOutputKind::Bmp));
    ASSERT_EQ(dialogs.Asked().size(), 2);
    EXPECT_TRUE(dialogs.Asked().last().Text.contains(
        QFileInfo(NativePath(p.preview->ExportedFiles()[0])).fileName()));
    EXPECT_EQ(dialogs.Asked().last().Type, mtWarning);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST(PreviewWindowTest, KeysPageAndZoomWhereverTheFocusIsAndEscCloses)
{
    PreviewOf p(13); // five pages
    TfrmVRPreview* preview = p.preview.get();
    ASSERT_EQ(preview->QRPreview->PageCount(), 5);
    preview->Show();
    QWidget* sheet = preview->QRPreview->Widget();
    QWidget* zoomBox = preview->cboZoom->Widget();
    QWidget* pageBox = preview->edtPageNo->Widget();
    QTest::keyClick(sheet, Qt::Key_PageDown);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 2);
    QTest::keyClick(zoomBox, Qt::Key_PageDown);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 3) << "PgDn in the zoom box pages on";
    EXPECT_EQ(preview->QRPreview->Zoom(), 100) << "and leaves the zoom";
    QTest::keyClick(pageBox, Qt::Key_PageUp);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 2);
    EXPECT_EQ(preview->edtPageNo->Text(), QStringLiteral("2"));
    QTest::keyClick(pageBox, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 5);
    QTest::keyClick(zoomBox, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 1);
    QTest::keyClick(sheet, Qt::Key_End);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 5);
    QTest::keyClick(sheet, Qt::Key_Home);
    EXPECT_EQ(preview->QRPreview->PageNumber(), 1);
    // + and - step through the zoom list, in any control.
    QTest::keyClick(sheet, Qt::Key_Plus);
    EXPECT_EQ(preview->QRPreview->Zoom(), 150);
    QTest::keyClick(zoomBox, Qt::Key_Plus);
    EXPECT_EQ(preview->QRPreview->Zoom(), 200);
    QTest::keyClick(sheet, Qt::Key_Plus);
    EXPECT_EQ(preview->QRPreview->Zoom(), 200) << "the list's largest is the end";
    QTest::keyClick(pageBox, Qt::Key_Minus);
    EXPECT_EQ(preview->QRPreview->Zoom(), 150);
    EXPECT_EQ(preview->cboZoom->Text(), QStringLiteral("150"));
    EXPECT_EQ(preview->edtPageNo->Text(), QStringLiteral("1")) << "the page box took no '-'";
    preview->ZoomTo(80);
    QTest::keyClick(sheet, Qt::Key_Minus);
    EXPECT_EQ(preview->QRPreview->Zoom(), 75) << "from a zoom off the list to the next smaller item";
    ASSERT_TRUE(preview->Visible());
    QTest::keyClick(zoomBox, Qt::Key_Escape);
    EXPECT_FALSE(preview->Visible()) << "Esc closes the preview";
}

TEST(PreviewWindowTest, FittingThePageOrItsWidthShowsTheZoomInTheBoxAndCentresTheSheet)
{
    PreviewOf p(4);
    TfrmVRPreview* preview = p.preview.get();
    preview->Show();
    preview->SetWindowState(wsNormal);
    preview->SetBounds(0, 0, 900, 700);
    QApplication::processEvents();
    preview->btnZoomToPageClick(preview->btnZoomToPage);
    const int fitted = preview->QRPreview->Zoom();
    EXPECT_LT(fitted, 100) << "a Letter page fits a 700 pixel window below its real size";
    EXPECT_EQ(preview->cboZoom->Text(), QString::number(fitted));
    QApplication::processEvents();
    auto* area = qobject_cast<QScrollArea*>(preview->QRPreview->Widget());
    ASSERT_NE(area, nullptr);
    const QRect canvas = area->widget()->geometry();
    const QSize view = area->viewport()->size();
    EXPECT_LE(std::abs(canvas.center().x() - view.width() / 2), 2) << "the sheet is centred across";
    EXPECT_LE(std::abs(canvas.center().y() - view.height() / 2), 2) << "and down";
    preview->btnZoomToWidthClick(preview->btnZoomToWidth);
    EXPECT_GT(preview->QRPreview->Zoom(), fitted);
    EXPECT_EQ(preview->cboZoom->Text(), QString::number(preview->QRPreview->Zoom()));
    preview->ZoomTo(100);
    EXPECT_EQ(preview->cboZoom->Text(), QStringLiteral("100"));
}

TEST(PreviewWindowTest, WhilePagesAreBeingMadeTheCountIsNotFinal)
{
    PreviewOf p(400, false, false); // many pages, only the first made
    TfrmVRPreview* preview = p.preview.get();
    TQRPrinter* printer = preview->Report()->QRPrinter();
    ASSERT_TRUE(printer->Generating());
    const int sofar = preview->QRPreview->PageCount();
    EXPECT_TRUE(preview->StatusBar->Panels()->Items(0)->Text().contains(QStringLiteral("生成中")))
        << preview->StatusBar->Panels()->Items(0)->Text().toStdString();
    // The last page is the report's last: going there finishes the pages.
    preview->btnLastPageClick(preview->btnLastPage);
    EXPECT_FALSE(printer->Generating());
    const int count = preview->QRPreview->PageCount();
    EXPECT_GT(count, sofar);
    EXPECT_EQ(count, 134);
    EXPECT_EQ(preview->QRPreview->PageNumber(), count);
    EXPECT_EQ(preview->StatusBar->Panels()->Items(0)->Text(), QStringLiteral("%1 / %1").arg(count));
}
