// Banded generation: band order, groups, page breaks, events, bad input.

#include "ReportFixture.h"

#include "runtime/report/QRPageModel.h"

#include "support/TestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

class GenerationTest : public ::testing::Test {
protected:
    GenerationTest()
        : source_({"KIND", "ITEM", "QTY"})
    {
        report_ = MakeReport();
        report_->SetDataSource(&source_);
    }

    void rows(int kinds, int perKind)
    {
        for (int k = 1; k <= kinds; ++k)
            for (int i = 1; i <= perKind; ++i)
                source_.AddRow({QStringLiteral("K%1").arg(k), QStringLiteral("item %1.%2").arg(k).arg(i), i});
    }

    TQRMemorySource source_;
    std::unique_ptr<TQuickRep, FreeComponent> report_;
};

} // namespace

TEST_F(GenerationTest, BandsPrintInBandedOrder)
{
    rows(2, 2);
    auto* title = AddBand(report_.get(), "Title", 30, rbTitle);
    AddControl(title, "lblTitle", 0, 0)->SetCaption("TITLE");
    auto* header = AddBand(report_.get(), "PageHeader", 20, rbPageHeader);
    AddControl(header, "lblHeader", 0, 0)->SetCaption("HEADER");
    auto* group = AddBand<TQRGroup>(report_.get(), "Group", 20);
    group->SetExpression("KIND");
    AddField(group, "KIND", 0);
    auto* footer = AddBand(report_.get(), "GroupFooter", 20, rbGroupFooter);
    group->SetFooterBand(footer);
    auto* total = AddControl<TQRExpr>(footer, "exprTotal", 0, 0);
    total->SetExpression("'sum ' + KIND + ' ' + STR(SUM(QTY))");
    total->SetResetAfterPrint(true);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    auto* summary = AddBand(report_.get(), "Summary", 20, rbSummary);
    AddControl<TQRExpr>(summary, "exprCount", 0, 0)->SetExpression("'rows ' + STR(COUNT)");
    auto* pageFooter = AddBand(report_.get(), "PageFooter", 20, rbPageFooter);
    AddControl(pageFooter, "lblFooter", 0, 0)->SetCaption("FOOTER");

    ASSERT_TRUE(report_->Prepare());
    const auto pages = report_->Pages();
    ASSERT_EQ(pages->PageCount(), 1);
    // Group footers print on the group's last row, so the key is still K1.
    EXPECT_EQ(PageTexts(*pages, 1),
        QStringList({"TITLE", "HEADER", "K1", "item 1.1", "item 1.2", "sum K1 3", "K2", "item 2.1",
            "item 2.2", "sum K2 3", "rows 4", "FOOTER"}));
    // The page footer sits at the foot of the page: 10 mm margin, 20 pixels high.
    const QRect foot = pages->FindText(1, "FOOTER").Box;
    EXPECT_NEAR(foot.top(), 27940 - 1000 - report_->PixelsToUnits(20), 1);
    EXPECT_TRUE(report_->Warnings().isEmpty()) << report_->Warnings().join(';').toStdString();
}

TEST_F(GenerationTest, PagesBreakWhenTheBodyIsFullAndRepeatThePageHeader)
{
    rows(1, 100);
    auto* header = AddBand(report_.get(), "PageHeader", 40, rbPageHeader);
    AddControl(header, "lblHeader", 0, 0)->SetCaption("HEADER");
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    int starts = 0;
    report_->SetOnStartPage(TNotifyEvent::Of([&](TObject*) { ++starts; }));
    ASSERT_TRUE(report_->Prepare());
    const auto pages = report_->Pages();
    // Body 259.4 mm = 980 pixels at 96 dpi: 40 for the header, 47 rows of 20.
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(starts, 3);
    EXPECT_EQ(PageTexts(*pages, 1).size(), 48);
    EXPECT_EQ(PageTexts(*pages, 2).first(), "HEADER");
    EXPECT_EQ(PageTexts(*pages, 2).at(1), "item 1.48");
    EXPECT_EQ(PageTexts(*pages, 3).last(), "item 1.100");
    int total = 0;
    for (int p = 1; p <= 3; ++p)
        total += PageTexts(*pages, p).size() - 1;
    EXPECT_EQ(total, 100);
}

TEST_F(GenerationTest, BeforePrintCanRefuseABandAndAfterPrintHearsIt)
{
    rows(1, 4);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "QTY", 0);
    auto* child = AddBand<TQRChildBand>(report_.get(), "Child", 20);
    child->SetParentBand(detail);
    AddControl(child, "lblChild", 0, 0)->SetCaption("child");
    QList<bool> heard;
    detail->SetBeforePrint(TQRBandBeforePrintEvent::Of([&](TQRCustomBand*, bool& print) {
        print = source_.FieldValue(source_.FieldIndex("QTY")).toInt() % 2 == 0;
    }));
    detail->SetAfterPrint(
        TQRBandAfterPrintEvent::Of([&](TQRCustomBand*, bool printed) { heard << printed; }));
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(PageTexts(*report_->Pages(), 1), QStringList({"2", "child", "4", "child"}));
    EXPECT_EQ(heard, QList<bool>({false, true, false, true}));
}

