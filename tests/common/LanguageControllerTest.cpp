#include "common/forms/LanguageController.h"

#include "LanguageTestHome.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/CodePages.h"

#include <gtest/gtest.h>

using steward_test::LanguageHome;

namespace {

struct PackageForm {
    PackageForm()
    {
        form.SetName(QStringLiteral("frmSlip"));
        ok->SetName(QStringLiteral("btnOK"));
        ok->SetParent(&form);
        combo->SetName(QStringLiteral("cboKind"));
        combo->SetParent(&form);
        combo->Items()->SetLines({QStringLiteral("a"), QStringLiteral("b")});
        combo->SetItemIndex(1);
        view->SetName(QStringLiteral("lvRows"));
        view->SetParent(&form);
        view->Columns()->Add()->SetCaption(QStringLiteral("No"));
        label->SetName(QStringLiteral("lblNote"));
        label->SetParent(&form);
    }
    // Applies xml to the form through a controller given the text.
    void Apply(const QString& xml, const QStringList& exclude = {})
    {
        controller.LangXML()->SetText(xml);
        controller.ExcludeControls()->SetLines(exclude);
        controller.SetActive(true);
        controller.ReadComponent(&form);
    }
    TForm form;
    TButton* ok = new TButton(&form);
    TComboBox* combo = new TComboBox(&form);
    TListView* view = new TListView(&form);
    TLabel* label = new TLabel(&form);
    TLanguageController controller;
};

} // namespace

