// Slip pages driven by band handlers that keep their own slip counters, the
// way a slip layout's form does: page of slip and pages of slip in the
// header, a numbered line per row, "next page" and "blank below" marks in
// the footer, and a line held back (data set stepped back) when the body is
// full.

#include "ReportFixture.h"

#include "runtime/report/QRPageModel.h"

#include <QMap>
#include <gtest/gtest.h>
#include <random>

using namespace reporttest;

namespace {

constexpr int detailHeight = 20;

class SlipHarness {
public:
    explicit SlipHarness(int linesPerPage, bool halfPage = false)
        : source_({QStringLiteral("TO001"), QStringLiteral("TO002"), QStringLiteral("TP003")})
    {
        report_ = MakeReport();
        report_->AddDataSource(QStringLiteral("ClientDataSet1"), &source_);
        report_->SetDataSet(QStringLiteral("ClientDataSet1"));
        header_ = AddBand<TQRGroup>(report_.get(), QStringLiteral("QRGroup"), 60);
        header_->SetExpression(QStringLiteral("ClientDataSet1.TO001+ClientDataSet1.TO002"));
        detail_ = AddBand(report_.get(), QStringLiteral("QRDetailBand"), detailHeight, rbDetail);
        footer_ = AddBand(
            report_.get(), QStringLiteral("QRGroupFooter"), detailHeight * (linesPerPage - 1), rbGroupFooter);
        end_ = AddBand<TQRChildBand>(report_.get(), QStringLiteral("GroupFooterChildBand"), 40);
        end_->SetParentBand(footer_);
        header_->SetFooterBand(footer_);
        report_->SetPageStartBand(header_);
        report_->SetPageDetailBand(detail_);
        report_->SetPageAttachDetailBand(footer_);
        report_->SetPageEndBand(end_);
        if (halfPage)
            report_->SetPageStyle(psHalfPage);

        AddField(header_, QStringLiteral("TO002"), 0);
        pageNo_ = AddControl(header_, QStringLiteral("lblPageNo"), 400, 0);
        totalPage_ = AddControl(header_, QStringLiteral("lblTotalPage"), 500, 0);
        seq_ = AddControl(detail_, QStringLiteral("lblSeq"), 0, 0);
        AddField(detail_, QStringLiteral("TP003"), 100);
        noData_ = AddControl(footer_, QStringLiteral("lblNoData"), 0, 0);
        noData_->SetCaption(QStringLiteral("以下空白//"));
        nextPage_ = AddControl(end_, QStringLiteral("lblNextPage"), 0, 0);
        nextPage_->SetCaption(QStringLiteral("接下页..."));
        sign_ = AddControl(end_, QStringLiteral("lblSignIn1"), 200, 0);
        sign_->SetCaption(QStringLiteral("签核栏1"));

        report_->SetBeforePrint(TCloseQueryEvent::Of([this](TObject*, bool&) { beforeReport(); }));
        header_->SetBeforePrint(
            TQRBandBeforePrintEvent::Of([this](TQRCustomBand*, bool&) { beforeHeader(); }));
        detail_->SetBeforePrint(
            TQRBandBeforePrintEvent::Of([this](TQRCustomBand*, bool& print) { beforeDetail(print); }));
        footer_->SetBeforePrint(
            TQRBandBeforePrintEvent::Of([this](TQRCustomBand*, bool&) { beforeFooter(); }));
    }

    // A slip of lines rows; a slip of 0 lines is one row without a line.
    void AddSlip(const QString& number, int lines)
    {
        if (lines == 0)
            source_.AddRow({QStringLiteral("5101"), number, QString()});
        for (int i = 1; i <= lines; ++i)
            source_.AddRow({QStringLiteral("5101"), number, QStringLiteral("line %1").arg(i)});
    }

    std::shared_ptr<TQRPageModel> Run()
    {
        EXPECT_TRUE(report_->Prepare());
        return report_->Pages();
    }

    TQuickRep* Report() const { return report_.get(); }
    TQRBand* Footer() const { return footer_; }
    int FooterHeightsSeenNegative() const { return negativeSeen_; }

private:
    void beforeReport()
    {
        groupSizes_.clear();
        TQRExpression expression;
        TQRExprEnvironment environment;
        environment.FindSource = [this](const QString& name) { return report_->FindDataSource(name); };
        expression.Prepare(header_->Expression(), environment);
        for (source_.First(); !source_.Eof(); source_.Next())
            ++groupSizes_[expression.ValueText()];
        groupExpression_ = std::move(expression);
        linesPerPage_ = detail_->Height() ? footer_->Height() / detail_->Height() + 1 : 1;
        current_.clear();
    }

