#pragma once
// What the application server benchmarks measure alike, in-process or through
// the daemon: the change-slip query of the options window, the month query and
// the stream of every slip through the late-bound interface of a server
// object, and the clocks they are timed with.

#include "runtime/system/Variant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class TSocketConnection;

// The change-slip query with the given where part.
QString changeSlipQuery(const QString& where);
// Reads every row of a packet the way a data set loads it; returns the rows.
qint64 consume(const QByteArray& packet, bool& end);
// CPU time of the process in milliseconds.
double cpuMs();
// CPU time of every PostgreSQL server process on this machine, ended ones
// included, in milliseconds.
double postgresCpuMs();
// CPU time of process pid (all its threads), in milliseconds; 0 when it is gone.
double processCpuMs(qint64 pid);
double median(std::vector<double> v);

struct Figures {
    qint64 monthRows = 0;
    double monthMs = 0; // server and client decoding, median wall time
    qint64 streamRows = 0;
    double streamRowsPerSecond = 0;
};

// The month query (median of 7) and the stream of every slip in packets of
// 5,000 rows, through a server object that Connect is sent to first; prints
// each figure with the engine's name.
Figures measure(const Variant& server, const char* engine, const QString& database);
// Every slip into a client data set over an open connection (Connect as DS
// to DEMO first; PacketRecords 5,000, Open then Last); prints the figures and
// answers rows per second.
double intoDataSet(TSocketConnection& connection, const char* label);

// The command line both benchmarks take: --slips N, --keep DIR | --reuse DIR,
// --postgres CONNINFO (default $ZORV_BENCH_POSTGRES), --clients N, --seconds S,
// --month-every N, --load-only 1, --postgres-only 1, --think MS, --long-reads N.
struct TBenchOptions {
    int Slips = 100000;
    int Clients = 50;
    int Seconds = 10;
    QString Keep; // the home's folder; empty: a temporary one
    bool Reuse = false; // measure the home made before in Keep
    QString Postgres;
    int MonthEvery = 10; // --month-every N: the load run's every Nth query is the month query (0: never)
    bool LoadOnly = false; // --load-only 1: the load run alone
    bool PostgresOnly = false; // --postgres-only 1: no SQLite figures (a quieter machine for PostgreSQL's)
    int ThinkMs = 0; // --think MS: a load client's mean pause between requests (0: none, as fast as it can)
    int LongReads = -1; // --long-reads N: the daemon's LongReads setting (-1: its default; 0: no limit)
};
TBenchOptions ParseBenchOptions(const QStringList& args);

// The SQLite home to measure: made (again) in the --keep folder or in temp,
// or the --reuse folder as it is. Prints what was generated.
QString BenchHome(const TBenchOptions& o, const QString& temp);
// The PostgreSQL home beside it (schema bench_demo of --postgres), made
// unless --reuse finds it made.
QString BenchPostgresHome(const TBenchOptions& o, const QString& home);
// The schema BenchPostgresHome fills.
inline QString BenchPostgresSchema()
{
    return QStringLiteral("bench_demo");
}
