#pragma once
// Delivers one message over SMTP with libcurl.
//
// In: checked settings (TMailSettings::Validate() empty), the envelope
// sender and recipients (checked addresses) and the message bytes (CR LF
// lines; curl escapes leading dots). STARTTLS is required when the settings
// ask for it, TLS certificates are verified, the login is sent only when a
// user is set. The whole delivery is bounded by the settings' time-out.
//
// Out: empty on success (the server accepted the message for every
// recipient), else curl's description of what failed, with the server's
// reply when there was one: its refusing line as the server wrote it
// ("... (server reply: 550 5.1.1 Mailbox unavailable)"), else its code.
// Never raises; blocks the calling thread.

#include "MailSettings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

QString SendSmtp(const TMailSettings& settings, const QString& sender, const QStringList& recipients,
    const QByteArray& message);
