// What the user chooses in the print dialog reaches the printed pages:
// where they go (a PDF file here), which sheets, how many copies in which
// order, on which paper; and a print that cannot happen says why instead
// of printing nothing in silence.

#include "ReportFixture.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRPrinter.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QPageRanges>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace reporttest;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(20000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pdfPages(const QString& path)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                                          .match(run(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfPageText(const QString& path, int page)
{
    return run(QStringLiteral("pdftotext"),
        {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page), path,
            QStringLiteral("-")});
}

class PrintSettingsTest : public ::testing::Test {
protected:
    PrintSettingsTest()
        : source_({"NAME"})
    {
        // 40 rows a page: four sheets, each row naming its sheet.
        for (int i = 1; i <= 160; ++i)
            source_.AddRow({QStringLiteral("sheet%1 row%2").arg((i - 1) / 40 + 1).arg(i)});
        report_ = MakeReport();
        report_->SetDataSource(&source_);
        auto* detail = AddBand(report_.get(), "Detail", 20);
        AddField(detail, "NAME", 100, 0)->SetWidth(300);
    }

    // The sheet a PDF page shows, by the rows printed on it (0: none).
    static int sheetOn(const QString& pdf, int page)
    {
        const QRegularExpressionMatch m
            = QRegularExpression(QStringLiteral("sheet(\\d+) row")).match(pdfPageText(pdf, page));
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }

    TPrintSettings toFile(const QString& path) const
    {
        TPrintSettings settings;
        settings.Output = TPrintSettings::Destination::PdfFile;
        settings.OutputFile = path;
        return settings;
    }

    TQRMemorySource source_;
    std::unique_ptr<TQuickRep, FreeComponent> report_;
    testsupport::TempFolder folder_;
};

} // namespace

TEST_F(PrintSettingsTest, TheRangeChosenInTheDialogPrintsExactlyThoseSheets)
{
    ASSERT_TRUE(report_->Prepare());
    ASSERT_EQ(report_->QRPrinter()->PageCount(), 4);
    const QString pdf = folder_.file("range.pdf");
    ScriptedDialogService dialogs;
    dialogs.ExpectPrint([&](TPrintSettings& s) {
        s.Output = TPrintSettings::Destination::PdfFile;
        s.OutputFile = pdf;
        s.FromPage = 2;
        s.ToPage = 3;
    });
    TPrintSettings settings;
    const TPrintOutcome outcome = report_->QRPrinter()->PrintWithDialog(settings);
    ASSERT_TRUE(outcome.Ok()) << outcome.Detail.toStdString();
    EXPECT_EQ(outcome.FromSheet, 2);
    EXPECT_EQ(outcome.ToSheet, 3);
    // The dialog was told what there is to print, on which paper.
    const TPrintSettings& offered = dialogs.Asked().at(0).Printing;
    EXPECT_EQ(offered.PageCount, 4);
    EXPECT_TRUE(offered.Paper.isEquivalentTo(QPageSize(QPageSize::Letter)));
    EXPECT_EQ(settings.OutputFile, pdf) << "the caller learns what was chosen";
    EXPECT_EQ(pdfPages(pdf), 2);
    EXPECT_EQ(sheetOn(pdf, 1), 2);
    EXPECT_EQ(sheetOn(pdf, 2), 3);
    EXPECT_EQ(dialogs.Pending(), 0);
}

