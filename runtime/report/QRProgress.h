#pragma once
// TQRProgress: the window that follows a report run and lets the user
// cancel it. It shows the pages made and the rows read of the rows known,
// lets pending events run while the report generates (everything runs on
// the user-interface thread), and cancels the run when its Cancel button
// is pressed. It installs itself as the report's progress handler for its
// lifetime and puts the previous handler back when it goes.

#include "runtime/report/QuickRpt.h"

#include <QElapsedTimer>
#include <QPointer>
#include <memory>

class QProgressDialog;
class QWidget;

class TQRProgress {
public:
    explicit TQRProgress(TQuickRep* report, QWidget* parent = nullptr);
    ~TQRProgress();
    TQRProgress(const TQRProgress&) = delete;
    TQRProgress& operator=(const TQRProgress&) = delete;

    // The window (shown while Run runs).
    QProgressDialog* Dialog() const { return dialog_.get(); }
    // The caption above the bar; %1 becomes the pages made so far.
    void SetLabelText(const QString& text) { label_ = text; }
    // Generates every page with the window shown; false when the run was
    // refused or cancelled. Raises as TQuickRep::Prepare does.
    bool Run();

private:
    bool progress(int pages, int rows, int rowCount);

    TQuickRep* report_;
    std::unique_ptr<QProgressDialog> dialog_;
    TQuickRep::ProgressHandler previous_;
    QString label_ = QStringLiteral("%1");
    QElapsedTimer sinceEvents_;
};
