#pragma once
// TDesignSurface: the widget a report's layout is designed on. It paints the
// bands and report controls from their properties (through the
// TDCFormDesigner's geometry) and turns mouse and keys into designer
// operations:
//   click               select the control (Shift or Ctrl: add / remove)
//   drag on a control   move the selection (snapped to the grid)
//   drag a handle       resize the one selected control
//   drag a band's foot  the band's height
//   drag on empty room  rubber-band selection
//   arrows / Shift+arrows   move / size by a pixel
//   Del                 DeleteRequested (the owner decides whether it may)
//   Ctrl+Z              undo;  Esc  cancel the drag under way
//   right button        ContextMenuRequested at the global position
// Drops of the tool window's items (TDesignDrop) are offered to the owner
// through the DropCheck and DropAction callbacks.
//
// The surface keeps no state of the layout; it only holds the gesture under
// way. It does not own the designer.

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>

class QMimeData;
class TDCFormDesigner;
class TQRCustomBand;
class TControl;

// What a drag from the tool window carries: the list it came from (a list
// view's name, or a tool button's name) and the row of that list.
struct TDesignDrop {
    QString Source;
    int Row = -1;
    TQRCustomBand* Band = nullptr; // the band under the cursor
    QPoint BandPoint; // the cursor inside that band
};

// The mime type of the tool window's drags ("source\nrow").
inline constexpr const char* DesignDropMimeType = "application/x-zorv-design-item";

class TDesignSurface : public QWidget {
    Q_OBJECT
public:
    explicit TDesignSurface(TDCFormDesigner* designer, QWidget* parent = nullptr);

    TDCFormDesigner* Designer() const { return designer_; }
    std::function<bool(const TDesignDrop&)> DropCheck;
    std::function<void(const TDesignDrop&)> DropAction;
    // Sees every key first; answering true consumes it.
    std::function<bool(int key, Qt::KeyboardModifiers)> KeyHook;

    QSize sizeHint() const override;
    // Renders the whole surface into an image (for pictures of the layout).
    QImage Render();
    // The offer of a drop at a surface point; fills the band and band point.
    bool OfferDrop(TDesignDrop& drop, QPoint surface) const;

signals:
    void ContextMenuRequested(QPoint globalPos);
    void DeleteRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void layoutChanged();
    bool dropOf(const QMimeData* mime, QPoint at, TDesignDrop& drop) const;

    TDCFormDesigner* designer_;
    QPoint pressAt_;
    QRect rubber_;
    bool rubberBanding_ = false;
};
