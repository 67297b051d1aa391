#include "CriteriaFixture.h"

#include "controls/ExtPage.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QFontMetrics>

using Form = std::unique_ptr<TfrmZorTest, FreeComponent>;

TEST_F(CriteriaTest, InitialisesFromTheShellsArguments)
{
    Form form = MakeForm();
    EXPECT_EQ(form->UserCode(), QStringLiteral("DS"));
    EXPECT_EQ(form->CompanyCode(), QStringLiteral("HV01"));
    EXPECT_EQ(form->DatabaseName(), QStringLiteral("DEMO"));
    EXPECT_EQ(form->ProgramCode(), QStringLiteral("ZORV52"));
    EXPECT_EQ(form->ServerClassName(), QStringLiteral("ZORV52S.Class1"));
    EXPECT_FALSE(form->ApplicationServer().IsEmptyOrNull());
    EXPECT_FALSE(form->CounterObject().IsEmptyOrNull());
    EXPECT_FALSE(form->LookupObject().IsEmptyOrNull()) << "option flag 4 asks for it";
    EXPECT_EQ(form->DateFormatType(), 1);
    EXPECT_EQ(form->DateSeparator(), QStringLiteral("/"));
    EXPECT_EQ(form->GetSysParam(QStringLiteral("sys026")), QStringLiteral("1"))
        << "names without regard to case";
    EXPECT_EQ(form->GetSysParam(QStringLiteral("SYS007")), Text("商品分类方式一"));
    EXPECT_EQ(form->GetSysParam(QStringLiteral("SYS010")), Text("商品分类方式四"));
    EXPECT_TRUE(form->DateFieldList().contains(QStringLiteral("spDate")));
    EXPECT_TRUE(form->DateFieldList().contains(QStringLiteral("edPrintDate")));
    EXPECT_EQ(form->spDate->ValueType(), vt_Date);
    EXPECT_EQ(form->spDate->DateType(), dt_YYYYMMDD);
    EXPECT_TRUE(form->ErrorCodes().isEmpty());
    EXPECT_TRUE(form->ApplyParams(Variant::ArrayOf({Variant("X")}))) << "a second call changes nothing";
    EXPECT_EQ(form->UserCode(), QStringLiteral("DS"));
}

TEST_F(CriteriaTest, InitialisationFailuresAreCollectedAsCodes)
{
    Form few = MakeForm(false);
    dialogs_->ExpectMessage(mrOk);
    EXPECT_FALSE(
        few->ApplyParams(Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant(0)})));
    EXPECT_TRUE(few->ErrorCodes().contains(QStringLiteral("E;000038")));

    Form other = MakeForm(false);
    other->SetName(QStringLiteral("frmAbc01"));
    dialogs_->ExpectMessage(mrOk);
    EXPECT_FALSE(other->ApplyParams(
        Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("FEP")})));
    EXPECT_TRUE(other->ErrorCodes().contains(QStringLiteral("E;000036")));
    EXPECT_FALSE(other->ErrorCodes().contains(QStringLiteral("E;000006"))) << "stops before connecting";
}

TEST_F(CriteriaTest, CodedMessagesPickBoxAndButtonsByKind)
{
    Form form = MakeForm();
    dialogs_->ExpectMessage(mrYes).ExpectMessage(mrOk).ExpectMessage(mrOk);
    EXPECT_EQ(form->ShowCodedMessage(QStringLiteral("D"), QStringLiteral("000001")), mrYes);
    const DialogRequest ask = dialogs_->Asked().at(0);
    EXPECT_EQ(ask.Buttons, TMsgDlgButtons(mbYes) | mbNo | mbCancel);
    EXPECT_EQ(ask.Type, mtWarning);
    EXPECT_EQ(ask.Caption, form->Caption());
    // The box knows its code, and its buttons speak the user's language.
    EXPECT_EQ(ask.Code, QStringLiteral("D;000001"));
    ASSERT_NE(form->HvConverter(), nullptr);
    ASSERT_NE(form->HvConverter()->UICodePage(), QStringLiteral("437"));
    EXPECT_EQ(ask.ButtonCaptions.value(mbYes), Text("是(&Y)"));
    EXPECT_EQ(ask.ButtonCaptions.value(mbCancel), Text("取消"));

    form->ReportError(QStringLiteral("W;000002;") + Text("环境设置") + QStringLiteral(";9;8"));
    EXPECT_EQ(dialogs_->Asked().at(1).Text, Text("环境设置 的数组上限错误! 应为 9, 实为 8"));
    EXPECT_EQ(dialogs_->Asked().at(1).Buttons, TMsgDlgButtons(mbOK)) << "errors reported offer OK only";
    EXPECT_TRUE(form->ErrorCodes().endsWith(
        QStringLiteral("; W;000002;") + Text("环境设置") + QStringLiteral(";9;8")));

    form->ReportError(QStringLiteral("E;999999"));
    EXPECT_TRUE(
        dialogs_->Asked().at(2).Text.startsWith(QStringLiteral("Can not Get Message\rType= E, ID= 999999")));
    EXPECT_EQ(dialogs_->Asked().at(2).Type, mtError);

    const qsizetype asked = dialogs_->Asked().size();
    form->ReportError(QStringLiteral("E;000000;quiet"));
    EXPECT_EQ(dialogs_->Asked().size(), asked) << "id 0 is recorded, not shown";
    EXPECT_TRUE(form->ErrorTexts().contains(QStringLiteral("quiet")));

    form->SetQuiet(true);
    EXPECT_EQ(form->ShowCodedMessage(QStringLiteral("W"), QStringLiteral("000002")), mrNone);
    EXPECT_EQ(dialogs_->Asked().size(), asked) << "quiet: warnings stay unseen";
}

