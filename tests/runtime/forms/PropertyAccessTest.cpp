#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/PropertyAccess.h"

#include <gtest/gtest.h>

// What a text converter or language package reaches by name and path.
class PropertyAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        combo = new TComboBox(&form);
        combo->SetName("cbKind");
        combo->Items()->SetLines({QString::fromUtf8("工单"), QString::fromUtf8("变更单")});
        combo->SetItemIndex(1);
        view = new TListView(&form);
        view->SetName("lvList");
        view->Columns()->Add()->SetCaption(QString::fromUtf8("单别"));
        view->Columns()->Add()->SetCaption(QString::fromUtf8("单号"));
        status = new TStatusBar(&form);
        status->SetName("sbMain");
        status->Panels()->Add()->SetText(QString::fromUtf8("就绪"));
    }

    TForm form;
    TComboBox* combo = nullptr;
    TListView* view = nullptr;
    TStatusBar* status = nullptr;
};

TEST_F(PropertyAccessTest, NamesAndPathsIgnoreCase)
{
    EXPECT_EQ(GetPropertyText(combo, "itemindex"), "1");
    EXPECT_EQ(GetPropertyText(combo, "ITEMS_1"), QString::fromUtf8("变更单"));
    EXPECT_EQ(GetPropertyText(view, "columns_1.caption"), QString::fromUtf8("单号"));
    EXPECT_EQ(
        GetPropertyText(view, "Columns_0"), QString::fromUtf8("单别")); // an item stands for its caption
    EXPECT_EQ(GetPropertyText(status, "Panels_0.Text"), QString::fromUtf8("就绪"));
    EXPECT_EQ(GetPropertyText(&form, "font.charset"), "DEFAULT_CHARSET");
    EXPECT_EQ(GetPropertyTypeName(&form, "Font.Charset"), "TFontCharset");
    EXPECT_EQ(GetPropertyTypeName(combo, "Items"), "TStrings*");
}

TEST_F(PropertyAccessTest, PathsThatLeadNowhere)
{
    EXPECT_FALSE(HasPropertyPath(view, "Columns_2.Caption")); // one past the end
    EXPECT_FALSE(HasPropertyPath(view, "Columns_1.NoSuch"));
    EXPECT_FALSE(HasPropertyPath(combo, "Text.Length")); // a string has no properties
    EXPECT_FALSE(HasPropertyPath(combo, "Items_1.Caption")); // a line has no properties
    EXPECT_FALSE(HasPropertyPath(combo, "Caption")); // not published by a combo box
    EXPECT_TRUE(HasPropertyPath(combo, "Items_5")); // a line past the end can be set
    EXPECT_THROW(GetPropertyText(combo, "Items_5"), EPropertyError);
    EXPECT_THROW(SetPropertyText(view, "Columns_9.Caption", "x"), EPropertyError);
}

TEST_F(PropertyAccessTest, SettingLinesColumnsPanelsAndFonts)
{
    SetPropertyText(combo, "Items_3", "Z"); // grows the list with empty lines
    EXPECT_EQ(combo->Items()->Lines(),
        QStringList({QString::fromUtf8("工单"), QString::fromUtf8("变更单"), "", "Z"}));
    EXPECT_EQ(combo->ItemIndex(), 1);
    SetPropertyText(view, "Columns_1.Caption", QString::fromUtf8("單號"));
    EXPECT_EQ(view->Column(1)->Caption(), QString::fromUtf8("單號"));
    SetPropertyText(status, "panels_0.text", "OK");
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "OK");
    SetPropertyText(&form, "Font.Charset", "136");
    EXPECT_EQ(form.Font()->Charset(), CHINESEBIG5_CHARSET);
    SetPropertyText(&form, "Font.Name", "SimSun");
    SetPropertyText(&form, "Font.Style", "[fsBold, fsUnderline]");
    EXPECT_EQ(form.Font()->Style(), TFontStyles(fsBold) | fsUnderline);
    SetPropertyText(&form, "Color", "clWindow");
    EXPECT_EQ(form.Color(), clWindow);
    SetPropertyText(combo, "Style", " csOwnerDrawFixed ");
    EXPECT_EQ(combo->Style(), csOwnerDrawFixed);
    SetPropertyText(combo, "Items", "a\nb\n");
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_THROW(SetPropertyText(combo, "Style", "csNoSuchStyle"), EPropertyError);
    EXPECT_THROW(SetPropertyText(combo, "Style", "77"), EPropertyError); // a closed enumeration
    EXPECT_THROW(SetPropertyText(combo, "Enabled", "maybe"), EPropertyError);
}

TEST_F(PropertyAccessTest, HandlersCanBeReadSavedReplacedAndCalledLater)
{
    QStringList calls;
    SetPropMethod(combo, "OnChange", TNotifyEvent::Of([&calls](TObject*) { calls << "original"; }));
    const TMethod saved = GetPropMethod(combo, "onchange");
    SetPropMethod(combo, "OnChange", TNotifyEvent::Of([&calls, saved](TObject* sender) {
        calls << "hook";
        TNotifyEvent {saved}(sender);
    }));
    combo->SetText("typed"); // an editable combo raises OnChange
    EXPECT_EQ(calls, QStringList({"hook", "original"}));
    // A handler of another family does not fit.
    EXPECT_THROW(SetPropMethod(combo, "OnKeyDown", saved), EPropertyError);
    EXPECT_THROW(GetPropMethod(combo, "Text"), EPropertyError);
}

TEST_F(PropertyAccessTest, GridCellsAreReachableAndBounded)
{
    auto* grid = new TStringGrid(&form);
    grid->SetColCount(3);
    grid->SetRowCount(2);
    grid->SetCells(2, 1, QString::fromUtf8("数量"));
    EXPECT_EQ(grid->Cells(2, 1), QString::fromUtf8("数量"));
    grid->SetColCount(4); // cells keep their place
    EXPECT_EQ(grid->Cells(2, 1), QString::fromUtf8("数量"));
    EXPECT_THROW(grid->Cells(4, 0), EListError);
    EXPECT_THROW(grid->SetRowCount(TStringGrid::MaxCells), EPropertyError);
}
