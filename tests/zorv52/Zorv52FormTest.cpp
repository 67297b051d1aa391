// The change-slip options window on a demo home: the real manager, the
// in-process application server with its query log on, and a recording
// format form. What the user may do follows the demo users' rights (CHEN
// holds every right and the price right, LIU may neither print nor delete
// formats nor see prices).
#include "Zorv52Fixture.h"

#include "controls/ExtPage.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/Buttons.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"
#include "support/QStringPrinter.h"

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST_F(Zorv52FormTest, SlipTypeOfAnotherDocumentKindIsRefused)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    // A311 is a purchase order type (kind 31), not a work-order change.
    dialogs_->ExpectMessage(mrOk, text("单别不存在或单据性质不符"));
    EXPECT_FALSE((form->edTO001->SetText(QStringLiteral("A311")), form->ValidateSlipType()));
    EXPECT_EQ(form->edTO001->Text(), QString());
    EXPECT_EQ(form->lblTO001->Caption(), QString());

    EnterSlipType(form, QStringLiteral("A521"));
    EXPECT_EQ(form->edTO001->Text(), QStringLiteral("A521"));
    EXPECT_EQ(form->lblTO001->Caption(), text("委外工单变更单"));
    EXPECT_EQ(form->SlipTypeKey, QStringLiteral("52"));
    // A521's row: footer S02 on every page, sign-off on every page too.
    EXPECT_TRUE(form->chkNoteEPPrint->Checked());
    EXPECT_TRUE(form->chkSignInEPPrint->Checked());
}

TEST_F(Zorv52FormTest, PreviewSendsTheStatementTheServerLogsAndRunsIt)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    ASSERT_TRUE(form->PrintOrPreview(true));

    ASSERT_EQ(record_->OpenedSql.size(), 1);
    const QString sql = record_->OpenedSql.first();
    EXPECT_TRUE(
        sql.startsWith(QStringLiteral("SELECT MOCTO.*, MOCTP.*, TO001+'-'+TO002+'-'+TO003 AS TO001T, ")))
        << sql.toStdString();
    EXPECT_TRUE(sql.contains(QStringLiteral(" FROM $$MOCTO AS MOCTO LEFT JOIN $$MOCTP AS MOCTP ON ")))
        << sql.toStdString();
    // The slip type, approval and print status, each joined with " and "; the
    // rights merge puts the where text in parentheses.
    EXPECT_TRUE(
        sql.endsWith(QStringLiteral("Where (1=1  and (TO001='A511' ) and (TO041='Y' ) and (TO042= 0 )) "
                                    "ORDER BY TO001, TO002, TO003, TP004 ")))
        << sql.toStdString();
    EXPECT_EQ(Received(), QStringList {sql});

    const qint64 lines
        = Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO LEFT JOIN MOCTP ON TP001=TO001 AND "
                               "TP002=TO002 AND TP003=TO003 WHERE TO001='A511' AND TO041='Y' AND "
                               "TO042=0"));
    ASSERT_GT(lines, 0);
    EXPECT_EQ(record_->Rows, lines);
    EXPECT_EQ(record_->Calls, (QStringList {"create", "name", "context", "prepare", "open", "preview"}));
    EXPECT_EQ(record_->Destroyed, 1);
    EXPECT_EQ(record_->SlipType, QStringLiteral("A511"));
    // A511's sign-off code is TIDEWS: the workflow product signs.
    EXPECT_TRUE(record_->Workflow);
    EXPECT_EQ(record_->Context.UserCode, QStringLiteral("CHEN"));
    EXPECT_EQ(record_->Context.SendMode, 0);
    EXPECT_TRUE(record_->ClearedFields.isEmpty()) << "CHEN prints prices";
}

TEST_F(Zorv52FormTest, EveryStatusAddsNoStatusCondition)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A512"));
    form->cboTO041->SetItemIndex(3);
    form->cboTO042->SetItemIndex(2);
    ASSERT_TRUE(form->PrintOrPreview(false));
    ASSERT_EQ(Received().size(), 1);
    const QString sql = Received().first();
    EXPECT_FALSE(sql.contains(QStringLiteral("TO041="))) << sql.toStdString();
    EXPECT_FALSE(sql.contains(QStringLiteral("TO042"))) << sql.toStdString();
    EXPECT_EQ(record_->Rows,
        Count(QStringLiteral("SELECT COUNT(*) FROM MOCTO LEFT JOIN MOCTP ON TP001=TO001 AND "
                             "TP002=TO002 AND TP003=TO003 WHERE TO001='A512'")));
    EXPECT_EQ(record_->Calls.last(), QStringLiteral("print"));
}

