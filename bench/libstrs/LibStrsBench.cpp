// Calls per second of the condition builder and the data-rights filter, on
// the criteria and the statement of the change-slip report.

#include "common/LibStrs.h"
#include "zorv52/ChangeSlipQuery.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace {

// The program's own change-slip statement (LEFT JOIN dialect, no conditions):
// the text the rights filter reads for its twenty-odd joined tables.
QString changeSlipSql()
{
    const TQueryPieces pieces = ChangeSlipPiecesOfAllSlips();
    return pieces.SelectPart() + pieces.FromPart() + pieces.JoinPart() + pieces.WherePart()
        + pieces.OrderByPart();
}

const char* onlyMatching = nullptr;

// CPU time of this thread: the rate per core, whatever else the machine runs.
double threadCpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// Runs body repeatedly for about a second and prints its rate.
void measure(const char* name, const std::function<void()>& body)
{
    if (onlyMatching && !std::strstr(name, onlyMatching))
        return;
    for (int i = 0; i < 1000; ++i)
        body();
    QElapsedTimer timer;
    timer.start();
    const double cpuStart = threadCpuSeconds();
    qint64 calls = 0;
    while (timer.nsecsElapsed() < 1000000000LL) {
        for (int i = 0; i < 1000; ++i)
            body();
        calls += 1000;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = threadCpuSeconds() - cpuStart;
    std::printf("%-42s %10.0f calls/s wall %10.0f calls/s cpu %7.2f us/call cpu\n", name, calls / seconds,
        calls / cpu, cpu * 1e6 / calls);
}

} // namespace

// Optional argument: run only the measurements whose name contains it.
int main(int argc, char** argv)
{
    if (argc > 1)
        onlyMatching = argv[1];
    const QString range4(QChar(4));
    const QString list5(QChar(5));
    const Variant scalar("A001");
    const Variant plainRange = Variant::ArrayOf({"20110101", "20111231"});
    const Variant markedRange = Variant::ArrayOf({range4, "A001", "A009"});
    const Variant upperOnly = Variant::ArrayOf({range4, Variant(), "O'Hara"});
    const Variant list = Variant::ArrayOf(
        {list5, "A001", Variant::ArrayOf({"A002", "name"}), Variant::Null(), "A003", "A004", "A005"});
    const Variant numeric = Variant::ArrayOf({range4, " 1 ", "10.5"});
    QString where;
    QString condition;
    qsizetype sink = 0;

    auto field = [&](const Variant& value, int type) {
        return [&value, type, &where, &condition, &sink]() {
            where = QStringLiteral("Where 1=1 ");
            AddFieldCondition(where, QStringLiteral("TO002"), value, condition, type);
            sink += where.size();
        };
    };
    measure("AddFieldCondition scalar, type 1", field(scalar, 1));
    measure("AddFieldCondition range, type 1", field(plainRange, 1));
    measure("AddFieldCondition marked range, type 1", field(markedRange, 1));
    measure("AddFieldCondition upper only, type 1", field(upperOnly, 1));
    measure("AddFieldCondition list of 5", field(list, 1));
    measure("AddFieldCondition marked range, type 2", field(numeric, 2));

    const QString sql = changeSlipSql();
    const Variant rights = Variant::ArrayOf({5, "MOCTO MOCTO.TO001 IN ('A001','A002','A003')",
        "PURMA PURMA.MA001 NOT LIKE 'V9%' AND PURMA.MA003='1'", "CMSMC CMSMC.MC001<>'W99'",
        "COPMA COPMA.MA001 IN ('C001','C002')", "INVMB INVMB.MB001='X'"});
    QString filter;
    measure("BuildRightsFilter, 20 joins, 5 entries", [&]() {
        BuildRightsFilter(rights, QStringLiteral("DEMO"), sql, filter);
        sink += filter.size();
    });
    std::printf(
        "filter: %d characters, %lld checksum\n", int(filter.size()), static_cast<long long>(sink % 1000));
    return 0;
}
