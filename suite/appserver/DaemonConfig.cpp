#include "suite/appserver/DaemonConfig.h"

#include "common/ProgramDescriptor.h"
#include "common/QNERPGeneratorU.h"
#include "common/StewardINI.h"
#include "runtime/system/IniFile.h"
#include "runtime/system/NativePath.h"

#include <QRegularExpression>
#include <QThread>
#include <algorithm>

namespace {

const QString section = QStringLiteral("AppServer");

QString fileSetting(const TIniFile& ini, const QString& home, const char* key)
{
    const QString name = ini.ReadString(section, QLatin1String(key), QString()).trimmed();
    return name.isEmpty() ? QString() : NativePath(ResolvePath(name, home));
}

} // namespace

int TDaemonConfig::DefaultLongReads()
{
    // Measured on 2 cores, 50 clients each asking a key query a second and
    // every tenth time a month report: with no limit a key query's p99 was
    // 690 ms and a month report's median 3.7 s; one lane: 15 ms and 3.2 s;
    // two lanes: 33 ms and 0.9 s.
    return std::max(1, QThread::idealThreadCount());
}

QString TDaemonConfig::ServedClass(const QString& className) const
{
    for (const QString& served : ServerClasses)
        if (served.compare(className, Qt::CaseInsensitive) == 0)
            return served;
    return {};
}

QStringList TDaemonConfig::ProgramServerClasses()
{
    QStringList classes;
    for (const TProgramDescriptor& program : KnownPrograms()) {
        bool known = false;
        for (const QString& c : std::as_const(classes))
            known = known || c.compare(program.ServerClass, Qt::CaseInsensitive) == 0;
        if (!known)
            classes << program.ServerClass;
    }
    return classes;
}

TDaemonConfig TDaemonConfig::Load(const TServerConfig& server)
{
    TDaemonConfig c;
    if (!server.ErrorText.isEmpty()) {
        c.ErrorText = server.ErrorText;
        return c;
    }
    const TIniFile ini(server.IniFile);
    const auto number = [&](const char* key, int defaultValue, int low, int high, int& out) {
        const int v = ini.ReadInteger(section, QLatin1String(key), defaultValue);
        if (v < low || v > high) {
            if (c.ErrorText.isEmpty())
                c.ErrorText = QStringLiteral("[AppServer] %1=%2 is outside %3..%4")
                                  .arg(QLatin1String(key))
                                  .arg(v)
                                  .arg(low)
                                  .arg(high);
            return;
        }
        out = v;
    };
    c.Listen = ini.ReadString(section, QStringLiteral("Listen"), c.Listen).trimmed();
    number("Port", c.Port, 0, 65535, c.Port); // 0: any free port (tests)
    int frameKB = static_cast<int>(c.MaxFrameBytes / 1024);
    // 64 KiB at least: a frame must hold a batch of rows; 1 GiB at most.
    number("MaxFrameKB", frameKB, 64, 1024 * 1024, frameKB);
    c.MaxFrameBytes = qint64(frameKB) * 1024;
    int idle = c.IdleMs / 1000, frame = c.FrameMs / 1000;
    number("IdleSeconds", idle, 1, 86400, idle);
    number("FrameSeconds", frame, 1, 3600, frame);
    c.IdleMs = idle * 1000;
    c.FrameMs = frame * 1000;
    number("MaxClients", c.MaxClients, 1, 4096, c.MaxClients);
    int handshake = c.HandshakeMs / 1000;
    number("HandshakeSeconds", handshake, 1, 3600, handshake);
    c.HandshakeMs = handshake * 1000;
    number("MaxUnauthenticated", c.MaxUnauthenticated, 1, 4096, c.MaxUnauthenticated);
    number("MaxUnauthenticatedPerPeer", c.MaxUnauthenticatedPerPeer, 1, 4096, c.MaxUnauthenticatedPerPeer);
    number("BatchRows", c.BatchRows, 1, 1000000, c.BatchRows);
    number("LongReads", c.LongReads, 0, 4096, c.LongReads);
    const QString classes = ini.ReadString(section, QStringLiteral("ServerClass"), QString()).trimmed();
    if (classes.isEmpty()) {
        c.ServerClasses = ProgramServerClasses();
    } else {
        static const QRegularExpression classId(
            QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*(\\.[A-Za-z_][A-Za-z0-9_]*)*$"));
        for (const QString& part : classes.split(u',')) {
            const QString name = part.trimmed();
            if (!classId.match(name).hasMatch()) {
                if (c.ErrorText.isEmpty())
                    c.ErrorText = QStringLiteral("[AppServer] ServerClass=%1: \"%2\" is no class id")
                                      .arg(classes, name);
                continue;
            }
            if (c.ServedClass(name).isEmpty())
                c.ServerClasses << name;
        }
    }
    if (c.ErrorText.isEmpty() && c.ServerClasses.isEmpty())
        c.ErrorText = QStringLiteral("[AppServer] ServerClass is not set and no program is installed");
    c.TlsCertificate = fileSetting(ini, server.HomePath, "TLSCertificate");
    c.TlsKey = fileSetting(ini, server.HomePath, "TLSKey");
    c.ConnectionLog = fileSetting(ini, server.HomePath, "ConnectionLog");
    const QString stored = ini.ReadString(section, QStringLiteral("Secret"), QString()).trimmed();
    c.Secret = stored.isEmpty() ? QString() : DecodePassword(stored);
    if (c.ErrorText.isEmpty() && (c.Secret.isEmpty() || c.Secret == QLatin1String(WrongPasswordMarker)))
        c.ErrorText = QStringLiteral("[AppServer] Secret is not set (the stored form of EncodePassword)");
    if (c.ErrorText.isEmpty() && c.TlsCertificate.isEmpty() != c.TlsKey.isEmpty())
        c.ErrorText = QStringLiteral("[AppServer] TLS needs both TLSCertificate and TLSKey");
    return c;
}
