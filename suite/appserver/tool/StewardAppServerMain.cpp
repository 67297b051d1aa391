// steward-appserver: the application server's command line. For now it makes
// demo homes; the network daemon joins it later.
#include "runtime/system/ProcessSetup.h"
#include "suite/appserver/DemoHome.h"

#include "runtime/system/Exceptions.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: steward-appserver --create-demo DIR [--slips N] [--seed S]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    IgnoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString dir;
    TDemoOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        bool ok = true;
        if (a == QLatin1String("--create-demo") && hasValue)
            dir = args[++i];
        else if (a == QLatin1String("--slips") && hasValue)
            options.Slips = args[++i].toInt(&ok);
        else if (a == QLatin1String("--seed") && hasValue)
            options.Seed = args[++i].toUInt(&ok);
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
