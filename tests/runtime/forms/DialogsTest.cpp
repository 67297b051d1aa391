#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/Persistent.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

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
    TPrintSettings settings;
    settings.PrinterName = "Default";
    EXPECT_TRUE(Dialogs().PrintDialog(settings));
    EXPECT_EQ(settings.PrinterName, "Office");
    EXPECT_EQ(settings.Copies, 3);
    EXPECT_EQ(dialogs.Asked().at(1).Printing.PrinterName, "Default")
        << "the dialog opened on the printer given";
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

namespace {

// What a console service wrote, read back from its temporary file.
QString written(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    QByteArray bytes;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, file))
        bytes += buffer;
    return QString::fromUtf8(bytes);
}

} // namespace

TEST(DialogsTest, TheConsoleServiceWritesEachBoxAsALineAndNeverWaits)
{
    ScriptedDialogService fallback; // fails on any dialog that reaches it unexpected
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ConsoleDialogService console(fallback, out);
    qunsetenv(ConsoleErrorsVariable);

    {
        TMessageBoxScope scope({QStringLiteral("E;100007"), {}});
        EXPECT_EQ(
            console.MessageDlg(QString::fromUtf8("单别不存在\r\n或单据性质不符"), mtError, mbOK, "ZORV52"),
            mrOk);
    }
    // A choice is answered by the most cautious button the box offers.
    EXPECT_EQ(console.MessageDlg(
                  "Run without the extended fields?", mtConfirmation, TMsgDlgButtons(mbYes) | mbNo, ""),
        mrNo);
    EXPECT_EQ(console.MessageDlg("No rows.", mtWarning, TMsgDlgButtons(mbOK) | mbCancel, ""), mrCancel);
    EXPECT_EQ(console.MessageBox("Retry?", "", MB_ABORTRETRYIGNORE | MB_ICONERROR), IDABORT);
    QString value = QStringLiteral("kept");
    EXPECT_FALSE(console.InputQuery("Save", "Scheme name", value));
    EXPECT_EQ(value, QStringLiteral("kept"));
    TPrintSettings printer;
    printer.PrinterName = QStringLiteral("Office");
    printer.Copies = 2;
    printer.FromPage = 2;
    printer.ToPage = 3;
    EXPECT_TRUE(console.PrintDialog(printer));
    EXPECT_EQ(printer.PrinterName, QStringLiteral("Office"));
    EXPECT_EQ(printer.Copies, 2);
    EXPECT_EQ(printer.FromPage, 2);
    EXPECT_FALSE(console.PrinterSetupDialog(printer));

    const QString all = written(out);
    std::fclose(out);
    const QStringList lines = all.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7) << all.toStdString();
    EXPECT_EQ(lines.at(0), QString::fromUtf8("E;100007 单别不存在"));
    EXPECT_EQ(lines.at(1), QString::fromUtf8("    或单据性质不符"));
    EXPECT_EQ(lines.at(2), QStringLiteral("question: Run without the extended fields? [answered No]"));
    EXPECT_EQ(lines.at(3), QStringLiteral("warning: No rows. [answered Cancel]"));
    EXPECT_EQ(lines.at(4), QStringLiteral("error: Retry? [answered Abort]"));
    EXPECT_EQ(lines.at(5), QStringLiteral("input not shown (no window): Scheme name"));
    EXPECT_EQ(lines.at(6), QStringLiteral("printer setup not shown (no window): Office"));
    // Two error boxes: the coded one and the MessageBox with the error icon.
    EXPECT_EQ(console.Errors(), 2);
    EXPECT_EQ(qEnvironmentVariableIntValue(ConsoleErrorsVariable), 2);
    EXPECT_TRUE(fallback.Asked().isEmpty());
    qunsetenv(ConsoleErrorsVariable);
}

TEST(DialogsTest, TheEnvironmentChoosesTheConsoleUnlessAServiceIsInstalled)
{
    IDialogService* plain = &Dialogs();
    qputenv(ConsoleMessagesVariable, "console");
    IDialogService* console = &Dialogs();
    EXPECT_NE(console, plain);
    EXPECT_NE(dynamic_cast<ConsoleDialogService*>(console), nullptr);
    {
        ScriptedDialogService scripted;
        EXPECT_EQ(&Dialogs(), &scripted);
    }
    qunsetenv(ConsoleMessagesVariable);
    EXPECT_EQ(&Dialogs(), plain);
}

TEST(DialogsTest, ABoxCarriesTheCodeAndButtonCaptionsOfItsScope)
{
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrYes).ExpectMessage(mrOk).ExpectMessage(mrOk);
    {
        TMessageBoxScope outer({QStringLiteral("D;000001"), {{mbYes, QString::fromUtf8("是(&Y)")}}});
        MessageDlg("first", mtWarning, TMsgDlgButtons(mbYes) | mbNo);
        {
            TMessageBoxScope inner({QStringLiteral("E;000005"), {}});
            MessageDlg("second", mtError, mbOK);
        }
        EXPECT_EQ(CurrentMessageBox().Code, QStringLiteral("D;000001"));
    }
    MessageDlg("third", mtInformation, mbOK);
    ASSERT_EQ(dialogs.Asked().size(), 3);
    EXPECT_EQ(dialogs.Asked().at(0).Code, QStringLiteral("D;000001"));
    EXPECT_EQ(dialogs.Asked().at(0).ButtonCaptions.value(mbYes), QString::fromUtf8("是(&Y)"));
    EXPECT_EQ(dialogs.Asked().at(1).Code, QStringLiteral("E;000005"));
    EXPECT_TRUE(dialogs.Asked().at(1).ButtonCaptions.isEmpty());
    EXPECT_TRUE(dialogs.Asked().at(2).Code.isEmpty());
}

