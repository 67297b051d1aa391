// A kind of report control that only this file knows: the designer draws
// it, the field list names and brings it back, a slip prints, lists and
// withholds its field, and a stored layout keeps it - with no edit to the
// designer, the format forms or the report engine.
#include "../common/LanguageTestHome.h"
#include "../runtime/designer/SampleReportForm.h"
#include "SlipFormFixture.h"

#include "common/forms/LibCodeConvert.h"
#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/LayoutKit.h"
#include "runtime/report/QRCtrls.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// A data text of its own line (not a TQRDBText): its field in capitals.
class TTestCapitalsText : public TQRCustomLabel, public TQRDataBound {
    Q_OBJECT
    Q_PROPERTY(QString DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
public:
    explicit TTestCapitalsText(TComponent* owner = nullptr)
        : TQRCustomLabel(owner)
    {
        SetBounds(0, 0, 65, 17);
    }

protected:
    QString GetText() const override { return FieldText().toUpper(); }
};

namespace {

using SampleForm = std::unique_ptr<TfrmDesignSample, FreeComponent>;

SampleForm newSampleForm()
{
    TfrmDesignSample::Register();
    if (!FindClass(QStringLiteral("TTestCapitalsText")))
        RegisterClass<TTestCapitalsText>();
    return SampleForm(new TfrmDesignSample(nullptr));
}

template<typename T>
T* addControl(
    TComponent* owner, TWinControl* band, const QString& name, const QRect& box, const QString& field)
{
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(band);
    control->SetBounds(box.x(), box.y(), box.width(), box.height());
    control->SetDataField(field);
    return control;
}

int darkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            dark += qGray(image.pixel(x, y)) < 96 ? 1 : 0;
    return dark;
}

int rowNamed(TDesignToolWindow* tools, const QString& name)
{
    const QString list = QString::fromLatin1(TDesignToolWindow::FieldList);
    for (int r = 0; r < tools->RowCount(list); ++r)
        if (tools->Row(list, r).value(2) == name)
            return r;
    return -1;
}

TEST(NewControlKindTest, TheDesignerDrawsListsAndBringsBackTheNewKindAsADataText)
{
    SampleForm form = newSampleForm();
    // The new kind beside a plain data text of the same field, size and font.
    auto* capitals = addControl<TTestCapitalsText>(form.get(), form->DetailBand1, QStringLiteral("qrcName"),
        QRect(464, 4, 80, 16), QStringLiteral("MA002"));
    auto* plain = addControl<TQRDBText>(form.get(), form->DetailBand1, QStringLiteral("qrdTwin"),
        QRect(560, 4, 80, 16), QStringLiteral("MA002"));
    capitals->SetHint(QStringLiteral("品名"));
    TFormatStoreHost host;
    host.Form = form.get();
    host.LangText = [](const QString&, const QString& text) { return text; };
    TFormatStore store(host);
    TFormatDesign design(form.get(), form->QuickRep1, form->SQLReBuilder, &store);
    design.Designer()->SetStoredChanges(false);
    design.Designer()->SetActive(true);
    TDCFormDesigner* model = design.Designer()->GetActiveDesigner();
    ASSERT_NE(model, nullptr);

    // Drawn: its field in brackets, pixel for pixel as the data text draws
    // its own (an unknown kind used to be an empty box).
    const QImage surface = design.Designer()->Surface()->Render();
    const QImage drawn = surface.copy(model->ControlRect(capitals).adjusted(1, 1, -1, -1));
    const QImage twin = surface.copy(model->ControlRect(plain).adjusted(1, 1, -1, -1));
    EXPECT_GT(darkPixels(drawn), 20);
    EXPECT_EQ(drawn, twin);

    // Listed by its hint and its field.
    TDesignToolWindow* tools = design.Designer()->ToolWindow();
    const int row = rowNamed(tools, QStringLiteral("qrcName"));
    ASSERT_GE(row, 0);
    EXPECT_EQ(tools->Row(QString::fromLatin1(TDesignToolWindow::FieldList), row),
        (QStringList {QStringLiteral("品名"), QStringLiteral("MA002"), QStringLiteral("qrcName")}));

    // Hidden, the field list brings it back onto its band.
    capitals->SetEnabled(false);
    const TDesignDrop drop {
        QString::fromLatin1(TDesignToolWindow::FieldList), row, form->DetailBand1, QPoint(600, 2)};
    ASSERT_TRUE(design.DragOver(drop));
    EXPECT_EQ(design.DragDrop(drop), capitals);
    EXPECT_TRUE(capitals->Enabled());
    EXPECT_EQ(capitals->BoundsRect().topLeft(), QPoint(600, 2));
    // Not one of the kinds the designer's delete may take.
    design.Designer()->SelectComponent(capitals);
    EXPECT_FALSE(SelectionIsDeletable(design.Designer()->GetSelectedComponents()));
}

TEST(NewControlKindTest, ASlipPrintsListsAndWithholdsTheNewKindsField)
{
    SlipForm slip;
    TfrmVRFormat* form = slip.Form();
    // The new kind is the only control that reads TP003.
    TComponent* builtIn = form->FindComponent(QStringLiteral("txtTP003"));
    ASSERT_NE(builtIn, nullptr);
    builtIn->Free();
    auto* capitals = addControl<TTestCapitalsText>(
        form, form->QRDetailBand, QStringLiteral("txtCaps"), QRect(60, 2, 120, 14), QStringLiteral("TP003"));
    capitals->SetDataSet(QStringLiteral("ClientDataSet1"));
    slip.AddSlip(QStringLiteral("00000000001"), 2);

    auto pages = slip.Run();
    ASSERT_TRUE(pages);
    EXPECT_EQ(TextsStartingWith(*pages, 1, QStringLiteral("LINE")),
        (QStringList {QStringLiteral("LINE 1"), QStringLiteral("LINE 2")}));
    EXPECT_TRUE(form->ListLayoutFields().split(u',').contains(QStringLiteral("ClientDataSet1.TP003")));

    // A field the user may not see prints nowhere, the new kind included.
    form->ClearField(QStringLiteral(" tp003 "));
    EXPECT_EQ(capitals->DataField(), QString());
    pages = slip.Run();
    ASSERT_TRUE(pages);
    EXPECT_EQ(TextsStartingWith(*pages, 1, QStringLiteral("LINE")), QStringList());
    EXPECT_FALSE(form->ListLayoutFields().contains(QStringLiteral("TP003")));
}

TEST(NewControlKindTest, TheNewKindsFieldFromATraditionalDatabasePrintsInSimplifiedCharacters)
{
    // A simplified interface over a Big5 database: texts read from it are
    // converted as they print, unless the layout bound a handler of its own.
    steward_test::LanguageHome home("936", "936", "950");
    SlipForm slip;
    TfrmVRFormat* form = slip.Form();
    ASSERT_NE(form->HvConverter(), nullptr);
    ASSERT_EQ(form->HvConverter()->DBConvertMode(), 1);
    auto* capitals = addControl<TTestCapitalsText>(
        form, form->QRDetailBand, QStringLiteral("txtCaps"), QRect(430, 2, 120, 14), QStringLiteral("TO002"));
    form->DBMode = form->HvConverter()->DBConvertMode();
    form->PrepareData();
    EXPECT_TRUE(capitals->OnPrint().Assigned());
    slip.AddSlip(QStringLiteral("變更單a1"), 1);

    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    const QStringList texts = TextsOn(*pages, 1);
    EXPECT_TRUE(texts.contains(QStringLiteral("变更单A1"))) << texts.join(u'|').toStdString();
    EXPECT_FALSE(texts.contains(QStringLiteral("變更單A1")));
}

TEST(NewControlKindTest, AStoredLayoutKeepsTheNewKindWithItsField)
{
    SampleForm form = newSampleForm();
    auto* capitals = addControl<TTestCapitalsText>(form.get(), form->DetailBand1, QStringLiteral("ExCaps1"),
        QRect(460, 4, 90, 16), QStringLiteral("MA002"));
    capitals->SetDataSet(QStringLiteral("ClientDataSet2"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("layout.dfm"));
    SaveFormLayoutToFile(form.get(), path);

    SampleForm fresh = newSampleForm();
    LoadFormLayoutFromFile(fresh.get(), path);
    auto* read = fresh->FindComponent<TTestCapitalsText>(QStringLiteral("ExCaps1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Parent(), fresh->DetailBand1);
    EXPECT_EQ(read->BoundsRect(), QRect(460, 4, 90, 16));
    EXPECT_EQ(read->DataSet(), QStringLiteral("ClientDataSet2"));
    EXPECT_EQ(read->DataField(), QStringLiteral("MA002"));
}

} // namespace

#include "NewControlKindTest.moc"
