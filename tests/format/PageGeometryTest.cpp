#include "format/PageGeometry.h"

#include <QList>
#include <QString>
#include <gtest/gtest.h>

namespace {

// Letter paper (215.9 x 279.4 mm) with margins of 10 mm left and 12.7 mm top.
TPageGeometryInput Letter(int page, int dpi = 96)
{
    TPageGeometryInput in;
    in.Page = page;
    in.Resolution = dpi;
    in.PaperWidth = 2159;
    in.PaperLength = 2794;
    in.LeftMargin = 10;
    in.TopMargin = 12.7;
    return in;
}

} // namespace

TEST(PageGeometry, WholePagesFillThePaper)
{
    const TPageGeometry at96 = PictureGeometry(Letter(3));
    EXPECT_EQ(at96.PictureSize, QSize(816, 1056));
    EXPECT_EQ(at96.ReportPage, 3);
    EXPECT_EQ(at96.PageRect, QRect(0, 0, 816, 1056));
    // A fax renders at 200 dpi; a resolution below 1 means 96.
    EXPECT_EQ(PictureGeometry(Letter(1, 200)).PictureSize, QSize(1700, 2200));
    EXPECT_EQ(PictureGeometry(Letter(1, 0)).PictureSize, QSize(816, 1056));
}

TEST(PageGeometry, MarginsNotKeptMoveThePageUpAndLeft)
{
    TPageGeometryInput in = Letter(1);
    in.KeepLeftMargin = false;
    in.KeepTopMargin = false;
    const TPageGeometry g = PictureGeometry(in);
    // 10 mm and 12.7 mm at 96 dpi: 37.8 and 48 pixels.
    EXPECT_EQ(g.PageRect, QRect(-38, -48, 816, 1056));
    EXPECT_EQ(g.PictureSize, QSize(816, 1056));
}

TEST(PageGeometry, HalfPagesTakeTheUpperOrLowerHalf)
{
    TPageGeometryInput in = Letter(3);
    in.HalfPage = true;
    in.KeepTopMargin = false;
    const TPageGeometry upper = PictureGeometry(in);
    EXPECT_EQ(upper.ReportPage, 2);
    EXPECT_EQ(upper.PictureSize, QSize(816, 528 - 48));
    EXPECT_EQ(upper.PageRect, QRect(0, -48, 816, 1056));

    in.Page = 4;
    const TPageGeometry lower = PictureGeometry(in);
    EXPECT_EQ(lower.ReportPage, 2);
    EXPECT_EQ(lower.PictureSize, QSize(816, 528));
    EXPECT_EQ(lower.PageRect, QRect(0, -528, 816, 1056));
}

TEST(PageGeometry, ExportedPagesAndNames)
{
    EXPECT_EQ(ExportedPages(3, true, 6), (QList<int> {5, 6}));
    EXPECT_EQ(ExportedPages(3, true, 5), QList<int> {5});
    EXPECT_EQ(ExportedPages(3, false, 6), QList<int> {3});
    EXPECT_EQ(ExportedPages(7, false, 6), QList<int> {});

    EXPECT_EQ(NumberedName(QStringLiteral("P"), 1, 12), QStringLiteral("P01"));
    EXPECT_EQ(NumberedName(QStringLiteral("P"), 12, 12), QStringLiteral("P12"));
    EXPECT_EQ(NumberedName(QStringLiteral("P"), 9, 9), QStringLiteral("P9"));
    EXPECT_EQ(NumberedName(QStringLiteral("B_"), 7, 100), QStringLiteral("B_007"));
}
