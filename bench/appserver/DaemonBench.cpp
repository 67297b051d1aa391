// Daemon benchmark: the figures of bench_appserver (month query, stream of
// every slip, the same rows into a client data set) in-process and through
// steward-appserver --serve on loopback (127.0.0.2), on the same back end,
// side by side with their ratios; then a load run: N clients at once, each on
// its own connection and thread, asking the one-slip key query (a month query
// every tenth time) for S seconds, with the latency percentiles of the key
// query (--month-every N, --load-only 1); every tenth turn a client also
// saves a scheme and stores a format, and the saved ones are counted again at
// the end. --think MS makes the clients users: each pauses between requests
// (uniformly 0 to 2 x MS, so MS on average) instead of asking again at once,
// and the figures then say how busy that left the machine. The clients log in
// first; the clock starts when all have. With
// --postgres CONNINFO (or ZORV_BENCH_POSTGRES) the same on PostgreSQL, and
// the load run there. --long-reads N sets the daemon's LongReads (lanes for
// reads other than key look-ups; 0: no limit); the load run prints the month
// query's latencies beside the key query's, as the lanes trade one for the other.
// Usage: bench_daemon [--slips N] [--keep DIR | --reuse DIR] [--postgres CONNINFO]
//                     [--clients N] [--seconds S] [--month-every N] [--load-only 1]
//                     [--postgres-only 1] [--think MS] [--long-reads N]
// (--reuse takes a home that bench_appserver --keep made.)
#include "ServerMeasure.h"
#include "runtime/data/DataPacket.h"
#include "runtime/data/SocketConnection.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <latch>
#include <mutex>
#include <random>
#include <thread>