TEST_F(CriteriaTest, ImpossibleDatesAreRefusedOnExit)
{
    Form form = MakeForm();
    TSelectPanel* date = form->spDate;
    form->FocusControl(date->edBegin);
    EXPECT_EQ(date->EditMask(), form->DateEditMask()) << "entering sets the date mask";
    date->edBegin->SetText(QStringLiteral("2024/02/30"));
    dialogs_->ExpectMessage(mrOk, Text("日期格式错误或日期不存在"));
    form->FocusControl(form->edRemark);
    EXPECT_EQ(dialogs_->Pending(), 0);
    EXPECT_TRUE(form->ErrorCodes().contains(QStringLiteral("E;000005")));
    EXPECT_EQ(form->ActiveControl(), date->edBegin) << "the focus stays on the bad date";

    date->edBegin->SetText(QStringLiteral("2024/02/29"));
    date->edFinal->SetText(QStringLiteral("2024/01/31"));
    form->FocusControl(form->edRemark);
    EXPECT_EQ(dialogs_->Asked().size(), 1);
    EXPECT_EQ(date->edBegin->Text(), QStringLiteral("2024/01/31")) << "a good range is put in order";
}

TEST_F(CriteriaTest, RequiredListPanelStopsOk)
{
    Form form = MakeForm();
    form->SetRequiredFields(QStringLiteral("spType;Y;0,edRemark;N;0"));
    EXPECT_EQ(int(form->spType->ListBox->Color()), 0xAFFFFF);
    EXPECT_EQ(int(form->edRemark->Color()), 0xAFFFFF) << "coloured even when not checked";
    form->pgOption->SetActivePage(form->tsOption2);
    dialogs_->ExpectMessage(mrOk, Text("必须输入的栏位不可空白"));
    form->btnOk->Click();
    EXPECT_TRUE(form->okRuns.isEmpty()) << "the OK handler must not run";
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);
    EXPECT_EQ(form->ActiveControl(), form->spType->ListBox);

    form->spType->ListBox->AddRow({QStringLiteral("5101")});
    form->btnOk->Click();
    EXPECT_EQ(form->okRuns, QStringList({QStringLiteral("ok")}));

    form->SetRequiredFields(QString());
    EXPECT_NE(int(form->spType->ListBox->Color()), 0xAFFFFF) << "the old colours come back";
    form->spType->ListBox->ClearRows();
    form->btnOk->Click();
    EXPECT_EQ(form->okRuns.size(), 2) << "and the button's own handler";
}

TEST_F(CriteriaTest, RequiredRangeChecksTheChosenPart)
{
    Form form = MakeForm();
    form->SetRequiredFields(QStringLiteral("spNo;Y;2"));
    EXPECT_EQ(int(form->spNo->edFinal->Color()), 0xAFFFFF);
    EXPECT_NE(int(form->spNo->edBegin->Color()), 0xAFFFFF);
    form->spNo->edBegin->SetText(QStringLiteral("A"));
    dialogs_->ExpectMessage(mrOk);
    form->btnOk->Click();
    EXPECT_EQ(form->ActiveControl(), form->spNo->edFinal);
    form->spNo->edFinal->SetText(QStringLiteral("B"));
    form->btnOk->Click();
    EXPECT_EQ(form->okRuns.size(), 1);
}

