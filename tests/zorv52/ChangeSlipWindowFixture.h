#pragma once
// The change-slip options window as user CHEN opens it on a demo home, with
// the real manager, the in-process server, the real change-slip format and a
// scripted dialog service; for the end-to-end print, send and design tests.
// Tear-down checks that every expected dialog came and none was unexpected.

#include "runtime/forms/Dialogs.h"
#include "suite/appserver/DemoServerFixture.h"
#include "suite/hubdesk/HubDeskManager.h"
#include "zorv52/Zorv52F.h"

#include <memory>

class ChangeSlipWindowTest : public DemoServerTest {
protected:
    // loggedInManager: the manager logs in as CHEN, as the shell does; its
    // catalogue answers statements of its own (the format-name length) only then.
    // database: the company database the window opens (a PostgreSQL demo
    // is named after its schema).
    void OpenWindow(bool loggedInManager = false, const QString& database = QStringLiteral("DEMO"))
    {
        RegisterHubDesk();
        manager_ = CreateOleObject(QStringLiteral("HubDesk.Manager"));
        if (loggedInManager)
            manager_.Set(QStringLiteral("UserCode"), "CHEN");
        dialogs_ = std::make_unique<ScriptedDialogService>();
        form_.reset(CreateForm<TfrmZorv52>());
        form_->SetHostObject(manager_);
        form_->SetModulePath(QStringLiteral("/opt/steward/libZORV52C.so"));
        ASSERT_TRUE(form_->ApplyParams(Variant::ArrayOf(
            {Variant("CHEN"), Variant("HV01"), Variant(database), Variant(0), Variant("FEP")})))
            << form_->ErrorCodes().toStdString();
    }

    void TearDown() override
    {
        if (!dialogs_)
            return; // skipped before the window opened
        EXPECT_TRUE(dialogs_->Failures().isEmpty()) << dialogs_->Failures().join(u'\n').toStdString();
        EXPECT_EQ(dialogs_->Pending(), 0) << "expected dialogs that never came";
        form_.reset();
        dialogs_.reset();
        manager_ = Variant();
    }

    Variant manager_;
    std::unique_ptr<ScriptedDialogService> dialogs_;
    std::unique_ptr<TfrmZorv52, FreeComponent> form_;
};
