#include "CriteriaFixture.h"

#include "criteria/SelectPnl.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/Field.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"

#include <QListWidget>

using Form = std::unique_ptr<TfrmZorTest, FreeComponent>;

namespace {

const QString keys = QStringLiteral("spNo.style;spType.style;spCheck.style;edRemark.text;cboKind.itemindex;");

QStringList captionsOf(TListView* list)
{
    QStringList out;
    for (int i = 0; i < list->Items()->Count(); ++i)
        out << list->Items()->Items(i)->Caption();
    return out;
}

void select(TListView* list, const QString& caption)
{
    for (int i = 0; i < list->Items()->Count(); ++i)
        list->Items()->Items(i)->SetSelected(list->Items()->Items(i)->Caption() == caption);
}

} // namespace

TEST_F(CriteriaTest, ValueLinesUseTheSeparatorsExactly)
{
    Form form = MakeForm();
    form->spCheck->SetUserChoice(false);
    form->spCheck->ListBox->AddRow({QStringLiteral("A"), QStringLiteral("a1")});
    form->spCheck->ListBox->AddRow({QStringLiteral("B")});
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spCheck.style")),
        QStringLiteral("sp_UserChoice\x03"
                       "False\x03"
                       "A\x01"
                       "a1\x04"
                       "B\x01\x04"));
    form->spNo->edBegin->SetText(QStringLiteral("X1"));
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral(" spNo . style ")), QStringLiteral("sp_Range\x03X1\x03"));
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spType.style")), QStringLiteral("sp_Discrete\x03"));
    form->cboKind->SetItemIndex(2);
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("cboKind.itemindex")), QStringLiteral("2"));
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("cboKind.nosuch")), QStringLiteral("2"))
        << "a combo box's index";
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spNo.enabled")), QStringLiteral("True"));
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spNo.valuetype")), QStringLiteral("vt_String"));
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("edGone.text")), QString());
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("nodot")), QString());
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spDate.style")), QStringLiteral("sp_Range\x03\x03"))
        << "a date panel without a rule keeps no dates";
}

TEST_F(CriteriaTest, SchemeSavedAndOpenedGivesBackWhatWasEntered)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    form->spNo->edBegin->SetText(Text("甲\"引号'") + QStringLiteral(";,"));
    form->spNo->edFinal->SetText(Text("乙"));
    form->spType->ListBox->AddRow({QStringLiteral("5101"), Text("工单\"变更\"")});
    form->spType->ListBox->AddRow({QStringLiteral("5102")});
    form->spCheck->SetUserChoice(false);
    form->spCheck->ListBox->AddRow({Text("已审核")});
    form->edRemark->SetText(Text("备注 'x' \"y\""));
    form->cboKind->SetItemIndex(1);
    const QString name = Text("我的\"方案'");
    ASSERT_TRUE(form->SaveScheme(keys, name, Variant(0)));
    ASSERT_TRUE(form->RefreshSchemeList());
    EXPECT_TRUE(captionsOf(form->lstCondition).contains(name));
    // The reopened scheme rows show their texts through the code-page hooks.
    TField* stored = form->ClientDataSet1()->FieldByName(QStringLiteral("NCONDITION"));
    ASSERT_NE(stored, nullptr);
    EXPECT_TRUE(static_cast<bool>(stored->OnGetText()));
    EXPECT_TRUE(static_cast<bool>(stored->OnSetText()));
    const QString listBefore = form->spType->ListText();
    const QString checkBefore = form->spCheck->ListText();

    form->spNo->edBegin->Clear();
    form->spNo->edFinal->Clear();
    form->spType->ListBox->ClearRows();
    form->spCheck->SetUserChoice(true);
    form->spCheck->ListBox->ClearRows();
    form->edRemark->Clear();
    form->cboKind->SetItemIndex(0);
    form->restored.clear();

    select(form->lstCondition, name);
    form->OpenSelectedScheme();
    EXPECT_EQ(form->spNo->edBegin->Text(), Text("甲\"引号'") + QStringLiteral(";,"));
    EXPECT_EQ(form->spNo->edFinal->Text(), Text("乙"));
    EXPECT_EQ(form->spType->ListText(), listBefore);
    EXPECT_FALSE(form->spCheck->UserChoice());
    EXPECT_EQ(form->spCheck->ListText(), checkBefore);
    EXPECT_EQ(form->edRemark->Text(), Text("备注 'x' \"y\""));
    EXPECT_EQ(form->cboKind->ItemIndex(), 1);
    EXPECT_EQ(form->restored, QStringList({Text("edRemark=备注 'x' \"y\""), QStringLiteral("cboKind=1")}))
        << "AfterRestoreControl for every restored control but the panels";
}

