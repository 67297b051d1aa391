#include "HvnFaxApplication.h"

#include "FaxDocument.h"
#include "FaxSettings.h"
#include "SendFaxJob.h"

#include "runtime/system/SystemFacts.h"

#include <QTemporaryDir>

#include <memory>

namespace {

// Constant-initialised: the module's main block registers this object while
// the library is being loaded, before any dynamically initialised object of
// this file exists (a QString here was still empty then, and the object
// was registered under the empty name).
constexpr QLatin1String ProgId("HVNFAX.APP");

[[noreturn]] void fail(const QString& message)
{
    throw EOleError(message);
}

class TFaxSender : public TAutoObject {
public:
    explicit TFaxSender(TFaxSettings settings)
        : TAutoObject(QStringLiteral("HVNFAX.SendFax"))
        , settings_(std::move(settings))
    {
        AddMethod(QStringLiteral("ConnectFaxServer"),
            [this](VariantList& args) { return Variant(connect(Arg(args, 0).ToString())); });
        AddMethod(QStringLiteral("AddFaxFile"), [this](VariantList& args) {
            addFile(Arg(args, 0).ToString());
            return Variant(true);
        });
        AddMethod(QStringLiteral("SendFax"), [this](VariantList& args) {
            send(Arg(args, 0).ToString(), Arg(args, 1).ToString(), Arg(args, 2).ToString(),
                !Arg(args, 3).IsEmptyOrNull() && Arg(args, 3).ToInt() != 0);
            return Variant(true);
        });
        AddMethod(QStringLiteral("DisconnectFaxServer"), [this](VariantList&) {
            disconnect();
            return Variant();
        });
        // Why the last ConnectFaxServer answered false; empty after a connection.
        AddProperty(QStringLiteral("LastError"), [this](VariantList&) { return Variant(lastError_); });
    }

private:
    bool connect(const QString& host)
    {
        disconnect();
        lastError_.clear();
        if (!TFaxServer::IsHost(host.trimmed())) {
            lastError_ = host.trimmed().isEmpty()
                ? QStringLiteral("No fax server was chosen")
                : QStringLiteral("\"%1\" is no fax server").arg(host.trimmed());
            return false;
        }
        if (TSendFaxJob::ProgramPath(settings_.SendFaxProgram).isEmpty()) {
            lastError_ = QStringLiteral("The fax client \"%1\" is not installed (package hylafax-client)")
                             .arg(settings_.SendFaxProgram);
            return false;
        }
        host_ = host.trimmed();
        return true;
    }

    void addFile(const QString& path)
    {
        if (!work_) {
            // The system's temporary folder, never "/" when $TMPDIR names a missing folder.
            work_ = std::make_unique<QTemporaryDir>(GetTempFolder() + QStringLiteral("hvnfax-XXXXXX"));
            if (!work_->isValid())
                fail(QStringLiteral("No temporary folder for the fax pages"));
        }
        QString error;
        const QString document = FaxableDocument(path, work_->path(), error);
        if (document.isEmpty())
            fail(error);
        files_ << document;
    }

    void send(const QString& number, const QString& recipient, const QString& user, bool cover)
    {
        if (host_.isEmpty())
            fail(QStringLiteral("Not connected to a fax server"));
        TSendFaxJob job;
        job.Program = settings_.SendFaxProgram;
        job.TimeoutSeconds = settings_.TimeoutSeconds;
        job.Host = host_;
        job.Number = number.trimmed();
        job.Identifier = recipient;
        job.Sender = user;
        job.CoverPage = cover;
        job.Files = files_;
        const QString error = job.Run();
        if (!error.isEmpty())
            fail(error);
    }

    void disconnect()
    {
        host_.clear();
        files_.clear();
        work_.reset(); // removes the PDF pages made from pictures
    }

    TFaxSettings settings_;
    QString lastError_;
    QString host_;
    QStringList files_;
    std::unique_ptr<QTemporaryDir> work_;
};

class THvnFaxApplication : public TAutoObject {
public:
    THvnFaxApplication()
        : TAutoObject(ProgId)
    {
        AddMethod(QStringLiteral("RefreshFaxServerInfo"), [this](VariantList&) {
            settings_ = TFaxSettings::ReadClientIni();
            return Variant(true);
        });
        AddProperty(QStringLiteral("FaxServerCount"),
            [this](VariantList&) { return Variant(int(settings_.Servers.size())); });
        AddMethod(QStringLiteral("GetFaxServerInfo"), [this](VariantList& args) {
            const int index = Arg(args, 0).ToInt();
            if (index < 0 || index >= settings_.Servers.size())
                return Variant(false);
            SetOut(args, 1, settings_.Servers[index].Name);
            SetOut(args, 2, settings_.Servers[index].Host);
            return Variant(true);
        });
        // The sending object reads its own settings: it may be made without a refresh.
        AddProperty(QStringLiteral("SendFax"), [](VariantList&) {
            return Variant(std::make_shared<TFaxSender>(TFaxSettings::ReadClientIni()));
        });
    }

private:
    TFaxSettings settings_;
};

} // namespace

void RegisterHvnFax()
{
    AutoObjectFactory::Register(ProgId, [] { return std::make_shared<THvnFaxApplication>(); });
}
