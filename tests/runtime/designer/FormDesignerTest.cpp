#include "SampleReportForm.h"

#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignDialogs.h"
#include "runtime/designer/DesignSurface.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

class FormDesignerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TfrmDesignSample::Register();
        form.reset(new TfrmDesignSample(nullptr));
        designer = std::make_unique<TDCFormDesigner>(form->QuickRep1);
    }
    QPoint centreOf(TControl* c) const { return designer->ControlRect(c).center(); }

    std::unique_ptr<TfrmDesignSample, FreeComponent> form;
    std::unique_ptr<TDCFormDesigner> designer;
};

TEST_F(FormDesignerTest, BandsStackInPrintOrderAndHitTestingFindsTheTopmostControl)
{
    const QRect title = designer->BandRect(form->TitleBand1);
    const QRect header = designer->BandRect(form->ColumnHeaderBand1);
    const QRect detail = designer->BandRect(form->DetailBand1);
    EXPECT_EQ(title.top(), TDCFormDesigner::Margin + TDCFormDesigner::CaptionHeight);
    EXPECT_EQ(header.top(), title.bottom() + 1 + TDCFormDesigner::CaptionHeight);
    EXPECT_EQ(detail.top(), header.bottom() + 1 + TDCFormDesigner::CaptionHeight);
    EXPECT_EQ(designer->ControlAt(centreOf(form->qrdName)), form->qrdName);
    EXPECT_EQ(designer->BandAt(centreOf(form->qrdName)), form->DetailBand1);
    // A caption strip is no control.
    EXPECT_EQ(designer->ControlAt(designer->CaptionRect(form->DetailBand1).center()), nullptr);
    // Overlapping controls: the later one is on top until sent back.
    form->qrdName->SetBounds(8, 4, 80, 16);
    EXPECT_EQ(designer->ControlAt(centreOf(form->qrdNo)), form->qrdName);
    designer->SelectComponent(form->qrdName);
    designer->SendToBack();
    EXPECT_EQ(designer->ControlAt(centreOf(form->qrdNo)), form->qrdNo);
    EXPECT_EQ(ControlOrder(form->qrdName), 0);
    designer->BringToFront();
    EXPECT_EQ(ControlOrder(form->qrdName), form->DetailBand1->ControlCount() - 1);
}

TEST_F(FormDesignerTest, RubberBandSelectsWhatItTouchesAndFreedControlsLeaveTheSelection)
{
    const QRect a = designer->ControlRect(form->qrdNo);
    const QRect b = designer->ControlRect(form->qrdName);
    designer->SelectInRect(
        QRect(a.bottomRight() + QPoint(0, 2), b.topLeft() + QPoint(2, 0)).normalized(), false);
    EXPECT_EQ(designer->GetSelectedComponents(), (QList<TControl*> {form->qrdNo, form->qrdName}));
    designer->SelectInRect(designer->ControlRect(form->qrlTitle), true);
    EXPECT_EQ(designer->GetSelectedComponents().size(), 3);
    designer->ToggleSelection(form->qrdNo);
    EXPECT_FALSE(designer->IsSelected(form->qrdNo));
    form->qrdName->Free();
    form->qrdName = nullptr;
    EXPECT_EQ(designer->GetSelectedComponents(), QList<TControl*> {form->qrlTitle});
}

