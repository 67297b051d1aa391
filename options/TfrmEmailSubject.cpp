#include "options/TfrmEmailSubject.h"

// Resources of a static library are registered by hand (outside any namespace).
static void InitOptionsResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(options);
        return true;
    }();
    (void)done;
}

TfrmEmailSubject::TfrmEmailSubject(TComponent* owner)
    : TForm(owner)
{
    InitOptionsResources();
    ReadFormResource(this, QStringLiteral(":/options/TfrmEmailSubject.dfm"));
    edtSubject = FindComponent<TEdit>(QStringLiteral("edtSubject"));
    BitBtn1 = FindComponent<TBitBtn>(QStringLiteral("BitBtn1"));
    BitBtn2 = FindComponent<TBitBtn>(QStringLiteral("BitBtn2"));
    BitBtn1->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { resultText_ = edtSubject->Text(); }));
}

void TfrmEmailSubject::SetSubject(const QString& proposed)
{
    edtSubject->SetText(proposed);
}

bool TfrmEmailSubject::Ask(const QString& proposed, QString& subject)
{
    SetSubject(proposed);
    // Typing replaces the proposal; an arrow key keeps it for editing.
    SetActiveControl(edtSubject);
    edtSubject->SelectAll();
    if (ShowModal() != mrOk)
        return false;
    subject = resultText_;
    return true;
}
