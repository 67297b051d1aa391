// Texts keep to their boxes: a field without AutoSize is cut at its box and
// a word-wrapped one shows only the lines that fit its height, on a picture
// at 100 % and at 200 % (as the preview paints a zoomed sheet), on a picture
// of twice the resolution, and in the vector PDF.

#include "ReportFixture.h"

#include "runtime/report/QRPrinter.h"
#include "runtime/report/QRRenderer.h"

#include "support/TestSupport.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace reporttest;

namespace {

const QString slipNumber = QStringLiteral("A220-20241000118-0002");
const QString longName = QStringLiteral("江苏省南京市电子元件有限公司第二分厂");

int inkIn(const QImage& image, const QRect& area)
{
    int ink = 0;
    const QRect clipped = area.intersected(image.rect());
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                ++ink;
    return ink;
}

// A box in units as pixels of a sheet painted scale pixels per 96-dpi pixel.
QRect pixelsOf(const QRect& units, double scale)
{
    const double f = 96.0 / 2540.0 * scale;
    return QRect(QPoint(int(std::floor(units.x() * f)), int(std::floor(units.y() * f))),
        QPoint(int(std::ceil((units.x() + units.width()) * f)) - 1,
            int(std::ceil((units.y() + units.height()) * f)) - 1));
}

// The sheet as the preview paints it at zoom: a 96-dpi device, the sheet's
// rectangle zoom times its real size.
QImage previewPicture(TQRRenderer& renderer, double zoom)
{
    const QSize size = renderer.SheetPixels(96 * zoom);
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.PaintSheet(painter, 1, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

class TextClipTest : public ::testing::Test {
protected:
    TextClipTest()
        : source_({"NO", "NAME", "ORDER"})
    {
        source_.AddRow({slipNumber, longName, slipNumber});
        report_ = MakeReport();
        report_->SetDataSource(&source_);
        auto* detail = AddBand(report_.get(), "Detail", 80);
        // One line, a box narrower than the number, the next column after it.
        number_ = AddField(detail, "NO", 20, 0);
        number_->SetAutoSize(false);
        number_->SetWordWrap(false);
        number_->SetWidth(70);
        number_->SetHeight(17);
        // Wrapped in a box one and a half lines high.
        name_ = AddField(detail, "NAME", 200, 0);
        name_->SetAutoSize(false);
        name_->SetWordWrap(true);
        name_->SetWidth(90);
        // Wrapped, but one word that cannot be broken (no break before digits).
        order_ = AddField(detail, "ORDER", 360, 0);
        order_->SetAutoSize(false);
        order_->SetWordWrap(true);
        order_->SetWidth(70);
        order_->SetHeight(17);
        for (TQRDBText* text : {number_, name_, order_}) {
            text->Font()->SetName("SimSun");
            text->Font()->SetSize(12);
        }
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(3780);
        device.setDotsPerMeterY(3780);
        QFont font(QStringLiteral("SimSun"));
        font.setPointSize(12);
        lineHeight_ = QFontMetricsF(font, &device).height();
        name_->SetHeight(int(std::lround(lineHeight_ * 1.5)));
    }

    // Ink outside the boxes, and ink of a second line inside the name's box.
    void expectTextsInTheirBoxes(const QImage& image, double scale, const char* where)
    {
        const QRect number = pixelsOf(report_->Pages()->FindText(1, slipNumber).Box, scale);
        const QRect name = pixelsOf(report_->Pages()->FindText(1, longName).Box, scale);
        ASSERT_FALSE(number.isEmpty());
        ASSERT_FALSE(name.isEmpty());
        EXPECT_GT(inkIn(image, number), 0) << where << ": the number shows";
        EXPECT_GT(inkIn(image, name), 0) << where << ": the name shows";
        // Right of the number's box, up to the name: the next column is blank.
        const QRect afterNumber(
            QPoint(number.right() + 2, number.top()), QPoint(name.left() - 2, number.bottom()));
        EXPECT_EQ(inkIn(image, afterNumber), 0) << where << ": the number runs past its box";
        const QRect belowNumber(
            QPoint(number.left(), number.bottom() + 2), QPoint(number.right(), name.bottom()));
        EXPECT_EQ(inkIn(image, belowNumber), 0) << where;
        // The unbreakable number in its wrapped box is cut at the box too.
        const QRect order = pixelsOf(report_->Pages()->Texts(1).last().Box, scale);
        EXPECT_GT(inkIn(image, order), 0) << where;
        EXPECT_EQ(inkIn(image,
                      QRect(QPoint(order.right() + 2, order.top()),
                          QPoint(order.right() + int(60 * scale), order.bottom()))),
            0)
            << where << ": the wrapped number runs past its box";
        // Right of and below the name's box.
        const QRect afterName(
            QPoint(name.right() + 2, name.top()), QPoint(name.right() + int(60 * scale), name.bottom()));
        EXPECT_EQ(inkIn(image, afterName), 0) << where << ": the name runs past its box";
        const QRect belowName(
            QPoint(name.left(), name.bottom() + 2), QPoint(name.right(), name.bottom() + int(40 * scale)));
        EXPECT_EQ(inkIn(image, belowName), 0) << where << ": wrapped lines run below the box";
        // Inside the box, below the first whole line: no piece of the second.
        const QRect secondLine(
            QPoint(name.left(), name.top() + int(std::ceil(lineHeight_ * scale)) + 2), name.bottomRight());
        EXPECT_EQ(inkIn(image, secondLine), 0) << where << ": a piece of the second line shows";
    }

    TQRMemorySource source_;
    std::unique_ptr<TQuickRep, FreeComponent> report_;
    TQRDBText* number_ = nullptr;
    TQRDBText* name_ = nullptr;
    TQRDBText* order_ = nullptr;
    double lineHeight_ = 0;
};

} // namespace

TEST_F(TextClipTest, FieldsKeepToTheirBoxesInTheScreenAndInPictures)
{
    ASSERT_TRUE(report_->Prepare());
    TQRRenderer* renderer = report_->QRPrinter()->Renderer();
    ASSERT_NE(renderer, nullptr);
    expectTextsInTheirBoxes(previewPicture(*renderer, 1.0), 1.0, "zoom 100");
    expectTextsInTheirBoxes(previewPicture(*renderer, 2.0), 2.0, "zoom 200");
    expectTextsInTheirBoxes(previewPicture(*renderer, 1.5), 1.5, "zoom 150");
    // A picture at twice the resolution: the fonts are sized for its dpi,
    // also after the same pixel size was painted on the 96-dpi screen, and
    // the screen after it.
    expectTextsInTheirBoxes(report_->QRPrinter()->SheetImage(1, 192), 2.0, "192 dpi");
    expectTextsInTheirBoxes(previewPicture(*renderer, 2.0), 2.0, "zoom 200 after 192 dpi");
}

TEST_F(TextClipTest, AStretchedBoxShowsEveryLineAtEveryZoom)
{
    // The band grows by what the wrapped name needs: every line is whole.
    name_->SetAutoStretch(true);
    ASSERT_TRUE(report_->Prepare());
    const QRect units = report_->Pages()->FindText(1, longName).Box;
    ASSERT_GT(units.height() * 96.0 / 2540.0, 2.5 * lineHeight_) << "the name takes three lines or more";
    TQRRenderer* renderer = report_->QRPrinter()->Renderer();
    for (double zoom : {1.0, 1.5, 2.0, 0.75}) {
        const QImage image = previewPicture(*renderer, zoom);
        const QRect box = pixelsOf(units, zoom);
        const QRect lastLine(
            QPoint(box.left(), box.bottom() - int(lineHeight_ * zoom) + 1), box.bottomRight());
        EXPECT_GT(inkIn(image, lastLine), 0) << "zoom " << zoom << ": the last line shows";
        EXPECT_EQ(
            inkIn(image, QRect(QPoint(box.right() + 2, box.top()), QPoint(box.right() + 40, box.bottom()))),
            0);
    }
}

TEST_F(TextClipTest, AutoSizeTextsAreNeverCut)
{
    number_->SetAutoSize(true);
    name_->SetAutoSize(true);
    ASSERT_TRUE(report_->Prepare());
    const QImage image = report_->QRPrinter()->SheetImage(1, 96);
    const QRect number = pixelsOf(report_->Pages()->FindText(1, slipNumber).Box, 1);
    const QRect name = pixelsOf(report_->Pages()->FindText(1, longName).Box, 1);
    EXPECT_GT(inkIn(image,
                  QRect(QPoint(number.right() + 2, number.top()), QPoint(name.left() - 2, number.bottom()))),
        0)
        << "the one-line number runs on past its box";
    EXPECT_GT(
        inkIn(image, QRect(QPoint(name.left(), name.bottom() + 2), QPoint(name.right(), name.bottom() + 60))),
        0)
        << "the wrapped name goes on below its box";
}

TEST_F(TextClipTest, TheVectorPdfCutsAsThePicturesDo)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    testsupport::TempFolder folder;
    ASSERT_TRUE(report_->Prepare());
    const QString pdf = folder.file(QStringLiteral("clip.pdf"));
    ASSERT_TRUE(report_->QRPrinter()->ExportPdf(pdf));
    // 192 dpi: twice the preview's 100 %.
    QProcess raster;
    raster.start(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QStringLiteral("192"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
            pdf, folder.file(QStringLiteral("clip"))});
    ASSERT_TRUE(raster.waitForFinished(30000));
    const QImage image(folder.file(QStringLiteral("clip.png")));
    ASSERT_FALSE(image.isNull()) << raster.readAllStandardError().toStdString();
    expectTextsInTheirBoxes(image.convertToFormat(QImage::Format_RGB32), 2.0, "PDF at 192 dpi");
}
