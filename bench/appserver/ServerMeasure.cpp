#include "ServerMeasure.h"

#include "runtime/data/ClientDataSet.h"
#include "runtime/data/DataPacket.h"
#include "runtime/data/SocketConnection.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/DemoHome.h"
#include "zorv52/ChangeSlipQuery.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
#include <unistd.h>

QString changeSlipQuery(const QString& where)
{
    // The program's own statement (LEFT JOIN dialect, no conditions), so the
    // figures follow the query as it changes.
    const TQueryPieces pieces = ChangeSlipPiecesOfAllSlips();
    return pieces.SelectPart() + pieces.FromPart() + pieces.JoinPart() + where + pieces.OrderByPart();
}

// Reads every row of a packet the way a data set loads it; returns the rows.
qint64 consume(const QByteArray& packet, bool& end)
{
    DataPacketReader reader(packet);
    qint64 rows = 0;
    while (reader.NextRow())
        ++rows;
    end = reader.EndOfData();
    return rows;
}

// CPU time of the process in milliseconds: the figure that the load of other
// work on the machine does not inflate.
double cpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// CPU time of every PostgreSQL server process on this machine, in
// milliseconds: the other half of a PostgreSQL figure (the benchmark's own
// cluster on loopback; other clusters running meanwhile would count too).
namespace {

// The command name of a /proc/PID/stat line and the fields after it (state
// is the first; utime, stime, cutime, cstime are the 12th to 15th).
bool readStat(const QString& pid, QByteArray& name, QList<QByteArray>& fields)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
    if (open < 0 || close < open)
        return false;
    name = line.mid(open + 1, close - open - 1);
    fields = line.mid(close + 2).split(' ');
    return fields.size() > 14;
}

double ticksToMs(double ticks)
{
    return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

} // namespace

double postgresCpuMs()
{
    double ticks = 0;
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QByteArray name;
        QList<QByteArray> fields;
        if (!readStat(pid, name, fields) || name != "postgres")
            continue;
        // A server process that ended (a client went) is counted in its
        // parent's children's time from then on.
        for (int i = 11; i <= 14; ++i)
            ticks += fields[i].toDouble();
    }
    return ticksToMs(ticks);
}

double processCpuMs(qint64 pid)
{
    QByteArray name;
    QList<QByteArray> fields;
    if (pid <= 0 || !readStat(QString::number(pid), name, fields))
        return 0;
    return ticksToMs(fields[11].toDouble() + fields[12].toDouble());
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The month query and the stream of every slip through the late-bound
// interface of a connected server object; prints each figure as it comes.
Figures measure(const Variant& server, const char* engine, const QString& database)
{
    Figures f;
    server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", database, "MOCTO"})});

    // One slip type, one month of change dates (the last month of the data).
    const QString month
        = QStringLiteral("Where 1=1  and (TO001='A511' ) and (TO004 >= '20241201' and TO004 <= '20241231') ");
    std::vector<double> serverMs, totalMs, serverCpu, totalCpu, engineCpu;
    for (int run = 0; run < 7; ++run) {
        Variant sent;
        QElapsedTimer t;
        const double engine0 = postgresCpuMs();
        const double cpu0 = cpuMs();
        t.start();
        const Variant packet = server.Call(QStringLiteral("AS_GetRecords"),
            {"Provider1", -1, Variant::Ref(sent), changeSlipQuery(month), GetRecordsReset});
        serverMs.push_back(t.nsecsElapsed() / 1e6);
        serverCpu.push_back(cpuMs() - cpu0);
        bool end = false;
        f.monthRows = consume(packet.ToBytes(), end);
        totalMs.push_back(t.nsecsElapsed() / 1e6);
        totalCpu.push_back(cpuMs() - cpu0);
        engineCpu.push_back(postgresCpuMs() - engine0);
    }
    f.monthMs = median(totalMs);
    std::printf("%s, month query (A511, 2024-12): %lld rows; server %.1f ms wall / %.1f ms CPU, with client "
                "decoding %.1f ms wall / %.1f ms CPU, PostgreSQL processes %.1f ms CPU (median of 7)\n",
        engine, static_cast<long long>(f.monthRows), median(serverMs), median(serverCpu), median(totalMs),
        median(totalCpu), median(engineCpu));

    // Every slip: stream all rows in packets of 5,000.
    const double engine0 = postgresCpuMs();
    const double cpu0 = cpuMs();
    QElapsedTimer timer;
    timer.start();
    int packets = 0;
    Variant sent;
    Variant packet = server.Call(QStringLiteral("AS_GetRecords"),
        {"Provider1", 5000, Variant::Ref(sent), changeSlipQuery(QStringLiteral("Where 1=1 ")),
            GetRecordsReset});
    const double firstPacketMs = timer.nsecsElapsed() / 1e6;
    for (;;) {
        bool end = false;
        const qint64 n = consume(packet.ToBytes(), end);
        f.streamRows += n;
        ++packets;
        if (end || n < 5000)
            break;
        packet = server.Call(QStringLiteral("AS_GetRecords"), {"Provider1", 5000, Variant::Ref(sent), "", 0});
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpuSeconds = (cpuMs() - cpu0) / 1e3;
    const double engineSeconds = (postgresCpuMs() - engine0) / 1e3;
    f.streamRowsPerSecond = f.streamRows / seconds;
    std::printf("%s, stream all slips: %lld rows in %d packets; first packet after %.0f ms; "
                "%.2f s wall, %.0f rows/s; %.2f s CPU in this process, %.0f rows per CPU second; "
                "%.2f s CPU in PostgreSQL processes\n",
        engine, static_cast<long long>(f.streamRows), packets, firstPacketMs, seconds, f.streamRowsPerSecond,
        cpuSeconds, f.streamRows / cpuSeconds, engineSeconds);
    return f;
}

double intoDataSet(TSocketConnection& connection, const char* label)
{
    connection.AppServer().Call(
        QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})});
    TClientDataSet cds;
    cds.SetRemoteServer(&connection);
    cds.SetProviderName(QStringLiteral("Provider1"));
    cds.SetPacketRecords(5000);
    cds.SetCommandText(changeSlipQuery(QStringLiteral("Where 1=1 ")));
    const double cpu1 = cpuMs();
    QElapsedTimer timer;
    timer.start();
    cds.Open();
    const double openMs = timer.nsecsElapsed() / 1e6;
    cds.Last();
    const double s1 = timer.nsecsElapsed() / 1e9;
    const double c1 = (cpuMs() - cpu1) / 1e3;
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%s, into a client data set: %d records, %d fields; Open %.0f ms; %.2f s wall, %.0f rows/s; "
                "%.2f s CPU, %.0f rows per CPU second; cache %.0f MB, peak RSS %.0f MB\n",
        label, cds.RecordCount(), cds.FieldCount(), openMs, s1, cds.RecordCount() / s1, c1,
        cds.RecordCount() / c1, cds.CacheBytes() / 1e6, usage.ru_maxrss / 1e3);
    return cds.RecordCount() / s1;
}

