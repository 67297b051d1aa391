// steward-appserver: the application server's command line: the network
// daemon, its set-up check, and demo homes.
#include "common/QNERPGeneratorU.h"
#include "runtime/system/ProcessSetup.h"
#include "suite/appserver/AppServerDaemon.h"
#include "suite/appserver/DemoHome.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/SystemFacts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace {

const char* const usageText
    = "usage: steward-appserver --serve [--home DIR]\n"
      "       steward-appserver --check [--home DIR]\n"
      "       steward-appserver --encode-secret TEXT\n"
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
      "\n"
      "  --create-demo DIR  make a demo client home in DIR (registry file, settings,\n"
      "                     SQLite database with generated slips)\n"
      "  --slips N          number of slips (300)\n"
      "  --seed S           seed of the generator (52): the same seed, the same data\n"
      "  --force            replace the home DIR holds already (refused without it)\n"
      "  --postgres CONNINFO  fill the schema NAME (default demo) of that PostgreSQL\n"
      "                     database instead of DIR/C_DATA/DEMO.db; StewardS.ini then\n"
      "                     names the PostgreSQL server\n";

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
    QString dir, home, secret;
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
        const TDemoSummary s = CreateDemoHome(dir, options);
        std::printf("demo home %s: %lld slips, %lld lines, %lld sign-off records in %.1f s\n",
            qPrintable(dir), static_cast<long long>(s.Slips), static_cast<long long>(s.Lines),
            static_cast<long long>(s.SignOffRecords), timer.elapsed() / 1000.0);
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "steward-appserver: %s\n", e.what());
        return 1;
    }
}