TEST_F(CriteriaTest, ReportParamsFillAndCheckTheThreeArrays)
{
    Form form = MakeForm();
    form->edPrintDate->SetText(QStringLiteral("2024/05/31"));
    ASSERT_TRUE(form->BuildReportParams());
    EXPECT_EQ(form->OptionValueArray()[1].ToString(), QStringLiteral("20240531"));
    EXPECT_EQ(form->OptionTextArray()[1][1].ToString(), QStringLiteral("edPrintDate"));
    const Variant& env = form->EnvironmentArray();
    EXPECT_EQ(env.HighBound(), 9);
    EXPECT_EQ(env[1].ToString(), QStringLiteral("ZORV52"));
    EXPECT_EQ(env[4].ToString(), QStringLiteral("HV01"));
    EXPECT_EQ(env[8].ToString(), QStringLiteral("ZORV52S.Class1"));
    EXPECT_EQ(env[9].ToString(), QStringLiteral("R"));

    form->SetOptionCount(2); // a descendant that forgot its second option
    dialogs_->ExpectMessage(mrOk, Text("第 2 项未设置"));
    EXPECT_FALSE(form->BuildReportParams());

    form->SetOptionCount(1);
    form->edPrintDate->SetText(QStringLiteral("2024/13/01"));
    dialogs_->ExpectMessage(mrOk);
    EXPECT_FALSE(form->BuildReportParams());
    EXPECT_TRUE(form->ErrorCodes().contains(QStringLiteral("E;000030")));
    form->edPrintDate->SetText(QStringLiteral("2024/05/"));
    EXPECT_TRUE(form->BuildReportParams()) << "a half-typed date sends no date";
    EXPECT_EQ(form->OptionValueArray()[1].ToString(), QString());
}

TEST_F(CriteriaTest, LookupsFillPanels)
{
    Form form = MakeForm();
    lookup_->answers << Variant::ArrayOf({Variant::ArrayOf({"5101", Text("工单变更单"), "a", "b", "extra"}),
        Variant::ArrayOf({"5102", Text("委外变更单"), "c", "d", "more"})});
    form->F2Window(form->spType->ListBox);
    ASSERT_EQ(lookup_->requests.size(), 1);
    const Variant request = lookup_->requests.first();
    EXPECT_EQ(request.HighBound() - request.LowBound() + 1, 19);
    EXPECT_EQ(request[0].ToString(), QStringLiteral("CMSMQ"));
    EXPECT_EQ(request[1].ToString(), QStringLiteral("19"));
    EXPECT_EQ(request[5].ToString(), QStringLiteral("DS"));
    EXPECT_TRUE(request[6].ToBool()) << "the list asks for several rows";
    ASSERT_EQ(form->spType->Items()->Count(), 2);
    EXPECT_EQ(form->spType->Items()->Items(1)->SubItems()->Count(), 3) << "items 0 to 3 only";

    lookup_->answers << Variant::ArrayOf({Variant::ArrayOf({"5101-001", "x"})});
    form->F2Window(form->spNo->edFinal);
    EXPECT_EQ(form->spNo->edFinal->Text(), QStringLiteral("5101-001"));
    EXPECT_FALSE(lookup_->requests.last()[6].ToBool());

    form->spNo->SetUseDiscard(true);
    form->spNo->SetDiscard(QStringLiteral("|"));
    lookup_->answers << Variant::ArrayOf({Variant::ArrayOf({"5101", "002"})});
    form->F2Window(form->spNo->edBegin);
    EXPECT_EQ(form->spNo->edBegin->Text(), QStringLiteral("5101|002"));

    form->F2Window(form->spNo->edBegin); // nothing chosen
    EXPECT_EQ(form->spNo->edBegin->Text(), QStringLiteral("5101|002"));

    dialogs_->ExpectMessage(mrOk, QStringLiteral("TSelectPanel"));
    form->FillPanelFromLookup(form->edRemark, QStringLiteral("X"), Variant(1), false);
}

TEST_F(CriteriaTest, PrintDatePicker)
{
    Form form = MakeForm();
    form->edPrintDate->SetText(QStringLiteral("2023/12/31"));
    lookup_->dayAnswer = QStringLiteral("20240105");
    Word key = VK_F2;
    form->FocusControl(form->edPrintDate);
    form->FormKeyDown(form.get(), key, {});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(
        lookup_->dayRequest, Variant::ArrayOf({false, QStringLiteral("20231231"), QStringLiteral("DEMO")}));
    EXPECT_EQ(form->edPrintDate->Text(), QStringLiteral("2024/01/05"));
    lookup_->dayAnswer.clear();
    form->OpenLookup(VK_F2, form->edPrintDate);
    EXPECT_EQ(form->edPrintDate->Text(), QStringLiteral("2024/01/05")) << "cancel keeps the date";
}

