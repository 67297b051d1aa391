#include "runtime/report/QRProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace {

// How often the window gets to handle events (a click on Cancel, a repaint)
// during a run: often enough to feel immediate, rarely enough to cost
// nothing next to the pages.
constexpr int eventMilliseconds = 50;

} // namespace

TQRProgress::TQRProgress(TQuickRep* report, QWidget* parent)
    : report_(report)
    , dialog_(std::make_unique<QProgressDialog>(parent))
    , previous_(report->Progress())
{
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setWindowTitle(report->ReportTitle());
    report_->SetProgressHandler(
        [this](int pages, int rows, int count) { return progress(pages, rows, count); });
}

TQRProgress::~TQRProgress()
{
    report_->SetProgressHandler(previous_);
}

bool TQRProgress::progress(int pages, int rows, int rowCount)
{
    dialog_->setMaximum(std::max(rowCount, 1));
    dialog_->setValue(std::min(rows, std::max(rowCount, 1)));
    dialog_->setLabelText(label_.arg(pages));
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= eventMilliseconds) {
        QCoreApplication::processEvents();
        sinceEvents_.restart();
    }
    if (previous_ && !previous_(pages, rows, rowCount))
        return false;
    return !dialog_->wasCanceled();
}

bool TQRProgress::Run()
{
    dialog_->reset();
    dialog_->show();
    sinceEvents_.invalidate();
    const bool done = report_->Prepare();
    dialog_->hide();
    return done;
}
