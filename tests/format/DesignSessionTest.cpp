// A user's design session on the sample layout, against the demo server:
// move the title, hide a field, bring a hidden one back, add a label and an
// extended field, save under a new name, close; a new form (a later print)
// finds everything, and so does the designer opened again.
// With ZORV_DESIGNER_SCREENSHOTS set to a folder, the designer window is
// saved there as session-1.png (after the edits) and session-2.png (reopened).
#include "../runtime/designer/SampleReportForm.h"
#include "suite/appserver/DemoServerFixture.h"

#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ObjectProperties.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/report/QRBarcode.h"

#include <QDir>
#include <QPixmap>
#include <QTest>
#include <memory>

namespace {

// A format form as the module's are made: the store and the designer's
// parts (DreamDesigner1, PopupMenu1 and its items) belong to the built-in
// layout, so a stored layout holds only what the user changed.
class TfrmSessionFmt : public TfrmDesignSample {
    Q_OBJECT
public:
    explicit TfrmSessionFmt(TComponent* owner = nullptr)
        : TfrmDesignSample(owner)
    {
        SetName(QStringLiteral("frmSessionFmt"));
        TFormatStoreHost host;
        host.Form = this;
        Store = std::make_unique<TFormatStore>(host);
        Design = std::make_unique<TFormatDesign>(this, QuickRep1, SQLReBuilder, Store.get());
    }
    std::unique_ptr<TFormatStore> Store;
    std::unique_ptr<TFormatDesign> Design;

public slots:
    void OnBarCodeInvalidChar(QObject*, int, QString& replacement) { replacement = QStringLiteral("?"); }
};

struct Session {
    std::unique_ptr<TfrmSessionFmt, FreeComponent> Form;
    TFormatStore* Store = nullptr;
    TFormatDesign* Design = nullptr;
};

class DesignSessionTest : public DemoServerTest {
protected:
    Session open(const Variant& server, const QString& formatName)
    {
        TfrmDesignSample::Register();
        if (!FindClass(QStringLiteral("TfrmSessionFmt")))
            RegisterClass<TfrmSessionFmt>();
        Session s;
        s.Form.reset(new TfrmSessionFmt(nullptr));
        s.Store = s.Form->Store.get();
        s.Design = s.Form->Design.get();
        TFormatStoreHost& host = s.Store->Host();
        host.ApplicationServer = server;
        host.CompanyCode = QStringLiteral("HV01");
        host.UserCode = QStringLiteral("DS");
        host.ClientHome = home_.path() + u'/';
        host.LangText = [](const QString&, const QString& text) { return text; };
        host.Query = [](const QString&, const Variant&, Variant& rows) {
            rows = Variant::ArrayOf({Variant::ArrayOf({40})});
            return true;
        };
        s.Store->FormatName = formatName;
        return s;
    }
    void picture(const Session& s, const QString& name)
    {
        const QString folder = qEnvironmentVariable("ZORV_DESIGNER_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        s.Design->Designer()->Window()->resize(1100, 640);
        s.Design->Designer()->Window()->grab().save(folder + u'/' + name);
    }
};

TEST_F(DesignSessionTest, ANewFormatDesignedSavedAndOpenedAgainKeepsEverything)
{
    const Variant server = NewServer(QStringLiteral("DS"));
    Session s = open(server, QStringLiteral("<New>"));
    s.Form->SQLReBuilder->AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = B.TP004"));
    s.Form->SQLReBuilder->AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0);
    s.Form->SQLReBuilder->AddField(0, QStringLiteral("MB001"), QStringLiteral("品号条码"), 1);
    s.Design->StartDesign(true); // nothing stored under "<New>": the built-in layout
    TDreamDesigner* designer = s.Design->Designer();
    ASSERT_TRUE(designer->Active());
    EXPECT_EQ(s.Store->NameLimit, 40);
    TDCFormDesigner* model = designer->GetActiveDesigner();

