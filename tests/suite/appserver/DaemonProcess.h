#pragma once
// A steward-appserver --serve process on a demo home, as the daemon tests
// and the module's end-to-end tests run it: on a loopback address other than
// 127.0.0.1 (so that clients go through the network, not in process).
//
// Configure points the home's client configuration (StewardC.ini) at that
// address and gives the daemon the test settings: any free port, 2 s frame
// time, batches of 100 rows, a connection log file. Start launches the
// daemon and waits (at most 20 s) until it says where it listens; the
// client's ServerPort then names that port. Started again after Kill it
// takes the same port, so clients that knew the old one find the new one.
//
// Failures are gtest failures of the calling test (Start, SetKey); nothing
// here raises. The process is killed when this object goes.

#include <QProcess>
#include <QString>
#include <memory>

class TDaemonProcess {
public:
    static constexpr const char* Address = "127.0.0.2";

    explicit TDaemonProcess(QString home);
    ~TDaemonProcess();
    TDaemonProcess(const TDaemonProcess&) = delete;
    TDaemonProcess& operator=(const TDaemonProcess&) = delete;

    void Configure();
    // Sets key=value in the [AppServer] section of StewardS.ini.
    void SetKey(const QString& key, const QString& value);
    // Sets key=value in the [Server Information] section of StewardC.ini.
    void SetClientKey(const QString& key, const QString& value);
    void Start();
    // Kills the process (SIGKILL: no goodbye to its clients) and waits for its end.
    void Kill();
    // Sends SIGTERM, as systemd stops it; the exit status, or -1 when it did
    // not end within waitMs (it is then killed).
    int Terminate(int waitMs);
    bool Running() const { return process_ && process_->state() == QProcess::Running; }
    qint64 Pid() const { return Running() ? process_->processId() : 0; }
    int Port() const { return port_; }
    // The connection log so far.
    QString Log() const;
    // The shared secret, decoded.
    QString Secret() const;

private:
    QString file(const QString& name) const;
    void setIniKey(const QString& name, const QString& section, const QString& key, const QString& value);

    QString home_;
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};
