// Owner-drawn list boxes and combo boxes: items drawn by the program on the
// control's canvas, heights from ItemHeight or OnMeasureItem.

#include "SampleForms.h"

#include "runtime/forms/FormReader.h"
#include "runtime/forms/Graphics.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QListWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct DrawCall {
    TWinControl* control;
    int index;
    QRect rect;
    TOwnerDrawState state;
};

TColor colourOf(int index)
{
    static const TColor colours[] = {clRed, clLime, clBlue};
    return colours[index % 3];
}

// A handler that fills each item with its own colour and records the call.
TDrawItemEvent painter(TCanvas* canvas, QList<DrawCall>& calls)
{
    return TDrawItemEvent::Of(
        [canvas, &calls](TWinControl* control, int index, QRect rect, TOwnerDrawState state) {
            calls.append({control, index, rect, state});
            canvas->Brush()->SetColor(colourOf(index));
            canvas->FillRect(rect);
        });
}

// The colour in the middle of a list item as the widget shows it.
QColor colourAt(QListWidget* list, const QImage& image, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    return image.pixelColor(list->viewport()->mapTo(list, rect.center()));
}

QList<DrawCall> callsFor(const QList<DrawCall>& calls, int index)
{
    QList<DrawCall> found;
    for (const DrawCall& call : calls) {
        if (call.index == index)
            found << call;
    }
    return found;
}

class OwnerDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetClientWidth(300);
        form.SetClientHeight(200);
        list = new TListBox(&form);
        list->SetName("lbColours");
        list->SetParent(&form);
        list->SetBounds(0, 0, 150, 120);
        list->Items()->SetLines({"red", "green", "blue"});
    }

    TForm form;
    TListBox* list = nullptr;
    QList<DrawCall> calls;
};

} // namespace

TEST_F(OwnerDrawTest, ListBoxItemsAreDrawnByTheHandler)
{
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    list->SetItemIndex(1);
    list->SetOnDrawItem(painter(list->Canvas(), calls));
    form.Show();
    auto* widget = qobject_cast<QListWidget*>(list->Widget());
    ASSERT_NE(widget, nullptr);
    const QImage image = widget->grab().toImage();
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(colourAt(widget, image, row), ColorToQColor(colourOf(row))) << "row " << row;
        EXPECT_EQ(widget->visualItemRect(widget->item(row)).height(), 20);
    }
    const QList<DrawCall> second = callsFor(calls, 1);
    ASSERT_FALSE(second.isEmpty());
    EXPECT_EQ(second.last().control, list);
    EXPECT_EQ(second.last().rect.top(), 20);
    EXPECT_EQ(second.last().rect.height(), 20);
    EXPECT_TRUE(second.last().state.testFlag(odSelected));
    EXPECT_FALSE(callsFor(calls, 0).last().state.testFlag(odSelected));
    EXPECT_FALSE(list->Canvas()->HandleAllocated()) << "the painter is only lent while drawing";
}

// Without a handler the item's text is written on the brush, which is the
// highlight colour for the selected item; the standard style ignores the handler.
TEST_F(OwnerDrawTest, DefaultDrawingAndTheStandardStyle)
{
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(18);
    list->SetItemIndex(2);
    form.Show();
    auto* widget = qobject_cast<QListWidget*>(list->Widget());
    QImage image = widget->grab().toImage();
    const QRect third = widget->visualItemRect(widget->item(2));
    const QPoint blank = widget->viewport()->mapTo(widget, QPoint(third.right() - 4, third.center().y()));
    EXPECT_EQ(image.pixelColor(blank), ColorToQColor(clHighlight));
    EXPECT_EQ(third.height(), 18);

    // Plain text is never cut: a fixed height below a line of the font grows
    // to it; a handler that draws gets the height it asked for.
    const int line = QFontMetrics(list->Font()->ToQFont()).height();
    list->SetItemHeight(4);
    EXPECT_EQ(list->MeasureItem(0), line);
    EXPECT_EQ(widget->visualItemRect(widget->item(0)).height(), line);
    list->SetOnDrawItem(painter(list->Canvas(), calls));
    EXPECT_EQ(list->MeasureItem(0), 4);
    EXPECT_EQ(widget->visualItemRect(widget->item(0)).height(), 4);

    calls.clear();
    list->SetStyle(lbStandard);
    image = widget->grab().toImage();
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_NE(colourAt(widget, image, 0), ColorToQColor(clRed));
}

// Variable heights come from OnMeasureItem, starting from ItemHeight and kept
// within 1 .. 1000 pixels.
TEST_F(OwnerDrawTest, VariableHeightsComeFromOnMeasureItem)
{
    list->SetStyle(lbOwnerDrawVariable);
    list->SetItemHeight(15);
    QList<int> asked;
    list->SetOnMeasureItem(TMeasureItemEvent::Of([&asked](TWinControl*, int index, int& height) {
        asked << height;
        height = index == 0 ? height : index == 1 ? 40 : -3;
    }));
    form.Show();
    auto* widget = qobject_cast<QListWidget*>(list->Widget());
    EXPECT_EQ(widget->visualItemRect(widget->item(0)).height(), 15);
    EXPECT_EQ(widget->visualItemRect(widget->item(1)).height(), 40);
    EXPECT_EQ(widget->visualItemRect(widget->item(2)).height(), 1);
    EXPECT_EQ(widget->visualItemRect(widget->item(2)).top(), 55);
    ASSERT_FALSE(asked.isEmpty());
    EXPECT_EQ(asked.first(), 15);
    EXPECT_EQ(list->MeasureItem(1), 40);
    list->SetOnMeasureItem(TMeasureItemEvent::Of([](TWinControl*, int, int& height) { height = 5000; }));
    EXPECT_EQ(list->MeasureItem(0), 1000);
    list->SetStyle(lbOwnerDrawFixed); // fixed: the handler is not asked
    EXPECT_EQ(list->MeasureItem(0), 15);
}

