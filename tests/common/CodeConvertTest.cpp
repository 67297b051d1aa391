#include "common/forms/LibCodeConvert.h"

#include "LanguageTestHome.h"
#include "common/TranslatorU.h"
#include "common/forms/FontAliases.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/Field.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/Libraries.h"

#include <QDir>
#include <QFontInfo>
#include <QWidget>
#include <gtest/gtest.h>

using steward_test::LanguageHome;
using testsupport::ScopedEnv;

namespace {

// A form designed in simplified Chinese with one control of each kind the
// converter knows.
struct SlipForm {
    SlipForm()
    {
        form.SetName(QStringLiteral("frmSlip"));
        form.SetCaption(QStringLiteral("工单变更单"));
        label->SetName(QStringLiteral("lblType"));
        label->SetCaption(QStringLiteral("单据类型"));
        label->SetHint(QStringLiteral("选择单据"));
        combo->SetName(QStringLiteral("cboStatus"));
        combo->Items()->SetLines({QStringLiteral("开始"), QStringLiteral("结束")});
        list->SetName(QStringLiteral("cboSort"));
        list->SetStyle(csDropDownList);
        list->Items()->SetLines({QStringLiteral("单号"), QStringLiteral("日期")});
        list->SetItemIndex(1);
        view->SetName(QStringLiteral("lvRows"));
        view->Columns()->Add()->SetCaption(QStringLiteral("单号"));
        TListItem* row = view->Items()->Add();
        row->SetCaption(QStringLiteral("变更"));
        row->SubItems()->SetLines({QStringLiteral("开始"), QStringLiteral("报表")});
        status->SetName(QStringLiteral("sbMain"));
        status->Panels()->Add()->SetText(QStringLiteral("状态"));
        grid->SetName(QStringLiteral("sgCells"));
        grid->SetCells(1, 1, QStringLiteral("开始"));
        memo->SetName(QStringLiteral("mmNote"));
        memo->Lines()->SetLines({QStringLiteral("报表"), QStringLiteral("单据")});
        tabs->SetName(QStringLiteral("tsPages"));
        tabs->Tabs()->SetLines({QStringLiteral("单据"), QStringLiteral("报表")});
        tabs->SetTabIndex(1);
        for (TControl* control :
            std::initializer_list<TControl*> {label, combo, list, view, status, grid, memo, tabs})
            control->SetParent(&form);
        form.SetBounds(0, 0, 520, 330);
        label->SetBounds(8, 8, 120, 20);
        combo->SetBounds(8, 32, 120, 24);
        list->SetBounds(136, 32, 120, 24);
        view->SetViewStyle(vsReport);
        view->SetBounds(8, 64, 248, 90);
        grid->SetBounds(264, 8, 240, 146);
        memo->SetBounds(8, 160, 248, 60);
        tabs->SetBounds(264, 160, 240, 28);
        status->SetAlign(alBottom);
        menuItem->SetName(QStringLiteral("miPrint"));
        menuItem->SetCaption(QStringLiteral("报表"));
        menu->Items()->Add(menuItem);
    }
    TForm form;
    TLabel* label = new TLabel(&form);
    TComboBox* combo = new TComboBox(&form);
    TComboBox* list = new TComboBox(&form);
    TListView* view = new TListView(&form);
    TStatusBar* status = new TStatusBar(&form);
    TStringGrid* grid = new TStringGrid(&form);
    TMemo* memo = new TMemo(&form);
    TTabSet* tabs = new TTabSet(&form);
    TPopupMenu* menu = new TPopupMenu(&form);
    TMenuItem* menuItem = new TMenuItem(&form);
};

// A component with texts of its own, as the selection panel has.
class WordsComponent : public TComponent, public ICodePageConvertible {
public:
    using TComponent::TComponent;
    void ConvertCodePage(TCodeConverter& converter, int direction, bool deep) override
    {
        words = converter.ConvertLines(direction, words);
        seenDeep = deep;
    }
    QStringList words {QStringLiteral("起"), QStringLiteral("区间选择")};
    bool seenDeep = false;
};

} // namespace

TEST(CodeConverter, ComponentsConvertTheirOwnTexts)
{
    LanguageHome home("950");
    TForm form;
    auto* panel = new WordsComponent(&form);
    TCodeConverter converter(&form);
    converter.ConvertForm(&form, false, false);
    EXPECT_EQ(panel->words, QStringList({QStringLiteral("起"), QStringLiteral("區間選擇")}));
    EXPECT_FALSE(panel->seenDeep);
}

