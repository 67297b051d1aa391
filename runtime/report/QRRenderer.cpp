#include "runtime/report/QRRenderer.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <cmath>

namespace {

// One point is 2540/72 units (hundredths of a millimetre).
constexpr double unitsPerPoint = 2540.0 / 72.0;

QPen penOf(const TQRShapeStyle& style, double scale)
{
    if (style.PenStyle == Qt::NoPen)
        return QPen(Qt::NoPen);
    QPen pen(QColor::fromRgba(style.PenColor));
    pen.setWidthF(std::max(1.0, style.PenWidth * scale));
    pen.setStyle(style.PenStyle);
    return pen;
}

} // namespace

TQRRenderer::TQRRenderer(std::shared_ptr<const TQRPageModel> model)
    : model_(std::move(model))
{
}

const TQRRenderer::FontEntry& TQRRenderer::fontFor(int style, double pixelSize, const QPaintDevice* device)
{
    // Point sizes follow the device's resolution, so the font matches the
    // pixel size on screens, pictures and printers alike; the same pixel
    // size on devices of other resolutions is another font.
    const int dpi = device ? device->logicalDpiY() : 96;
    const quint64 key = (static_cast<quint64>(style) << 48) | (static_cast<quint64>(dpi & 0xFFFF) << 32)
        | static_cast<quint32>(std::lround(pixelSize * 64));
    auto found = fonts_.find(key);
    if (found != fonts_.end())
        return *found;
    const TQRTextStyle& s = model_->TextStyle(style);
    FontEntry entry;
    entry.font = QFont(s.Family);
    entry.font.setPointSizeF(std::max(0.5, pixelSize * 72.0 / dpi));
    entry.font.setBold(s.Bold);
    entry.font.setItalic(s.Italic);
    entry.font.setUnderline(s.Underline);
    entry.font.setStrikeOut(s.StrikeOut);
    entry.metrics.emplace(entry.font, device);
    return *fonts_.insert(key, std::move(entry));
}

void TQRRenderer::paintText(
    QPainter& painter, const TQRItem& item, QStringView text, const QRectF& box, double scale)
{
    const TQRTextStyle& style = model_->TextStyle(item.style);
    const FontEntry& entry = fontFor(item.style, style.PointSize * unitsPerPoint * scale, painter.device());
    if (item.flags & TQRItem::Opaque)
        painter.fillRect(box, QColor::fromRgba(item.extra));
    painter.setFont(entry.font);
    painter.setPen(QColor::fromRgba(style.Color));
    const QString string = text.toString();
    if (item.flags & TQRItem::WordWrap) {
        paintWrapped(painter, item, entry, string, box);
        return;
    }
    // One line: placed by its advance and drawn at the baseline, which
    // costs far less than a layout per text.
    const int align = item.flags & TQRItem::AlignMask;
    const QFontMetricsF& metrics = *entry.metrics;
    const double advance = align == TQRItem::AlignLeft && (item.flags & TQRItem::NoClip)
        ? 0
        : metrics.horizontalAdvance(string);
    double x = box.x();
    if (align == TQRItem::AlignRight)
        x = box.right() - advance;
    else if (align == TQRItem::AlignCenter)
        x = box.x() + (box.width() - advance) / 2;
    // Only a text that does not fit pays for a clip (in a PDF each clip is
    // a saved graphics state).
    const bool clip = !(item.flags & TQRItem::NoClip)
        && (advance > box.width() + 0.5 || metrics.height() > box.height() + 0.5);
    if (clip) {
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
    }
    painter.drawText(QPointF(x, box.y() + metrics.ascent()), string);
    if (clip)
        painter.restore();
}

