// Benchmark of the picture library: Letter pages at 96 dpi (816 x 1056), as
// the report output hands them over, saved through BMPToFile as JPEG and as
// GIF, each page a new file. The library is loaded by name, as the output
// path loads it.
//
// Prints the load average first (figures are only comparable at a similar
// load), then per kind: pages per second by the wall clock and by CPU time,
// and the mean file size. A slip page (drawn text and rules) and a
// photo-like page (the GIF palette's hard case) are measured apart.
// Asserts nothing.
//
// Usage: bench_pictures [pages per measurement, default 100] [--keep DIR]
//        (--keep leaves one file of each kind in DIR to look at, with a PNG of it)

#include "PictureTestImages.h"
#include "format/HVBmpToFile.h"

#include "runtime/system/Libraries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

using BmpToFile = int (*)(const THVBitmap*, int, char*, int);

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void printLoad()
{
    QFile load(QStringLiteral("/proc/loadavg"));
    if (load.open(QIODevice::ReadOnly))
        std::printf("load average: %s\n", load.readLine().trimmed().constData());
}

void measure(BmpToFile entry, const char* label, const QImage& page, int kind, int pages,
    const QString& folder, const QString& keep)
{
    const THVBitmap bitmap {sizeof(THVBitmap), page.width(), page.height(), int(page.bytesPerLine()),
        HVPixelRGB32, 96, page.constBits()};
    qint64 bytes = 0;
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = cpuSeconds();
    for (int i = 0; i < pages; ++i) {
        char name[256] = {};
        const QByteArray base
            = QDir(folder).filePath(QStringLiteral("page%1").arg(i, 3, 10, QLatin1Char('0'))).toUtf8();
        std::memcpy(name, base.constData(), size_t(base.size()));
        if (entry(&bitmap, kind, name, int(sizeof name)) != HVBmpOK) {
            std::printf("%s: page %d failed\n", label, i);
            return;
        }
        bytes += QFileInfo(QString::fromUtf8(name)).size();
        if (i == 0 && !keep.isEmpty()) {
            const QString kept
                = QDir(keep).filePath(QString::fromLatin1(label).replace(QLatin1Char(' '), QLatin1Char('_'))
                    + QString::fromUtf8(name).section(QLatin1Char('.'), -1).prepend(QLatin1Char('.')));
            QFile::remove(kept);
            QFile::copy(QString::fromUtf8(name), kept);
            // As a reader decodes it, for viewers that take PNG only.
            QImage(kept).save(kept + QStringLiteral(".png"));
        }
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = cpuSeconds() - cpuStart;
    std::printf("%-16s %4d pages  %7.1f pages/s (wall)  %7.1f pages/s (cpu)  %7.1f KB/page\n", label, pages,
        pages / wall, pages / cpu, double(bytes) / pages / 1024.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    int pages = 100;
    QString keep;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--keep") && i + 1 < args.size())
            keep = args[++i];
        else
            pages = std::max(1, args[i].toInt());
    }
    const auto library = TLibrary::Load(QStringLiteral("HVBmpToFile.dll"));
    if (!library) {
        std::printf("cannot load the picture library: %s\n", qPrintable(TLibrary::LastLoadError()));
        return 1;
    }
    const auto entry = reinterpret_cast<BmpToFile>(library->GetProcAddress(QStringLiteral("BMPToFile")));
    if (!entry) {
        std::printf("%s has no BMPToFile\n", qPrintable(library->Path()));
        return 1;
    }
    if (!keep.isEmpty())
        QDir().mkpath(keep);
    printLoad();
    std::printf("library: %s\n", qPrintable(library->Path()));
    QTemporaryDir folder;
    const QImage slip = picture_test::SlipPage();
    const QImage photo = picture_test::PhotoLike(816, 1056, 7);
    measure(entry, "slip JPG", slip, HVPictureJPG, pages, folder.path(), keep);
    measure(entry, "slip GIF", slip, HVPictureGIF, pages, folder.path(), keep);
    measure(entry, "photo JPG", photo, HVPictureJPG, pages, folder.path(), keep);
    measure(entry, "photo GIF", photo, HVPictureGIF, pages, folder.path(), keep);
    return 0;
}
