#pragma once
// Paints pages of a page model onto any QPainter: the preview at any zoom, a
// printer, a picture at any resolution, a PDF writer. Every output of the
// engine goes through here, so they all show the same page.
//
// The renderer maps a page (or a sheet, see QRPageModel.h) onto a target
// rectangle in the painter's device coordinates; fonts are sized for the
// painter's device, so text is as sharp as the device allows. It keeps a
// cache of fonts and scaled pictures for the model it was made for: use one
// renderer per output, not per page. The model must outlive the renderer.
//
// Texts keep to their boxes on every painter and at every scale: a text
// item without NoClip is painted through its box, and a word-wrapped one
// shows only the lines that fit the box's height whole (at least the
// first). NoClip texts (auto-size controls, bar-code captions) may run past
// their box: one line beyond its width, wrapped lines below its bottom.

#include "runtime/report/QRPageModel.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPixmap>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

class TQRRenderer {
public:
    explicit TQRRenderer(std::shared_ptr<const TQRPageModel> model);

    const TQRPageModel& Model() const { return *model_; }
    // Report page page (from 1) into target.
    void PaintPage(QPainter& painter, int page, const QRectF& target);
    // Sheet sheet (from 1) into target: its one page, or its two half pages.
    void PaintSheet(QPainter& painter, int sheet, const QRectF& target);
    // A white picture of a report page or of a sheet at dpi dots per inch.
    QImage PageImage(int page, double dpi);
    QImage SheetImage(int sheet, double dpi);
    // The size of a sheet at dpi, in whole pixels.
    QSize SheetPixels(double dpi) const;

private:
    struct FontEntry {
        QFont font;
        std::optional<QFontMetricsF> metrics;
    };
    const FontEntry& fontFor(int style, double pixelSize, const QPaintDevice* device);
    void paintText(QPainter& painter, const TQRItem& item, QStringView text, const QRectF& box, double scale);
    void paintWrapped(QPainter& painter, const TQRItem& item, const FontEntry& entry, const QString& text,
        const QRectF& box);

    std::shared_ptr<const TQRPageModel> model_;
    // Keyed by style, device resolution and pixel size (in 1/64 pixels).
    QHash<quint64, FontEntry> fonts_;
};
