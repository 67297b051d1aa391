#pragma once
// The pages of a report run: drawing primitives in device-independent units
// (hundredths of a millimetre, "units" below), which every output paints
// through one renderer (QRRenderer.h) and tests read directly.
//
// A page holds items of 32 bytes each (text, line, rectangle, ellipse, image)
// and one text buffer the text items point into; text styles, shape styles
// and images are kept once per model and shared by index, so a page of a few
// hundred fields stays a few kilobytes. Items are in paint order.
//
// Pages are appended while a run goes on; PageCount() grows, and a page once
// added never changes. Report pages and sheets: with the half-page style two
// report pages share one sheet (page 2k-1 on the upper half of sheet k, page
// 2k on the lower half); otherwise sheet k is page k. Page and sheet numbers
// count from 1.

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

struct TQRTextStyle {
    QString Family;
    double PointSize = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    QRgb Color = 0xFF000000;
    bool operator==(const TQRTextStyle&) const = default;
};

struct TQRShapeStyle {
    QRgb PenColor = 0xFF000000;
    int PenWidth = 26; // units (one 96-dpi pixel)
    Qt::PenStyle PenStyle = Qt::SolidLine;
    QRgb BrushColor = 0xFFFFFFFF;
    bool Filled = false;
    bool operator==(const TQRShapeStyle&) const = default;
};

struct TQRItem {
    enum Kind : std::uint8_t { Text, Line, Rect, Ellipse, Image };
    // Text flags.
    enum Flag : std::uint8_t {
        AlignLeft = 0,
        AlignRight = 1,
        AlignCenter = 2,
        AlignMask = 3,
        WordWrap = 4,
        NoClip = 8,
        Opaque = 16
    };
    Kind kind = Text;
    std::uint8_t flags = 0;
    // Text: text style; Line/Rect/Ellipse: shape style; Image: image.
    std::uint16_t style = 0;
    // Line: from (x, y) to (x + w, y + h). Others: the box.
    std::int32_t x = 0, y = 0, w = 0, h = 0;
    // Text: where the text lies in the page's buffer. Opaque text: the
    // background colour in extra.
    std::uint32_t text = 0, length = 0;
    std::uint32_t extra = 0;

    QRect Box() const { return QRect(x, y, w, h); }
};
static_assert(sizeof(TQRItem) <= 36);

class TQRPageModel {
public:
    // A page of width x height units; half-page models put two on a sheet.
    TQRPageModel(int pageWidth, int pageHeight, bool halfPage = false);

    int PageWidth() const { return width_; }
    int PageHeight() const { return height_; }
    bool HalfPage() const { return halfPage_; }
    // Sheet size: the page, or twice its height for half pages.
    QSize SheetSize() const { return QSize(width_, halfPage_ ? height_ * 2 : height_); }

    // Building: style and image tables first, then items of the open page.
    int TextStyleIndex(const TQRTextStyle& style);
    int ShapeStyleIndex(const TQRShapeStyle& style);
    // Images are shared: the same image (same cache key) gets the same index.
    int ImageIndex(const QImage& image);
    const TQRTextStyle& TextStyle(int index) const { return textStyles_[static_cast<size_t>(index)]; }
    const TQRShapeStyle& ShapeStyle(int index) const { return shapeStyles_[static_cast<size_t>(index)]; }
    const QImage& Image(int index) const { return images_[static_cast<size_t>(index)]; }
    int TextStyleCount() const { return static_cast<int>(textStyles_.size()); }

    // Opens a new page; the items below go to it.
    void BeginPage();
    void AddText(const QRect& box, QStringView text, int style, std::uint8_t flags, QRgb background = 0);
    void AddLine(QPoint from, QPoint to, int style);
    void AddRect(const QRect& box, int style);
    void AddEllipse(const QRect& box, int style);
    void AddImage(const QRect& box, int image);
    // Closes the open page: it becomes visible to PageCount() and readers.
    void EndPage();
    bool PageOpen() const { return open_; }
    // Drops the open page (a cancelled run).
    void DiscardPage();

    // Reading.
    int PageCount() const { return static_cast<int>(pages_.size()); }
    int SheetCount() const { return halfPage_ ? (PageCount() + 1) / 2 : PageCount(); }
    const std::vector<TQRItem>& Items(int page) const
    {
        return pages_.at(static_cast<size_t>(page - 1)).items;
    }
    QStringView ItemText(int page, const TQRItem& item) const;

    struct TextAt {
        QString Text;
        QRect Box;
    };
    // The texts of a page in paint order, for tests and text export.
    QList<TextAt> Texts(int page) const;
    // The first text item of the page equal to text; Box empty when none.
    TextAt FindText(int page, const QString& text) const;
    // Bytes the page holds (items and text), the shared tables not counted.
    std::size_t PageBytes(int page) const;
    // Bytes of the shared tables (styles, images).
    std::size_t SharedBytes() const;

private:
    struct Page {
        std::vector<TQRItem> items;
        QString text;
    };
    int width_;
    int height_;
    bool halfPage_;
    std::vector<TQRTextStyle> textStyles_;
    std::vector<TQRShapeStyle> shapeStyles_;
    std::vector<QImage> images_;
    std::vector<Page> pages_;
    Page current_;
    bool open_ = false;
};
