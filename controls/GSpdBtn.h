#pragma once
// TGSpeedButton: a speed button whose picture comes from the glyph bank by
// number. Without a picture it shows the number as its caption.

#include "runtime/forms/Buttons.h"

class TGSpeedButton : public TSpeedButton {
    Q_OBJECT
    Q_PROPERTY(int GlyphIndex READ GlyphIndex WRITE SetGlyphIndex)
    Q_PROPERTY(int HintIndex READ HintIndex WRITE SetHintIndex)
public:
    explicit TGSpeedButton(TComponent* owner = nullptr);
    int GlyphIndex() const { return glyphIndex_; }
    // Loads glyph index from the bank (NumGlyphs follows its width); 0 or a
    // number outside the bank clears the picture. A damaged glyph shows an
    // error box and leaves the button without a picture.
    void SetGlyphIndex(int index);
    // Kept for the form description only.
    int HintIndex() const { return hintIndex_; }
    void SetHintIndex(int index) { hintIndex_ = index; }
    bool IsPropertyStored(const char* name) const override;

private:
    int glyphIndex_ = 0;
    int hintIndex_ = 0;
};

// Registers the criteria controls with the form reader (idempotent).
void RegisterCriteriaControls();