TEST_F(FormDesignerTest, DraggingMovesTheSelectionOnTheGridAndUndoPutsItBack)
{
    designer->SetGridSize(8);
    designer->SelectComponent(form->qrdNo);
    designer->SelectComponent(form->qrdName, true);
    designer->BeginMove();
    designer->DragTo(13, 3);
    designer->DragTo(21, 5); // only the last position counts
    designer->EndDrag();
    // 8+21 = 29 -> 32; 4+5 = 9 -> 8; 96+21 = 117 -> 120.
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(32, 8, 80, 16));
    EXPECT_EQ(form->qrdName->BoundsRect(), QRect(120, 8, 160, 16));
    ASSERT_TRUE(designer->Undo());
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(8, 4, 80, 16));
    EXPECT_EQ(form->qrdName->BoundsRect(), QRect(96, 4, 160, 16));
    EXPECT_FALSE(designer->Undo());
    // Without snapping the move is exact; a cancelled drag leaves nothing to undo.
    designer->SetSnapToGrid(false);
    designer->MoveSelection(3, 1);
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(11, 5, 80, 16));
    designer->BeginMove();
    designer->DragTo(50, 0);
    designer->CancelDrag();
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(11, 5, 80, 16));
    ASSERT_TRUE(designer->Undo());
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(8, 4, 80, 16));
}

TEST_F(FormDesignerTest, ADropOverAnotherBandMovesTheControlThereAndUndoBringsItBack)
{
    designer->SelectComponent(form->qrlNo); // column header, 8,4
    const int down
        = designer->BandRect(form->DetailBand1).top() - designer->BandRect(form->ColumnHeaderBand1).top();
    designer->MoveSelection(0, down);
    EXPECT_EQ(form->qrlNo->Parent(), form->DetailBand1);
    EXPECT_EQ(form->qrlNo->BoundsRect().topLeft(), QPoint(8, 4));
    designer->Undo();
    EXPECT_EQ(form->qrlNo->Parent(), form->ColumnHeaderBand1);
    EXPECT_EQ(ControlOrder(form->qrlNo), 0);
}

TEST_F(FormDesignerTest, HandlesResizeOneControlSnappedAndNeverInsideOut)
{
    designer->SelectComponent(form->qrdName); // 96,4 160x16
    const QList<QRect> handles = designer->HandleRects(form->qrdName);
    ASSERT_EQ(handles.size(), 8);
    EXPECT_EQ(designer->HandleAt(handles[4].center()), TDesignHandle::BottomRight);
    EXPECT_EQ(designer->HandleAt(handles[7].center()), TDesignHandle::Left);
    designer->BeginResize(TDesignHandle::BottomRight);
    designer->DragTo(10, 9);
    designer->EndDrag();
    EXPECT_EQ(form->qrdName->BoundsRect(), QRect(96, 4, 172, 24)); // right 266 -> 268, bottom 29 -> 28
    designer->BeginResize(TDesignHandle::Left);
    designer->DragTo(500, 0);
    designer->EndDrag();
    EXPECT_EQ(form->qrdName->Left(), 596);
    EXPECT_EQ(form->qrdName->Width(), 4); // one grid step stays
    // Two selected: no handle answers, resizing does nothing.
    designer->SelectComponent(form->qrdNo, true);
    EXPECT_EQ(designer->HandleAt(handles[4].center()), TDesignHandle::None);
    designer->BeginResize(TDesignHandle::Right);
    EXPECT_FALSE(designer->Dragging());
}

TEST_F(FormDesignerTest, ABandsFootDragsItsHeightAndTheBandsBelowFollow)
{
    const QRect header = designer->BandRect(form->ColumnHeaderBand1);
    const int detailTop = designer->BandRect(form->DetailBand1).top();
    const QPoint foot(header.left() + 100, header.top() + header.height() - 1);
    EXPECT_EQ(designer->BandEdgeAt(foot), form->ColumnHeaderBand1);
    EXPECT_EQ(designer->BandEdgeAt(foot - QPoint(0, 10)), nullptr);
    designer->BeginBandResize(designer->BandEdgeAt(foot));
    designer->DragTo(0, 13);
    designer->EndDrag();
    EXPECT_EQ(form->ColumnHeaderBand1->Height(), 36); // 24 + 13 -> 36 on the grid of 4
    EXPECT_EQ(designer->BandRect(form->DetailBand1).top(), detailTop + 12);
    designer->BeginBandResize(form->ColumnHeaderBand1);
    designer->DragTo(0, -500);
    designer->EndDrag();
    EXPECT_EQ(form->ColumnHeaderBand1->Height(), 1);
    designer->BeginBandResize(form->ColumnHeaderBand1); // a click: no step
    designer->EndDrag();
    designer->Undo();
    designer->Undo();
    EXPECT_EQ(form->ColumnHeaderBand1->Height(), 24);
    EXPECT_FALSE(designer->CanUndo());
}

