#pragma once
// TDCFormDesigner: the editing model of one report's layout. It works on the
// real components: the bands of a TQuickRep and the report controls on them.
// Every operation changes the controls' published Left/Top/Width/Height (the
// report's design pixels), their parent band, their order on the band or
// their existence; what the designer shows is painted from those properties.
//
// The surface: bands stand one under the other in print order, each under a
// caption strip of CaptionHeight pixels, Margin pixels in from the left and
// the top; a control's surface rectangle is its band's origin plus its
// bounds. Hidden (not Visible) bands are still shown, so that their controls
// can be reached.
//
// Guarantees:
// - Selection holds only controls of this report that are alive; deleting or
//   freeing a control drops it from the selection.
// - With SnapToGrid, every position or size a move, resize or grid
//   alignment produces is a multiple of GridSize; keyboard nudging moves by
//   one pixel (the fine adjustment users expect) without snapping.
// - Each editing operation is one undo step; Undo puts the bounds, band,
//   order and enabled state of the controls it touched back. Deleting is not undone: the
//   deleted components are freed (their names leave the owner's list).
// - Nothing here shows a window; the dialogs that feed AlignSelected,
//   SizeSelected and ScaleSelected are in DesignDialogs.h.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QVector>

class TControl;
class TQRCustomBand;
class TQuickRep;

enum class TDesignHandle { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

// Alignment of the selection (the first selected control is the reference
// for left, right, top, bottom and centres).
enum class THorzAlign { NoChange, Lefts, Centers, Rights, SpaceEqually, CenterInBand };
enum class TVertAlign { NoChange, Tops, Centers, Bottoms, SpaceEqually, CenterInBand };
// Sizing of the selection: to the smallest, to the largest, or to a value.
enum class TSizeRule { NoChange, ShrinkToSmallest, GrowToLargest, Value };

class TDCFormDesigner : public QObject {
    Q_OBJECT
public:
    static constexpr int Margin = 24;
    static constexpr int CaptionHeight = 16;
    static constexpr int HandleSize = 5;
    static constexpr int UndoDepth = 64;
    static constexpr int EdgeGrip = 3;

    explicit TDCFormDesigner(TQuickRep* report, QObject* parent = nullptr);
    ~TDCFormDesigner() override;

    TQuickRep* Report() const { return report_; }

    int GridSize() const { return gridSize_; }
    void SetGridSize(int pixels) { gridSize_ = std::max(1, pixels); }
    bool SnapToGrid() const { return snap_; }
    void SetSnapToGrid(bool on) { snap_ = on; }

    // Surface geometry.
    QList<TQRCustomBand*> Bands() const;
    QRect BandRect(const TQRCustomBand* band) const; // the band's body
    QRect CaptionRect(const TQRCustomBand* band) const; // its caption strip
    QRect ControlRect(const TControl* control) const;
    QSize SurfaceSize() const;
    TQRCustomBand* BandAt(QPoint surface) const;
    // The topmost control under the point (last in its band's order).
    TControl* ControlAt(QPoint surface) const;
    // The report controls of every band, in band order then z-order.
    QList<TControl*> AllControls() const;

    // Selection.
    QList<TControl*> GetSelectedComponents() const;
    bool IsSelected(const TControl* control) const;
    // Selects control; without add the previous selection is dropped.
    void SelectComponent(TControl* control, bool add = false);
    void ToggleSelection(TControl* control);
    void ClearSelection();
    // The controls whose rectangle meets rect (a rubber band).
    void SelectInRect(const QRect& surfaceRect, bool add);
    // Handles are shown for every selected control; HandleAt answers only
    // for a single selection (resizing works on one control at a time).
    QList<QRect> HandleRects(const TControl* control) const;
    TDesignHandle HandleAt(QPoint surface) const;

    // A mouse gesture: the positions follow start + (dx, dy), snapped, and
    // EndDrag makes it one undo step (and moves a control whose centre now
    // lies over another band onto that band).
    void BeginMove();
    void BeginResize(TDesignHandle handle);
    // The band whose bottom edge is within EdgeGrip pixels of the point
    // (null when none); dragging it changes the band's height (snapped,
    // at least one pixel); the bands below follow.
    TQRCustomBand* BandEdgeAt(QPoint surface) const;
    void BeginBandResize(TQRCustomBand* band);
    void DragTo(int dx, int dy);
    void EndDrag();
    void CancelDrag();
    bool Dragging() const { return drag_ != DragKind::None; }

    // Whole operations, one undo step each.
    void MoveSelection(int dx, int dy);
    // Arrow keys: move by a pixel; with shift, change the size by a pixel.
    // Answers false for keys that are not arrows (Qt key codes).
    bool Nudge(int key, bool shift);
    void AlignToGrid();
    void BringToFront();
    void SendToBack();
    void AlignSelected(THorzAlign horizontal, TVertAlign vertical);
    void SizeSelected(TSizeRule widthRule, int width, TSizeRule heightRule, int height);
    // percent of the current positions and sizes (25 .. 400).
    void ScaleSelected(int percent);
    // Frees the selected controls; ComponentDeleting is raised for each
    // first. Answers how many were deleted.
    int DeleteSelectedComponents();

    // Keeps the state of controls (bounds, band, order, enabled) as one undo
    // step before the caller changes them itself.
    void RecordUndo(const QList<TControl*>& controls);
    bool CanUndo() const { return !undo_.isEmpty(); }
    bool Undo();

signals:
    void SelectionChanged();
    // Something the surface shows changed.
    void Modified();
    void ComponentDeleting(TControl* control);

private:
    struct Saved {
        QPointer<TControl> Control;
        QPointer<TQRCustomBand> Band;
        QRect Bounds;
        int Index = 0;
        bool Enabled = true;
    };
    using Step = QVector<Saved>;
    enum class DragKind { None, Move, Resize, BandHeight };

    Step snapshot(const QList<TControl*>& controls) const;
    void pushUndo(Step step);
    void restore(const Step& step);
    int snap(int value) const;
    QRect resized(const QRect& start, int dx, int dy) const;
    void moveToBandUnderCentre(TControl* control);
    void afterEdit();
    void forget(QObject* object);

    TQuickRep* report_;
    QList<QPointer<TControl>> selection_;
    QList<Step> undo_;
    int gridSize_ = 4;
    bool snap_ = true;
    DragKind drag_ = DragKind::None;
    TDesignHandle handle_ = TDesignHandle::None;
    Step dragStart_;
};

// The control's position in its z-order on its band.
int ControlOrder(const TControl* control);
// Puts control at index of its band's controls (keeping the others' order).
void SetControlOrder(TControl* control, int index);
