#include "format/FormatDesign.h"

#include "format/FormatStore.h"
#include "format/LinkPlannerCall.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignDialogs.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/report/QRBarcode.h"
#include "runtime/report/QRCtrls.h"

#include <algorithm>

namespace {

// Short-cut values: Ctrl 0x4000, Alt 0x8000 plus the virtual key.
constexpr int ShortCutCtrlS = 0x4000 | 'S';
constexpr int ShortCutCtrlN = 0x4000 | 'N';
constexpr int ShortCutCtrlAltL = 0x4000 | 0x8000 | 'L';
constexpr int ShortCutDel = 46;

// A control a field row may bring back (each kind says whether it is one:
// labels, data texts, expressions and pictures are).
bool isFieldControl(const TComponent* c)
{
    const auto* printable = qobject_cast<const TQRPrintable*>(c);
    return printable && printable->DesignerRestorable();
}

template<typename T> T* findOrMake(TComponent* owner, const QString& name)
{
    if (auto* found = owner->FindComponent<T>(name))
        return found;
    auto* made = new T(owner);
    made->SetName(name);
    return made;
}

} // namespace

TFormatDesign::TFormatDesign(
    TComponent* form, TQuickRep* report, ReportQueryBuilder* builder, TFormatStore* store)
    : form_(form)
    , report_(report)
    , builder_(builder)
    , store_(store)
{
    designer_ = findOrMake<TDreamDesigner>(form_, QStringLiteral("DreamDesigner1"));
    designer_->SetReport(report_);
    designer_->SetQueryBuilder(builder_);
    designer_->SetAllowedActions(daSelect | daEdit | daDelete);
    designer_->SetShowInspectorOn(true);
    designer_->SetSnapToGrid(true);
    designer_->SetHotKey(TDreamDesigner::DefaultHotKey);
    designer_->SetStoredChanges(true);
    designer_->OnLoadChanges = [this](TDreamDesigner*, bool& done) { store_->LoadChanges(done); };
    designer_->OnSaveChanges = [this](TDreamDesigner*, bool& done) {
        beforeSave();
        store_->SaveChanges(done);
    };
    designer_->OnDeleteComponent = [this](TDreamDesigner*, TComponent* c) { deleted(c); };
    designer_->OnShowProperty = [this](TDreamDesigner*, TComponent* c) { showProperty(c); };
    designer_->OnDragOver = [this](TDreamDesigner*, const TDesignDrop& d) { return DragOver(d); };
    designer_->OnDragDrop = [this](TDreamDesigner*, const TDesignDrop& d) { DragDrop(d); };
    designer_->OnActiveChanged = [this](TDreamDesigner* d) {
        if (!d->Active() && DesignerClosed)
            DesignerClosed();
    };
    designer_->OnLinkPlanner = [this](TDreamDesigner*) { RunLinkPlanner(true); };
    buildMenu();
    designer_->SetPopupMenu(popup_);
}

