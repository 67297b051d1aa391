#pragma once
// Menus: items nest inside items; a main menu shows as the form's menu bar, a
// pop-up menu at a point. The Qt menus are built from the items when shown.

#include "runtime/forms/Component.h"
#include "runtime/forms/Method.h"

class QMenu;
class QMenuBar;
class QWidget;
class TMenu;

class TMenuItem : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
    Q_PROPERTY(int ShortCut READ ShortCut WRITE SetShortCut)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
public:
    explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value) { caption_ = value; }
    bool Checked() const { return checked_; }
    // Checking a radio item clears the other radio items of its group.
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value) { groupIndex_ = value; }
    QString Hint() const { return hint_; }
    void SetHint(const QString& value) { hint_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value) { imageIndex_ = value; }
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value) { radioItem_ = value; }
    int ShortCut() const { return shortCut_; }
    void SetShortCut(int value) { shortCut_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    TNotifyEvent OnClick() const { return onClick_; }
    void SetOnClick(const TNotifyEvent& handler) { onClick_ = handler; }
    bool IsLine() const { return caption_ == QLatin1String("-"); }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(index); }
    TMenuItem* ParentItem() const { return parentItem_; }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // Finds the enabled, visible item whose short-cut is shortCut below this
    // one, looking only through enabled, visible items.
    TMenuItem* FindShortCut(int shortCut);
    void Click();

    TComponent* GetParentComponent() const override;
    void SetChildParent(TComponent* child) override;
    QList<TComponent*> GetChildren() const override;

    // Fills menu with actions for the children (recursively).
    void BuildInto(QMenu* menu);

private:
    friend class TMenu;
    QString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    int groupIndex_ = 0;
    QString hint_;
    int imageIndex_ = -1;
    bool radioItem_ = false;
    int shortCut_ = 0;
    bool visible_ = true;
    TNotifyEvent onClick_;
    QList<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    TMenu* menu_ = nullptr;
};

class TMenu : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool OwnerDraw READ OwnerDraw WRITE SetOwnerDraw)
public:
    explicit TMenu(TComponent* owner = nullptr);
    ~TMenu() override;
    // The invisible root item that holds the top-level items.
    TMenuItem* Items() const { return root_; }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value) { ownerDraw_ = value; }
    // Runs the item with that short-cut; true when one was found.
    bool IsShortCut(int shortCut);

    void SetChildParent(TComponent* child) override;
    QList<TComponent*> GetChildren() const override { return root_->GetChildren(); }

private:
    TMenuItem* root_;
    bool ownerDraw_ = false;
};

class TMainMenu : public TMenu {
    Q_OBJECT
public:
    using TMenu::TMenu;
    // A menu bar for the form's window (the window takes ownership).
    QMenuBar* BuildMenuBar(QWidget* parent);
};

class TPopupMenu : public TMenu {
    Q_OBJECT
    Q_PROPERTY(bool AutoPopup READ AutoPopup WRITE SetAutoPopup)
    Q_PROPERTY(TNotifyEvent OnPopup READ OnPopup WRITE SetOnPopup)
public:
    using TMenu::TMenu;
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TNotifyEvent OnPopup() const { return onPopup_; }
    void SetOnPopup(const TNotifyEvent& handler) { onPopup_ = handler; }
    // Raises OnPopup and shows the menu at the global point without waiting.
    void Popup(int x, int y);

private:
    bool autoPopup_ = true;
    TNotifyEvent onPopup_;
};