// A failing handler leaves the item as far as it got; the list goes on drawing.
TEST_F(OwnerDrawTest, AFailingHandlerDoesNotStopTheList)
{
    list->SetStyle(lbOwnerDrawFixed);
    list->SetItemHeight(20);
    TCanvas* canvas = list->Canvas();
    list->SetOnDrawItem(TDrawItemEvent::Of(
        [canvas, this](TWinControl* control, int index, QRect rect, TOwnerDrawState state) {
            calls.append({control, index, rect, state});
            if (index == 1)
                throw EConvertError("bad item");
            canvas->Brush()->SetColor(clBlue);
            canvas->FillRect(rect);
        }));
    form.Show();
    auto* widget = qobject_cast<QListWidget*>(list->Widget());
    const QImage image = widget->grab().toImage();
    EXPECT_EQ(colourAt(widget, image, 2), ColorToQColor(clBlue));
    EXPECT_FALSE(callsFor(calls, 2).isEmpty());
    // Outside drawing the canvas measures but does not draw.
    EXPECT_GT(canvas->TextWidth("wide text"), canvas->TextWidth("w"));
    EXPECT_THROW(canvas->FillRect(QRect(0, 0, 5, 5)), EInvalidOperation);
}

// The combo box draws its list and its closed box through the handler; the
// closed box's item comes with odComboBoxEdit.
TEST_F(OwnerDrawTest, ComboBoxDrawsTheListAndTheClosedBox)
{
    auto* combo = new TComboBox(&form);
    combo->SetParent(&form);
    combo->SetBounds(160, 0, 120, 24);
    combo->Items()->SetLines({"red", "green", "blue"});
    combo->SetStyle(csOwnerDrawVariable);
    combo->SetItemHeight(16);
    combo->SetItemIndex(2);
    combo->SetOnDrawItem(painter(combo->Canvas(), calls));
    combo->SetOnMeasureItem(
        TMeasureItemEvent::Of([](TWinControl*, int index, int& height) { height += index * 10; }));
    form.Show();
    auto* widget = qobject_cast<QComboBox*>(combo->Widget());
    ASSERT_NE(widget, nullptr);
    EXPECT_FALSE(widget->isEditable());
    const QImage closed = widget->grab().toImage();
    const QList<DrawCall> edit = callsFor(calls, 2);
    ASSERT_FALSE(edit.isEmpty());
    EXPECT_TRUE(edit.last().state.testFlag(odComboBoxEdit));
    EXPECT_EQ(closed.pixelColor(edit.last().rect.center()), ColorToQColor(clBlue));

    QAbstractItemView* view = widget->view();
    EXPECT_EQ(view->sizeHintForRow(0), 16);
    EXPECT_EQ(view->sizeHintForRow(2), 36);
    calls.clear();
    widget->showPopup(); // the list, as the user opens it
    QApplication::processEvents();
    view->grab();
    widget->hidePopup();
    ASSERT_FALSE(callsFor(calls, 1).isEmpty());
    EXPECT_FALSE(callsFor(calls, 1).last().state.testFlag(odComboBoxEdit));
    EXPECT_EQ(callsFor(calls, 1).last().rect.height(), 26);
}

namespace {

class TfrmColours : public TForm {
    Q_OBJECT
public:
    using TForm::TForm;
    QStringList Calls;

public slots:
    void cbColoursDrawItem(TWinControl* Control, int Index, QRect Rect, TOwnerDrawState State)
    {
        Calls << QStringLiteral("draw %1 %2 %3")
                     .arg(Control->Name())
                     .arg(Index)
                     .arg(State.testFlag(odComboBoxEdit));
        Q_UNUSED(Rect);
    }
    void cbColoursMeasureItem(TWinControl*, int Index, int& Height) { Height = 20 + Index; }
};

} // namespace

// Handlers are bound by name from a form description.
TEST(OwnerDrawReadTest, HandlersComeFromTheFormDescription)
{
    TfrmColours form;
    ReadComponent(&form,
        QStringLiteral("object frmColours: TfrmColours\n"
                       "  object cbColours: TComboBox\n"
                       "    Style = csOwnerDrawVariable\n"
                       "    ItemHeight = 18\n"
                       "    ItemIndex = 0\n"
                       "    Items.Strings = (\n      'one'\n      'two')\n"
                       "    OnDrawItem = cbColoursDrawItem\n"
                       "    OnMeasureItem = cbColoursMeasureItem\n"
                       "  end\n"
                       "end\n"));
    auto* combo = form.FindComponent<TComboBox>("cbColours");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ItemHeight(), 18);
    EXPECT_EQ(combo->MeasureItem(1), 21);
    form.Show();
    combo->Widget()->grab();
    EXPECT_TRUE(form.Calls.contains("draw cbColours 0 1")) << form.Calls.join('|').toStdString();
}

#include "OwnerDrawTest.moc"
