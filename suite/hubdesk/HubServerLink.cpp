#include "suite/hubdesk/HubServerLink.h"

#include "common/StewardINI.h"
#include "common/forms/LanguageController.h"
#include "runtime/data/SocketConnection.h"
#include "suite/appserver/Catalogue.h"

THubServerLink::THubServerLink(QString serverName)
    : serverName_(std::move(serverName))
{
}

THubServerLink::~THubServerLink()
{
    server_ = Variant();
    if (connection_)
        connection_->Close();
}

Variant THubServerLink::Server()
{
    if (server_.IsObject())
        return server_;
    TStewardIniC ini;
    if (!ini.LoadSettings())
        throw ESocketConnectionError(QStringLiteral("client configuration: %1").arg(ini.ErrorCode));
    if (language_.isEmpty())
        language_ = ini.UICodePage.trimmed() == u"950" ? QStringLiteral("CHT") : QStringLiteral("CHS");
    connection_ = std::make_unique<TSocketConnection>();
    connection_->SetAddress(ini.Servers.At(0, 0).ToString().trimmed());
    bool portOk = false;
    const int port = ini.Servers.At(1, 0).ToString().trimmed().toInt(&portOk);
    if (portOk && port > 0)
        connection_->SetPort(port);
    connection_->SetServerName(serverName_);
    server_ = connection_->GetServer();
    return server_;
}

void THubServerLink::SetUser(const QString& user)
{
    user_ = user.trimmed();
    loggedIn_.clear();
}

void THubServerLink::logIn(const Variant& server, const QString& databaseName)
{
    if (user_.isEmpty())
        throw Exception(QStringLiteral("no user is logged in to the work-centre manager"));
    const QString session = user_ + u'/' + databaseName.trimmed().toUpper();
    if (session == loggedIn_)
        return;
    loggedIn_.clear();
    // The program of the server class ("ZORV52S.Class1" serves ZORV52).
    QString program = serverName_.section(u'.', 0, 0);
    if (program.endsWith(u'S', Qt::CaseInsensitive))
        program.chop(1);
    const QString error = server
                              .Call(QStringLiteral("Connect"),
                                  {Variant::ArrayOf({program, user_, QString(), databaseName, QString()})})
                              .ToString();
    if (!error.isEmpty())
        throw Exception(error);
    loggedIn_ = session;
}

QString THubServerLink::Language()
{
    if (language_.isEmpty()) {
        TStewardIniC ini;
        ini.LoadSettings(); // the code pages are read before anything can fail
        language_ = ini.UICodePage.trimmed() == u"950" ? QStringLiteral("CHT") : QStringLiteral("CHS");
    }
    return language_;
}

THubQueryAnswer THubServerLink::Query(const QString& kind, const QString& table, const QString& number,
    const QString& databaseName, const Variant& params)
{
    THubQueryAnswer answer;
    try {
        const Variant server = Server();
        if (kind.compare(QLatin1String("SimpleSql"), Qt::CaseInsensitive) == 0
            || table.compare(QLatin1String("SimpleSql"), Qt::CaseInsensitive) == 0)
            logIn(server, databaseName);
        const Variant& p = params.Deref();
        const Variant reply = server.Call(QStringLiteral("CatalogueQuery"),
            {Variant::ArrayOf({kind, table, number, databaseName,
                p.IsArray() || p.IsEmptyOrNull() ? p : Variant::ArrayOf({p})})});
        if (!reply.IsArray() || reply.HighBound() < 2 || !reply[0].IsArray()) {
            answer.Error = server.Get(QStringLiteral("LastError")).ToString();
            return answer;
        }
        answer.Ok = true;
        answer.Rows = reply[0];
        for (const Variant& c : reply[1].Elements())
            answer.Columns << c.ToString();
        answer.Title = reply[2].ToString();
    } catch (const Exception& e) {
        answer.Error = e.Message();
    } catch (const std::exception& e) {
        answer.Error = QString::fromUtf8(e.what());
    }
    return answer;
}

QString THubServerLink::Message(const QString& kind, const QString& id)
{
    QString text;
    try {
        const Variant server = Server();
        text = server
                   .Call(QStringLiteral("CatalogueMessage"),
                       {Variant::ArrayOf({kind, id, Language(), QString()})})
                   .ToString();
    } catch (const std::exception&) {
        // Unreachable: the very moment the user must hear about it.
    }
    if (text.isEmpty())
        text = catalogueMessage(kind, id);
    return englishMessage(kind, id, text);
}

QString THubServerLink::englishMessage(const QString& kind, const QString& id, const QString& chinese)
{
    // The database holds its messages in Chinese only: an English interface
    // takes them from the English language package, by kind and number
    // ("E000003"), and keeps the Chinese text where the package has none.
    TStewardIniC ini;
    ini.LoadSettings();
    if (ini.UICodePage.trimmed() != u"437" || chinese.isEmpty())
        return chinese;
    return GetLangMessage(dtClient, QStringLiteral("TCodedMessages"), kind.trimmed() + id.trimmed(), chinese);
}

QString THubServerLink::catalogueMessage(const QString& kind, const QString& id)
{
    const bool traditional = Language() == u"CHT";
    for (const appserver::TCatalogueMessage& m : appserver::StandardMessages())
        if (m.Kind.compare(kind.trimmed(), Qt::CaseInsensitive) == 0 && m.Number == id.trimmed())
            return traditional ? m.Traditional : m.Simplified;
    return QString();
}
