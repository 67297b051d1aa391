// The delivery of a run to one typed fax number or e-mail address: the
// address is checked where it is typed and before a run starts, and a run
// to it takes the unsent slips only.
#include "OptionsWindowFixture.h"

#include "controls/ExtPage.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "support/QStringPrinter.h"

TEST_F(OptionsWindowTest, SendingToATypedAddressNeedsTheAddress)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    form->rgSendType->SetItemIndex(1);
    form->rgSendTypeClick(form->rgSendType);
    EXPECT_EQ(form->cboSendStatus->ItemIndex(), 1);
    form->cboSendWay->SetItemIndex(2); // "FAX To 自定义对象": one typed number
    form->cboSendWayChange(form->cboSendWay);
    EXPECT_TRUE(form->edtFaxEmailData->Enabled());
    dialogs_->ExpectMessage(mrOk, QStringLiteral("Fax No"));
    EXPECT_FALSE(form->PrintOrPreview(true));
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsFEP);
    EXPECT_TRUE(record_->Calls.isEmpty());

    // With a number the run takes the unsent slips only.
    form->edtFaxEmailData->SetText(QStringLiteral("021-5555"));
    form->PrintOrPreview(true);
    ASSERT_EQ(Received().size(), 1);
    EXPECT_TRUE(Received().first().contains(QStringLiteral("TO053=0"))) << Received().first().toStdString();
    EXPECT_EQ(record_->Context.SendMode, 2);
}

TEST_F(OptionsWindowTest, ATypedAddressThatCannotWorkIsRefusedWhereItIsTyped)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    form->rgSendType->SetItemIndex(1);
    form->rgSendTypeClick(form->rgSendType);
    form->cboSendWay->SetItemIndex(3); // "Email To 自定义对象": one typed address
    form->cboSendWayChange(form->cboSendWay);
    form->edtFaxEmailData->SetText(QStringLiteral("chen@@x"));
    dialogs_->ExpectMessage(mrOk, text("“chen@@x”不是电子邮件地址: 只能有一个 @。"));
    form->edtFaxEmailDataExit(form->edtFaxEmailData);
    EXPECT_EQ(dialogs_->Pending(), 0) << "leaving the edit says why the address is refused";
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsFEP);
    // Nor does a preview start with it.
    dialogs_->ExpectMessage(mrOk, text("只能有一个 @"));
    EXPECT_FALSE(form->PrintOrPreview(true));
    EXPECT_TRUE(record_->Calls.isEmpty());

    form->cboSendWay->SetItemIndex(2); // "FAX To 自定义对象"
    form->cboSendWayChange(form->cboSendWay);
    form->edtFaxEmailData->SetText(QStringLiteral("0512-6688abc"));
    dialogs_->ExpectMessage(mrOk, text("“0512-6688abc”不是传真号码: 不能含有“a”"));
    form->edtFaxEmailDataExit(form->edtFaxEmailData);
    EXPECT_EQ(dialogs_->Pending(), 0);

    // A number as people write it passes in silence, and the preview runs.
    form->edtFaxEmailData->SetText(QStringLiteral("+86 (512) 6688-1234"));
    form->edtFaxEmailDataExit(form->edtFaxEmailData);
    EXPECT_TRUE(form->PrintOrPreview(true));
    EXPECT_EQ(record_->Context.SendAddress, QStringLiteral("+86 (512) 6688-1234"));
    EXPECT_TRUE(dialogs_->Failures().isEmpty()) << dialogs_->Failures().join(u'\n').toStdString();
}
