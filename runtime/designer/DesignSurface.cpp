#include "runtime/designer/DesignSurface.h"

#include "runtime/designer/DCFormDesigner.h"
#include "runtime/forms/Persistent.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QuickRpt.h"

#include <QDragEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMetaEnum>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace {

QString bandCaption(const TQRCustomBand* band)
{
    const QString kind
        = QString::fromLatin1(QMetaEnum::fromType<Qrpt::TQRBandType>().valueToKey(band->BandType()));
    QString text = band->Name() + QStringLiteral("  ") + kind;
    if (!band->Enabled() || !band->Visible())
        text += QStringLiteral("  (hidden)");
    return text;
}

void paintControl(QPainter& p, const TControl* c, const QRect& r)
{
    const bool shown = c->Enabled() && c->Visible();
    if (const auto* shape = qobject_cast<const TQRShape*>(c)) {
        p.setPen(QPen(shown ? Qt::black : Qt::gray, 1));
        p.setBrush(Qt::NoBrush);
        if (shape->Shape() == Qrpt::qrsHorLine)
            p.drawLine(r.left(), r.center().y(), r.right(), r.center().y());
        else if (shape->Shape() == Qrpt::qrsVertLine)
            p.drawLine(r.center().x(), r.top(), r.center().x(), r.bottom());
        else
            p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    if (!shown)
        p.fillRect(r, QBrush(QColor(200, 200, 200), Qt::BDiagPattern));
    p.setPen(QPen(QColor(160, 160, 160), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    // Each kind of report control says what it shows here (its caption,
    // field or expression); anything else is an empty box.
    const auto* printable = qobject_cast<const TQRPrintable*>(c);
    const QString text = printable ? printable->DesignText() : QString();
    if (text.isEmpty())
        return;
    p.setFont(c->Font()->ToQFont());
    p.setPen(shown ? ColorToQColor(c->Font()->Color()) : QColor(Qt::gray));
    int flags = Qt::AlignVCenter | Qt::TextSingleLine;
    const TAlignment align = printable->Alignment();
    flags |= align == taRightJustify ? Qt::AlignRight : align == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    p.drawText(r.adjusted(1, 0, -1, 0), flags, text);
}

} // namespace

TDesignSurface::TDesignSurface(TDCFormDesigner* designer, QWidget* parent)
    : QWidget(parent)
    , designer_(designer)
{
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setMouseTracking(true);
    setAutoFillBackground(false);
    connect(designer_, &TDCFormDesigner::Modified, this, &TDesignSurface::layoutChanged);
    connect(designer_, &TDCFormDesigner::SelectionChanged, this, qOverload<>(&QWidget::update));
    resize(sizeHint());
}

QSize TDesignSurface::sizeHint() const
{
    return designer_->SurfaceSize();
}

void TDesignSurface::layoutChanged()
{
    if (size() != sizeHint())
        resize(sizeHint());
    update();
}

void TDesignSurface::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect dirty = event->rect();
    p.fillRect(dirty, QColor(128, 128, 128));
    const int grid = designer_->GridSize();
    for (TQRCustomBand* band : designer_->Bands()) {
        const QRect caption = designer_->CaptionRect(band);
        const QRect body = designer_->BandRect(band);
        if (!caption.united(body).intersects(dirty))
            continue;
        p.fillRect(caption, QColor(232, 232, 216));
        p.setPen(Qt::black);
        p.setFont(font());
        p.drawText(caption.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, bandCaption(band));
        p.fillRect(body, Qt::white);
        // Grid dots every fourth step keep the page calm at the default grid.
        const int step = grid * 4;
        p.setPen(QColor(210, 210, 210));
        for (int y = body.top(); y < body.bottom(); y += step)
            for (int x = body.left(); x < body.right(); x += step)
                p.drawPoint(x, y);
        p.save();
        p.setClipRect(body);
        for (TControl* c : band->ControlList()) {
            const QRect r = designer_->ControlRect(c);
            if (r.intersects(dirty))
                paintControl(p, c, r);
        }
        p.restore();
    }
    p.setPen(QColor(0, 0, 128));
    p.setBrush(QColor(0, 0, 128));
    for (TControl* c : designer_->GetSelectedComponents())
        for (const QRect& h : designer_->HandleRects(c))
            if (h.intersects(dirty))
                p.drawRect(h.adjusted(0, 0, -1, -1));
    if (rubberBanding_) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
        p.drawRect(rubber_.normalized());
    }
}

