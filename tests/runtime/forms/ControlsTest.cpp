#include "SampleForms.h"

#include "runtime/forms/Buttons.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

TListItem* addRow(TListView* view, const QString& caption, const QStringList& subItems)
{
    TListItem* item = view->Items()->Add();
    item->SetCaption(caption);
    item->SubItems()->SetLines(subItems);
    return item;
}

} // namespace

TEST(ControlsTest, ListViewSelectionFollowsMultiSelect)
{
    TForm form;
    auto* view = new TListView(&form);
    view->SetParent(&form);
    QStringList events;
    view->SetOnSelectItem(TLVSelectItemEvent::Of([&events](TObject*, TListItem* item, bool selected) {
        events << item->Caption() + (selected ? "+" : "-");
    }));
    TListItem* a = addRow(view, "a", {});
    TListItem* b = addRow(view, "b", {});
    a->SetSelected(true);
    b->SetSelected(true); // single selection: a goes
    EXPECT_EQ(events, QStringList({"a+", "a-", "b+"}));
    EXPECT_EQ(view->SelCount(), 1);
    view->SetMultiSelect(true);
    a->SetSelected(true);
    EXPECT_EQ(view->SelCount(), 2);
    EXPECT_EQ(view->Selected(), a);
    view->SetMultiSelect(false); // keeps the first
    EXPECT_EQ(view->SelCount(), 1);
    EXPECT_TRUE(a->Selected());
}

TEST(ControlsTest, ListViewSortsByCaptionOrByAnyColumn)
{
    TForm form;
    auto* view = new TListView(&form);
    addRow(view, "b", {"2"});
    addRow(view, "A", {"3"});
    addRow(view, "c", {"1"});
    view->CustomSort([](TListItem* x, TListItem* y) {
        return x->SubItems()->Strings(0).compare(y->SubItems()->Strings(0));
    });
    EXPECT_EQ(view->Items()->Items(0)->Caption(), "c");
    view->SetSortType(stText);
    EXPECT_EQ(view->Items()->Items(0)->Caption(), "A");
    addRow(view, "a0", {});
    EXPECT_EQ(view->Items()->Items(1)->Caption(), "a0"); // kept sorted as rows arrive
    int clicked = -1;
    view->SetOnColumnClick(
        TLVColumnClickEvent::Of([&clicked](TObject*, TListColumn* column) { clicked = column->Index(); }));
    view->Columns()->Add();
    view->Columns()->Add();
    view->ColumnClick(1);
    EXPECT_EQ(clicked, 1);
    view->ColumnClick(5); // no such column: nothing
    EXPECT_EQ(clicked, 1);
}

// Each item keeps the program's value through sorting, deletion of other
// items and copying.
TEST(ControlsTest, ListItemDataStaysWithItsItem)
{
    TForm form;
    auto* view = new TListView(&form);
    int values[] = {10, 20, 30};
    addRow(view, "b", {})->SetData(&values[0]);
    addRow(view, "c", {})->SetData(&values[1]);
    addRow(view, "a", {})->SetDataAsInteger(-7);
    view->AlphaSort();
    auto dataOf = [view](const QString& caption) {
        for (int i = 0; i < view->Items()->Count(); ++i) {
            if (view->Items()->Items(i)->Caption() == caption)
                return view->Items()->Items(i)->Data();
        }
        return static_cast<void*>(nullptr);
    };
    EXPECT_EQ(view->Items()->Items(0)->Caption(), "a");
    EXPECT_EQ(view->Items()->Items(0)->DataAsInteger(), -7);
    EXPECT_EQ(dataOf("b"), &values[0]);
    EXPECT_EQ(dataOf("c"), &values[1]);

    // Sorted by the values the data points at, largest first.
    view->Items()->Items(0)->SetData(&values[2]);
    view->CustomSort([](TListItem* x, TListItem* y) {
        return *static_cast<int*>(y->Data()) - *static_cast<int*>(x->Data());
    });
    EXPECT_EQ(view->Items()->Items(0)->Caption(), "a");
    EXPECT_EQ(view->Items()->Items(2)->Caption(), "b");
    EXPECT_EQ(view->FindData(&values[1]), view->Items()->Items(1));
    EXPECT_EQ(view->FindData(nullptr), nullptr);

    view->SetSortType(stText); // kept sorted as rows arrive
    addRow(view, "aa", {})->SetData(&values[1]);
    EXPECT_EQ(view->Items()->Items(1)->Caption(), "aa");
    EXPECT_EQ(view->Items()->Items(1)->Data(), &values[1]);
    view->Items()->Delete(0);
    EXPECT_EQ(dataOf("b"), &values[0]);

    auto* copy = new TListView(&form);
    copy->Items()->Assign(view->Items());
    ASSERT_EQ(copy->Items()->Count(), 3);
    EXPECT_EQ(copy->Items()->Items(2)->Caption(), "c");
    EXPECT_EQ(copy->Items()->Items(2)->Data(), &values[1]);
}