TEST_F(CriteriaTest, KeysMovePagesAndFields)
{
    Form form = MakeForm();
    form->pgOption->SetActivePage(form->tsOption1);
    Word key = VK_TAB;
    form->FormKeyDown(form.get(), key, ssCtrl);
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2);
    key = VK_TAB;
    form->FormKeyDown(form.get(), key, TShiftState(ssCtrl) | ssShift);
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption1);

    form->spNo->edBegin->SetFocus();
    key = VK_RETURN;
    form->FormKeyDown(form.get(), key, {});
    EXPECT_EQ(form->ActiveControl(), form->spNo->edFinal);

    form->PageEndControls() << form->spCheck;
    form->spCheck->edFinal->SetFocus();
    key = VK_RETURN;
    form->FormKeyDown(form.get(), key, {});
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2) << "Enter at a page end turns the page";

    form->SetBusy(true);
    form->pgOption->SelectNextPage(false);
    EXPECT_EQ(form->pgOption->ActivePage(), form->tsOption2) << "no page change while busy";
}

TEST_F(CriteriaTest, EnterInAGridWalksItsCellsAndAddsARow)
{
    Form form = MakeForm();
    auto* grid = new TStringGrid(form.get());
    grid->SetName(QStringLiteral("sgItems"));
    grid->SetParent(form->tsOption1);
    grid->SetColCount(3);
    grid->SetRowCount(2); // a heading row and one row of cells
    form->pgOption->SetActivePage(form->tsOption1);
    grid->SetFocus();
    ASSERT_EQ(form->ActiveControl(), grid);
    ASSERT_TRUE(grid->SelectCell(1, 1));
    auto enter = [&] {
        Word key = VK_RETURN;
        form->FormKeyDown(form.get(), key, {});
        return key;
    };
    EXPECT_EQ(enter(), Word(0)) << "the form took the key";
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 1);
    // From the last column to the first cell of a new row.
    enter();
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Col(), 1) << "past the fixed column";
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(form->ActiveControl(), grid) << "the focus stays in the grid";
}

TEST_F(CriteriaTest, EscapeClosesAndFreesTheForm)
{
    QPointer<TfrmZorTest> form = MakeForm().release();
    Word key = VK_ESCAPE;
    form->FormKeyDown(form.data(), key, {});
    EXPECT_EQ(key, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull()) << "closing frees the form";
}

TEST_F(CriteriaTest, ShowingAddsTheTitleSuffixAndFocusesTheFirstPanel)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    EXPECT_EQ(form->Caption(), Text("工单变更单打印[]"));
    form->FormShow(form.get());
    EXPECT_EQ(form->Caption(), Text("工单变更单打印[]")) << "once";
    EXPECT_EQ(form->ActiveControl(), form->spNo->edBegin);
    EXPECT_EQ(form->lstCondition->Columns()->Count(), 2);
    EXPECT_EQ(form->lstCondition->Column(0)->Caption(), Text("方案名称"));
}

TEST_F(CriteriaTest, PanelValuesForTheCriteriaArray)
{
    Form form = MakeForm();
    form->spNo->edBegin->SetText(QStringLiteral("A"));
    form->spType->ListBox->AddRow({QStringLiteral("5101"), Text("工单")});
    Variant criteria = Variant::CreateArray(0, 1);
    form->PanelValueToVariant(form->spNo, criteria, 0);
    form->PanelValueToVariant(form->spType, criteria, 1);
    EXPECT_EQ(criteria[0], Variant::ArrayOf({QString(QChar(4)), QStringLiteral("A"), QString()}));
    EXPECT_EQ(criteria[1][1][1].ToString(), Text("工单"));
    Variant whole;
    form->PanelValueToVariant(form->spType, whole, -1);
    EXPECT_EQ(whole[0].ToString(), QString(QChar(5)));
}

