#include "format/PageGeometry.h"

#include <QList>
#include <QString>
#include <cmath>

namespace {

// Millimetres (tenths, for the paper) to pixels at the resolution, rounded
// as the output has always rounded them.
int pixels(double tenthsOfMm, int dpi)
{
    return int(std::lround(tenthsOfMm / 254.0 * dpi));
}

} // namespace

TPageGeometry PictureGeometry(const TPageGeometryInput& in)
{
    const int dpi = in.Resolution < 1 ? 96 : in.Resolution;
    const int shiftX = in.KeepLeftMargin ? 0 : pixels(in.LeftMargin * 10, dpi);
    const int shiftY = in.KeepTopMargin ? 0 : pixels(in.TopMargin * 10, dpi);
    const int width = pixels(in.PaperWidth, dpi);
    const int length = pixels(in.PaperLength, dpi);

    TPageGeometry out;
    int height = length;
    int offset = -shiftY;
    out.ReportPage = in.Page;
    if (in.HalfPage) {
        out.ReportPage = (in.Page + 1) / 2;
        height = length / 2;
        if (in.Page % 2 == 1) {
            height -= shiftY;
        } else {
            offset = -height;
        }
    }
    out.PictureSize = QSize(width, std::max(height, 0));
    out.PageRect = QRect(-shiftX, offset, width, length);
    return out;
}

QList<int> ExportedPages(int shownPage, bool halfPage, int pageCount)
{
    QList<int> pages;
    const int first = halfPage ? 2 * shownPage - 1 : shownPage;
    const int last = std::min(halfPage ? 2 * shownPage : shownPage, pageCount);
    for (int page = std::max(first, 1); page <= last; ++page)
        pages << page;
    return pages;
}

QString NumberedName(const QString& prefix, int page, int count)
{
    const int width = int(QString::number(std::max(count, 1)).size());
    return prefix + QStringLiteral("%1").arg(page, width, 10, QLatin1Char('0'));
}
