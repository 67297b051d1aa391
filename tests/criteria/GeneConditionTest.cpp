#include "CriteriaFixture.h"

#include "criteria/GeneCondition.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

using Form = std::unique_ptr<TfrmZorTest, FreeComponent>;
using Dialog = std::unique_ptr<TfrmGeneCondition, FreeComponent>;

namespace {

Dialog dialogFor(TfrmBaseGene* form, const QString& fields, int notDates = 0)
{
    auto* dialog = new TfrmGeneCondition(form, fields, notDates);
    dialog->AfterConstruction();
    return Dialog(dialog);
}

QString record(std::initializer_list<const char*> fields)
{
    QStringList list;
    for (const char* f : fields)
        list << QString::fromLatin1(f);
    return list.join(QChar(3));
}

} // namespace

TEST_F(CriteriaTest, ConditionDialogBuildsOneRulePerDateField)
{
    Form form = MakeForm();
    Dialog dialog = dialogFor(form.get(), form->DateFieldList());
    EXPECT_EQ(dialog->Caption(), form->Caption());
    ASSERT_EQ(dialog->cbodatecondition->Items()->Count(), 2);
    EXPECT_EQ(dialog->cbodatecondition->Items()->Strings(0), Text("变更日期"));
    EXPECT_EQ(dialog->cbodatecondition->Items()->Strings(1), Text("制表日期"))
        << "the option text names the edit";
    EXPECT_EQ(form->DateRuleList(),
        QStringList({record({"0", "spDate", "N", "0", "0", "0", "0", "N", "0", "0", "0", "0", "D"}),
            record({"1", "edPrintDate", "N", "0", "0", "0", "0", "D"})}));
    EXPECT_TRUE(dialog->gbDateFields->Enabled());
    EXPECT_TRUE(dialog->pnSp->Visible());
    EXPECT_FALSE(dialog->pnEdit->Visible());
    EXPECT_FALSE(dialog->seSetDay_B1->Enabled()) << "a start that does not move leaves its controls off";
    EXPECT_FALSE(dialog->cboSetDay_B2->Enabled());

    dialog->cbodatecondition->SetItemIndex(1);
    dialog->cbodateconditionChange(dialog.get());
    EXPECT_TRUE(dialog->pnEdit->Visible());
    EXPECT_EQ(dialog->DateRuleList().size(), 2);
}

TEST_F(CriteriaTest, ConditionDialogRulesFollowTheControls)
{
    Form form = MakeForm();
    Dialog dialog = dialogFor(form.get(), form->DateFieldList());
    dialog->spDate_B->SetChecked(true);
    EXPECT_TRUE(dialog->seSetDay_B1->Enabled());
    EXPECT_TRUE(dialog->seSetDay_B2->Enabled());
    dialog->seSetDay_B1->SetValue(1);
    dialog->cboSetDay_B1->SetItemIndex(1);
    dialog->cboSetDay_B2->SetItemIndex(1);
    dialog->RuleChange(dialog.get());
    EXPECT_FALSE(dialog->seSetDay_B2->Enabled()) << "first day: no days to add";
    EXPECT_EQ(form->DateRuleList().at(0),
        record({"0", "spDate", "Y", "1", "1", "1", "0", "N", "0", "0", "0", "0", "D"}));
    dialog->cboSetDay_B2->SetItemIndex(0);
    dialog->RuleChange(dialog.get());
    EXPECT_TRUE(dialog->seSetDay_B2->Enabled()) << "back to plus/minus";

    // What the rule does when the scheme is saved.
    dialog->cboSetDay_B2->SetItemIndex(1);
    dialog->RuleChange(dialog.get());
    form->spDate->edBegin->SetText(QStringLiteral("2024/05/15"));
    form->spDate->edFinal->SetText(QStringLiteral("2024/05/20"));
    EXPECT_EQ(form->SchemeValueLine(QStringLiteral("spDate.style")),
        QStringLiteral("sp_Range\x03"
                       "20240601\x03"
                       "20240520"));

    // Choosing the item again shows the record as it stands.
    dialog->LoadItem(0);
    EXPECT_TRUE(dialog->spDate_B->Checked());
    EXPECT_EQ(dialog->seSetDay_B1->Value(), 1);
    EXPECT_EQ(dialog->cboSetDay_B2->ItemIndex(), 1);
}

