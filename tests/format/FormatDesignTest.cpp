// The format form's side of the designer: drops from the tool window, the
// names of added controls, delete and the pop-up menu's rule.
#include "../runtime/designer/SampleReportForm.h"

#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRBarcode.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class FormatDesignTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TfrmDesignSample::Register();
        form.reset(new TfrmDesignSample(nullptr));
        TFormatStoreHost host;
        host.Form = form.get();
        host.LangText = [](const QString&, const QString& text) { return text; };
        store = std::make_unique<TFormatStore>(host);
        builder = form->SQLReBuilder;
        builder->AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = B.TP004"));
        builder->AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0);
        builder->AddField(0, QStringLiteral("MB003"), QStringLiteral("条码"), 1);
        design = std::make_unique<TFormatDesign>(form.get(), form->QuickRep1, builder, store.get());
        design->Designer()->SetStoredChanges(false); // no store behind these tests
        design->Designer()->SetActive(true);
    }
    int rowOf(const QString& list, int column, const QString& text) const
    {
        TDesignToolWindow* tools = design->Designer()->ToolWindow();
        for (int r = 0; r < tools->RowCount(list); ++r)
            if (tools->Row(list, r).value(column) == text)
                return r;
        return -1;
    }
    TDesignDrop extended(int row, TQRCustomBand* band) const
    {
        return {QString::fromLatin1(TDesignToolWindow::ExtendedList), row, band, QPoint(40, 2)};
    }

    std::unique_ptr<TfrmDesignSample, FreeComponent> form;
    std::unique_ptr<TFormatStore> store;
    ReportQueryBuilder* builder = nullptr;
    std::unique_ptr<TFormatDesign> design;
};

TEST_F(FormatDesignTest, AnExtendedFieldDropsOnceAndAgainAfterItsControlWasDeleted)
{
    const TDesignDrop drop = extended(0, form->DetailBand1);
    ASSERT_TRUE(design->DragOver(drop));
    TControl* first = design->DragDrop(drop);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Name(), QStringLiteral("ExTxtINVMBMB0021"));
    auto* text = qobject_cast<ReportDBText*>(first);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->DataField(), QStringLiteral("RT0_MB002"));
    EXPECT_EQ(text->DataSet(), QStringLiteral("ClientDataSet1"));
    EXPECT_EQ(text->Hint(), QStringLiteral("品名"));
    EXPECT_EQ(text->BoundsRect(), QRect(40, 2, 100, 13));
    EXPECT_FALSE(text->AutoSize());
    EXPECT_EQ(store->RuntimeComponents, QStringList {QStringLiteral("ExTxtINVMBMB0021")});
    EXPECT_EQ(builder->Field(0, 0).Component, first->Name());
    // The same field again: refused.
    EXPECT_FALSE(design->DragOver(drop));
    EXPECT_EQ(design->DragDrop(drop), nullptr);
    // Deleted, it frees the field; dropped again it gets a higher number.
    design->Designer()->SelectComponent(first);
    EXPECT_EQ(design->Designer()->DeleteSelectedComponents(), 1);
    EXPECT_TRUE(store->RuntimeComponents.isEmpty());
    EXPECT_FALSE(builder->Field(0, 0).Used());
    ASSERT_TRUE(design->DragOver(drop));
    TControl* second = design->DragDrop(drop);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->Name(), QStringLiteral("ExTxtINVMBMB0022"));
    // A barcode field makes a barcode.
    TControl* code = design->DragDrop(extended(1, form->DetailBand1));
    ASSERT_NE(qobject_cast<ReportDBBarcode*>(code), nullptr);
    EXPECT_EQ(code->Name(), QStringLiteral("ExBcINVMBMB0033"));
    EXPECT_EQ(code->Height(), 105);
}