TEST(ControlsTest, ListViewSwitchesWidgetWithTheViewStyle)
{
    TForm form;
    auto* view = new TListView(&form);
    view->SetParent(&form);
    view->SetViewStyle(vsReport);
    addRow(view, "x", {"y"});
    form.Widget();
    auto* tree = qobject_cast<QTreeWidget*>(view->Widget());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->topLevelItem(0)->text(1), ""); // no column for the sub-item yet
    view->Columns()->Add();
    view->Columns()->Add();
    EXPECT_EQ(tree->topLevelItem(0)->text(1), "y");
    view->SetViewStyle(vsList);
    EXPECT_EQ(qobject_cast<QTreeWidget*>(view->Widget()), nullptr);
    EXPECT_EQ(view->Widget()->parentWidget(), form.ChildHost());
}

TEST(ControlsTest, TreeViewNodesNestByLevel)
{
    TForm form;
    auto* tree = new TTreeView(&form);
    TTreeNode* root = tree->AddChild(nullptr, "root");
    TTreeNode* first = tree->AddChild(root, "first");
    tree->AddChild(first, "deep");
    TTreeNode* second = tree->AddChild(root, "second"); // after first's descendants
    EXPECT_EQ(second->Index(), 3);
    EXPECT_EQ(second->ParentNode(), root);
    EXPECT_EQ(tree->Items()->Items(2)->ParentNode(), first);
    tree->SetParent(&form);
    auto* widget = qobject_cast<QTreeWidget*>(tree->Widget());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->topLevelItem(0)->child(1)->text(0), "second");
    EXPECT_EQ(widget->topLevelItem(0)->child(0)->child(0)->text(0), "deep");
}

TEST(ControlsTest, PageControlChangesPagesAsAsked)
{
    TForm form;
    TPageControl* pages = nullptr;
    const QList<TTabSheet*> sheets = AddPageControlWithSheets(form, pages, 3);
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    bool allow = false;
    int changes = 0;
    pages->SetOnChanging(TCloseQueryEvent::Of([&allow](TObject*, bool& ok) { ok = allow; }));
    pages->SetOnChange(TNotifyEvent::Of([&changes](TObject*) { ++changes; }));
    EXPECT_FALSE(pages->SelectPage(sheets[2]));
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    allow = true;
    sheets[1]->SetTabVisible(false);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    pages->SelectNextPage(true); // skips the hidden sheet
    EXPECT_EQ(pages->ActivePage(), sheets[2]);
    EXPECT_EQ(changes, 1);
    sheets[2]->SetTabVisible(false); // hiding the active page moves on
    EXPECT_EQ(pages->ActivePage(), sheets[0]);
    auto* edit = new TEdit(&form);
    EXPECT_THROW(edit->SetParent(pages), EComponentError);
    EXPECT_EQ(edit->Parent(), nullptr);
}