TEST_F(CriteriaTest, ConditionDialogWithoutDateFields)
{
    Form form = MakeForm();
    Dialog dialog = dialogFor(form.get(), QStringLiteral("spDate,edPrintDate"), 2);
    EXPECT_FALSE(dialog->gbDateFields->Enabled());
    EXPECT_TRUE(form->DateRuleList().isEmpty());
    dialog->edConName->SetText(Text("新方案"));
    dialog->btnOkClick(dialog.get());
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_FALSE(dialog->ReplaceExisting());
}

TEST_F(CriteriaTest, ConditionDialogChecksTheName)
{
    Form form = MakeForm();
    ASSERT_TRUE(form->SaveScheme(QStringLiteral("spNo.style;"), Text("已有"), Variant(0)));
    Dialog dialog = dialogFor(form.get(), form->DateFieldList());
    dialog->edConName->SetText(QStringLiteral("   "));
    dialogs_->ExpectMessage(mrOk, Text("方案名不可空白"));
    dialog->btnOkClick(dialog.get());
    EXPECT_EQ(dialog->ModalResult(), mrNone);
    EXPECT_EQ(dialog->ActiveControl(), dialog->edConName);

    dialog->edConName->SetText(Text("一二三四五六七八九十一"));
    dialogs_->ExpectMessage(mrOk, Text("方案名长度不可大于20"));
    dialog->btnOkClick(dialog.get());
    EXPECT_EQ(dialog->ModalResult(), mrNone);

    dialog->edConName->SetText(Text("已有"));
    dialogs_->ExpectMessage(mrNo, Text("此方案名已存在"));
    dialog->btnOkClick(dialog.get());
    EXPECT_EQ(dialog->ModalResult(), mrNone);
    EXPECT_FALSE(dialog->ReplaceExisting());
    dialogs_->ExpectMessage(mrYes, Text("替换"));
    dialog->btnOkClick(dialog.get());
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_TRUE(dialog->ReplaceExisting());
}

namespace {

// A character typed as the keyboard (or an input method) delivers it.
void type(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

} // namespace

TEST_F(CriteriaTest, TheSchemeNameStopsAtTwentyBytesAsItIsTyped)
{
    Form form = MakeForm();
    Dialog dialog = dialogFor(form.get(), form->DateFieldList());
    dialog->Show();
    QApplication::setActiveWindow(dialog->Widget());
    dialog->edConName->SetFocus();
    QWidget* line = dialog->edConName->Widget();

    type(line, Text("一二三四五六七八九十一二"));
    EXPECT_EQ(dialog->edConName->Text(), Text("一二三四五六七八九十")) << "ten characters of two bytes";
    dialog->edConName->SetText(QString());
    type(line, Text("一二三四五六七八九ab"));
    EXPECT_EQ(dialog->edConName->Text(), Text("一二三四五六七八九ab"));
    type(line, QStringLiteral("c"));
    EXPECT_EQ(dialog->edConName->Text(), Text("一二三四五六七八九ab")) << "the 21st byte is not taken";

    // A pasted or composed text is cut to what fits.
    dialog->edConName->SetText(Text("月报"));
    QInputMethodEvent compose;
    compose.setCommitString(Text("一二三四五六七八九十"));
    QApplication::sendEvent(line, &compose);
    EXPECT_EQ(dialog->edConName->Text(), Text("月报一二三四五六七八"));
}

TEST_F(CriteriaTest, EnterInTheSchemeNameIsOkAndTheNameLosesItsOuterBlanks)
{
    Form form = MakeForm();
    ASSERT_TRUE(form->SaveScheme(QStringLiteral("spNo.style;"), Text("已有"), Variant(0)));
    Dialog dialog = dialogFor(form.get(), form->DateFieldList());
    dialog->Show();
    QApplication::setActiveWindow(dialog->Widget());
    dialog->edConName->SetFocus();
    type(dialog->edConName->Widget(), Text(" 已有  "));
    // The name with its blanks trimmed is the one that exists.
    dialogs_->ExpectMessage(mrYes, Text("此方案名已存在"));
    QTest::keyClick(dialog->edConName->Widget(), Qt::Key_Return);
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_TRUE(dialog->ReplaceExisting());
    EXPECT_EQ(dialog->SchemeName(), Text("已有"));
}
