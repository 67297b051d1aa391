#include "SampleForms.h"

#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/Menus.h"

#include <QPointer>
#include <gtest/gtest.h>

TEST(ComponentTest, OwnerKeepsCreationOrderAndFreesWhatItOwns)
{
    auto* form = new TForm;
    auto* a = new TLabel(form);
    auto* b = new TEdit(form);
    a->SetName("lblA");
    b->SetName("edB");
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->Components(1), b);
    EXPECT_EQ(form->FindComponent("EDb"), b);
    QPointer<TEdit> watch(b);
    delete a;
    EXPECT_EQ(form->ComponentCount(), 1);
    EXPECT_EQ(form->FindComponent("lblA"), nullptr);
    delete form;
    EXPECT_TRUE(watch.isNull());
}

TEST(ComponentTest, NamesAreIdentifiersUniqueWithoutRegardToCase)
{
    TForm form;
    auto* a = new TLabel(&form);
    auto* b = new TLabel(&form);
    a->SetName("Label1");
    EXPECT_THROW(b->SetName("LABEL1"), EComponentError);
    EXPECT_THROW(b->SetName("1Label"), EComponentError);
    EXPECT_THROW(b->SetName("Label 2"), EComponentError);
    b->SetName("Label2");
    a->SetName("Renamed");
    b->SetName("Label1"); // the old name is free again
    EXPECT_EQ(form.FindComponent("label1"), b);
}

TEST(ComponentTest, ParentsAlignAndFreeTheirChildren)
{
    TForm form;
    form.SetClientWidth(300);
    form.SetClientHeight(200);
    auto* top = new TPanel(&form);
    top->SetParent(&form);
    top->SetHeight(30);
    top->SetAlign(alTop);
    auto* client = new TPanel(&form);
    client->SetParent(&form);
    client->SetAlign(alClient);
    auto* inner = new TEdit(&form);
    inner->SetParent(client);
    EXPECT_EQ(top->BoundsRect(), QRect(0, 0, 300, 30));
    EXPECT_EQ(client->BoundsRect(), QRect(0, 30, 300, 170));
    form.SetClientHeight(100);
    EXPECT_EQ(client->BoundsRect(), QRect(0, 30, 300, 70));
    EXPECT_THROW(client->SetParent(client), EComponentError);
    QPointer<TEdit> watch(inner);
    delete client;
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(form.ComponentCount(), 1);
}

TEST(ComponentTest, ChildrenFollowTheParentFontUntilGivenTheirOwn)
{
    TForm form;
    auto* box = new TGroupBox(&form);
    box->SetParent(&form);
    auto* edit = new TEdit(&form);
    edit->SetParent(box);
    form.Font()->SetName("SimSun");
    EXPECT_EQ(edit->Font()->Name(), "SimSun");
    edit->Font()->SetCharset(CHINESEBIG5_CHARSET);
    EXPECT_FALSE(edit->ParentFont());
    form.Font()->SetName("Tahoma");
    EXPECT_EQ(box->Font()->Name(), "Tahoma");
    EXPECT_EQ(edit->Font()->Name(), "SimSun");
}

TEST(ComponentTest, TabOrderIsThePlaceAmongWindowedSiblings)
{
    TForm form;
    auto* a = new TEdit(&form);
    auto* b = new TEdit(&form);
    auto* c = new TEdit(&form);
    for (TEdit* e : {a, b, c})
        e->SetParent(&form);
    new TLabel(&form); // not windowed: no tab order
    EXPECT_EQ(c->TabOrder(), 2);
    c->SetTabOrder(0);
    EXPECT_EQ(form.TabList(), QList<TWinControl*>({c, a, b}));
    a->SetTabOrder(99);
    EXPECT_EQ(a->TabOrder(), 2);
}

TEST(ComponentTest, RadioItemsAndSpeedButtonGroupsKeepOneChecked)
{
    TForm form;
    auto* menu = new TMainMenu(&form);
    auto* view = new TMenuItem(&form);
    menu->Items()->Add(view);
    QList<TMenuItem*> items;
    for (int i = 0; i < 3; ++i) {
        auto* item = new TMenuItem(&form);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        view->Add(item);
        items << item;
    }
    items[0]->SetChecked(true);
    items[2]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[2]->Checked());

    int clicks = 0;
    items[1]->SetShortCut(TextToShortCut("Ctrl+P"));
    items[1]->SetOnClick(TNotifyEvent::Of([&clicks](TObject*) { ++clicks; }));
    EXPECT_TRUE(menu->IsShortCut(TextToShortCut("ctrl+p")));
    EXPECT_FALSE(menu->IsShortCut(TextToShortCut("Ctrl+Q")));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ShortCutToText(items[1]->ShortCut()), "Ctrl+P");
}
