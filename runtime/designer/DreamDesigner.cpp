#include "runtime/designer/DreamDesigner.h"

#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DesignWindow.h"
#include "runtime/designer/DesignerTexts.h"
#include "runtime/designer/ObjectProperties.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Menus.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QuickRpt.h"

#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// The Del key as a short-cut value.
constexpr int DeleteShortCut = 46;

TMenuItem* itemWithShortCut(TMenuItem* item, int shortCut)
{
    if (!item)
        return nullptr;
    for (int i = 0; i < item->Count(); ++i) {
        if (item->Items(i)->ShortCut() == shortCut)
            return item->Items(i);
        if (TMenuItem* inner = itemWithShortCut(item->Items(i), shortCut))
            return inner;
    }
    return nullptr;
}

} // namespace

bool SelectionIsDeletable(const QList<TControl*>& selection)
{
    return !selection.isEmpty() && std::all_of(selection.cbegin(), selection.cend(), [](TControl* c) {
        const auto* printable = qobject_cast<const TQRPrintable*>(c);
        return printable && printable->DesignerDeletable();
    });
}

int ShortCutOfKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    int vk = 0;
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        vk = qtKey; // the virtual keys of letters and digits are their upper-case codes
    else if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        vk = 0x70 + (qtKey - Qt::Key_F1);
    else if (qtKey == Qt::Key_Delete)
        vk = DeleteShortCut;
    if (!vk)
        return 0;
    if (modifiers & Qt::ShiftModifier)
        vk |= 0x2000;
    if (modifiers & Qt::ControlModifier)
        vk |= 0x4000;
    if (modifiers & Qt::AltModifier)
        vk |= 0x8000;
    return vk;
}

void RegisterDesignerClasses()
{
    RegisterReportClasses();
    if (!FindClass(QStringLiteral("ReportQueryBuilder")))
        RegisterClass<ReportQueryBuilder>();
    if (!FindClass(QStringLiteral("TDreamDesigner")))
        RegisterClass<TDreamDesigner>();
}

TDreamDesigner::TDreamDesigner(TComponent* owner)
    : TComponent(owner)
{
}

TDreamDesigner::~TDreamDesigner()
{
    // No events while the owner is half gone.
    OnActiveChanged = nullptr;
    OnSaveChanges = nullptr;
    close();
}

bool TDreamDesigner::IsPropertyStored(const char* name) const
{
    return qstrcmp(name, "Name") == 0;
}

void TDreamDesigner::SetSnapToGrid(bool on)
{
    snap_ = on;
    if (model_)
        model_->SetSnapToGrid(on);
}

void TDreamDesigner::SetGridSize(int pixels)
{
    grid_ = std::max(1, pixels);
    if (model_)
        model_->SetGridSize(grid_);
}

void TDreamDesigner::SetPopupMenu(TPopupMenu* menu)
{
    popup_ = menu;
    if (window_)
        window_->SetCommands(popup_, hotKey_);
}

QWidget* TDreamDesigner::Window() const
{
    return window_.get();
}

void TDreamDesigner::RequestStop()
{
    if (!Active() || stopPending_ || stopping_)
        return;
    stopPending_ = true;
    // The request comes from inside an event of the window that the stop
    // frees, so the stop runs after that event has left it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            stopPending_ = false;
            SetActive(false);
        },
        Qt::QueuedConnection);
}

bool TDreamDesigner::IsHotKey(int qtKey, Qt::KeyboardModifiers modifiers) const
{
    // Short-cut values: the low byte is the virtual key (F1 = 0x70), the
    // flags are 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
    const int vk = hotKey_ & 0xFF;
    if (vk < 0x70 || vk > 0x7B || qtKey != Qt::Key_F1 + (vk - 0x70))
        return false;
    const bool shift = hotKey_ & 0x2000, ctrl = hotKey_ & 0x4000, alt = hotKey_ & 0x8000;
    return shift == bool(modifiers & Qt::ShiftModifier) && ctrl == bool(modifiers & Qt::ControlModifier)
        && alt == bool(modifiers & Qt::AltModifier);
}