TEST_F(GenerationTest, OnPrintChangesTheValueAndDisabledControlsPrintNothing)
{
    rows(1, 2);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    auto* item = AddField(detail, "ITEM", 0);
    item->SetOnPrint(TQRLabelOnPrintEvent::Of([](TObject*, QString& value) { value = value.toUpper(); }));
    AddField(detail, "QTY", 200)->SetEnabled(false);
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(PageTexts(*report_->Pages(), 1), QStringList({"ITEM 1.1", "ITEM 1.2"}));
}

TEST_F(GenerationTest, WordWrapStretchesTheBand)
{
    source_.AddRow(
        {"K", QStringLiteral("a long text that cannot fit on one line of a narrow field, so it wraps"), 1});
    source_.AddRow({"K", QStringLiteral("short"), 2});
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    auto* text = AddField(detail, "ITEM", 0);
    text->SetBounds(0, 0, 80, 17);
    text->SetAutoStretch(true);
    int stretch = -1;
    detail->SetAfterPrint(TQRBandAfterPrintEvent::Of([&](TQRCustomBand* band, bool) {
        if (stretch < 0)
            stretch = band->Stretch();
    }));
    ASSERT_TRUE(report_->Prepare());
    const auto pages = report_->Pages();
    const QRect first = pages->FindText(1, PageTexts(*pages, 1).first()).Box;
    const QRect second = pages->FindText(1, "short").Box;
    EXPECT_GT(stretch, 0);
    EXPECT_GT(first.height(), report_->PixelsToUnits(17));
    EXPECT_NEAR(second.top() - first.top(), report_->PixelsToUnits(20 + stretch), report_->PixelsToUnits(1));
}

TEST_F(GenerationTest, EmptyDataPrintsOnePageOrNoneAsAsked)
{
    AddBand(report_.get(), "Title", 30, rbTitle);
    AddControl(report_->Bands().first(), "lblTitle", 0, 0)->SetCaption("TITLE");
    AddBand(report_.get(), "Detail", 20, rbDetail);
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(report_->Pages()->PageCount(), 1);
    EXPECT_EQ(PageTexts(*report_->Pages(), 1), QStringList({"TITLE"}));
    report_->SetPrintIfEmpty(false);
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(report_->Pages()->PageCount(), 0);
}

TEST_F(GenerationTest, BadInputStopsWithAReasonOrPrintsTheRest)
{
    rows(1, 2);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    AddField(detail, "NOSUCH", 100);
    AddControl<TQRExpr>(detail, "exprBad", 200, 0)->SetExpression("QTY +");
    auto* image = AddControl<TQRImage>(detail, "imgBad", 300, 0);
    image->Picture()->SetData("not a picture");
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(PageTexts(*report_->Pages(), 1), QStringList({"item 1.1", "item 1.2"}));
    const QString warnings = report_->Warnings().join('\n');
    EXPECT_TRUE(warnings.contains("txtNOSUCH: field NOSUCH not found")) << warnings.toStdString();
    EXPECT_TRUE(warnings.contains("exprBad: Expression 'QTY +'")) << warnings.toStdString();
    EXPECT_TRUE(warnings.contains("imgBad: the picture cannot be read")) << warnings.toStdString();

    auto* group = AddBand<TQRGroup>(report_.get(), "Group", 20);
    group->SetExpression("KIND +* 1");
    EXPECT_THROW(report_->Prepare(), EQRExprError);
    group->SetExpression("KIND");

    report_->Page()->SetValue(TQRPage::Length, 0);
    try {
        report_->Prepare();
        FAIL() << "a page of no size was accepted";
    } catch (const EQRError& e) {
        EXPECT_TRUE(e.Message().contains("no size"));
    }
    report_->Page()->SetPaperSize(A4);
    report_->Page()->SetValue(TQRPage::TopMargin, 2000);
    report_->Page()->SetValue(TQRPage::BottomMargin, 1000);
    EXPECT_THROW(report_->Prepare(), EQRError);
}

TEST_F(GenerationTest, ABandTallerThanThePagePrintsOnceAndTheRunEnds)
{
    rows(1, 3);
    auto* detail = AddBand(report_.get(), "Detail", 2000, rbDetail);
    AddField(detail, "ITEM", 0);
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(report_->Pages()->PageCount(), 3);
}

