// The slip layout's paging through its own band handlers: pages of a slip,
// "接下页..." and "以下空白//", notes and sign-off on the last page, hidden
// amounts, and what a layout that cannot run says.

#include "SlipFormFixture.h"

#include "format/PrintTexts.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRExpr.h"
#include "runtime/report/QRPrinter.h"

#include <QCoreApplication>

#include <gtest/gtest.h>
#include <random>

namespace {

const QString NextPage = QStringLiteral("接下页...");
const QString BlankBelow = QStringLiteral("以下空白//");
const QString SignIn = QStringLiteral("签核栏1");
const QString NoteLine = QStringLiteral("备注1");

} // namespace

TEST(SlipFormatTest, SevenLinesAtThreePerPageFillThreePagesWithTheirMarks)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 7);
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(slip.Form()->LinesPerPage(), 3);
    const QList<QStringList> lines {
        {"line 1", "line 2", "line 3"}, {"line 4", "line 5", "line 6"}, {"line 7"}};
    for (int page = 1; page <= 3; ++page) {
        const QStringList texts = TextsOn(*pages, page);
        EXPECT_EQ(TextsStartingWith(*pages, page, QStringLiteral("line ")), lines[page - 1])
            << "page " << page;
        // Page of slip and pages of slip in the header.
        EXPECT_TRUE(texts.contains(QString::number(page))) << "page " << page;
        EXPECT_TRUE(texts.contains(QStringLiteral("3"))) << "page " << page;
        EXPECT_EQ(texts.contains(NextPage), page < 3) << "page " << page;
        EXPECT_EQ(texts.contains(SignIn), page == 3) << "page " << page;
        EXPECT_EQ(texts.contains(NoteLine), page == 3) << "page " << page;
        EXPECT_EQ(texts.contains(BlankBelow), page == 3) << "page " << page;
    }
    // Line numbers go on across the pages of the slip; the counter counts every page.
    EXPECT_TRUE(TextsOn(*pages, 3).contains(QStringLiteral("0007")));
    EXPECT_EQ(slip.Form()->PrintCounter, 3);
    EXPECT_EQ(slip.Form()->PagesOfSlip(), 3);
}

TEST(SlipFormatTest, EveryPageSwitchesShowNotesAndSignOffOnEveryPage)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 7);
    slip.Form()->SetEveryPage(true, false, false);
    auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 3);
    for (int page = 1; page <= 3; ++page) {
        EXPECT_TRUE(TextsOn(*pages, page).contains(SignIn)) << "page " << page;
        EXPECT_EQ(TextsOn(*pages, page).contains(NoteLine), page == 3) << "page " << page;
    }
    slip.Form()->SetEveryPage(false, true, false);
    pages = slip.Run();
    for (int page = 1; page <= 3; ++page) {
        EXPECT_EQ(TextsOn(*pages, page).contains(SignIn), page == 3) << "page " << page;
        EXPECT_TRUE(TextsOn(*pages, page).contains(NoteLine)) << "page " << page;
    }
}

TEST(SlipFormatTest, AmountsOfTypeFourHideOnAllButTheSlipsLastPage)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 7, QStringLiteral("1234.5"));
    auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(TextsOn(*pages, 1).count(HiddenAmountText()), 3);
    EXPECT_EQ(TextsOn(*pages, 2).count(HiddenAmountText()), 3);
    EXPECT_EQ(TextsOn(*pages, 3).count(QStringLiteral("1234.5")), 1);
    EXPECT_FALSE(TextsOn(*pages, 3).contains(HiddenAmountText()));
    // Totals on every page: the amount everywhere.
    slip.Form()->SetEveryPage(false, false, true);
    pages = slip.Run();
    for (int page = 1; page <= 3; ++page)
        EXPECT_FALSE(TextsOn(*pages, page).contains(HiddenAmountText())) << "page " << page;
}

TEST(SlipFormatTest, LabelsDisabledInTheLayoutStayOffEveryPage)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 5);
    slip.Form()->lblNextPage->SetEnabled(false);
    slip.Form()->lblSignIn1->SetEnabled(false);
    slip.Form()->CaptureDesignStates();
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 2);
    for (int page = 1; page <= 2; ++page) {
        EXPECT_FALSE(TextsOn(*pages, page).contains(NextPage)) << "page " << page;
        EXPECT_FALSE(TextsOn(*pages, page).contains(SignIn)) << "page " << page;
    }
    EXPECT_TRUE(TextsOn(*pages, 2).contains(QStringLiteral("签核栏2")));
}

TEST(SlipFormatTest, SlipsStartOverWithTheirOwnPagesAndLineNumbers)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 3);
    slip.AddSlip(QStringLiteral("0002"), 4);
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_FALSE(TextsOn(*pages, 1).contains(NextPage)) << "a slip of one page";
    EXPECT_TRUE(TextsOn(*pages, 2).contains(QStringLiteral("0002")));
    EXPECT_TRUE(TextsOn(*pages, 2).contains(NextPage));
    EXPECT_TRUE(TextsOn(*pages, 2).contains(QStringLiteral("0001"))) << "line numbers start over";
    EXPECT_EQ(TextsStartingWith(*pages, 3, QStringLiteral("line ")), QStringList({"line 4"}));
}

