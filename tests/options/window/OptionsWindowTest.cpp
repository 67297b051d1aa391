// The options window's printer, paper, format-list and format-name tools,
// the buttons the user's rights allow and the date styles it offers, on the
// change-slip window of a demo home with a recording format form.
#include "OptionsWindowFixture.h"

#include "runtime/forms/Buttons.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/ArgReader.h"
#include "support/QStringPrinter.h"

TEST_F(OptionsWindowTest, ThePrinterChosenIsTheOneTheNextRunUses)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->PrinterNames = [] { return QStringList {QStringLiteral("Front desk"), QStringLiteral("Office")}; };
    EnterSlipType(form, QStringLiteral("A511"));
    EXPECT_EQ(form->PrinterIndex, -1) << "the default printer until one is chosen";

    ScriptedDialogService::Answer office;
    office.Value = QStringLiteral("Office");
    dialogs_->Expect(DialogKind::PrinterSetup, office);
    form->btnPrintSetupClick(form->btnPrintSetup);
    EXPECT_EQ(form->PrinterIndex, 1);

    ASSERT_TRUE(form->PrintOrPreview(true));
    EXPECT_EQ(record_->Context.PrinterIndex, 1);

    // The user picks the first printer in the report's own print dialog: the
    // window keeps that one for the run after.
    record_->PrinterChosen = 0;
    ASSERT_TRUE(form->PrintOrPreview(false));
    EXPECT_EQ(form->PrinterIndex, 0);
    record_->PrinterChosen = -1;
    ASSERT_TRUE(form->PrintOrPreview(true));
    EXPECT_EQ(record_->Context.PrinterIndex, 0);

    // The setup dialog opens on the printer in use; cancelled, nothing changes.
    ScriptedDialogService::Answer cancelled;
    cancelled.Accepted = false;
    cancelled.Value = QStringLiteral("Office");
    dialogs_->Expect(DialogKind::PrinterSetup, cancelled);
    form->btnPrintSetupClick(form->btnPrintSetup);
    EXPECT_EQ(dialogs_->Asked().last().Value, QStringLiteral("Front desk"));
    EXPECT_EQ(form->PrinterIndex, 0);
}

TEST_F(OptionsWindowTest, PaperSizeNamesThePaperOfTheChosenFormat)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->cboFormStyleName->SetText(text("横式变更单"));
    // The recording format lies on A4 (paper ordinal 9) in millimetres (unit 0).
    dialogs_->ExpectMessage(mrOk, QStringLiteral("A4"));
    form->btnPaperSizeClick(form->btnPaperSize);
    const DialogRequest& shown = dialogs_->Asked().last();
    EXPECT_EQ(shown.Code, QStringLiteral("I;000012"));
    EXPECT_EQ(shown.Type, mtInformation);
    EXPECT_TRUE(shown.Text.contains(QStringLiteral("210")) && shown.Text.contains(QStringLiteral("297"))
        && shown.Text.contains(QStringLiteral("MM")))
        << shown.Text.toStdString();
    EXPECT_EQ(record_->FormatName, text("横式变更单"));
    // The context lets it read the stored format of that name, whose page
    // may differ from the built-in one; it prepares no data and never runs.
    EXPECT_EQ(record_->Calls, (QStringList {"create", "name", "context"}))
        << "asked for its paper only, never run";
    EXPECT_EQ(record_->Destroyed, 1);
}

TEST_F(OptionsWindowTest, DeletingAFormatRemovesItFromStoreAndList)
{
    Execute("INSERT INTO WARRANT (NT001, NT002, NT005) VALUES ('TfrmZorv52Fmt', 'Plain', ''), "
            "('TfrmZorv52Fmt', 'Wide', ''), ('TfrmOtherFmt', 'Plain', '')");
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    ASSERT_EQ(form->cboFormStyleName->Items()->Lines(), (QStringList {"<New>", "Plain", "Wide"}));

    // "<New>" is no stored format: nothing is asked.
    form->cboFormStyleName->SetItemIndex(0);
    form->btnDelFormStypeClick(form->btnDelFormStype);
    EXPECT_TRUE(dialogs_->Asked().isEmpty());

    // Refused at the question: nothing goes.
    form->cboFormStyleName->SetItemIndex(1);
    dialogs_->ExpectMessage(mrNo, text("确认删除选中的凭证格式吗?"));
    form->btnDelFormStypeClick(form->btnDelFormStype);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT WHERE NT002='Plain'")), 2);

    dialogs_->ExpectMessage(mrYes, text("确认删除选中的凭证格式吗?")).ExpectMessage(mrOk, text("删除成功!"));
    form->btnDelFormStypeClick(form->btnDelFormStype);
    EXPECT_EQ(Column(QStringLiteral("SELECT NT001 || '/' || NT002 FROM WARRANT ORDER BY 1")),
        (QStringList {"TfrmOtherFmt/Plain", "TfrmZorv52Fmt/Wide"}))
        << "only this program's format of that name";
    EXPECT_EQ(form->cboFormStyleName->Items()->Lines(), (QStringList {"<NEW>", "Wide"}));
    EXPECT_EQ(form->cboFormStyleName->ItemIndex(), 0);

    // A name typed that the store does not hold.
    form->cboFormStyleName->SetText(QStringLiteral("Typed"));
    dialogs_->ExpectMessage(mrYes).ExpectMessage(mrOk, text("格式档不存在!"));
    form->btnDelFormStypeClick(form->btnDelFormStype);
    EXPECT_EQ(dialogs_->Asked().last().Type, mtError);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT")), 2);
}

