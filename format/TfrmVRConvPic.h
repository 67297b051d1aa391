#pragma once
// "转图档中": the progress of writing report pages as picture files, with
// Cancel. A stay-on-top dialog in the screen centre, translated when shown.
//
// Start(count) resets the bar to 0 of count; Progress(done, count) moves it
// and shows "done/count", then lets pending events run so that a click on
// Cancel arrives while the pages are written. Cancel sets Cancelled() and
// calls OnCancel (the format form raises its own flag there); the writer
// stops at its next Progress().

#include "common/forms/HVForm.h"

#include <functional>

class TButton;
class TLabel;
class TProgressBar;

class TfrmVRConvPic : public THVForm {
    Q_OBJECT
public:
    explicit TfrmVRConvPic(TComponent* owner = nullptr);

    void Start(int count);
    void Progress(int done, int count);
    bool Cancelled() const { return cancelled_; }
    std::function<void()> OnCancel;

    TProgressBar* ProgressBar = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* lblState = nullptr;
    TButton* btnCancel = nullptr;

private:
    bool cancelled_ = false;
};

// Loads the format folder's form descriptions; each form calls it first.
void InitFormatResources();
