// Benchmark of TPrintPDF: one Letter page bitmap at 96 dpi (816 x 1056), as
// the report output writes it (page size = bitmap size, DrawBitmap at 0, 0).
//
// Prints the machine's load average first (the figures are only comparable
// at a similar load), then, for compression on and off: files per second (by
// the wall clock and by the process's CPU time, steadier on a busy machine),
// MB/s of pixels and of output, file size, and how the time splits between
// parking the image (BeginDoc and DrawBitmap) and saving the file (EndDoc);
// for compression off also the time to write the same bytes to a file (open,
// write, close, as the writer opens its output) and the ratio of the two. Each is measured writing over one
// file and writing new files (ext4 flushes a file that is truncated and rewritten when it is closed, which
// makes the first slower). A photo-like page and a page of noise show the harder cases; the report page is
// also written with the images waiting in memory instead of the temporary folder.
//
// Then the compressors the writer could use, on the pixel bytes alone: zlib
// at level 1 (default and run-length strategies) and libdeflate at levels 1,
// 2 and 6, CPU time per page and compressed size. Asserts nothing.
//
// Usage: bench_pdf [seconds per measurement, default 2]

#include "pdf/libPDF.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// A page like a rendered change slip: title, header block, a ruled table of
// text rows, a sign-off box and a shaded logo.
QImage ReportPage()
{
    QImage page(816, 1056, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QFont title(QStringLiteral("Sans"), 18, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 40, 816, 40), Qt::AlignHCenter, QStringLiteral(u"工单变更单 Work-order change slip"));
    QLinearGradient shade(40, 30, 120, 90);
    shade.setColorAt(0, QColor(30, 80, 160));
    shade.setColorAt(1, QColor(200, 220, 255));
    p.fillRect(40, 30, 80, 60, shade);
    p.setFont(QFont(QStringLiteral("Sans"), 9));
    for (int i = 0; i < 4; ++i)
        p.drawText(60, 120 + i * 18,
            QStringLiteral("Slip %1-2024%2   Version %3   Date 2024/05/%4")
                .arg(5101 + i)
                .arg(100 + i)
                .arg(i + 1)
                .arg(10 + i, 2, 10, QLatin1Char('0')));
    const int top = 210;
    const int rowHeight = 22;
    const int columns[] = {40, 90, 250, 420, 520, 620, 776};
    p.fillRect(40, top, 736, rowHeight, QColor(230, 230, 230));
    for (int r = 0; r <= 32; ++r)
        p.drawLine(40, top + r * rowHeight, 776, top + r * rowHeight);
    for (int c : columns)
        p.drawLine(c, top, c, top + 32 * rowHeight);
    const char* heads[] = {"No.", "Item", "Description", "Qty", "Unit", "Price"};
    for (int c = 0; c < 6; ++c)
        p.drawText(columns[c] + 4, top + 16, QLatin1String(heads[c]));
    for (int r = 1; r < 32; ++r) {
        const int y = top + r * rowHeight + 16;
        p.drawText(columns[0] + 4, y, QString::number(r));
        p.drawText(columns[1] + 4, y, QStringLiteral("A-%1").arg(1000 + r * 7));
        p.drawText(columns[2] + 4, y, QStringLiteral(u"零件 part %1 steel").arg(r));
        p.drawText(columns[3] + 4, y, QString::number(r * 13 % 97));
        p.drawText(columns[4] + 4, y, QStringLiteral("PCS"));
        p.drawText(columns[5] + 4, y, QString::number(r * 3.25, 'f', 2));
    }
    p.drawRect(40, 950, 736, 60);
    p.drawText(60, 985, QStringLiteral(u"核准 Approved      审核 Checked      制单 Prepared"));
    p.end();
    return page;
}

// A page of noise: the worst case for compression (for comparison only).
QImage NoisePage()
{
    QImage page(816, 1056, QImage::Format_RGB32);
    QRandomGenerator random(52);
    for (int y = 0; y < page.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x)
            line[x] = random.generate() | 0xFF000000u;
    }
    return page;
}

