#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/forms/ImgList.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class WriterTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterSampleForms(); }
};

std::unique_ptr<TForm> readForm(const QString& text)
{
    return std::unique_ptr<TForm>(qobject_cast<TForm*>(CreateFromText(text)));
}

} // namespace

TEST_F(WriterTest, FreshFormWritesAnEmptyDifference)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    EXPECT_EQ(WriteComponentDescendant(form.get()), "inherited frmSample: TfrmSample\nend\n");
    std::unique_ptr<TfrmSampleChild> child(CreateForm<TfrmSampleChild>());
    EXPECT_EQ(WriteComponentDescendant(child.get()), "inherited frmSampleChild: TfrmSampleChild\nend\n");
}

TEST_F(WriterTest, MovedAndAddedLabelsAreWrittenAsInheritedAndObject)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    form->FindComponent<TLabel>("lblCode")->SetLeft(40);
    auto* added = new TLabel(form.get());
    added->SetName("lblAdded");
    added->SetParent(form->FindComponent<TGroupBox>("gbOptions"));
    added->SetAutoSize(false);
    added->SetBounds(12, 70, 80, 13);
    added->SetCaption(QString::fromUtf8("新标签"));

    const QString text = WriteComponentDescendant(form.get());
    EXPECT_EQ(text,
        "inherited frmSample: TfrmSample\n"
        "  inherited lblCode: TLabel\n"
        "    Left = 40\n"
        "  end\n"
        "  inherited gbOptions: TGroupBox\n"
        "    object lblAdded: TLabel\n"
        "      Left = 12\n"
        "      Top = 70\n"
        "      Width = 80\n"
        "      Height = 13\n"
        "      Caption = #26032#26631#31614\n"
        "      AutoSize = False\n"
        "    end\n"
        "  end\n"
        "end\n");

    std::unique_ptr<TfrmSample> fresh(CreateForm<TfrmSample>());
    ReadComponent(fresh.get(), text);
    EXPECT_EQ(fresh->FindComponent<TLabel>("lblCode")->Left(), 40);
    auto* restored = fresh->FindComponent<TLabel>("lblAdded");
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->Caption(), QString::fromUtf8("新标签"));
    EXPECT_EQ(restored->Parent(), fresh->FindComponent("gbOptions"));
    EXPECT_EQ(WriteComponentDescendant(fresh.get()), text);
}

TEST_F(WriterTest, ControlMovedToAnotherParentIsReparentedOnRead)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    form->edCode->SetParent(form->FindComponent<TGroupBox>("gbOptions"));
    const QString text = WriteComponentDescendant(form.get());
    std::unique_ptr<TfrmSample> fresh(CreateForm<TfrmSample>());
    ReadComponent(fresh.get(), text);
    EXPECT_EQ(fresh->edCode->Parent(), fresh->FindComponent("gbOptions"));
}

TEST_F(WriterTest, FullWriteReadsBackToTheSameText)
{
    const QString source = QString::fromUtf8(
        testsupport::readAll(testsupport::sourcePath("tests/runtime/forms/fixtures/render.dfm")));
    std::unique_ptr<TForm> form = readForm(source);
    const QString written = WriteComponent(form.get());
    std::unique_ptr<TForm> again = readForm(written);
    EXPECT_EQ(WriteComponent(again.get()), written);
    auto* view = again->FindComponent<TListView>("lvSlips");
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Columns()->Count(), 3);
    EXPECT_EQ(view->Items()->Items(1)->SubItems()->Strings(0), "20240601002");
    EXPECT_EQ(view->Column(2)->Alignment(), taRightJustify);
}

TEST_F(WriterTest, AwkwardStringsAndBinaryDataRoundTrip)
{
    TForm form;
    form.SetName("F");
    QString awkward = QStringLiteral("quote ' hash # tab\t newline\n end");
    awkward += QString(200, u'x') + QString::fromUtf8("中文") + QChar(0xD83D) + QChar(0xDE00);
    form.SetCaption(awkward);
    auto* images = new TImageList(&form);
    images->SetName("ImageList1");
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    images->Add(red);
    images->Add(red);
    auto* memo = new TMemo(&form);
    memo->SetName("Memo1");
    memo->SetParent(&form);
    memo->Lines()->SetLines({"", "'", "line 3"});

    const QString text = WriteComponent(&form);
    EXPECT_TRUE(text.contains("Caption = 'quote '' hash # tab'#9' newline'#10' end"));
    std::unique_ptr<TForm> back = readForm(text);
    EXPECT_EQ(back->Caption(), awkward);
    EXPECT_EQ(back->FindComponent<TImageList>("ImageList1")->Count(), 2);
    EXPECT_EQ(back->FindComponent<TMemo>("Memo1")->Lines()->Lines(), QStringList({"", "'", "line 3"}));
}

TEST_F(WriterTest, HandlersAndReferencesAreWrittenByName)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    form->edCode->SetOnExit(TNotifyEvent());
    form->FindComponent<TButton>("btnCancel")->SetOnClick(TNotifyEvent(form->btnOK->OnClick()));
    const QString text = WriteComponentDescendant(form.get());
    EXPECT_TRUE(text.contains("  inherited edCode: TEdit\n    OnExit = nil\n  end\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("    OnClick = btnOKClick\n"));

    std::unique_ptr<TfrmSample> fresh(CreateForm<TfrmSample>());
    ReadComponent(fresh.get(), text);
    EXPECT_FALSE(fresh->edCode->OnExit().Assigned());
    fresh->FindComponent<TButton>("btnCancel")->TControl::Click();
    EXPECT_EQ(fresh->Calls, QStringList {"btnOKClick:btnCancel"});
}

TEST_F(WriterTest, FontNameIsWrittenAndReadBack)
{
    std::unique_ptr<TfrmSample> form(CreateForm<TfrmSample>());
    form->FindComponent<TLabel>("lblCode")->Font()->SetName("AR PL UMing CN");
    const QString text = WriteComponentDescendant(form.get());
    EXPECT_TRUE(text.contains("    Font.Name = 'AR PL UMing CN'\n")) << text.toStdString();
    std::unique_ptr<TfrmSample> again(CreateForm<TfrmSample>());
    ReadComponent(again.get(), text);
    EXPECT_EQ(again->FindComponent<TLabel>("lblCode")->Font()->Name(), "AR PL UMing CN");
}
