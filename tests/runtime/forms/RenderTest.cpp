#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Graphics.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/StdCtrls.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TForm> renderForm()
{
    const QString text = QString::fromUtf8(
        testsupport::readAll(testsupport::sourcePath("tests/runtime/forms/fixtures/render.dfm")));
    return std::unique_ptr<TForm>(qobject_cast<TForm*>(CreateFromText(text)));
}

} // namespace

// Widgets are built on demand and show what the properties say.
TEST(RenderTest, FormFromDescriptionShowsItsControls)
{
    std::unique_ptr<TForm> form = renderForm();
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->FindComponent<TControl>("edCode")->HasWidget());
    form->Show();
    QApplication::processEvents();
    QWidget* window = form->Widget();
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("工单变更单列印"));

    auto* edit = qobject_cast<QLineEdit*>(form->FindComponent<TControl>("edCode")->Widget());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "MO-0001");
    EXPECT_EQ(edit->geometry(), QRect(60, 8, 120, 22));

    auto* date = qobject_cast<QLineEdit*>(form->FindComponent<TControl>("meDate")->Widget());
    EXPECT_EQ(date->displayText(), "2024/05/31");

    auto* combo = qobject_cast<QComboBox*>(form->FindComponent<TControl>("cbType")->Widget());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), QString::fromUtf8("简体中文"));

    auto* view = form->FindComponent<TListView>("lvSlips");
    auto* tree = qobject_cast<QTreeWidget*>(view->Widget());
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->headerItem()->text(1), QString::fromUtf8("单号"));
    EXPECT_EQ(tree->topLevelItem(1)->text(2), "0003");
    // Aligned to the client area of its sheet.
    EXPECT_EQ(view->BoundsRect(), QRect(0, 0, 488, 252));

    auto* tabs = qobject_cast<QTabWidget*>(form->FindComponent<TControl>("pcMain")->Widget());
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_FALSE(tabs->isTabVisible(1));
    EXPECT_EQ(tabs->currentIndex(), 0);

    auto* status = form->FindComponent<TStatusBar>("sbMain");
    EXPECT_EQ(status->BoundsRect(), QRect(0, 341, 520, 19));
    const QList<QLabel*> panels = status->Widget()->findChildren<QLabel*>("statusPanel");
    ASSERT_EQ(panels.size(), 2);
    EXPECT_EQ(panels.at(1)->text(), QString::fromUtf8("用户: DS"));

    const QString out = qEnvironmentVariable("ZORV_BINARY_DIR", QDir::tempPath()) + "/forms-render.png";
    EXPECT_TRUE(window->grab().save(out));
}

// A change after the widget exists reaches it; a change the user makes reaches the property.
TEST(RenderTest, PropertiesAndWidgetsStayInStep)
{
    std::unique_ptr<TForm> form = renderForm();
    form->Show();
    auto* status = form->FindComponent<TStatusBar>("sbMain");
    status->Panels()->Items(0)->SetText("Ready");
    EXPECT_EQ(status->Widget()->findChildren<QLabel*>("statusPanel").at(0)->text(), "Ready");

    auto* edit = form->FindComponent<TEdit>("edCode");
    int changes = 0;
    edit->SetOnChange(TNotifyEvent::Of([&changes](TObject*) { ++changes; }));
    auto* line = qobject_cast<QLineEdit*>(edit->Widget());
    line->setFocus();
    line->selectAll();
    line->insert("X9"); // as typing does
    EXPECT_EQ(edit->Text(), "X9");
    EXPECT_EQ(changes, 1);

    auto* sheet = form->FindComponent<TTabSheet>("tsHidden");
    sheet->SetTabVisible(true);
    auto* tabs = qobject_cast<QTabWidget*>(form->FindComponent<TControl>("pcMain")->Widget());
    EXPECT_TRUE(tabs->isTabVisible(1));
}

