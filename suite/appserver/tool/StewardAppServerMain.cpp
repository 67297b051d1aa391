// steward-appserver: the application server's command line: the network
// daemon, its set-up check, users' passwords, and demo homes.
#include "common/QNERPGeneratorU.h"
#include "runtime/system/ProcessSetup.h"
#include "suite/appserver/AppServerDaemon.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/DemoHome.h"
#include "suite/appserver/UserPasswords.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/SystemFacts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

const char* const usageText
    = "usage: steward-appserver --serve [--home DIR]\n"
      "       steward-appserver --check [--home DIR]\n"
      "       steward-appserver --encode-secret TEXT\n"
      "       steward-appserver --set-password USER [--database NAME] [--home DIR]\n"
      "       steward-appserver --create-demo DIR [--slips N] [--seed S] [--force]\n"
      "                         [--postgres CONNINFO [--schema NAME]]\n"
      "\n"
      "  --serve            serve the application server object to clients over the\n"
      "                     network ([AppServer] of StewardS.ini: Listen, Port, Secret,\n"
      "                     TLSCertificate, TLSKey, ...); logs each connection\n"
      "  --check            check the configuration, the database, TLS files and the\n"
      "                     listening address; exit status 0 when all hold\n"
      "  --home DIR         the server home holding StewardS.ini (default: the\n"
      "                     registry's ServerPath)\n"
      "  --encode-secret TEXT  print the stored form of a secret for Secret=\n"
      "  --set-password USER  set the password USER logs in with, in the company\n"
      "                     database NAME (default: the main one); asked twice on\n"
      "                     the terminal, or read as the first line of standard input;\n"
      "                     only a salted scrypt hash is stored\n"
      "\n"
      "  --create-demo DIR  make a demo client home in DIR (registry file, settings,\n"
      "                     SQLite database with generated slips; the language\n"
      "                     packages of the client package when it is installed)\n"
      "  --slips N          number of slips (300)\n"
      "  --seed S           seed of the generator (52): the same seed, the same data\n"
      "  --force            replace the home DIR holds already (refused without it)\n"
      "  --postgres CONNINFO  fill the schema NAME (default demo) of that PostgreSQL\n"
      "                     database instead of DIR/C_DATA/DEMO.db; StewardS.ini then\n"
      "                     names the PostgreSQL server\n";

// SIGTERM (systemd's stop, kill) and SIGINT (Ctrl+C) reach the event loop
// through a socket pair: a signal handler may only write a byte, the loop
// then logs the shutdown and ends the process.
int signalPipe[2] = {-1, -1};

void onStopSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

