// The scheme pane of the change-slip window: saving through the scheme
// dialog, and the list's size.
#include "OptionsWindowFixture.h"

#include "controls/BtChkBox.h"
#include "controls/ExtPage.h"
#include "criteria/GeneCondition.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "support/QStringPrinter.h"

namespace {

QStringList captions(TListView* list)
{
    QStringList out;
    for (int i = 0; i < list->Items()->Count(); ++i)
        out << list->Items()->Items(i)->Caption();
    return out;
}

} // namespace

TEST_F(OptionsWindowTest, SaveAsksTheSchemeDialogThenStoresTheSavedControls)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    form->spTO002->edBegin->SetText(QStringLiteral("20241101001"));
    form->spTO002->edFinal->SetText(QStringLiteral("20241130999"));
    QStringList offered;
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* dialog = qobject_cast<TfrmGeneCondition*>(shown);
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return int(mrCancel);
        offered = dialog->cbodatecondition->Items()->Lines();
        dialog->edConName->SetText(text("十一月变更"));
        dialog->btnOkClick(dialog->btnOk);
        return dialog->ModalResult();
    });
    // As the user does it: the tool button's click, bound by the form description.
    form->btnInsert->Click();
    // One rule per date criterion of the basic page; the print date is no criterion of a scheme.
    EXPECT_EQ(offered.size(), 2) << offered.join(u',').toStdString();
    EXPECT_EQ(form->DateRuleList().size(), 2);
    EXPECT_EQ(
        Column(QStringLiteral("SELECT SCONDITION FROM GENES WHERE CREATOR='CHEN' AND PROGRAMME='ZORV52'")),
        QStringList {form->OptionControlList()});
    const QStringList values
        = Column(QStringLiteral("SELECT VCONDITION FROM GENES WHERE PROGRAMME='ZORV52'"));
    ASSERT_EQ(values.size(), 1);
    EXPECT_TRUE(values.first().startsWith(QStringLiteral("A511\r\nsp_UserChoice\x03True\x03"
                                                         "20241101001\x03"
                                                         "20241130999\r\n")))
        << values.first().toStdString();
    EXPECT_EQ(captions(form->lstCondition), QStringList {text("十一月变更")}) << "the list was reloaded";

    // The same name again: the dialog asks, and yes replaces the stored scheme.
    form->spTO002->edFinal->SetText(QStringLiteral("20241115999"));
    dialogs_->ExpectModal([&](TForm* shown) {
        auto* dialog = qobject_cast<TfrmGeneCondition*>(shown);
        dialog->edConName->SetText(text("十一月变更"));
        dialog->btnOkClick(dialog->btnOk);
        return dialog->ModalResult();
    });
    dialogs_->ExpectMessage(mrYes, text("此方案名已存在"));
    form->btnInsert->Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM GENES WHERE PROGRAMME='ZORV52'")), 1);
    EXPECT_TRUE(Column(QStringLiteral("SELECT VCONDITION FROM GENES WHERE PROGRAMME='ZORV52'"))
                    .value(0)
                    .contains(QStringLiteral("20241115999")));

    // Cancelled, nothing is stored.
    dialogs_->ExpectModal([](TForm*) { return int(mrCancel); });
    form->btnInsert->Click();
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM GENES WHERE PROGRAMME='ZORV52'")), 1);
}

TEST_F(OptionsWindowTest, TheSchemeListEndsThirtyPixelsAboveThePagesBottom)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->Show();
    auto* toolBar = form->FindComponent<TToolBar>(QStringLiteral("ToolBar1"));
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(form->lstCondition->Top(), toolBar->Top() + toolBar->Height());
    EXPECT_EQ(form->lstCondition->Height(), form->pgOption->Height() - toolBar->Height() - 30);
    EXPECT_EQ(form->lstCondition->Width(), form->pnlCondition->ClientWidth());
    // A taller window, a taller list.
    const int before = form->lstCondition->Height();
    form->SetHeight(form->Height() + 100);
    EXPECT_EQ(form->lstCondition->Height(), before + 100);
    form->Hide();
}

TEST_F(OptionsWindowTest, ACheckBoxOfThePictureKindIsSavedInTheSchemeAndComesBack)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    // A program's own option drawn with pictures, on the advanced page.
    auto* urgent = new TBitCheckBox(form);
    urgent->SetName(QStringLiteral("chkUrgent"));
    urgent->SetCaption(text("只打印紧急变更"));
    urgent->SetParent(form->tsOption3);
    urgent->SetTabOrder(3);
    form->BuildOptionControlList();
    EXPECT_TRUE(form->OptionControlList().startsWith(
        QStringLiteral("edTO001.text;spTO002.style;spTO003.style;spTO004.style;spTO043.style;"
                       "cboTO041.itemindex;cboTO042.itemindex;ChkPricePower.checked;chkUrgent.checked;")))
        << form->OptionControlList().toStdString();
    // The box's line of a value text: its place in the key list.
    const int line = static_cast<int>(
        form->OptionControlList().split(u';').indexOf(QStringLiteral("chkUrgent.checked")));
    const auto urgentLine
        = [line](const QString& values) { return values.split(QStringLiteral("\r\n")).value(line); };

    EnterSlipType(form, QStringLiteral("A511"));
    urgent->SetChecked(true);
    ASSERT_TRUE(form->SaveScheme(form->OptionControlList(), text("紧急"), Variant("")));
    const QStringList values
        = Column(QStringLiteral("SELECT VCONDITION FROM GENES WHERE PROGRAMME='ZORV52'"));
    ASSERT_EQ(values.size(), 1);
    EXPECT_EQ(urgentLine(values.first()), QStringLiteral("True"));

    // Opened again, the scheme ticks the box the user cleared.
    urgent->SetChecked(false);
    const QStringList keys = Column(QStringLiteral("SELECT SCONDITION FROM GENES WHERE PROGRAMME='ZORV52'"));
    ASSERT_TRUE(form->LoadScheme(keys.value(0), values.first()));
    EXPECT_TRUE(urgent->Checked());
    // And a scheme saved with it cleared clears it.
    urgent->SetChecked(false);
    ASSERT_TRUE(form->SaveScheme(form->OptionControlList(), text("不急"), Variant("")));
    urgent->SetChecked(true);
    const QStringList cleared = Column(
        QString::fromUtf8("SELECT VCONDITION FROM GENES WHERE PROGRAMME='ZORV52' AND NCONDITION='不急'"));
    ASSERT_EQ(cleared.size(), 1);
    EXPECT_EQ(urgentLine(cleared.first()), QStringLiteral("False"));
    ASSERT_TRUE(form->LoadScheme(form->OptionControlList(), cleared.first()));
    EXPECT_FALSE(urgent->Checked());

    // A stored format that asks for the box follows its state like a plain check box's.
    EXPECT_TRUE(form->FormatMatches(QStringLiteral("chkUrgent:Checked=0")));
    EXPECT_FALSE(form->FormatMatches(QStringLiteral("chkUrgent:Checked=1")));
}