// A form that grows: anchored controls follow the window, the owner-drawn
// list draws its swatches, the calendar shows its month. The picture is kept
// beside the build for a look.
TEST(RenderTest, AnchoredOwnerDrawnFormWithACalendar)
{
    std::unique_ptr<TForm> form(qobject_cast<TForm*>(CreateFromText(
        QStringLiteral("object frmLayout: TForm\n"
                       "  Caption = 'Anchors, owner-draw, calendar'\n"
                       "  ClientWidth = 460\n  ClientHeight = 260\n"
                       "  Font.Height = -12\n"
                       "  object lbColours: TListBox\n"
                       "    Left = 8\n    Top = 8\n    Width = 200\n    Height = 200\n"
                       "    Anchors = [akLeft, akTop, akBottom]\n"
                       "    Style = lbOwnerDrawVariable\n    ItemHeight = 22\n"
                       "    Items.Strings = (\n      'Red'\n      'Green'\n      'Blue'\n      'Yellow')\n"
                       "  end\n"
                       "  object calDue: TMonthCalendar\n"
                       "    Left = 216\n    Top = 8\n    Width = 236\n    Height = 200\n"
                       "    Anchors = [akTop, akRight]\n"
                       "    Date = 45444.0\n"
                       "  end\n"
                       "  object cbKind: TComboBox\n"
                       "    Left = 8\n    Top = 224\n    Width = 200\n    Height = 24\n"
                       "    Anchors = [akLeft, akBottom]\n"
                       "    Style = csOwnerDrawFixed\n    ItemIndex = 1\n"
                       "    Items.Strings = (\n      'Red'\n      'Green'\n      'Blue')\n"
                       "  end\n"
                       "  object btnOK: TButton\n"
                       "    Left = 372\n    Top = 224\n    Width = 80\n    Height = 26\n"
                       "    Anchors = [akRight, akBottom]\n    Caption = 'OK'\n"
                       "  end\n"
                       "end\n"))));
    ASSERT_TRUE(form);
    auto* list = form->FindComponent<TListBox>("lbColours");
    auto* combo = form->FindComponent<TComboBox>("cbKind");
    static const TColor swatches[] = {clRed, clGreen, clBlue, clYellow};
    auto swatch = [](TComboBox* c, TListBox* l) {
        return TDrawItemEvent::Of([c, l](TWinControl* control, int index, QRect rect, TOwnerDrawState) {
            TCanvas* canvas = control == l ? l->Canvas() : c->Canvas();
            TStrings* items = control == l ? l->Items() : c->Items();
            canvas->FillRect(rect);
            const TColor brush = canvas->Brush()->Color();
            canvas->Brush()->SetColor(swatches[index % 4]);
            canvas->Rectangle(QRect(rect.left() + 4, rect.top() + 3, rect.height() - 6, rect.height() - 6));
            canvas->Brush()->SetColor(brush);
            canvas->TextOut(rect.left() + rect.height() + 4, rect.top() + 3, items->Strings(index));
        });
    };
    list->SetOnDrawItem(swatch(combo, list));
    list->SetOnMeasureItem(
        TMeasureItemEvent::Of([](TWinControl*, int index, int& height) { height += index * 4; }));
    combo->SetOnDrawItem(swatch(combo, list));
    list->SetItemIndex(2);

    form->Show();
    QApplication::processEvents();
    form->Widget()->resize(560, 320);
    QApplication::processEvents();
    EXPECT_EQ(list->BoundsRect(), QRect(8, 8, 200, 260));
    EXPECT_EQ(form->FindComponent<TControl>("calDue")->BoundsRect(), QRect(316, 8, 236, 200));
    EXPECT_EQ(combo->BoundsRect(), QRect(8, 284, 200, 24));
    EXPECT_EQ(form->FindComponent<TControl>("btnOK")->Widget()->geometry(), QRect(472, 284, 80, 26));

    const QImage picture = form->Widget()->grab().toImage();
    auto* listWidget = qobject_cast<QListWidget*>(list->Widget());
    const QRect first = listWidget->visualItemRect(listWidget->item(0));
    const QPoint swatchPoint
        = listWidget->viewport()->mapTo(form->Widget(), first.topLeft() + QPoint(8, first.height() / 2));
    EXPECT_EQ(picture.pixelColor(swatchPoint), ColorToQColor(clRed));
    EXPECT_EQ(listWidget->visualItemRect(listWidget->item(3)).height(), 34);
    const QString out = qEnvironmentVariable("ZORV_BINARY_DIR", QDir::tempPath()) + "/forms-layout.png";
    EXPECT_TRUE(picture.save(out));
}
