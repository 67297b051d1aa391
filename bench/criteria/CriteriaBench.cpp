// Opens the base criteria form with ten selection panels against a demo home
// whose user has 200 condition schemes, and prints how long each stage takes:
// reading the descriptions, initialising (services, system parameters, the
// in-process server), building the widgets, and loading the scheme list.
//
//   bench_criteria [iterations]

#include "criteria/BaseGene.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/DemoHome.h"
#include "suite/hubdesk/HubDeskManager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QString tenPanels()
{
    QString text
        = QStringLiteral("inherited frmZorv52: TfrmBaseGene\n  Width = 700\n  Height = 560\n"
                         "  inherited pgOption: TExtPageControl\n    inherited tsOption1: TTabSheet\n");
    for (int i = 0; i < 10; ++i) {
        const QString style = i % 3 == 0 ? QStringLiteral("sp_Range")
            : i % 3 == 1                 ? QStringLiteral("sp_Discrete")
                                         : QStringLiteral("sp_UserChoice");
        text += QStringLiteral("      object sp%1: TSelectPanel\n        Left = 4\n        Top = %2\n"
                               "        Width = 500\n        Height = 46\n        Caption = '条件%1'\n"
                               "        Style = %3\n        TabOrder = %1\n      end\n")
                    .arg(i)
                    .arg(4 + i * 48)
                    .arg(style);
    }
    return text + QStringLiteral("    end\n  end\nend\n");
}

// Schemes are stored and listed for the session's user, so the server wants
// a login first; the options window does this in the program, the base form
// alone does not.
bool logInAsDs(const Variant& server)
{
    const QString refused = server
                                .Call(QStringLiteral("Connect"),
                                    {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO",
                                        DemoPassword(QStringLiteral("DS"))})})
                                .ToString();
    if (!refused.isEmpty())
        std::fprintf(stderr, "the demo server refused DS: %s\n", qPrintable(refused));
    return refused.isEmpty();
}

struct Stages {
    double read = 0, init = 0, widgets = 0, schemes = 0, total = 0;
};

Stages openOnce(const QString& layout, const Variant& manager)
{
    Stages s;
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<TfrmBaseGene, FreeComponent> form(CreateForm<TfrmBaseGene>());
    form->SetName(QStringLiteral("frmZorv52"));
    ReadComponent(form.get(), layout);
    s.read = timer.nsecsElapsed() / 1e6;
    form->SetHostObject(manager);
    form->SetModulePath(QStringLiteral("/opt/steward/libZORV52C.so"));
    if (!form->ApplyParams(Variant::ArrayOf(
            {Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("FEP")}))) {
        std::fprintf(
            stderr, "initialisation failed: %s\n", qPrintable(form->ErrorCodes() + form->ErrorTexts()));
        std::exit(1);
    }
    if (!logInAsDs(form->ApplicationServer()))
        std::exit(1);
    s.init = timer.nsecsElapsed() / 1e6 - s.read;
    form->Widget();
    s.widgets = timer.nsecsElapsed() / 1e6 - s.read - s.init;
    form->FormShow(form.get());
    s.total = timer.nsecsElapsed() / 1e6;
    s.schemes = s.total - s.read - s.init - s.widgets;
    if (form->lstCondition->Items()->Count() != 200) {
        std::fprintf(stderr, "expected 200 schemes, listed %d\n", form->lstCondition->Items()->Count());
        std::exit(1);
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir home;
    TDemoOptions options;
    options.Slips = 20;
    CreateDemoHome(home.path(), options);
    qputenv("STEWARD_REGISTRY", (home.path() + QStringLiteral("/registry.reg")).toUtf8());
    RegisterHubDesk();
    const Variant manager = CreateOleObject(QStringLiteral("HubDesk.Manager"));
    const Variant server = CreateOleObject(QStringLiteral("ZORV52S.Class1"));
    if (!logInAsDs(server))
        return 1;
    const QString keys = QStringLiteral("sp0.style;sp1.style;sp2.style;");
    const QString values = QStringLiteral("sp_Range\x03"
                                          "A\x03"
                                          "B\r\nsp_Discrete\x03"
                                          "X\x04\r\nsp_UserChoice\x03True\x03\x03\r\n");
    for (int i = 0; i < 200; ++i) {
        const QString answer = server
                                   .Call(QStringLiteral("InsertConTable"),
                                       {Variant::ArrayOf({QStringLiteral("方案%1").arg(i, 3, 10, QChar(u'0')),
                                           QStringLiteral("DS"), QStringLiteral("20240531"),
                                           QStringLiteral("ZORV52"), keys, values, 0})})
                                   .ToString();
        if (!answer.isEmpty()) {
            std::fprintf(stderr, "cannot store scheme %d: %s\n", i, qPrintable(answer));
            return 1;
        }
    }
    const QString layout = tenPanels();
    openOnce(layout, manager); // warm-up: first resource reads and font look-ups
    std::vector<Stages> runs;
    for (int i = 0; i < iterations; ++i)
        runs.push_back(openOnce(layout, manager));
    std::sort(runs.begin(), runs.end(), [](const Stages& a, const Stages& b) { return a.total < b.total; });
    const Stages& median = runs[runs.size() / 2];
    std::printf("criteria form, 10 panels, 200 schemes, %d runs (median run, ms):\n", iterations);
    std::printf("  read descriptions  %8.2f\n", median.read);
    std::printf("  initialise         %8.2f\n", median.init);
    std::printf("  build widgets      %8.2f\n", median.widgets);
    std::printf("  show, list schemes %8.2f\n", median.schemes);
    std::printf("  total              %8.2f   (fastest %.2f, slowest %.2f)\n", median.total,
        runs.front().total, runs.back().total);
    return 0;
}
