#include "suite/hubdesk/TfrmHubPhrase.h"

#include "runtime/forms/Dialogs.h"
#include "runtime/system/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void InitHubDeskResources();

TfrmHubPhrase::TfrmHubPhrase(TComponent* owner)
    : TForm(owner)
{
    InitHubDeskResources();
    ReadFormResource(this, QStringLiteral(":/hubdesk/TfrmHubPhrase.dfm"));
    lstPhrases = FindComponent<TListBox>(QStringLiteral("lstPhrases"));
    edNew = FindComponent<TEdit>(QStringLiteral("edNew"));
    btnAdd = FindComponent<TButton>(QStringLiteral("btnAdd"));
    btnDelete = FindComponent<TButton>(QStringLiteral("btnDelete"));
    btnOK = FindComponent<TButton>(QStringLiteral("btnOK"));
    btnCancel = FindComponent<TButton>(QStringLiteral("btnCancel"));
    btnAdd->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) {
        if (AddPhrase(edNew->Text()))
            edNew->SetText(QString());
    }));
    btnDelete->SetOnClick(
        TNotifyEvent::Of(this, [this](TObject*) { DeletePhrase(lstPhrases->ItemIndex()); }));
    btnOK->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) {
        if (!Chosen().isEmpty())
            SetModalResult(mrOk);
    }));
    lstPhrases->SetOnDblClick(TNotifyEvent::Of(this, [this](TObject*) {
        if (!Chosen().isEmpty())
            SetModalResult(mrOk);
    }));
}

void TfrmHubPhrase::LoadPhrases(const QString& fileName)
{
    fileName_ = fileName;
    lstPhrases->Items()->Clear();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString phrase = line.trimmed();
        if (!phrase.isEmpty())
            lstPhrases->Items()->Add(phrase);
    }
    if (lstPhrases->Items()->Count() > 0)
        lstPhrases->SetItemIndex(0);
}

QStringList TfrmHubPhrase::Phrases() const
{
    QStringList out;
    for (int i = 0; i < lstPhrases->Items()->Count(); ++i)
        out << lstPhrases->Items()->Strings(i);
    return out;
}

bool TfrmHubPhrase::save() const
{
    if (fileName_.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(fileName_).absolutePath());
    return WriteWholeFile(fileName_, QByteArrayView((Phrases().join(u'\n') + u'\n').toUtf8()));
}

bool TfrmHubPhrase::AddPhrase(const QString& phrase)
{
    // One phrase is one line of the file.
    const QString p = QString(phrase).replace(u'\r', u' ').replace(u'\n', u' ').trimmed();
    if (p.isEmpty() || Phrases().contains(p))
        return false;
    lstPhrases->SetItemIndex(lstPhrases->Items()->Add(p));
    if (!save()) {
        ShowMessage(QStringLiteral("无法保存常用词组!"));
        return false;
    }
    return true;
}

bool TfrmHubPhrase::DeletePhrase(int index)
{
    if (index < 0 || index >= lstPhrases->Items()->Count())
        return false;
    lstPhrases->Items()->Delete(index);
    lstPhrases->SetItemIndex(std::min(index, lstPhrases->Items()->Count() - 1));
    if (!save()) {
        ShowMessage(QStringLiteral("无法保存常用词组!"));
        return false;
    }
    return true;
}

QString TfrmHubPhrase::Chosen() const
{
    const int i = lstPhrases->ItemIndex();
    return i >= 0 && i < lstPhrases->Items()->Count() ? lstPhrases->Items()->Strings(i) : QString();
}
