#include "controls/F2Button.h"
#include "controls/GSpdBtn.h"
#include "controls/GlyphBank.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(GlyphBank, HoldsRealImages)
{
    EXPECT_EQ(MaxGlyphIndex(), 47);
    for (int index : {1, 4, 8, 47}) {
        const QImage image = GlyphImage(index);
        ASSERT_FALSE(image.isNull()) << index;
        EXPECT_EQ(image.height(), 16);
        EXPECT_EQ(image.width() % image.height(), 0);
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 0;
        EXPECT_GT(painted, 8) << "glyph " << index << " is blank";
    }
    EXPECT_EQ(GlyphImage(4).width(), 32) << "the clear-list glyph has a disabled cell";
    TPicture picture;
    EXPECT_FALSE(LoadGlyph(&picture, 30)) << "a number without a picture";
    EXPECT_FALSE(LoadGlyph(&picture, 0));
    EXPECT_TRUE(picture.Empty());
}

TEST(GSpeedButton, GlyphIndexLoadsFromTheBank)
{
    TGSpeedButton button;
    button.SetGlyphIndex(4);
    EXPECT_FALSE(button.Glyph()->Empty());
    EXPECT_EQ(button.NumGlyphs(), 2);
    EXPECT_EQ(button.Caption(), QString());
    button.SetGlyphIndex(48);
    EXPECT_TRUE(button.Glyph()->Empty());
    EXPECT_EQ(button.Caption(), QStringLiteral("48")) << "without a picture the number shows";
    button.SetGlyphIndex(30);
    EXPECT_TRUE(button.Glyph()->Empty());
    EXPECT_EQ(button.Caption(), QStringLiteral("30"));
    button.SetGlyphIndex(47);
    EXPECT_EQ(button.NumGlyphs(), 1);
}

TEST(GSpeedButton, ReadFromAFormDescription)
{
    RegisterCriteriaControls();
    TForm form;
    ReadComponent(&form,
        QStringLiteral(
            "object frm: TForm\n"
            "  object btnClear: TGSpeedButton\n    GlyphIndex = 4\n    HintIndex = 3\n  end\n"
            "  object edNo: TEdit\n    Left = 10\n    Top = 20\n    Width = 100\n    Height = 24\n  end\n"
            "  object btnNo: TF2Button\n    F2Control = edNo\n  end\n"
            "end\n"));
    auto* clear = form.FindComponent<TGSpeedButton>(QStringLiteral("btnClear"));
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->NumGlyphs(), 2);
    EXPECT_EQ(clear->HintIndex(), 3);
    auto* f2 = form.FindComponent<TF2Button>(QStringLiteral("btnNo"));
    ASSERT_NE(f2, nullptr);
    EXPECT_EQ(f2->F2Control(), form.FindComponent(QStringLiteral("edNo")));
    EXPECT_EQ(f2->BoundsRect(), QRect(112, 20, 24, 24));
}

namespace {

class LookupForm : public TForm, public IF2WindowTarget {
public:
    void F2Window(TWinControl* edit) override { asked << edit; }
    QList<TWinControl*> asked;
};

} // namespace

TEST(F2Button, FollowsItsEditAndAsksTheOwner)
{
    LookupForm form;
    form.SetBounds(0, 0, 300, 120);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 120, 21);
    auto* button = new TF2Button(&form);
    button->SetParent(&form);
    EXPECT_TRUE(button->Flat());
    EXPECT_TRUE(button->AutoAlign());
    EXPECT_EQ(button->Gap(), 2);
    EXPECT_EQ(button->GlyphIndex(), 8);
    button->SetF2Control(edit);
    EXPECT_EQ(button->BoundsRect(), QRect(132, 10, 21, 21));

    form.Show(); // widgets exist now: the button follows the edit's moves
    edit->SetBounds(40, 50, 100, 30);
    EXPECT_EQ(button->BoundsRect(), QRect(142, 50, 30, 30));
    button->SetGap(5);
    EXPECT_EQ(button->Left(), 145);

    button->Click();
    EXPECT_TRUE(edit->Focused());
    ASSERT_EQ(form.asked.size(), 1);
    EXPECT_EQ(form.asked.at(0), edit);
    edit->SetEnabled(false);
    button->Click();
    EXPECT_EQ(form.asked.size(), 1) << "a disabled edit is not asked for";

    delete edit;
    EXPECT_EQ(button->F2Control(), nullptr);
    button->Click(); // no edit: nothing happens
}

// The button follows every change of its edit's bounds, before any window
// exists too: moves from code, alignment, and anchors when the parent grows.
TEST(F2Button, FollowsItsEditWithoutWindowsAndThroughAnchors)
{
    TForm form;
    form.SetClientWidth(300);
    form.SetClientHeight(100);
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 200, 21);
    edit->SetAnchors(TAnchors(akLeft) | akTop | akRight);
    auto* button = new TF2Button(&form);
    button->SetParent(&form);
    button->SetF2Control(edit);
    EXPECT_EQ(button->BoundsRect(), QRect(212, 10, 21, 21));
    edit->SetTop(40);
    EXPECT_EQ(button->BoundsRect(), QRect(212, 40, 21, 21));
    form.SetClientWidth(400); // the edit stretches by 100
    EXPECT_EQ(edit->Width(), 300);
    EXPECT_EQ(button->BoundsRect(), QRect(312, 40, 21, 21));
    edit->SetAlign(alBottom);
    EXPECT_EQ(button->BoundsRect(), QRect(402, 79, 21, 21));
    EXPECT_FALSE(form.HasWidget());

    // Without AutoAlign, or once unbound, the button stays where it is.
    edit->SetAlign(alNone);
    button->SetAutoAlign(false);
    edit->SetBounds(0, 0, 50, 21);
    EXPECT_EQ(button->BoundsRect(), QRect(402, 79, 21, 21));
    button->SetAutoAlign(true);
    EXPECT_EQ(button->BoundsRect(), QRect(52, 0, 21, 21));
    button->SetF2Control(nullptr);
    edit->SetLeft(100);
    EXPECT_EQ(button->Left(), 52);
}

TEST(F2Button, TwoButtonsCannotServeOneEdit)
{
    TForm form;
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    auto* other = new TEdit(&form);
    other->SetParent(&form);
    auto* first = new TF2Button(&form);
    first->SetParent(&form);
    auto* second = new TF2Button(&form);
    second->SetParent(&form);
    first->SetF2Control(edit);
    second->SetF2Control(other);
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrOk, QStringLiteral("不能同时有两个 F2Button 指到同一个 Edit."));
    second->SetF2Control(edit);
    EXPECT_EQ(second->F2Control(), other) << "the old binding stays";
    EXPECT_EQ(dialogs.Pending(), 0);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}