TEST(LanguageReader, ElementsAreFoundAnywhereAndRootHoldsTheForm)
{
    PackageForm f;
    f.Apply(QStringLiteral(R"(<TfrmSlip Caption="Change slip">
        <Group><Deeper><btnOK Caption="OK" Font.Style="[fsBold]" Font.Charset="GB2312_CHARSET"/></Deeper></Group>
        <lblNote Color="clRed" Font.Color="$0000FF" Hint=" keep  spaces "/>
        <btnOK Caption="second match is ignored"/>
      </TfrmSlip>)"));
    EXPECT_EQ(f.form.Caption(), QStringLiteral("Change slip"));
    EXPECT_EQ(f.ok->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(f.ok->Font()->Style(), TFontStyles(fsBold));
    EXPECT_EQ(f.ok->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(f.label->Color(), clRed);
    EXPECT_EQ(f.label->Font()->Color(), clRed);
    EXPECT_EQ(f.label->Hint(), QStringLiteral(" keep  spaces "));
}

TEST(LanguageReader, IndexedPaths)
{
    PackageForm f;
    f.Apply(QStringLiteral(R"(<TfrmSlip>
        <cboKind Items_3="d" Items_0="A" Items_2147483647="huge" Items_99999999999="overflow" Items_-1="neg"/>
        <lvRows Columns_1.Caption="missing" Columns_0.Caption="Slip" Columns_0.Width="80" Items_5.Caption="none"/>
        <lblNote Nonsense="1" Caption.Deeper="x" Font.Size="abc"/>
      </TfrmSlip>)"));
    EXPECT_EQ(f.combo->Items()->Lines(),
        QStringList({QStringLiteral("A"), QStringLiteral("b"), QString(), QStringLiteral("d")}));
    EXPECT_EQ(f.combo->ItemIndex(), 1) << "the selected line survives";
    EXPECT_EQ(f.view->Columns()->Count(), 1);
    EXPECT_EQ(f.view->Column(0)->Caption(), QStringLiteral("Slip"));
    EXPECT_EQ(f.view->Column(0)->Width(), 80);
    EXPECT_EQ(f.label->Font()->Size(), 8) << "a value that does not fit is dropped";
}

TEST(LanguageReader, ExcludedControlsKeepTheirTexts)
{
    PackageForm f;
    f.ok->SetCaption(QStringLiteral("确定"));
    f.Apply(QStringLiteral(R"(<TfrmSlip><btnOK Caption="OK"/><lblNote Caption="Note"/></TfrmSlip>)"),
        {QStringLiteral("  BTNok ")});
    EXPECT_EQ(f.ok->Caption(), QStringLiteral("确定"));
    EXPECT_EQ(f.label->Caption(), QStringLiteral("Note"));
}

TEST(LanguageReader, LoadEventsSeeComponentAndElement)
{
    PackageForm f;
    QStringList seen;
    f.controller.SetBeforeLoadComponent(
        TLoadComponentEvent::Of([&](TObject* sender, TComponent* c, TLangElement e) {
            EXPECT_EQ(sender, &f.controller);
            seen << c->Name() + u'=' + e.Name();
        }));
    f.Apply(QStringLiteral(R"(<TfrmSlip><lblNote Caption="x"/></TfrmSlip>)"));
    EXPECT_EQ(seen, QStringList({QStringLiteral("frmSlip=TfrmSlip"), QStringLiteral("lblNote=lblNote")}));
}

TEST(LanguageReader, LoadEventsReadTheElementsAttributes)
{
    PackageForm f;
    QStringList seen;
    f.controller.SetAfterLoadComponent(TLoadComponentEvent::Of([&](TObject*, TComponent*, TLangElement e) {
        if (e.Name() == QStringLiteral("btnOK"))
            seen << e.AttributeNames().join(u',') + u'|' + e.Attribute(QStringLiteral("Hint")) + u'|'
                    + e.Attribute(QStringLiteral("Missing"));
    }));
    f.Apply(QStringLiteral(R"(<TfrmSlip><btnOK Caption="OK" Hint="按此确认"/></TfrmSlip>)"));
    EXPECT_EQ(seen, QStringList({QStringLiteral("Caption,Hint|按此确认|")}));
    EXPECT_TRUE(TLangElement().IsNull());
}

TEST(LanguageController, StateAndFailures)
{
    TLanguageController controller;
    EXPECT_FALSE(controller.Active());
    try {
        controller.Reader();
        FAIL();
    } catch (const LanguageControllerError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("No active LanguageController!"));
    }
    try {
        controller.SetActive(true);
        FAIL();
    } catch (const LanguageControllerError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Cannot Find File !"));
    }
    controller.LangXML()->SetText(QStringLiteral("<a>\n<b x='1'>\n<c></b>\n</a>"));
    try {
        controller.SetActive(true);
        FAIL();
    } catch (const LanguageControllerError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Line 3: "))) << e.Message().toStdString();
    }
    EXPECT_FALSE(controller.Active());

    int closed = 0;
    controller.SetAfterClose(TNotifyEvent::Of([&](TObject*) { ++closed; }));
    controller.LangXML()->SetText(QStringLiteral("<a/>"));
    controller.SetActive(true);
    EXPECT_TRUE(controller.Active());
    controller.SetLangFileName(QStringLiteral("/x/y.Lng"));
    EXPECT_FALSE(controller.Active()) << "a new file name closes the document";
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(controller.LangXML()->Count(), 0);
    controller.LangXML()->SetText(QStringLiteral("<a/>"));
    EXPECT_TRUE(controller.LangFileName().isEmpty()) << "a document text replaces the file name";
}

TEST(LanguageController, DeclaredEncodingsAreDecoded)
{
    LanguageHome home("950");
    const QString text = QStringLiteral("單據");
    struct Case {
        QByteArray declaration;
        int codePage;
    };
    for (const Case& c : {Case {"Big5", 950}, Case {"GB2312", 936}, Case {"utf-8", 65001}}) {
        const QString shown = c.codePage == 936 ? QStringLiteral("单据") : text;
        const QByteArray bytes = "<?xml version=\"1.0\" encoding=\"" + c.declaration
            + "\"?>\n<TfrmX><btnOK Caption=\"" + EncodeText(shown, c.codePage) + "\"/></TfrmX>";
        const QString path
            = home.Write(QStringLiteral("pkg-%1.Lng").arg(QString::fromLatin1(c.declaration)), bytes);
        PackageForm f;
        f.controller.SetLangFileName(path);
        f.controller.SetActive(true);
        f.controller.ReadComponent(&f.form);
        EXPECT_EQ(f.ok->Caption(), shown) << c.declaration.constData();
    }
    const QString odd
        = home.Write(QStringLiteral("odd.Lng"), "<?xml version=\"1.0\" encoding=\"EBCDIC\"?><a/>");
    TLanguageController controller;
    controller.SetLangFileName(odd);
    EXPECT_THROW(controller.SetActive(true), LanguageControllerError);
}

TEST(LanguageController, PackagesLiveInTheInterfaceLanguageFolder)
{
    {
        LanguageHome home("950");
        home.WritePackage(QStringLiteral("CHT"), QStringLiteral("TfrmX"), "<TfrmX/>");
        THvLangController controller;
        controller.SetLangPackageName(QStringLiteral("TfrmX"));
        EXPECT_EQ(
            controller.LangFileName(), home.HomeFolder() + QStringLiteral("\\MultiLanguage\\CHT\\TfrmX.Lng"));
        controller.SetActive(true);
        EXPECT_TRUE(controller.Active());
    }
    {
        LanguageHome home("", "1252"); // reduced to 437
        home.WritePackage(QStringLiteral("ENG"), QStringLiteral("Other"), "<Other/>");
        EXPECT_EQ(LanguageFolder(dtClient), home.HomeFolder() + QStringLiteral("\\MultiLanguage\\ENG\\"));
    }
    {
        LanguageHome home("936"); // no CHS folder
        THvLangController controller;
        controller.SetLangPackageName(QStringLiteral("TfrmX"));
        EXPECT_EQ(controller.LangFileName(), QStringLiteral("TfrmX.Lng"));
    }
}

TEST(LanguageMessages, LookupsFallBackToTheDefault)
{
    LanguageHome home("950");
    home.WritePackage(QStringLiteral("CHT"), QStringLiteral("TfrmX"),
        "<TfrmX><Msgs><W000006 Msg=\"No rows for %s in %d\"/><Bare/></Msgs></TfrmX>");
    home.WritePackage(QStringLiteral("CHT"), QStringLiteral("Broken"), "<TfrmX><W000006 Msg=\"x\"></TfrmX>");
    EXPECT_EQ(
        GetLangMessage(dtClient, QStringLiteral("TfrmX"), QStringLiteral("W000006"), QStringLiteral("d")),
        QStringLiteral("No rows for %s in %d"));
    EXPECT_EQ(FormatLangMessage(dtClient, QStringLiteral("TfrmX"), QStringLiteral("W000006"),
                  {QStringLiteral("MOCTO"), QStringLiteral("2024")}, QString()),
        QStringLiteral("No rows for MOCTO in 2024"));
    EXPECT_EQ(FormatLangMessage(dtClient, QStringLiteral("TfrmX"), QStringLiteral("W000006"), {}, QString()),
        QStringLiteral("No rows for %s in %d"))
        << "too few arguments leave the text as it is";
    for (const QString& name : {QStringLiteral("Bare"), QStringLiteral("Missing"), QStringLiteral("a|//*"),
             QStringLiteral("1abc"), QString()})
        EXPECT_EQ(GetLangMessage(dtClient, QStringLiteral("TfrmX"), name, QStringLiteral("default")),
            QStringLiteral("default"))
            << name.toStdString();
    EXPECT_EQ(
        GetLangMessage(dtClient, QStringLiteral("Broken"), QStringLiteral("W000006"), QStringLiteral("d")),
        QStringLiteral("d"));
    EXPECT_EQ(GetLangMessage(
                  dtClient, QStringLiteral("NoSuchPackage"), QStringLiteral("W000006"), QStringLiteral("d")),
        QStringLiteral("d"));
    EXPECT_EQ(
        FormatMessageText(QStringLiteral("%1:s-%0:s 100%%"), {QStringLiteral("a"), QStringLiteral("b")}),
        QStringLiteral("b-a 100%"));
}
