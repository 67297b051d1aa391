#include "DaemonProcess.h"

#include "common/QNERPGeneratorU.h"
#include "runtime/system/IniFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeText(const QString& path, const QString& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(text.toUtf8());
}

// Sets key=value where the key stands (in whichever section: the keys these
// tests set are unique in their file); else adds it under the section's header.
QString withKey(QString text, const QString& section, const QString& key, const QString& value)
{
    const QRegularExpression line(
        QStringLiteral("^%1=[^\r\n]*").arg(key), QRegularExpression::MultilineOption);
    if (text.contains(line))
        return text.replace(line, key + u'=' + value);
    return text.replace(
        QRegularExpression(QStringLiteral("^\\[%1\\]\r?\n").arg(QRegularExpression::escape(section)),
            QRegularExpression::MultilineOption),
        QStringLiteral("[%1]\n%2=%3\n").arg(section, key, value));
}

} // namespace

TDaemonProcess::TDaemonProcess(QString home)
    : home_(std::move(home))
{
}

TDaemonProcess::~TDaemonProcess()
{
    Kill();
}

QString TDaemonProcess::file(const QString& name) const
{
    return home_ + u'/' + name;
}

void TDaemonProcess::Configure()
{
    SetKey(QStringLiteral("Listen"), QLatin1String(Address));
    SetKey(QStringLiteral("Port"), QStringLiteral("0"));
    SetKey(QStringLiteral("FrameSeconds"), QStringLiteral("2"));
    SetKey(QStringLiteral("BatchRows"), QStringLiteral("100"));
    SetKey(QStringLiteral("ConnectionLog"), QStringLiteral("connections.log"));
    SetClientKey(QStringLiteral("ComputerName"), QLatin1String(Address));
}

void TDaemonProcess::SetKey(const QString& key, const QString& value)
{
    setIniKey(QStringLiteral("StewardS.ini"), QStringLiteral("AppServer"), key, value);
}

void TDaemonProcess::SetClientKey(const QString& key, const QString& value)
{
    setIniKey(QStringLiteral("StewardC.ini"), QStringLiteral("Server Information"), key, value);
}

void TDaemonProcess::setIniKey(
    const QString& name, const QString& section, const QString& key, const QString& value)
{
    const QString path = file(name);
    const QString text = withKey(readText(path), section, key, value);
    ASSERT_TRUE(text.contains(key + u'=' + value)) << qPrintable(text);
    writeText(path, text);
}

QString TDaemonProcess::Secret() const
{
    const TIniFile ini(file(QStringLiteral("StewardS.ini")));
    return DecodePassword(ini.ReadString(QStringLiteral("AppServer"), QStringLiteral("Secret"), QString()));
}

void TDaemonProcess::Start()
{
    if (port_ > 0)
        SetKey(QStringLiteral("Port"), QString::number(port_));
    process_ = std::make_unique<QProcess>();
    process_->setProgram(QStringLiteral(ZORV_APPSERVER_TOOL));
    process_->setArguments({QStringLiteral("--serve"), QStringLiteral("--home"), home_});
    process_->setStandardErrorFile(QProcess::nullDevice()); // the log file has it all
    process_->start();
    ASSERT_TRUE(process_->waitForStarted(10000));
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:([0-9]+)"));
    while (timer.elapsed() < 20000) {
        process_->waitForReadyRead(200);
        out += process_->readAllStandardOutput();
        const auto m = listening.match(QString::fromUtf8(out));
        if (m.hasMatch()) {
            port_ = m.captured(1).toInt();
            SetClientKey(QStringLiteral("ServerPort"), QString::number(port_));
            return;
        }
        if (process_->state() != QProcess::Running)
            break;
    }
    FAIL() << "the daemon did not start: " << out.constData();
}

void TDaemonProcess::Kill()
{
    if (!process_)
        return;
    process_->kill();
    process_->waitForFinished(10000);
    process_.reset();
}

int TDaemonProcess::Terminate(int waitMs)
{
    if (!process_)
        return -1;
    process_->terminate();
    const bool ended = process_->waitForFinished(waitMs) && process_->exitStatus() == QProcess::NormalExit;
    const int status = ended ? process_->exitCode() : -1;
    Kill();
    return status;
}

QString TDaemonProcess::Log() const
{
    QThread::msleep(100); // the session threads write as they go
    return readText(file(QStringLiteral("connections.log")));
}
