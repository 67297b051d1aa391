// Layout designer benchmark, on a slip-like format form of about 300 report
// controls in 7 bands (offscreen unless a display is given). Prints:
//   - open: from starting the designer to its whole window painted into a
//     picture, with the field lists filled and the inspector showing the
//     first control (median and best of --runs, default 20);
//   - drag: 20 selected controls dragged over --frames positions (default
//     600), each position painted into a picture of a 1100 x 900 view of the
//     surface: frames per second and the worst frame;
//   - store: the layout with 20 moved controls and 5 added labels stored as
//     a new format, stored again as an update (lock, counter) and read back
//     into a fresh form, through the application server on a demo database
//     (300 slips) in a temporary folder: milliseconds of each, median of --runs.
// Usage: bench_designer [--runs N] [--frames N] [--png FILE]
// (--png: a picture of the designer window after the drag).

#include "format/FormatStore.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignSurface.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ObjectProperties.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Forms.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/system/AutoObject.h"
#include "suite/appserver/AppServer.h"
#include "suite/appserver/DemoHome.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class TfrmBenchFmt : public TForm {
    Q_OBJECT
public:
    explicit TfrmBenchFmt(TComponent* owner = nullptr)
        : TForm(owner)
    {
        SetName(QStringLiteral("frmBenchFmt"));
        report = new TQuickRep(this);
        report->SetName(QStringLiteral("QuickRep1"));
        report->SetParent(this);
        report->SetDataSet(QStringLiteral("ClientDataSet1"));
        const TQRBandType kinds[]
            = {rbTitle, rbPageHeader, rbColumnHeader, rbDetail, rbGroupFooter, rbSummary, rbPageFooter};
        const int counts[] = {40, 60, 30, 40, 40, 50, 40}; // 300 controls
        int n = 0;
        for (int b = 0; b < 7; ++b) {
            auto* band = new TQRBand(this);
            band->SetName(QStringLiteral("Band%1").arg(b));
            band->SetParent(report);
            band->SetBandType(kinds[b]);
            band->SetBounds(0, 0, 720, 24 * ((counts[b] + 9) / 10) + 8);
            for (int i = 0; i < counts[b]; ++i, ++n) {
                TQRCustomLabel* c = nullptr;
                if (i % 3 == 0) {
                    auto* label = new TQRLabel(this);
                    label->SetCaption(QStringLiteral("栏位%1").arg(n));
                    c = label;
                } else {
                    auto* text = new ReportDBText(this);
                    text->SetDataField(QStringLiteral("TO%1").arg(n % 60 + 1, 3, 10, QChar(u'0')));
                    c = text;
                }
                c->SetName(QStringLiteral("qr%1").arg(n));
                c->SetParent(band);
                c->SetBounds(8 + (i % 10) * 71, 4 + (i / 10) * 24, 66, 16);
            }
        }
    }
    TQuickRep* report;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

int argValue(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

void benchOpen(int runs)
{
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        std::unique_ptr<TfrmBenchFmt, FreeComponent> form(new TfrmBenchFmt);
        auto* designer = new TDreamDesigner(form.get());
        designer->SetReport(form->report);
        QElapsedTimer t;
        t.start();
        designer->SetActive(true);
        designer->SelectComponent(form->report->Bands().first()->ControlList().first());
        QCoreApplication::processEvents();
        // Painting the whole window into a picture: surface, inspector and lists.
        const QPixmap painted = designer->Window()->grab();
        times.push_back(t.nsecsElapsed() / 1e6);
        if (painted.isNull())
            std::printf("open: run %d painted nothing\n", r);
        if (r == 0)
            std::printf("open: %d bands, %d controls, inspector rows %d\n",
                int(designer->GetActiveDesigner()->Bands().size()),
                int(designer->GetActiveDesigner()->AllControls().size()), designer->Inspector()->rowCount());
    }
    std::printf("open: median %.1f ms, best %.1f ms (%d runs)\n", median(times),
        *std::min_element(times.begin(), times.end()), runs);
}

