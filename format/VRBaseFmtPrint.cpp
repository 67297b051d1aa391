// The print side of the format form: where a run prints (the options
// window's printer setup, or what the preview's print dialog chose), the
// print itself, what the user is told when it does not happen, and the
// print counts of the slips whose pages went out.
//
// Counting follows the pages, not the generation: every slip header notes
// its slip on the page it prints on (NoteSlipPage), whatever the run's
// mode, and only a print that went out counts the slips of the sheets it
// printed. So a preview printed later counts, a cancelled dialog counts
// nothing, and a page range counts only the slips on it.

#include "format/VRBaseFmtF.h"

#include "format/PrintCounts.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace {

QString text(const TfrmVRBaseFmt& form, const char* key, const char* chinese)
{
    return form.GetFormMessage(
        QStringLiteral("TfrmVRBaseFmt"), QString::fromLatin1(key), true, QString::fromUtf8(chinese));
}

} // namespace

TPrintSettings TfrmVRBaseFmt::RunPrintSettings() const
{
    TPrintSettings settings = context_.Printing;
    if (settings.ToFile() || !settings.PrinterName.isEmpty())
        return settings;
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    const int index = context_.PrinterIndex;
    if (index >= 0 && index < printers.size())
        settings.PrinterName = printers.at(index);
    return settings;
}

bool TfrmVRBaseFmt::Print()
{
    const TPrintSettings settings = RunPrintSettings();
    // Said before the pages are made: nothing could take them.
    if (!settings.ToFile() && QPrinterInfo::availablePrinterNames().isEmpty()) {
        TPrintOutcome none;
        none.Result = TPrintOutcome::NoPrinter;
        showPrintFailure(none);
        return false;
    }
    PrintCountMode = pcmPrint;
    QuickRep1->SetReportTitle(DisplayTitle());
    if (!GeneratePages())
        return false;
    return PrintPages(settings);
}

bool TfrmVRBaseFmt::PrintTo(QPrinter& printer)
{
    QuickRep1->QRPrinter()->Complete();
    return QuickRep1->QRPrinter()->Print(printer);
}

bool TfrmVRBaseFmt::PrintPages(const TPrintSettings& settings)
{
    return delivered(QuickRep1->QRPrinter()->Print(settings), settings);
}

bool TfrmVRBaseFmt::PrintWithDialog()
{
    TPrintSettings settings = RunPrintSettings();
    const TPrintOutcome outcome = QuickRep1->QRPrinter()->PrintWithDialog(settings);
    return outcome.Result != TPrintOutcome::Cancelled && delivered(outcome, settings);
}

bool TfrmVRBaseFmt::delivered(const TPrintOutcome& outcome, const TPrintSettings& settings)
{
    if (!outcome.Ok()) {
        showPrintFailure(outcome);
        return false;
    }
    // The next print of this run, and the options window's next run, go
    // where this one went; how (copies, paper ...) stays the window's.
    context_.Printing.Output = settings.Output;
    context_.Printing.PrinterName = settings.ToFile() ? QString() : settings.PrinterName;
    context_.Printing.OutputFile = settings.ToFile() ? settings.OutputFile : QString();
    context_.PrinterIndex = settings.ToFile()
        ? -1
        : static_cast<int>(QPrinterInfo::availablePrinterNames().indexOf(settings.PrinterName));
    CountPrintedSlips(outcome.Sheets);
    return true;
}

void TfrmVRBaseFmt::NoteSlipPage(const TSendGroup& slip)
{
    TSendGroup onPage = slip;
    onPage.Page = QuickRep1->PageNumber();
    slipPages_.Add(onPage);
}

int TfrmVRBaseFmt::CountPrintedSlips(const QList<QPageRanges::Range>& sheets)
{
    // A half-page sheet holds report pages 2s - 1 and 2s.
    const bool half
        = QuickRep1->Pages() ? QuickRep1->Pages()->HalfPage() : QuickRep1->PageStyle() == psHalfPage;
    QList<TSendGroup> printed;
    for (const QPageRanges::Range& range : sheets)
        printed << slipPages_.OnPages(half ? 2 * range.from - 1 : range.from, half ? 2 * range.to : range.to);
    int counted = 0;
    for (const TSendGroup& slip : DistinctSlips(printed))
        if (UpdatePrintCount(context_.ApplicationServer, pcmPrint, slip) >= 0)
            ++counted;
    return counted;
}

int TfrmVRBaseFmt::showCodedMessage(
    const QString& kind, const QString& id, const QStringList& args, const QString& fallback)
{
    if (context_.ShowMessage)
        return context_.ShowMessage(kind, id, args);
    // Without the options window: the text of this form, under its code.
    QString shown = fallback;
    for (const QString& arg : args) {
        const qsizetype at = shown.indexOf(QStringLiteral("%s"));
        if (at >= 0)
            shown.replace(at, 2, arg);
    }
    const TMessageBoxScope scope({kind + u';' + id, {}});
    return Dialogs().MessageDlg(shown, mtError, mbOK, Caption());
}

void TfrmVRBaseFmt::showPrintFailure(const TPrintOutcome& outcome)
{
    if (outcome.Result == TPrintOutcome::NoPrinter) {
        SetLastError(text(*this, "sNoPrinter", "没有可用的打印机!"));
        showCodedMessage(QStringLiteral("E"), QStringLiteral("000040"), {}, LastError());
        return;
    }
    QString reason;
    switch (outcome.Result) {
    case TPrintOutcome::PrinterMissing:
        reason = text(*this, "sPrinterMissing", "找不到打印机: ");
        break;
    case TPrintOutcome::CannotStart:
        reason = text(*this, "sPrintNotStarted", "无法开始打印: ");
        break;
    case TPrintOutcome::NothingToPrint:
        reason = text(*this, "sPrintNoPages", "所选页次没有可打印的页: ");
        break;
    default:
        reason = text(*this, "sPrintUnfinished", "打印未能完成: ");
        break;
    }
    reason += outcome.Detail;
    SetLastError(reason);
    showCodedMessage(
        QStringLiteral("E"), QStringLiteral("000041"), {reason}, text(*this, "sPrintFailed", "打印失败! %s"));
}