bool watchStopSignals(TAppServerDaemon& daemon)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [&daemon] {
        char byte = 0;
        if (::read(signalPipe[0], &byte, 1) != 1)
            return;
        daemon.Stop(QStringLiteral("signal %1, %2")
                        .arg(static_cast<int>(byte))
                        .arg(QString::fromLocal8Bit(strsignal(byte))));
        // Sessions run on detached threads that may be inside a read of their
        // socket or a query: ending the process here, without running static
        // destructors under them, is what keeps the stop within a moment.
        std::fflush(nullptr);
        ::_exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

// One line from standard input; without echo on a terminal.
QString readSecretLine(const char* prompt)
{
    const bool terminal = ::isatty(STDIN_FILENO);
    termios saved {};
    if (terminal) {
        std::fprintf(stderr, "%s", prompt);
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &saved);
        termios silent = saved;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    QByteArray line;
    char c = 0;
    while (line.size() < 4096 && ::read(STDIN_FILENO, &c, 1) == 1 && c != '\n')
        line += c;
    if (terminal)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (line.endsWith('\r'))
        line.chop(1);
    const QString text = QString::fromUtf8(line);
    line.fill('\0');
    return text;
}

int setPassword(const QString& home, const QString& user, const QString& database)
{
    const TServerConfig server = home.isEmpty() ? TServerConfig::Load() : TServerConfig::FromHome(home);
    if (!server.ErrorText.isEmpty()) {
        std::fprintf(stderr, "steward-appserver: %s\n", qPrintable(server.ErrorText));
        return 1;
    }
    const QString location = server.CompanyDatabaseFile(database);
    if (location.isEmpty()) {
        std::fprintf(stderr, "steward-appserver: company database %s does not exist\n", qPrintable(database));
        return 1;
    }
    const QString password = readSecretLine("new password: ");
    if (::isatty(STDIN_FILENO) && readSecretLine("the same again: ") != password) {
        std::fprintf(stderr, "steward-appserver: the two passwords differ; nothing was changed\n");
        return 1;
    }
    try {
        auto db = OpenBackend(server.DBType, location);
        userpasswords::SetPassword(*db, user, password);
    } catch (const Exception& e) {
        std::fprintf(stderr, "steward-appserver: %s\n", e.what());
        return 1;
    }
    std::printf("steward-appserver: the password of %s is set\n", qPrintable(user.trimmed()));
    return 0;
}

int usage()
{
    std::fputs(usageText, stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    PrepareRuntimeFolder();
    IgnoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString dir, home, secret, passwordUser, database;
    bool serve = false, check = false;
    TDemoOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(usageText, stdout);
            return 0;
        }
        if (a == QLatin1String("--force"))
            options.Force = true;
        else if (a == QLatin1String("--serve"))
            serve = true;
        else if (a == QLatin1String("--check"))
            check = true;
        else if (a == QLatin1String("--home") && hasValue)
            home = args[++i];
        else if (a == QLatin1String("--encode-secret") && hasValue)
            secret = args[++i];
        else if (a == QLatin1String("--set-password") && hasValue)
            passwordUser = args[++i];
        else if (a == QLatin1String("--database") && hasValue)
            database = args[++i];
        else if (a == QLatin1String("--create-demo") && hasValue)
            dir = args[++i];
        else if (a == QLatin1String("--slips") && hasValue)
            options.Slips = args[++i].toInt(&ok);
        else if (a == QLatin1String("--seed") && hasValue)
            options.Seed = args[++i].toUInt(&ok);
        else if (a == QLatin1String("--postgres") && hasValue)
            options.PostgresConnection = args[++i];
        else if (a == QLatin1String("--schema") && hasValue)
            options.PostgresSchema = args[++i].toLower();
        else
            return usage();
        if (!ok || options.Slips < 0)
            return usage();
    }
    if (!secret.isEmpty()) {
        std::printf("%s\n", qPrintable(EncodePassword(secret)));
        return 0;
    }
    if (!passwordUser.isEmpty())
        return setPassword(home, passwordUser, database);
    if (serve || check) {
        const TServerConfig server = home.isEmpty() ? TServerConfig::Load() : TServerConfig::FromHome(home);
        const TDaemonConfig daemon = TDaemonConfig::Load(server);
        if (check)
            return CheckDaemonSetup(server, daemon, stdout);
        TAppServerDaemon d(server, daemon);
        if (!d.Start()) {
            std::fprintf(stderr, "steward-appserver: %s\n", qPrintable(d.ErrorText()));
            return 1;
        }
        if (!watchStopSignals(d))
            std::fprintf(stderr, "steward-appserver: cannot watch stop signals: %s\n", std::strerror(errno));
        std::printf("steward-appserver: listening on %s:%d\n", qPrintable(d.serverAddress().toString()),
            static_cast<int>(d.serverPort()));
        std::fflush(stdout);
        return app.exec();
    }
    if (dir.isEmpty())
        return usage();
    try {
        QElapsedTimer timer;
        timer.start();
        // The packages come with the client package, which a server need not have.
        options.LanguagePackages = InstalledLanguagePackages();
        const TDemoSummary s = CreateDemoHome(dir, options);
        std::printf("demo home %s: %lld slips, %lld lines, %lld sign-off records in %.1f s\n",
            qPrintable(dir), static_cast<long long>(s.Slips), static_cast<long long>(s.Lines),
            static_cast<long long>(s.SignOffRecords), timer.elapsed() / 1000.0);
        std::printf("demo users and passwords: %s\n", qPrintable(DemoLogins(s)));
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "steward-appserver: %s\n", e.what());
        return 1;
    }
}
