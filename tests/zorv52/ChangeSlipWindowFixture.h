#pragma once
// The change-slip options window as user CHEN opens it on a demo home, with
// the real manager, the in-process server, the real change-slip format and a
// scripted dialog service; for the end-to-end print, send and design tests.
// Tear-down checks that every expected dialog came and none was unexpected.

#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"
#include "suite/appserver/DemoServerFixture.h"
#include "suite/hubdesk/HubDeskManager.h"
#include "zorv52/Zorv52F.h"

#include <functional>
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

    // Expects the slip preview as the next modal window: handler gets its
    // format form and the preview (every page made first when complete) and
    // answers the preview's result. Any other window fails the test and is
    // cancelled.
    void ExpectPreview(std::function<int(TfrmVRBaseFmt*, TfrmVRPreview*)> handler, bool complete = true)
    {
        dialogs_->ExpectModal([handler = std::move(handler), complete](TForm* shown) {
            auto* preview = qobject_cast<TfrmVRPreview*>(shown);
            auto* format = preview ? qobject_cast<TfrmVRBaseFmt*>(preview->Owner()) : nullptr;
            EXPECT_NE(format, nullptr) << "the preview of a format form shows";
            if (!format)
                return int(mrCancel);
            if (complete)
                preview->Report()->QRPrinter()->Complete();
            return handler(format, preview);
        });
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
