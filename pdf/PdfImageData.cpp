#include "pdf/PdfImageData.h"

#include "runtime/system/Exceptions.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace pdfimage {

namespace {

// libdeflate level of compressed image streams. On a rendered report page
// level 2 is the fastest level and within a few per cent of the size of level 6
// (bench/pdf prints the figures of each level and of zlib).
constexpr int kCompressionLevel = 2;

// Rows of formats other than RGB888, RGB32 and ARGB32 are converted by Qt in
// bands of at most this many pixels.
constexpr int kQtBandPixels = 64 * 1024;

// Packs width 0xAARRGGBB words as R, G, B bytes.
using PackArgbFunction = void (*)(const quint32* in, int width, char* out);

void PackArgbPlain(const quint32* in, int width, char* out)
{
    for (int x = 0; x < width; ++x, out += 3) {
        const quint32 p = in[x];
        out[0] = char(p >> 16);
        out[1] = char(p >> 8);
        out[2] = char(p);
    }
}

#if defined(__x86_64__) || defined(__i386__)
// Four pixels at a time with one byte shuffle (SSSE3, which every x86-64
// processor of the last fifteen years has; checked when the program runs).
__attribute__((target("ssse3"))) void PackArgbSsse3(const quint32* in, int width, char* out)
{
    // Each pixel is B, G, R, A in memory; keep R, G, B of the four.
    const __m128i order = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
    int x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const __m128i rgb
            = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + x)), order);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), rgb);
        const quint32 last = quint32(_mm_cvtsi128_si32(_mm_srli_si128(rgb, 8)));
        std::memcpy(out + 8, &last, 4);
    }
    PackArgbPlain(in + x, width - x, out);
}

PackArgbFunction PackArgbRow()
{
    static const PackArgbFunction chosen = __builtin_cpu_supports("ssse3") ? PackArgbSsse3 : PackArgbPlain;
    return chosen;
}
#else
PackArgbFunction PackArgbRow()
{
    return PackArgbPlain;
}
#endif

} // namespace

RgbRows::RgbRows(const QImage& bitmap)
    : source_(bitmap)
{
}

const char* RgbRows::StoredRow(int y) const
{
    return source_.format() == QImage::Format_RGB888 ? reinterpret_cast<const char*>(source_.constScanLine(y))
                                                     : nullptr;
}

void RgbRows::Pack(int firstRow, int rowCount, char* out) const
{
    const qsizetype rowBytes = RowBytes();
    switch (source_.format()) {
    case QImage::Format_RGB888:
        for (int y = firstRow; y < firstRow + rowCount; ++y, out += rowBytes)
            std::memcpy(out, source_.constScanLine(y), size_t(rowBytes));
        return;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32: {
        const auto pack = PackArgbRow();
        for (int y = firstRow; y < firstRow + rowCount; ++y, out += rowBytes)
            pack(reinterpret_cast<const quint32*>(source_.constScanLine(y)), Width(), out);
        return;
    }
    default:
        break;
    }
    // Qt converts an image of more than about 128 K pixels on its thread pool:
    // bands of at most 64 K pixels stay on this thread.
    const int bandRows = std::max(1, kQtBandPixels / std::max(1, Width()));
    for (int y = firstRow; y < firstRow + rowCount; y += bandRows) {
        const int rows = std::min(bandRows, firstRow + rowCount - y);
        const QImage band = source_.copy(0, y, Width(), rows).convertToFormat(QImage::Format_RGB888);
        for (int r = 0; r < rows; ++r, out += rowBytes)
            std::memcpy(out, band.constScanLine(r), size_t(rowBytes));
    }
}

QByteArrayView RgbRows::All(QByteArray& scratch) const
{
    const qsizetype size = qsizetype(ByteCount());
    if (size == 0)
        return {};
    if (StoredRow(0) && (Height() == 1 || source_.bytesPerLine() == RowBytes()))
        return {StoredRow(0), size};
    scratch.resize(size);
    Pack(0, Height(), scratch.data());
    return scratch;
}

FlateCompressor::~FlateCompressor()
{
    libdeflate_free_compressor(compressor_);
}

void FlateCompressor::Compress(QByteArrayView data, QByteArray* out)
{
    if (!compressor_) {
        compressor_ = libdeflate_alloc_compressor(kCompressionLevel);
        if (!compressor_)
            throw std::bad_alloc();
    }
    const size_t bound = libdeflate_zlib_compress_bound(compressor_, size_t(data.size()));
    out->resize(qsizetype(bound));
    const size_t size
        = libdeflate_zlib_compress(compressor_, data.data(), size_t(data.size()), out->data(), bound);
    if (size == 0) // cannot happen with a buffer of the bound's size
        throw EWriteError(QStringLiteral("Image compression failed"));
    out->resize(qsizetype(size));
}

} // namespace pdfimage
