#pragma once
// Panels, bevels, images and splitters.

#include "runtime/forms/Controls.h"

class TPanel : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(Vcl::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(Vcl::TBevelCut BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(Vcl::TBevelCut BevelOuter READ BevelOuter WRITE SetBevelOuter)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
public:
    explicit TPanel(TComponent* owner = nullptr);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { Set(alignment_, value); }
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value) { Set(bevelInner_, value); }
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value) { Set(bevelOuter_, value); }
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value) { Set(bevelWidth_, value); }
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value) { Set(borderWidth_, value); }
    // Inside the bevels and the border.
    QRect ClientRect() const override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    TAlignment alignment_ = taCenter;
    TBevelCut bevelInner_ = bvNone;
    TBevelCut bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
};

class TBevel : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(Vcl::TBevelCut Style READ Style WRITE SetStyle)
    Q_PROPERTY(bool Vertical READ Vertical WRITE SetVertical)
public:
    explicit TBevel(TComponent* owner = nullptr);
    TBevelCut Style() const { return style_; }
    void SetStyle(TBevelCut value) { Set(style_, value); }
    // A line rather than a box.
    bool Vertical() const { return vertical_; }
    void SetVertical(bool value) { Set(vertical_, value); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    TBevelCut style_ = bvLowered;
    bool vertical_ = false;
};

class TImage : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(bool Center READ Center WRITE SetCenter)
    Q_PROPERTY(TPicture* Picture READ Picture WRITE SetPicture)
    Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
public:
    explicit TImage(TComponent* owner = nullptr);
    bool Center() const { return center_; }
    void SetCenter(bool value) { Set(center_, value); }
    TPicture* Picture() const { return picture_; }
    void SetPicture(TPicture* picture) { picture_->Assign(picture); }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value) { Set(stretch_, value); }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { Set(transparent_, value); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    bool center_ = false;
    TPicture* picture_;
    bool stretch_ = false;
    bool transparent_ = false;
};

// Drags the control aligned just before it (on the same side) to a new size.
class TSplitter : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
public:
    explicit TSplitter(TComponent* owner = nullptr);
    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = value; }
    // The control the splitter resizes; null when none is aligned next to it.
    TControl* ResizedControl() const;
    // Moves the split by delta pixels (positive: towards right or bottom).
    void MoveBy(int delta);
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    int minSize_ = 30;
    QPoint dragStart_;
    bool dragging_ = false;
};