void TFormatDesign::buildMenu()
{
    popup_ = findOrMake<TPopupMenu>(form_, QStringLiteral("PopupMenu1"));
    const auto item = [this](const QString& name, const QString& caption, std::function<void()> action,
                          int shortCut = 0) {
        auto* it = findOrMake<TMenuItem>(form_, name);
        it->SetCaption(caption);
        it->SetShortCut(shortCut);
        it->SetOnClick(TNotifyEvent::Of([action](TObject*) { action(); }));
        if (!it->ParentItem())
            popup_->Items()->Add(it);
        return it;
    };
    const auto model = [this] { return designer_->GetActiveDesigner(); };
    item(QStringLiteral("ShowObjectInsp1"), QStringLiteral("显示元件检示器"),
        [this] { designer_->ShowInspector(); });
    item(QStringLiteral("mnuDOCtoEMF"), QStringLiteral("Word doc转emf图档"), [this] {
        if (DocToEmf)
            DocToEmf();
    });
    item(QStringLiteral("nuAlignToGrid"), QStringLiteral("对齐格线"), [model] {
        if (model())
            model()->AlignToGrid();
    });
    item(QStringLiteral("nuBringToFront"), QStringLiteral("提至上一层"), [model] {
        if (model())
            model()->BringToFront();
    });
    item(QStringLiteral("nuSendToBack"), QStringLiteral("移至下一层"), [model] {
        if (model())
            model()->SendToBack();
    });
    item(QStringLiteral("nuAlignSelected"), QStringLiteral("元件对齐"), [model] {
        THorzAlign h = THorzAlign::NoChange;
        TVertAlign v = TVertAlign::NoChange;
        if (model() && ExecuteAlignDialog(h, v))
            model()->AlignSelected(h, v);
    });
    item(QStringLiteral("nuSize"), QStringLiteral("大小"), [model] {
        TSizeRule wr = TSizeRule::NoChange, hr = TSizeRule::NoChange;
        int w = 100, h = 13;
        if (model() && ExecuteSizeDialog(wr, w, hr, h))
            model()->SizeSelected(wr, w, hr, h);
    });
    item(QStringLiteral("sss1"), QStringLiteral("缩放"), [model] {
        int percent = 100;
        if (model() && ExecuteScaleDialog(percent))
            model()->ScaleSelected(percent);
    });
    TMenuItem* del = item(
        QStringLiteral("miDel"), QStringLiteral("删除(&Del)"), [this] { DeleteSelected(); }, ShortCutDel);
    del->SetEnabled(false);
    item(
        QStringLiteral("nuSave"), QStringLiteral("保存格式(&S)"), [this] { save(false); }, ShortCutCtrlS);
    item(
        QStringLiteral("nuSaveAs"), QStringLiteral("另存格式(&N)"), [this] { save(true); }, ShortCutCtrlN);
    item(QStringLiteral("nuSaveLoc"), QStringLiteral("保存本地"), [this] {
        try {
            store_->SaveLocalFormat(store_->FormatName);
        } catch (const EAbort&) {
        }
    })->SetVisible(false);
    item(
        QStringLiteral("nuLoadLoc"), QStringLiteral("加载本地"), [this] { store_->LoadLocalClick(); },
        ShortCutCtrlAltL)
        ->SetVisible(false);
    popup_->SetOnPopup(TNotifyEvent::Of([this](TObject*) { PopupMenuPopup(); }));
}

int TFormatDesign::DeleteSelected()
{
    // A stored layout is the difference from the built-in one and cannot
    // say that a built-in control is gone: freed, it would come back with
    // the next load. Built-in controls are hidden instead (disabled, as the
    // field list brings them back); added ones are freed.
    const QList<TControl*> selected = designer_->GetSelectedComponents();
    QList<TControl*> added;
    QList<TControl*> builtIn;
    for (TControl* c : selected)
        (store_->RuntimeComponents.contains(c->Name(), Qt::CaseInsensitive) ? added : builtIn) << c;
    // Hiding can be undone; freeing cannot.
    if (TDCFormDesigner* model = designer_->GetActiveDesigner(); model && !builtIn.isEmpty())
        model->RecordUndo(builtIn);
    int done = 0;
    for (TControl* c : builtIn) {
        c->SetEnabled(false);
        ++done;
    }
    if (TDCFormDesigner* model = designer_->GetActiveDesigner()) {
        model->ClearSelection();
        for (TControl* c : added)
            model->SelectComponent(c, true);
    }
    done += added.isEmpty() ? 0 : designer_->DeleteSelectedComponents();
    designer_->RefreshFieldLists();
    if (designer_->Surface())
        designer_->Surface()->update();
    return done;
}

int TFormatDesign::RunLinkPlanner(bool force)
{
    TLinkPlannerData* data = PlannerData ? PlannerData() : nullptr;
    if (!data)
        return -1;
    return ::RunLinkPlanner(store_->ClientHome(), designer_->Window(), builder_, data, force);
}

void TFormatDesign::beforeSave()
{
    // The delete item's state is the menu's, not the layout's: back to its
    // built-in state, so that a stored layout does not carry it.
    if (auto* del = form_->FindComponent<TMenuItem>(QStringLiteral("miDel")))
        del->SetEnabled(false);
}

void TFormatDesign::save(bool asNew)
{
    beforeSave();
    if (asNew)
        store_->SaveAsClick();
    else
        store_->SaveClick();
    if (AfterSaveCommand)
        AfterSaveCommand();
}

bool TFormatDesign::FormKeyDown(Word key, TShiftState shift)
{
    const QChar letter = QChar(key).toUpper();
    const TShiftState keys = shift & (TShiftState(ssShift) | ssAlt | ssCtrl);
    if (letter == u'L' && keys == (TShiftState(ssCtrl) | ssAlt)) {
        store_->LoadLocalClick();
        return true;
    }
    if (keys != TShiftState(ssCtrl))
        return false;
    if (letter == u'S' || letter == u'N') {
        save(letter == u'N');
        return true;
    }
    return false;
}

