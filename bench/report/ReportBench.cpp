// Report engine benchmark: change slips of the demo data's shape (a header of
// about 70 fields, lines of about 20, a footer and a sign-off block) in a
// client data set, printed on slip pages (3 lines a page unless --lines N)
// into page models, then pages rendered to 96-dpi pictures. Prints:
//   - generation: pages, rows, wall and CPU time, pages per CPU second,
//     bytes per page (items and text, plus the shared styles spread over
//     the pages),
//   - first page: from the data being open to page 1 being ready,
//   - rendering: pictures per second (wall and CPU),
//   - PDF: the first 100 pages as one vector PDF, its time and size,
//   - export: 100 pages written as files of each picture kind (compressed
//     picture PDF, JPG and GIF through the picture library, BMP) at 96 dpi,
//     and 1,000 pages as one vector PDF, times and sizes.
// Usage: bench_report [--slips N] [--lines N] [--render N] [--png DIR]
// (N slips of 1..15 lines, 8 on average; --render: how many pages to render;
// --png: save pictures of the first three pages there).

#include "format/PageWriter.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>
#include <cstdio>
#include <random>
#include <sys/resource.h>

namespace {

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Clock {
    QElapsedTimer wall;
    double cpu0 = cpuSeconds();
    Clock() { wall.start(); }
    double Wall() const { return wall.nsecsElapsed() / 1e9; }
    double Cpu() const { return cpuSeconds() - cpu0; }
};

QStringList headerFields()
{
    QStringList fields {
        "TO001", "TO002", "TO003", "TO001T", "TO041", "CMSMB002A", "CMSMB002B", "CMSMC002A", "CMSMC002B"};
    for (int n : {4, 5, 6, 7, 9, 10, 12, 13, 14, 17, 21, 22, 23, 24, 25, 31, 32, 33, 35, 36, 45, 46, 47, 48,
             51, 54, 57, 58}) {
        fields << QStringLiteral("TO%1").arg(n, 3, 10, QChar(u'0'));
        fields << QStringLiteral("TO%1").arg(n + 100, 3, 10, QChar(u'0'));
    }
    return fields;
}

QStringList lineFields()
{
    QStringList fields {"TP003", "CMSMC002C", "CMSMC002D"};
    for (int n : {4, 5, 6, 7, 8, 10, 12, 13, 14, 18}) {
        fields << QStringLiteral("TP%1").arg(n, 3, 10, QChar(u'0'));
        fields << QStringLiteral("TP%1").arg(n + 100, 3, 10, QChar(u'0'));
    }
    return fields;
}

// The slips: each row a slip line joined with its header, as the query gives them.
void fillSlips(TClientDataSet& data, int slips, std::mt19937& random)
{
    const QStringList header = headerFields();
    const QStringList lines = lineFields();
    for (const QString& name : header + lines)
        data.FieldDefs().Add(name, ftString, 40);
    data.CreateDataSet();
    std::uniform_int_distribution<int> lineCount(1, 15);
    for (int s = 0; s < slips; ++s) {
        const int count = lineCount(random);
        for (int l = 1; l <= count; ++l) {
            data.Append();
            for (const QString& name : header)
                data.FieldByName(name)->SetAsString(name == u"TO002"
                        ? QStringLiteral("%1").arg(s, 11, 10, QChar(u'0'))
                        : name + QStringLiteral("-値%1").arg(s % 97));
            for (const QString& name : lines)
                data.FieldByName(name)->SetAsString(name == u"TP003"
                        ? QStringLiteral("%1").arg(l, 4, 10, QChar(u'0'))
                        : name + QStringLiteral("/%1").arg(l));
            data.Post();
        }
    }
}

// A slip layout and the band handlers that keep the slip's page counters.
class SlipReport {
public:
    SlipReport(TQRDataSource* source, int linesPerPage)
        : source_(source)
    {
        report_ = new TQuickRep(nullptr);
        report_->SetDataSource(source);
        report_->AddDataSource("ClientDataSet1", source);
        group_ = band<TQRGroup>("QRGroup", 300);
        group_->SetExpression("ClientDataSet1.TO001+ClientDataSet1.TO002+ClientDataSet1.TO003");
        detail_ = band<TQRBand>("QRDetailBand", 40);
        footer_ = band<TQRBand>("QRGroupFooter", 40 * (linesPerPage - 1));
        footer_->SetBandType(rbGroupFooter);
        end_ = band<TQRChildBand>("GroupFooterChildBand", 90);
        end_->SetParentBand(footer_);
        group_->SetFooterBand(footer_);
        report_->SetPageStartBand(group_);
        report_->SetPageDetailBand(detail_);
        report_->SetPageAttachDetailBand(footer_);
        report_->SetPageEndBand(end_);

        const QStringList header = headerFields();
        for (int i = 0; i < header.size(); ++i)
            field(group_, header[i], (i % 2) * 400 + (i / 2 % 3) * 130, 40 + i / 6 * 20);
        pageNo_ = label(group_, "lblPageNo", 640, 4);
        totalPage_ = label(group_, "lblTotalPage", 700, 4);
        label(group_, "lblVoucherName", 300, 4)->SetCaption(QStringLiteral("工单变更单(厂内工单)"));
        const QStringList lines = lineFields();
        for (int i = 0; i < lines.size(); ++i)
            field(detail_, lines[i], (i % 2) * 400 + (i / 2 % 6) * 64, i / 12 * 20);
        seq_ = label(detail_, "lblSeq", 0, 0);
        noData_ = label(footer_, "lblNoData", 0, 0);
        noData_->SetCaption(QStringLiteral("以下空白//"));
        nextPage_ = label(end_, "lblNextPage", 600, 70);
        nextPage_->SetCaption(QStringLiteral("接下页..."));
        for (int i = 1; i <= 3; ++i) {
            label(end_, QStringLiteral("lblNote%1").arg(i), 0, i * 20)
                ->SetCaption(QStringLiteral("备注%1").arg(i));
            label(end_, QStringLiteral("lblSignIn%1").arg(i), 400, i * 20)
                ->SetCaption(QStringLiteral("签核栏%1").arg(i));
        }
        auto* rule = new TQRShape(report_);
        rule->SetParent(end_);
        rule->SetShape(qrsHorLine);
        rule->SetBounds(0, 0, 780, 4);

        report_->SetBeforePrint(TCloseQueryEvent::Of([this](TObject*, bool&) { countSlips(); }));
        group_->SetBeforePrint(TQRBandBeforePrintEvent::Of([this](TQRCustomBand*, bool&) { slipPage(); }));
        detail_->SetBeforePrint(
            TQRBandBeforePrintEvent::Of([this](TQRCustomBand*, bool& print) { line(print); }));
        footer_->SetBeforePrint(TQRBandBeforePrintEvent::Of([this](TQRCustomBand*, bool&) {
            nextPage_->SetEnabled(page_ < pages_);
            noData_->SetEnabled(footer_->Height() >= detail_->Height());
        }));
    }
    ~SlipReport() { report_->Free(); }
    TQuickRep* Report() const { return report_; }

private:
    template<typename B> B* band(const QString& name, int height)
    {
        auto* b = new B(report_);
        b->SetName(name);
        b->SetParent(report_);
        b->SetHeight(height);
        return b;
    }
    TQRLabel* label(TQRCustomBand* parent, const QString& name, int left, int top)
    {
        auto* l = new TQRLabel(report_);
        l->SetName(name);
        l->SetParent(parent);
        l->SetBounds(left, top, 60, 17);
        return l;
    }
    void field(TQRCustomBand* parent, const QString& name, int left, int top)
    {
        auto* t = new TQRDBText(report_);
        t->SetParent(parent);
        t->SetDataSet("ClientDataSet1");
        t->SetDataField(name);
        t->SetBounds(left, top, 120, 17);
    }
    QString key() const
    {
        return source_->FieldText(k1_) + source_->FieldText(k2_) + source_->FieldText(k3_);
    }
    void countSlips()
    {
        k1_ = source_->FieldIndex("TO001");
        k2_ = source_->FieldIndex("TO002");
        k3_ = source_->FieldIndex("TO003");
        perPage_ = footer_->Height() / detail_->Height() + 1;
        current_.clear();
    }
    // The rows of the slip that starts at the current row, counted when the
    // slip starts rather than for all slips before the first page: the
    // first page then comes as fast for 100 slips as for 100,000. The
    // cursor comes back to where it was (past the end it stands on the last
    // row, so one step fewer leads back).
    int slipRows()
    {
        const QString k = key();
        int rows = 0;
        while (!source_->Eof() && key() == k) {
            ++rows;
            source_->Next();
        }
        for (int back = source_->Eof() ? rows - 1 : rows; back > 0; --back)
            source_->Prior();
        return rows;
    }
    void slipPage()
    {
        const QString k = key();
        if (k != current_) {
            current_ = k;
            page_ = 1;
            lineNo_ = 0;
            pages_ = (slipRows() + perPage_ - 1) / perPage_;
        } else {
            ++page_;
        }
        pageNo_->SetCaption(QString::number(page_));
        totalPage_->SetCaption(QString::number(pages_));
    }
    void line(bool& print)
    {
        if (footer_->Height() >= 0 || lineNo_ < 2) {
            seq_->SetCaption(QStringLiteral("%1").arg(++lineNo_, 4, 10, QChar(u'0')));
            return;
        }
        print = false;
        footer_->SetHeight(footer_->Height() + detail_->Height());
        source_->Prior();
    }

