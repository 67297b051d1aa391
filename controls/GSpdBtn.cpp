#include "controls/GSpdBtn.h"

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "controls/F2Button.h"
#include "controls/GlyphBank.h"
#include "runtime/forms/Dialogs.h"

#include <QImage>

TGSpeedButton::TGSpeedButton(TComponent* owner)
    : TSpeedButton(owner)
{
}

void TGSpeedButton::SetGlyphIndex(int index)
{
    if (index == glyphIndex_)
        return;
    glyphIndex_ = index;
    SetCaption(QString::number(index));
    TPicture empty;
    if (index <= 0 || index > MaxGlyphIndex()) {
        SetGlyph(&empty);
        return;
    }
    try {
        TPicture picture;
        if (!LoadGlyph(&picture, index)) {
            SetGlyph(&empty);
            return;
        }
        const QImage image = QImage::fromData(picture.Data());
        SetGlyph(&picture);
        SetCaption(QString());
        if (image.height() > 0)
            SetNumGlyphs(image.width() / image.height());
    } catch (const Exception&) {
        SetGlyph(&empty);
        MessageDlg(QStringLiteral("读取 BMP 发生错误"), mtError, mbOK);
    }
}

bool TGSpeedButton::IsPropertyStored(const char* name) const
{
    // The picture comes from the bank; only its number is written.
    if (qstrcmp(name, "Glyph") == 0 || qstrcmp(name, "NumGlyphs") == 0)
        return glyphIndex_ == 0 && TSpeedButton::IsPropertyStored(name);
    return TSpeedButton::IsPropertyStored(name);
}

void RegisterCriteriaControls()
{
    static const bool registered = [] {
        RegisterClass<TGSpeedButton>();
        RegisterClass<TF2Button>();
        RegisterClass<TBitCheckBox>();
        RegisterClass<TExtPageControl>();
        return true;
    }();
    Q_UNUSED(registered);
}