TEST_F(FormDesignerTest, NudgingMovesAndSizesByAPixelAndOtherKeysAreLeftAlone)
{
    designer->SelectComponent(form->qrdNo);
    EXPECT_TRUE(designer->Nudge(Qt::Key_Right, false));
    EXPECT_TRUE(designer->Nudge(Qt::Key_Up, false));
    EXPECT_TRUE(designer->Nudge(Qt::Key_Down, true));
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(9, 3, 80, 17));
    EXPECT_FALSE(designer->Nudge(Qt::Key_A, false));
    designer->Undo();
    designer->Undo();
    designer->Undo();
    EXPECT_EQ(form->qrdNo->BoundsRect(), QRect(8, 4, 80, 16));
}

TEST_F(FormDesignerTest, AlignSizeScaleAndGridWorkOnTheSelectionWithTheFirstAsReference)
{
    form->qrdName->SetBounds(101, 9, 40, 10);
    form->qreTotal->SetBounds(203, 2, 120, 20);
    designer->SelectComponent(form->qrdNo); // 8,4 80x16
    designer->SelectComponent(form->qrdName, true);
    designer->SelectComponent(form->qreTotal, true);
    designer->AlignSelected(THorzAlign::Rights, TVertAlign::Centers);
    EXPECT_EQ(form->qrdName->BoundsRect(), QRect(48, 7, 40, 10));
    EXPECT_EQ(form->qreTotal->BoundsRect(), QRect(-32, 2, 120, 20));
    designer->Undo();
    designer->AlignSelected(THorzAlign::SpaceEqually, TVertAlign::Tops);
    EXPECT_EQ(form->qrdName->Left(), 106); // 8 .. 203 in two equal steps (97.5, rounded)
    EXPECT_EQ(form->qreTotal->Top(), 4);
    designer->AlignSelected(THorzAlign::CenterInBand, TVertAlign::NoChange);
    EXPECT_EQ(form->qrdNo->Left(), (720 - 80) / 2);
    designer->SizeSelected(TSizeRule::GrowToLargest, 0, TSizeRule::ShrinkToSmallest, 0);
    for (TControl* c : designer->GetSelectedComponents()) {
        EXPECT_EQ(c->Width(), 120);
        EXPECT_EQ(c->Height(), 10);
    }
    designer->SizeSelected(TSizeRule::Value, 50, TSizeRule::NoChange, 0);
    EXPECT_EQ(form->qrdName->BoundsRect().size(), QSize(50, 10));
    designer->ScaleSelected(200);
    EXPECT_EQ(form->qrdName->Width(), 100);
    designer->SetGridSize(8);
    form->qrdNo->SetBounds(13, 3, 10, 10);
    designer->AlignToGrid();
    EXPECT_EQ(form->qrdNo->BoundsRect().topLeft(), QPoint(16, 0));
    // Every step undoes back to the start.
    while (designer->Undo()) { }
    EXPECT_EQ(form->qrdName->BoundsRect(), QRect(101, 9, 40, 10));
    EXPECT_EQ(form->qreTotal->BoundsRect(), QRect(203, 2, 120, 20));
}

TEST_F(FormDesignerTest, DeleteFreesTheControlsAndTellsFirst)
{
    QStringList told;
    QObject::connect(
        designer.get(), &TDCFormDesigner::ComponentDeleting, [&](TControl* c) { told << c->Name(); });
    designer->SelectComponent(form->qrdNo);
    designer->SelectComponent(form->qrdName, true);
    EXPECT_EQ(designer->DeleteSelectedComponents(), 2);
    EXPECT_EQ(told, (QStringList {QStringLiteral("qrdNo"), QStringLiteral("qrdName")}));
    EXPECT_EQ(form->FindComponent(QStringLiteral("qrdNo")), nullptr);
    EXPECT_TRUE(designer->GetSelectedComponents().isEmpty());
    form->qrdNo = form->qrdName = nullptr;
}