    TQRDataSource* source_;
    TQuickRep* report_;
    TQRGroup* group_;
    TQRBand* detail_;
    TQRBand* footer_;
    TQRChildBand* end_;
    TQRLabel *pageNo_, *totalPage_, *seq_, *noData_, *nextPage_;
    QString current_;
    int k1_ = -1, k2_ = -1, k3_ = -1;
    int perPage_ = 1, page_ = 0, pages_ = 0, lineNo_ = 0;
};

int argument(const QStringList& args, const QString& name, int fallback)
{
    const int at = static_cast<int>(args.indexOf(name));
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

qint64 folderBytes(const QString& folder, const QString& pattern)
{
    qint64 bytes = 0;
    for (QDirIterator it(folder, {pattern}, QDir::Files); it.hasNext();)
        bytes += QFileInfo(it.next()).size();
    return bytes;
}

// Page files of every kind, as the export menu and the send runs write them.
void exportPages(TQuickRep& report, const QString& folder)
{
    // The picture library sits in the build's lib folder.
    if (qEnvironmentVariableIsEmpty("STEWARD_LIBRARY_PATH"))
        qputenv(
            "STEWARD_LIBRARY_PATH", QFile::encodeName(QCoreApplication::applicationDirPath() + "/../../lib"));
    TPageWriter writer(report);
    const int pages = std::min(100, writer.PageCount());
    static const char* const names[] = {"BMP", "JPG", "GIF", "PDF (picture, compressed)"};
    static const char* const patterns[] = {"x0_*.bmp", "x1_*.jpg", "x2_*.gif", "x3_*.pdf"};
    for (int kind : {3, 1, 2, 0}) {
        Clock clock;
        int written = 0;
        for (int p = 1; p <= pages; ++p)
            written += writer.WritePage(QStringLiteral("%1/x%2_%3").arg(folder).arg(kind).arg(p),
                           *OutputKindFromWire(kind), p)
                ? 1
                : 0;
        std::printf("export %s: %d of %d pages at 96 dpi in %.3f s wall, %.3f s CPU: %.0f pages/s (CPU), "
                    "%.0f pages/s (wall), %.1f KB per page%s\n",
            names[kind], written, pages, clock.Wall(), clock.Cpu(), pages / clock.Cpu(), pages / clock.Wall(),
            folderBytes(folder, patterns[kind]) / 1024.0 / std::max(written, 1),
            written == pages ? "" : qPrintable(" (" + writer.LastError() + ")"));
    }
    const int vectorPages = std::min(1000, writer.PageCount());
    const QString pdf = folder + "/all.pdf";
    Clock clock;
    // Only the first vectorPages pages: a copy of the printer's range export.
    const bool ok = report.QRPrinter()->ExportPdf(pdf, 1, vectorPages);
    std::printf("vector PDF: %d pages %s in %.3f s wall, %.3f s CPU, %.2f MB\n", vectorPages,
        ok ? "written" : "NOT written", clock.Wall(), clock.Cpu(), QFileInfo(pdf).size() / 1048576.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int slips = argument(args, "--slips", 2000);
    const int perPage = argument(args, "--lines", 3);
    const int renderCount = argument(args, "--render", 500);

    std::mt19937 random(52);
    TClientDataSet data;
    fillSlips(data, slips, random);
    TQRDataSetSource source(&data);
    SlipReport slip(&source, perPage);
    TQuickRep* report = slip.Report();
    std::printf("data: %d slips, %d rows, %d header and %d line fields\n", slips, data.RecordCount(),
        static_cast<int>(headerFields().size()), static_cast<int>(lineFields().size()));

    // First page: from the open data to page 1 in the model.
    Clock first;
    report->Start();
    while (report->Generating() && report->Pages()->PageCount() == 0)
        report->Step();
    std::printf("first page: %.1f ms wall, %.1f ms CPU\n", first.Wall() * 1e3, first.Cpu() * 1e3);
    report->Cancel();

    Clock generation;
    if (!report->Prepare()) {
        std::printf("generation did not finish\n");
        return 1;
    }
    const double wall = generation.Wall();
    const double cpu = generation.Cpu();
    const auto pages = report->Pages();
    std::size_t bytes = 0;
    for (int p = 1; p <= pages->PageCount(); ++p)
        bytes += pages->PageBytes(p);
    const double perPageBytes = (bytes + pages->SharedBytes()) / static_cast<double>(pages->PageCount());
    std::printf("generation: %d pages in %.3f s wall, %.3f s CPU: %.0f pages/s (CPU), %.0f pages/s (wall)\n",
        pages->PageCount(), wall, cpu, pages->PageCount() / cpu, pages->PageCount() / wall);
    std::printf("page model: %.1f KB per page (%d items on page 1, %d text styles)\n", perPageBytes / 1024.0,
        static_cast<int>(pages->Items(1).size()), pages->TextStyleCount());
    if (!report->Warnings().isEmpty())
        std::printf("warnings: %s\n", qPrintable(report->Warnings().join("; ")));

    TQRPrinter* printer = report->QRPrinter();
    const int count = std::min(renderCount, pages->PageCount());
    Clock render;
    qint64 checksum = 0;
    for (int p = 1; p <= count; ++p) {
        const QImage image = printer->ReportPageImage(p, 96);
        checksum += image.width() + image.pixel(100, 100);
    }
    std::printf("rendering: %d pages to 96-dpi pictures in %.3f s wall, %.3f s CPU: %.0f pages/s (CPU), %.0f "
                "pages/s (wall) [%lld]\n",
        count, render.Wall(), render.Cpu(), count / render.Cpu(), count / render.Wall(),
        static_cast<long long>(checksum % 1000));
    const int at = static_cast<int>(args.indexOf("--png"));
    if (at >= 0 && at + 1 < args.size())
        for (int p = 1; p <= std::min(3, pages->PageCount()); ++p)
            printer->ReportPageImage(p, 96).save(
                QStringLiteral("%1/slip-page-%2.png").arg(args.at(at + 1)).arg(p));

    // Vector PDF of the first pages (fonts embedded).
    const int pdfPages = std::min(100, pages->PageCount());
    QTemporaryDir folder;
    const QString pdf = folder.filePath("slips.pdf");
    Clock writing;
    const bool written = printer->ExportPdf(pdf, 1, pdfPages);
    std::printf("pdf: %d pages %s in %.3f s wall, %.3f s CPU, %.1f KB (%.1f KB per page)\n", pdfPages,
        written ? "written" : "NOT written", writing.Wall(), writing.Cpu(), QFileInfo(pdf).size() / 1024.0,
        QFileInfo(pdf).size() / 1024.0 / pdfPages);

    exportPages(*report, folder.path());
    return 0;
}
