#pragma once
// TDreamDesigner: the run-time layout designer a format form embeds. It
// designs the bands and report controls of one TQuickRep (Report), in a
// window of its own: the design surface, the inspector of the selected
// control and the tool window with the report's fields, the query
// builder's extended fields and the label tool.
//
// Start and stop: SetActive(true) raises OnLoadChanges (when StoredChanges)
// so the owner can apply its stored layout, then opens the window;
// SetActive(false) raises OnSaveChanges (when StoredChanges) and closes it.
// A save handler that raises EAbort (the silent abort) cancels the stop:
// the designer stays open. OnActiveChanged follows every change. The hot key
// (HotKey, a short-cut value, Ctrl+F12 by default) starts and stops it.
// The user's ways to stop, the hot key, the window's close command and the
// title-bar X or Alt+F4, all go through RequestStop: the same stop, the save
// event included, run from the event loop once the window's event is done.
//
// Allowed actions: daSelect, daEdit (the inspector edits values), daDelete
// (Del and DeleteSelectedComponents act). OnShowProperty runs whenever the
// inspector takes another control, before it applies daEdit, so the owner
// may change the flags per control.
//
// Keys: the pop-up menu's short-cuts work in the design window (its OnPopup
// runs first, then the enabled item with the key is clicked, also a hidden
// one). Del is such a key; without a pop-up menu it deletes when daDelete
// allows. OnDeleteComponent hears each control before it is freed. The
// window lists the pop-up menu's items in its menu and tool bar with their
// keys (TDesignWindow).
//
// A drop raises OnDragDrop and then shows the selection in the inspector
// again, so that a control the handler created and registered is at once
// edited under the rules OnShowProperty gives it.
//
// Drops from the tool window go to OnDragOver (answer whether the band under
// the cursor accepts) and OnDragDrop; without handlers nothing is accepted.
//
// The designer does not own the report, the builder or the pop-up menu;
// it drops its window and model when it stops or is freed.

#include "runtime/designer/DesignSurface.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Component.h"
#include "runtime/forms/Menus.h"
#include "runtime/report/QuickRpt.h"

#include <QPointer>
#include <functional>
#include <memory>

class QWidget;
class TControl;
class TDCFormDesigner;
class TDesignToolWindow;
class TDesignWindow;
class TMenuItem;
class TObjectInspector;
class TPopupMenu;
class TQuickRep;
class ReportQueryBuilder;

enum TDesignAction : int { daSelect = 1, daEdit = 2, daDelete = 4 };

class TDreamDesigner : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int AllowedActions READ AllowedActions WRITE SetAllowedActions)
    Q_PROPERTY(bool ShowInspector READ ShowInspectorOn WRITE SetShowInspectorOn)
    Q_PROPERTY(bool SnapToGrid READ SnapToGrid WRITE SetSnapToGrid)
    Q_PROPERTY(int GridSize READ GridSize WRITE SetGridSize)
    Q_PROPERTY(int HotKey READ HotKey WRITE SetHotKey)
    Q_PROPERTY(bool StoredChanges READ StoredChanges WRITE SetStoredChanges)
