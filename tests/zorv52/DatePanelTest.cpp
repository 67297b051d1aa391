// The change-date and approval-date panels of the change-slip window: F2
// in either date (or the date's button) opens the manager's date
// quick-pick on the date there, the chosen date lands in that edit in the
// user's format, and the panels' hints say so.
#include "Zorv52Fixture.h"

#include "controls/F2Button.h"
#include "criteria/SelectPnl.h"
#include "suite/hubdesk/TfrmHubDate.h"

namespace {

// The quick-pick as the user answers it: checks where it opened, then
// picks chosen (OK) or cancels (an invalid chosen date).
std::function<int(TForm*)> pick(QDate opensOn, QDate chosen)
{
    return [opensOn, chosen](TForm* shown) {
        auto* picker = qobject_cast<TfrmHubDate*>(shown);
        EXPECT_NE(picker, nullptr) << "the date quick-pick opens";
        if (!picker)
            return int(mrCancel);
        EXPECT_EQ(picker->Date(), opensOn);
        if (!chosen.isValid())
            return int(mrCancel);
        picker->SetDate(chosen);
        return int(mrOk);
    };
}

} // namespace

TEST_F(Zorv52FormTest, F2InADatePanelPicksItsDate)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    TSelectPanel* changed = form->spTO004;
    TSelectPanel* approved = form->spTO043;

    // F2 on the change date's begin, which is empty: the pick opens on today.
    dialogs_->ExpectModal(pick(QDate::currentDate(), QDate(2024, 11, 1)));
    form->FocusControl(changed->edBegin);
    Word key = VK_F2;
    form->FormKeyDown(form, key, {});
    EXPECT_EQ(key, 0);
    EXPECT_EQ(changed->edBegin->Text(), QStringLiteral("2024/11/01"));
    EXPECT_TRUE(changed->edFinal->Text().remove(u'/').trimmed().isEmpty())
        << "the other date stays as it was";

    // Its final date: the pick opens on the date typed there.
    changed->edFinal->SetText(QStringLiteral("2024/11/15"));
    dialogs_->ExpectModal(pick(QDate(2024, 11, 15), QDate(2024, 12, 31)));
    form->FocusControl(changed->edFinal);
    key = VK_F2;
    form->FormKeyDown(form, key, {});
    EXPECT_EQ(changed->edFinal->Text(), QStringLiteral("2024/12/31"));

    // A cancelled pick keeps the date.
    dialogs_->ExpectModal(pick(QDate(2024, 12, 31), QDate()));
    key = VK_F2;
    form->FormKeyDown(form, key, {});
    EXPECT_EQ(changed->edFinal->Text(), QStringLiteral("2024/12/31"));

    // The approval date's button picks for its edit.
    dialogs_->ExpectModal(pick(QDate::currentDate(), QDate(2024, 1, 2)));
    approved->btnFinal->Click();
    EXPECT_EQ(approved->edFinal->Text(), QStringLiteral("2024/01/02"));
    EXPECT_TRUE(approved->edBegin->Text().remove(u'/').trimmed().isEmpty());

    // The picked dates are the criteria of a run.
    approved->edFinal->SetText(QString());
    EnterSlipType(form, QStringLiteral("A511"));
    ASSERT_TRUE(form->PrintOrPreview(true));
    ASSERT_FALSE(record_->OpenedSql.isEmpty());
    EXPECT_TRUE(record_->OpenedSql.last().contains(QStringLiteral("'20241101'")))
        << record_->OpenedSql.last().toStdString();
    EXPECT_TRUE(record_->OpenedSql.last().contains(QStringLiteral("'20241231'")));
}

TEST_F(Zorv52FormTest, TheDatePanelsOfferTheirQuickPickInTheirHints)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    for (TSelectPanel* panel : {form->spTO004, form->spTO043}) {
        SCOPED_TRACE(panel->Name().toStdString());
        EXPECT_EQ(panel->edBegin->Hint(), QStringLiteral("[F2]日期快手"));
        EXPECT_EQ(panel->edFinal->Hint(), QStringLiteral("[F2]日期快手"));
        EXPECT_EQ(panel->btnBegin->Hint(), QStringLiteral("日期快手"));
        EXPECT_EQ(panel->btnFinal->Hint(), QStringLiteral("日期快手"));
    }
    // The number panel keeps its look-up hints.
    EXPECT_EQ(form->spTO002->edBegin->Hint(), QStringLiteral("区间选择-起始信息"));
}