TEST(CodeConverter, TraditionalInterfaceShowsTraditionalTexts)
{
    LanguageHome home("950");
    SlipForm f;
    TCodeConverter converter(&f.form);
    ASSERT_EQ(converter.UIConvertMode(), 2);
    ASSERT_NE(converter.Translator(), nullptr);
    converter.ConvertForm(&f.form, false, true);

    EXPECT_EQ(f.form.Caption(), QStringLiteral("工單變更單"));
    EXPECT_EQ(f.label->Caption(), QStringLiteral("單據類型"));
    EXPECT_EQ(f.label->Hint(), QStringLiteral("選擇單據"));
    EXPECT_EQ(f.label->Font()->Name(), QStringLiteral("SimSun"));
    EXPECT_EQ(f.label->Font()->Charset(), CHINESEBIG5_CHARSET);
    EXPECT_EQ(f.combo->Items()->Lines(), QStringList({QStringLiteral("開始"), QStringLiteral("結束")}));
    EXPECT_EQ(f.combo->ItemIndex(), 0) << "a combo without selection ends on its first item";
    EXPECT_EQ(f.list->Items()->Strings(1), QStringLiteral("日期"));
    EXPECT_EQ(f.list->ItemIndex(), 1) << "the selected line survives the conversion";
    EXPECT_EQ(f.list->Style(), csOwnerDrawFixed);
    EXPECT_EQ(f.combo->Style(), csDropDown) << "an editable combo stays editable";
    EXPECT_EQ(f.view->Column(0)->Caption(), QStringLiteral("單號"));
    EXPECT_EQ(f.view->Items()->Items(0)->Caption(), QStringLiteral("變更"));
    EXPECT_EQ(f.view->Items()->Items(0)->SubItems()->Lines(),
        QStringList({QStringLiteral("開始"), QStringLiteral("報表")}));
    EXPECT_EQ(f.status->Panels()->Items(0)->Text(), QStringLiteral("狀態"));
    EXPECT_EQ(f.grid->Cells(1, 1), QStringLiteral("開始"));
    EXPECT_EQ(f.memo->Lines()->Lines(), QStringList({QStringLiteral("報表"), QStringLiteral("單據")}));
    EXPECT_EQ(f.tabs->Tabs()->Strings(0), QStringLiteral("單據"));
    EXPECT_EQ(f.tabs->TabIndex(), 1);
    EXPECT_EQ(f.menuItem->Caption(), QStringLiteral("報表"));
    EXPECT_TRUE(f.menu->OwnerDraw());

    f.form.Show();
    const QString shots = qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/screenshots");
    QDir().mkpath(shots);
    EXPECT_TRUE(f.form.Widget()->grab().save(shots + QStringLiteral("/convert-950.png")));
}

TEST(CodeConverter, ListsAreConvertedInOneCallEach)
{
    LanguageHome home("950");
    TForm form;
    auto* memo = new TMemo(&form);
    memo->SetParent(&form);
    QStringList lines;
    for (int i = 0; i < 200; ++i)
        lines << QStringLiteral("单据%1").arg(i);
    memo->Lines()->SetLines(lines);
    TCodeConverter converter(&form);
    const qint64 before = converter.Translator()->CallCount();
    converter.ConvertForm(&form, false, true);
    EXPECT_EQ(memo->Lines()->Strings(199), QStringLiteral("單據199"));
    EXPECT_EQ(converter.Translator()->CallCount() - before, 1);
}

TEST(CodeConverter, StringGridsOnlyWhenDeep)
{
    LanguageHome home("950");
    SlipForm shallow;
    TCodeConverter converter(&shallow.form);
    converter.ConvertForm(&shallow.form, false, false);
    EXPECT_EQ(shallow.grid->Cells(1, 1), QStringLiteral("开始"));
    EXPECT_EQ(shallow.label->Caption(), QStringLiteral("單據類型"));
}