TEST_F(FormatDesignTest, HiddenFieldsComeBackOnlyOnTheirOwnBand)
{
    const QString fields = QString::fromLatin1(TDesignToolWindow::FieldList);
    const int row = rowOf(fields, 2, QStringLiteral("qrdHidden"));
    ASSERT_GE(row, 0);
    TDesignDrop wrong {fields, row, form->TitleBand1, QPoint(8, 8)};
    EXPECT_FALSE(design->DragOver(wrong));
    TDesignDrop right {fields, row, form->DetailBand1, QPoint(480, 4)};
    ASSERT_TRUE(design->DragOver(right));
    EXPECT_EQ(design->DragDrop(right), form->qrdHidden);
    EXPECT_TRUE(form->qrdHidden->Enabled());
    EXPECT_EQ(form->qrdHidden->BoundsRect().topLeft(), QPoint(480, 4));
    EXPECT_EQ(design->Designer()->GetSelectedComponents(), QList<TControl*> {form->qrdHidden});
    // A shape is no field.
    const int shape = rowOf(fields, 2, QStringLiteral("qrsLine"));
    ASSERT_GE(shape, 0);
    EXPECT_FALSE(design->DragOver({fields, shape, form->ColumnHeaderBand1, QPoint()}));
}

TEST_F(FormatDesignTest, TheLabelToolAddsNumberedLabelsAndBandsOfAnotherDataSetRefuseThem)
{
    const QString tool = QString::fromLatin1(TDesignToolWindow::LabelTool);
    TControl* a = design->DragDrop({tool, -1, form->TitleBand1, QPoint(4, 4)});
    TControl* b = design->DragDrop({tool, -1, form->TitleBand1, QPoint(4, 20)});
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->Name(), QStringLiteral("ExLbl1"));
    EXPECT_EQ(b->Name(), QStringLiteral("ExLbl2"));
    EXPECT_EQ(a->Caption(), QStringLiteral("新建标签"));
    EXPECT_EQ(a->Hint(), QStringLiteral("新建标签"));
    // A group band over another data set takes neither labels nor fields.
    auto* group = new TQRGroup(form.get());
    group->SetName(QStringLiteral("GroupOther"));
    group->SetParent(form->QuickRep1);
    group->SetExpression(QStringLiteral("ClientDataSet2.XX001"));
    EXPECT_FALSE(design->DragOver({tool, -1, group, QPoint()}));
    EXPECT_FALSE(design->DragOver(extended(0, group)));
    group->SetExpression(QStringLiteral("ClientDataSet1.TO001"));
    EXPECT_TRUE(design->DragOver({tool, -1, group, QPoint()}));
}

TEST_F(FormatDesignTest, TheMenuHasItsItemsAndDeleteIsOnlyForAddedDataTexts)
{
    TPopupMenu* menu = design->PopupMenu();
    ASSERT_EQ(menu->Name(), QStringLiteral("PopupMenu1"));
    QStringList names;
    for (int i = 0; i < menu->Items()->Count(); ++i)
        names << menu->Items()->Items(i)->Name();
    EXPECT_EQ(names,
        (QStringList {"ShowObjectInsp1", "mnuDOCtoEMF", "nuAlignToGrid", "nuBringToFront", "nuSendToBack",
            "nuAlignSelected", "nuSize", "sss1", "miDel", "nuSave", "nuSaveAs", "nuSaveLoc", "nuLoadLoc"}));
    auto* del = form->FindComponent<TMenuItem>(QStringLiteral("miDel"));
    EXPECT_FALSE(del->Enabled());
    design->Designer()->SelectComponent(form->qrdNo);
    design->Designer()->SelectComponent(form->qrlTitle, true);
    design->PopupMenuPopup();
    EXPECT_FALSE(del->Enabled());
    design->Designer()->SelectComponent(form->qrdNo);
    design->PopupMenuPopup();
    EXPECT_TRUE(del->Enabled());
    // Deleting a built-in data text hides it (a stored layout could not
    // say it is gone), and changes nothing else.
    del->Click();
    ASSERT_EQ(form->FindComponent(QStringLiteral("qrdNo")), form->qrdNo);
    EXPECT_FALSE(form->qrdNo->Enabled());
    EXPECT_TRUE(store->RuntimeComponents.isEmpty());
    // Ctrl+Z shows it again.
    ASSERT_TRUE(design->Designer()->GetActiveDesigner()->Undo());
    EXPECT_TRUE(form->qrdNo->Enabled());
    // An added data text is freed.
    TControl* extra = design->DragDrop(extended(0, form->DetailBand1));
    ASSERT_NE(extra, nullptr);
    design->PopupMenuPopup();
    ASSERT_TRUE(del->Enabled());
    del->Click();
    EXPECT_EQ(form->FindComponent(QStringLiteral("ExTxtINVMBMB0021")), nullptr);
    EXPECT_TRUE(store->RuntimeComponents.isEmpty());
    // The inspector edits only added controls.
    TControl* added
        = design->DragDrop({QString::fromLatin1(TDesignToolWindow::LabelTool), -1, form->TitleBand1, {}});
    design->Designer()->SelectComponent(form->qrlTitle);
    EXPECT_FALSE(design->Designer()->Allows(daEdit));
    design->Designer()->SelectComponent(added);
    EXPECT_TRUE(design->Designer()->Allows(daEdit));
    // The align item runs the dialog and aligns.
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([](TForm* f) {
        f->FindComponent<TRadioGroup>(QStringLiteral("rgVertical"))->SetItemIndex(1);
        return int(mrOk);
    });
    design->Designer()->SelectComponent(form->qrlTitle);
    design->Designer()->SelectComponent(added, true);
    form->FindComponent<TMenuItem>(QStringLiteral("nuAlignSelected"))->Click();
    EXPECT_EQ(added->Top(), form->qrlTitle->Top());
}

