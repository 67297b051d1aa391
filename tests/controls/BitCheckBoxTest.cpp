#include "controls/BtChkBox.h"

#include "controls/GlyphBank.h"
#include "runtime/forms/Forms.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QImage render(const TBitCheckBox& box)
{
    QImage image(box.Width(), box.Height(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    box.Paint(painter);
    return image;
}

// The 13 x 13 glyph cell painted at left (the built-in pictures' size).
QImage glyphCell(const TBitCheckBox& box, int left)
{
    return render(box).copy(left, (box.Height() - 13) / 2, 13, 13);
}

} // namespace

TEST(BitCheckBox, FreshBoxAndToggleCycle)
{
    TForm form;
    auto* box = new TBitCheckBox(&form);
    box->SetParent(&form);
    EXPECT_EQ(box->BoundsRect().size(), QSize(97, 17));
    EXPECT_TRUE(box->TabStop());
    EXPECT_TRUE(box->ParentCtl3D());
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(box->Alignment(), taRightJustify);
    EXPECT_EQ(box->CheckedNumGlyphs(), 2) << "the built-in pictures hold a normal and a disabled cell";
    EXPECT_EQ(box->CheckedGlyph()->Data(), BitmapResource(QStringLiteral("CHECKED")));

    int clicks = 0;
    box->SetOnClick(TNotifyEvent::Of([&](TObject*) { ++clicks; }));
    box->Click();
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(box->Focused()) << "a click focuses the box";
    box->Toggle();
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetAllowGrayed(true);
    box->Toggle();
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_FALSE(box->Checked());
    box->Toggle();
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(clicks, 4);

    box->SetCaption(QStringLiteral("打印&Price"));
    EXPECT_EQ(box->Accelerator(), QChar(u'P'));
    EXPECT_FALSE(box->DialogChar(u'x'));
    EXPECT_TRUE(box->DialogChar(u'p'));
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetCaption(QStringLiteral("A && B"));
    EXPECT_TRUE(box->Accelerator().isNull());
}

TEST(BitCheckBox, PaintsTheStateGlyphWhereTheAlignmentSays)
{
    TBitCheckBox box;
    box.SetColor(clWhite);
    box.SetCaption(QStringLiteral("Print prices"));
    const QImage unchecked = glyphCell(box, 0);
    box.SetState(cbChecked);
    const QImage checked = glyphCell(box, 0);
    EXPECT_NE(unchecked, checked) << "the tick shows in the glyph cell";
    EXPECT_EQ(render(box).pixel(0, 0), qRgb(255, 255, 255)) << "the box is filled with its colour";

    box.SetAlignment(taLeftJustify);
    EXPECT_EQ(glyphCell(box, box.Width() - 13), checked) << "the glyph moves to the right";
    EXPECT_EQ(glyphCell(box, 0).pixel(6, 6), qRgb(255, 255, 255));

    // A disabled box uses the second cell of a two-cell picture.
    box.SetAlignment(taRightJustify);
    box.SetEnabled(false);
    EXPECT_NE(glyphCell(box, 0), checked);
}

TEST(BitCheckBox, OwnPicturesAndBackToTheBuiltInOne)
{
    TBitCheckBox box;
    QImage strip(39, 13, QImage::Format_RGB32); // three cells, no transparency
    strip.fill(qRgb(255, 0, 255));
    for (int x = 0; x < 13; ++x)
        strip.setPixel(x, 6, qRgb(0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    TPicture picture;
    picture.SetData(png);
    box.SetUncheckedGlyph(&picture);
    EXPECT_EQ(box.UncheckedNumGlyphs(), 3);
    box.SetColor(clWhite);
    const QImage shown = render(box);
    EXPECT_EQ(shown.pixel(0, 3), qRgb(255, 255, 255)) << "the bottom-left colour is transparent";
    EXPECT_EQ(shown.pixel(5, 8), qRgb(0, 0, 255));
    box.SetUncheckedGlyph(nullptr);
    EXPECT_EQ(box.UncheckedGlyph()->Data(), BitmapResource(QStringLiteral("UNCHECKED")));
    EXPECT_EQ(box.UncheckedNumGlyphs(), 2);
    EXPECT_FALSE(box.IsPropertyStored("UncheckedGlyph"));
}

TEST(BitCheckBox, ScreenshotOfTheStates)
{
    TForm form;
    form.SetBounds(0, 0, 260, 120);
    form.SetColor(clWhite);
    const TCheckBoxState states[] = {cbUnchecked, cbChecked, cbGrayed};
    for (int i = 0; i < 3; ++i) {
        auto* box = new TBitCheckBox(&form);
        box->SetParent(&form);
        box->SetBounds(8, 8 + i * 24, 200, 17);
        box->SetAllowGrayed(true);
        box->SetCaption(QStringLiteral("打印单价 &%1").arg(i));
        box->SetState(states[i]);
        box->SetEnabled(i != 2);
    }
    form.Show();
    const QString shots = qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/screenshots");
    QDir().mkpath(shots);
    EXPECT_TRUE(form.Widget()->grab().save(shots + QStringLiteral("/bitcheckbox.png")));
}
