#include "SampleForms.h"

#include "runtime/forms/FormReader.h"
#include "runtime/forms/PropertyAccess.h"

#include <QCoreApplication>
#include <QPointer>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterSampleForms(); }
};

// The message of the read error a text raises, empty when it reads.
QString readError(const QString& text)
{
    TForm form;
    try {
        ReadComponent(&form, text);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST_F(ReaderTest, BuiltInLayoutCreatesComponentsInOrderWithTheirProperties)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    EXPECT_EQ(form->Name(), "frmSample");
    EXPECT_EQ(form->Caption(), QString::fromUtf8("工单变更单"));
    EXPECT_EQ(form->ClientWidth(), 460);
    QStringList names;
    for (TComponent* c : form->ComponentList())
        names << c->Name();
    EXPECT_EQ(names,
        QStringList(
            {"lblCode", "edCode", "cbType", "gbOptions", "chkPrice", "edNote", "btnOK", "btnCancel"}));

    auto* combo = form->FindComponent<TComboBox>("CBTYPE");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->Items()->Count(), 3);
    EXPECT_EQ(combo->ItemIndex(), 1); // stored before its items, applied after them
    EXPECT_EQ(combo->Text(), QString::fromUtf8("变更单"));

    auto* check = form->FindComponent<TCheckBox>("chkPrice");
    ASSERT_NE(check, nullptr);
    EXPECT_EQ(check->Parent(), form->FindComponent("gbOptions"));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(check->Font()->Name(), "SimSun"); // parent font
    EXPECT_EQ(check->Font()->Charset(), GB2312_CHARSET);

    // Published fields follow the components of their name.
    EXPECT_EQ(form->btnOK, form->FindComponent("btnOK"));
    EXPECT_EQ(form->edCode->Text(), "MO-0001");
    EXPECT_EQ(form->FindComponent<TLabel>("lblCode")->FocusControl(), form->edCode);
}

TEST_F(ReaderTest, HandlersAreBoundToTheFormsMethodsByName)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    form->btnOK->Click();
    EXPECT_EQ(form->Calls, QStringList {"btnOKClick:btnOK"});
    const TMethod handler = GetPropMethod(form->btnOK, "onclick");
    EXPECT_EQ(handler.Name(), "btnOKClick");
    EXPECT_EQ(handler.Data(), form.get());
}

TEST_F(ReaderTest, DescendantLayoutUpdatesInheritedAndAddsNew)
{
    std::unique_ptr<TfrmSampleChild> form(CreateForm<TfrmSampleChild>());
    EXPECT_EQ(form->Name(), "frmSampleChild");
    EXPECT_EQ(form->Caption(), "Child");
    EXPECT_EQ(form->edCode->Text(), "MO-0002");
    EXPECT_EQ(form->edCode->Left(), 80);
    auto* extra = form->FindComponent<TLabel>("lblExtra");
    ASSERT_NE(extra, nullptr);
    EXPECT_EQ(extra->Parent(), form.get());
    EXPECT_EQ(form->ComponentList().last(), extra);
}

TEST_F(ReaderTest, StringsNumbersSetsAndContinuations)
{
    TForm form;
    ReadComponent(&form,
        "object F: TForm\n"
        "  Caption = 'It''s '#20013'x'#$41 +\n"
        "    ' more'\n"
        "  Tag = $7FFFFFFF\n"
        "  Color = $00FF0000\n"
        "  Font.Style = [fsBold, FSITALIC]\n"
        "  object L: TLabel Left = -8 Caption = '' end\n"
        "end\n");
    EXPECT_EQ(form.Caption(), QString::fromUtf8("It's 中xA more"));
    EXPECT_EQ(form.Tag(), 0x7FFFFFFF);
    EXPECT_EQ(form.Color(), clBlue);
    EXPECT_EQ(form.Font()->Style(), TFontStyles(fsBold) | fsItalic);
    EXPECT_EQ(form.FindComponent<TLabel>("l")->Left(), -8);
}

