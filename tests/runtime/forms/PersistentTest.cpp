#include "runtime/forms/Persistent.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ImgList.h"

#include <QImage>
#include <gtest/gtest.h>

TEST(PersistentTest, StringsTextSplitsAtAnyLineBreak)
{
    TStrings lines;
    int changes = 0;
    QObject::connect(&lines, &TStrings::Changed, [&changes] { ++changes; });
    lines.SetText("a\r\nb\rc\nd");
    EXPECT_EQ(lines.Lines(), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(lines.Text(), "a\nb\nc\nd\n");
    lines.SetText("a\nb\nc\nd\n"); // the final break ends the last line: nothing changes
    EXPECT_EQ(lines.Count(), 4);
    EXPECT_EQ(changes, 1);
    lines.SetText("\n");
    EXPECT_EQ(lines.Lines(), QStringList {""});
    EXPECT_EQ(lines.IndexOf("A"), -1);
    lines.SetLines({"x", "Y"});
    EXPECT_EQ(lines.IndexOf("y"), 1);
    EXPECT_THROW(lines.Strings(2), EStringListError);
    EXPECT_THROW(lines.Insert(3, "z"), EStringListError);
    lines.Insert(2, "z");
    EXPECT_EQ(lines.CommaText(), "x,Y,z");
    lines.SetLines({"a b", "q\"t", ""});
    EXPECT_EQ(lines.CommaText(), "\"a b\",\"q\"\"t\",\"\"");
}

TEST(PersistentTest, UpdatesAreBatchedIntoOneChange)
{
    TStrings lines;
    int changes = 0;
    QObject::connect(&lines, &TStrings::Changed, [&changes] { ++changes; });
    lines.BeginUpdate();
    lines.Add("1");
    lines.Add("2");
    lines.Delete(0);
    EXPECT_EQ(changes, 0);
    lines.EndUpdate();
    EXPECT_EQ(changes, 1);
    lines.BeginUpdate();
    lines.EndUpdate(); // nothing changed, nothing raised
    EXPECT_EQ(changes, 1);
}

TEST(PersistentTest, CollectionsCreateMoveAndAssignTheirItems)
{
    TListColumns columns;
    int changes = 0;
    QObject::connect(&columns, &TCollection::Changed, [&changes] { ++changes; });
    TListColumn* a = columns.Add();
    TListColumn* b = columns.Add();
    a->SetCaption("A");
    b->SetCaption("B");
    EXPECT_EQ(changes, 4); // two additions, two captions
    columns.Move(1, 0);
    EXPECT_EQ(columns.Items(0), b);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_THROW(columns.Items(2), EListError);
    EXPECT_THROW(columns.Insert(5), EListError);

    TListColumns copy;
    copy.Assign(&columns);
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.Items(0)->Caption(), "B");
    EXPECT_NE(copy.Items(0), b);
    TStatusPanels panels;
    EXPECT_THROW(panels.Assign(&columns), EConvertError); // other item class
    columns.Delete(0);
    EXPECT_EQ(columns.Count(), 1);
    EXPECT_EQ(columns.Items(0)->Caption(), "A");
}

TEST(PersistentTest, FontSizeAndHeightAreOneValue)
{
    TFont font;
    font.SetSize(9);
    EXPECT_EQ(font.Height(), -12);
    EXPECT_EQ(font.Size(), 9);
    font.SetHeight(-16);
    EXPECT_EQ(font.Size(), 12);
    EXPECT_EQ(font.ToQFont().pixelSize(), 16);
    TFont other;
    other.SetName("SimSun");
    other.SetStyle(TFontStyles(fsBold));
    font.Assign(&other);
    EXPECT_EQ(font.Name(), "SimSun");
    EXPECT_TRUE(font.ToQFont().bold());
    EXPECT_EQ(font.Height(), other.Height());
    TStrings lines;
    EXPECT_THROW(font.Assign(&lines), EConvertError);
}

TEST(PersistentTest, ImageListKeepsItsStripThroughItsData)
{
    TImageList images;
    QImage red(32, 32, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QImage blue(16, 16, QImage::Format_ARGB32);
    blue.fill(Qt::blue);
    EXPECT_EQ(images.Add(red), 0); // scaled to 16 x 16
    EXPECT_EQ(images.Add(blue), 1);
    EXPECT_EQ(images.GetBitmap(1).toImage().pixelColor(8, 8), QColor(Qt::blue));

    TImageList copy;
    copy.SetBitmap(images.Bitmap());
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(copy.GetBitmap(0).toImage().pixelColor(3, 3), QColor(Qt::red));
    copy.Delete(0);
    EXPECT_EQ(copy.GetBitmap(0).toImage().pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_TRUE(copy.GetBitmap(1).isNull());
    copy.SetBitmap("not an image");
    EXPECT_EQ(copy.Count(), 0);
    QImage odd(20, 16, QImage::Format_ARGB32); // not a whole number of images
    odd.fill(Qt::green);
    TImageList strip;
    TImageList source;
    source.SetWidth(20);
    source.Add(odd);
    strip.SetBitmap(source.Bitmap());
    EXPECT_EQ(strip.Count(), 0);
}