    // Move the title by dragging it.
    model->SelectComponent(s.Form->qrlTitle);
    model->MoveSelection(-200, 4);
    // Hide a field: built-in controls are not edited in the inspector, the
    // delete command hides them.
    model->SelectComponent(s.Form->qrdName);
    EXPECT_FALSE(designer->Inspector()->EditValue(QStringLiteral("Enabled"), QStringLiteral("False")));
    QTest::keyClick(designer->Surface(), Qt::Key_Delete);
    EXPECT_FALSE(s.Form->qrdName->Enabled());
    // ...bring a hidden one back, add a label and an extended field.
    TDesignToolWindow* tools = designer->ToolWindow();
    const QString fields = QString::fromLatin1(TDesignToolWindow::FieldList);
    int hidden = -1;
    for (int r = 0; r < tools->RowCount(fields); ++r)
        if (tools->Row(fields, r).value(2) == QLatin1String("qrdHidden"))
            hidden = r;
    ASSERT_NE(s.Design->DragDrop({fields, hidden, s.Form->DetailBand1, QPoint(460, 4)}), nullptr);
    TControl* label = s.Design->DragDrop(
        {QString::fromLatin1(TDesignToolWindow::LabelTool), -1, s.Form->TitleBand1, QPoint(560, 12)});
    ASSERT_NE(label, nullptr);
    TControl* extended = s.Design->DragDrop(
        {QString::fromLatin1(TDesignToolWindow::ExtendedList), 0, s.Form->DetailBand1, QPoint(560, 4)});
    ASSERT_NE(extended, nullptr);
    TControl* barcode = s.Design->DragDrop(
        {QString::fromLatin1(TDesignToolWindow::ExtendedList), 1, s.Form->DetailBand1, QPoint(640, 4)});
    ASSERT_NE(qobject_cast<ReportDBBarcode*>(barcode), nullptr);
    EXPECT_EQ(GetPropMethod(barcode, QStringLiteral("OnInvalidChar")).Name(),
        QStringLiteral("OnBarCodeInvalidChar"));
    // The label dropped last is the inspector's at once, and editable.
    TControl* lastDropped = s.Design->DragDrop(
        {QString::fromLatin1(TDesignToolWindow::LabelTool), -1, s.Form->TitleBand1, QPoint(680, 12)});
    ASSERT_NE(lastDropped, nullptr);
    EXPECT_EQ(designer->Inspector()->Inspected(), lastDropped);
    EXPECT_FALSE(designer->Inspector()->ReadOnly());
    ASSERT_TRUE(designer->Inspector()->EditValue(QStringLiteral("Caption"), QStringLiteral("签核")));
    EXPECT_EQ(lastDropped->Caption(), QStringLiteral("签核"));
    ASSERT_TRUE(designer->Inspector()->EditValue(QStringLiteral("Size.Width"), QStringLiteral("91.28")));
    EXPECT_EQ(designer->Inspector()->ValueText(QStringLiteral("Size.Width")), QStringLiteral("91.28"));
    designer->SelectComponent(label);
    ASSERT_TRUE(designer->Inspector()->EditValue(QStringLiteral("Caption"), QStringLiteral("备注")));
    // The field list follows: the label and the field are listed, the
    // brought-back field is no longer marked hidden.
    EXPECT_EQ(tools->RowCount(fields), 11);
    for (int r = 0; r < tools->RowCount(fields); ++r)
        if (tools->Row(fields, r).value(2) == QLatin1String("qrdHidden")) {
            EXPECT_FALSE(tools->Row(fields, r).value(0).contains(QStringLiteral("隐藏")));
        }
    picture(s, QStringLiteral("session-1.png"));

    // Close: save under a new name.
    {
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
        dialogs.ExpectInput(true, QStringLiteral("我的格式"));
        designer->SetActive(false);
        EXPECT_TRUE(dialogs.Failures().isEmpty()) << qPrintable(dialogs.Failures().join(u'\n'));
    }
    EXPECT_FALSE(designer->Active());
    EXPECT_TRUE(s.Store->Saved);
    // Only the layout is stored: not the designer's own parts and settings.
    const QString stored
        = Column(QStringLiteral("SELECT NT003 FROM WARRANT WHERE NT001 = 'TfrmSessionFmt'")).value(0);
    EXPECT_TRUE(stored.contains(QLatin1String("object ExLbl1: TQRLabel"))) << qPrintable(stored);
    for (const char* absent : {"DreamDesigner1", "PopupMenu1", "miDel", "OnClick", "qrdNo"})
        EXPECT_FALSE(stored.contains(QLatin1String(absent))) << absent << "\n" << qPrintable(stored);
    EXPECT_EQ(s.Store->FormatName, QStringLiteral("我的格式"));

