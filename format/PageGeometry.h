#pragma once
// Where a report page lands in a page picture.
//
// In: the logical page n (from 1), the resolution (dots per inch; 96 when
// below 1), the paper width and length of the printer (tenths of a
// millimetre), the report's left and top margins (millimetres), whether the
// picture keeps those margins, and whether the report prints half pages.
//
// Out: the picture's size in pixels, the report page to draw and the
// rectangle to stretch that page into (it may start left of or above the
// picture: that part is cut off).
// - Margins not kept shift the page left and up by the margin in pixels.
// - Half pages: logical page n is the upper half of report page (n + 1) / 2
//   when n is odd (the picture loses the top shift from its height, the page
//   moves up by it), the lower half when n is even (the page moves up by the
//   picture's height). A picture is half the paper long.
// - Whole pages: report page n, the paper's full length, moved up by the top shift.

#include <QRect>
#include <QSize>

struct TPageGeometryInput {
    int Page = 1;
    int Resolution = 96;
    double PaperWidth = 0; // tenths of a millimetre
    double PaperLength = 0; // tenths of a millimetre
    double LeftMargin = 0; // millimetres
    double TopMargin = 0; // millimetres
    bool KeepLeftMargin = true;
    bool KeepTopMargin = true;
    bool HalfPage = false;
};

struct TPageGeometry {
    QSize PictureSize;
    int ReportPage = 1;
    QRect PageRect; // in picture pixels
};

TPageGeometry PictureGeometry(const TPageGeometryInput& in);

// The report pages a shown preview page exports: p alone, or 2p - 1 and 2p
// on a half-page report; none past the last page.
QList<int> ExportedPages(int shownPage, bool halfPage, int pageCount);

// Page i of count as a file name: prefix + i padded with "0" to the width of
// count ("P01" .. "P12"; "P1" .. "P9").
QString NumberedName(const QString& prefix, int page, int count);
