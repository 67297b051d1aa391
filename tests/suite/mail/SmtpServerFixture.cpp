#include "SmtpServerFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

namespace mail_test {

namespace {
// Debian's interpreter: the package python3-aiosmtpd installs there, not in
// whatever python3 comes first on PATH.
const QString Python = QStringLiteral("/usr/bin/python3");
} // namespace

bool SmtpServer::Available()
{
    static const bool available = [] {
        QProcess probe;
        probe.start(Python, {QStringLiteral("-c"), QStringLiteral("import aiosmtpd")});
        return probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit
            && probe.exitCode() == 0;
    }();
    return available;
}

SmtpServer::SmtpServer(const QString& mode, const QStringList& extra)
{
    QStringList args {testsupport::sourcePath(QStringLiteral("tests/suite/mail/smtp_server.py")), mode};
    if (mode == QLatin1String("accept"))
        args << folder_.path() << extra;
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(Python, args);
    // The server prints "PORT <n>" once it listens.
    QByteArray output;
    while (process_.waitForReadyRead(20000)) {
        output += process_.readAllStandardOutput();
        if (output.contains('\n'))
            break;
    }
    if (output.startsWith("PORT "))
        port_ = output.mid(5).trimmed().toInt();
    if (port_ <= 0)
        failure_ = QStringLiteral("the SMTP test server did not start: ") + QString::fromUtf8(output);
}

SmtpServer::~SmtpServer()
{
    process_.kill();
    process_.waitForFinished(5000);
}

int SmtpServer::MessageCount() const
{
    return int(QDir(folder_.path()).entryList({QStringLiteral("*.json")}, QDir::Files).size());
}

QJsonObject SmtpServer::Message(int number) const
{
    return QJsonDocument::fromJson(folder_.read(QStringLiteral("%1.json").arg(number))).object();
}

MailHome::MailHome(const QByteArray& mailSection)
    : home_({})
{
    const QString client = home_.Write(QStringLiteral("client/StewardC.ini"), "[Mail]\n" + mailSection);
    home_.WriteRegistry({{QStringLiteral("ClientPath"), QFileInfo(client).absolutePath()}});
}

} // namespace mail_test