TEST_F(OptionsWindowTest, AFormatNameTakesTwentyCharactersWhateverIsTyped)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    TComboBox* box = form->cboFormStyleName;
    box->SetText(QString(20, u'格'));
    auto press = [&](QChar key) {
        form->cboFormStyleNameKeyPress(box, key);
        return key;
    };
    // A "." lengthens the name like any other character.
    dialogs_->ExpectMessage(mrOk, text("格式名称不可超过20个字"));
    EXPECT_EQ(press(u'.'), QChar(0));
    EXPECT_EQ(dialogs_->Asked().last().Code, QStringLiteral("E;100319"));
    EXPECT_EQ(press(QChar(8)), QChar(8)) << "backspace";
    EXPECT_EQ(press(QChar(127)), QChar(127)) << "delete";
    // Typed over a selection, the character replaces it.
    box->SelectText(0, 3);
    ASSERT_EQ(box->SelLength(), 3);
    EXPECT_EQ(press(u'x'), QChar(u'x'));
    box->SetText(QString(19, u'格'));
    EXPECT_EQ(press(u'x'), QChar(u'x')) << "the twentieth character";
}

TEST_F(OptionsWindowTest, NewArgumentsForAnotherUserAreRefused)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    const Variant same = Variant::ArrayOf({"CHEN", "HV01", "DEMO", 0, "FEP"});
    EXPECT_NO_THROW(form->SetParams(same));
    try {
        form->SetParams(Variant::ArrayOf({"LIU", "HV01", "DEMO", 0, "FEP"}));
        ADD_FAILURE() << "another user was taken";
    } catch (const EArgumentError& e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("argument 0 (user code) is \"LIU\", but the window runs for \"CHEN\""));
    }
    EXPECT_EQ(form->UserCode(), QStringLiteral("CHEN"));
}

TEST_F(OptionsWindowTest, FormatNamesStopAtTwentyCharacters)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->cboFormStyleName->SetText(QString(20, u'格'));
    QChar key = u'x';
    dialogs_->ExpectMessage(mrOk, text("格式名称不可超过20个字"));
    form->cboFormStyleNameKeyPress(form->cboFormStyleName, key);
    EXPECT_EQ(key, QChar(0));
    QChar backspace = QChar(8);
    form->cboFormStyleNameKeyPress(form->cboFormStyleName, backspace);
    EXPECT_EQ(backspace, QChar(8));
}

TEST_F(OptionsWindowTest, RightsDecideWhatTheUserMayDo)
{
    TfrmZorv52* chen = Open(QStringLiteral("CHEN"));
    EXPECT_TRUE(chen->btnOk->Enabled());
    EXPECT_TRUE(chen->btnPreview->Enabled());
    EXPECT_TRUE(chen->btnDesign->Enabled());
    EXPECT_TRUE(chen->btnDelFormStype->Enabled());
    EXPECT_TRUE(chen->ChkPricePower->Enabled());
    EXPECT_TRUE(chen->ChkPricePower->Checked());

    // "YYNYYNYYYY": design yes, delete no, print and preview no; no price right.
    TfrmZorv52* liu = Open(QStringLiteral("LIU"));
    EXPECT_FALSE(liu->btnOk->Enabled());
    EXPECT_FALSE(liu->btnPreview->Enabled());
    EXPECT_TRUE(liu->btnDesign->Enabled());
    EXPECT_FALSE(liu->btnDelFormStype->Enabled());
    EXPECT_FALSE(liu->ChkPricePower->Enabled());
    EXPECT_FALSE(liu->ChkPricePower->Checked());
}

TEST_F(OptionsWindowTest, WithoutTheMinguoCalendarThreeDateStylesRemain)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DatabaseFile().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE ADMSP SET SP003='2' WHERE SP002='Sys026'", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EXPECT_EQ(form->cboDateType->Items()->Lines(),
        (QStringList {text("公历 YYYYMMDD"), text("公历 MMDDYYYY"), text("公历 DDMMYYYY")}));
}
