#pragma once
// The e-mail subject dialog: one edit with a subject the caller proposes;
// OK (BitBtn1) takes the text as typed, Cancel or closing the window keeps
// the last subject taken. Made once per report and kept, so the user's
// subject is proposed again for the next send.

#include "runtime/forms/Buttons.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

class TfrmEmailSubject : public TForm {
    Q_OBJECT
public:
    explicit TfrmEmailSubject(TComponent* owner = nullptr);

    // Puts the proposed subject into the edit.
    void SetSubject(const QString& proposed);
    // The subject the last OK took; empty before the first.
    QString ResultText() const { return resultText_; }
    // Shows the dialog (through the dialog service) with proposed in the
    // edit; true when the user confirmed, and subject is then the text taken.
    bool Ask(const QString& proposed, QString& subject);

    TEdit* edtSubject = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;

private:
    QString resultText_;
};
