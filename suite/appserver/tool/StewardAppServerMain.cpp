// steward-appserver: the application server's command line. For now it makes
// demo homes; the network daemon joins it later.
#include "runtime/system/ProcessSetup.h"
#include "suite/appserver/DemoHome.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/SystemFacts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace {

const char* const usageText
    = "usage: steward-appserver --create-demo DIR [--slips N] [--seed S] [--force]\n"
      "                         [--postgres CONNINFO [--schema NAME]]\n"
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
    QString dir;
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
