#pragma once
// TBitCheckBox: a check box drawn with pictures, one per state ("CHECKED",
// "UNCHECKED", "GRAYED" unless the form gives its own). A picture of n square
// cells holds n looks; a disabled box uses the second cell when there is one.

#include "runtime/forms/Controls.h"

class QPainter;

class TBitCheckBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Vcl::TCheckBoxState State READ State WRITE SetState)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool ParentCtl3D READ ParentCtl3D WRITE SetParentCtl3D)
    Q_PROPERTY(TPicture* CheckedGlyph READ CheckedGlyph WRITE SetCheckedGlyph)
    Q_PROPERTY(TPicture* UncheckedGlyph READ UncheckedGlyph WRITE SetUncheckedGlyph)
    Q_PROPERTY(TPicture* GrayedGlyph READ GrayedGlyph WRITE SetGrayedGlyph)
    Q_PROPERTY(int CheckedNumGlyphs READ CheckedNumGlyphs WRITE SetCheckedNumGlyphs)
    Q_PROPERTY(int UncheckedNumGlyphs READ UncheckedNumGlyphs WRITE SetUncheckedNumGlyphs)
    Q_PROPERTY(int GrayedNumGlyphs READ GrayedNumGlyphs WRITE SetGrayedNumGlyphs)
public:
    // 97 x 17, tab stop, parent 3-D, the built-in pictures.
    explicit TBitCheckBox(TComponent* owner = nullptr);

    TCheckBoxState State() const { return state_; }
    // A change of state raises OnClick.
    void SetState(TCheckBoxState value);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    // taRightJustify (the default): picture left of the text; taLeftJustify:
    // text first, picture at the right.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value)
    {
        Set(alignment_, value == taLeftJustify ? taLeftJustify : taRightJustify);
    }
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value) { Set(ctl3D_, value); }
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool value) { parentCtl3D_ = value; }

    // An empty picture brings back the built-in one.
    TPicture* CheckedGlyph() const { return glyphs_[cbChecked]; }
    void SetCheckedGlyph(TPicture* value) { setGlyph(cbChecked, value); }
    TPicture* UncheckedGlyph() const { return glyphs_[cbUnchecked]; }
    void SetUncheckedGlyph(TPicture* value) { setGlyph(cbUnchecked, value); }
    TPicture* GrayedGlyph() const { return glyphs_[cbGrayed]; }
    void SetGrayedGlyph(TPicture* value) { setGlyph(cbGrayed, value); }
    int CheckedNumGlyphs() const { return numGlyphs_[cbChecked]; }
    void SetCheckedNumGlyphs(int value) { setNumGlyphs(cbChecked, value); }
    int UncheckedNumGlyphs() const { return numGlyphs_[cbUnchecked]; }
    void SetUncheckedNumGlyphs(int value) { setNumGlyphs(cbUnchecked, value); }
    int GrayedNumGlyphs() const { return numGlyphs_[cbGrayed]; }
    void SetGrayedNumGlyphs(int value) { setNumGlyphs(cbGrayed, value); }

    // The user's toggle: unchecked -> grayed (with AllowGrayed) or checked,
    // checked -> unchecked, grayed -> checked.
    void Toggle();
    // A click focuses the box and toggles it.
    void Click() override;
    // The accelerator of the caption ("&Print" -> P), null when none.
    QChar Accelerator() const;
    // Alt+key of the accelerator: toggles and answers true.
    bool DialogChar(QChar key);

    // Draws the box into painter over (0, 0, Width, Height).
    void Paint(QPainter& painter) const;
    bool IsPropertyStored(const char* name) const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    void setGlyph(TCheckBoxState state, TPicture* value);
    void setNumGlyphs(TCheckBoxState state, int value);
    void glyphChanged(TCheckBoxState state);

    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    TPicture* glyphs_[3];
    int numGlyphs_[3] = {1, 1, 1};
    bool defaultGlyph_[3] = {true, true, true};
};