namespace {

constexpr const char* Address = "127.0.0.2";

// A daemon serving a home on 127.0.0.2 (any free port); stopped with the object.
class TDaemonProcess {
public:
    TDaemonProcess(const QString& home, int longReads)
    {
        QFile ini(home + QStringLiteral("/StewardS.ini"));
        ini.open(QIODevice::ReadOnly);
        QString text = QString::fromUtf8(ini.readAll());
        ini.close();
        text.replace(
            QRegularExpression(QStringLiteral("^Listen=[^\\r\\n]*"), QRegularExpression::MultilineOption),
            QStringLiteral("Listen=") + QLatin1String(Address));
        text.replace(
            QRegularExpression(QStringLiteral("^Port=[^\\r\\n]*"), QRegularExpression::MultilineOption),
            QStringLiteral("Port=0"));
        // One LongReads line at most: the one of this run, after the port.
        text.remove(QRegularExpression(
            QStringLiteral("^LongReads=[^\\r\\n]*\\r?\\n"), QRegularExpression::MultilineOption));
        if (longReads >= 0)
            text.replace(
                QRegularExpression(QStringLiteral("^Port=0(\\r?)$"), QRegularExpression::MultilineOption),
                QStringLiteral("Port=0\\1\nLongReads=%1\\1").arg(longReads));
        ini.open(QIODevice::WriteOnly | QIODevice::Truncate);
        ini.write(text.toUtf8());
        ini.close();
        process_.setStandardErrorFile(home + QStringLiteral("/daemon.log"));
        process_.start(
            QStringLiteral(ZORV_APPSERVER_TOOL), {QStringLiteral("--serve"), QStringLiteral("--home"), home});
        QByteArray out;
        const QRegularExpression listening(QStringLiteral("listening on [0-9.]+:([0-9]+)"));
        for (int i = 0; i < 100 && port_ == 0; ++i) {
            process_.waitForReadyRead(100);
            out += process_.readAllStandardOutput();
            const auto m = listening.match(QString::fromUtf8(out));
            if (m.hasMatch())
                port_ = m.captured(1).toInt();
        }
        if (port_ == 0)
            std::printf("the daemon did not start: %s\n", out.constData());
    }
    ~TDaemonProcess()
    {
        process_.terminate();
        process_.waitForFinished(5000);
    }
    int Port() const { return port_; }
    qint64 Pid() const { return process_.processId(); }

private:
    QProcess process_;
    int port_ = 0;
};

std::unique_ptr<TSocketConnection> remoteConnection(int port)
{
    auto c = std::make_unique<TSocketConnection>();
    c->SetAddress(QLatin1String(Address));
    c->SetPort(port);
    c->SetServerName(QStringLiteral("ZORV52S.Class1"));
    c->Open();
    return c;
}

void sideBySide(
    const char* engine, const Figures& local, const Figures& remote, double localCds, double remoteCds)
{
    std::printf("\n%s%-40s %12s %12s %8s\n", engine, ", side by side", "in-process", "daemon", "ratio");
    std::printf("%-50s %12.1f %12.1f %8.2f   (target <= 1.15)\n", "month query, ms", local.monthMs,
        remote.monthMs, remote.monthMs / local.monthMs);
    std::printf("%-50s %12.0f %12.0f %8.2f   (target >= 0.85)\n", "stream all slips, rows/s",
        local.streamRowsPerSecond, remote.streamRowsPerSecond,
        remote.streamRowsPerSecond / local.streamRowsPerSecond);
    if (localCds > 0)
        std::printf("%-50s %12.0f %12.0f %8.2f   (target >= 0.85)\n",
            "all slips into a client data set, rows/s", localCds, remoteCds, remoteCds / localCds);
    std::printf("%-50s %12lld %12lld\n\n", "rows (month, all)",
        static_cast<long long>(local.monthRows + local.streamRows),
        static_cast<long long>(remote.monthRows + remote.streamRows));
}

// N clients for S seconds; prints the latency percentiles of the key query.
void loadRun(
    int port, qint64 daemonPid, const QString& database, const QStringList& keys, const TBenchOptions& o)
{
    std::mutex mutex;
    std::vector<double> keyMs, monthMs, firstMs;
    std::atomic<int> errors {0}, months {0}, saved {0}, formats {0};
    // Every tenth turn a client also saves a scheme: none may be lost.
    // Scheme names hold 20 bytes at most: a short run mark, client and turn.
    const QString runName = QStringLiteral("L%1-").arg(QDateTime::currentMSecsSinceEpoch() % 100000);
    std::vector<std::thread> threads;
    const QString month
        = QStringLiteral("Where 1=1  and (TO001='A511' ) and (TO004 >= '20241201' and TO004 <= '20241231') ");
    const int clients = o.Clients, seconds = o.Seconds;
    std::latch connected(clients + 1);
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            std::vector<double> own, ownMonths;
            std::mt19937 random(static_cast<unsigned>(c) * 7919u + 17u); // fixed: runs can be compared
            std::uniform_int_distribution<int> pause(0, 2 * std::max(0, o.ThinkMs));
            QElapsedTimer run;
            // A pause never runs past the end of the run.
            const auto think = [&] {
                if (o.ThinkMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(std::min<qint64>(
                        pause(random), std::max<qint64>(0, seconds * 1000 - run.elapsed()))));
            };
            std::unique_ptr<TSocketConnection> connection;
            Variant server;
            // The rows of one change-slip query and the milliseconds it took.
            const auto ask = [&](const QString& where, qint64& rows) {
                Variant sent;
                QElapsedTimer t;
                t.start();
                const QByteArray packet
                    = server
                          .Call(QStringLiteral("AS_GetRecords"),
                              {"Provider1", -1, Variant::Ref(sent), changeSlipQuery(where), GetRecordsReset})
                          .ToBytes();
                bool end = false;
                rows = consume(packet, end);
                return t.nsecsElapsed() / 1e6;
            };
            const auto keyWhere = [&](int i) {
                const qsizetype n = keys.size();
                const QStringList key = keys[((c * 7919 + i) % n + n) % n].split(u'|');
                return QStringLiteral("Where TO001='%1' and TO002='%2' and TO003='%3' ")
                    .arg(key[0], key[1], key[2]);
            };
            try {
                connection = remoteConnection(port);
                server = connection->AppServer();
                server.Call(QStringLiteral("Connect"),
                    {Variant::ArrayOf({"ZORV52", "DS", "HV01", database, "MOCTO"})});
                // Each connection's first query, all at once: the server
                // plans it anew for every connection. Timed apart from the run.
                qint64 rows = 0;
                const double ms = ask(keyWhere(-1), rows);
                std::lock_guard lock(mutex);
                firstMs.push_back(ms);
            } catch (const std::exception& e) {
                ++errors;
                std::lock_guard lock(mutex);
                std::printf("client %d: %s\n", c, e.what());
            }
            // Everybody logged in before the clock starts; users then come
            // in at random moments, not all in the same millisecond.
            connected.arrive_and_wait();
            if (!connection)
                return;
            run.start();
            think();
            try {
                for (int i = 0; run.elapsed() < seconds * 1000; ++i) {
                    const bool monthQuery = o.MonthEvery > 0 && i % o.MonthEvery == o.MonthEvery - 1;
                    if (i % 10 == 4) {
                        const QString saveError
                            = server
                                  .Call(QStringLiteral("InsertConTable"),
                                      {Variant::ArrayOf(
                                          {runName + QString::number(c) + u'-' + QString::number(i), "DS",
                                              "20261208", "ZORV52", "TO001", "A511", false})})
                                  .ToString();
                        if (saveError.isEmpty())
                            ++saved;
                        else
                            ++errors;
                        Variant lines = Variant::ArrayOf({"object frmZorv52Fmt: TfrmZorv52Fmt", "end"});
                        Variant size = 1;
                        const int stored
                            = server
                                  .Call(QStringLiteral("RunInsUpdSQL"),
                                      {false, Variant::Ref(lines),
                                          Variant::ArrayOf({"HV01", "DS", "", "TfrmZorv52Fmt",
                                              runName + QString::number(c) + u'-' + QString::number(i), "",
                                              ""}),
                                          Variant::Ref(size)})
                                  .ToInt();
                        if (stored == 1)
                            ++formats;
                        else
                            ++errors;
                        think();
                    }
                    qint64 rows = 0;
                    const double ms = ask(monthQuery ? month : keyWhere(i), rows);
                    if (monthQuery) {
                        ++months;
                        ownMonths.push_back(ms);
                    } else if (rows > 0)
                        own.push_back(ms);
                    else
                        ++errors; // a key of the data must find its slip
                    think();
                }
            } catch (const std::exception& e) {
                ++errors;
                std::lock_guard lock(mutex);
                std::printf("client %d: %s\n", c, e.what());
            }
            std::lock_guard lock(mutex);
            keyMs.insert(keyMs.end(), own.begin(), own.end());
            monthMs.insert(monthMs.end(), ownMonths.begin(), ownMonths.end());
        });
    }
    connected.arrive_and_wait();
    const double cpu0 = cpuMs(), engine0 = postgresCpuMs(), daemon0 = processCpuMs(daemonPid);
    QElapsedTimer wall;
    wall.start();
    for (std::thread& t : threads)
        t.join();
    const double runSeconds = wall.elapsed() / 1000.0;
    // Apart, since the clients here share the server's cores, as they would not in use.
    const double clientSeconds = (cpuMs() - cpu0) / 1e3, engineSeconds = (postgresCpuMs() - engine0) / 1e3,
                 daemonSeconds = (processCpuMs(daemonPid) - daemon0) / 1e3;
    const double busy = clientSeconds + engineSeconds + daemonSeconds;
    int found = -1, foundFormats = -1;
    try {
        auto check = remoteConnection(port);
        const Variant server = check->AppServer();
        server.Call(
            QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", database, "MOCTO"})});
        found = server
                    .Call(QStringLiteral("RunFreeSQL"),
                        {QStringLiteral("SELECT NCONDITION FROM $$GENES WHERE NCONDITION LIKE '%1%'")
                                .arg(runName)})
                    .ToInt();
        foundFormats
            = server
                  .Call(QStringLiteral("RunFreeSQL"),
                      {QStringLiteral("SELECT NT002 FROM $$WARRANT WHERE NT001 = 'TfrmZorv52Fmt' AND "
                                      "NT002 LIKE '%1%'")
                              .arg(runName)})
                  .ToInt();
    } catch (const std::exception& e) {
        std::printf("scheme check: %s\n", e.what());
    }
    std::printf(
        "load, scheme writes: %d saved, %d found afterwards; format writes: %d stored, %d found afterwards\n",
        saved.load(), found, formats.load(), foundFormats);
    std::printf("load, the daemon's long reads: %s\n",
        o.LongReads < 0
            ? "its default (as many as the cores)"
            : (o.LongReads == 0 ? "no limit" : qPrintable(QString::number(o.LongReads) + " at once")));
    std::printf("load, CPU of the clients, the daemon and PostgreSQL: %.1f s (%.1f + %.1f + %.1f) in %.1f s "
                "on %d cores "
                "(%.0f%% busy); clients pause %d ms on average between requests\n",
        busy, clientSeconds, daemonSeconds, engineSeconds, runSeconds, QThread::idealThreadCount(),
        100.0 * busy / (runSeconds * QThread::idealThreadCount()), o.ThinkMs);
    std::sort(keyMs.begin(), keyMs.end());
    std::sort(monthMs.begin(), monthMs.end());
    std::sort(firstMs.begin(), firstMs.end());
    const auto pct = [](const std::vector<double>& ms, double p) {
        return ms.empty() ? 0.0 : ms[std::min(ms.size() - 1, static_cast<size_t>(p * ms.size()))];
    };
    std::printf(
        "load, %d clients for %d s: %zu key queries and %d month queries in %.1f s (%.0f key queries/s); "
        "key query p50 %.1f ms, p99 %.1f ms (target < 100), max %.1f ms; month query p50 %.0f ms, p99 %.0f "
        "ms; "
        "errors %d\n",
        clients, seconds, keyMs.size(), months.load(), runSeconds, keyMs.size() / runSeconds, pct(keyMs, 0.5),
        pct(keyMs, 0.99), keyMs.empty() ? 0.0 : keyMs.back(), pct(monthMs, 0.5), pct(monthMs, 0.99),
        errors.load());
    std::printf("load, before the clock: each connection's first key query, all %zu at once: p50 %.1f ms, "
                "max %.1f ms\n",
        firstMs.size(), pct(firstMs, 0.5), firstMs.empty() ? 0.0 : firstMs.back());
}

