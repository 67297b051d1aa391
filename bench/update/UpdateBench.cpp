// How long the download library takes for a library-sized update: copying the
// archive from a server folder and unpacking it (each file written under a
// temporary name, flushed to disk, then renamed), and how many stamp
// comparisons it answers per second.
//
//   bench_update [megabytes per file, default 8] [files, default 4]

#include "update/HVDownLoad.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <zip.h>

namespace {

// An archive of files that compress about as well as a shared library (half
// random bytes, half zeros); the contents stay alive until zip_close.
bool MakeArchive(const QString& path, int files, qint64 bytesPerFile, std::vector<QByteArray>& contents)
{
    int code = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return false;
    QRandomGenerator random(16);
    for (int i = 0; i < files; ++i) {
        QByteArray content(bytesPerFile, '\0');
        for (qint64 j = 0; j < bytesPerFile / 2; j += 4)
            *reinterpret_cast<quint32*>(content.data() + j) = random.generate();
        contents.push_back(content);
        zip_source_t* source = zip_source_buffer(archive, contents.back().constData(), bytesPerFile, 0);
        const QByteArray name = QByteArray("lib") + QByteArray::number(i) + ".so";
        if (!source || zip_file_add(archive, name.constData(), source, 0) < 0)
            return false;
    }
    return zip_close(archive) == 0;
}

double Seconds(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qputenv("STEWARD_LIBRARY_PATH", ZORV_LIBRARY_DIR);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 8;
    const int files = argc > 2 ? QByteArray(argv[2]).toInt() : 4;
    QTemporaryDir temp;
    QDir().mkpath(temp.filePath("server"));
    QDir().mkpath(temp.filePath("dest"));
    std::vector<QByteArray> contents;
    contents.reserve(static_cast<size_t>(files));
    if (!MakeArchive(temp.filePath("server/pkg.zip"), files, megabytes * 1024 * 1024, contents)) {
        std::fprintf(stderr, "cannot make the archive\n");
        return 1;
    }
    const double unpacked = static_cast<double>(megabytes * files);
    const double packed = static_cast<double>(QFile(temp.filePath("server/pkg.zip")).size()) / (1024 * 1024);
    std::printf("archive: %d files, %.1f MiB unpacked, %.1f MiB packed\n", files, unpacked, packed);

    THVDownLoad loader;
    if (!loader.Loaded()) {
        std::fprintf(stderr, "libHVDownLoad.so not found in %s\n", ZORV_LIBRARY_DIR);
        return 1;
    }
    QString error;
    QElapsedTimer timer;
    for (int round = 0; round < 3; ++round) {
        timer.start();
        if (!loader.DownLoadFile(temp.filePath("server/pkg.zip"), temp.filePath("pkg.zip"), error)) {
            std::fprintf(stderr, "download: %s\n", qPrintable(error));
            return 1;
        }
        const double fetched = Seconds(timer);
        timer.start();
        if (!loader.UnZipFilesOrDir(temp.filePath("pkg.zip"), temp.filePath("dest"), error)) {
            std::fprintf(stderr, "unzip: %s\n", qPrintable(error));
            return 1;
        }
        const double unzipped = Seconds(timer);
        std::printf("round %d: fetch %.3f s (%.0f MiB/s), unpack %.3f s (%.0f MiB/s unpacked)\n", round + 1,
            fetched, packed / fetched, unzipped, unpacked / unzipped);
    }
    constexpr int compares = 20000;
    timer.start();
    int older = 0;
    for (int i = 0; i < compares; ++i)
        older += loader.CompareFileToDown(QStringLiteral("20261208120000"), temp.filePath("dest/lib0.so"));
    std::printf("stamp comparisons: %.0f per second (%d said older)\n", compares / Seconds(timer), older);
    return 0;
}