TEST_F(GenerationTest, ProgressCanCancelAndBeforePrintCanRefuseTheRun)
{
    rows(1, 200);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    QList<int> seen;
    report_->SetProgressHandler([&](int pages, int rows, int count) {
        seen << pages;
        EXPECT_EQ(count, 200);
        EXPECT_GT(rows, 0);
        return pages < 2;
    });
    EXPECT_FALSE(report_->Prepare());
    EXPECT_TRUE(report_->Cancelled());
    EXPECT_EQ(seen, QList<int>({1, 2}));
    EXPECT_EQ(report_->Pages()->PageCount(), 2);

    report_->SetProgressHandler({});
    report_->SetBeforePrint(TCloseQueryEvent::Of([](TObject*, bool& go) { go = false; }));
    EXPECT_FALSE(report_->Prepare());
}

TEST_F(GenerationTest, StepsShowTheFirstPageBeforeTheLastIsMade)
{
    rows(1, 1000);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    ASSERT_TRUE(report_->Start());
    EXPECT_TRUE(report_->Step());
    EXPECT_EQ(report_->Pages()->PageCount(), 1);
    EXPECT_TRUE(report_->Generating());
    EXPECT_LE(source_.RecNo(), 51) << "only the rows of page one (and the first of page two) were read";
    while (report_->Step()) { }
    EXPECT_EQ(report_->Pages()->PageCount(), 21);
}

TEST_F(GenerationTest, BackgroundPictureLiesBehindEveryPage)
{
    rows(1, 60);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    QImage form(85, 110, QImage::Format_RGB32);
    form.fill(Qt::yellow);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    form.save(&buffer, "PNG");
    report_->Background()->SetData(png);
    ASSERT_TRUE(report_->Prepare());
    const auto pages = report_->Pages();
    ASSERT_EQ(pages->PageCount(), 2);
    for (int page = 1; page <= 2; ++page) {
        const TQRItem& first = pages->Items(page).front();
        EXPECT_EQ(first.kind, TQRItem::Image);
        EXPECT_EQ(first.Box(), QRect(0, 0, 21590, 27940));
        EXPECT_EQ(first.style, 0) << "one shared picture";
    }
    EXPECT_EQ(pages->Image(0).pixelColor(5, 5), QColor(Qt::yellow));

    report_->Background()->SetData("damaged");
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(PageTexts(*report_->Pages(), 1).size(), 49);
    EXPECT_TRUE(report_->Warnings().join(';').contains("background picture cannot be read"));
}

TEST_F(GenerationTest, PicturesFromFilesThatAreMissingOrDamagedAreRefused)
{
    testsupport::TempFolder folder;
    TQRImage image(nullptr);
    EXPECT_FALSE(image.LoadFromFile(folder.file("missing.png")));
    EXPECT_FALSE(image.LoadFromFile(folder.write("damaged.png", "\x89PNG broken")));
    EXPECT_TRUE(image.Picture()->Empty());
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.file("good.png")));
    EXPECT_TRUE(image.LoadFromFile(folder.file("good.png")));
    EXPECT_FALSE(image.Picture()->Empty());
}

TEST_F(GenerationTest, ASlipOfTenThousandLinesPrintsEveryLine)
{
    rows(1, 10000);
    auto* group = AddBand<TQRGroup>(report_.get(), "Group", 30);
    group->SetExpression("KIND");
    group->SetReprintOnNewPage(true);
    AddField(group, "KIND", 0);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddField(detail, "ITEM", 0);
    ASSERT_TRUE(report_->Prepare());
    const auto pages = report_->Pages();
    int lines = 0;
    for (int page = 1; page <= pages->PageCount(); ++page) {
        const QStringList texts = PageTexts(*pages, page);
        EXPECT_EQ(texts.first(), "K1") << "the group header opens page " << page;
        lines += texts.size() - 1;
    }
    EXPECT_EQ(lines, 10000);
    EXPECT_EQ(PageTexts(*pages, pages->PageCount()).last(), "item 1.10000");
}

TEST_F(GenerationTest, RunningTotalsCountThePrintedRowsOnly)
{
    rows(1, 4);
    auto* detail = AddBand(report_.get(), "Detail", 20, rbDetail);
    AddControl<TQRExpr>(detail, "exprRunning", 0, 0)->SetExpression("STR(QTY) + ':' + STR(SUM(QTY))");
    detail->SetBeforePrint(TQRBandBeforePrintEvent::Of([&](TQRCustomBand*, bool& print) {
        print = source_.FieldValue(source_.FieldIndex("QTY")).toInt() != 3;
    }));
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(PageTexts(*report_->Pages(), 1), QStringList({"1:1", "2:3", "4:7"}));
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(PageTexts(*report_->Pages(), 1), QStringList({"1:1", "2:3", "4:7"}))
        << "a new run starts from zero";
}