// The print dialog's page-set line ("Pages: 3-4,1") leaves its ranges on
// the printer it worked on, sorted: exactly those sheets print, in order.
TEST_F(PrintSettingsTest, APageSetOfSeveralRangesPrintsThoseSheetsInOrder)
{
    ASSERT_TRUE(report_->Prepare());
    const QString pdf = folder_.file("page-set.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setPageRanges(QPageRanges::fromString(QStringLiteral("3-4,1")));
    const TPrintSettings chosen = PrintSettingsOf(printer);
    const TPrintOutcome outcome = report_->QRPrinter()->Print(chosen);
    ASSERT_TRUE(outcome.Ok()) << outcome.Detail.toStdString();
    ASSERT_EQ(pdfPages(pdf), 3);
    EXPECT_EQ(QList<int>({sheetOn(pdf, 1), sheetOn(pdf, 2), sheetOn(pdf, 3)}), QList<int>({1, 3, 4}));
    EXPECT_EQ(outcome.FromSheet, 1);
    EXPECT_EQ(outcome.ToSheet, 4);
}

TEST_F(PrintSettingsTest, PageSetsTravelWithTheSettingsAndEndAtTheLastSheet)
{
    ASSERT_TRUE(report_->Prepare());
    TPrintSettings settings = toFile(folder_.file("ranges.pdf"));
    settings.PageRanges = QPageRanges::fromString(QStringLiteral("1,3-4"));
    EXPECT_FALSE(settings.AllPages());
    // The dialog opens on them and gives them back.
    QPrinter printer(QPrinter::HighResolution);
    ApplyPrintSettings(settings, printer);
    const TPrintSettings back = PrintSettingsOf(printer);
    EXPECT_EQ(back.PageRanges.toString(), QStringLiteral("1,3-4"));
    EXPECT_EQ(back.FromPage, 1);
    EXPECT_EQ(back.ToPage, 4);

    settings.Copies = 2;
    const TPrintOutcome twice = report_->QRPrinter()->Print(settings);
    ASSERT_TRUE(twice.Ok()) << twice.Detail.toStdString();
    ASSERT_EQ(twice.Sheets.size(), 2);
    EXPECT_EQ(twice.Sheets.at(0).from, 1);
    EXPECT_EQ(twice.Sheets.at(0).to, 1);
    EXPECT_EQ(twice.Sheets.at(1).from, 3);
    EXPECT_EQ(twice.Sheets.at(1).to, 4);
    const QString pdf = settings.OutputFile;
    ASSERT_EQ(pdfPages(pdf), 6) << "sheets 1, 3 and 4, collated, twice";
    QList<int> shown;
    for (int page = 1; page <= 6; ++page)
        shown << sheetOn(pdf, page);
    EXPECT_EQ(shown, QList<int>({1, 3, 4, 1, 3, 4}));

    // A range past the last sheet drops out; none left: nothing printed.
    TPrintSettings past = toFile(folder_.file("past-set.pdf"));
    past.PageRanges = QPageRanges::fromString(QStringLiteral("2,6-9"));
    const TPrintOutcome one = report_->QRPrinter()->Print(past);
    ASSERT_TRUE(one.Ok()) << one.Detail.toStdString();
    EXPECT_EQ(pdfPages(past.OutputFile), 1);
    EXPECT_EQ(sheetOn(past.OutputFile, 1), 2);
    past.PageRanges = QPageRanges::fromString(QStringLiteral("5,7-9"));
    past.OutputFile = folder_.file("none-set.pdf");
    const TPrintOutcome none = report_->QRPrinter()->Print(past);
    EXPECT_EQ(none.Result, TPrintOutcome::NothingToPrint);
    EXPECT_EQ(none.Detail, QStringLiteral("5,7-9 / 4"));
    EXPECT_FALSE(folder_.exists("none-set.pdf"));
}

TEST_F(PrintSettingsTest, CopiesComeCollatedOrSheetBySheet)
{
    ASSERT_TRUE(report_->Prepare());
    TPrintSettings settings = toFile(folder_.file("collated.pdf"));
    settings.FromPage = 3;
    settings.Copies = 2;
    ASSERT_TRUE(report_->QRPrinter()->Print(settings).Ok());
    const QString collated = folder_.file("collated.pdf");
    ASSERT_EQ(pdfPages(collated), 4) << "sheets 3 and 4, twice";
    EXPECT_EQ(
        QList<int>({sheetOn(collated, 1), sheetOn(collated, 2), sheetOn(collated, 3), sheetOn(collated, 4)}),
        QList<int>({3, 4, 3, 4}));

    settings.OutputFile = folder_.file("uncollated.pdf");
    settings.Collate = false;
    ASSERT_TRUE(report_->QRPrinter()->Print(settings).Ok());
    const QString uncollated = settings.OutputFile;
    EXPECT_EQ(QList<int>({sheetOn(uncollated, 1), sheetOn(uncollated, 2), sheetOn(uncollated, 3),
                  sheetOn(uncollated, 4)}),
        QList<int>({3, 3, 4, 4}));
}

TEST_F(PrintSettingsTest, OtherPaperTakesTheSheetScaledToFit)
{
    ASSERT_TRUE(report_->Prepare());
    TPrintSettings settings = toFile(folder_.file("a4.pdf"));
    settings.Paper = QPageSize(QPageSize::A4);
    settings.ToPage = 1;
    ASSERT_TRUE(report_->QRPrinter()->Print(settings).Ok());
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {settings.OutputFile}).contains(QStringLiteral("(A4)")));
    EXPECT_EQ(sheetOn(settings.OutputFile, 1), 1);
    // Without a paper of its own the print keeps the report's.
    settings.Paper = QPageSize();
    settings.OutputFile = folder_.file("letter.pdf");
    ASSERT_TRUE(report_->QRPrinter()->Print(settings).Ok());
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {settings.OutputFile}).contains(QStringLiteral("(letter)")));
}