TEST_F(CriteriaTest, SchemeNamesAreCheckedBeforeTheServerSeesThem)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    EXPECT_FALSE(form->SaveScheme(keys, Text("一二三四五六七八九十一"), Variant(0))) << "22 bytes";
    EXPECT_FALSE(form->SaveScheme(keys, QStringLiteral("   "), Variant(0)));
    ASSERT_TRUE(form->SaveScheme(keys, Text("一二三四五六七八九十"), Variant(0))) << "20 bytes";
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("B"), Variant(0)));
    form->RefreshSchemeList();
    EXPECT_EQ(form->lstCondition->Items()->Count(), 2);

    TListItem* item = form->lstCondition->Items()->Items(0);
    ASSERT_EQ(item->Caption(), QStringLiteral("B"));
    dialogs_->ExpectMessage(mrOk, Text("方案名长度不可大于20"))
        .ExpectMessage(mrOk, Text("方案名不可空白"))
        .ExpectMessage(mrOk, Text("此方案名称已经存在"));
    QString name = Text("一二三四五六七八九十一");
    EXPECT_FALSE(form->RenameScheme(item, name));
    EXPECT_EQ(name, QStringLiteral("B")) << "the old name comes back";
    name = QStringLiteral("  ");
    EXPECT_FALSE(form->RenameScheme(item, name));
    name = Text("一二三四五六七八九十");
    EXPECT_FALSE(form->RenameScheme(item, name));
    name = QStringLiteral("B");
    EXPECT_TRUE(form->RenameScheme(item, name)) << "the same name: nothing to do";
    name = Text("新名字");
    ASSERT_TRUE(form->RenameScheme(item, name));
    form->RefreshSchemeList();
    EXPECT_TRUE(captionsOf(form->lstCondition).contains(Text("新名字"))) << "the server has the new name";
    EXPECT_FALSE(captionsOf(form->lstCondition).contains(QStringLiteral("B")));
}

TEST_F(CriteriaTest, OlderAndDamagedSchemes)
{
    Form form = MakeForm();
    // A key whose control is gone, and a line missing at the end.
    EXPECT_TRUE(form->LoadScheme(QStringLiteral("edGone.text;spNo.style;edRemark.text;cboKind.itemindex;"),
        QStringLiteral("old\r\nsp_Range\x03"
                       "A\x03"
                       "B\r\nnote\r\n")));
    EXPECT_EQ(form->spNo->edBegin->Text(), QStringLiteral("A"));
    EXPECT_EQ(form->edRemark->Text(), QStringLiteral("note"));
    EXPECT_EQ(form->cboKind->ItemIndex(), 0) << "an empty line reads as 0";

    EXPECT_TRUE(form->LoadScheme(QStringLiteral("spNo.style;"), QStringLiteral("sp_Other\x03Z\r\n")));
    EXPECT_EQ(form->spNo->edBegin->Text(), QStringLiteral("A")) << "an unknown style leaves the panel";

    EXPECT_TRUE(form->LoadScheme(QStringLiteral("spType.style;"),
        QStringLiteral("sp_Discrete\x03"
                       "A\x01"
                       "a1\r\n")));
    EXPECT_EQ(form->spType->Items()->Count(), 1) << "a cut-off last row still counts";
    EXPECT_FALSE(form->LoadScheme(QStringLiteral("edRemark.text;spNo.valuetype;edPrintDate.text;"),
        QStringLiteral("changed\r\nvt_Nonsense\r\n2024/01/01\r\n")))
        << "a value its property cannot take ends the load";
    EXPECT_EQ(form->edRemark->Text(), QStringLiteral("changed")) << "earlier controls keep their values";
}

