#pragma once
// TF2Button: the look-up button beside an edit. It sits right of its edit
// (AutoAlign), as high and as wide as the edit is high, and follows the edit
// whenever its bounds change (code, alignment, anchors), window or not. A click focuses the edit and asks the
// edit's owner to open the look-up window, as the F2 key on the edit does.

#include "controls/GSpdBtn.h"

#include <QPointer>

// The window message number the criteria forms knew the request by.
constexpr int WM_F2WINDOW = 1034;

// Implemented by forms that open look-up windows for their edits.
class IF2WindowTarget {
public:
    virtual ~IF2WindowTarget() = default;
    virtual void F2Window(TWinControl* edit) = 0;
};

class TF2Button : public TGSpeedButton {
    Q_OBJECT
    Q_PROPERTY(TWinControl* F2Control READ F2Control WRITE SetF2Control)
    Q_PROPERTY(bool AutoAlign READ AutoAlign WRITE SetAutoAlign)
    Q_PROPERTY(int Gap READ Gap WRITE SetGap)
public:
    // Flat, AutoAlign on, Gap 2, glyph 8.
    explicit TF2Button(TComponent* owner = nullptr);
    ~TF2Button() override;

    TWinControl* F2Control() const { return edit_; }
    // Refuses (with an error box) an edit that another look-up button on the
    // same parent already serves, keeping the old binding.
    void SetF2Control(TWinControl* edit);
    bool AutoAlign() const { return autoAlign_; }
    void SetAutoAlign(bool value);
    int Gap() const { return gap_; }
    void SetGap(int value); // 0..255
    // Places the button beside its edit (only with AutoAlign and an edit).
    void AlignToEdit();

    void Click() override;

private:
    void hook();
    void unhook();

    QPointer<TWinControl> edit_;
    QMetaObject::Connection boundsConnection_;
    QMetaObject::Connection destroyedConnection_;
    bool autoAlign_ = true;
    int gap_ = 2;
};
