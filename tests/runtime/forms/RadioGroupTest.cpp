// A radio group shows one button per item and follows clicks on them.
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QPointer>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

QList<QRadioButton*> shownButtons(TRadioGroup* group)
{
    QList<QRadioButton*> shown;
    for (QRadioButton* button : group->Widget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        if (!button->isHidden())
            shown << button;
    return shown;
}

} // namespace

TEST(RadioGroupTest, AClickedButtonSurvivesItsClickAndTheGroupFollowsIt)
{
    TForm form;
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->Items()->SetLines({QStringLiteral("打印"), QStringLiteral("Fax/Email")});
    group->SetItemIndex(0);
    form.Show();
    QApplication::processEvents();
    ASSERT_EQ(shownButtons(group).size(), 2);
    QPointer<QRadioButton> second = shownButtons(group).at(1);
    int clicks = 0;
    group->SetOnClick(TNotifyEvent::Of([&clicks](TObject*) { ++clicks; }));

    // The index changes inside the button's own clicked signal; the button
    // under the mouse must not be deleted from there.
    second->click();
    QApplication::processEvents();
    ASSERT_FALSE(second.isNull()) << "the clicked button was deleted in its own click";
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    const QList<QRadioButton*> after = shownButtons(group);
    ASSERT_EQ(after.size(), 2);
    EXPECT_FALSE(after.at(0)->isChecked());
    EXPECT_TRUE(after.at(1)->isChecked());

    // Fewer items: the extra button goes, the others show the new texts.
    group->Items()->SetLines({QStringLiteral("只此一项")});
    QApplication::processEvents();
    const QList<QRadioButton*> one = shownButtons(group);
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.at(0)->text(), QStringLiteral("只此一项"));
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_FALSE(one.at(0)->isChecked());
}
