#pragma once
// "传送": the progress of a fax run, recipient by recipient and page by
// page, with Cancel; it is the run's ISendProgress. Translated when shown.
//
// Start(pages) sets the bar to 0 of the report's page count. Recipient()
// shows the key and "i/n"; File() shows "i/n" of the recipient's pages and
// advances the bar one step. Both let pending events run, so Cancel is
// seen; Cancel sets Cancelled() and calls OnCancel.

#include "common/forms/HVForm.h"
#include "format/SendRun.h"

#include <functional>

class TButton;
class TLabel;
class TProgressBar;

class TfrmVRSendOut : public THVForm, public ISendProgress {
    Q_OBJECT
public:
    explicit TfrmVRSendOut(TComponent* owner = nullptr);

    void Start(int pages);
    void Recipient(const QString& key, int index, int count) override;
    void File(int index, int count) override;
    bool Cancelled() const override { return cancelled_; }
    std::function<void()> OnCancel;

    TLabel* Label2 = nullptr;
    TLabel* txtReceiver = nullptr;
    TLabel* txtReceiveCnt = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* txtPageCnt = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TButton* btnCancel = nullptr;

private:
    bool cancelled_ = false;
};