TEST_F(Zorv52FormTest, KeysReachTheServerAsQuotedLiterals)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    // A quote in a key must not end its literal: nothing matches, the
    // user hears so and nothing prints.
    dialogs_->ExpectMessage(mrOk, text("没有符合条件的资料"));
    EXPECT_FALSE(form->PrintKeys(Variant::ArrayOf({"A511", "X' OR '1'='1", "", "51"}), true));
    ASSERT_EQ(Received().size(), 1);
    EXPECT_TRUE(Received().first().contains(QStringLiteral("(TO002='X'' OR ''1''=''1')")))
        << Received().first().toStdString();
    EXPECT_FALSE(Received().first().contains(QStringLiteral("(TO003="))) << "an empty key adds no condition";
    EXPECT_TRUE(Received().first().contains(QStringLiteral("(TO001='A511')")));
    EXPECT_EQ(record_->Rows, 0);
    EXPECT_EQ(record_->Destroyed, 1);
}

TEST_F(Zorv52FormTest, KeyPrintOfAnUnknownSlipTypePrintsNothing)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    dialogs_->ExpectMessage(mrOk, text("单别不存在或单据性质不符"));
    EXPECT_FALSE(form->PrintKeys(Variant::ArrayOf({"Z999", "1", "0001", "51"}), false));
    EXPECT_TRUE(record_->Calls.isEmpty());
    EXPECT_TRUE(Received().isEmpty());
}

TEST_F(Zorv52FormTest, PricesOffEmptyEveryPriceAndAmountField)
{
    const QStringList prices {"TO024", "TO124", "TO025", "TO125", "TO047", "TO147", "TO046", "TO146"};
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    form->ChkPricePower->SetChecked(false);
    ASSERT_TRUE(form->PrintOrPreview(true));
    EXPECT_EQ(record_->ClearedFields, prices) << "unit prices, amounts and processing prices and amounts";
    const QString withoutPrices = record_->OpenedSql.last();

    // Ticked again, everything prints; the data query is the same either way.
    record_->ClearedFields.clear();
    form->ChkPricePower->SetChecked(true);
    ASSERT_TRUE(form->PrintOrPreview(false));
    EXPECT_TRUE(record_->ClearedFields.isEmpty());
    EXPECT_EQ(record_->OpenedSql.last(), withoutPrices);
}