void benchDrag(int frames, const QString& png)
{
    std::unique_ptr<TfrmBenchFmt, FreeComponent> form(new TfrmBenchFmt);
    auto* designer = new TDreamDesigner(form.get());
    designer->SetReport(form->report);
    designer->SetActive(true);
    designer->Window()->resize(1280, 900);
    TDCFormDesigner* model = designer->GetActiveDesigner();
    const QList<TControl*> all = model->AllControls();
    for (int i = 0; i < 20; ++i)
        model->SelectComponent(all[40 + i], true);
    // Each frame paints the surface as a 1100 x 900 view shows it, into a
    // picture, so the figure holds the painting itself whatever the platform
    // does with windows.
    QImage view(1100, 900, QImage::Format_ARGB32_Premultiplied);
    model->BeginMove();
    QElapsedTimer t;
    t.start();
    double worst = 0;
    for (int f = 0; f < frames; ++f) {
        QElapsedTimer frame;
        frame.start();
        model->DragTo(f % 120, (f / 3) % 40);
        designer->Surface()->render(&view, QPoint(), QRegion(0, 0, view.width(), view.height()));
        worst = std::max(worst, frame.nsecsElapsed() / 1e6);
    }
    model->EndDrag();
    const double seconds = t.nsecsElapsed() / 1e9;
    std::printf("drag: 20 controls, %d frames in %.3f s = %.0f frames/s, worst frame %.2f ms\n", frames,
        seconds, frames / seconds, worst);
    if (!png.isEmpty()) {
        designer->Window()->grab().save(png);
        std::printf("picture: %s\n", qPrintable(png));
    }
}

void benchStore(int runs)
{
    QTemporaryDir home;
    TDemoOptions options;
    CreateDemoHome(home.path(), options);
    qputenv("STEWARD_REGISTRY", (home.path() + QStringLiteral("/registry.reg")).toUtf8());
    RegisterAppServer();
    if (!FindClass(QStringLiteral("TfrmBenchFmt")))
        RegisterClass<TfrmBenchFmt>();
    const Variant server = CreateOleObject(QStringLiteral("ZORV52S.Class1"));
    server.Call(QStringLiteral("Connect"), {Variant::ArrayOf({"ZORV52", "DS", "HV01", "DEMO", "MOCTO"})});
    std::vector<double> insert, update, load;
    ScriptedDialogService dialogs;
    for (int r = 0; r < runs; ++r) {
        std::unique_ptr<TfrmBenchFmt, FreeComponent> form(new TfrmBenchFmt);
        TFormatStoreHost host;
        host.Form = form.get();
        host.ApplicationServer = server;
        host.LangText = [](const QString&, const QString& text) { return text; };
        TFormatStore store(host);
        const QList<TControl*> controls = form->report->Bands()[3]->ControlList();
        for (int i = 0; i < 20; ++i)
            controls[i]->SetLeft(controls[i]->Left() + 3);
        for (int i = 0; i < 5; ++i) {
            auto* label = new TQRLabel(form.get());
            label->SetName(QStringLiteral("ExLbl%1").arg(i + 1));
            label->SetParent(form->report->Bands()[0]);
            store.RuntimeComponents << label->Name();
        }
        const QString name = QStringLiteral("bench%1").arg(r);
        QElapsedTimer t;
        t.start();
        store.StoreFormat(form->ClassName(), name);
        insert.push_back(t.nsecsElapsed() / 1e6);
        dialogs.ExpectMessage(mrYes); // the format exists: go on
        t.restart();
        store.StoreFormat(form->ClassName(), name);
        update.push_back(t.nsecsElapsed() / 1e6);
        std::unique_ptr<TfrmBenchFmt, FreeComponent> fresh(new TfrmBenchFmt);
        host.Form = fresh.get();
        TFormatStore reader(host);
        t.restart();
        reader.LoadStoredFormat(fresh->ClassName(), name);
        load.push_back(t.nsecsElapsed() / 1e6);
        if (!store.SaveOK || !fresh->FindComponent(QStringLiteral("ExLbl5")))
            std::printf("store: run %d did not round-trip\n", r);
    }
    std::printf("store: insert median %.2f ms, update (lock + write) %.2f ms, load %.2f ms; round trip %.2f "
                "ms (%d runs)\n",
        median(insert), median(update), median(load), median(update) + median(load), runs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterDesignerClasses();
    const QStringList args = app.arguments();
    const int runs = argValue(args, QStringLiteral("--runs"), 20);
    benchOpen(runs);
    const qsizetype png = args.indexOf(QStringLiteral("--png"));
    benchDrag(argValue(args, QStringLiteral("--frames"), 600), png >= 0 ? args.value(png + 1) : QString());
    benchStore(runs);
    return 0;
}

#include "DesignerBench.moc"
