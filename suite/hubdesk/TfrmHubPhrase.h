#pragma once
// The common-phrase window: the user's phrases in a list, one to add typed
// below it, and the chosen one handed back. Phrases are kept in a text file
// per user (one a line, UTF-8); adding and deleting write it at once.

#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

class TfrmHubPhrase : public TForm {
    Q_OBJECT
public:
    explicit TfrmHubPhrase(TComponent* owner = nullptr);

    // Reads the phrases of fileName (a native path; missing means none).
    void LoadPhrases(const QString& fileName);
    QStringList Phrases() const;
    // Adds a phrase (trimmed; blank or already there: nothing) and saves.
    bool AddPhrase(const QString& phrase);
    // Deletes the phrase at index and saves.
    bool DeletePhrase(int index);
    // The chosen phrase; empty when none is chosen.
    QString Chosen() const;

    TListBox* lstPhrases = nullptr;
    TEdit* edNew = nullptr;
    TButton* btnAdd = nullptr;
    TButton* btnDelete = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;

private:
    bool save() const;

    QString fileName_;
};