TEST(ControlsTest, CheckBoxComboAndSpinKeepTheirRules)
{
    TForm form;
    auto* check = new TCheckBox(&form);
    int clicks = 0;
    check->SetOnClick(TNotifyEvent::Of([&clicks](TObject*) { ++clicks; }));
    check->Toggle();
    EXPECT_EQ(check->State(), cbChecked);
    check->SetAllowGrayed(true);
    check->Toggle();
    check->Toggle();
    EXPECT_EQ(check->State(), cbGrayed);
    EXPECT_EQ(clicks, 3);

    auto* combo = new TComboBox(&form);
    combo->Items()->SetLines({"a", "b"});
    combo->SetItemIndex(5);
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetStyle(csDropDownList);
    combo->SetText("b");
    EXPECT_EQ(combo->ItemIndex(), 1);
    combo->SetText("zz"); // not in the list: nothing selected
    EXPECT_EQ(combo->Text(), "");
    combo->SetStyle(csDropDown);
    combo->SetParent(&form);
    combo->SetText("free");
    EXPECT_TRUE(qobject_cast<QComboBox*>(combo->Widget())->isEditable());
    EXPECT_EQ(qobject_cast<QComboBox*>(combo->Widget())->currentText(), "free");

    auto* spin = new TSpinEdit(&form);
    spin->SetMinValue(1);
    spin->SetMaxValue(9);
    spin->SetValue(42);
    EXPECT_EQ(spin->Value(), 9);
}

TEST(ControlsTest, ToolBarAndSplitterArrangeTheirNeighbours)
{
    TForm form;
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    auto* bar = new TToolBar(&form);
    bar->SetParent(&form);
    QList<TToolButton*> buttons;
    for (TToolButtonStyle style : {tbsButton, tbsSeparator, tbsCheck}) {
        auto* button = new TToolButton(&form);
        button->SetParent(bar);
        button->SetStyle(style);
        buttons << button;
    }
    EXPECT_EQ(buttons[1]->Left(), 23);
    EXPECT_EQ(buttons[2]->Left(), 31);
    // A control that is no button takes its place in the row, after the buttons before it.
    auto* edit = new TEdit(&form);
    edit->SetWidth(50);
    edit->SetParent(bar);
    auto* last = new TToolButton(&form);
    last->SetParent(bar);
    EXPECT_EQ(edit->Left(), 54);
    EXPECT_EQ(last->Left(), 108);
    buttons[2]->Click();
    EXPECT_TRUE(buttons[2]->Down());

    auto* left = new TPanel(&form);
    left->SetParent(&form);
    left->SetWidth(100);
    left->SetAlign(alLeft);
    auto* splitter = new TSplitter(&form);
    splitter->SetParent(&form);
    splitter->SetLeft(150);
    splitter->SetAlign(alLeft);
    EXPECT_EQ(splitter->Left(), 100);
    EXPECT_EQ(splitter->ResizedControl(), left);
    splitter->MoveBy(40);
    EXPECT_EQ(left->Width(), 140);
    EXPECT_EQ(splitter->Left(), 140);
    splitter->MoveBy(-500);
    EXPECT_EQ(left->Width(), splitter->MinSize());
}

TEST(ControlsTest, SpeedButtonGroupsAndBitButtonKinds)
{
    TForm form;
    auto* a = new TSpeedButton(&form);
    auto* b = new TSpeedButton(&form);
    for (TSpeedButton* button : {a, b}) {
        button->SetParent(&form);
        button->SetGroupIndex(1);
    }
    a->Click();
    b->Click();
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(b->Down());
    b->Click(); // without AllowAllUp one stays down
    EXPECT_TRUE(b->Down());

    auto* ok = new TBitBtn(&form);
    ok->SetKind(bkCancel);
    EXPECT_EQ(ok->ModalResult(), mrCancel);
    EXPECT_TRUE(ok->Cancel());
}

TEST(ControlsTest, ListViewAsksBeforeAnItemChangesAndTellsAfter)
{
    TForm form;
    auto* view = new TListView(&form);
    view->SetParent(&form);
    TListItem* a = addRow(view, "a", {});
    QStringList events;
    bool allow = true;
    view->SetOnChanging(
        TLVChangingEvent::Of([&](TObject*, TListItem* item, TItemChange change, bool& allowed) {
            events << QStringLiteral("changing %1 %2").arg(item->Caption()).arg(int(change));
            allowed = allow;
        }));
    view->SetOnChange(TLVChangeEvent::Of([&](TObject* sender, TListItem* item, TItemChange change) {
        EXPECT_EQ(sender, view);
        events << QStringLiteral("change %1 %2").arg(item->Caption()).arg(int(change));
    }));
    view->SetOnSelectItem(TLVSelectItemEvent::Of([&](TObject*, TListItem* item, bool selected) {
        events << item->Caption() + (selected ? "+" : "-");
    }));
    a->SetCaption(QStringLiteral("A"));
    a->SetImageIndex(2);
    a->SetSelected(true);
    a->SetCaption(QStringLiteral("A")); // no change: nothing asked
    EXPECT_EQ(events,
        (QStringList {
            "changing a 0", "change A 0", "changing A 1", "change A 1", "changing A 2", "change A 2", "A+"}));

    // A refused change leaves the item as it was, and nothing is told after.
    events.clear();
    allow = false;
    a->SetCaption(QStringLiteral("B"));
    a->SetSelected(false);
    a->SetChecked(true);
    EXPECT_EQ(a->Caption(), QStringLiteral("A"));
    EXPECT_TRUE(a->Selected());
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(events, (QStringList {"changing A 0", "changing A 2", "changing A 2"}));
}

