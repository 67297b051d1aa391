#pragma once
// The fax servers the fax stand-in offers: the [Fax] section of the client's
// StewardC.ini, read when the fax object refreshes its server list.
//
//   [Fax]
//   Server1=总公司传真|faxhost.example.com     display name | HylaFAX server host[:port]
//   Server2=Branch|10.1.2.3:4559
//   SendFax=/usr/bin/sendfax                  the HylaFAX client; default "sendfax" on PATH
//   Timeout=120                               seconds one sendfax run may take
//
// Servers are numbered from 1 without gaps; reading stops at the first
// missing number. An entry without "|" names its host as both name and
// host; an entry whose host is no host (TFaxServer::IsHost) is skipped, so
// a bad line never reaches the menu or a command line.

#include <QList>
#include <QString>

class TIniFile;

struct TFaxServer {
    QString Name;
    QString Host; // host name, IPv4 or [IPv6], optionally ":port"

    // A host name, an IPv4 address or a bracketed IPv6 address, optionally
    // followed by ":" and a port; never starting with "-".
    static bool IsHost(const QString& text);
};

struct TFaxSettings {
    QList<TFaxServer> Servers;
    QString SendFaxProgram = QStringLiteral("sendfax");
    int TimeoutSeconds = 120;

    static TFaxSettings Read(const TIniFile& ini);
    static TFaxSettings ReadClientIni();
};