QStringList slipKeys(const Variant& server, const QString& database)
{
    server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", database, "MOCTO"})});
    Variant sent;
    DataPacketReader reader(server
                                .Call(QStringLiteral("AS_GetRecords"),
                                    {"Provider2", -1, Variant::Ref(sent),
                                        "SELECT TO001, TO002, TO003 FROM $$MOCTO", GetRecordsReset})
                                .ToBytes());
    QStringList keys;
    while (reader.NextRow()) {
        const VariantList row = reader.Row();
        keys << row[0].ToString() + u'|' + row[1].ToString() + u'|' + row[2].ToString();
    }
    return keys;
}

// In-process and through a daemon on one home; then the load run.
void compare(const QString& home, const char* engine, const QString& database, const TBenchOptions& o,
    bool load, bool dataSets)
{
    // Clients read the daemon's secret, and the in-process connection its
    // database, from the home the registry names.
    qputenv("STEWARD_REGISTRY", (home + QStringLiteral("/registry.reg")).toUtf8());
    const Variant local(std::make_shared<TAppServer>(TServerConfig::FromHome(home)));
    const QStringList keys = slipKeys(local, database);
    TDaemonProcess daemon(home, o.LongReads);
    if (daemon.Port() == 0)
        return;
    if (o.LoadOnly) {
        if (load)
            loadRun(daemon.Port(), daemon.Pid(), database, keys, o);
        return;
    }
    const Figures inProcess = measure(local, engine, database);
    auto connection = remoteConnection(daemon.Port());
    const Figures remote = measure(connection->AppServer(), engine, database);
    double localCds = 0, remoteCds = 0;
    if (dataSets) {
        TSocketConnection inProcessConnection;
        inProcessConnection.SetAddress(QStringLiteral("127.0.0.1"));
        inProcessConnection.SetServerName(QStringLiteral("ZORV52S.Class1"));
        inProcessConnection.Open();
        localCds = intoDataSet(inProcessConnection, "in-process");
        remoteCds = intoDataSet(*connection, "daemon");
    }
    sideBySide(engine, inProcess, remote, localCds, remoteCds);
    if (load && o.Clients > 0 && !keys.isEmpty())
        loadRun(daemon.Port(), daemon.Pid(), database, keys, o);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TBenchOptions o = ParseBenchOptions(app.arguments());
    const QString postgres = o.Postgres;
    QTemporaryDir temp;
    const QString home = BenchHome(o, temp.path());
    RegisterAppServer();
    if (!(o.PostgresOnly && !postgres.isEmpty()))
        compare(home, "SQLite", QStringLiteral("DEMO"), o, postgres.isEmpty(), true);
    if (postgres.isEmpty()) {
        std::printf(
            "PostgreSQL: not measured (--postgres CONNINFO or ZORV_BENCH_POSTGRES); the load run ran on "
            "SQLite\n");
        return 0;
    }
    const QString pgHome = BenchPostgresHome(o, home);
    compare(pgHome, "PostgreSQL", BenchPostgresSchema(), o, true, false);
    return 0;
}