TBenchOptions ParseBenchOptions(const QStringList& args)
{
    TBenchOptions o;
    o.Postgres = QString::fromUtf8(qgetenv("ZORV_BENCH_POSTGRES"));
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--slips"))
            o.Slips = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--clients"))
            o.Clients = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--seconds"))
            o.Seconds = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--postgres"))
            o.Postgres = args[i + 1];
        else if (args[i] == QLatin1String("--month-every"))
            o.MonthEvery = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--load-only"))
            o.LoadOnly = args[i + 1].toInt() != 0;
        else if (args[i] == QLatin1String("--think"))
            o.ThinkMs = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--long-reads"))
            o.LongReads = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--postgres-only"))
            o.PostgresOnly = args[i + 1].toInt() != 0;
        else if (args[i] == QLatin1String("--keep") || args[i] == QLatin1String("--reuse")) {
            o.Reuse = args[i] == QLatin1String("--reuse");
            o.Keep = args[i + 1];
        }
    }
    return o;
}

QString BenchHome(const TBenchOptions& o, const QString& temp)
{
    const QString home = o.Keep.isEmpty() ? temp : o.Keep;
    if (o.Reuse)
        return home;
    TDemoOptions options;
    options.Slips = o.Slips;
    options.Force = true; // --keep names a folder to make the home in, again if need be
    QElapsedTimer timer;
    timer.start();
    const TDemoSummary summary = CreateDemoHome(home, options);
    std::printf("generate: %lld slips, %lld lines, %lld sign-off records in %.2f s\n",
        static_cast<long long>(summary.Slips), static_cast<long long>(summary.Lines),
        static_cast<long long>(summary.SignOffRecords), timer.elapsed() / 1000.0);
    return home;
}

QString BenchPostgresHome(const TBenchOptions& o, const QString& home)
{
    const QString pgHome = home + QStringLiteral("/postgres");
    if (o.Reuse && QFile::exists(pgHome + QStringLiteral("/StewardS.ini")))
        return pgHome;
    TDemoOptions options;
    options.Slips = o.Slips;
    options.Force = true;
    options.PostgresConnection = o.Postgres;
    options.PostgresSchema = BenchPostgresSchema();
    QElapsedTimer timer;
    timer.start();
    const TDemoSummary summary = CreateDemoHome(pgHome, options);
    std::printf("generate into PostgreSQL (COPY): %lld slips, %lld lines in %.2f s\n",
        static_cast<long long>(summary.Slips), static_cast<long long>(summary.Lines),
        timer.elapsed() / 1000.0);
    return pgHome;
}
