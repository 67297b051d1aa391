#pragma once
// Where the mail stand-in delivers: the [Mail] section of the client's
// StewardC.ini.
//
//   [Mail]
//   Server=smtp.example.com      host name or IP address (IPv6 in brackets)
//   Port=587                     default 25, 587 or 465 by Security
//   Security=STARTTLS            None | STARTTLS (default) | TLS (implicit, "smtps")
//   User=erp@example.com         no login when empty
//   Password=4a1b...             stored with the configuration's password codec
//   From=erp@example.com         sender; default User when it is an address,
//                                else "steward@" + this machine's name
//   Timeout=60                   seconds for the connection and for the whole delivery
//
// Reading never raises and never writes; a missing section gives the
// defaults (Server empty, which Validate() reports).

#include <QString>

class TIniFile;

enum class TMailSecurity { None, StartTls, Tls };

struct TMailSettings {
    QString Server;
    int Port = 587;
    TMailSecurity Security = TMailSecurity::StartTls;
    QString User;
    QString Password; // decoded
    QString From;
    int TimeoutSeconds = 60;

    static TMailSettings Read(const TIniFile& ini);
    // The [Mail] section of the StewardC.ini the client configuration finds.
    static TMailSettings ReadClientIni();

    // Empty when the settings can be used, else why not (English, for the
    // error the mail item raises): no server, a server text that could carry
    // more than a host (spaces, "/", "@"), a port out of range, a sender that
    // is no plain address.
    QString Validate() const;
    // "smtp://host:port" or "smtps://host:port".
    QString Url() const;
};