TEST_F(FormatDesignTest, UnbindingDisablesAddedControlsAndTakesTheBarcodesData)
{
    TControl* text = design->DragDrop(extended(0, form->DetailBand1));
    TControl* code = design->DragDrop(extended(1, form->DetailBand1));
    ASSERT_NE(text, nullptr);
    ASSERT_NE(code, nullptr);
    design->UnbindExtendedFields();
    EXPECT_FALSE(text->Enabled());
    EXPECT_FALSE(code->Enabled());
    EXPECT_EQ(qobject_cast<ReportDBBarcode*>(code)->DataField(), QString());
    EXPECT_TRUE(form->qrdNo->Enabled()); // built in: untouched
}

} // namespace

#include "format/OptionSnapshot.h"
#include "runtime/forms/Forms.h"

namespace {

TEST(OptionSnapshotTest, TheNamedControlsGiveTheirValuesInOrder)
{
    std::unique_ptr<TForm, FreeComponent> options(new TForm(nullptr));
    auto* combo = new TComboBox(options.get());
    combo->SetName(QStringLiteral("cboTO041"));
    combo->Items()->Add(QStringLiteral("a"));
    combo->Items()->Add(QStringLiteral("b"));
    combo->SetItemIndex(1);
    auto* check = new TCheckBox(options.get());
    check->SetName(QStringLiteral("chkPrice"));
    check->SetChecked(true);
    auto* radio = new TRadioGroup(options.get());
    radio->SetName(QStringLiteral("rgDate"));
    const QString specs = QStringLiteral("cboTO041:x;chkPrice;missing:1;rgDate:d;");
    EXPECT_EQ(OptionSnapshotText(options.get(), specs, true),
        QStringLiteral("cboTO041:x=1\r\nchkPrice=1\r\nrgDate:d=-1"));
    EXPECT_EQ(OptionSnapshotText(options.get(), specs, false), QString());
    EXPECT_EQ(OptionSnapshotText(options.get(), QStringLiteral("  "), true), QString());
}

TEST_F(FormatDesignTest, OnlyCtrlSCtrlNAndCtrlAltLAreTheFormsKeys)
{
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo, QStringLiteral("你是否想要保存呢?"));
    EXPECT_TRUE(design->FormKeyDown('s', TShiftState(ssCtrl)));
    EXPECT_FALSE(design->FormKeyDown('S', TShiftState(ssCtrl) | ssShift));
    EXPECT_FALSE(design->FormKeyDown('L', TShiftState(ssCtrl)));
    EXPECT_FALSE(design->FormKeyDown('X', TShiftState(ssCtrl)));
    dialogs.ExpectMessage(mrNo, QStringLiteral("是否加载上次保存失败时的修改"));
    EXPECT_TRUE(design->FormKeyDown('L', TShiftState(ssCtrl) | ssAlt));
    dialogs.ExpectInput(false, QString());
    EXPECT_TRUE(design->FormKeyDown('N', TShiftState(ssCtrl)));
    EXPECT_EQ(dialogs.Pending(), 0);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

} // namespace
