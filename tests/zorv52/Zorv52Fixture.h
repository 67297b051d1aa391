#pragma once
// The change-slip options window on a demo home: the real manager, the
// in-process application server with its query log on, and a recording
// format form.

#include "RecordingFormat.h"

#include "runtime/forms/Dialogs.h"
#include "suite/appserver/DemoServerFixture.h"
#include "suite/hubdesk/HubDeskManager.h"
#include "zorv52/Zorv52F.h"
#include "zorv52/Zorv52FmtF.h"

#include <QFile>
#include <sqlite3.h>

class Zorv52FormTest : public DemoServerTest {
protected:
    void SetUp() override
    {
        DemoServerTest::SetUp();
        QByteArray ini = home_.read("StewardS.ini");
        ASSERT_TRUE(ini.contains("QueryLog=\r\n"));
        home_.write("StewardS.ini", ini.replace("QueryLog=\r\n", "QueryLog=Log\\query.log\r\n"));
        RegisterHubDesk();
        manager_ = CreateOleObject(QStringLiteral("HubDesk.Manager"));
        record_ = std::make_shared<TFormatRecord>();
        RegisterZorv52Format(RecordingFormatClass(record_).Create);
        dialogs_ = std::make_unique<ScriptedDialogService>();
    }

    void TearDown() override
    {
        EXPECT_TRUE(dialogs_->Failures().isEmpty()) << dialogs_->Failures().join(u'\n').toStdString();
        EXPECT_EQ(dialogs_->Pending(), 0) << "expected dialogs that never came";
        form_.reset();
        dialogs_.reset();
        RegisterZorv52Format(CreateZorv52Format);
        manager_ = Variant();
    }

    TfrmZorv52* Open(const QString& user, const QString& features = QStringLiteral("FEP"))
    {
        form_.reset(CreateForm<TfrmZorv52>());
        form_->SetHostObject(manager_);
        form_->SetModulePath(QStringLiteral("/opt/steward/libZORV52C.so"));
        const bool ok = form_->ApplyParams(Variant::ArrayOf(
            {Variant(user), Variant("HV01"), Variant("DEMO"), Variant(0), Variant(features)}));
        EXPECT_TRUE(ok) << form_->ErrorCodes().toStdString() << form_->ErrorTexts().toStdString();
        return form_.get();
    }

    // The statements the server received, in order.
    QStringList Received() const
    {
        QStringList out;
        const QString log = QString::fromUtf8(home_.read("Log/query.log"));
        // The server logs a provider's request under the provider's name.
        const QString mark = QStringLiteral(" Provider1 received: ");
        for (const QString& line : log.split(u'\n')) {
            const qsizetype at = line.indexOf(mark);
            if (at >= 0)
                out << line.mid(at + mark.size());
        }
        return out;
    }

    // Runs a statement on the demo database directly (what another user or
    // an older program left there).
    void Execute(const char* sql) const
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(DatabaseFile().toUtf8().constData(), &db), SQLITE_OK);
        char* error = nullptr;
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
        const std::string message = error ? error : "";
        sqlite3_free(error);
        sqlite3_close(db);
        ASSERT_EQ(rc, SQLITE_OK) << message;
    }

    // Enters a slip type as the user does: type it, leave the field.
    static void EnterSlipType(TfrmZorv52* form, const QString& type)
    {
        form->edTO001->SetText(type);
        form->edTO001Exit(form->edTO001);
    }

    Variant manager_;
    std::shared_ptr<TFormatRecord> record_;
    std::unique_ptr<ScriptedDialogService> dialogs_;
    std::unique_ptr<TfrmZorv52, FreeComponent> form_;
};