TEST_F(CriteriaTest, DateRulesMoveTheStoredDates)
{
    Form form = MakeForm();
    form->spDate->edBegin->SetText(QStringLiteral("2024/05/15"));
    form->spDate->edFinal->SetText(QStringLiteral("2024/05/20"));
    // Begin: one month on, first day; final: stays.
    form->DateRuleList() << QStringLiteral("0\x03spDate\x03Y\x03"
                                           "1\x03"
                                           "1\x03"
                                           "1\x03"
                                           "0\x03N\x03"
                                           "0\x03"
                                           "0\x03"
                                           "0\x03"
                                           "0\x03"
                                           "D");
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spDate.style")),
        QStringLiteral("sp_Range\x03"
                       "20240601\x03"
                       "20240520"));
    EXPECT_TRUE(form->LoadScheme(QStringLiteral("spDate.style;"),
        QStringLiteral("sp_Range\x03"
                       "20240601\x03"
                       "20240520\r\n")));
    EXPECT_EQ(form->spDate->edBegin->Text(), QStringLiteral("2024/06/01"));
    EXPECT_EQ(form->spDate->EditMask(), form->DateEditMask());
}

TEST_F(CriteriaTest, DeleteAsksAndViewStylesStep)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("gone"), Variant(0)));
    form->RefreshSchemeList();
    select(form->lstCondition, QStringLiteral("gone"));
    dialogs_->ExpectMessage(mrNo, Text("确实要删除此方案吗？gone"));
    form->btnDeleteClick(form.get());
    EXPECT_EQ(form->lstCondition->Items()->Count(), 1);
    dialogs_->ExpectMessage(mrYes);
    form->btnDeleteClick(form.get());
    EXPECT_EQ(form->lstCondition->Items()->Count(), 0);

    EXPECT_EQ(form->lstCondition->ViewStyle(), vsIcon);
    for (TViewStyle expected : {vsSmallIcon, vsList, vsReport, vsIcon}) {
        form->ToolButton1Click(form.get());
        EXPECT_EQ(form->lstCondition->ViewStyle(), expected);
    }
}

TEST_F(CriteriaTest, LineBreaksInsideAValueKeepTheLinesInStep)
{
    Form form = MakeForm();
    auto* memo = form->FindComponent<TMemo>(QStringLiteral("mmNote"));
    ASSERT_NE(memo, nullptr);
    memo->Lines()->SetText(Text("第一行\r\n第二行"));
    form->edRemark->SetText(QStringLiteral("after"));
    const QString memoKeys = QStringLiteral("mmNote.lines;edRemark.text;");
    QString values;
    for (const QString& key : memoKeys.split(u';', Qt::SkipEmptyParts))
        values += form->SchemeValueLine(key) + QStringLiteral("\r\n");
    EXPECT_EQ(values.count(QStringLiteral("\r\n")), 2) << "one line per key";
    memo->Lines()->Clear();
    form->edRemark->Clear();
    ASSERT_TRUE(form->LoadScheme(memoKeys, values));
    EXPECT_EQ(memo->Lines()->Count(), 2);
    EXPECT_EQ(memo->Lines()->Strings(1), Text("第二行"));
    EXPECT_EQ(form->edRemark->Text(), QStringLiteral("after"));
}

TEST_F(CriteriaTest, EditingACaptionInTheListRenamesTheScheme)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("old"), Variant(0)));
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("other"), Variant(0)));
    form->RefreshSchemeList();
    auto* list = qobject_cast<QListWidget*>(form->lstCondition->Widget());
    ASSERT_NE(list, nullptr) << "icon view shows a plain list";
    ASSERT_TRUE(list->item(0)->flags() & Qt::ItemIsEditable);

    list->item(0)->setText(Text("新名"));
    EXPECT_EQ(form->lstCondition->Items()->Items(0)->Caption(), Text("新名"));
    form->RefreshSchemeList();
    EXPECT_EQ(captionsOf(form->lstCondition), QStringList({QStringLiteral("other"), Text("新名")}));

    dialogs_->ExpectMessage(mrOk, Text("此方案名称已经存在"));
    list = qobject_cast<QListWidget*>(form->lstCondition->Widget());
    list->item(0)->setText(Text("新名"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("other")) << "a refused name goes back in the list too";
}
