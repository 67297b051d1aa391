// Change-slip statement benchmark: the time from option values (or shell
// keys) to the finished statement the options window sends, for criteria
// from the simplest to a long list, in both SQL dialects, with and without
// the user's data-rights filters woven in. Prints, per case, the median, the
// 99th percentile and the slowest of many runs, in wall time and in the
// thread's CPU time (on a loaded machine the slow wall times are mostly time
// the process was not running), and the statement's length.
// Usage: bench_zorv52 [--runs N]
#include "options/SendStatus.h"
#include "zorv52/ChangeSlipCriteria.h"
#include "zorv52/ChangeSlipQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct TCase {
    const char* Name;
    int SqlType;
    int Mode;
    Variant Values;
    bool Rights;
};

Variant criteria(const QString& slipType)
{
    Variant values = Variant::CreateArray(1, 9);
    values[1] = SlipTypeCondition(slipType);
    values[6] = ApprovalStatusCondition(0);
    values[7] = PrintStatusCondition(1);
    values[8] = SendStatusCondition(2);
    values[9] = QStringLiteral("20261208");
    return values;
}

Variant everyPanel()
{
    Variant values = criteria(QStringLiteral("A511"));
    values[2] = Variant::ArrayOf({QString(QChar(4)), "20240001", "20249999"});
    values[3] = Variant::ArrayOf({QString(QChar(5)), "0001", "0002", "0003"});
    values[4] = Variant::ArrayOf({"20240101", "20241231"});
    values[5] = Variant::ArrayOf({QString(), "20250131"});
    return values;
}

// A slip-number list of 500 numbers, each with a quote to double.
Variant longList()
{
    Variant values = criteria(QStringLiteral("A'511"));
    VariantList numbers {QString(QChar(5))};
    for (int i = 0; i < 500; ++i)
        numbers << QStringLiteral("2024'%1").arg(i, 4, 10, QLatin1Char('0'));
    values[2] = Variant::ArrayOf(numbers);
    return values;
}

Variant rightsData()
{
    return Variant::ArrayOf({"TO021 = 'F01'", "YYYYYYYYYY", "Y", "F01", "Y",
        Variant::ArrayOf({3, "PURMA PURMA.MA001 <> 'S0001'", "CMSMB CMSMB.MB001 IN ('F01','F02')",
            "COPMA COPMA.MA001 <> ''"})});
}

QString buildStatement(const TCase& c, const Variant& power)
{
    TQueryPieces pieces;
    return ChangeSlipStatement(
        {c.SqlType, c.Mode, c.Values, ChangeSlipSettings(power, QStringLiteral("DEMO")), c.Rights}, pieces);
}

double threadCpuMicroseconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 2000;
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--runs"));
    if (at > 0 && at + 1 < args.size())
        runs = std::max(1, args[at + 1].toInt());

    const Variant keys = Variant::ArrayOf({"A511", "20240001", "0002", "51"});
    const std::vector<TCase> cases {
        {"slip type, default statuses", 0, QueryModeCriteria, criteria(QStringLiteral("A511")), false},
        {"every panel filled", 0, QueryModeCriteria, everyPanel(), false},
        {"every panel, data rights", 0, QueryModeCriteria, everyPanel(), true},
        {"500-number list, data rights", 0, QueryModeCriteria, longList(), true},
        {"key print", 0, QueryModeKeys, keys, false},
        {"(+) dialect, every panel, rights", 1, QueryModeCriteria, everyPanel(), true},
    };
    const Variant power = rightsData();

    std::printf("change-slip statement, %d runs per case (microseconds)\n", runs);
    std::printf("%-34s %8s %8s %8s | %8s %8s %8s | %6s\n", "case", "median", "p99", "slowest", "cpu med",
        "cpu p99", "cpu max", "chars");
    for (const TCase& c : cases) {
        std::vector<double> times, cpu;
        times.reserve(runs);
        cpu.reserve(runs);
        qsizetype length = 0;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer timer;
            const double cpuStart = threadCpuMicroseconds();
            timer.start();
            const QString sql = buildStatement(c, power);
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
            cpu.push_back(threadCpuMicroseconds() - cpuStart);
            length = sql.size();
        }
        std::sort(times.begin(), times.end());
        std::sort(cpu.begin(), cpu.end());
        const auto p
            = [](const std::vector<double>& v, int percent) { return v[(v.size() - 1) * percent / 100]; };
        std::printf("%-34s %8.1f %8.1f %8.1f | %8.1f %8.1f %8.1f | %6lld\n", c.Name, p(times, 50),
            p(times, 99), times.back(), p(cpu, 50), p(cpu, 99), cpu.back(), static_cast<long long>(length));
    }
    return 0;
}
