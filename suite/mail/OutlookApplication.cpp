#include "OutlookApplication.h"

#include "MailSettings.h"
#include "MimeMessage.h"
#include "SmtpSender.h"

#include <QFile>
#include <QFileInfo>

#include <memory>

namespace {

// Constant-initialised: the module's main block registers this object while
// the library is being loaded, before any dynamically initialised object of
// this file exists (a QString here was still empty then, and the object
// was registered under the empty name).
constexpr QLatin1String ProgId("Outlook.Application");
// Outlook's item kind of a mail message.
constexpr int MailItemKind = 0;

[[noreturn]] void fail(const QString& message)
{
    throw EOleError(message);
}

class TOutlookAttachments : public TAutoObject {
public:
    TOutlookAttachments()
        : TAutoObject(QStringLiteral("Attachments"))
    {
        AddMethod(QStringLiteral("Add"), [this](VariantList& args) { return add(Arg(args, 0).ToString()); });
        AddProperty(QStringLiteral("Count"), [this](VariantList&) { return Variant(int(files_.size())); });
    }

    const QList<TMailAttachment>& Files() const { return files_; }
    bool Locked = false;

private:
    Variant add(const QString& path)
    {
        if (Locked)
            fail(QStringLiteral("The item has been sent"));
        QFile file(path);
        if (path.isEmpty() || !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("Cannot add the attachment; the file \"%1\" cannot be read").arg(path));
        files_ << TMailAttachment {QFileInfo(path).fileName(), file.readAll()};
        return Variant(int(files_.size()));
    }

    QList<TMailAttachment> files_;
};

class TOutlookMailItem : public TAutoObject {
public:
    TOutlookMailItem()
        : TAutoObject(QStringLiteral("MailItem"))
        , attachments_(std::make_shared<TOutlookAttachments>())
    {
        addText(QStringLiteral("To"), to_);
        addText(QStringLiteral("Subject"), subject_);
        addText(QStringLiteral("Body"), body_);
        AddProperty(QStringLiteral("Attachments"), [this](VariantList&) { return Variant(attachments_); });
        AddProperty(QStringLiteral("Sent"), [this](VariantList&) { return Variant(attachments_->Locked); });
        AddMethod(QStringLiteral("Send"), [this](VariantList&) {
            send();
            return Variant();
        });
    }

private:
    void addText(const QString& name, QString& field)
    {
        AddProperty(
            name, [&field](VariantList&) { return Variant(field); },
            [this, &field](const Variant& value) {
                if (attachments_->Locked)
                    fail(QStringLiteral("The item has been sent"));
                field = value.ToString();
            });
    }

    void send()
    {
        if (attachments_->Locked)
            fail(QStringLiteral("The item has been sent"));
        TMimeMessage message;
        QString error;
        if (!ParseRecipients(to_, message.To, error))
            fail(error);
        if (message.To.isEmpty())
            fail(QStringLiteral("There must be at least one name in the To box"));
        const TMailSettings settings = TMailSettings::ReadClientIni();
        error = settings.Validate();
        if (!error.isEmpty())
            fail(error);
        message.From = settings.From;
        message.Subject = subject_;
        message.Body = body_;
        message.Attachments = attachments_->Files();
        QStringList recipients;
        for (const TMailAddress& address : message.To)
            recipients << address.Address;
        error = SendSmtp(settings, settings.From, recipients, message.Compose());
        if (!error.isEmpty())
            fail(QStringLiteral("Sending to %1 failed: %2").arg(settings.Url(), error));
        attachments_->Locked = true;
    }

    QString to_, subject_, body_;
    std::shared_ptr<TOutlookAttachments> attachments_;
};

Variant newMailItem(const Variant& kind)
{
    if (!kind.IsEmpty() && kind.ToInt() != MailItemKind)
        fail(QStringLiteral("Only mail items (kind 0) can be created"));
    return Variant(std::make_shared<TOutlookMailItem>());
}

class TOutlookItems : public TAutoObject {
public:
    TOutlookItems()
        : TAutoObject(QStringLiteral("Items"))
    {
        AddMethod(QStringLiteral("Add"), [](VariantList& args) { return newMailItem(Arg(args, 0)); });
    }
};

class TOutlookFolder : public TAutoObject {
public:
    explicit TOutlookFolder(int number)
        : TAutoObject(QStringLiteral("MAPIFolder"))
        , items_(std::make_shared<TOutlookItems>())
    {
        AddProperty(QStringLiteral("Items"), [this](VariantList&) { return Variant(items_); });
        AddProperty(
            QStringLiteral("DefaultFolderNumber"), [number](VariantList&) { return Variant(number); });
    }

private:
    std::shared_ptr<TOutlookItems> items_;
};

class TOutlookNamespace : public TAutoObject {
public:
    TOutlookNamespace()
        : TAutoObject(QStringLiteral("NameSpace"))
    {
        AddMethod(QStringLiteral("GetDefaultFolder"), [](VariantList& args) {
            return Variant(std::make_shared<TOutlookFolder>(Arg(args, 0).ToInt()));
        });
        // The SMTP login comes from the configuration, so logging on only
        // checks that the configuration can be used: a mail client without a
        // profile refuses the log-on the same way, before anything is sent.
        AddMethod(QStringLiteral("Logon"), [](VariantList&) {
            const QString error = TMailSettings::ReadClientIni().Validate();
            if (!error.isEmpty())
                fail(error);
            return Variant();
        });
        AddMethod(QStringLiteral("Logoff"), [](VariantList&) { return Variant(); });
    }
};

class TOutlookApplication : public TAutoObject {
public:
    TOutlookApplication()
        : TAutoObject(ProgId)
    {
        AddMethod(QStringLiteral("GetNamespace"), [](VariantList& args) {
            const QString type = Arg(args, 0).ToString();
            if (type.compare(QLatin1String("MAPI"), Qt::CaseInsensitive) != 0)
                fail(QStringLiteral("Unknown namespace \"%1\"; only MAPI is supported").arg(type));
            return Variant(std::make_shared<TOutlookNamespace>());
        });
        AddMethod(QStringLiteral("CreateItem"), [](VariantList& args) { return newMailItem(Arg(args, 0)); });
    }
};

} // namespace

void RegisterOutlook()
{
    AutoObjectFactory::Register(ProgId, [] { return std::make_shared<TOutlookApplication>(); });
}
