#include "options/EmailSubjectF.h"

#include "runtime/forms/Buttons.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"

static void initEmailResources()
{
    Q_INIT_RESOURCE(options);
}

TfrmEmailSubject::TfrmEmailSubject(TComponent* owner)
    : THVForm(owner)
{
    initEmailResources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmEmailSubject.dfm"));
    edtSubject = FindComponent<TEdit>(QStringLiteral("edtSubject"));
    BitBtn1 = FindComponent<TBitBtn>(QStringLiteral("BitBtn1"));
    BitBtn2 = FindComponent<TBitBtn>(QStringLiteral("BitBtn2"));
    if (!edtSubject || !BitBtn1)
        throw EComponentError(QStringLiteral("TfrmEmailSubject: the form description lacks its edit"));
}

void TfrmEmailSubject::SetSubject(const QString& subject)
{
    subject_ = subject;
    edtSubject->SetText(subject);
}

void TfrmEmailSubject::BitBtn1Click(TObject*)
{
    subject_ = edtSubject->Text();
}

QString AskEmailSubject(const QString& proposal)
{
    std::unique_ptr<TfrmEmailSubject, FreeComponent> dialog(CreateForm<TfrmEmailSubject>());
    dialog->SetSubject(proposal);
    Dialogs().ShowModal(dialog.get());
    return dialog->Subject();
}