TEST_F(PrintSettingsTest, APrintThatCannotHappenSaysWhyAndWritesNothing)
{
    ASSERT_TRUE(report_->Prepare());
    TQRPrinter* printer = report_->QRPrinter();

    ScriptedDialogService dialogs;
    dialogs.ExpectPrint(nullptr);
    TPrintSettings settings = toFile(folder_.file("never.pdf"));
    EXPECT_EQ(printer->PrintWithDialog(settings).Result, TPrintOutcome::Cancelled);
    EXPECT_EQ(settings.Paper, QPageSize()) << "a cancelled dialog leaves the settings as they were";
    EXPECT_FALSE(folder_.exists("never.pdf"));

    const TPrintOutcome noFolder = printer->Print(toFile(folder_.file("missing/folder/out.pdf")));
    EXPECT_EQ(noFolder.Result, TPrintOutcome::CannotStart);
    EXPECT_TRUE(noFolder.Detail.contains(folder_.file("missing/folder/out.pdf")))
        << noFolder.Detail.toStdString();
    EXPECT_GT(noFolder.Detail.size(), folder_.file("missing/folder/out.pdf").size())
        << "with the system's reason";

    const TPrintOutcome noName = printer->Print(toFile(QString()));
    EXPECT_EQ(noName.Result, TPrintOutcome::CannotStart);

    TPrintSettings pastTheEnd = toFile(folder_.file("past.pdf"));
    pastTheEnd.FromPage = 5;
    pastTheEnd.ToPage = 9;
    const TPrintOutcome past = printer->Print(pastTheEnd);
    EXPECT_EQ(past.Result, TPrintOutcome::NothingToPrint);
    EXPECT_EQ(past.Detail, QStringLiteral("5-9 / 4"));
    EXPECT_FALSE(folder_.exists("past.pdf"));

    TPrintSettings missing;
    missing.PrinterName = QStringLiteral("no such printer here");
    const TPrintOutcome gone = printer->Print(missing);
    EXPECT_EQ(gone.Result, TPrintOutcome::PrinterMissing);
    EXPECT_EQ(gone.Detail, QStringLiteral("no such printer here"));
    EXPECT_FALSE(gone.Ok());
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST_F(PrintSettingsTest, TheDefaultPrinterOfAMachineWithoutPrintersIsNone)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has printers";
    ASSERT_TRUE(report_->Prepare());
    EXPECT_EQ(report_->QRPrinter()->Print(TPrintSettings()).Result, TPrintOutcome::NoPrinter);
}

TEST_F(PrintSettingsTest, NothingGeneratedNothingPrinted)
{
    const TPrintOutcome outcome = report_->QRPrinter()->Print(toFile(folder_.file("empty.pdf")));
    EXPECT_EQ(outcome.Result, TPrintOutcome::NothingToPrint);
    EXPECT_FALSE(folder_.exists("empty.pdf"));
}
