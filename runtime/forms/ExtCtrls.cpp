#include "runtime/forms/ExtCtrls.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

// A panel paints its caption behind its children, as the original does.
class PanelWidget : public QFrame {
public:
    using QFrame::QFrame;
    QString caption;
    Qt::Alignment alignment = Qt::AlignCenter;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QFrame::paintEvent(event);
        if (caption.trimmed().isEmpty())
            return;
        QPainter painter(this);
        painter.setFont(font());
        painter.drawText(
            contentsRect().adjusted(4, 0, -4, 0), static_cast<int>(alignment | Qt::AlignVCenter), caption);
    }
};

QFrame::Shadow shadowOf(TBevelCut cut)
{
    return cut == bvRaised ? QFrame::Raised : cut == bvLowered ? QFrame::Sunken : QFrame::Plain;
}

} // namespace

// TPanel -------------------------------------------------------------------

TPanel::TPanel(TComponent* owner)
    : TWinControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 185, 41));
    SetTabStop(false);
}

QRect TPanel::ClientRect() const
{
    int inset = borderWidth_;
    if (bevelOuter_ != bvNone)
        inset += bevelWidth_;
    if (bevelInner_ != bvNone)
        inset += bevelWidth_;
    return QRect(inset, inset, std::max(0, Width() - 2 * inset), std::max(0, Height() - 2 * inset));
}

QWidget* TPanel::CreateWidget(QWidget* parent)
{
    auto* panel = new PanelWidget(parent);
    panel->setFocusPolicy(Qt::NoFocus);
    return panel;
}

void TPanel::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* panel = static_cast<PanelWidget*>(Widget());
    panel->caption = caption_;
    panel->alignment = alignment_ == taLeftJustify ? Qt::AlignLeft
        : alignment_ == taRightJustify             ? Qt::AlignRight
                                                   : Qt::AlignHCenter;
    const TBevelCut cut = bevelOuter_ != bvNone ? bevelOuter_ : bevelInner_;
    panel->setFrameShape(cut == bvNone ? QFrame::NoFrame : QFrame::Panel);
    panel->setFrameShadow(shadowOf(cut));
    panel->setLineWidth(bevelWidth_);
    panel->update();
}

// TBevel -------------------------------------------------------------------

TBevel::TBevel(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 50, 50));
}

QWidget* TBevel::CreateWidget(QWidget* parent)
{
    return new QFrame(parent);
}

void TBevel::UpdateWidget()
{
    TGraphicControl::UpdateWidget();
    auto* frame = static_cast<QFrame*>(Widget());
    if (Width() <= 3 || Height() <= 3)
        frame->setFrameShape(vertical_ || Width() < Height() ? QFrame::VLine : QFrame::HLine);
    else
        frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(shadowOf(style_));
}

// TImage -------------------------------------------------------------------

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner)
    , picture_(new TPicture(this))
{
    SetBoundsSilently(QRect(0, 0, 105, 105));
    connect(picture_, &TPicture::Changed, this, [this] { Changed(); });
}

QWidget* TImage::CreateWidget(QWidget* parent)
{
    return new QLabel(parent);
}

void TImage::UpdateWidget()
{
    TGraphicControl::UpdateWidget();
    auto* label = static_cast<QLabel*>(Widget());
    QPixmap pixmap;
    if (!picture_->Empty())
        pixmap.loadFromData(picture_->Data());
    label->setScaledContents(stretch_);
    label->setAlignment(center_ ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(pixmap);
}

// TSplitter ----------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner)
    : TGraphicControl(owner)
{
    SetBoundsSilently(QRect(0, 0, 3, 100));
    SetAlign(alLeft);
}

TControl* TSplitter::ResizedControl() const
{
    if (!Parent())
        return nullptr;
    TControl* best = nullptr;
    for (TControl* c : Parent()->ControlList()) {
        if (c == this || c->Align() != Align() || !c->Visible())
            continue;
        // The neighbour ends where the splitter begins.
        const bool touches = (Align() == alLeft && c->Left() + c->Width() == Left())
            || (Align() == alRight && c->Left() == Left() + Width())
            || (Align() == alTop && c->Top() + c->Height() == Top())
            || (Align() == alBottom && c->Top() == Top() + Height());
        if (touches)
            best = c;
    }
    return best;
}

void TSplitter::MoveBy(int delta)
{
    TControl* target = ResizedControl();
    if (!target || delta == 0)
        return;
    switch (Align()) {
    case alLeft:
        target->SetWidth(std::max(minSize_, target->Width() + delta));
        break;
    case alRight:
        target->SetWidth(std::max(minSize_, target->Width() - delta));
        break;
    case alTop:
        target->SetHeight(std::max(minSize_, target->Height() + delta));
        break;
    case alBottom:
        target->SetHeight(std::max(minSize_, target->Height() - delta));
        break;
    default:
        break;
    }
}

QWidget* TSplitter::CreateWidget(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setCursor(Align() == alTop || Align() == alBottom ? Qt::SplitVCursor : Qt::SplitHCursor);
    frame->installEventFilter(this);
    return frame;
}

bool TSplitter::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        dragging_ = true;
        dragStart_ = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        return true;
    case QEvent::MouseMove:
        if (dragging_) {
            const QPoint now = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            const bool horizontal = Align() == alLeft || Align() == alRight;
            MoveBy(horizontal ? now.x() - dragStart_.x() : now.y() - dragStart_.y());
            dragStart_ = now;
        }
        return dragging_;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return true;
    default:
        return false;
    }
}