TEST_F(Zorv52FormTest, WithoutThePriceRightNoSchemeOrTickBringsThePricesBack)
{
    // CHEN may print but, here, not see prices.
    Execute("UPDATE ADMMG SET MG004='N' WHERE MG001='CHEN'");
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    ASSERT_FALSE(form->ChkPricePower->Enabled());
    ASSERT_FALSE(form->ChkPricePower->Checked());
    EnterSlipType(form, QStringLiteral("A511"));
    // A scheme saved by someone who saw prices ticks the box: it stays clear.
    const QString keys = form->OptionControlList();
    QStringList lines;
    for (const QString& key : keys.split(u';', Qt::SkipEmptyParts))
        lines << (key == u"ChkPricePower.checked" ? QStringLiteral("True") : form->SchemeValueLine(key));
    ASSERT_TRUE(form->LoadScheme(keys, lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    EXPECT_FALSE(form->ChkPricePower->Checked());
    // Even a box ticked behind the user's back prints no price.
    form->ChkPricePower->SetChecked(true);
    ASSERT_TRUE(form->PrintOrPreview(true));
    EXPECT_EQ(record_->ClearedFields.size(), 8) << record_->ClearedFields.join(u' ').toStdString();
}

TEST_F(Zorv52FormTest, PagesAndSavedControlsFollowTheEye)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    QStringList pages;
    for (int i = 0; i < form->pgOption->PageCount(); ++i)
        pages << form->pgOption->Pages(i)->Caption();
    EXPECT_EQ(
        pages, (QStringList {text("基本选项"), text("高级选项"), text("系统选项"), text("Fax/Email选项")}));
    EXPECT_EQ(form->OptionControlList(),
        QStringLiteral(
            "edTO001.text;spTO002.style;spTO003.style;spTO004.style;spTO043.style;"
            "cboTO041.itemindex;cboTO042.itemindex;ChkPricePower.checked;"
            "rgSendType.itemindex;cboSendWay.itemindex;edtFaxEmailData.text;cboSendStatus.itemindex;"
            "cboFormStyleName.text;"));
    EXPECT_TRUE(form->tsFEP->TabVisible());
    EXPECT_FALSE(Open(QStringLiteral("CHEN"), QString())->tsFEP->TabVisible());
}

TEST_F(Zorv52FormTest, TheOuterJoinDialectHasNoJoinsAndNoUserColumns)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    form->SqlType = 1;
    ASSERT_TRUE(form->BuildReportParams());
    Variant sql;
    form->BuildQuery(0, form->OptionValueArray(), sql);
    form->AdjustQuery(sql);
    const QString text = sql.ToString();
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("SELECT MOCTO.*, MOCTP.*, TO001||'-'||TO002||'-'||TO003 AS TO001T")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("LEFT JOIN"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("UDF01"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("TO001=TP001(+)"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("(TO001='A511' )"))) << text.toStdString();
}

TEST_F(Zorv52FormTest, FooterCodesLoadTheirLinesAndUnknownOnesAreNamed)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->SignCodeEnter(form->edtNoteID);
    form->edtNoteID->SetText(QStringLiteral("F01"));
    form->SignCodeExit(form->edtNoteID);
    EXPECT_EQ(form->edtNote1->Text(), text("1. 请于收到变更单后三日内回复确认。"));

    // An unknown code is named by the block's own word and stays for correction.
    dialogs_->ExpectMessage(mrOk, text("页脚 代号不存在"));
    form->SignCodeEnter(form->edtNoteID);
    form->edtNoteID->SetText(QStringLiteral("ZZ9"));
    form->SignCodeExit(form->edtNoteID);
    EXPECT_EQ(form->edtNoteID->Text(), QStringLiteral("ZZ9"));
    EXPECT_EQ(form->edtNote1->Text(), QString());
}

TEST_F(Zorv52FormTest, ATraditionalHomeShowsTheSelectionPanelsInTraditionalCharacters)
{
    QByteArray client = home_.read("StewardC.ini");
    ASSERT_TRUE(client.contains("UICodePage=936"));
    home_.write("StewardC.ini", client.replace("UICodePage=936", "UICodePage=950"));
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    ASSERT_EQ(form->HvConverter()->UIConvertMode(), 2);
    form->PrepareShow();
    EXPECT_EQ(form->spTO002->Caption(), text("選擇變更單號"));
    EXPECT_EQ(form->spTO002->Style(), sp_UserChoice);
    EXPECT_EQ(form->spTO002->cbUserChoice->Caption(), text("區間選擇"));
    EXPECT_EQ(form->spTO002->cbUserChoice->Hint(), text("用戶自定輸入方式"));
    EXPECT_EQ(form->spTO002->edBegin->Hint(), text("區間選擇-起始信息"));
    // A date panel's hints name its quick-pick (the same characters in both scripts).
    EXPECT_EQ(form->spTO004->edBegin->Hint(), text("[F2]日期快手"));
    EXPECT_EQ(form->spTO043->ListBox->Hint(), text("多選-己選擇的信息"));

    // A coded message's buttons carry the module's captions in traditional characters too.
    DialogRequest shown;
    ScriptedDialogService::Answer answer;
    answer.Handler = [&shown](const DialogRequest& request) {
        shown = request;
        return mrOk;
    };
    dialogs_->Expect(DialogKind::Message, answer);
    EXPECT_FALSE((form->edTO001->SetText(QStringLiteral("A311")), form->ValidateSlipType()));
    EXPECT_EQ(shown.ButtonCaptions.value(mbOK), text("確定"));
}
