#pragma once
// Buttons with glyphs: the bitmap button (a TButton) and the speed button (a
// windowless tool button that can stay down).

#include "runtime/forms/StdCtrls.h"

#include <QPixmap>

// The first of a glyph's NumGlyphs cells (enabled look), null when empty.
QPixmap GlyphPixmap(const TPicture* glyph, int numGlyphs);

class TBitBtn : public TButton {
    Q_OBJECT
    Q_PROPERTY(TPicture* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(Vcl::TBitBtnKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(Vcl::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
public:
    explicit TBitBtn(TComponent* owner = nullptr);
    TPicture* Glyph() const { return glyph_; }
    void SetGlyph(TPicture* glyph) { glyph_->Assign(glyph); }
    TBitBtnKind Kind() const { return kind_; }
    // A kind other than bkCustom sets the matching modal result and cancel flag.
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value) { Set(layout_, value); }
    int Margin() const { return margin_; }
    void SetMargin(int value) { margin_ = value; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value) { Set(numGlyphs_, std::clamp(value, 1, 4)); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value) { spacing_ = value; }

protected:
    void UpdateWidget() override;

private:
    TPicture* glyph_;
    TBitBtnKind kind_ = bkCustom;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int numGlyphs_ = 1;
    int spacing_ = 4;
};

class TSpeedButton : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(TPicture* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(Vcl::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
public:
    explicit TSpeedButton(TComponent* owner = nullptr);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value) { allowAllUp_ = value; }
    bool Down() const { return down_; }
    // In a group (GroupIndex > 0) going down lifts the others of the group.
    void SetDown(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value) { Set(flat_, value); }
    TPicture* Glyph() const { return glyph_; }
    void SetGlyph(TPicture* glyph) { glyph_->Assign(glyph); }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value) { Set(layout_, value); }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value) { Set(numGlyphs_, std::clamp(value, 1, 4)); }
    int Spacing() const { return spacing_; }
    void SetSpacing(int value) { spacing_ = value; }
    // Grouped buttons toggle on click, then OnClick.
    void Click() override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    bool allowAllUp_ = false;
    bool down_ = false;
    bool flat_ = false;
    TPicture* glyph_;
    int groupIndex_ = 0;
    TButtonLayout layout_ = blGlyphLeft;
    int numGlyphs_ = 1;
    int spacing_ = 4;
};
