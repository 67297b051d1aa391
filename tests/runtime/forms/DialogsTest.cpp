#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Persistent.h"

#include <gtest/gtest.h>

TEST(DialogsTest, ScriptedServiceAnswersInOrderAndRecordsTheQuestions)
{
    ScriptedDialogService dialogs;
    EXPECT_EQ(&Dialogs(), &dialogs);
    dialogs.ExpectMessage(mrYes, "delete").ExpectInput(true, "Scheme A").ExpectInput(false, "ignored");
    EXPECT_EQ(MessageDlg("Really delete?", mtConfirmation, TMsgDlgButtons(mbYes) | mbNo), mrYes);
    EXPECT_EQ(InputBox("Save", "Name", "default"), "Scheme A");
    EXPECT_EQ(InputBox("Save", "Name", "default"), "default");
    ASSERT_EQ(dialogs.Asked().size(), 3);
    EXPECT_EQ(dialogs.Asked().at(0).Type, mtConfirmation);
    EXPECT_EQ(dialogs.Asked().at(0).Buttons, TMsgDlgButtons(mbYes) | mbNo);
    EXPECT_EQ(dialogs.Asked().at(1).Value, "default");
    EXPECT_EQ(dialogs.Pending(), 0);
}

TEST(DialogsTest, AnUnexpectedDialogFailsLoudly)
{
    ScriptedDialogService dialogs;
    EXPECT_THROW(ShowMessage("surprise"), EUnexpectedDialog);
    dialogs.ExpectMessage(mrOk, "saved");
    EXPECT_THROW(ShowMessage("something else"), EUnexpectedDialog);
    dialogs.ExpectInput(true, "x");
    EXPECT_THROW(ShowMessage("not an input"), EUnexpectedDialog);
    ASSERT_EQ(dialogs.Failures().size(), 3u);
    EXPECT_EQ(dialogs.Failures().at(0), "Unexpected Message dialog: \"surprise\"");
    // A refused step stays at the head of the script.
    EXPECT_EQ(dialogs.Failures().at(1), "Expected a Message dialog about \"saved\", got \"something else\"");
    EXPECT_EQ(dialogs.Failures().at(2), "Expected a Message dialog about \"saved\", got \"not an input\"");
    EXPECT_EQ(dialogs.Pending(), 2);
    ShowMessage("saved at last");
    EXPECT_THROW(ShowMessage("not an input"), EUnexpectedDialog);
    EXPECT_EQ(dialogs.Failures().at(3), "Expected a Input dialog, got Message: \"not an input\"");
}

TEST(DialogsTest, FileAndPrinterDialogsReturnTheScriptedChoice)
{
    ScriptedDialogService dialogs;
    ScriptedDialogService::Answer file;
    file.Value = "/tmp/out.pdf";
    dialogs.Expect(DialogKind::SaveFile, file);
    ScriptedDialogService::Answer printer;
    printer.Value = "Office";
    printer.Result = 3;
    dialogs.Expect(DialogKind::Print, printer);
    ScriptedDialogService::Answer refused;
    refused.Accepted = false;
    dialogs.Expect(DialogKind::Color, refused);

    FileDialogOptions options;
    options.Filter = "PDF (*.pdf)|*.pdf";
    EXPECT_TRUE(Dialogs().SaveDialog(options));
    EXPECT_EQ(options.FileName, "/tmp/out.pdf");
    EXPECT_EQ(dialogs.Asked().at(0).Filter, "PDF (*.pdf)|*.pdf");
    QString name = "Default";
    int copies = 1;
    EXPECT_TRUE(Dialogs().PrintDialog(name, copies));
    EXPECT_EQ(name, "Office");
    EXPECT_EQ(copies, 3);
    TColor color = clRed;
    EXPECT_FALSE(Dialogs().ColorDialog(color));
    EXPECT_EQ(color, clRed);
}

TEST(DialogsTest, TheServiceIsRestoredWhenTheScriptEnds)
{
    IDialogService* before = &Dialogs();
    {
        ScriptedDialogService outer;
        {
            ScriptedDialogService inner;
            EXPECT_EQ(&Dialogs(), &inner);
        }
        EXPECT_EQ(&Dialogs(), &outer);
    }
    EXPECT_EQ(&Dialogs(), before);
}
