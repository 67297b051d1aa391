// Change-slip pages: a demo home of N slips (2,000 by default), its slips
// read through the in-process application server into the change-slip
// format TfrmZorv52Fmt, then paged. Prints the time to open the data, the
// time until the first preview page exists after the data is open, the
// time for every page, pages per second and the page model's size per page.
//
//   bench_slip_pages [slips] [runs]

#include "runtime/data/ClientDataSet.h"
#include "runtime/data/DataPacket.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"
#include "zorv52/ChangeSlipQuery.h"
#include "zorv52/Zorv52FmtF.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QString everySlipStatement()
{
    TQueryPieces pieces;
    const TChangeSlipQuery query(0);
    // Keys that are all empty select every slip.
    query.BuildQuery(QueryModeKeys, Variant::ArrayOf({QString(), QString(), QString(), QString()}), pieces);
    TQuerySettings settings;
    settings.MainTable = QStringLiteral("MOCTO");
    return query.AdjustQuery(pieces, settings);
}

double ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int slips = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 2000;
    const int runs = argc > 2 ? std::max(1, QString::fromLocal8Bit(argv[2]).toInt()) : 3;
    QTemporaryDir home;
    TDemoOptions options;
    options.Slips = slips;
    const TDemoSummary summary = CreateDemoHome(home.path(), options);
    qputenv("STEWARD_REGISTRY", (home.path() + QStringLiteral("/registry.reg")).toUtf8());
    RegisterAppServer();
    Variant server = CreateOleObject(QStringLiteral("ZORV52S.Class1"));
    server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})});
    const QString sql = everySlipStatement();
    std::printf("demo: %lld slips, %lld lines\n", static_cast<long long>(summary.Slips),
        static_cast<long long>(summary.Lines));
    for (int run = 1; run <= runs; ++run) {
        std::unique_ptr<TfrmZorv52Fmt, FreeComponent> form(CreateForm<TfrmZorv52Fmt>());
        QElapsedTimer timer;
        timer.start();
        Variant sent;
        const Variant packet = server.Call(QStringLiteral("AS_GetRecords"),
            {QStringLiteral("Provider1"), -1, Variant::Ref(sent), sql, GetRecordsReset});
        form->ClientDataSet1->LoadFromPacket(packet.ToBytes());
        const qint64 opened = timer.nsecsElapsed();
        const int rows = form->ClientDataSet1->RecordCount();
        form->PrepareData();
        timer.restart();
        TQRPrinter* printer = form->QuickRep1->QRPrinter();
        if (!printer->GenerateAhead()) {
            std::fprintf(stderr, "the report did not start\n");
            return 1;
        }
        const qint64 firstPage = timer.nsecsElapsed();
        printer->Complete();
        const qint64 all = timer.nsecsElapsed();
        const auto pages = form->QuickRep1->Pages();
        std::size_t bytes = 0;
        for (int page = 1; page <= pages->PageCount(); ++page)
            bytes += pages->PageBytes(page);
        std::printf("run %d: %d rows opened in %.1f ms; first page after %.1f ms; %d pages in %.1f ms = %.0f "
                    "pages/s; "
                    "%.2f KB/page (+ %.1f KB shared)\n",
            run, rows, ms(opened), ms(firstPage), pages->PageCount(), ms(all),
            pages->PageCount() / (ms(all) / 1000.0), bytes / 1024.0 / std::max(1, pages->PageCount()),
            pages->SharedBytes() / 1024.0);
    }
    return 0;
}
