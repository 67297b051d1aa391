#pragma once
// The work-centre manager "HubDesk.Manager": the suite's local service that
// print programs lean on for coded messages, help, system parameters,
// predefined queries and look-up windows. It is a late-bound object; its
// service objects are reached through the properties Com_Counter,
// Com_Validator and Com_F2Window, each created once per manager.
//
// Members (arguments are Variants, as late binding passes them):
//   GetMessage(kind, id)            -> the message text with its "%s"/"%d"
//       places, in simplified Chinese, traditional under UI code page 950;
//       "Can not Get Message\rType= <kind>, ID= <id> " for a code the
//       catalogue does not hold
//   CallHelp([prefix, topic])       -> True when a help page was opened
//   GetFileList([file name])        -> "<Modify>yyyyMMddhhmmss</Modify><Path>
//       server path</Path>" of the newest copy in the server's work-library
//       folders; empty when there is none
//   SetFormCreateStyle(format name) -> remembered in FormCreateStyle
//   ServerName (property)           -> programmatic identifier of the server
//       ("ZORV52S.Class1" unless set)
//   UserCode (property)             -> the user the manager logs in to the
//       server as, for validator queries that carry their own statement
//       ("SimpleSql"); without one they answer no rows

#include "runtime/system/AutoObject.h"

#include <QUrl>
#include <functional>
#include <memory>

class THubServerLink;

class THubDeskManager : public TAutoObject {
public:
    THubDeskManager();
    ~THubDeskManager() override;

    QString GetMessage(const QString& kind, const QString& id);
    bool CallHelp(const Variant& args);
    QString GetFileList(const Variant& args);
    void SetFormCreateStyle(const QString& formatName) { formCreateStyle_ = formatName; }
    QString FormCreateStyle() const { return formCreateStyle_; }

    // The link the service objects share.
    const std::shared_ptr<THubServerLink>& Link() const { return link_; }

    // The text GetMessage answers for a code nobody knows.
    static QString UnknownMessage(const QString& kind, const QString& id);

    // Opens help pages; QDesktopServices::openUrl unless replaced (tests).
    using UrlOpener = std::function<bool(const QUrl&)>;
    static void SetHelpOpener(UrlOpener opener);

private:
    void registerMembers();
    Variant service(Variant& slot, const std::function<AutoObjectPtr()>& make);

    std::shared_ptr<THubServerLink> link_;
    QString formCreateStyle_;
    Variant counter_, validator_, f2Window_;
};

// Registers "HubDesk.Manager" with the automation object factory, and the
// application server it reaches in this process.
void RegisterHubDesk();
