#include "common/forms/LibRTTI.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <gtest/gtest.h>

using namespace LibRTTI;

TEST(LibRTTI, MissingThingsReadAsNothingAndWriteNothing)
{
    TButton button;
    for (const QObject* object :
        {static_cast<const QObject*>(nullptr), static_cast<const QObject*>(&button)}) {
        EXPECT_EQ(GetPropText(object, QStringLiteral("NoSuch")), QString());
        EXPECT_EQ(GetPropOrdinal(object, QStringLiteral("NoSuch")), 0);
        EXPECT_FALSE(GetPropMethod(object, QStringLiteral("OnNoSuch")).Assigned());
        EXPECT_FALSE(HasProperty(object, QString()));
        EXPECT_FALSE(IsPropertyOfType(object, QString(), QStringLiteral("QString")));
    }
    SetPropText(nullptr, QStringLiteral("Caption"), QStringLiteral("x"));
    SetPropText(&button, QStringLiteral("ImeName"), QStringLiteral("x"));
    SetPropOrdinal(&button, QStringLiteral("Width"), 0); // fine
    SetPropText(&button, QStringLiteral("Width"), QStringLiteral("wide")); // does not fit: nothing
    EXPECT_EQ(button.Width(), 0);
    // Reading an event or an object as text gives nothing rather than an address.
    EXPECT_EQ(GetPropText(&button, QStringLiteral("OnClick")), QString());
    EXPECT_EQ(GetPropText(&button, QStringLiteral("Font")), QString());
}

TEST(LibRTTI, ReadsAndWritesByNameWithoutRegardToCase)
{
    TForm form;
    auto* box = new TCheckBox(&form);
    SetPropText(box, QStringLiteral("caption"), QStringLiteral("打印价格"));
    EXPECT_EQ(box->Caption(), QStringLiteral("打印价格"));
    SetPropOrdinal(box, QStringLiteral("STATE"), cbGrayed);
    EXPECT_EQ(box->State(), cbGrayed);
    EXPECT_EQ(GetPropOrdinal(box, QStringLiteral("State")), cbGrayed);
    SetPropOrdinal(box, QStringLiteral("Checked"), 1);
    EXPECT_EQ(GetPropOrdinal(box, QStringLiteral("Checked")), 1);
    SetPropOrdinal(box, QStringLiteral("Color"), clRed);
    EXPECT_EQ(box->Color(), clRed);
    SetPropText(box, QStringLiteral("Alignment"), QStringLiteral(" taLeftJustify "));
    EXPECT_EQ(box->Alignment(), taLeftJustify);

    auto* label = new TLabel(&form);
    SetPropOrdinal(label, QStringLiteral("FocusControl"), reinterpret_cast<quintptr>(box));
    EXPECT_EQ(GetPropOrdinal(label, QStringLiteral("FocusControl")),
        static_cast<qint64>(reinterpret_cast<quintptr>(box)));
    SetPropOrdinal(label, QStringLiteral("FocusControl"), reinterpret_cast<quintptr>(label));
    EXPECT_EQ(label->FocusControl(), box) << "a reference of the wrong class is refused";
    SetPropOrdinal(label, QStringLiteral("Font"), 0);
    EXPECT_NE(label->Font(), nullptr) << "owned sub-objects are never replaced";

    EXPECT_TRUE(IsPropertyOfType(box, QStringLiteral("font"), QStringLiteral("tfont")));
    EXPECT_TRUE(IsPropertyOfType(box, QStringLiteral("Color"), QStringLiteral("TColor")));
    EXPECT_FALSE(IsPropertyOfType(box, QStringLiteral("Color"), QStringLiteral("TFont")));
    EXPECT_TRUE(HasProperty(box, QStringLiteral("OnClick")));
}

TEST(LibRTTI, EventsByName)
{
    TButton button;
    int clicks = 0;
    SetPropMethod(&button, QStringLiteral("onclick"), TNotifyEvent::Of([&](TObject*) { ++clicks; }));
    const TMethod saved = GetPropMethod(&button, QStringLiteral("OnClick"));
    ASSERT_TRUE(saved.Assigned());
    button.Click();
    EXPECT_EQ(clicks, 1);
    SetPropMethod(&button, QStringLiteral("OnKeyDown"), saved); // another family: refused
    EXPECT_FALSE(GetPropMethod(&button, QStringLiteral("OnKeyDown")).Assigned());
    SetPropMethod(&button, QStringLiteral("OnClick"), TMethod());
    button.Click();
    EXPECT_EQ(clicks, 1);
}
