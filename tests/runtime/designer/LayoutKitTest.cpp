#include "SampleReportForm.h"

#include "runtime/designer/LayoutKit.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Graphics.h"
#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

using FormPtr = std::unique_ptr<TfrmDesignSample, FreeComponent>;

FormPtr newForm()
{
    TfrmDesignSample::Register();
    return FormPtr(new TfrmDesignSample(nullptr));
}

// What the model knows of a report control: enough to tell a lost or
// changed property.
struct ControlState {
    QString ClassName;
    QString Band;
    QRect Bounds;
    QString Caption;
    bool Enabled = true;
    int FontSize = 0;
    bool operator==(const ControlState&) const = default;
};

ControlState stateOf(TControl* c)
{
    return {c->ClassName(), c->Parent() ? c->Parent()->Name() : QString(), c->BoundsRect(), c->Caption(),
        c->Enabled(), c->Font()->Size()};
}

std::map<QString, ControlState> observed(TfrmDesignSample* form)
{
    std::map<QString, ControlState> all;
    for (TQRCustomBand* band : form->QuickRep1->Bands())
        for (TControl* c : band->ControlList())
            all[c->Name()] = stateOf(c);
    return all;
}

QString describe(const ControlState& s)
{
    return QStringLiteral("%1 on %2 at %3,%4 %5x%6 '%7' enabled %8 font %9")
        .arg(s.ClassName, s.Band)
        .arg(s.Bounds.x())
        .arg(s.Bounds.y())
        .arg(s.Bounds.width())
        .arg(s.Bounds.height())
        .arg(s.Caption)
        .arg(s.Enabled)
        .arg(s.FontSize);
}

// One random edit on the form, mirrored in the model.
void randomEdit(
    QRandomGenerator& rnd, TfrmDesignSample* form, std::map<QString, ControlState>& model, int& added)
{
    QList<TControl*> controls;
    for (TQRCustomBand* band : form->QuickRep1->Bands())
        controls += band->ControlList();
    TQRBand* bands[] = {form->TitleBand1, form->ColumnHeaderBand1, form->DetailBand1};
    const int kind = rnd.bounded(6);
    if (kind == 5) { // a label added in the designer
        auto* label = new TQRLabel(form);
        label->SetName(QStringLiteral("ExLbl%1").arg(++added));
        label->SetParent(bands[rnd.bounded(3)]);
        label->SetBounds(rnd.bounded(700), rnd.bounded(20), 20 + rnd.bounded(100), 13);
        label->SetCaption(QStringLiteral("新建标签%1").arg(added));
        model[label->Name()] = stateOf(label);
        return;
    }
    TControl* c = controls.at(rnd.bounded(static_cast<int>(controls.size())));
    ControlState& s = model[c->Name()];
    switch (kind) {
    case 0:
        c->SetBounds(rnd.bounded(-20, 700), rnd.bounded(0, 40), c->Width(), c->Height());
        break;
    case 1:
        c->SetBounds(c->Left(), c->Top(), 1 + rnd.bounded(300), 1 + rnd.bounded(40));
        break;
    case 2:
        c->SetEnabled(!c->Enabled());
        break;
    case 3:
        if (qobject_cast<TQRLabel*>(c))
            c->SetCaption(QStringLiteral("标题 'quoted' #%1").arg(rnd.bounded(1000)));
        break;
    case 4:
        c->Font()->SetSize(6 + rnd.bounded(20));
        break;
    default:
        break;
    }
    s = stateOf(c);
}

TEST(LayoutKitTest, StoredTextsOfRandomEditsReadBackIntoAFreshInstance)
{
    for (quint32 seed = 1; seed <= 40; ++seed) {
        QRandomGenerator rnd(seed);
        FormPtr form = newForm();
        std::map<QString, ControlState> model = observed(form.get());
        int added = 0;
        const int edits = 1 + rnd.bounded(25);
        for (int i = 0; i < edits; ++i)
            randomEdit(rnd, form.get(), model, added);
        const QString text = StoredLayoutText(form.get());
        FormPtr fresh = newForm();
        ReadComponent(fresh.get(), text);
        const std::map<QString, ControlState> back = observed(fresh.get());
        ASSERT_EQ(back.size(), model.size()) << "seed " << seed << "\n" << qPrintable(text);
        for (const auto& [name, state] : model) {
            const auto it = back.find(name);
            ASSERT_NE(it, back.end()) << "seed " << seed << ": " << qPrintable(name) << " lost";
            EXPECT_EQ(it->second, state)
                << "seed " << seed << ": " << qPrintable(name) << "\n expected "
                << qPrintable(describe(state)) << "\n got " << qPrintable(describe(it->second));
        }
    }
}