TEST(DialogsTest, TheConsoleRefusesAModalWindowNobodyCouldClose)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    ScriptedDialogService fallback;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ConsoleDialogService console(fallback, out);
    TForm form;
    form.SetCaption(QStringLiteral("Preview"));
    EXPECT_EQ(console.ShowModal(&form), mrCancel);
    const QString all = written(out);
    std::fclose(out);
    EXPECT_EQ(all, QStringLiteral("window not shown (no display): Preview\n"));
    EXPECT_TRUE(fallback.Asked().isEmpty());
}

// The Qt print dialog works on a QPrinter: every choice must come back out
// of it, and a choice of the settings must go into it.
TEST(DialogsTest, PrintSettingsSurviveTheQPrinterADialogWorksOn)
{
    TPrintSettings chosen;
    chosen.Output = TPrintSettings::Destination::PdfFile;
    chosen.OutputFile = QStringLiteral("/tmp/slips.pdf");
    chosen.FromPage = 2;
    chosen.ToPage = 3;
    chosen.Copies = 3;
    chosen.Collate = false;
    chosen.Duplex = TPrintSettings::DuplexMode::ShortSide; // a PDF has no sides: not read back
    chosen.Color = TPrintSettings::ColorMode::GrayScale;
    chosen.Paper = QPageSize(QPageSize::A5);
    chosen.Orientation = QPageLayout::Landscape;
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSettings(chosen, printer);
    const TPrintSettings back = PrintSettingsOf(printer);
    EXPECT_TRUE(back.ToFile());
    EXPECT_EQ(back.OutputFile, chosen.OutputFile);
    EXPECT_EQ(back.FromPage, 2);
    EXPECT_EQ(back.ToPage, 3);
    EXPECT_EQ(back.Copies, 3);
    EXPECT_FALSE(back.Collate);
    EXPECT_EQ(back.Color, TPrintSettings::ColorMode::GrayScale);
    EXPECT_TRUE(back.Paper.isEquivalentTo(QPageSize(QPageSize::A5)));
    EXPECT_EQ(back.Orientation, QPageLayout::Landscape);

    // Back to a printer: the file goes, every page prints again.
    TPrintSettings plain;
    plain.PrinterName = QStringLiteral("Office");
    ApplyPrintSettings(plain, printer);
    const TPrintSettings again = PrintSettingsOf(printer);
    EXPECT_FALSE(again.ToFile());
    EXPECT_TRUE(again.OutputFile.isEmpty());
    EXPECT_TRUE(again.AllPages());
    EXPECT_EQ(plain.DestinationOnly().PrinterName, QStringLiteral("Office"));
    EXPECT_EQ(chosen.DestinationOnly().Copies, 1) << "a destination carries no copies";
    EXPECT_EQ(chosen.DestinationText(), QStringLiteral("PDF: /tmp/slips.pdf"));
}

namespace {

// Answers Qt's print dialog once it shows: the page-set line ("Pages")
// with text, then Print. A message the dialog raises is noted (its title)
// and closed; a dialog still open after it is cancelled.
void answerPageSet(const QString& text, QString* message)
{
    QTimer::singleShot(50, [text, message] {
        QPointer<QPrintDialog> dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            answerPageSet(text, message);
            return;
        }
        auto* pages = dialog->findChild<QRadioButton*>(QStringLiteral("pagesRadioButton"));
        auto* line = dialog->findChild<QLineEdit*>(QStringLiteral("pagesLineEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        if (!pages || !line || !buttons || !pages->isEnabled()) {
            *message = QStringLiteral("no page-set line");
            dialog->reject();
            return;
        }
        pages->setChecked(true);
        line->setText(text);
        QTimer::singleShot(300, [message] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                *message = box->windowTitle();
                box->accept();
            }
        });
        buttons->button(QDialogButtonBox::Ok)->click();
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

// Qt's own print dialog on a CUPS printer (the page-set line is only there
// on one; run with CUPS_SERVER naming a daemon with a queue): a page set
// typed there comes back as the sheets to print, a wrong one is refused
// with Qt's message and the dialog stays until cancelled.
TEST(DialogsTest, TheQtPrintDialogTakesThePageSetTyped)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (printers.isEmpty() || QGuiApplication::platformName() != QStringLiteral("offscreen"))
        GTEST_SKIP() << "needs a CUPS printer and the offscreen platform";
    QtDialogService qt;
    TPrintSettings asked;
    asked.PrinterName = printers.first().printerName();
    asked.PageCount = 5;

    QString message;
    TPrintSettings settings = asked;
    answerPageSet(QStringLiteral("2-3"), &message);
    ASSERT_TRUE(qt.PrintDialog(settings)) << message.toStdString();
    EXPECT_EQ(settings.FromPage, 2);
    EXPECT_EQ(settings.ToPage, 3);
    EXPECT_TRUE(settings.PageRanges.isEmpty()) << "one range is FromPage..ToPage";
    EXPECT_EQ(settings.PrinterName, asked.PrinterName);

    settings = asked;
    answerPageSet(QStringLiteral("3-4,1"), &message);
    ASSERT_TRUE(qt.PrintDialog(settings)) << message.toStdString();
    EXPECT_EQ(settings.PageRanges.toString(), QStringLiteral("1,3-4"));

    settings = asked;
    message.clear();
    answerPageSet(QStringLiteral("3-2"), &message);
    EXPECT_FALSE(qt.PrintDialog(settings));
    EXPECT_FALSE(message.isEmpty()) << "Qt's message on a page set it cannot read";
}
