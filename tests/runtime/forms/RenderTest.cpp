#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Mask.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QLabel>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::unique_ptr<TForm> renderForm()
{
    const QString text = QString::fromUtf8(testsupport::readAll(testsupport::sourcePath("tests/runtime/forms/fixtures/render.dfm")));
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