TEST(LayoutKitTest, TheStoredTextHoldsOnlyDifferencesAndNotTheWindowPlacement)
{
    FormPtr form = newForm();
    EXPECT_EQ(StoredLayoutText(form.get()).trimmed(),
        QStringLiteral("inherited frmDesignSample: TfrmDesignSample\nend"));
    form->SetBounds(0, 0, 1920, 1080); // maximised for designing
    form->qrlTitle->SetLeft(300);
    const QString text = StoredLayoutText(form.get());
    EXPECT_TRUE(text.contains(QLatin1String("Left = 300"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QLatin1String("1920"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QLatin1String("qrdName"))) << qPrintable(text);
}

TEST(LayoutKitTest, TheFilterKeepsMultiLineValuesAndDropsEmptyEntries)
{
    const QStringList in {QStringLiteral("inherited frmX: TfrmX"), QStringLiteral("  Width = 1000"),
        QStringLiteral("  Hint = 'a' +"), QStringLiteral("    'Left = 5'"),
        QStringLiteral("  inherited Band: TQRBand"), QStringLiteral("    inherited Empty: TQRLabel"),
        QStringLiteral("    end"), QStringLiteral("  end"), QStringLiteral("  inherited Lst: TListView"),
        QStringLiteral("    Columns = <"), QStringLiteral("      item"), QStringLiteral("        Width = 3"),
        QStringLiteral("      end>"), QStringLiteral("  end"), QStringLiteral("  object ExLbl1: TQRLabel"),
        QStringLiteral("    Left = 7"), QStringLiteral("  end"), QStringLiteral("end")};
    const QStringList out = ExtractStoredProperties(in);
    const QStringList expected {QStringLiteral("inherited frmX: TfrmX"), QStringLiteral("  Hint = 'a' +"),
        QStringLiteral("    'Left = 5'"), QStringLiteral("  inherited Lst: TListView"),
        QStringLiteral("    Columns = <"), QStringLiteral("      item"), QStringLiteral("        Width = 3"),
        QStringLiteral("      end>"), QStringLiteral("  end"), QStringLiteral("  object ExLbl1: TQRLabel"),
        QStringLiteral("    Left = 7"), QStringLiteral("  end"), QStringLiteral("end")};
    EXPECT_EQ(out, expected);
}

TEST(LayoutKitTest, ComponentsWithoutANameStayOutAndTheTextStaysReadable)
{
    FormPtr form = newForm();
    auto* unnamed = new TQRLabel(form.get());
    unnamed->SetParent(form->DetailBand1);
    auto* inner = new TQRLabel(form.get());
    inner->SetName(QStringLiteral("ExLbl9"));
    inner->SetParent(form->DetailBand1);
    const QString text = StoredLayoutText(form.get());
    EXPECT_FALSE(text.contains(QLatin1String("object :"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String("object ExLbl9: TQRLabel"))) << qPrintable(text);
    FormPtr fresh = newForm();
    ReadComponent(fresh.get(), text);
    EXPECT_NE(fresh->FindComponent(QStringLiteral("ExLbl9")), nullptr);
}

TEST(LayoutKitTest, ALayoutReadIntoAFormThatHasItsAddedComponentsUpdatesThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("again.dat"));
    FormPtr form = newForm();
    auto* label = new TQRLabel(form.get());
    label->SetName(QStringLiteral("ExLbl9"));
    label->SetParent(form->TitleBand1);
    label->SetBounds(30, 4, 60, 13);
    SaveFormLayoutToFile(form.get(), path);
    // The form has read a layout with ExLbl9 before (elsewhere, on another band).
    FormPtr other = newForm();
    auto* before = new TQRLabel(other.get());
    before->SetName(QStringLiteral("ExLbl9"));
    before->SetParent(other->DetailBand1);
    LoadFormLayoutFromFile(other.get(), path);
    EXPECT_EQ(other->FindComponent(QStringLiteral("ExLbl9")), before);
    EXPECT_EQ(before->Parent(), other->TitleBand1);
    EXPECT_EQ(before->BoundsRect(), QRect(30, 4, 60, 13));
    // Of another class it is not the same component: the read fails whole.
    FormPtr third = newForm();
    auto* shape = new TQRShape(third.get());
    shape->SetName(QStringLiteral("ExLbl9"));
    shape->SetParent(third->DetailBand1);
    EXPECT_THROW(LoadFormLayoutFromFile(third.get(), path), Exception);
    EXPECT_EQ(shape->Parent(), third->DetailBand1);
    EXPECT_EQ(AdoptExistingComponents(
                  third.get(), QStringLiteral("  object qrlTitle: TQRLabel\n  object qrlTitle: TQRShape")),
        QStringLiteral("  inherited qrlTitle: TQRLabel\n  object qrlTitle: TQRShape"));
}

TEST(LayoutKitTest, FilesRoundTripAndFailuresRaiseWithoutHarm)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TfrmDesignSample_A.dat"));
    FormPtr form = newForm();
    form->qrdName->SetBounds(10, 2, 50, 12);
    SaveFormLayoutToFile(form.get(), path);
    FormPtr fresh = newForm();
    LoadFormLayoutFromFile(fresh.get(), path);
    EXPECT_EQ(fresh->qrdName->BoundsRect(), QRect(10, 2, 50, 12));
    EXPECT_THROW(
        LoadFormLayoutFromFile(fresh.get(), dir.filePath(QStringLiteral("missing.dat"))), EFOpenError);
    EXPECT_THROW(SaveFormLayoutToFile(form.get(), dir.filePath(QStringLiteral("no/such/folder/x.dat"))),
        EFCreateError);
    // A damaged file changes nothing.
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(
        "inherited frmDesignSample: TfrmDesignSample\n  inherited qrdName: ReportDBText\n    Left = \n");
    damaged.close();
    FormPtr third = newForm();
    EXPECT_THROW(LoadFormLayoutFromFile(third.get(), path), Exception);
    EXPECT_EQ(third->qrdName->BoundsRect(), QRect(96, 4, 160, 16));
}

} // namespace