// A photo-like page: smooth colour fields with fine texture and a little
// sensor noise in every pixel.
QImage PhotoPage()
{
    QImage page(816, 1056, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < page.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(page.scanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            const int noise = int(random.bounded(9)) - 4;
            auto channel = [&](double v) { return std::clamp(int(v) + noise, 0, 255); };
            line[x] = qRgb(channel(128 + 90 * std::sin(x * 0.013 + y * 0.004)
                               + 20 * std::sin(x * 0.11) * std::cos(y * 0.07)),
                channel(120 + 80 * std::cos(x * 0.009 - y * 0.011) + 15 * std::sin((x + y) * 0.05)),
                channel(110 + 70 * std::sin(y * 0.015) + 25 * std::cos(x * 0.03)));
        }
    }
    return page;
}

// Mean seconds per run of job, by the wall clock and by the CPU time of the
// process (the latter is steadier on a busy machine).
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double CpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs job repeatedly for about `seconds` (after 3 warm-up runs).
Timing Measure(double seconds, const std::function<void()>& job)
{
    for (int i = 0; i < 3; ++i)
        job();
    int runs = 0;
    const Clock::time_point start = Clock::now();
    const double cpuStart = CpuSeconds();
    double elapsed = 0;
    do {
        job();
        ++runs;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds || runs < 20);
    return {elapsed / runs, (CpuSeconds() - cpuStart) / runs};
}

// Wall-clock seconds spent in each stage of the writer, summed over calls.
struct Stages {
    double park = 0;
    double save = 0;
    int calls = 0;
};

void WritePdf(TPrintPDF& writer, const QImage& page, Stages& stages)
{
    const Clock::time_point start = Clock::now();
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, page);
    const Clock::time_point parked = Clock::now();
    writer.EndDoc();
    stages.park += std::chrono::duration<double>(parked - start).count();
    stages.save += std::chrono::duration<double>(Clock::now() - parked).count();
    ++stages.calls;
}

// Writes bytes to a file the way the writer opens its output: open (create or
// truncate), write, close.
void WriteBytes(const QString& path, const QByteArray& bytes)
{
    const int fd
        = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    qsizetype done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    if (fd < 0 || done != bytes.size() || ::close(fd) != 0)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

double MB(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

// Where each run writes: over the same file every time (as a user exporting
// one slip again), or a new file every time with the previous one deleted.
enum class Target { SameFile, NewFiles };

// Calls write(path) with the path of this run's output file.
class Outputs {
public:
    Outputs(QString folder, QString stem, Target target)
        : folder_(std::move(folder))
        , stem_(std::move(stem))
        , target_(target)
    {
    }
    QString Next()
    {
        if (target_ == Target::SameFile)
            return Path(0);
        if (count_ > 0)
            QFile::remove(Path(count_ - 1));
        return Path(count_++);
    }
    QString Last() const { return Path(target_ == Target::SameFile ? 0 : count_ - 1); }

private:
    QString Path(int n) const { return QStringLiteral("%1/%2-%3.pdf").arg(folder_, stem_).arg(n); }
    QString folder_;
    QString stem_;
    Target target_;
    int count_ = 0;
};

void Report(const char* name, const QImage& page, bool compression, Target target, double seconds,
    const QString& folder, TPrintPDF::TempStorage storage = TPrintPDF::TempStorage::Folder)
{
    TPrintPDF writer;
    writer.SetScreenDpi(96, 96);
    writer.SetPageWidth(page.width());
    writer.SetPageHeight(page.height());
    writer.SetCompression(compression);
    writer.SetTemporaryStorage(storage);
    Outputs pdfs(folder, QStringLiteral("bench"), target);
    Stages stages;
    const Timing perFile = Measure(seconds, [&] {
        writer.SetFileName(pdfs.Next());
        WritePdf(writer, page, stages);
    });
    QFile written(pdfs.Last());
    written.open(QIODevice::ReadOnly);
    const QByteArray bytes = written.readAll();
    const double pixels = 3.0 * page.width() * page.height();
    const char* where = target == Target::SameFile ? "same file" : "new files";
    std::printf("%-6s compression %-3s %-9s %7.1f files/s (CPU %7.1f)  %6.2f ms/file  %7.1f MB/s pixels"
                "  %7.1f MB/s output  file %8lld bytes\n",
        name, compression ? "on" : "off", where, 1.0 / perFile.wall, 1.0 / perFile.cpu, perFile.wall * 1000.0,
        MB(pixels) / perFile.wall, MB(double(bytes.size())) / perFile.wall,
        static_cast<long long>(bytes.size()));
    std::printf(
        "%-6s   images wait in %-6s   park (BeginDoc + DrawBitmap) %6.2f ms, save (EndDoc) %6.2f ms\n", name,
        storage == TPrintPDF::TempStorage::Folder ? "folder" : "memory", stages.park * 1000.0 / stages.calls,
        stages.save * 1000.0 / stages.calls);
    if (compression)
        return;
    Outputs copies(folder, QStringLiteral("copy"), target);
    const Timing perCopy = Measure(seconds, [&] { WriteBytes(copies.Next(), bytes); });
    std::printf(
        "%-6s copy of the same bytes, %-9s %6.2f ms/file  %7.1f MB/s   writer / copy = %.2f (CPU %.2f)\n",
        name, where, perCopy.wall * 1000.0, MB(double(bytes.size())) / perCopy.wall,
        perFile.wall / perCopy.wall, perFile.cpu / perCopy.cpu);
}

// The pixel bytes of page as the writer stores them (R, G, B, rows packed).
QByteArray PackedPixels(const QImage& page)
{
    const QImage rgb = page.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    for (int y = 0; y < rgb.height(); ++y)
        bytes.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), 3 * rgb.width());
    return bytes;
}