TEST_F(CriteriaTest, PhrasesSystemPageSaveButtonAndFileProperties)
{
    Form form = MakeForm();
    form->PickPhrase(form->edRemark);
    EXPECT_EQ(form->edRemark->Text(), Text("常用词组"));

    form->SetWidth(200);
    form->pgOption->SelectPage(form->tsOption2);
    EXPECT_GE(form->Width(), 315) << "the first look at the system page makes room";
    EXPECT_EQ(form->edPrintDate->Left(), 60);
    EXPECT_EQ(form->edPrintDate->Width(), 85);
    EXPECT_EQ(form->btnPrintDate->Left(), 60 + 85 + 2);

    form->btnInsertClick(form.get());
    EXPECT_EQ(form->ActiveControl(), form->pnlCondition) << "the last field is left first";
    form->SetBusy(true);
    EXPECT_THROW(form->btnInsertClick(form.get()), EAbort);
    form->SetBusy(false);

    dialogs_->ExpectMessage(mrOk, QStringLiteral("libZORV52C.so"));
    Word key = 'V';
    form->FormKeyDown(form.get(), key, TShiftState(ssCtrl) | ssAlt);
    EXPECT_EQ(key, 0);
}

TEST_F(CriteriaTest, YearMonthFields)
{
    Form form = MakeForm();
    auto* month = new TMaskEdit(form.get());
    month->SetName(QStringLiteral("edMonth"));
    month->SetParent(form->tsOption1);
    form->SetYearMonthFields(QStringLiteral("edMonth"));
    form->FocusControl(month);
    EXPECT_EQ(month->EditMask(), form->YearMonthEditMask());
    month->SetText(QStringLiteral("2024/13"));
    dialogs_->ExpectMessage(mrOk, Text("日期格式错误"));
    form->FocusControl(form->edRemark);
    EXPECT_EQ(form->ActiveControl(), month);
    month->SetText(QStringLiteral("2024/12"));
    form->FocusControl(form->edRemark);
    EXPECT_EQ(form->ActiveControl(), form->edRemark);
    EXPECT_EQ(form->YearMonthToStorage(month->Text()), QStringLiteral("202412"));
}

TEST_F(CriteriaTest, TheSchemePaneShowsItsCaptionAndButtonsWhole)
{
    Form form = MakeForm();
    form->Show();
    QApplication::processEvents();
    // The pane's caption: the whole line height inside the label.
    QWidget* caption = form->lblCondition->Widget();
    EXPECT_GE(caption->height(), QFontMetrics(caption->font()).height());
    EXPECT_EQ(form->lblCondition->Layout(), tlCenter);
    // The four tool buttons side by side inside the pane, each as wide as it asks to be.
    auto* bar = form->FindComponent<TToolBar>(QStringLiteral("ToolBar1"));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->ButtonCount(), 4);
    int right = 0;
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        TToolButton* button = bar->Buttons(i);
        EXPECT_GE(button->Left(), right) << i;
        right = button->Left() + button->Width();
        EXPECT_GE(button->Widget()->width(), button->Widget()->sizeHint().width()) << i;
        EXPECT_GE(button->Widget()->height(), button->Widget()->sizeHint().height()) << i;
    }
    EXPECT_LE(right, form->pnlCondition->ClientWidth());
    form->Hide();
}

namespace {

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

} // namespace

TEST_F(CriteriaTest, TheCallersWindowPaintsAgainWhenTheFormResizesOrCloses)
{
    QWidget caller;
    caller.resize(200, 100);
    caller.show();
    QApplication::processEvents();
    PaintCounter counter;
    caller.installEventFilter(&counter);

    Form form = MakeForm(false);
    ASSERT_TRUE(form->ApplyParams(Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("DEMO"),
        Variant(QString::number(caller.winId())), Variant("FEP")})))
        << form->ErrorTexts().toStdString();
    form->Show();
    QApplication::processEvents();
    counter.paints = 0;
    form->FormResize(form.get());
    EXPECT_EQ(counter.paints, 1) << "painted at once, not queued";
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    EXPECT_EQ(action, caFree);
    EXPECT_EQ(counter.paints, 2);

    // A handle that names no window of this program is left alone.
    Form other = MakeForm(false);
    ASSERT_TRUE(other->ApplyParams(Variant::ArrayOf(
        {Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant("987654321"), Variant("FEP")})));
    other->FormResize(other.get());
    EXPECT_EQ(counter.paints, 2);
    form->Hide();
}

TEST_F(CriteriaTest, HintsStayUpWhileTheyAreRead)
{
    Form form = MakeForm();
    EXPECT_EQ(HintHidePause(), 500000);
    form->Show();
    QApplication::processEvents();
    EXPECT_EQ(form->pgOption->Widget()->toolTipDuration(), 500000);
    form->Hide();
}
