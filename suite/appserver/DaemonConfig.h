#pragma once
// The network settings of the application server daemon, from the
// [AppServer] section of StewardS.ini (beside the database settings of
// ServerConfig.h):
//
//   Listen=127.0.0.1      address to listen on (loopback unless configured;
//                         0.0.0.0 or :: for every interface)
//   Port=211              (0: any free port; the daemon prints the one it took)
//   Secret=...            the shared secret clients prove they hold, in the
//                         stored form of the password codec (EncodePassword);
//                         the daemon does not serve without one
//   MaxFrameKB=16384      largest frame either side may send
//   IdleSeconds=300       a connection that sends nothing this long is closed
//   FrameSeconds=30       time for one frame to arrive whole once begun (a
//                         slow or stalled client is closed)
//   MaxClients=64         connections served at once; more are refused
//   HandshakeSeconds=5    time a new connection has to prove the secret
//                         (TLS handshake and Hello each); then it is closed
//   MaxUnauthenticated=32 connections that may wait for their handshake at
//                         once, apart from MaxClients; more are refused
//   MaxUnauthenticatedPerPeer=4  of those, from one peer address
//   BatchRows=2000        rows in one batch of a streamed fetch
//   LongReads=            reads other than key look-ups (ReadGate.h) that run
//                         at once; more wait their turn; 0: no limit. By
//                         default as many as the machine has cores: more at
//                         once only share the cores, and a key look-up then
//                         waits behind all of them
//   TLSCertificate=, TLSKey=   PEM files (under the home folder when relative);
//                         both set: every connection is TLS
//   ConnectionLog=        file (under the home folder) that receives the
//                         connection log besides standard error
//   ServerClass=ZORV52S.Class1,ZTST53S.Class1  the class ids clients may
//                         create the server object by, separated by commas
//                         (one alone as before); by default the server class
//                         of every known program (common/ProgramDescriptor.h).
//                         None known and none set is an error: such a daemon
//                         could serve nobody
//
// Guaranteed: Load never raises; ErrorText names the first setting that is
// missing or out of range, and a daemon with an ErrorText does not serve.

#include "suite/appserver/ServerConfig.h"

#include <QString>
#include <QStringList>

struct TDaemonConfig {
    QString Listen = QStringLiteral("127.0.0.1");
    int Port = 211;
    QString Secret; // decoded
    qint64 MaxFrameBytes = 16 * 1024 * 1024;
    int IdleMs = 300000;
    int FrameMs = 30000;
    int MaxClients = 64;
    int HandshakeMs = 5000;
    int MaxUnauthenticated = 32;
    int MaxUnauthenticatedPerPeer = 4;
    int BatchRows = 2000;
    int LongReads = DefaultLongReads();
    QString TlsCertificate, TlsKey; // native paths; TLS when both are set
    QString ConnectionLog; // native path; empty: standard error only
    QStringList ServerClasses; // as written, without duplicates (regardless of case)
    QString ErrorText;

    bool Tls() const { return !TlsCertificate.isEmpty() && !TlsKey.isEmpty(); }
    // The server class this daemon serves that className names (compared
    // without regard to case), as configured; empty when it serves none such.
    QString ServedClass(const QString& className) const;
    // The server classes of the known programs, in code order.
    static QStringList ProgramServerClasses();
    // The settings of the server home's StewardS.ini.
    static TDaemonConfig Load(const TServerConfig& server);
    static int DefaultLongReads();
};
