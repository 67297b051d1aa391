#include "options/TfrmEmailSubject.h"
#include "runtime/forms/Dialogs.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

TEST(EmailSubject, OkTakesTheTypedSubjectAndCancelKeepsTheLastOne)
{
    TfrmEmailSubject dialog;
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([&](TForm* form) {
        EXPECT_EQ(form, &dialog);
        EXPECT_EQ(dialog.edtSubject->Text(), QStringLiteral("Korvane-ERP 工单变更单打印"));
        EXPECT_EQ(dialog.ActiveControl(), dialog.edtSubject);
        dialog.edtSubject->SetText(QStringLiteral("变更单 A511-20240001"));
        dialog.BitBtn1->Click();
        // What the user sees, for people to look at.
        dialog.Show();
        QApplication::processEvents();
        const QString dir = qEnvironmentVariable("ZORV_BINARY_DIR", QDir::tempPath());
        EXPECT_TRUE(dialog.Widget()->grab().save(dir + QStringLiteral("/options-email-subject.png")));
        dialog.Hide();
        return dialog.ModalResult();
    });
    QString subject;
    ASSERT_TRUE(dialog.Ask(QStringLiteral("Korvane-ERP 工单变更单打印"), subject));
    EXPECT_EQ(subject, QStringLiteral("变更单 A511-20240001"));

    // The next send proposes again; the user types and cancels.
    dialogs.ExpectModal([&](TForm*) {
        dialog.edtSubject->SetText(QStringLiteral("不要"));
        dialog.BitBtn2->Click();
        return dialog.ModalResult();
    });
    QString second = QStringLiteral("unchanged");
    EXPECT_FALSE(dialog.Ask(subject, second));
    EXPECT_EQ(second, QStringLiteral("unchanged"));
    EXPECT_EQ(dialog.ResultText(), subject);
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}
