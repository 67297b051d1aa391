#include "controls/BtChkBox.h"

#include "controls/GlyphBank.h"
#include "runtime/forms/Forms.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QWidget>

namespace {

const char* const kResourceNames[] = {"UNCHECKED", "CHECKED", "GRAYED"}; // by TCheckBoxState

// The widget only shows the control and passes the user's input to it.
class BitCheckBoxWidget : public QWidget {
public:
    BitCheckBoxWidget(TBitCheckBox* box, QWidget* parent)
        : QWidget(parent)
        , box_(box)
    {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        box_->Paint(painter);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            box_->Click();
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)
            box_->Toggle();
        else
            QWidget::keyPressEvent(event);
    }
    void focusInEvent(QFocusEvent*) override { update(); }
    void focusOutEvent(QFocusEvent*) override { update(); }

private:
    TBitCheckBox* box_;
};

// The caption as shown: "&&" is one "&", a single "&" marks the accelerator.
QString shownText(const QString& caption)
{
    QString text;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size())
            ++i;
        else if (caption.at(i) == u'&')
            continue;
        text += caption.at(i);
    }
    return text;
}

} // namespace

TBitCheckBox::TBitCheckBox(TComponent* owner)
    : TWinControl(owner)
{
    for (int state = 0; state < 3; ++state) {
        glyphs_[state] = new TPicture(this);
        connect(glyphs_[state], &TPersistent::Changed, this,
            [this, state] { glyphChanged(static_cast<TCheckBoxState>(state)); });
        glyphChanged(static_cast<TCheckBoxState>(state));
    }
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TBitCheckBox::setGlyph(TCheckBoxState state, TPicture* value)
{
    if (value)
        glyphs_[state]->Assign(value);
    else
        glyphs_[state]->SetData({});
    glyphChanged(state);
}

void TBitCheckBox::glyphChanged(TCheckBoxState state)
{
    TPicture* glyph = glyphs_[state];
    if (glyph->Empty()) {
        const QSignalBlocker block(glyph);
        glyph->SetData(BitmapResource(QString::fromLatin1(kResourceNames[state])));
        defaultGlyph_[state] = true;
    } else {
        defaultGlyph_[state] = glyph->Data() == BitmapResource(QString::fromLatin1(kResourceNames[state]));
    }
    const QImage image = QImage::fromData(glyph->Data());
    if (image.height() > 0 && image.width() % image.height() == 0)
        numGlyphs_[state] = std::max(1, image.width() / image.height());
    Changed();
}

void TBitCheckBox::setNumGlyphs(TCheckBoxState state, int value)
{
    Set(numGlyphs_[state], std::clamp(value, 1, 4));
}

void TBitCheckBox::SetState(TCheckBoxState value)
{
    if (state_ == value)
        return;
    state_ = value;
    Changed();
    if (!IsLoading())
        TWinControl::Click();
}

void TBitCheckBox::Toggle()
{
    switch (state_) {
    case cbUnchecked:
        SetState(allowGrayed_ ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TBitCheckBox::Click()
{
    if (!Enabled())
        return;
    SetFocus();
    Toggle();
}

QChar TBitCheckBox::Accelerator() const
{
    const QString& caption = caption_;
    for (int i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toUpper();
        ++i;
    }
    return {};
}

bool TBitCheckBox::DialogChar(QChar key)
{
    const QChar accelerator = Accelerator();
    if (accelerator.isNull() || key.toUpper() != accelerator || !Enabled())
        return false;
    Click();
    return true;
}

void TBitCheckBox::Paint(QPainter& painter) const
{
    const QRect area(0, 0, Width(), Height());
    painter.fillRect(area, ColorToQColor(Color()));

    QImage glyph = QImage::fromData(glyphs_[state_]->Data());
    const int count = std::max(1, numGlyphs_[state_]);
    const int cellWidth = glyph.isNull() ? 0 : glyph.width() / count;
    painter.setFont(Font()->ToQFont());
    const QFontMetrics metrics(painter.font());
    const QString text = shownText(caption_);
    const int textWidth = metrics.horizontalAdvance(text);
    const int textHeight = metrics.height();
    const int textLeft = alignment_ == taRightJustify ? cellWidth + 4 : 1;
    const int textTop = (Height() - textHeight) / 2 - 2;
    const QRect textRect(textLeft, textTop, textWidth, textHeight);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic;

    if (Enabled()) {
        painter.setPen(ColorToQColor(Font()->Color()));
        painter.drawText(textRect, flags, caption_);
    } else {
        if (ctl3D_) {
            painter.setPen(ColorToQColor(clBtnHighlight));
            painter.drawText(textRect.translated(1, 1), flags, caption_);
        }
        painter.setPen(ColorToQColor(clGrayText));
        painter.drawText(textRect, flags, caption_);
    }
    if (Focused()) {
        // One pixel round the text wherever the control has room for it.
        const QRect focus = textRect.adjusted(-1, -1, 1, 1).intersected(area.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(ColorToQColor(clWindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(focus);
    }

    if (glyph.isNull() || cellWidth == 0)
        return;
    const int cell = !Enabled() && count >= 2 ? 1 : 0;
    QImage image = glyph.copy(cell * cellWidth, 0, cellWidth, glyph.height());
    if (!image.hasAlphaChannel()) {
        // A picture without transparency: its bottom-left colour is the background.
        const QRgb key = image.pixel(0, image.height() - 1);
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                    line[x] = 0;
        }
    }
    const int glyphLeft = alignment_ == taRightJustify ? 0 : Width() - cellWidth;
    const int glyphTop = (Height() - image.height()) / 2;
    painter.drawImage(glyphLeft, glyphTop, image);
}

bool TBitCheckBox::IsPropertyStored(const char* name) const
{
    for (int state = 0; state < 3; ++state) {
        static const char* const names[] = {"UncheckedGlyph", "CheckedGlyph", "GrayedGlyph"};
        if (qstrcmp(name, names[state]) == 0)
            return !defaultGlyph_[state];
    }
    return TWinControl::IsPropertyStored(name);
}

QWidget* TBitCheckBox::CreateWidget(QWidget* parent)
{
    return new BitCheckBoxWidget(this, parent);
}

void TBitCheckBox::UpdateWidget()
{
    TWinControl::UpdateWidget();
    QWidget* w = Widget();
    // Alt + the accelerator toggles the box while its window is active.
    auto* shortcut = w->findChild<QShortcut*>(QString(), Qt::FindDirectChildrenOnly);
    const QChar accelerator = Accelerator();
    if (accelerator.isNull()) {
        delete shortcut;
    } else {
        const QKeySequence keys(QStringLiteral("Alt+") + accelerator);
        if (!shortcut) {
            shortcut = new QShortcut(keys, w);
            QObject::connect(shortcut, &QShortcut::activated, this, [this] { DialogChar(Accelerator()); });
        }
        shortcut->setKey(keys);
    }
    w->update();
}
