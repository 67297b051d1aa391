#include "runtime/forms/Buttons.h"

#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QToolButton>

QPixmap GlyphPixmap(const TPicture* glyph, int numGlyphs)
{
    if (!glyph || glyph->Empty())
        return QPixmap();
    QImage image = QImage::fromData(glyph->Data());
    if (image.isNull())
        return QPixmap();
    const int cell = image.width() / std::max(1, numGlyphs);
    return QPixmap::fromImage(image.copy(0, 0, std::max(1, cell), image.height()));
}

// TBitBtn ------------------------------------------------------------------

TBitBtn::TBitBtn(TComponent* owner)
    : TButton(owner)
    , glyph_(new TPicture(this))
{
    connect(glyph_, &TPicture::Changed, this, [this] { Changed(); });
}

void TBitBtn::SetKind(TBitBtnKind value)
{
    kind_ = value;
    if (IsLoading())
        return; // the stored ModalResult and Cancel follow
    static const TModalResult results[]
        = {mrNone, mrOk, mrCancel, mrNone, mrYes, mrNo, mrNone, mrAbort, mrRetry, mrIgnore, mrAll};
    if (value != bkCustom)
        SetModalResult(results[value]);
    SetCancel(value == bkCancel);
}

void TBitBtn::UpdateWidget()
{
    TButton::UpdateWidget();
    auto* button = static_cast<QPushButton*>(Widget());
    const QPixmap pixmap = GlyphPixmap(glyph_, numGlyphs_);
    button->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    if (!pixmap.isNull())
        button->setIconSize(pixmap.size());
}

// TSpeedButton -------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner)
    : TGraphicControl(owner)
    , glyph_(new TPicture(this))
{
    SetBoundsSilently(QRect(0, 0, 23, 22));
    connect(glyph_, &TPicture::Changed, this, [this] { Changed(); });
}

void TSpeedButton::SetDown(bool value)
{
    if (down_ == value)
        return;
    down_ = value;
    Changed();
    if (!value || groupIndex_ == 0 || !Parent())
        return;
    for (TControl* sibling : Parent()->ControlList()) {
        auto* button = qobject_cast<TSpeedButton*>(sibling);
        if (button && button != this && button->groupIndex_ == groupIndex_)
            button->SetDown(false);
    }
}

void TSpeedButton::Click()
{
    if (groupIndex_ != 0) {
        if (!down_)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
    }
    TGraphicControl::Click();
}

QWidget* TSpeedButton::CreateWidget(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this] { Click(); });
    return button;
}

void TSpeedButton::UpdateWidget()
{
    TGraphicControl::UpdateWidget();
    auto* button = static_cast<QToolButton*>(Widget());
    button->setText(caption_);
    button->setAutoRaise(flat_);
    button->setCheckable(groupIndex_ != 0);
    button->setChecked(down_);
    const QPixmap pixmap = GlyphPixmap(glyph_, numGlyphs_);
    button->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
    button->setToolButtonStyle(pixmap.isNull()                  ? Qt::ToolButtonTextOnly
            : caption_.isEmpty()                                ? Qt::ToolButtonIconOnly
            : layout_ == blGlyphTop || layout_ == blGlyphBottom ? Qt::ToolButtonTextUnderIcon
                                                                : Qt::ToolButtonTextBesideIcon);
}
