// Time from starting `steward ZORV52` on a demo home to the options window's
// first paint, over several runs: the shell's own figure (from the kernel's
// process start time) and the wall time this bench sees until the shell
// reports the paint. Runs on the offscreen platform unless a display is set
// through QT_QPA_PLATFORM.
//
//   bench_options_window [runs]

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QProcessEnvironment benchEnvironment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QTemporaryDir home;
    QProcess demo;
    demo.start(QStringLiteral(ZORV_STEWARD), {QStringLiteral("--create-demo"), home.path()});
    if (!demo.waitForFinished(120000) || demo.exitCode() != 0) {
        std::fprintf(stderr, "cannot make a demo home: %s\n", demo.readAllStandardError().constData());
        return 1;
    }
    const QRegularExpression painted(QStringLiteral("first window painted (-?\\d+) ms"));
    QList<qint64> shellFigures, wallFigures;
    for (int i = 0; i < runs; ++i) {
        QProcess shell;
        shell.setProcessEnvironment(benchEnvironment());
        QElapsedTimer wall;
        wall.start();
        shell.start(QStringLiteral(ZORV_STEWARD),
            {QStringLiteral("ZORV52"), QStringLiteral("--home"), home.path(),
                QStringLiteral("--exit-after-show")});
        qint64 seen = -1;
        QByteArray out;
        while (seen < 0 && shell.waitForReadyRead(30000)) {
            out += shell.readAllStandardOutput();
            if (out.contains("first window painted"))
                seen = wall.elapsed();
        }
        shell.waitForFinished(30000);
        out += shell.readAllStandardOutput();
        const auto match = painted.match(QString::fromUtf8(out));
        if (!match.hasMatch() || seen < 0) {
            std::fprintf(stderr, "run %d: no paint reported (status %d): %s\n", i + 1, shell.exitCode(),
                shell.readAllStandardError().constData());
            return 1;
        }
        shellFigures << match.captured(1).toLongLong();
        wallFigures << seen;
        std::printf("run %d: first paint %lld ms after process start (shell), %lld ms wall until reported\n",
            i + 1, static_cast<long long>(shellFigures.last()), static_cast<long long>(seen));
    }
    std::sort(shellFigures.begin(), shellFigures.end());
    std::sort(wallFigures.begin(), wallFigures.end());
    std::printf("median over %d runs: %lld ms (shell), %lld ms (wall); target 500 ms\n", runs,
        static_cast<long long>(shellFigures.at(runs / 2)), static_cast<long long>(wallFigures.at(runs / 2)));
    return 0;
}
