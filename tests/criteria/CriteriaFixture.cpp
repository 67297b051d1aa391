#include "CriteriaFixture.h"

#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/StdCtrls.h"
#include "suite/appserver/DemoHome.h"
#include "suite/hubdesk/HubDeskManager.h"

namespace {

// The criteria page of the test form, as a descendant's description adds it.
const char* const testLayout = R"(inherited frmZorTest: TfrmZorTest
  Caption = '工单变更单打印'
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object spNo: TSelectPanel
        Left = 4
        Top = 4
        Width = 330
        Height = 50
        Caption = '变更单号'
        TabOrder = 0
      end
      object spType: TSelectPanel
        Left = 4
        Top = 58
        Width = 330
        Height = 45
        Caption = '单别'
        Style = sp_Discrete
        TabOrder = 1
      end
      object spCheck: TSelectPanel
        Left = 4
        Top = 162
        Width = 330
        Height = 90
        Caption = '审核状态'
        Style = sp_UserChoice
        TabOrder = 2
      end
      object spDate: TSelectPanel
        Left = 4
        Top = 256
        Width = 330
        Height = 50
        Caption = '变更日期'
        TabOrder = 3
      end
      object edRemark: TEdit
        Left = 4
        Top = 310
        Width = 200
        Height = 21
        TabOrder = 4
      end
      object cboKind: TComboBox
        Left = 210
        Top = 310
        Width = 120
        Height = 21
        Style = csDropDownList
        TabOrder = 5
        Items.Strings = (
          '全部'
          '已审核'
          '未审核')
      end
      object mmNote: TMemo
        Left = 4
        Top = 336
        Width = 326
        Height = 40
        TabOrder = 6
      end
    end
  end
end
)";

// A manager that is the real one but for its look-up object.
class TTestManager : public TAutoObject {
public:
    TTestManager(Variant real, std::shared_ptr<TFakeLookup> lookup)
        : TAutoObject(QStringLiteral("HubDesk.Manager"))
        , real_(std::move(real))
        , lookup_(std::move(lookup))
    {
        for (const char* member : {"GetMessage", "CallHelp", "GetFileList"}) {
            const QString name = QString::fromLatin1(member);
            AddMethod(name, [this, name](VariantList& a) { return real_.Call(name, a); });
        }
        for (const char* property : {"Com_Counter", "Com_Validator"}) {
            const QString name = QString::fromLatin1(property);
            AddProperty(name, [this, name](VariantList&) { return real_.Get(name); });
        }
        AddProperty(QStringLiteral("Com_F2Window"), [this](VariantList&) { return Variant(lookup_); });
    }

private:
    Variant real_;
    std::shared_ptr<TFakeLookup> lookup_;
};

} // namespace

TfrmZorTest::TfrmZorTest(TComponent* owner)
    : TfrmBaseGene(owner)
{
    SetName(QStringLiteral("frmZorTest"));
    ReadComponent(this, QString::fromUtf8(testLayout));
    spNo = FindComponent<TSelectPanel>(QStringLiteral("spNo"));
    spType = FindComponent<TSelectPanel>(QStringLiteral("spType"));
    spCheck = FindComponent<TSelectPanel>(QStringLiteral("spCheck"));
    spDate = FindComponent<TSelectPanel>(QStringLiteral("spDate"));
    edRemark = FindComponent<TEdit>(QStringLiteral("edRemark"));
    cboKind = FindComponent<TComboBox>(QStringLiteral("cboKind"));
    btnOk->SetOnClick(TNotifyEvent::Of(this, &TfrmZorTest::btnOkClick, QStringLiteral("btnOkClick")));
    SetOptionFlags(4);
}

bool TfrmZorTest::ApplyParams(const Variant& params)
{
    if (!TfrmBaseGene::ApplyParams(params))
        return false;
    ApplicationServer().Call(QStringLiteral("Connect"),
        {Variant::ArrayOf(
            {ProgramCode(), UserCode(), CompanyCode(), DatabaseName(), QStringLiteral("MOCTO")})});
    return true;
}

void TfrmZorTest::SetupEnvironment()
{
    TfrmBaseGene::SetupEnvironment();
    SetProgramCode(QStringLiteral("ZORV52"));
    SetDateFields(QStringLiteral("spDate"));
}

void TfrmZorTest::OpenLookup(Word key, TWinControl* control)
{
    if (control && control->Owner() == spType)
        FillPanelFromLookup(
            control, QStringLiteral("CMSMQ"), Variant(QStringLiteral("51")), false, QStringLiteral("19"));
    else if (control && control->Owner() == spNo)
        FillPanelFromLookup(control, QStringLiteral("MOCTO"), Variant(QStringLiteral("5101")), false);
    else
        TfrmBaseGene::OpenLookup(key, control);
}

void TfrmZorTest::AfterRestoreControl(TComponent* control, const QString& line)
{
    restored << control->Name() + u'=' + line;
}

void TfrmZorTest::btnOkClick(TObject*)
{
    okRuns << QStringLiteral("ok");
}

TFakeLookup::TFakeLookup()
    : TAutoObject(QStringLiteral("HubDesk.F2Window"))
{
    AddMethod(QStringLiteral("F2GetData"), [this](VariantList& a) {
        requests << Arg(a, 0);
        return answers.isEmpty() ? Variant() : answers.takeFirst();
    });
    AddMethod(QStringLiteral("ShowInputDay"), [this](VariantList& a) {
        dayRequest = Arg(a, 0);
        return Variant(dayAnswer);
    });
    AddMethod(QStringLiteral("GetPhrase"), [](VariantList&) { return Variant(QStringLiteral("常用词组")); });
}

void CriteriaTest::SetUp()
{
    TDemoOptions options;
    options.Slips = 5;
    CreateDemoHome(home_.path(), options);
    registry_
        = std::make_unique<testsupport::ScopedEnv>("STEWARD_REGISTRY", home_.file("registry.reg").toUtf8());
    RegisterHubDesk();
    RegisterClass<TfrmZorTest>();
    lookup_ = std::make_shared<TFakeLookup>();
    manager_ = Variant(
        std::make_shared<TTestManager>(CreateOleObject(QStringLiteral("HubDesk.Manager")), lookup_));
    dialogs_ = std::make_unique<ScriptedDialogService>();
}

void CriteriaTest::TearDown()
{
    if (dialogs_) {
        EXPECT_TRUE(dialogs_->Failures().isEmpty()) << dialogs_->Failures().join(u'\n').toStdString();
        EXPECT_EQ(dialogs_->Pending(), 0) << "expected dialogs that never came";
    }
    dialogs_.reset();
    manager_ = Variant();
}

std::unique_ptr<TfrmZorTest, FreeComponent> CriteriaTest::MakeForm(bool initialise)
{
    std::unique_ptr<TfrmZorTest, FreeComponent> form(CreateForm<TfrmZorTest>());
    form->SetHostObject(manager_);
    form->SetModulePath(QStringLiteral("/opt/steward/libZORV52C.so"));
    if (initialise) {
        const bool ok = form->ApplyParams(
            Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("FEP")}));
        EXPECT_TRUE(ok) << form->ErrorCodes().toStdString() << form->ErrorTexts().toStdString();
    }
    return form;
}