void TFormatDesign::PopupMenuPopup()
{
    if (auto* del = form_->FindComponent<TMenuItem>(QStringLiteral("miDel")))
        del->SetEnabled(SelectionIsDeletable(designer_->GetSelectedComponents()));
}

void TFormatDesign::StartDesign(bool on)
{
    if (BeforeDesign)
        BeforeDesign();
    store_->ReadNameLimit();
    designer_->SetActive(on);
}

void TFormatDesign::deleted(TComponent* component)
{
    QStringList& added = store_->RuntimeComponents;
    const auto it = std::find_if(added.begin(), added.end(),
        [&](const QString& name) { return name.compare(component->Name(), Qt::CaseInsensitive) == 0; });
    if (it == added.end())
        return; // a built-in control: nothing else changes
    added.erase(it);
    if (builder_)
        builder_->UnbindComponent(component->Name());
}

void TFormatDesign::showProperty(TComponent* component)
{
    const bool added = store_->RuntimeComponents.contains(component->Name(), Qt::CaseInsensitive);
    designer_->SetAllowedActions(
        added ? designer_->AllowedActions() | daEdit : designer_->AllowedActions() & ~daEdit);
}

bool TFormatDesign::bandTakesReportData(const TQRCustomBand* band) const
{
    const QString dataSet = report_->DataSet().toUpper();
    auto* object = const_cast<TQRCustomBand*>(band);
    const bool hasDataSet = HasPropertyPath(object, QStringLiteral("DataSet"));
    const bool hasExpression = HasPropertyPath(object, QStringLiteral("Expression"));
    if (!hasDataSet && !hasExpression)
        return true;
    if (hasDataSet) {
        const QString own = GetPropertyText(object, QStringLiteral("DataSet")).toUpper();
        if (!own.isEmpty() && dataSet.contains(own))
            return true;
    }
    return hasExpression && !dataSet.isEmpty()
        && GetPropertyText(object, QStringLiteral("Expression")).toUpper().contains(dataSet);
}

bool TFormatDesign::DragOver(const TDesignDrop& drop) const
{
    if (!drop.Band)
        return false;
    TDesignToolWindow* tools = designer_->ToolWindow();
    if (drop.Source == QLatin1String(TDesignToolWindow::FieldList)) {
        const QStringList row = tools ? tools->Row(drop.Source, drop.Row) : QStringList();
        TComponent* control = form_->FindComponent(row.value(2));
        return control && isFieldControl(control) && static_cast<TControl*>(control)->Parent() == drop.Band;
    }
    if (drop.Source == QLatin1String(TDesignToolWindow::ExtendedList)) {
        const QStringList row = tools ? tools->Row(drop.Source, drop.Row) : QStringList();
        if (!builder_ || row.size() < 5)
            return false;
        const TQueryField field = builder_->Field(row[3].toInt(), row[4].toInt());
        if (field.Table < 0 || field.Used())
            return false;
        return bandTakesReportData(drop.Band);
    }
    if (drop.Source == QLatin1String(TDesignToolWindow::LabelTool))
        return bandTakesReportData(drop.Band);
    return false;
}

TControl* TFormatDesign::DragDrop(const TDesignDrop& drop)
{
    try {
        TControl* placed = nullptr;
        if (drop.Source == QLatin1String(TDesignToolWindow::FieldList))
            placed = bringBack(drop);
        else if (drop.Source == QLatin1String(TDesignToolWindow::ExtendedList))
            placed = createExtended(drop);
        else if (drop.Source == QLatin1String(TDesignToolWindow::LabelTool))
            placed = createLabel(drop);
        if (placed)
            designer_->RefreshFieldLists();
        return placed;
    } catch (const Exception&) {
        // The runtime's exceptions carry no numeric code; 0 stands for it.
        Dialogs().MessageDlg(
            QStringLiteral("Create Error %1").arg(0), mtError, TMsgDlgButtons(mbOK), QString());
    }
    return nullptr;
}

void TFormatDesign::place(TControl* control, const TDesignDrop& drop)
{
    if (control->Parent() != drop.Band)
        control->SetParent(drop.Band);
    control->SetBounds(drop.BandPoint.x(), drop.BandPoint.y(), control->Width(), control->Height());
    designer_->SelectComponent(control);
}

