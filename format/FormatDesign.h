#pragma once
// TFormatDesign: what a format form adds to the layout designer. It works
// on any format form holding a TQuickRep, a ReportQueryBuilder and a
// TFormatStore, and gives them:
//   - the designer's settings (snap to grid, inspector shown, Ctrl+F12,
//     stored changes routed to the store) and its events: delete (an added
//     control leaves RuntimeComponents and frees its builder field), show
//     property (only added controls are edited in the inspector), drag over
//     and drop from the tool window;
//   - the pop-up menu PopupMenu1 with its items (real names and captions)
//     and the rule that enables miDel;
//   - the creation of extended fields and free labels ("ExTxt"/"ExBc" +
//     field name + number, "ExLbl" + number, the number being the builder's
//     running maximum), each added to RuntimeComponents; a barcode's
//     invalid characters go to the form's OnBarCodeInvalidChar, when it
//     has one;
//   - unbinding of extended fields and the start of design.
//
// Drops, as the tool window offers them:
//   lvFields     a field of the report (caption, data field, control name):
//                accepted only on the band that holds the control; the
//                control is enabled, shown, moved to the drop point and
//                selected (this brings hidden built-in fields back);
//   lvExtending  a builder field (caption, name, hint, table, field):
//                refused when the field has a control already; accepted on
//                a band whose DataSet or Expression names the report's data
//                set, or that has neither;
//   tbLabel      a free label, on the same bands.
// A creation that fails shows "Create Error %d".
//
// The object holds no ownership: form, designer, builder and store belong
// to the format form, which must outlive it.

#include "runtime/designer/DesignSurface.h"
#include "runtime/forms/VclTypes.h"

#include <QString>
#include <functional>

class ReportDBBarcode;
class ReportDBText;
class ReportQueryBuilder;
class TComponent;
class TControl;
class TDreamDesigner;
class TFormatStore;
class TLinkPlannerData;
class TPopupMenu;
class TQRLabel;
class TQuickRep;
struct TQueryField;

class TFormatDesign {
public:
    TFormatDesign(TComponent* form, TQuickRep* report, ReportQueryBuilder* builder, TFormatStore* store);

    TDreamDesigner* Designer() const { return designer_; }
    TPopupMenu* PopupMenu() const { return popup_; }

    // Start (or stop) designing: BeforeDesign, the name limit, the designer.
    void StartDesign(bool on);
    // Every added text, picture and data-bound control is disabled; an added
    // data-bound control the field list cannot bring back (a barcode) loses
    // its data source as well. Other added controls (shapes) are left.
    void UnbindExtendedFields();

    // The drop rules (public for the designer's events and for tests).
    bool DragOver(const TDesignDrop& drop) const;
    TControl* DragDrop(const TDesignDrop& drop);
    // The delete command (miDel, Del): added controls are freed, built-in
    // ones hidden (disabled), since a stored layout cannot drop a built-in
    // control. Answers how many were deleted or hidden.
    int DeleteSelected();
    // The pop-up menu's enabling rule (PopupMenu1Popup).
    void PopupMenuPopup();
    // The format form's keys (FormKeyDown): Ctrl+Alt+L load local, Ctrl+S
    // save, Ctrl+N save as; letters in either case, no other shift
    // combination. True when the key was one of them.
    bool FormKeyDown(Word key, TShiftState shift);

    // The relation wizard over the builder (force: also without extended
    // fields, as the tool window's button asks); see LinkPlannerCall.h.
    int RunLinkPlanner(bool force);

    // Hooks of the format form.
    // The data the relation wizard reads (null: the wizard cannot run).
    std::function<TLinkPlannerData*()> PlannerData;
    std::function<void()> BeforeDesign; // e.g. maximise
    std::function<void()> DesignerClosed; // the options window's close-designer
    std::function<void()> DocToEmf; // the document-to-picture command
    // After the save and save-as commands (menu or key), whatever their
    // outcome: the format's name may have changed.
    std::function<void()> AfterSaveCommand;
    std::function<void(ReportDBText*, const TQueryField&)> SetupExtendedText;
    std::function<void(ReportDBBarcode*, const TQueryField&)> SetupExtendedBarcode;
    std::function<void(TQRLabel*)> SetupNewLabel;

private:
    void buildMenu();
    void beforeSave();
    void save(bool asNew);
    void deleted(TComponent* component);
    void showProperty(TComponent* component);
    bool bandTakesReportData(const TQRCustomBand* band) const;
    TControl* bringBack(const TDesignDrop& drop);
    TControl* createExtended(const TDesignDrop& drop);
    TControl* createLabel(const TDesignDrop& drop);
    QString freeName(const QString& stem);
    void place(TControl* control, const TDesignDrop& drop);
    void bindInvalidCharHandler(ReportDBBarcode* code);

    TComponent* form_;
    TQuickRep* report_;
    ReportQueryBuilder* builder_;
    TFormatStore* store_;
    TDreamDesigner* designer_;
    TPopupMenu* popup_ = nullptr;
};
