#pragma once
// Form classes the tests build: a sample form with a built-in layout and
// handlers, and a descendant that adds to it.

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class TfrmSample : public TForm {
    Q_OBJECT
    Q_PROPERTY(TButton* btnOK MEMBER btnOK)
    Q_PROPERTY(TEdit* edCode MEMBER edCode)
public:
    explicit TfrmSample(TComponent* owner = nullptr);

    TButton* btnOK = nullptr;
    TEdit* edCode = nullptr;
    QStringList Calls; // handler calls in order, "name:sender"

public slots:
    void btnOKClick(TObject* Sender);
    void btnCancelClick(TObject* Sender);
    void edCodeExit(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    // Wrong shape for a notify event: binding it must fail.
    void BadHandler(int value);

public:
    bool AllowClose = true;
    Word SwallowKey = 0;
};

class TfrmSampleChild : public TfrmSample {
    Q_OBJECT
public:
    explicit TfrmSampleChild(TComponent* owner = nullptr);
};

void RegisterSampleForms();

// A page control on form with count sheets captioned "0", "1", ...
inline QList<TTabSheet*> AddPageControlWithSheets(TForm& form, TPageControl*& pages, int count)
{
    pages = new TPageControl(&form);
    pages->SetParent(&form);
    QList<TTabSheet*> sheets;
    for (int i = 0; i < count; ++i) {
        auto* sheet = new TTabSheet(&form);
        sheet->SetCaption(QString::number(i));
        sheet->SetParent(pages);
        sheets << sheet;
    }
    return sheets;
}
