#include "SampleReportForm.h"

#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DesignWindow.h"
#include "runtime/designer/DesignerTexts.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ObjectProperties.h"
#include "runtime/forms/Menus.h"
#include "runtime/report/QRSize.h"

#include <QAction>
#include <QMenuBar>
#include <QTest>
#include <QToolBar>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

class DreamDesignerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TfrmDesignSample::Register();
        form.reset(new TfrmDesignSample(nullptr));
        designer = new TDreamDesigner(form.get());
        designer->SetReport(form->QuickRep1);
        designer->SetQueryBuilder(form->SQLReBuilder);
        designer->SetAllowedActions(daSelect | daEdit | daDelete);
    }
    std::unique_ptr<TfrmDesignSample, FreeComponent> form;
    TDreamDesigner* designer = nullptr;
};

TEST_F(DreamDesignerTest, StartingLoadsStoredChangesAndAnAbortedSaveKeepsTheDesignerOpen)
{
    QStringList events;
    designer->SetStoredChanges(true);
    designer->OnLoadChanges = [&](TDreamDesigner*, bool&) { events << QStringLiteral("load"); };
    designer->OnActiveChanged
        = [&](TDreamDesigner* d) { events << (d->Active() ? QStringLiteral("on") : QStringLiteral("off")); };
    bool giveUp = true;
    designer->OnSaveChanges = [&](TDreamDesigner*, bool&) {
        events << QStringLiteral("save");
        if (giveUp)
            Abort();
    };
    designer->SetActive(true);
    ASSERT_TRUE(designer->Active());
    ASSERT_NE(designer->Window(), nullptr);
    designer->SetActive(false);
    EXPECT_TRUE(designer->Active());
    giveUp = false;
    designer->SetActive(false);
    EXPECT_FALSE(designer->Active());
    EXPECT_EQ(designer->Window(), nullptr);
    EXPECT_EQ(events, (QStringList {"load", "on", "save", "save", "off"}));
}