    void beforeHeader()
    {
        const QString value = groupExpression_.ValueText();
        if (value != current_) {
            lineNo_ = 0;
            printed_ = 0;
            pageOfSlip_ = 1;
            current_ = value;
            records_ = groupSizes_.value(value);
            pagesOfSlip_ = (records_ + linesPerPage_ - 1) / linesPerPage_;
        } else {
            ++pageOfSlip_;
        }
        pageNo_->SetCaption(QString::number(pageOfSlip_));
        totalPage_->SetCaption(QString::number(pagesOfSlip_));
        nextPage_->SetEnabled(true);
        noData_->SetEnabled(true);
    }

    void beforeDetail(bool& print)
    {
        if (footer_->Height() < 0)
            ++negativeSeen_;
        if (source_.FieldText(source_.FieldIndex(QStringLiteral("TP003"))).isEmpty()) {
            // A slip without lines: no line band; the footer takes its room.
            print = false;
            footer_->SetHeight(footer_->Height() + detail_->Height());
            ++printed_;
            return;
        }
        if (footer_->Height() >= 0 || lineNo_ < 2) {
            ++lineNo_;
            ++printed_;
            seq_->SetCaption(QStringLiteral("%1").arg(lineNo_, 4, 10, QChar(u'0')));
        } else {
            print = false;
            footer_->SetHeight(footer_->Height() + detail_->Height());
            source_.Prior();
        }
    }

    void beforeFooter()
    {
        noData_->SetEnabled(footer_->Height() >= detail_->Height());
        if (pageOfSlip_ == pagesOfSlip_ && printed_ != records_)
            ++pagesOfSlip_;
        const bool last = pageOfSlip_ >= pagesOfSlip_;
        nextPage_->SetEnabled(!last);
        sign_->SetEnabled(last);
    }

    TQRMemorySource source_;
    std::unique_ptr<TQuickRep, FreeComponent> report_;
    TQRGroup* header_;
    TQRBand* detail_;
    TQRBand* footer_;
    TQRChildBand* end_;
    TQRLabel* pageNo_;
    TQRLabel* totalPage_;
    TQRLabel* seq_;
    TQRLabel* noData_;
    TQRLabel* nextPage_;
    TQRLabel* sign_;
    TQRExpression groupExpression_;
    QMap<QString, int> groupSizes_;
    int linesPerPage_ = 1;
    QString current_;
    int lineNo_ = 0;
    int printed_ = 0;
    int records_ = 0;
    int pageOfSlip_ = 0;
    int pagesOfSlip_ = 0;
    int negativeSeen_ = 0;
};

QStringList linesOn(const TQRPageModel& pages, int page)
{
    QStringList lines;
    for (const QString& text : PageTexts(pages, page))
        if (text.startsWith(u"line "))
            lines << text;
    return lines;
}

} // namespace

TEST(SlipPagingTest, SevenLinesAtThreePerPageMakeThreePages)
{
    SlipHarness slip(3);
    slip.AddSlip(QStringLiteral("0001"), 7);
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(linesOn(*pages, 1), QStringList({"line 1", "line 2", "line 3"}));
    EXPECT_EQ(linesOn(*pages, 2), QStringList({"line 4", "line 5", "line 6"}));
    EXPECT_EQ(linesOn(*pages, 3), QStringList({"line 7"}));
    for (int page = 1; page <= 3; ++page) {
        const QStringList texts = PageTexts(*pages, page);
        EXPECT_TRUE(texts.contains(QString::number(page))) << "page " << page;
        EXPECT_TRUE(texts.contains(QStringLiteral("3"))) << "page " << page;
        EXPECT_EQ(texts.contains(QStringLiteral("接下页...")), page < 3) << "page " << page;
        EXPECT_EQ(texts.contains(QStringLiteral("签核栏1")), page == 3) << "page " << page;
        EXPECT_EQ(texts.contains(QStringLiteral("以下空白//")), page == 3) << "page " << page;
    }
    // Line numbers go on across the pages of the slip.
    EXPECT_TRUE(PageTexts(*pages, 3).contains(QStringLiteral("0007")));
    // The body ran full twice (lines 4 and 7 were held back once each).
    EXPECT_EQ(slip.FooterHeightsSeenNegative(), 2);
    // The footer has its design height again after the run.
    EXPECT_EQ(slip.Footer()->Height(), 2 * detailHeight);
}

