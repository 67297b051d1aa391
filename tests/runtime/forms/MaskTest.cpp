#include "SampleForms.h"

#include "runtime/forms/Mask.h"

#include <QLineEdit>
#include <gtest/gtest.h>

TEST(MaskTest, DateMaskWithSavedLiterals)
{
    const TEditMask mask("!90/90/00;1;_");
    EXPECT_EQ(mask.Length(), 8);
    EXPECT_TRUE(mask.SaveLiterals());
    EXPECT_TRUE(mask.LeadingBlanks());
    EXPECT_EQ(mask.Format(""), "__/__/__");
    EXPECT_EQ(mask.EmptyText(), "  /  /  ");
    EXPECT_EQ(mask.Format("12/31/99"), "12/31/99");
    EXPECT_EQ(mask.Format("1x/3"), "1_/3_/__"); // a letter does not fit a digit, it leaves a blank
    EXPECT_EQ(mask.Text("1_/3_/__"), "1 /3 /  ");
    EXPECT_FALSE(mask.IsComplete("1_/3_/__")); // the two 0 positions of the year are required
    EXPECT_TRUE(mask.IsComplete("_1/_2/99"));
    EXPECT_EQ(mask.Format("123199"), "12/31/99"); // literals may be left out of the value
    EXPECT_EQ(mask.ToQtInputMask(), "09/09/99;_");
}

TEST(MaskTest, LiteralsLeftOutOfTextAndOtherBlanks)
{
    const TEditMask mask("000-0000;0;*");
    EXPECT_FALSE(mask.SaveLiterals());
    EXPECT_EQ(mask.Format("5551234"), "555-1234");
    EXPECT_EQ(mask.Text("555-1234"), "5551234");
    EXPECT_EQ(mask.Format("55"), "55*-****");
    EXPECT_EQ(mask.EmptyText(), "       ");
}

TEST(MaskTest, CaseSwitchesEscapesAndSeparatorsInTheMask)
{
    const TEditMask mask(">LL<ll\\0;1;_");
    EXPECT_EQ(mask.Format("abCD0"), "ABcd0");
    EXPECT_EQ(mask.Format("12"), "____0");
    const TEditMask escaped("\\;00;1;_");
    EXPECT_EQ(escaped.Format(";12"), ";12");
    EXPECT_TRUE(TEditMask("").IsEmpty());
    EXPECT_EQ(TEditMask("").Format("free text"), "free text");
}

TEST(MaskTest, MaskEditKeepsEditTextAndTextApart)
{
    TForm form;
    auto* edit = new TMaskEdit(&form);
    edit->SetParent(&form);
    edit->SetText("20240531");
    edit->SetEditMask("9999/99/99;1;_"); // the text moves into the mask
    EXPECT_EQ(edit->EditText(), "2024/05/31");
    edit->SetText("2024/05/31");
    EXPECT_EQ(edit->EditText(), "2024/05/31");
    EXPECT_EQ(edit->Text(), "2024/05/31");
    edit->SetText("");
    EXPECT_EQ(edit->EditText(), "____/__/__");
    EXPECT_EQ(edit->Text(), "    /  /  ");
    edit->SetEditText("2024x05/01");
    EXPECT_EQ(edit->EditText(), "2024/05/01");

    auto* line = qobject_cast<QLineEdit*>(edit->Widget());
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->inputMask(), "0000/00/00;_");
    EXPECT_EQ(line->displayText(), "2024/05/01");
}