TEST_F(DreamDesignerTest, TheHotKeyIsCtrlF12AndStopsTheDesignerFromItsWindow)
{
    EXPECT_TRUE(designer->IsHotKey(Qt::Key_F12, Qt::ControlModifier));
    EXPECT_FALSE(designer->IsHotKey(Qt::Key_F12, Qt::NoModifier));
    EXPECT_FALSE(designer->IsHotKey(Qt::Key_F11, Qt::ControlModifier));
    EXPECT_FALSE(designer->IsHotKey(Qt::Key_F12, Qt::ControlModifier | Qt::ShiftModifier));
    designer->SetActive(true);
    QTest::keyClick(designer->Surface(), Qt::Key_F11, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_TRUE(designer->Active());
    QTest::keyClick(designer->Surface(), Qt::Key_F12, Qt::ControlModifier);
    QCoreApplication::processEvents();
    EXPECT_FALSE(designer->Active());
}

TEST_F(DreamDesignerTest, TheDeleteItemIsEnabledOnlyForLayoutDataTextsAndTheDelKeyFollowsIt)
{
    EXPECT_FALSE(SelectionIsDeletable({}));
    EXPECT_TRUE(SelectionIsDeletable({form->qrdNo, form->qrdName}));
    EXPECT_FALSE(SelectionIsDeletable({form->qrdNo, form->qrlTitle}));
    EXPECT_FALSE(SelectionIsDeletable({form->qrdHidden})); // a plain data text is built in
    auto* menu = new TPopupMenu(form.get());
    auto* del = new TMenuItem(form.get());
    del->SetShortCut(46);
    menu->Items()->Add(del);
    int deleted = 0;
    menu->SetOnPopup(TNotifyEvent::Of(
        [&](TObject*) { del->SetEnabled(SelectionIsDeletable(designer->GetSelectedComponents())); }));
    del->SetOnClick(TNotifyEvent::Of([&](TObject*) { deleted += designer->DeleteSelectedComponents(); }));
    designer->SetPopupMenu(menu);
    designer->SetActive(true);
    designer->SelectComponent(form->qrdNo);
    designer->SelectComponent(form->qrlTitle, true);
    QTest::keyClick(designer->Surface(), Qt::Key_Delete);
    EXPECT_EQ(deleted, 0);
    EXPECT_NE(form->FindComponent(QStringLiteral("qrdNo")), nullptr);
    designer->SelectComponent(form->qrdNo);
    QStringList told;
    designer->OnDeleteComponent = [&](TDreamDesigner*, TComponent* c) { told << c->Name(); };
    QTest::keyClick(designer->Surface(), Qt::Key_Delete);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(told, QStringList {QStringLiteral("qrdNo")});
    EXPECT_EQ(form->FindComponent(QStringLiteral("qrdNo")), nullptr);
    form->qrdNo = nullptr;
}

TEST_F(DreamDesignerTest, MenuShortCutsWorkInTheDesignWindowAlsoForHiddenItems)
{
    EXPECT_EQ(ShortCutOfKey(Qt::Key_S, Qt::ControlModifier), 0x4000 | 'S');
    EXPECT_EQ(ShortCutOfKey(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier), 0xC000 | 'L');
    EXPECT_EQ(ShortCutOfKey(Qt::Key_F12, Qt::ControlModifier), TDreamDesigner::DefaultHotKey);
    EXPECT_EQ(ShortCutOfKey(Qt::Key_Escape, Qt::NoModifier), 0);
    auto* menu = new TPopupMenu(form.get());
    auto* save = new TMenuItem(form.get());
    save->SetShortCut(0x4000 | 'S');
    auto* load = new TMenuItem(form.get());
    load->SetShortCut(0xC000 | 'L');
    load->SetVisible(false);
    menu->Items()->Add(save);
    menu->Items()->Add(load);
    QStringList clicked;
    save->SetOnClick(TNotifyEvent::Of([&](TObject*) { clicked << QStringLiteral("save"); }));
    load->SetOnClick(TNotifyEvent::Of([&](TObject*) { clicked << QStringLiteral("load"); }));
    designer->SetPopupMenu(menu);
    designer->SetActive(true);
    QTest::keyClick(designer->Surface(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(designer->Surface(), Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(designer->Surface(), Qt::Key_S, Qt::AltModifier);
    save->SetEnabled(false);
    QTest::keyClick(designer->Surface(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(clicked, (QStringList {"save", "load"}));
}

TEST_F(DreamDesignerTest, TheInspectorShowsTheSelectionAndEditsOnlyWhatTheOwnerAllows)
{
    designer->OnShowProperty = [](TDreamDesigner* d, TComponent* c) {
        d->SetAllowedActions(c->Name().startsWith(QLatin1String("ExLbl")) ? (d->AllowedActions() | daEdit)
                                                                          : (d->AllowedActions() & ~daEdit));
    };
    auto* added = new TQRLabel(form.get());
    added->SetName(QStringLiteral("ExLbl1"));
    added->SetParent(form->DetailBand1);
    designer->SetActive(true);
    TObjectInspector* inspector = designer->Inspector();
    designer->SelectComponent(form->qrlTitle);
    EXPECT_EQ(inspector->Inspected(), form->qrlTitle);
    EXPECT_TRUE(inspector->ReadOnly());
    EXPECT_FALSE(inspector->EditValue(QStringLiteral("Caption"), QStringLiteral("x")));
    designer->SelectComponent(added);
    EXPECT_FALSE(inspector->ReadOnly());
    EXPECT_GE(inspector->RowOf(QStringLiteral("Font.Size")), 0);
    EXPECT_LT(inspector->RowOf(QStringLiteral("OnPrint")), 0); // events are hidden
    EXPECT_TRUE(inspector->EditValue(QStringLiteral("Caption"), QStringLiteral("备注")));
    EXPECT_EQ(added->Caption(), QStringLiteral("备注"));
    EXPECT_TRUE(inspector->EditValue(QStringLiteral("Font.Size"), QStringLiteral("14")));
    EXPECT_EQ(added->Font()->Size(), 14);
    EXPECT_FALSE(inspector->EditValue(QStringLiteral("Alignment"), QStringLiteral("NoSuchAlignment")));
    EXPECT_FALSE(inspector->EditValue(QStringLiteral("Name"), QStringLiteral("Renamed")));
    // Moving in the designer shows in the inspector.
    designer->GetActiveDesigner()->MoveSelection(40, 0);
    EXPECT_EQ(
        inspector->item(inspector->RowOf(QStringLiteral("Left")), 1)->text(), QString::number(added->Left()));
}

TEST_F(DreamDesignerTest, TheToolWindowListsFieldsAndDropsReachTheOwnerOnlyOverBands)
{
    form->SQLReBuilder->AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = B.TP004"));
    form->SQLReBuilder->AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0);
    designer->SetActive(true);
    TDesignToolWindow* tools = designer->ToolWindow();
    const QString fields = QString::fromLatin1(TDesignToolWindow::FieldList);
    const QString extended = QString::fromLatin1(TDesignToolWindow::ExtendedList);
    EXPECT_EQ(tools->RowCount(fields), 7);
    bool hiddenListed = false;
    for (int r = 0; r < tools->RowCount(fields); ++r)
        if (tools->Row(fields, r).value(2) == QLatin1String("qrdHidden"))
            hiddenListed = tools->Row(fields, r).value(0).contains(QStringLiteral("隐藏"));
    EXPECT_TRUE(hiddenListed);
    EXPECT_EQ(tools->Row(extended, 0),
        (QStringList {
            QStringLiteral("品名"), QStringLiteral("INVMBMB002"), QStringLiteral("品名"), "0", "0"}));
    QList<TDesignDrop> offered;
    designer->OnDragOver = [&](TDreamDesigner*, const TDesignDrop& d) {
        offered << d;
        return true;
    };
    TDCFormDesigner* model = designer->GetActiveDesigner();
    TDesignDrop drop {extended, 0, nullptr, {}};
    EXPECT_FALSE(designer->Surface()->OfferDrop(drop, model->CaptionRect(form->DetailBand1).center()));
    EXPECT_TRUE(offered.isEmpty()); // only bands take drops
    const QPoint inDetail = model->BandRect(form->DetailBand1).topLeft() + QPoint(30, 5);
    EXPECT_TRUE(designer->Surface()->OfferDrop(drop, inDetail));
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0].Band, form->DetailBand1);
    EXPECT_EQ(offered[0].BandPoint, QPoint(30, 5));
}

TEST_F(DreamDesignerTest, TheWindowsCloseButtonStopsTheDesignerThroughTheSaveEventOnce)
{
    QStringList events;
    designer->SetStoredChanges(true);
    designer->OnActiveChanged
        = [&](TDreamDesigner* d) { events << (d->Active() ? QStringLiteral("on") : QStringLiteral("off")); };
    bool giveUp = true;
    designer->OnSaveChanges = [&](TDreamDesigner*, bool&) {
        events << QStringLiteral("save");
        if (giveUp)
            Abort(); // the user's Cancel
    };
    designer->SetActive(true);
    QWidget* window = designer->Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(window->isVisible());
    // The title-bar X (and Alt+F4) is a close event: it does not just hide
    // the window; a second one before the first is handled counts once.
    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->close());
    QCoreApplication::processEvents();
    EXPECT_TRUE(designer->Active());
    EXPECT_TRUE(window->isVisible()) << "a cancelled save keeps the window open";
    giveUp = false;
    window->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(designer->Active());
    EXPECT_EQ(designer->Window(), nullptr);
    EXPECT_EQ(events, (QStringList {"on", "save", "save", "off"}));
}

TEST_F(DreamDesignerTest, TheWindowShowsHowToSaveAndCloseAndItsKeysWorkFromTheInspector)
{
    auto* menu = new TPopupMenu(form.get());
    auto* save = new TMenuItem(form.get());
    save->SetName(QStringLiteral("nuSave"));
    save->SetCaption(QStringLiteral("保存格式(&S)"));
    save->SetShortCut(0x4000 | 'S');
    auto* align = new TMenuItem(form.get());
    align->SetCaption(QStringLiteral("对齐格线"));
    menu->Items()->Add(save);
    menu->Items()->Add(align);
    int saves = 0;
    save->SetOnClick(TNotifyEvent::Of([&](TObject*) { ++saves; }));
    designer->SetPopupMenu(menu);
    designer->SetActive(true);
    TDesignWindow* window = designer->DesignWindow();
    ASSERT_NE(window, nullptr);
    QStringList buttons;
    for (QAction* action : window->CommandBar()->actions())
        if (!action->isSeparator())
            buttons << action->iconText();
    EXPECT_EQ(buttons, (QStringList {"保存格式 (Ctrl+S)", "关闭设计 (Ctrl+F12)"}));
    EXPECT_EQ(window->CloseAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+F12")));
    EXPECT_TRUE(window->HintText().contains(QStringLiteral("Ctrl+S 保存格式")))
        << qPrintable(window->HintText());
    EXPECT_TRUE(window->HintText().contains(QStringLiteral("Ctrl+F12"))) << qPrintable(window->HintText());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    // The save key while the inspector has the focus.
    designer->SelectComponent(form->qrlTitle);
    designer->Inspector()->setFocus();
    QTest::keyClick(designer->Inspector(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saves, 1);
    // The close command stops the designer as its hot key does.
    window->CloseAction()->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(designer->Active());
}

TEST_F(DreamDesignerTest, AControlTheDropHandlerRegistersIsEditedInTheInspectorAtOnce)
{
    // The owner allows editing of the controls it registered; its drop
    // handler selects the new label before it registers it.
    QStringList registered;
    designer->OnShowProperty = [&](TDreamDesigner* d, TComponent* c) {
        d->SetAllowedActions(registered.contains(c->Name()) ? (d->AllowedActions() | daEdit)
                                                            : (d->AllowedActions() & ~daEdit));
    };
    designer->OnDragOver = [](TDreamDesigner*, const TDesignDrop&) { return true; };
    TQRLabel* dropped = nullptr;
    designer->OnDragDrop = [&](TDreamDesigner* d, const TDesignDrop& drop) {
        dropped = new TQRLabel(form.get());
        dropped->SetName(QStringLiteral("ExLbl1"));
        dropped->SetParent(drop.Band);
        dropped->SetBounds(drop.BandPoint.x(), drop.BandPoint.y(), 100, 13);
        d->SelectComponent(dropped);
        registered << dropped->Name();
    };
    designer->SetActive(true);
    designer->SelectComponent(form->qrlTitle);
    designer->Surface()->DropAction(
        {QString::fromLatin1(TDesignToolWindow::LabelTool), -1, form->TitleBand1, QPoint(200, 4)});
    ASSERT_NE(dropped, nullptr);
    TObjectInspector* inspector = designer->Inspector();
    EXPECT_EQ(inspector->Inspected(), dropped);
    EXPECT_FALSE(inspector->ReadOnly());
    EXPECT_TRUE(inspector->EditValue(QStringLiteral("Caption"), QStringLiteral("备注")));
    EXPECT_EQ(dropped->Caption(), QStringLiteral("备注"));
    EXPECT_TRUE(designer->DesignWindow()->SelectionText().startsWith(QStringLiteral("ExLbl1 (TQRLabel)")))
        << qPrintable(designer->DesignWindow()->SelectionText());
}

TEST_F(DreamDesignerTest, TheInspectorListsLayoutPropertiesFirstAndNumbersAsTyped)
{
    auto* added = new TQRLabel(form.get());
    added->SetName(QStringLiteral("ExLbl1"));
    added->SetParent(form->DetailBand1);
    added->SetBounds(8, 2, 100, 13);
    designer->SetActive(true);
    designer->SelectComponent(added);
    TObjectInspector* inspector = designer->Inspector();
    const QStringList paths = inspector->Paths();
    ASSERT_GE(paths.size(), 10);
    EXPECT_EQ(paths.mid(0, 6), (QStringList {"Name", "Caption", "Left", "Top", "Width", "Height"}));
    const auto at = [&](const char* path) { return paths.indexOf(QString::fromLatin1(path)); };
    EXPECT_LT(at("Height"), at("Size.Left"));
    EXPECT_LT(at("Size.Height"), at("Font.Name"));
    EXPECT_LT(at("Font.Size"), at("Alignment"));
    EXPECT_LT(at("Font.Color"), at("Alignment"));
    EXPECT_LT(at("Alignment"), at("AutoSize"));
    EXPECT_LT(at("Visible"), at("Hint"));
    // A size in report units is kept in whole pixels: what the user typed
    // stays shown, and a value never typed has no run of noise digits.
    ASSERT_TRUE(inspector->EditValue(QStringLiteral("Size.Width"), QStringLiteral("91.28")));
    EXPECT_EQ(inspector->ValueText(QStringLiteral("Size.Width")), QStringLiteral("91.28"));
    EXPECT_NE(QString::number(added->Size()->Width()), QStringLiteral("91.28"))
        << "the pixels read back a little off";
    inspector->Refresh();
    EXPECT_EQ(inspector->ValueText(QStringLiteral("Size.Width")), QStringLiteral("91.28"));
    // The pixels changed with the typed size, and the other rows say so.
    EXPECT_EQ(inspector->ValueText(QStringLiteral("Width")), QString::number(added->Width()));
    EXPECT_NE(added->Width(), 100);
    // A size never typed shows two decimals at most, which name its pixel.
    const auto pixelsOf = [&](const QString& text) { return std::lround(text.toDouble() * 96 / 25.4); };
    EXPECT_EQ(inspector->ValueText(QStringLiteral("Size.Left")), QStringLiteral("2.12")); // 8 pixels in mm
    EXPECT_EQ(pixelsOf(inspector->ValueText(QStringLiteral("Size.Left"))), 8);
    // Once the control is sized otherwise, the real value shows.
    QTest::keyClick(designer->Surface(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(pixelsOf(inspector->ValueText(QStringLiteral("Size.Width"))), added->Width());
    EXPECT_NE(inspector->ValueText(QStringLiteral("Size.Width")), QStringLiteral("91.28"));
    // A value the setter refuses (clamps) shows what was kept.
    ASSERT_FALSE(inspector->EditValue(QStringLiteral("Size.Width"), QStringLiteral("-40")));
    EXPECT_EQ(pixelsOf(inspector->ValueText(QStringLiteral("Size.Width"))), added->Width());
}

} // namespace

TEST_F(DreamDesignerTest, TheWindowsWordsComeThroughTheProgramsTranslator)
{
    // A translator that knows some names; the others keep the built-in words.
    QStringList asked;
    SetDesignerTranslator([&](const QString& name, const QString& text) {
        asked << name;
        if (name == u"sDesignCloseTool")
            return QStringLiteral("Close Design");
        if (name == u"sDesignMenu")
            return QStringLiteral("&Format");
        if (name == u"sPropertyColumn")
            return QStringLiteral("Property");
        return name == u"sDesignRightClick" ? QString() : text;
    });
    struct Reset {
        ~Reset() { SetDesignerTranslator({}); }
    } reset;
    designer->SetPopupMenu(new TPopupMenu(form.get()));
    designer->SetActive(true);
    TDesignWindow* window = designer->DesignWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->CloseAction()->iconText(), QStringLiteral("Close Design (Ctrl+F12)"));
    EXPECT_EQ(window->menuBar()->actions().value(0)->text(), QStringLiteral("&Format"));
    EXPECT_EQ(designer->Inspector()->horizontalHeaderItem(0)->text(), QStringLiteral("Property"));
    EXPECT_EQ(designer->Inspector()->horizontalHeaderItem(1)->text(), QStringLiteral("值"))
        << "a built-in word kept";
    EXPECT_TRUE(window->HintText().contains(QStringLiteral("右键: 更多命令"))) << "an empty answer keeps it";
    EXPECT_TRUE(asked.contains(QStringLiteral("sDesignEnd")));
    designer->SetActive(false);

    // Without a translator the built-in words.
    SetDesignerTranslator({});
    EXPECT_EQ(DesignerText("sDesignCloseTool", "关闭设计"), QStringLiteral("关闭设计"));
}