TEST(CodeConverter, SimplifiedInterfaceChangesNothingAndNeverLoadsTheLibrary)
{
    LanguageHome home("936");
    ScopedEnv noLibraries("STEWARD_LIBRARY_PATH", "/nonexistent");
    SlipForm f;
    TCodeConverter converter(&f.form); // would raise if it tried to load the library
    EXPECT_EQ(converter.UIConvertMode(), 0);
    EXPECT_EQ(converter.Translator(), nullptr);
    converter.ConvertForm(&f.form, false, true);
    EXPECT_EQ(f.form.Caption(), QStringLiteral("工单变更单"));
    EXPECT_EQ(f.label->Caption(), QStringLiteral("单据类型"));
    EXPECT_EQ(f.label->Font()->Name(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(f.combo->ItemIndex(), -1);
    EXPECT_EQ(converter.ToDisplay(QStringLiteral("单据")), Variant(QStringLiteral("单据")));
}

TEST(CodeConverter, SimplifiedInterfaceOnTraditionalSystemChangesFontsAndTheTitleOnly)
{
    LanguageHome home("936", "950");
    SlipForm f;
    TCodeConverter converter(&f.form);
    ASSERT_EQ(converter.UIConvertMode(), 4);
    converter.ConvertForm(&f.form, false, true);
    EXPECT_EQ(f.form.Caption(), QStringLiteral("工單變更單")) << "the title follows the Big5 system";
    EXPECT_EQ(f.label->Caption(), QStringLiteral("单据类型"));
    EXPECT_EQ(f.grid->Cells(1, 1), QStringLiteral("开始"));
    EXPECT_EQ(f.label->Font()->Name(), QStringLiteral("SimSun"));
    EXPECT_EQ(f.label->Font()->Charset(), GB2312_CHARSET);
}

TEST(CodeConverter, ExclusionLines)
{
    LanguageHome home("950");
    SlipForm f;
    TCodeConverter converter(&f.form);
    converter.ExclusionList() << QStringLiteral("lbltype") // no property list: left alone
                              << QStringLiteral("MMNOTE") + QChar(3) + QStringLiteral("Lines,Font");
    f.label->SetParentFont(true);
    converter.ConvertForm(&f.form, true, true);
    EXPECT_EQ(f.label->Caption(), QStringLiteral("单据类型"));
    EXPECT_EQ(f.label->Font()->Name(), QStringLiteral("MS Sans Serif"));
    EXPECT_FALSE(f.label->ParentFont());
    EXPECT_EQ(f.memo->Lines()->Strings(0), QStringLiteral("报表")) << "listed properties are skipped";
    EXPECT_EQ(f.combo->Items()->Strings(0), QStringLiteral("開始")) << "other components convert as usual";

    SlipForm g;
    TCodeConverter ignoring(&g.form);
    ignoring.ExclusionList() << QStringLiteral("lblType");
    ignoring.ConvertForm(&g.form, false, true);
    EXPECT_EQ(g.label->Caption(), QStringLiteral("單據類型")) << "exclusions apply only when asked for";
}

TEST(CodeConverter, VariantsKeepTheirNonTextValues)
{
    LanguageHome home("950", "936", "936");
    TCodeConverter converter;
    ASSERT_EQ(converter.DBConvertMode(), 2);
    Variant row = Variant::ArrayOf(
        {QStringLiteral("单据"), 12, Variant::Null(), Variant::ArrayOf({QStringLiteral("报表"), 1.5})});
    const Variant shown = converter.ToDisplay(row);
    EXPECT_EQ(shown,
        Variant::ArrayOf(
            {QStringLiteral("單據"), 12, Variant::Null(), Variant::ArrayOf({QStringLiteral("報表"), 1.5})}));
    EXPECT_EQ(converter.FromDisplay(shown), row);

    Variant table = Variant::CreateArray(1, 2, 0, 1);
    table.At(1, 0) = QStringLiteral("开始");
    table.At(2, 1) = 7;
    const Variant converted = converter.FromDatabase(table);
    EXPECT_EQ(converted.At(1, 0), Variant(QStringLiteral("開始")));
    EXPECT_EQ(converted.At(2, 1), Variant(7));
    EXPECT_TRUE(converted.At(1, 1).IsEmpty());
    EXPECT_EQ(converter.ToDatabase(converted).At(1, 0), Variant(QStringLiteral("开始")));
    EXPECT_EQ(converter.ConvertVariant(3, QStringLiteral("单据")), Variant(QStringLiteral("单据")));
}

TEST(CodeConverter, DatabaseTextsConvertUnderASimplifiedInterface)
{
    LanguageHome home("936", "936", "950");
    TCodeConverter converter;
    EXPECT_EQ(converter.UIConvertMode(), 0);
    ASSERT_EQ(converter.DBConvertMode(), 1);
    EXPECT_EQ(converter.FromDatabase(QStringLiteral("單據")), Variant(QStringLiteral("单据")));
    EXPECT_EQ(converter.ToDatabase(QStringLiteral("单据")), Variant(QStringLiteral("單據")));
}

TEST(Translator, FailuresNameTheirCause)
{
    {
        ScopedEnv noLibraries("STEWARD_LIBRARY_PATH", "/nonexistent");
        try {
            TTranslator translator;
            FAIL() << "the library should not load";
        } catch (const ETranslatorError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Load Library Hvlanguage.dll Error!"));
        }
    }
    // A library without the entry points.
    ScopedEnv system("STEWARD_LIBRARY_PATH", "/usr/lib/x86_64-linux-gnu:/lib/x86_64-linux-gnu");
    auto library = TLibrary::Load(QStringLiteral("z.dll"));
    if (!library)
        GTEST_SKIP() << "no libz.so to stand in";
    try {
        TTranslator translator(std::move(library));
        FAIL() << "the entry points should be missing";
    } catch (const ETranslatorError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Get Library Procedure Address Error!"));
    }
}

TEST(CodeConverter, MessageDialogTakesTheFormCaption)
{
    LanguageHome home("950");
    TForm form;
    form.SetCaption(QStringLiteral("變更單"));
    form.SetWindowState(wsMinimized);
    TCodeConverter converter(&form);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrYes, QStringLiteral("是否列印"));
    EXPECT_EQ(
        converter.ShowMessageDialog(QStringLiteral("是否列印"), mtConfirmation, TMsgDlgButtons(mbYes) | mbNo),
        mrYes);
    ASSERT_EQ(dialogs.Asked().size(), 1);
    EXPECT_EQ(dialogs.Asked().at(0).Caption, QStringLiteral("變更單"));
    // The system code page is 936 here: the text gets its six trailing spaces.
    EXPECT_EQ(dialogs.Asked().at(0).Text, QStringLiteral("是否列印      "));
    EXPECT_EQ(form.WindowState(), wsNormal);
    EXPECT_EQ(converter.ShowMessageDialog(QString(), mtInformation, mbOK), 0);
    EXPECT_EQ(dialogs.Asked().size(), 1) << "an empty text shows nothing";
}

TEST(FontAliases, SimSunResolvesToAnInstalledSongFont)
{
    ASSERT_TRUE(LoadFontAliases());
    QFont font(QStringLiteral("SimSun"));
    const QString family = QFontInfo(font).family();
    EXPECT_TRUE(family.contains(QStringLiteral("UMing")) || family.contains(QStringLiteral("CJK")))
        << family.toStdString();
}

TEST(CodeConverter, FieldsShowTheUsersTextAndStoreTheDatabases)
{
    LanguageHome home("950", "936", "936");
    TCodeConverter converter;
    ASSERT_EQ(converter.DBConvertMode(), 2) << "stored simplified, shown traditional";
    TClientDataSet schemes;
    schemes.FieldDefs().Add(QStringLiteral("NCONDITION"), ftString, 20);
    schemes.FieldDefs().Add(QStringLiteral("VCONDITION"), ftMemo);
    schemes.FieldDefs().Add(QStringLiteral("FLAG"), ftInteger);
    schemes.CreateDataSet();
    converter.HookFieldTexts(schemes);

    schemes.Append();
    TField* name = schemes.FieldByName(QStringLiteral("NCONDITION"));
    TField* values = schemes.FieldByName(QStringLiteral("VCONDITION"));
    TField* flag = schemes.FieldByName(QStringLiteral("FLAG"));
    name->SetText(QStringLiteral("單據報表")); // typed by the user
    values->SetAsString(QStringLiteral("开始")); // stored as it came
    flag->SetText(QStringLiteral("12"));
    schemes.Post();
    EXPECT_EQ(name->AsString(), QStringLiteral("单据报表")) << "stored in the database's code page";
    EXPECT_EQ(name->Text(), QStringLiteral("單據報表"));
    EXPECT_EQ(name->DisplayText(), QStringLiteral("單據報表"));
    EXPECT_EQ(values->DisplayText(), QStringLiteral("開始"));
    EXPECT_EQ(flag->DisplayText(), QStringLiteral("12")) << "numbers are left alone";
    EXPECT_FALSE(static_cast<bool>(flag->OnGetText()));

    // Without the converter the texts pass as they are.
    auto* gone = new TCodeConverter;
    gone->HookFieldTexts(schemes);
    delete gone;
    schemes.Edit();
    name->SetText(QStringLiteral("報表"));
    schemes.Post();
    EXPECT_EQ(name->AsString(), QStringLiteral("報表"));
    EXPECT_EQ(name->DisplayText(), QStringLiteral("報表"));
}