TEST_F(FormDesignerTest, TheSurfaceTurnsMouseGesturesIntoDesignerOperations)
{
    TDesignSurface surface(designer.get());
    surface.resize(surface.sizeHint());
    const QPoint start = centreOf(form->qrdNo);
    QTest::mousePress(&surface, Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(16, 0)),
        QPointF(surface.mapToGlobal(start + QPoint(16, 0))), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &move);
    QTest::mouseRelease(&surface, Qt::LeftButton, Qt::NoModifier, start + QPoint(16, 0));
    EXPECT_EQ(form->qrdNo->Left(), 24);
    EXPECT_EQ(designer->GetSelectedComponents(), QList<TControl*> {form->qrdNo});
    // Shift-click adds, a click on empty room clears.
    QTest::mouseClick(&surface, Qt::LeftButton, Qt::ShiftModifier, centreOf(form->qrlTitle));
    EXPECT_EQ(designer->GetSelectedComponents().size(), 2);
    QTest::mouseClick(&surface, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_TRUE(designer->GetSelectedComponents().isEmpty());
    // Keys: arrows nudge, Ctrl+Z undoes.
    designer->SelectComponent(form->qrdNo);
    QTest::keyClick(&surface, Qt::Key_Left);
    EXPECT_EQ(form->qrdNo->Left(), 23);
    QTest::keyClick(&surface, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->qrdNo->Left(), 24);
    const QImage picture = surface.Render();
    EXPECT_EQ(picture.size(), designer->SurfaceSize());
}

TEST(DesignDialogsTest, TheDialogsAnswerWhatTheUserChoseAndNothingOnCancel)
{
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([](TForm* f) {
        f->FindComponent<TRadioGroup>(QStringLiteral("rgHorizontal"))->SetItemIndex(3);
        return int(mrOk);
    });
    THorzAlign h = THorzAlign::NoChange;
    TVertAlign v = TVertAlign::Tops;
    EXPECT_TRUE(ExecuteAlignDialog(h, v));
    EXPECT_EQ(h, THorzAlign::Rights);
    EXPECT_EQ(v, TVertAlign::NoChange);
    dialogs.ExpectModal([](TForm*) { return int(mrOk); }); // nothing chosen
    EXPECT_FALSE(ExecuteAlignDialog(h, v));
    dialogs.ExpectModal([](TForm* f) {
        f->FindComponent<TRadioGroup>(QStringLiteral("rgWidth"))->SetItemIndex(3);
        f->FindComponent<TEdit>(QStringLiteral("edWidth"))->SetText(QStringLiteral("77"));
        return int(mrOk);
    });
    TSizeRule wr = TSizeRule::NoChange, hr = TSizeRule::NoChange;
    int w = 10, ht = 20;
    EXPECT_TRUE(ExecuteSizeDialog(wr, w, hr, ht));
    EXPECT_EQ(wr, TSizeRule::Value);
    EXPECT_EQ(w, 77);
    EXPECT_EQ(ht, 20);
    int percent = 100;
    dialogs.ExpectModal([](TForm* f) {
        f->FindComponent<TEdit>(QStringLiteral("edScale"))->SetText(QStringLiteral("5000"));
        return int(mrOk);
    });
    EXPECT_FALSE(ExecuteScaleDialog(percent));
    dialogs.ExpectModal([](TForm* f) {
        f->FindComponent<TEdit>(QStringLiteral("edScale"))->SetText(QStringLiteral("150"));
        return int(mrCancel);
    });
    EXPECT_FALSE(ExecuteScaleDialog(percent));
    EXPECT_EQ(percent, 100);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

} // namespace