void TDreamDesigner::SetActive(bool on)
{
    if (on == Active())
        return;
    if (on) {
        if (!report_)
            return;
        if (storedChanges_ && OnLoadChanges) {
            bool done = false;
            OnLoadChanges(this, done);
        }
        open();
    } else {
        if (stopping_)
            return; // asked again while the save event still asks
        if (storedChanges_ && OnSaveChanges) {
            bool done = false;
            stopping_ = true;
            try {
                OnSaveChanges(this, done);
            } catch (const EAbort&) {
                stopping_ = false;
                return; // the save was given up: go on designing
            } catch (...) {
                stopping_ = false;
                throw;
            }
            stopping_ = false;
        }
        close();
    }
    if (OnActiveChanged)
        OnActiveChanged(this);
}

void TDreamDesigner::open()
{
    model_ = std::make_unique<TDCFormDesigner>(report_);
    model_->SetGridSize(grid_);
    model_->SetSnapToGrid(snap_);
    window_ = std::make_unique<TDesignWindow>();
    window_->setWindowTitle(report_->Name());
    auto* split = new QSplitter(Qt::Horizontal, window_.get());
    window_->setCentralWidget(split);
    auto* scroll = new QScrollArea(split);
    surface_ = new TDesignSurface(model_.get());
    scroll->setWidget(surface_);
    auto* side = new QSplitter(Qt::Vertical, split);
    side->setObjectName(QStringLiteral("DesignSidePanel"));
    inspector_ = new TObjectInspector(side);
    tools_ = new TDesignToolWindow(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setSizes({740, 360});
    // The inspector is what a user works in most: it takes the larger part
    // of the side, the field lists the rest.
    side->setStretchFactor(0, 3);
    side->setStretchFactor(1, 2);
    side->setSizes({420, 280});
    inspector_->setVisible(showInspector_);
    window_->resize(1100, 760);
    window_->CloseRequested = [this] { RequestStop(); };
    window_->RunItem = [this](TMenuItem* item) { runItem(item); };
    window_->BeforeCommands = [this] {
        if (popup_)
            popup_->OnPopup()(popup_);
    };
    window_->SetCommands(popup_, hotKey_);

    connect(model_.get(), &TDCFormDesigner::SelectionChanged, this, &TDreamDesigner::selectionChanged);
    connect(model_.get(), &TDCFormDesigner::Modified, inspector_, &TObjectInspector::Refresh);
    connect(model_.get(), &TDCFormDesigner::Modified, this, &TDreamDesigner::showSelection);
    connect(inspector_, &TObjectInspector::PropertyChanged, this, &TDreamDesigner::showSelection);
    connect(model_.get(), &TDCFormDesigner::ComponentDeleting, this, [this](TControl* c) {
        if (OnDeleteComponent)
            OnDeleteComponent(this, c);
    });
    connect(inspector_, &TObjectInspector::PropertyChanged, surface_, qOverload<>(&QWidget::update));
    connect(inspector_, &TObjectInspector::PropertyChanged, this, &TDreamDesigner::RefreshFieldLists);
    connect(surface_, &TDesignSurface::DeleteRequested, this, &TDreamDesigner::DeleteRequested);
    connect(surface_, &TDesignSurface::ContextMenuRequested, this, [this](QPoint at) {
        if (popup_)
            popup_->Popup(at.x(), at.y());
    });
    surface_->DropCheck = [this](const TDesignDrop& drop) { return OnDragOver && OnDragOver(this, drop); };
    surface_->DropAction = [this](const TDesignDrop& drop) {
        if (OnDragDrop)
            OnDragDrop(this, drop);
        if (!surface_)
            return;
        // The handler selected what it placed before it may have registered
        // it; the inspector takes it again under the rules now in force.
        selectionChanged();
        RefreshFieldLists();
        surface_->update();
        surface_->setFocus();
    };
    // The hot key stops the designer. Stopping frees the surface, so it
    // runs after the key event has left it.
    surface_->KeyHook = [this](int key, Qt::KeyboardModifiers modifiers) {
        if (!IsHotKey(key, modifiers))
            return RunMenuShortCut(key, modifiers);
        RequestStop();
        return true;
    };
    connect(tools_, &TDesignToolWindow::LinkPlannerRequested, this, [this] {
        if (OnLinkPlanner)
            OnLinkPlanner(this);
        RefreshFieldLists();
    });
    RefreshFieldLists();
    showSelection();
    window_->show();
    surface_->setFocus();
}

void TDreamDesigner::close()
{
    surface_ = nullptr;
    inspector_ = nullptr;
    tools_ = nullptr;
    window_.reset();
    model_.reset();
}

void TDreamDesigner::ShowInspector()
{
    showInspector_ = true;
    if (inspector_)
        inspector_->setVisible(true);
}

void TDreamDesigner::selectionChanged()
{
    if (!inspector_)
        return;
    const QList<TControl*> selected = model_->GetSelectedComponents();
    TComponent* shown = selected.isEmpty() ? nullptr : selected.first();
    if (shown && OnShowProperty)
        OnShowProperty(this, shown);
    inspector_->SetReadOnly(!Allows(daEdit));
    inspector_->Inspect(shown);
    showSelection();
}

void TDreamDesigner::showSelection()
{
    if (!window_ || !model_)
        return;
    window_->RefreshCommands();
    const QList<TControl*> selected = model_->GetSelectedComponents();
    QString text;
    if (selected.size() == 1) {
        const TControl* c = selected.first();
        text = DesignerText("sSelectedOne", "%1 (%2)  左 %3  上 %4  宽 %5  高 %6")
                   .arg(c->Name(), QString::fromLatin1(c->metaObject()->className()))
                   .arg(c->Left())
                   .arg(c->Top())
                   .arg(c->Width())
                   .arg(c->Height());
        if (inspector_ && inspector_->ReadOnly())
            text += DesignerText("sReadOnly", "  (只读)");
    } else if (!selected.isEmpty()) {
        text = DesignerText("sSelectedMany", "已选 %1 个元件").arg(selected.size());
    }
    window_->ShowSelection(text);
}

void TDreamDesigner::SelectComponent(TControl* control, bool add)
{
    if (model_)
        model_->SelectComponent(control, add);
}

QList<TControl*> TDreamDesigner::GetSelectedComponents() const
{
    return model_ ? model_->GetSelectedComponents() : QList<TControl*>();
}

int TDreamDesigner::DeleteSelectedComponents()
{
    if (!model_ || !Allows(daDelete))
        return 0;
    const int deleted = model_->DeleteSelectedComponents();
    if (deleted)
        RefreshFieldLists();
    return deleted;
}

void TDreamDesigner::DeleteRequested()
{
    if (model_ && !popup_)
        DeleteSelectedComponents();
    else if (model_)
        RunMenuShortCut(Qt::Key_Delete, Qt::NoModifier);
}

bool TDreamDesigner::RunMenuShortCut(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const int shortCut = ShortCutOfKey(qtKey, modifiers);
    if (!popup_ || !shortCut)
        return false;
    TMenuItem* item = itemWithShortCut(popup_->Items(), shortCut);
    if (!item)
        return false;
    runItem(item); // the menu's key, though it may not act now
    return true;
}

bool TDreamDesigner::runItem(TMenuItem* item)
{
    if (popup_)
        popup_->OnPopup()(popup_); // the enabling rules of the menu
    if (!item || !item->Enabled())
        return false;
    item->Click();
    return true;
}

void TDreamDesigner::RefreshFieldLists()
{
    if (!tools_ || !report_)
        return;
    QList<QStringList> fields;
    for (TQRCustomBand* band : report_->Bands())
        for (TControl* c : band->ControlList()) {
            // Each kind names itself and what it prints from (a label by its
            // text, a field by its hint or its field, an expression by its text).
            const auto* printable = qobject_cast<const TQRPrintable*>(c);
            const QString field = printable ? printable->SourceText() : QString();
            QString caption = printable ? printable->DesignCaption() : c->Hint();
            if (!c->Enabled() || !c->Visible())
                caption = DesignerText("sHidden", "(隐藏) ") + caption;
            fields << QStringList {caption, field, c->Name()};
        }
    tools_->SetRows(QString::fromLatin1(TDesignToolWindow::FieldList), fields);
    QList<QStringList> extended;
    if (builder_)
        for (int t = 0; t < builder_->TableCount(); ++t)
            for (int f = 0; f < builder_->FieldCount(t); ++f) {
                const TQueryField field = builder_->Field(t, f);
                QString name = builder_->TableName(t) + u'.' + field.Column;
                name.remove(u'.');
                extended << QStringList {
                    field.Caption, name, field.Caption, QString::number(t), QString::number(f)};
            }
    tools_->SetRows(QString::fromLatin1(TDesignToolWindow::ExtendedList), extended);
}