void TQRRenderer::paintWrapped(
    QPainter& painter, const TQRItem& item, const FontEntry& entry, const QString& text, const QRectF& box)
{
    const int align = item.flags & TQRItem::AlignMask;
    const bool clip = !(item.flags & TQRItem::NoClip);
    QTextOption option(Qt::AlignTop
        | (align == TQRItem::AlignRight         ? Qt::AlignRight
                : align == TQRItem::AlignCenter ? Qt::AlignHCenter
                                                : Qt::AlignLeft));
    option.setWrapMode(QTextOption::WordWrap);
    QTextLayout layout(text, entry.font, painter.device());
    layout.setTextOption(option);
    // Lines are stacked as QPainter::drawText stacks them (leading above
    // each, on whole pixels), which is how the control measured its height.
    const double leading = std::max(0.0, entry.metrics->leading());
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(box.width());
        y = std::ceil(y + leading);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    if (clip) {
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
    }
    // A box that cuts shows the lines that fit; a line the box's bottom
    // would cut through is left out (the first line always shows, cut like
    // a single line). The box was measured at 96 dpi, and line heights
    // round differently at other sizes: a line may reach a quarter of its
    // height (its descent, mostly blank) past the bottom and still show.
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        if (clip && i > 0 && line.y() + line.height() > box.height() + std::max(0.5, line.height() / 4))
            break;
        line.draw(&painter, box.topLeft());
    }
    if (clip)
        painter.restore();
}

void TQRRenderer::PaintPage(QPainter& painter, int page, const QRectF& target)
{
    if (page < 1 || page > model_->PageCount())
        return;
    const double scale = target.width() / model_->PageWidth();
    const double scaleY = target.height() / model_->PageHeight();
    auto map = [&](const TQRItem& item) {
        return QRectF(
            target.x() + item.x * scale, target.y() + item.y * scaleY, item.w * scale, item.h * scaleY);
    };
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    for (const TQRItem& item : model_->Items(page)) {
        switch (item.kind) {
        case TQRItem::Text:
            paintText(painter, item, model_->ItemText(page, item), map(item), scale);
            break;
        case TQRItem::Line: {
            painter.setPen(penOf(model_->ShapeStyle(item.style), scale));
            const QPointF from(target.x() + item.x * scale, target.y() + item.y * scaleY);
            painter.drawLine(from, from + QPointF(item.w * scale, item.h * scaleY));
            break;
        }
        case TQRItem::Rect:
        case TQRItem::Ellipse: {
            const TQRShapeStyle& style = model_->ShapeStyle(item.style);
            painter.setPen(penOf(style, scale));
            painter.setBrush(style.Filled ? QBrush(QColor::fromRgba(style.BrushColor)) : QBrush(Qt::NoBrush));
            if (item.kind == TQRItem::Rect)
                painter.drawRect(map(item));
            else
                painter.drawEllipse(map(item));
            painter.setBrush(Qt::NoBrush);
            break;
        }
        case TQRItem::Image:
            painter.drawImage(map(item), model_->Image(item.style));
            break;
        }
    }
    painter.restore();
}

void TQRRenderer::PaintSheet(QPainter& painter, int sheet, const QRectF& target)
{
    if (!model_->HalfPage()) {
        PaintPage(painter, sheet, target);
        return;
    }
    const double half = target.height() / 2;
    PaintPage(painter, sheet * 2 - 1, QRectF(target.x(), target.y(), target.width(), half));
    PaintPage(painter, sheet * 2, QRectF(target.x(), target.y() + half, target.width(), half));
}

QSize TQRRenderer::SheetPixels(double dpi) const
{
    const QSize units = model_->SheetSize();
    return QSize(static_cast<int>(std::lround(units.width() * dpi / 2540.0)),
        static_cast<int>(std::lround(units.height() * dpi / 2540.0)));
}

namespace {

// A white picture of size at dpi that paint fills.
template<typename Paint> QImage picture(const QSize& size, double dpi, Paint paint)
{
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

} // namespace

QImage TQRRenderer::PageImage(int page, double dpi)
{
    const QSize size(static_cast<int>(std::lround(model_->PageWidth() * dpi / 2540.0)),
        static_cast<int>(std::lround(model_->PageHeight() * dpi / 2540.0)));
    return picture(
        size, dpi, [&](QPainter& painter, const QRectF& target) { PaintPage(painter, page, target); });
}

QImage TQRRenderer::SheetImage(int sheet, double dpi)
{
    return picture(SheetPixels(dpi), dpi,
        [&](QPainter& painter, const QRectF& target) { PaintSheet(painter, sheet, target); });
}
