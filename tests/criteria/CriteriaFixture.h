#pragma once
// A demo home with the registry pointing at it, the work-centre manager and
// the application server in this process, and TfrmZorTest: a criteria form
// descended from TfrmBaseGene the way a program's options window descends
// from it, with a range, a list, a user-choice and a date panel, a plain
// edit and a combo box. The look-up object is a stand-in that answers from
// a queue and records the requests; everything else is the real manager's.

#include "criteria/BaseGene.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/AutoObject.h"
#include "support/TestSupport.h"

#include <QList>
#include <gtest/gtest.h>
#include <memory>

class TComboBox;
class TEdit;

class TfrmZorTest : public TfrmBaseGene {
    Q_OBJECT
public:
    explicit TfrmZorTest(TComponent* owner = nullptr);

    TSelectPanel* spNo = nullptr; // range, strings
    TSelectPanel* spType = nullptr; // list
    TSelectPanel* spCheck = nullptr; // user choice
    TSelectPanel* spDate = nullptr; // date range
    TEdit* edRemark = nullptr;
    TComboBox* cboKind = nullptr;

    QStringList okRuns;
    QStringList restored;

    void SetupEnvironment() override;
    // Connects to the server as the options window does: the server serves
    // schemes only to a connected user.
    bool ApplyParams(const Variant& params) override;
    void OpenLookup(Word key, TWinControl* control) override;
    void AfterRestoreControl(TComponent* control, const QString& line) override;

public slots:
    void btnOkClick(TObject* Sender);
};

// The look-up object's stand-in.
class TFakeLookup : public TAutoObject {
public:
    TFakeLookup();
    QList<Variant> answers; // F2GetData answers, first first
    QList<Variant> requests; // what F2GetData was sent
    QString dayAnswer; // what ShowInputDay answers
    Variant dayRequest;
};

class CriteriaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A TfrmZorTest initialised with the shell's usual arguments; false when
    // ApplyParams failed (its error lists tell why).
    std::unique_ptr<TfrmZorTest, FreeComponent> MakeForm(bool initialise = true);
    static QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

    testsupport::TempFolder home_;
    std::unique_ptr<testsupport::ScopedEnv> registry_;
    Variant manager_;
    std::shared_ptr<TFakeLookup> lookup_;
    std::unique_ptr<ScriptedDialogService> dialogs_;
};
