#pragma once
// TfrmEmailSubject: the small dialog that asks for the subject of an e-mail.
// The caller proposes a subject (SetSubject), shows the dialog modally
// through the dialog service and reads Subject() afterwards: the edit's text
// when the user confirmed with OK, the proposal otherwise.

#include "common/forms/HVForm.h"

class TBitBtn;
class TEdit;

class TfrmEmailSubject : public THVForm {
    Q_OBJECT
public:
    explicit TfrmEmailSubject(TComponent* owner = nullptr);

    void SetSubject(const QString& subject);
    QString Subject() const { return subject_; }

    TEdit* edtSubject = nullptr;
    TBitBtn* BitBtn1 = nullptr;
    TBitBtn* BitBtn2 = nullptr;

public slots:
    void BitBtn1Click(TObject* Sender);

private:
    QString subject_;
};

// Asks for a subject, starting from proposal; the proposal when cancelled.
QString AskEmailSubject(const QString& proposal);