TControl* TFormatDesign::bringBack(const TDesignDrop& drop)
{
    TDesignToolWindow* tools = designer_->ToolWindow();
    auto* control = qobject_cast<TControl*>(
        form_->FindComponent(tools ? tools->Row(drop.Source, drop.Row).value(2) : QString()));
    if (!control || !isFieldControl(control))
        return nullptr;
    control->SetEnabled(true);
    control->SetVisible(true);
    place(control, drop);
    return control;
}

QString TFormatDesign::freeName(const QString& stem)
{
    // The builder's number goes up with every creation; a name a loaded
    // layout already uses is skipped rather than taken twice.
    for (;;) {
        const QString name = stem + QString::number(builder_->TakeComponentNumber());
        if (!TComponent::IsValidIdent(name))
            throw EComponentError(QStringLiteral("\"%1\" is not a valid component name").arg(name));
        if (!form_->FindComponent(name))
            return name;
    }
}

void TFormatDesign::bindInvalidCharHandler(ReportDBBarcode* code)
{
    // The format form's handler of characters a barcode cannot show, when
    // the form has one; a stored layout names it, and the store lets that
    // one name through.
    try {
        SetPropMethod(code, QStringLiteral("OnInvalidChar"),
            BindMethod(form_, QStringLiteral("OnBarCodeInvalidChar"),
                QMetaType::fromType<TQRBarcodeInvalidCharEvent>().id()));
    } catch (const EPropertyError&) {
        // No such handler: invalid characters are dropped.
    }
}

TControl* TFormatDesign::createExtended(const TDesignDrop& drop)
{
    TDesignToolWindow* tools = designer_->ToolWindow();
    const QStringList row = tools ? tools->Row(drop.Source, drop.Row) : QStringList();
    if (!builder_ || row.size() < 5)
        return nullptr;
    const int table = row[3].toInt(), index = row[4].toInt();
    const TQueryField field = builder_->Field(table, index);
    if (field.Table < 0 || field.Used())
        return nullptr;
    QString fieldName = row[1];
    fieldName.remove(u'.');
    TControl* created = nullptr;
    if (field.Kind == 1) {
        const QString name = freeName(QStringLiteral("ExBc") + fieldName);
        auto* code = new ReportDBBarcode(form_);
        code->SetName(name);
        code->SetDataSet(report_->DataSet());
        code->SetDataField(field.Alias());
        code->SetHint(field.Caption);
        code->SetShowText(true);
        code->SetAutoSize(true);
        code->SetBounds(0, 0, 100, 105);
        bindInvalidCharHandler(code);
        if (SetupExtendedBarcode)
            SetupExtendedBarcode(code, field);
        created = code;
    } else {
        const QString name = freeName(QStringLiteral("ExTxt") + fieldName);
        auto* text = new ReportDBText(form_);
        text->SetName(name);
        text->SetDataSet(report_->DataSet());
        text->SetDataField(field.Alias());
        text->SetHint(field.Caption);
        text->SetAutoSize(false);
        text->SetTextType(0);
        text->SetBounds(0, 0, 100, 13);
        if (SetupExtendedText)
            SetupExtendedText(text, field);
        created = text;
    }
    // Registered before it is placed and selected: the inspector's rules
    // (only added controls are edited) see it as added at once.
    builder_->BindField(table, index, created->Name());
    store_->RuntimeComponents << created->Name();
    place(created, drop);
    return created;
}

TControl* TFormatDesign::createLabel(const TDesignDrop& drop)
{
    const QString name = freeName(QStringLiteral("ExLbl"));
    auto* label = new TQRLabel(form_);
    label->SetName(name);
    const QString caption = store_->Text(TStoreMessage::NewLabel);
    label->SetCaption(caption);
    label->SetHint(caption);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 100, 13);
    if (SetupNewLabel)
        SetupNewLabel(label);
    store_->RuntimeComponents << label->Name();
    place(label, drop);
    return label;
}

void TFormatDesign::UnbindExtendedFields()
{
    for (const QString& name : store_->RuntimeComponents) {
        auto* control = qobject_cast<TQRPrintable*>(form_->FindComponent(name));
        if (!control)
            continue;
        // A text or picture the field list can bring back is only hidden; a
        // data-bound control it cannot (a barcode) loses its data source too.
        if (control->DesignerRestorable()) {
            control->SetEnabled(false);
        } else if (TQRDataBound* binding = control->DataBinding()) {
            binding->SetDataSet(QString());
            binding->SetDataField(QString());
            control->SetEnabled(false);
        }
    }
}
