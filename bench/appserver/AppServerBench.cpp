// Application server benchmark: generates a demo home of 100,000 change slips
// (or --slips N) in a temporary folder, then measures through the late-bound
// interface
//   - the full change-slip query for one slip type over one month of change
//     dates (all rows in one packet, decoded by the client side), and
//   - streaming every slip line (about 800,000 rows) in packets of 5,000 rows
//     into a reader that touches every row, and
//   - the same rows into a client data set (TClientDataSet over an in-process
//     connection, PacketRecords 5,000, Open then Last), and
//   - the engine alone on the same translated query through the SQLite C API
//     (stepping only, then stepping and reading every cell): what no server
//     on this engine can beat,
// and prints the figures: wall time, and the CPU time of the process over the
// same section (wall time grows with the load of other work on the machine;
// CPU time much less; for PostgreSQL the CPU time of its server processes is
// printed too). With a PostgreSQL server given (--postgres CONNINFO,
// or ZORV_BENCH_POSTGRES), the same data goes into its schema bench_demo and
// the month query and the stream are measured there too and printed beside
// the SQLite figures.
// Usage: bench_appserver [--slips N] [--keep DIR | --reuse DIR] [--postgres CONNINFO] [--postgres-only 1]
// (--keep makes the home in DIR and leaves it; --reuse measures a home made before).
#include "ServerMeasure.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/DataPacket.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/DemoHome.h"
#include "suite/appserver/ServerConfig.h"
#include "suite/appserver/SqlTranslator.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

// Rows per second of the engine alone: the statement stepped with the
// server's mapping of the file, and with every cell read as the provider
// reads it (or none).
void engineAlone(const QString& file, const QString& sql, bool readCells)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr)
        != SQLITE_OK) {
        std::printf("engine alone: cannot open %s\n", qPrintable(file));
        sqlite3_close(db);
        return;
    }
    sqlite3_exec(db, "PRAGMA cache_size=-65536; PRAGMA mmap_size=2147418112;", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        std::printf("engine alone: %s\n", sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    const int columns = sqlite3_column_count(stmt);
    QElapsedTimer t;
    const double cpu0 = cpuMs();
    t.start();
    qint64 rows = 0;
    qint64 bytes = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ++rows;
        if (!readCells)
            continue;
        for (int i = 0; i < columns; ++i) {
            sqlite3_value* v = sqlite3_column_value(stmt, i);
            if (sqlite3_value_type(v) != SQLITE_NULL && sqlite3_value_text(v))
                bytes += sqlite3_value_bytes(v);
        }
    }
    const double seconds = t.nsecsElapsed() / 1e9;
    const double cpuSeconds = (cpuMs() - cpu0) / 1e3;
    std::printf("engine alone, %s: %lld rows of %d columns (%lld bytes of text) in %.2f s wall, %.0f rows/s; "
                "%.0f rows per CPU second\n",
        readCells ? "every cell read" : "stepping only", static_cast<long long>(rows), columns,
        static_cast<long long>(bytes), seconds, rows / seconds, rows / cpuSeconds);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TBenchOptions o = ParseBenchOptions(app.arguments());
    const QString postgres = o.Postgres;
    QTemporaryDir temp;
    const QString home = BenchHome(o, temp.path());

    qputenv("STEWARD_REGISTRY", (home + QStringLiteral("/registry.reg")).toUtf8());
    RegisterAppServer();
    const Variant server = CreateOleObject(QStringLiteral("ZORV52S.Class1"));
    const bool measureSqlite = !(o.PostgresOnly && !postgres.isEmpty());
    const Figures lite = measureSqlite ? measure(server, "SQLite", QStringLiteral("DEMO")) : Figures();

    // The same rows into a client data set, as a report's data set takes them.
    if (measureSqlite) {
        TSocketConnection connection;
        connection.SetAddress(QStringLiteral("127.0.0.1"));
        connection.SetServerName(QStringLiteral("ZORV52S.Class1"));
        connection.Open();
        intoDataSet(connection, "in-process");
    }

    // The engine alone on the text the server runs.
    if (measureSqlite) {
        const QString file = home + QStringLiteral("/C_DATA/DEMO.db");
        QString sql;
        {
            auto db = OpenBackend(QStringLiteral("SQLITE"), file);
            sql = TranslateSql(changeSlipQuery(QStringLiteral("Where 1=1 ")), DialectOf(*db));
        }
        engineAlone(file, sql, false);
        engineAlone(file, sql, true);
    }
    if (postgres.isEmpty()) {
        std::printf("PostgreSQL: not measured (--postgres CONNINFO or ZORV_BENCH_POSTGRES)\n");
        return 0;
    }

    // The same data in PostgreSQL, schema bench_demo, through a server object
    // of a home whose StewardS.ini names it.
    const QString pgHome = BenchPostgresHome(o, home);
    const Variant pgServer(std::make_shared<TAppServer>(TServerConfig::FromHome(pgHome)));
    const Figures pg = measure(pgServer, "PostgreSQL", BenchPostgresSchema());
    std::printf("\n%-44s %12s %12s\n", "side by side", "SQLite", "PostgreSQL");
    std::printf(
        "%-44s %12.1f %12.1f\n", "month query, ms (PostgreSQL target < 200)", lite.monthMs, pg.monthMs);
    std::printf("%-44s %12.0f %12.0f\n", "stream all slips, rows/s", lite.streamRowsPerSecond,
        pg.streamRowsPerSecond);
    std::printf("%-44s %12lld %12lld\n", "rows (month / all)", static_cast<long long>(lite.monthRows),
        static_cast<long long>(pg.monthRows));
    std::printf("%-44s %12lld %12lld\n", "", static_cast<long long>(lite.streamRows),
        static_cast<long long>(pg.streamRows));
    return 0;
}