    // A later print: a new form loads the format by name.
    Session print = open(server, QStringLiteral("我的格式"));
    bool done = false;
    {
        ScriptedDialogService none; // any message here is a failure
        print.Store->LoadChanges(done);
        EXPECT_TRUE(none.Failures().isEmpty()) << qPrintable(none.Failures().join(u'\n'));
    }
    EXPECT_EQ(print.Form->qrlTitle->BoundsRect().topLeft(), QPoint(40, 12));
    EXPECT_FALSE(print.Form->qrdName->Enabled());
    EXPECT_TRUE(print.Form->qrdHidden->Enabled());
    EXPECT_EQ(print.Form->qrdHidden->BoundsRect().topLeft(), QPoint(460, 4));
    auto* again = print.Form->FindComponent<TQRLabel>(label->Name());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Caption(), QStringLiteral("备注"));
    auto* field = print.Form->FindComponent<ReportDBText>(extended->Name());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->DataField(), QStringLiteral("RT0_MB002"));
    EXPECT_EQ(print.Form->SQLReBuilder->Field(0, 0).Component, extended->Name());
    EXPECT_TRUE(print.Store->RuntimeComponents.contains(extended->Name()));
    // The added barcode comes back with the form's handler.
    auto* code = print.Form->FindComponent<ReportDBBarcode>(barcode->Name());
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(
        GetPropMethod(code, QStringLiteral("OnInvalidChar")).Name(), QStringLiteral("OnBarCodeInvalidChar"));
    QString replacement;
    code->OnInvalidChar()(code, 0, replacement);
    EXPECT_EQ(replacement, QStringLiteral("?"));

    // The designer opened again on that format shows the same layout.
    Session reopened = open(server, QStringLiteral("我的格式"));
    reopened.Design->StartDesign(true);
    EXPECT_EQ(reopened.Form->qrlTitle->Left(), 40);
    ASSERT_NE(reopened.Form->FindComponent(label->Name()), nullptr);
    EXPECT_EQ(reopened.Design->Designer()->ToolWindow()->RowCount(fields), 11);
    picture(reopened, QStringLiteral("session-2.png"));
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrNo, QStringLiteral("你是否想要保存呢?"));
    reopened.Design->Designer()->SetActive(false);
    EXPECT_FALSE(reopened.Design->Designer()->Active());
}

TEST_F(DesignSessionTest, ClosingTheDesignWindowByItsTitleBarAsksToSaveAndEndsTheSession)
{
    const Variant server = NewServer(QStringLiteral("DS"));
    Session s = open(server, QStringLiteral("<New>"));
    // The options window waits, disabled, until the session ends.
    TForm owner(nullptr);
    owner.SetEnabled(false);
    int ended = 0;
    s.Design->DesignerClosed = [&] {
        ++ended;
        owner.SetEnabled(true);
    };
    s.Design->StartDesign(true);
    TDreamDesigner* designer = s.Design->Designer();
    ASSERT_TRUE(designer->Active());
    designer->GetActiveDesigner()->SelectComponent(s.Form->qrlTitle);
    designer->GetActiveDesigner()->MoveSelection(-200, 4);
    QWidget* window = designer->Window();
    {
        // Cancel: the designer stays, with the edit.
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrCancel, QStringLiteral("你是否想要保存呢?"));
        window->close();
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialogs.Failures().isEmpty()) << qPrintable(dialogs.Failures().join(u'\n'));
        EXPECT_EQ(dialogs.Pending(), 0) << "the X asks before the window goes";
    }
    EXPECT_TRUE(designer->Active());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(owner.Enabled());
    EXPECT_EQ(s.Form->qrlTitle->Left(), 40);
    {
        // Yes: saved under the name asked for, then the session ends.
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
        dialogs.ExpectInput(true, QStringLiteral("关窗保存"));
        window->close();
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialogs.Failures().isEmpty()) << qPrintable(dialogs.Failures().join(u'\n'));
        EXPECT_EQ(dialogs.Pending(), 0);
    }
    EXPECT_FALSE(designer->Active());
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(owner.Enabled());
    EXPECT_TRUE(s.Store->Saved);
    EXPECT_EQ(Count(QStringLiteral(
                  "SELECT COUNT(*) FROM WARRANT WHERE NT001 = 'TfrmSessionFmt' AND NT002 = '关窗保存'")),
        1);
}

} // namespace

#include "DesignSessionTest.moc"
