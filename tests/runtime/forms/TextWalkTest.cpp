// Every text a form shows is reachable by property name, by indexed line or
// path, or (for grids and trees) through the control's own cells and nodes, so
// a converter can rewrite a whole form by walking its components.

#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/PropertyAccess.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A stand-in for GB-to-Big5 conversion: a few simplified characters to traditional.
QString toTraditional(QString text)
{
    static const QList<std::pair<QString, QString>> pairs
        = {{QString::fromUtf8("单"), QString::fromUtf8("單")},
            {QString::fromUtf8("变"), QString::fromUtf8("變")},
            {QString::fromUtf8("简"), QString::fromUtf8("簡")},
            {QString::fromUtf8("体"), QString::fromUtf8("體")},
            {QString::fromUtf8("户"), QString::fromUtf8("戶")},
            {QString::fromUtf8("绪"), QString::fromUtf8("緒")},
            {QString::fromUtf8("选"), QString::fromUtf8("選")},
            {QString::fromUtf8("项"), QString::fromUtf8("項")},
            {QString::fromUtf8("别"), QString::fromUtf8("別")},
            {QString::fromUtf8("号"), QString::fromUtf8("號")},
            {QString::fromUtf8("价"), QString::fromUtf8("價")}};
    for (const auto& [from, to] : pairs)
        text.replace(from, to);
    return text;
}

void convertTexts(QObject* object, const QString& path)
{
    if (HasPropertyPath(object, path))
        SetPropertyText(object, path, toTraditional(GetPropertyText(object, path)));
}

void convertCollection(QObject* object, const QString& name, const QString& field)
{
    if (!HasPropertyPath(object, name))
        return;
    auto* collection = qobject_cast<TCollection*>(GetPropertyValue(object, name).value<QObject*>());
    for (int i = 0; collection && i < collection->Count(); ++i)
        convertTexts(object, QStringLiteral("%1_%2.%3").arg(name).arg(i).arg(field));
}

// What a form converter does, by name and path only, plus grid cells and tree nodes.
void convertForm(TForm* form)
{
    convertTexts(form, "Caption");
    for (TComponent* c : form->ComponentList()) {
        if (HasPropertyPath(c, "Font"))
            SetPropertyText(c, "Font.Charset", "CHINESEBIG5_CHARSET");
        for (const char* name : {"Caption", "Hint"})
            convertTexts(c, name);
        for (const char* name : {"Items", "Lines", "Tabs"}) {
            if (HasPropertyPath(c, name)
                && qobject_cast<TStrings*>(GetPropertyValue(c, name).value<QObject*>()))
                convertTexts(c, name); // the whole list as one text
        }
        convertTexts(c, "Text"); // after the items, which a list-style combo box selects from
        convertCollection(c, "Columns", "Caption");
        convertCollection(c, "Panels", "Text");
        if (auto* view = qobject_cast<TListView*>(c)) {
            for (int i = 0; i < view->Items()->Count(); ++i) {
                TListItem* item = view->Items()->Items(i);
                item->SetCaption(toTraditional(item->Caption()));
                item->SubItems()->SetText(toTraditional(item->SubItems()->Text()));
            }
        }
        if (auto* grid = qobject_cast<TStringGrid*>(c)) {
            for (int r = 0; r < grid->RowCount(); ++r)
                for (int col = 0; col < grid->ColCount(); ++col)
                    grid->SetCells(col, r, toTraditional(grid->Cells(col, r)));
        }
        if (auto* tree = qobject_cast<TTreeView*>(c)) {
            for (int i = 0; i < tree->Items()->Count(); ++i)
                tree->Items()->Items(i)->SetText(toTraditional(tree->Items()->Items(i)->Text()));
        }
    }
}

} // namespace

TEST(TextWalkTest, EveryShownTextCanBeConverted)
{
    const QString text = QString::fromUtf8(
        testsupport::readAll(testsupport::sourcePath("tests/runtime/forms/fixtures/render.dfm")));
    std::unique_ptr<TForm> form(qobject_cast<TForm*>(CreateFromText(text)));
    ASSERT_TRUE(form);
    auto* grid = new TStringGrid(form.get());
    grid->SetName("sgLines");
    grid->SetParent(form.get());
    grid->SetCells(1, 1, QString::fromUtf8("单价"));
    auto* tree = new TTreeView(form.get());
    tree->SetName("tvKinds");
    tree->AddChild(tree->AddChild(nullptr, QString::fromUtf8("单别")), QString::fromUtf8("变更单"));
    form->FindComponent<TEdit>("edCode")->SetHint(QString::fromUtf8("单号"));

    convertForm(form.get());

    EXPECT_EQ(form->Caption(), QString::fromUtf8("工單變更單列印"));
    EXPECT_EQ(form->FindComponent<TLabel>("lblTitle")->Caption(), QString::fromUtf8("單別:"));
    EXPECT_EQ(form->FindComponent<TEdit>("edCode")->Hint(), QString::fromUtf8("單號"));
    auto* combo = form->FindComponent<TComboBox>("cbType");
    EXPECT_EQ(combo->Items()->Strings(0), QString::fromUtf8("簡體中文"));
    EXPECT_EQ(combo->ItemIndex(), 0);
    auto* view = form->FindComponent<TListView>("lvSlips");
    EXPECT_EQ(view->Column(0)->Caption(), QString::fromUtf8("單別"));
    EXPECT_EQ(form->FindComponent<TTabSheet>("tsOptions")->Caption(), QString::fromUtf8("選項"));
    EXPECT_EQ(form->FindComponent<TCheckBox>("chkPrice")->Caption(), QString::fromUtf8("打印單價"));
    auto* status = form->FindComponent<TStatusBar>("sbMain");
    EXPECT_EQ(status->Panels()->Items(0)->Text(), QString::fromUtf8("就緒"));
    EXPECT_EQ(status->Panels()->Items(1)->Text(), QString::fromUtf8("用戶: DS"));
    EXPECT_EQ(grid->Cells(1, 1), QString::fromUtf8("單價"));
    EXPECT_EQ(tree->Items()->Items(1)->Text(), QString::fromUtf8("變更單"));
    EXPECT_EQ(view->Font()->Charset(), CHINESEBIG5_CHARSET);
}