QImage TDesignSurface::Render()
{
    QImage image(sizeHint(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    resize(sizeHint());
    QPainter p(&image);
    render(&p);
    return image;
}

void TDesignSurface::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    setFocus();
    if (event->button() == Qt::RightButton) {
        TControl* c = designer_->ControlAt(at);
        if (c && !designer_->IsSelected(c))
            designer_->SelectComponent(c);
        emit ContextMenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    pressAt_ = at;
    const bool add = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    const TDesignHandle handle = add ? TDesignHandle::None : designer_->HandleAt(at);
    if (handle != TDesignHandle::None) {
        designer_->BeginResize(handle);
        return;
    }
    if (TQRCustomBand* band = add ? nullptr : designer_->BandEdgeAt(at)) {
        designer_->BeginBandResize(band);
        return;
    }
    if (TControl* c = designer_->ControlAt(at)) {
        if (add) {
            designer_->ToggleSelection(c);
            return;
        }
        if (!designer_->IsSelected(c))
            designer_->SelectComponent(c);
        designer_->BeginMove();
        return;
    }
    if (!add)
        designer_->ClearSelection();
    rubberBanding_ = true;
    rubber_ = QRect(at, at);
}

void TDesignSurface::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (designer_->Dragging()) {
        const QPoint d = at - pressAt_;
        designer_->DragTo(d.x(), d.y());
    } else if (!(event->buttons() & Qt::LeftButton)) {
        // Over a band's bottom edge the cursor offers to size the band.
        const bool edge = designer_->BandEdgeAt(at) != nullptr;
        if (edge != (cursor().shape() == Qt::SizeVerCursor))
            setCursor(edge ? Qt::SizeVerCursor : Qt::ArrowCursor);
    } else if (rubberBanding_) {
        const QRect before = rubber_.normalized();
        rubber_.setBottomRight(at);
        update(before.united(rubber_.normalized()).adjusted(-2, -2, 2, 2));
    }
}

void TDesignSurface::mouseReleaseEvent(QMouseEvent* event)
{
    if (designer_->Dragging()) {
        designer_->EndDrag();
    } else if (rubberBanding_) {
        rubberBanding_ = false;
        const bool add = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        if (rubber_.normalized().width() > 2 || rubber_.normalized().height() > 2)
            designer_->SelectInRect(rubber_, add);
        update();
    }
}

void TDesignSurface::keyPressEvent(QKeyEvent* event)
{
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (KeyHook && KeyHook(event->key(), event->modifiers()))
        return;
    if (event->key() == Qt::Key_Delete) {
        emit DeleteRequested();
    } else if (event->key() == Qt::Key_Z && (event->modifiers() & Qt::ControlModifier)) {
        designer_->Undo();
    } else if (event->key() == Qt::Key_Escape) {
        designer_->CancelDrag();
        rubberBanding_ = false;
        update();
    } else if (!designer_->Nudge(event->key(), shift)) {
        QWidget::keyPressEvent(event);
    }
}

bool TDesignSurface::OfferDrop(TDesignDrop& drop, QPoint surface) const
{
    drop.Band = nullptr;
    for (TQRCustomBand* b : designer_->Bands())
        if (designer_->BandRect(b).contains(surface))
            drop.Band = b;
    // Only bands take drops.
    if (!drop.Band)
        return false;
    drop.BandPoint = surface - designer_->BandRect(drop.Band).topLeft();
    return !DropCheck || DropCheck(drop);
}

bool TDesignSurface::dropOf(const QMimeData* mime, QPoint at, TDesignDrop& drop) const
{
    if (!mime || !mime->hasFormat(QString::fromLatin1(DesignDropMimeType)))
        return false;
    const QStringList parts
        = QString::fromUtf8(mime->data(QString::fromLatin1(DesignDropMimeType))).split(u'\n');
    if (parts.size() != 2)
        return false;
    drop.Source = parts[0];
    drop.Row = parts[1].toInt();
    return OfferDrop(drop, at);
}

void TDesignSurface::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasFormat(QString::fromLatin1(DesignDropMimeType)))
        event->acceptProposedAction();
}

void TDesignSurface::dragMoveEvent(QDragMoveEvent* event)
{
    TDesignDrop drop;
    if (dropOf(event->mimeData(), event->position().toPoint(), drop))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TDesignSurface::dropEvent(QDropEvent* event)
{
    TDesignDrop drop;
    if (!dropOf(event->mimeData(), event->position().toPoint(), drop))
        return;
    event->acceptProposedAction();
    if (DropAction)
        DropAction(drop);
}
