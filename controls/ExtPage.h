#pragma once
// TExtPageControl: a page control whose tabs the program draws. Without an
// OnDrawTab handler the active tab is drawn bold in the active-caption colours,
// inset by 2 pixels, the others plain in the inactive-caption colours.

#include "runtime/forms/ComCtrls.h"

class QPainter;

// Sender, painter, tab index (counting visible tabs only), tab rectangle, active.
using TDrawTabEvent = TEvent<TObject*, QPainter*, int, QRect, bool>;
Q_DECLARE_METATYPE(TDrawTabEvent)

class TExtPageControl : public TPageControl {
    Q_OBJECT
    Q_PROPERTY(TDrawTabEvent OnDrawTab READ OnDrawTab WRITE SetOnDrawTab)
public:
    explicit TExtPageControl(TComponent* owner = nullptr);
    TDrawTabEvent OnDrawTab() const { return onDrawTab_; }
    void SetOnDrawTab(const TDrawTabEvent& handler) { onDrawTab_ = handler; }

    // The page a tab index denotes, counting only pages whose tab is visible.
    TTabSheet* PageOfTab(int tabIndex) const;
    // Draws tab tabIndex into rect (the handler's work, or the default look).
    void DrawTab(QPainter& painter, int tabIndex, const QRect& rect, bool active);
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    TDrawTabEvent onDrawTab_;
};