TEST(SlipPagingTest, SlipWithoutLinesPrintsHeaderAndFooterOnly)
{
    SlipHarness slip(3);
    slip.AddSlip(QStringLiteral("0002"), 0);
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 1);
    const QStringList texts = PageTexts(*pages, 1);
    EXPECT_TRUE(texts.contains(QStringLiteral("0002")));
    EXPECT_TRUE(texts.contains(QStringLiteral("以下空白//")));
    EXPECT_TRUE(texts.contains(QStringLiteral("签核栏1")));
    EXPECT_FALSE(texts.contains(QStringLiteral("0001"))) << "no line number";
    // The footer took the line's room: the end band sits three lines below the header.
    const QRect header = pages->FindText(1, QStringLiteral("0002")).Box;
    const QRect end = pages->FindText(1, QStringLiteral("签核栏1")).Box;
    const int lineUnits = static_cast<int>(std::lround(slip.Report()->PixelsToUnits(detailHeight)));
    EXPECT_NEAR(end.top() - header.top(),
        static_cast<int>(std::lround(slip.Report()->PixelsToUnits(60))) + 3 * lineUnits, 2);
}

TEST(SlipPagingTest, EachSlipStartsOnItsOwnPageWithItsOwnNumbers)
{
    SlipHarness slip(3);
    slip.AddSlip(QStringLiteral("0001"), 3);
    slip.AddSlip(QStringLiteral("0002"), 5);
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(linesOn(*pages, 1), QStringList({"line 1", "line 2", "line 3"}));
    EXPECT_TRUE(PageTexts(*pages, 1).contains(QStringLiteral("0001")));
    EXPECT_FALSE(PageTexts(*pages, 1).contains(QStringLiteral("接下页...")));
    EXPECT_TRUE(PageTexts(*pages, 2).contains(QStringLiteral("0002")));
    EXPECT_TRUE(PageTexts(*pages, 2).contains(QStringLiteral("接下页...")));
    EXPECT_EQ(linesOn(*pages, 3), QStringList({"line 4", "line 5"}));
    // Line numbers start over with each slip.
    EXPECT_TRUE(PageTexts(*pages, 2).contains(QStringLiteral("0001")));
}

TEST(SlipPagingTest, HalfPageStylePutsTwoReportPagesOnASheet)
{
    SlipHarness slip(3, true);
    slip.AddSlip(QStringLiteral("0001"), 7);
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->SheetCount(), 2);
    EXPECT_TRUE(pages->HalfPage());
    EXPECT_EQ(pages->SheetSize().height(), 2 * pages->PageHeight());
    // Letter length 279.4 mm: each half is 139.7 mm.
    EXPECT_EQ(pages->PageHeight(), 13970);
    EXPECT_EQ(linesOn(*pages, 3), QStringList({"line 7"}));
}

// Against a model of slip paging: a slip of n lines at L lines a page fills
// ceil(n / L) pages (one for a slip without lines), and line i lands on page
// (i - 1) / L + 1 of its slip.
TEST(SlipPagingTest, RandomSlipsPageAsTheModelSays)
{
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 random(seed);
        const int perPage = std::uniform_int_distribution<int>(2, 5)(random);
        const int slips = std::uniform_int_distribution<int>(1, 6)(random);
        SlipHarness slip(perPage);
        QList<QStringList> expected;
        for (int s = 0; s < slips; ++s) {
            const int lines = std::uniform_int_distribution<int>(0, 12)(random);
            slip.AddSlip(QStringLiteral("%1").arg(s, 4, 10, QChar(u'0')), lines);
            const int pageCount = std::max(1, (lines + perPage - 1) / perPage);
            for (int p = 0; p < pageCount; ++p) {
                QStringList page;
                for (int i = p * perPage + 1; i <= std::min(lines, (p + 1) * perPage); ++i)
                    page << QStringLiteral("line %1").arg(i);
                expected << page;
            }
        }
        const auto pages = slip.Run();
        ASSERT_EQ(pages->PageCount(), expected.size())
            << "seed " << seed << ", " << perPage << " lines a page";
        for (int p = 0; p < expected.size(); ++p)
            EXPECT_EQ(linesOn(*pages, p + 1), expected[p]) << "seed " << seed << ", page " << p + 1;
    }
}
