// What a condition scheme keeps of the delivery (send type, way, address,
// send status, format) and how the window follows it when it is opened.
#include "OptionsWindowFixture.h"

#include "criteria/SelectPnl.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"

TEST_F(OptionsWindowTest, ASchemeBringsBackItsDeliveryAndTheWindowFollowsIt)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    form->rgSendType->SetItemIndex(1);
    form->rgSendTypeClick(form->rgSendType);
    form->cboSendWay->SetItemIndex(3); // Email To 自定义对象: a typed address
    form->cboSendWayChange(form->cboSendWay);
    form->edtFaxEmailData->SetText(QStringLiteral("buyer@example.com"));
    form->cboSendStatus->SetItemIndex(2); // 全部, not the send type's default
    form->cboFormStyleName->SetText(QStringLiteral("EMAILFMT"));
    ASSERT_TRUE(form->SaveScheme(form->OptionControlList(), QStringLiteral("mail"), Variant(0)));

    // A fresh window: printing, the defaults.
    form = Open(QStringLiteral("CHEN"));
    ASSERT_EQ(form->SendMode(), 0);
    ASSERT_TRUE(form->OpenSchemeNamed(QStringLiteral("mail")));
    EXPECT_EQ(form->edTO001->Text(), QStringLiteral("A511"));
    EXPECT_EQ(form->rgSendType->ItemIndex(), 1);
    EXPECT_EQ(form->cboSendWay->ItemIndex(), 3);
    EXPECT_EQ(form->SendMode(), 1) << "e-mail";
    EXPECT_TRUE(form->SendWay().AddressTyped);
    EXPECT_TRUE(form->edtFaxEmailData->Enabled());
    EXPECT_EQ(form->edtFaxEmailData->Text(), QStringLiteral("buyer@example.com"));
    EXPECT_TRUE(form->cboSendStatus->Enabled());
    EXPECT_EQ(form->cboSendStatus->ItemIndex(), 2) << "the saved status, not the one the send type proposes";
    EXPECT_EQ(form->cboFormStyleName->Text(), QStringLiteral("EMAILFMT"));

    // Where the fax/e-mail page is not offered the same scheme prints.
    form = Open(QStringLiteral("CHEN"), QString());
    ASSERT_FALSE(form->tsFEP->TabVisible());
    ASSERT_TRUE(form->OpenSchemeNamed(QStringLiteral("mail")));
    EXPECT_EQ(form->rgSendType->ItemIndex(), 0);
    EXPECT_EQ(form->SendMode(), 0);
    EXPECT_EQ(form->cboSendStatus->ItemIndex(), 2);
    EXPECT_FALSE(form->cboSendWay->Enabled());
}

TEST_F(OptionsWindowTest, ASchemeOfOlderProgramsKeepsTheWindowsDelivery)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->rgSendType->SetItemIndex(1);
    form->rgSendTypeClick(form->rgSendType);
    form->cboSendWay->SetItemIndex(1);
    form->cboSendWayChange(form->cboSendWay);
    // Criteria keys only, as schemes were saved before they kept the delivery.
    ASSERT_TRUE(form->LoadScheme(
        QStringLiteral("edTO001.text;cboTO041.itemindex;"), QStringLiteral("A511\r\n3\r\n")));
    form->AfterSchemeOpened();
    EXPECT_EQ(form->edTO001->Text(), QStringLiteral("A511"));
    EXPECT_EQ(form->cboTO041->ItemIndex(), 3);
    EXPECT_EQ(form->rgSendType->ItemIndex(), 1);
    EXPECT_EQ(form->SendMode(), 1);
    EXPECT_EQ(form->cboSendStatus->ItemIndex(), 1);
}

TEST_F(OptionsWindowTest, SendingWithoutASendWayIsRefusedBeforeAnythingRuns)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    const qsizetype before = Received().size();
    dialogs_->ExpectMessage(mrOk, QString::fromUtf8("传送方式为打印"));
    EXPECT_FALSE(form->SendReport());
    EXPECT_EQ(Received().size(), before) << "no query ran";
    EXPECT_TRUE(record_->Calls.isEmpty()) << "no format form was made";
}
