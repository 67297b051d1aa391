// The preview window over a slip layout's pages: the zoom box, paging,
// the send buttons, and the export of the shown page (a half-page sheet
// writes both of its report pages).

#include "SlipFormFixture.h"

#include "format/VRPreviewF.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/system/NativePath.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// A preview over a slip of lines at three a page, prepared as showing does.
struct PreviewOf {
    explicit PreviewOf(int lines, bool halfPage = false)
    {
        if (halfPage)
            slip.Form()->QuickRep1->SetPageStyle(psHalfPage);
        slip.AddSlip(QStringLiteral("0001"), lines);
        slip.Form()->ClientHome = home.path();
        slip.Form()->SetContext(context());
        EXPECT_TRUE(slip.Form()->QuickRep1->QRPrinter()->GenerateAhead());
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
    ASSERT_TRUE(p.preview->ExportShownPage(0));
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
    ASSERT_TRUE(p.preview->ExportShownPage(3));
    ASSERT_EQ(p.preview->ExportedFiles().size(), 1);
    EXPECT_TRUE(p.preview->ExportedFiles()[0].endsWith(QStringLiteral("005.pdf")));
}

TEST(PreviewWindowTest, TheWholeReportAsOneVectorPdf)
{
    PreviewOf p(7);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo);
    ASSERT_TRUE(p.preview->ExportVectorPdf());
    QFile pdf(NativePath(p.preview->ExportedFiles().value(0)));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
}

TEST(PreviewWindowTest, AFolderThatCannotBeMadeStopsTheExportWithItsMessage)
{
    PreviewOf p(2);
    // A file where the user's folder should go.
    const QString blocker = p.home.write(QStringLiteral("c_data"), "not a folder");
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrOk, QStringLiteral("创建目录失败"));
    EXPECT_FALSE(p.preview->ExportShownPage(0));
    EXPECT_TRUE(p.preview->ExportedFiles().isEmpty());
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}