public:
    // Ctrl+F12 as a short-cut value (Ctrl flag 0x4000 + key F12 0x7B).
    static constexpr int DefaultHotKey = 16507;

    explicit TDreamDesigner(TComponent* owner = nullptr);
    ~TDreamDesigner() override;
    // The settings are made by the owner's code each time (and changed while
    // designing), so a stored layout never carries them.
    bool IsPropertyStored(const char* name) const override;

    int AllowedActions() const { return actions_; }
    void SetAllowedActions(int flags) { actions_ = flags; }
    bool Allows(TDesignAction action) const { return (actions_ & action) != 0; }
    bool ShowInspectorOn() const { return showInspector_; }
    void SetShowInspectorOn(bool on) { showInspector_ = on; }
    bool SnapToGrid() const { return snap_; }
    void SetSnapToGrid(bool on);
    int GridSize() const { return grid_; }
    void SetGridSize(int pixels);
    int HotKey() const { return hotKey_; }
    void SetHotKey(int shortCut) { hotKey_ = shortCut; }
    bool StoredChanges() const { return storedChanges_; }
    void SetStoredChanges(bool on) { storedChanges_ = on; }

    void SetReport(TQuickRep* report) { report_ = report; }
    TQuickRep* Report() const { return report_; }
    void SetQueryBuilder(ReportQueryBuilder* builder) { builder_ = builder; }
    ReportQueryBuilder* QueryBuilder() const { return builder_; }
    void SetPopupMenu(TPopupMenu* menu);
    TPopupMenu* PopupMenu() const { return popup_; }

    bool Active() const { return model_ != nullptr; }
    void SetActive(bool on);
    // Stops the designer as SetActive(false) does, from the event loop (safe
    // inside an event of the design window). Repeated requests before the
    // stop runs, or while the save event is asking, count once.
    void RequestStop();
    // The hot key as a Qt key and modifiers: true when it is the hot key.
    bool IsHotKey(int qtKey, Qt::KeyboardModifiers modifiers) const;

    // While active: the model, the window and its parts (null otherwise).
    TDCFormDesigner* GetActiveDesigner() const { return model_.get(); }
    QWidget* Window() const;
    TDesignWindow* DesignWindow() const { return window_.get(); }
    TDesignSurface* Surface() const { return surface_; }
    TObjectInspector* Inspector() const { return inspector_; }
    TDesignToolWindow* ToolWindow() const { return tools_; }
    void ShowInspector();
    // Fills the tool window's lists again from the report and the builder.
    void RefreshFieldLists();
    // The Del key's work (see above).
    void DeleteRequested();
    // A key of the design window as a menu short-cut: the pop-up menu's
    // OnPopup runs (its enabling rules), then the enabled item with that
    // short-cut, shown or hidden, is clicked. True when one was.
    bool RunMenuShortCut(int qtKey, Qt::KeyboardModifiers modifiers);
    // Selects control (with its band shown) and shows it in the inspector.
    void SelectComponent(TControl* control, bool add = false);
    QList<TControl*> GetSelectedComponents() const;
    int DeleteSelectedComponents();

    std::function<void(TDreamDesigner*)> OnActiveChanged;
    std::function<void(TDreamDesigner*, bool& done)> OnLoadChanges;
    std::function<void(TDreamDesigner*, bool& done)> OnSaveChanges;
    std::function<void(TDreamDesigner*, TComponent*)> OnDeleteComponent;
    std::function<void(TDreamDesigner*, TComponent*)> OnShowProperty;
    std::function<bool(TDreamDesigner*, const TDesignDrop&)> OnDragOver;
    std::function<void(TDreamDesigner*, const TDesignDrop&)> OnDragDrop;
    // The tool window's relation wizard button; the field lists are filled
    // again afterwards.
    std::function<void(TDreamDesigner*)> OnLinkPlanner;

private:
    void open();
    void close();
    void selectionChanged();
    void showSelection();
    // The pop-up menu's enabling rules, then the item when it is enabled.
    bool runItem(TMenuItem* item);

    int actions_ = daSelect | daEdit;
    bool showInspector_ = true;
    bool snap_ = true;
    int grid_ = 4;
    int hotKey_ = DefaultHotKey;
    bool storedChanges_ = false;
    QPointer<TQuickRep> report_;
    QPointer<ReportQueryBuilder> builder_;
    QPointer<TPopupMenu> popup_;
    std::unique_ptr<TDCFormDesigner> model_;
    std::unique_ptr<TDesignWindow> window_;
    bool stopPending_ = false;
    bool stopping_ = false;
    TDesignSurface* surface_ = nullptr;
    TObjectInspector* inspector_ = nullptr;
    TDesignToolWindow* tools_ = nullptr;
};

// The rule of the designer menu's delete item: something is selected and
// every selected control says it may be deleted
// (TQRPrintable::DesignerDeletable: the layouts' data texts and barcodes).
bool SelectionIsDeletable(const QList<TControl*>& selection);
// A Qt key as a short-cut value (virtual key + 0x2000 Shift, 0x4000 Ctrl,
// 0x8000 Alt); 0 for keys without a virtual key here.
int ShortCutOfKey(int qtKey, Qt::KeyboardModifiers modifiers);
// Registers the designer's components (ReportQueryBuilder, TDreamDesigner) with the class
// registry; safe to call more than once.
void RegisterDesignerClasses();