TEST_F(ReaderTest, FaultsAreReportedWithLineAndReason)
{
    EXPECT_EQ(readError("object F: TForm\n  object X: TNoSuchClass\n  end\nend\n"),
        "Line 2: Class TNoSuchClass not found");
    EXPECT_EQ(readError("object F: TForm\n  Nonsense = 1\nend\n"),
        "Line 2: Property Nonsense does not exist in TForm");
    EXPECT_EQ(readError("object F: TForm\n  Caption = 'open\nend\n"), "Line 2: Unterminated string");
    EXPECT_EQ(
        readError("object F: TForm\n  Left = 99999999999\nend\n"), "Line 2: Value out of range for Left");
    EXPECT_EQ(readError("object F: TForm\n  Position = poNowhere\nend\n"),
        "Line 2: 'poNowhere' is not a value of TPosition");
    EXPECT_EQ(readError("object F: TForm\n  Caption = 12\nend\n"),
        "Line 2: Invalid integer for property Caption (QString)");
    EXPECT_EQ(readError("object F: TForm\n  OnClick = NoSuchMethod\nend\n"),
        "Line 2: Method 'NoSuchMethod' not found in TForm");
    EXPECT_EQ(readError("object F: TForm\n  ActiveControl = Missing\nend\n"),
        "Line 2: Component Missing not found");
    EXPECT_EQ(readError("object F: TForm\n  object A: TLabel\n  end\n  object a: TEdit\n  end\nend\n"),
        "Line 4: A component named a already exists");
    EXPECT_EQ(readError("object F: TForm\n  inherited A: TLabel\n  end\nend\n"),
        "Line 2: Ancestor component A not found");
    EXPECT_EQ(readError("object F: TForm\n  object A: TLabel\n    object B: TEdit\n    end\n  end\nend\n"),
        "Line 3: TLabel cannot contain the control B");
    EXPECT_EQ(readError("object F: TLabel\nend\n"), "Line 1: TForm is not a TLabel");
    EXPECT_EQ(readError("object F: TForm\n  Caption = 'x'\n"), "Line 3: 'end' expected for F");
    EXPECT_EQ(
        readError("object F: TForm\nend\nobject G: TForm\nend\n"), "Line 3: Text after the final 'end'");
    EXPECT_EQ(
        readError("object F: TForm\n  Caption = #1114112\nend\n"), "Line 2: Character code out of range");
    EXPECT_EQ(readError("object F: TForm\n  Tag = {0A1}\nend\n"),
        "Line 2: Odd number of hexadecimal digits in binary data");
}

TEST_F(ReaderTest, HandlerOfTheWrongShapeIsRefused)
{
    TfrmSample form;
    try {
        ReadComponent(&form, "inherited frmSample: TfrmSample\n  OnClick = BadHandler\nend\n");
        FAIL() << "no error";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(),
            "Line 2: Method 'BadHandler' of TfrmSample has parameters that do not fit TNotifyEvent");
    }
}

TEST_F(ReaderTest, FailedReadLeavesNoNewComponents)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    const int before = form->ComponentCount();
    EXPECT_THROW(ReadComponent(form.get(),
                     "inherited frmSample: TfrmSample\n"
                     "  object lblNew: TLabel\n    Caption = 'new'\n  end\n"
                     "  object edBad: TEdit\n    Text = 5\n  end\nend\n"),
        EReadError);
    EXPECT_EQ(form->ComponentCount(), before);
    EXPECT_EQ(form->FindComponent("lblNew"), nullptr);
    EXPECT_FALSE(form->IsLoading());
}

TEST_F(ReaderTest, DeepNestingIsRefusedNotOverflowed)
{
    QString text = "object F: TForm\n";
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("object P%1: TGroupBox\n").arg(i);
    for (int i = 0; i < 201; ++i)
        text += "end\n";
    EXPECT_TRUE(readError(text).contains("Nesting too deep"));
    QString list = "object F: TForm\n  Tag = " + QString(100000, u'(') + "\nend\n";
    EXPECT_TRUE(readError(list).contains("Nesting too deep"));
}

TEST_F(ReaderTest, HostileValuesStayWithinBounds)
{
    TForm form;
    ReadComponent(&form,
        "object F: TForm\n  ClientWidth = 2147483647\n  Left = -2147483648\n"
        "  Font.Height = -2147483647\n  object L: TLabel\n    Caption = 'x'\n  end\nend\n");
    EXPECT_EQ(form.Width(), TControl::MaxExtent);
    EXPECT_EQ(form.Left(), -TControl::MaxExtent);
    EXPECT_EQ(form.Font()->Height(), -TFont::MaxHeight);
    EXPECT_EQ(readError("object F: TForm\n  object G: TStringGrid\n    ColCount = 2147483647\n  end\nend\n"),
        "Line 3: ColCount: Grid size 2147483647 x 5 is out of range");
}

TEST_F(ReaderTest, OnDestroyIsRaisedOnceWhenTheFormGoes)
{
    int destroyed = 0;
    auto* form = new TForm;
    form->SetOnDestroy(TNotifyEvent::Of([&destroyed](TObject*) { ++destroyed; }));
    delete form;
    EXPECT_EQ(destroyed, 1);

    // Release frees the form later, and only then is it destroyed.
    form = new TForm;
    QPointer<TForm> released(form);
    form->SetOnDestroy(TNotifyEvent::Of([&destroyed](TObject*) { ++destroyed; }));
    form->Release();
    EXPECT_EQ(destroyed, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(released.isNull());
}
