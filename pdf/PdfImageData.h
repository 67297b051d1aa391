#pragma once
// Private helpers of libPDF: the pixel bytes of an image object and the Flate
// (zlib) compressor of Compression mode.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

struct libdeflate_compressor;

namespace pdfimage {

// The pixels of a bitmap as 24-bit RGB: rows top to bottom, each pixel red,
// green, blue, rows packed without fill bytes, as DrawBitmap stores them.
// Everything runs on the calling thread.
class RgbRows {
public:
    // Keeps a shallow copy of bitmap. RGB888 rows are used as they are; RGB32
    // and ARGB32 rows are packed here (alpha is dropped, as Qt does); other
    // formats are converted by Qt a band of rows at a time.
    explicit RgbRows(const QImage& bitmap);

    int Width() const { return source_.width(); }
    int Height() const { return source_.height(); }
    qsizetype RowBytes() const { return 3 * qsizetype(Width()); }
    qint64 ByteCount() const { return qint64(RowBytes()) * Height(); }

    // For an RGB888 bitmap, which needs no packing: row y's bytes in the
    // bitmap, else nullptr.
    const char* StoredRow(int y) const;

    // Packs rows [firstRow, firstRow + rowCount) into out (rowCount * RowBytes()).
    void Pack(int firstRow, int rowCount, char* out) const;

    // All the pixel bytes in one piece: the bitmap's own memory when it is
    // RGB888 without fill bytes, else packed into scratch.
    QByteArrayView All(QByteArray& scratch) const;

private:
    QImage source_;
};

// Flate compression of a whole image in one call (libdeflate): one ordinary
// zlib stream, as /FlateDecode reads it. The compressor (its hash tables) is
// kept between images.
class FlateCompressor {
public:
    FlateCompressor() = default;
    ~FlateCompressor();
    FlateCompressor(const FlateCompressor&) = delete;
    FlateCompressor& operator=(const FlateCompressor&) = delete;

    // The zlib stream of data, in out (resized to fit).
    void Compress(QByteArrayView data, QByteArray* out);

private:
    libdeflate_compressor* compressor_ = nullptr;
};

} // namespace pdfimage