TEST(ControlsTest, MouseInputReachesTheInnermostControlInItsOwnCoordinates)
{
    TForm form;
    form.SetBounds(0, 0, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 200, 100);
    auto* label = new TLabel(&form);
    label->SetParent(panel);
    label->SetAutoSize(false);
    label->SetBounds(20, 30, 80, 20);
    label->SetCaption(QStringLiteral("单别"));
    QStringList events;
    auto record = [&events](const char* who) {
        return TMouseEvent::Of(
            [&events, who](TObject*, TMouseButton button, TShiftState shift, int x, int y) {
                events << QStringLiteral("%1 %2 %3,%4%5")
                              .arg(QLatin1String(who))
                              .arg(int(button))
                              .arg(x)
                              .arg(y)
                              .arg(shift.testFlag(ssCtrl) ? QStringLiteral(" ctrl") : QString());
            });
    };
    panel->SetOnMouseDown(record("panel"));
    label->SetOnMouseDown(record("label"));
    label->SetOnMouseUp(record("label up"));
    form.Show();
    QApplication::processEvents();

    // The label's widget leaves the press to its parents: only the label hears it.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 6), label->Widget()->mapToGlobal(QPointF(5, 6)),
        Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
    QApplication::sendEvent(label->Widget(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(7, 8),
        label->Widget()->mapToGlobal(QPointF(7, 8)), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(label->Widget(), &release);
    // On the panel itself, beside the label.
    QMouseEvent panelPress(QEvent::MouseButtonPress, QPointF(150, 80),
        panel->Widget()->mapToGlobal(QPointF(150, 80)), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel->Widget(), &panelPress);
    EXPECT_EQ(events, (QStringList {"label 1 5,6 ctrl", "label up 0 7,8", "panel 0 150,80"}));
    form.Hide();
}

TEST(ControlsTest, OnlyAControlWithOnDragOverTakesADrop)
{
    TForm form;
    auto* source = new TLabel(&form);
    auto* target = new TPanel(&form);
    for (TControl* c : std::initializer_list<TControl*> {source, target})
        c->SetParent(&form);
    EXPECT_FALSE(target->DragOver(source, 1, 2, dsDragEnter)) << "no handler, no drop";
    QStringList events;
    target->SetOnDragOver(
        TDragOverEvent::Of([&](TObject*, TObject* from, int x, int y, TDragState state, bool& accept) {
            events << QStringLiteral("over %1,%2 %3").arg(x).arg(y).arg(int(state));
            accept = from == source && x < 50;
        }));
    target->SetOnDragDrop(TDragDropEvent::Of([&](TObject*, TObject* from, int x, int y) {
        events << QStringLiteral("drop %1,%2 %3").arg(x).arg(y).arg(from == source);
    }));
    EXPECT_TRUE(target->DragOver(source, 10, 20, dsDragMove));
    EXPECT_FALSE(target->DragOver(source, 60, 20, dsDragMove));
    EXPECT_FALSE(target->DragOver(target, 10, 20, dsDragMove));
    target->DragDrop(source, 10, 20);
    EXPECT_EQ(events, (QStringList {"over 10,20 2", "over 60,20 2", "over 10,20 2", "drop 10,20 1"}));
    EXPECT_TRUE(target->Widget()->acceptDrops());
    EXPECT_EQ(TControl::DragSource(), nullptr) << "no drag under way";
}
