// Calls per second of the condition builder and the data-rights filter, on
// the criteria and the statement of the change-slip report.

#include "common/LibStrs.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>

namespace {

QString changeSlipSql()
{
    return QStringLiteral(
        "Select SELECT MOCTO.*, MOCTP.*, TO001+'-'+TO002+'-'+TO003 AS TO001T, TO026+'-'+TO027 AS TO026T, "
        "A.MB002 AS CMSMB002A, B.MB002 AS CMSMB002B, C.MC002 AS CMSMC002A, D.MC002 AS CMSMC002B, E.MD002 AS "
        "CMSMD002A, F.MD002 AS CMSMD002B, G.MA002 AS PURMA002A, H.MA002 AS PURMA002B, I.MC002 AS CMSMC002C, "
        "J.MC002 AS CMSMC002D, K.TD014 AS COPTD014A, L.TD014 AS COPTD014B, M.TC012 AS COPTC012A, M.TC004 AS "
        "COPTC004A, N.TC012 AS COPTC012B, N.TC004 AS COPTC004B, O.MA002 AS COPMA002A, P.MA002 AS COPMA002B,"
        "G.MA010 AS PURMA010A,G.MA011 AS PURMA011A , TO055, TO155 ,MOCTO.UDF01 AS UDF01M, MOCTP.UDF01 AS "
        "UDF01D, "
        "Q.MW002 AS CMSMW002, R.MW002 AS CMSMW002T , S.MG005 AS COPMG005A,T.MG005 AS COPMG005B "
        " From FROM $$MOCTO AS MOCTO "
        "LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003  LEFT JOIN $$ADMMF AS X "
        "ON "
        "MOCTO.CREATOR=X.MF001  LEFT JOIN $$ADMMF AS Y ON TO044=Y.MF001 LEFT JOIN $$CMSMQ AS CMSMQ ON "
        "MQ001=TO001 "
        "LEFT JOIN $$CMSMB AS A ON A.MB001=TO021 LEFT JOIN $$CMSMB AS B ON B.MB001=TO121 LEFT JOIN $$CMSMC "
        "AS C ON "
        "C.MC001=TO022 LEFT JOIN $$CMSMC AS D ON D.MC001=TO122 LEFT JOIN $$CMSMD AS E ON E.MD001=TO023 LEFT "
        "JOIN "
        "$$CMSMD AS F ON F.MD001=TO123 LEFT JOIN $$PURMA AS G ON G.MA001=TO033 LEFT JOIN $$PURMA AS H ON "
        "H.MA001=TO133 LEFT JOIN $$CMSMC AS I ON I.MC001=TP010 LEFT JOIN $$CMSMC AS J ON J.MC001=TP110 LEFT "
        "JOIN "
        "$$COPTD AS K ON K.TD001=TO028 AND K.TD002=TO029 AND K.TD003=TO030 LEFT JOIN $$COPTD AS L ON "
        "L.TD001=TO128 AND L.TD002=TO129 AND L.TD003=TO130 LEFT JOIN $$COPTC AS M ON M.TC001=K.TD001 AND "
        "M.TC002=K.TD002 LEFT JOIN $$COPTC AS N ON N.TC001=L.TD001 AND N.TC002=L.TD002 LEFT JOIN $$COPMA AS "
        "O ON "
        "O.MA001=M.TC004 LEFT JOIN $$COPMA AS P ON P.MA001=N.TC004 \r\n"
        " LEFT JOIN $$CMSMW AS Q ON Q.MW001 = TP007  LEFT JOIN $$CMSMW AS R ON R.MW001 = TP107 "
        " LEFT JOIN $$COPMG AS S ON S.MG001=M.TC004 AND S.MG002=K.TD004 AND S.MG003=K.TD014 "
        " LEFT JOIN $$COPMG AS T ON T.MG001=N.TC004 AND T.MG002=L.TD004 AND T.MG003=L.TD014 "
        "LEFT JOIN $$CMSNA AS CMSNA  ON CMSNA.NA002=TO069 AND CMSNA.NA001='1' "
        "LEFT JOIN $$CMSNA AS CMSNA1 ON CMSNA1.NA002=TO169 AND CMSNA1.NA001='1' "
        " Where Where 1=1  and (TO001='A001' )  and  (TO002 Between '20110001' and '20119999')  "
        " Order by  ORDER BY TO001, TO002, TO003, TP004 ");
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
