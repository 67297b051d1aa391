#include "pdf/PdfImageData.h"

#include "runtime/system/Exceptions.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace pdfimage {

namespace {

// zlib level of compressed image streams. Rendered report pages are mostly
// flat colour; level 1 compresses them nearly as well as the default level 6,
// several times faster (bench/pdf prints the figures).
constexpr int kCompressionLevel = Z_BEST_SPEED;
constexpr qsizetype kStripBytes = 256 * 1024;

bool PackedAsIs(QImage::Format format)
{
    return format == QImage::Format_RGB888 || format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
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

void RgbRows::ForEachStrip(QByteArray& strip, const std::function<void(const QByteArray&)>& sink) const
{
    const qsizetype rowBytes = qsizetype(Width()) * 3;
    if (rowBytes == 0 || Height() == 0)
        return;
    const int rowsPerStrip = int(std::max<qsizetype>(1, kStripBytes / rowBytes));
    for (int y = 0; y < Height(); y += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, Height() - y);
        strip.resize(rows * rowBytes);
        Pack(y, rows, strip.data());
        sink(strip);
    }
}

struct FlateEncoder::Stream {
    z_stream z{};
    bool ready = false;
};

FlateEncoder::FlateEncoder() : stream_(std::make_unique<Stream>()) {}

FlateEncoder::~FlateEncoder()
{
    if (stream_->ready)
        deflateEnd(&stream_->z);
}

void FlateEncoder::Begin(QByteArray* out)
{
    out_ = out;
    out_->resize(0);
    Stream& s = *stream_;
    const int rc = s.ready ? deflateReset(&s.z) : deflateInit(&s.z, kCompressionLevel);
    if (rc != Z_OK)
        throw EWriteError(QStringLiteral("Image compression failed (zlib error %1)").arg(rc));
    s.ready = true;
}

void FlateEncoder::Add(const QByteArray& data)
{
    Run(data.constData(), data.size(), Z_NO_FLUSH);
}

void FlateEncoder::Finish()
{
    Run(nullptr, 0, Z_FINISH);
}

void FlateEncoder::Run(const char* data, qsizetype size, int flush)
{
    z_stream& z = stream_->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    z.avail_in = uInt(size);
    for (;;) {
        // Room for what this input may become (the stream bound), at least 64 KB.
        const qsizetype used = out_->size();
        const qsizetype room = std::max<qsizetype>(64 * 1024, qsizetype(deflateBound(&z, z.avail_in)) / 4);
        out_->resize(used + room);
        z.next_out = reinterpret_cast<Bytef*>(out_->data() + used);
        z.avail_out = uInt(room);
        const int rc = deflate(&z, flush);
        out_->resize(used + room - qsizetype(z.avail_out));
        if (rc == Z_STREAM_END)
            return;
        if (rc != Z_OK && rc != Z_BUF_ERROR)
            throw EWriteError(QStringLiteral("Image compression failed (zlib error %1)").arg(rc));
        if (flush == Z_NO_FLUSH && z.avail_in == 0)
            return;
    }
}

} // namespace pdfimage