// Against a model: a slip of n lines at L lines a page fills ceil(n / L)
// pages (one for a slip without lines); line i lands on page (i - 1) / L + 1
// of its slip, and only the slip's last page lacks "接下页...".
TEST(SlipFormatTest, RandomSlipsPageAsTheModelSays)
{
    for (unsigned seed = 1; seed <= 15; ++seed) {
        std::mt19937 random(seed);
        const int perPage = std::uniform_int_distribution<int>(2, 6)(random);
        const int slips = std::uniform_int_distribution<int>(1, 5)(random);
        SlipForm slip(perPage);
        QList<QStringList> expected;
        QList<bool> lastOfSlip;
        for (int s = 0; s < slips; ++s) {
            const int lines = std::uniform_int_distribution<int>(1, 14)(random);
            slip.AddSlip(QStringLiteral("S%1").arg(s), lines);
            const int count = (lines + perPage - 1) / perPage;
            for (int p = 0; p < count; ++p) {
                QStringList page;
                for (int i = p * perPage + 1; i <= std::min(lines, (p + 1) * perPage); ++i)
                    page << QStringLiteral("line %1").arg(i);
                expected << page;
                lastOfSlip << (p == count - 1);
            }
        }
        const auto pages = slip.Run();
        ASSERT_EQ(pages->PageCount(), expected.size()) << "seed " << seed << ", " << perPage << " a page";
        for (int p = 0; p < expected.size(); ++p) {
            EXPECT_EQ(TextsStartingWith(*pages, p + 1, QStringLiteral("line ")), expected[p])
                << "seed " << seed << " page " << p + 1;
            EXPECT_EQ(TextsOn(*pages, p + 1).contains(NextPage), !lastOfSlip[p])
                << "seed " << seed << " page " << p + 1;
        }
    }
}

TEST(SlipFormatTest, ASlipOfTenThousandLinesPrintsEveryLine)
{
    SlipForm slip(10);
    slip.AddSlip(QStringLiteral("0001"), 10000);
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    ASSERT_EQ(pages->PageCount(), 1000);
    EXPECT_EQ(TextsStartingWith(*pages, 1000, QStringLiteral("line ")).last(), QStringLiteral("line 10000"));
    EXPECT_TRUE(TextsOn(*pages, 1000).contains(QStringLiteral("1000")));
    EXPECT_FALSE(TextsOn(*pages, 1000).contains(NextPage));
    EXPECT_TRUE(TextsOn(*pages, 999).contains(NextPage));
}

TEST(SlipFormatTest, AGroupExpressionThatDoesNotParseStopsTheRunWithItsReason)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    slip.Form()->QRGroup->SetExpression(QStringLiteral("ClientDataSet1.TO001+("));
    try {
        slip.Run();
        FAIL() << "a run over a broken expression went on";
    } catch (const Exception& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    // The form stays usable: a sound expression runs again.
    slip.Form()->QRGroup->SetExpression(QStringLiteral("ClientDataSet1.TO001+ClientDataSet1.TO002"));
    ASSERT_TRUE(slip.Run());
}

TEST(SlipFormatTest, AFieldTheDataLacksPrintsNothingAndIsNamed)
{
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    auto* missing = new TQRDBText(slip.Form());
    missing->SetName(QStringLiteral("txtTO099"));
    missing->SetParent(slip.Form()->QRDetailBand);
    missing->SetBounds(450, 2, 60, 14);
    missing->SetDataField(QStringLiteral("TO099"));
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 1);
    EXPECT_EQ(TextsStartingWith(*pages, 1, QStringLiteral("line ")).size(), 2);
    EXPECT_TRUE(slip.Form()->QuickRep1->Warnings().join(u'\n').contains(QStringLiteral("TO099")));
}

TEST(SlipFormatTest, CaptionsByKindAndFooterLines)
{
    SlipForm slip;
    TfrmVRFormat* form = slip.Form();
    form->SetText(0, QStringLiteral("标准变更"));
    form->SetText(1, QStringLiteral("20241102"));
    form->SetText(2, QStringLiteral("--空白--"));
    form->SetText(3, QStringLiteral("续"));
    form->SetText(7, QStringLiteral("ignored"));
    EXPECT_EQ(form->lblVoucherName->Caption(), QStringLiteral("标准变更"));
    EXPECT_EQ(form->lblCreateDate1->Caption(), QStringLiteral("20241102"));
    EXPECT_EQ(form->lblNoData->Caption(), QStringLiteral("--空白--"));
    EXPECT_EQ(form->lblNextPage->Caption(), QStringLiteral("续"));
    form->SetFooterLines({QStringLiteral("a")});
    EXPECT_EQ(form->lblNote1->Caption(), QStringLiteral("a"));
    EXPECT_EQ(form->lblNote2->Caption(), QString()) << "a missing line leaves the caption empty";
    form->DateType = 1;
    form->DateSeparator = QStringLiteral("-");
    slip.AddSlip(QStringLiteral("0001"), 1);
    const auto pages = slip.Run();
    EXPECT_TRUE(TextsOn(*pages, 1).contains(QStringLiteral("2024-11-02")))
        << TextsOn(*pages, 1).join(u'|').toStdString();
}

TEST(SlipFormatTest, AFormFreedWhileItsPreviewIsStillGeneratingStopsTheRun)
{
    auto slip = std::make_unique<SlipForm>(10);
    slip->AddSlip(QStringLiteral("0001"), 5000);
    TQRPrinter* printer = slip->Form()->QuickRep1->QRPrinter();
    ASSERT_TRUE(printer->GenerateAhead());
    ASSERT_TRUE(printer->Generating()) << "the rest is still to come from the event loop";
    const auto pages = slip->Form()->QuickRep1->Pages();
    slip.reset();
    // The slices the event loop would have run find no report to generate.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_LT(pages->PageCount(), 500);
}