void CompareCompressors(const char* name, const QImage& page, double seconds)
{
    const QByteArray pixels = PackedPixels(page);
    const auto* in = reinterpret_cast<const Bytef*>(pixels.constData());
    std::vector<unsigned char> out(compressBound(uLong(pixels.size())) + 1024);
    auto report = [&](const char* method, const std::function<size_t()>& compress) {
        size_t size = 0;
        const Timing t = Measure(seconds / 4, [&] { size = compress(); });
        std::printf("%-6s %-24s %7.2f ms CPU (%7.2f wall)  %8zu bytes  %5.1f%%\n", name, method,
            t.cpu * 1000.0, t.wall * 1000.0, size, 100.0 * double(size) / double(pixels.size()));
    };
    for (int strategy : {Z_DEFAULT_STRATEGY, Z_RLE}) {
        z_stream z {};
        deflateInit2(&z, 1, Z_DEFLATED, MAX_WBITS, 8, strategy);
        report(strategy == Z_RLE ? "zlib level 1, Z_RLE" : "zlib level 1", [&] {
            deflateReset(&z);
            z.next_in = const_cast<Bytef*>(in);
            z.avail_in = uInt(pixels.size());
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, Z_FINISH);
            return size_t(z.total_out);
        });
        deflateEnd(&z);
    }
    for (int level : {1, 2, 6}) {
        libdeflate_compressor* c = libdeflate_alloc_compressor(level);
        const QByteArray method = "libdeflate level " + QByteArray::number(level);
        report(method.constData(),
            [&] { return libdeflate_zlib_compress(c, in, size_t(pixels.size()), out.data(), out.size()); });
        libdeflate_free_compressor(c);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv); // fonts for the report page
    const double seconds = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 2.0;
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    const QByteArray load
        = loadAverage.open(QIODevice::ReadOnly) ? loadAverage.readLine().trimmed() : "unknown";
    std::printf("TPrintPDF, Letter page 816 x 1056 at 96 dpi (%.1f MB of pixels), %.1f s per measurement,"
                " load average %s, output in %s\n",
        MB(3.0 * 816 * 1056), seconds, load.constData(), qPrintable(folder.path()));
    const QImage report = ReportPage();
    const QImage photo = PhotoPage();
    const QImage noise = NoisePage();
    for (Target target : {Target::SameFile, Target::NewFiles}) {
        Report("report", report, true, target, seconds, folder.path());
        Report("report", report, false, target, seconds, folder.path());
    }
    Report("report", report, false, Target::NewFiles, seconds, folder.path(), TPrintPDF::TempStorage::Memory);
    Report("photo", photo, true, Target::NewFiles, seconds, folder.path());
    Report("noise", noise, true, Target::NewFiles, seconds, folder.path());
    Report("noise", noise, false, Target::NewFiles, seconds, folder.path());
    std::printf("\nCompressors on the pixel bytes alone (%.1f MB)\n", MB(3.0 * 816 * 1056));
    CompareCompressors("report", report, seconds);
    CompareCompressors("photo", photo, seconds);
    return 0;
}
