#pragma once
// A real SMTP server on 127.0.0.1 for the mail tests (smtp_server.py beside
// this file, on Debian's python3-aiosmtpd), and a client home whose
// StewardC.ini points the mail object at it.

#include "common/StewardIniTestHome.h"

#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <memory>

namespace mail_test {

class SmtpServer {
public:
    // mode: "accept" (messages land in Folder()), "drop" or "silent";
    // extra arguments follow the folder (a login for "accept").
    SmtpServer(const QString& mode, const QStringList& extra = {});
    ~SmtpServer();
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    bool Started() const { return port_ > 0; }
    QString Failure() const { return failure_; }
    int Port() const { return port_; }
    // Messages received so far, decoded by Python's email package.
    int MessageCount() const;
    QJsonObject Message(int number) const; // from 1

    // Whether /usr/bin/python3 can run aiosmtpd at all.
    static bool Available();

private:
    testsupport::TempFolder folder_;
    QProcess process_;
    int port_ = 0;
    QString failure_;
};

// A client home with "[Mail]" + mailSection as its StewardC.ini, and the
// registry naming it, for as long as the object lives.
class MailHome {
public:
    explicit MailHome(const QByteArray& mailSection);
    QString Write(const QString& relative, const QByteArray& bytes) const
    {
        return home_.Write(relative, bytes);
    }

private:
    steward_test::TestHome home_;
};

} // namespace mail_test
