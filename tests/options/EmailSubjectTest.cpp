// The e-mail subject dialog: OK takes what the user typed, anything else
// keeps the proposed subject.
#include "options/EmailSubjectF.h"
#include "runtime/forms/Buttons.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"

#include <gtest/gtest.h>

TEST(EmailSubjectTest, OkTakesTheTypedSubjectCancelKeepsTheProposal)
{
    ScriptedDialogService dialogs;
    QString shown;
    dialogs.ExpectModal([&shown](TForm* form) {
        auto* dialog = qobject_cast<TfrmEmailSubject*>(form);
        shown = dialog->edtSubject->Text();
        dialog->edtSubject->SetText(QStringLiteral("A511-0001 变更通知"));
        dialog->BitBtn1->OnClick()(dialog->BitBtn1);
        return static_cast<int>(mrOk);
    });
    EXPECT_EQ(AskEmailSubject(QStringLiteral("工单变更单")), QStringLiteral("A511-0001 变更通知"));
    EXPECT_EQ(shown, QStringLiteral("工单变更单"));

    dialogs.ExpectModal([](TForm* form) {
        qobject_cast<TfrmEmailSubject*>(form)->edtSubject->SetText(QStringLiteral("typed, then cancelled"));
        return static_cast<int>(mrCancel);
    });
    EXPECT_EQ(AskEmailSubject(QStringLiteral("工单变更单")), QStringLiteral("工单变更单"));
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}
