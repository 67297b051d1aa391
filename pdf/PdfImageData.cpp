#include "pdf/PdfImageData.h"

#include "runtime/system/Exceptions.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <thread>

namespace pdfimage {

namespace {

// zlib level of compressed image streams. Rendered report pages are mostly
// flat colour; level 1 compresses them nearly as well as the default level 6,
// several times faster (bench/pdf prints the figures).
constexpr int kCompressionLevel = Z_BEST_SPEED;
constexpr qsizetype kStripBytes = 256 * 1024;

bool PackedAsIs(QImage::Format format)
{
    return format == QImage::Format_RGB888 || format == QImage::Format_RGB32
        || format == QImage::Format_ARGB32;
}

} // namespace

RgbRows::RgbRows(const QImage& bitmap)
    : source_(PackedAsIs(bitmap.format()) ? bitmap : bitmap.convertToFormat(QImage::Format_RGB888))
{
}

void RgbRows::Pack(int firstRow, int rowCount, char* out) const
{
    const int width = Width();
    const qsizetype rowBytes = qsizetype(width) * 3;
    for (int y = firstRow; y < firstRow + rowCount; ++y, out += rowBytes) {
        if (source_.format() == QImage::Format_RGB888) {
            std::memcpy(out, source_.constScanLine(y), size_t(rowBytes));
            continue;
        }
        // RGB32 / ARGB32: 0xAARRGGBB words; alpha is dropped.
        const auto* in = reinterpret_cast<const QRgb*>(source_.constScanLine(y));
        char* o = out;
        for (int x = 0; x < width; ++x) {
            const QRgb p = in[x];
            o[0] = char(qRed(p));
            o[1] = char(qGreen(p));
            o[2] = char(qBlue(p));
            o += 3;
        }
    }
}

void RgbRows::ForEachStrip(
    int firstRow, int endRow, QByteArray& strip, const std::function<void(const QByteArray&)>& sink) const
{
    const qsizetype rowBytes = qsizetype(Width()) * 3;
    if (rowBytes == 0)
        return;
    const int rowsPerStrip = int(std::max<qsizetype>(1, kStripBytes / rowBytes));
    for (int y = firstRow; y < endRow; y += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, endRow - y);
        strip.resize(rows * rowBytes);
        Pack(y, rows, strip.data());
        sink(strip);
    }
}

// One band of rows: its raw deflate stream, the Adler-32 and size of its pixels.
struct FlateCompressor::Band {
    z_stream z {};
    bool ready = false;
    QByteArray strip;
    QByteArray out;
    uLong adler = 1;
    qint64 bytes = 0;
    std::exception_ptr error;

    ~Band()
    {
        if (ready)
            deflateEnd(&z);
    }

    // Compresses rows [firstRow, endRow); the last band ends the deflate
    // stream, the others end on a byte boundary with a sync flush.
    void Run(const RgbRows& rows, int firstRow, int endRow, bool last) noexcept
    {
        try {
            const int rc = ready
                ? deflateReset(&z)
                : deflateInit2(&z, kCompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
            if (rc != Z_OK)
                Fail(rc);
            ready = true;
            out.resize(0);
            adler = adler32(0, nullptr, 0);
            bytes = 0;
            rows.ForEachStrip(firstRow, endRow, strip, [&](const QByteArray& data) {
                adler = adler32(adler, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size()));
                bytes += data.size();
                Deflate(data.constData(), data.size(), Z_NO_FLUSH);
            });
            Deflate(nullptr, 0, last ? Z_FINISH : Z_SYNC_FLUSH);
            strip = QByteArray();
        } catch (...) {
            error = std::current_exception();
        }
    }

    void Deflate(const char* data, qsizetype size, int flush)
    {
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z.avail_in = uInt(size);
        for (;;) {
            const qsizetype used = out.size();
            const qsizetype room
                = std::max<qsizetype>(64 * 1024, qsizetype(deflateBound(&z, z.avail_in)) / 4);
            out.resize(used + room);
            z.next_out = reinterpret_cast<Bytef*>(out.data() + used);
            z.avail_out = uInt(room);
            const int rc = deflate(&z, flush);
            out.resize(used + room - qsizetype(z.avail_out));
            if (rc == Z_STREAM_END)
                return;
            if (rc != Z_OK && rc != Z_BUF_ERROR)
                Fail(rc);
            // Done when the input is used up and, for a flush, zlib left room unused.
            if (z.avail_in == 0 && (flush == Z_NO_FLUSH || z.avail_out > 0))
                return;
        }
    }

    [[noreturn]] static void Fail(int rc)
    {
        throw EWriteError(QStringLiteral("Image compression failed (zlib error %1)").arg(rc));
    }
};

FlateCompressor::FlateCompressor() = default;
FlateCompressor::~FlateCompressor() = default;

int FlateCompressor::BandCount(qint64 bytes)
{
    // Bands of at least 1 MB, at most one per core (and 8).
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    return int(std::clamp<qint64>(bytes / (1024 * 1024), 1, cores));
}

void FlateCompressor::Compress(const RgbRows& rows, QByteArray* out)
{
    const int count = std::min(BandCount(rows.ByteCount()), std::max(1, rows.Height()));
    while (int(bands_.size()) < count)
        bands_.push_back(std::make_unique<Band>());
    auto firstRow = [&](int band) { return int(qint64(rows.Height()) * band / count); };

    // Band 0 on the calling thread, the others beside it.
    std::vector<std::thread> threads;
    for (int b = 1; b < count; ++b)
        threads.emplace_back([&, b] { bands_[b]->Run(rows, firstRow(b), firstRow(b + 1), b == count - 1); });
    bands_[0]->Run(rows, 0, firstRow(1), count == 1);
    for (std::thread& thread : threads)
        thread.join();
    for (int b = 0; b < count; ++b) {
        if (bands_[b]->error)
            std::rethrow_exception(bands_[b]->error);
    }

    // zlib header (deflate, 32 KB window, fastest level), bands, Adler-32.
    qsizetype size = 6;
    for (int b = 0; b < count; ++b)
        size += bands_[b]->out.size();
    out->resize(0);
    out->reserve(size);
    out->append("\x78\x01", 2);
    uLong adler = bands_[0]->adler;
    for (int b = 0; b < count; ++b) {
        out->append(bands_[b]->out);
        if (b > 0)
            adler = adler32_combine(adler, bands_[b]->adler, z_off_t(bands_[b]->bytes));
        bands_[b]->out = QByteArray();
    }
    const char trailer[4] = {char(adler >> 24), char(adler >> 16), char(adler >> 8), char(adler)};
    out->append(trailer, 4);
}

} // namespace pdfimage
