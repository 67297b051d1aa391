#include "ReportFixture.h"

#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QRProgress.h"

#include <QPixmap>
#include <QProgressDialog>
#include <QScrollArea>
#include <gtest/gtest.h>

using namespace reporttest;

namespace {

class PreviewTest : public ::testing::Test {
protected:
    PreviewTest()
        : source_({"NAME"})
    {
        for (int i = 1; i <= 100; ++i)
            source_.AddRow({QStringLiteral("row %1").arg(i)});
        report_ = MakeReport();
        report_->SetDataSource(&source_);
        auto* detail = AddBand(report_.get(), "Detail", 20);
        auto* text = AddField(detail, "NAME", 40, 0);
        text->Font()->SetSize(14);
        preview_.reset(new TQRPreview(nullptr));
    }

    TQRMemorySource source_;
    std::unique_ptr<TQuickRep, FreeComponent> report_;
    std::unique_ptr<TQRPreview, FreeComponent> preview_;
};

} // namespace

TEST_F(PreviewTest, PageNumbersStayWithinThePages)
{
    EXPECT_EQ(preview_->PageNumber(), 0);
    preview_->SetPageNumber(3);
    EXPECT_EQ(preview_->PageNumber(), 0) << "no pages, no page";
    ASSERT_TRUE(report_->Prepare());
    preview_->SetQRPrinter(report_->QRPrinter());
    EXPECT_EQ(preview_->PageCount(), 3);
    EXPECT_EQ(preview_->PageNumber(), 1);
    preview_->SetPageNumber(0);
    EXPECT_EQ(preview_->PageNumber(), 1);
    preview_->SetPageNumber(9);
    EXPECT_EQ(preview_->PageNumber(), 3);
    preview_->SetZoom(1000);
    EXPECT_EQ(preview_->Zoom(), 400);
}

TEST_F(PreviewTest, ZoomToFitAndToWidthFollowTheVisibleArea)
{
    ASSERT_TRUE(report_->Prepare());
    preview_->SetQRPrinter(report_->QRPrinter());
    QWidget* widget = preview_->Widget();
    widget->resize(836 + 4, 600);
    preview_->ZoomToFit();
    // 600 pixels high (less the frame and the grey margin) for 1056: about 54 %.
    EXPECT_GT(preview_->Zoom(), 50);
    EXPECT_LT(preview_->Zoom(), 56);
    EXPECT_LE(preview_->SheetPixels().height(), 600);
    preview_->ZoomToWidth();
    EXPECT_GT(preview_->Zoom(), 90);
    EXPECT_LE(preview_->Zoom(), 100);
}

TEST_F(PreviewTest, ShowsPagesAsTheyArriveAndPaintsTheSheet)
{
    for (int i = 0; i < 3000; ++i)
        source_.AddRow({QStringLiteral("more %1").arg(i)});
    int available = 0;
    preview_->SetOnPageAvailable(TNotifyEvent::Of([&](TObject*) { ++available; }));
    TQRPrinter* printer = report_->QRPrinter();
    preview_->SetQRPrinter(printer);
    ASSERT_TRUE(printer->GenerateAhead());
    EXPECT_EQ(preview_->PageNumber(), 1) << "page 1 shows before the run ends";
    EXPECT_TRUE(printer->Generating());
    printer->Complete();
    EXPECT_GE(available, 2);
    EXPECT_EQ(preview_->PageCount(), (3100 + 48) / 49);

    preview_->SetZoom(75);
    QWidget* widget = preview_->Widget();
    widget->resize(700, 500);
    const QImage shot = widget->grab().toImage();
    if (const char* dir = std::getenv("ZORV_SCREENSHOTS"))
        shot.save(QString::fromLocal8Bit(dir) + "/report-preview.png");
    // The sheet is white inside the grey area, with dark text on it, and
    // sits in the middle of a view wider than it.
    auto* area = qobject_cast<QScrollArea*>(widget);
    ASSERT_NE(area, nullptr);
    const QPoint canvas = area->widget()->mapTo(widget, QPoint(0, 0));
    EXPECT_LE(std::abs(area->widget()->geometry().center().x() - area->viewport()->width() / 2), 1);
    const QPoint inside = canvas + QPoint(10 + 100, 10 + 100);
    EXPECT_EQ(shot.pixelColor(inside).name(), "#ffffff");
    EXPECT_EQ(shot.pixelColor(canvas + QPoint(4, 4)).name(), "#808080");
    int dark = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (qGray(shot.pixel(x, y)) < 64)
                ++dark;
    EXPECT_GT(dark, 100);
}

TEST_F(PreviewTest, ProgressWindowFollowsTheRunAndItsCancelStopsIt)
{
    for (int i = 0; i < 2000; ++i)
        source_.AddRow({QStringLiteral("more %1").arg(i)});
    int outerCalls = 0;
    report_->SetProgressHandler([&](int, int, int) {
        ++outerCalls;
        return true;
    });
    {
        TQRProgress progress(report_.get());
        progress.SetLabelText(QStringLiteral("page %1"));
        ASSERT_TRUE(progress.Run());
        EXPECT_EQ(progress.Dialog()->maximum(), 2100);
        EXPECT_EQ(
            progress.Dialog()->labelText(), QStringLiteral("page %1").arg(report_->Pages()->PageCount()));
        EXPECT_EQ(outerCalls, report_->Pages()->PageCount()) << "the handler that was there still hears";

        auto* detail = report_->Bands().first();
        detail->SetAfterPrint(TQRBandAfterPrintEvent::Of([&](TQRCustomBand*, bool) {
            if (source_.RecNo() == 500)
                progress.Dialog()->cancel();
        }));
        EXPECT_FALSE(progress.Run());
        EXPECT_TRUE(report_->Cancelled());
        EXPECT_LT(report_->Pages()->PageCount(), 12);
        detail->SetAfterPrint({});
    }
    outerCalls = 0;
    ASSERT_TRUE(report_->Prepare());
    EXPECT_GT(outerCalls, 0) << "the previous handler is back";
}
