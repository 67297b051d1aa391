// Stored change-slip formats on a demo home: the change-slip format form
// TfrmZorv52Fmt made and given its context (which reads the stored format
// of its name), the designer opened on it (window, inspector, field lists),
// and a stored format written again (lock and update). Prints the median
// and best of each over the runs.
//
//   bench_format_design [runs]

#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"
#include "zorv52/Zorv52FmtF.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

const QString FormatName = QStringLiteral("基准格式");

struct Figures {
    QList<double> Runs;
    void Add(const QElapsedTimer& timer) { Runs << static_cast<double>(timer.nsecsElapsed()) / 1e6; }
    void Print(const char* what)
    {
        std::sort(Runs.begin(), Runs.end());
        std::printf("%s: median %.2f ms, best %.2f ms (%lld runs)\n", what, Runs.at(Runs.size() / 2),
            Runs.first(), static_cast<long long>(Runs.size()));
    }
};

std::unique_ptr<IVRFormatForm> formFor(const Variant& server, const QString& name)
{
    std::unique_ptr<IVRFormatForm> form = CreateZorv52Format(nullptr);
    TFormatContext context;
    context.CompanyCode = QStringLiteral("HV01");
    context.UserCode = QStringLiteral("DS");
    context.ApplicationServer = server;
    form->SetFormatName(name);
    form->SetContext(context);
    return form;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
        qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 20;
    QTemporaryDir home;
    TDemoOptions options;
    options.Slips = 20;
    CreateDemoHome(home.path(), options);
    qputenv("STEWARD_REGISTRY", (home.path() + QStringLiteral("/registry.reg")).toUtf8());
    RegisterAppServer();
    Variant server = CreateOleObject(QStringLiteral("ZORV52S.Class1"));
    server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})});

    // A stored format to read: the title moved, a label added.
    {
        std::unique_ptr<IVRFormatForm> holder = formFor(server, QStringLiteral("<New>"));
        auto* form = dynamic_cast<TfrmZorv52Fmt*>(holder.get());
        form->lblVoucherName->SetLeft(form->lblVoucherName->Left() + 40);
        auto* label = new TQRLabel(form);
        label->SetName(QStringLiteral("ExLbl1"));
        label->SetParent(form->QRGroup);
        label->SetCaption(QStringLiteral("备注"));
        form->Store()->RuntimeComponents << label->Name();
        form->Store()->StoreFormat(QStringLiteral("TfrmZorv52Fmt"), FormatName);
        if (!form->Store()->SaveOK) {
            std::fprintf(stderr, "the format could not be stored\n");
            return 1;
        }
    }

    Figures made, opened, stored;
    ScriptedDialogService
        dialogs; // answers the save question of each closing designer and the exists question
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        std::unique_ptr<IVRFormatForm> holder = formFor(server, FormatName);
        made.Add(timer);
        auto* form = dynamic_cast<TfrmZorv52Fmt*>(holder.get());
        if (form->FindComponent(QStringLiteral("ExLbl1")) == nullptr) {
            std::fprintf(stderr, "the stored format was not read\n");
            return 1;
        }
        timer.restart();
        form->BeginDesign({});
        QApplication::processEvents();
        opened.Add(timer);
        dialogs.ExpectMessage(mrNo);
        form->DreamDesigner1->SetActive(false);
        dialogs.ExpectMessage(mrYes);
        timer.restart();
        form->Store()->StoreFormat(QStringLiteral("TfrmZorv52Fmt"), FormatName);
        stored.Add(timer);
    }
    made.Print("form made and stored format read");
    opened.Print("designer open on the change slip");
    stored.Print("stored format written again (lock + update)");
    return dialogs.Failures().isEmpty() ? 0 : 1;
}
