#pragma once
// Private helpers of libPDF: the pixel bytes of an image object, made a strip
// of rows at a time so that the pixels of a page are never held twice, and the
// Flate (zlib) compressor of Compression mode.

#include <QByteArray>
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

namespace pdfimage {

// The pixels of a bitmap as 24-bit RGB: rows top to bottom, each pixel red,
// green, blue, rows packed without fill bytes, as DrawBitmap stores them.
class RgbRows {
public:
    // Keeps a shallow copy of bitmap; formats other than RGB888, RGB32 and
    // ARGB32 are converted to RGB888 once here (alpha is dropped, as Qt does).
    explicit RgbRows(const QImage& bitmap);

    int Width() const { return source_.width(); }
    int Height() const { return source_.height(); }
    qint64 ByteCount() const { return 3 * qint64(Width()) * Height(); }

    // Calls sink with consecutive strips of packed rows [firstRow, endRow),
    // top to bottom, each composed in strip (reused; about 256 KB at most).
    void ForEachStrip(QByteArray& strip, const std::function<void(const QByteArray&)>& sink) const
    {
        ForEachStrip(0, Height(), strip, sink);
    }
    void ForEachStrip(int firstRow, int endRow, QByteArray& strip,
        const std::function<void(const QByteArray&)>& sink) const;

private:
    void Pack(int firstRow, int rowCount, char* out) const;

    QImage source_;
};

// Flate (zlib) compression of the packed rows of a bitmap. A large bitmap is
// cut into bands of rows compressed side by side on the machine's cores, the
// way pigz does: each band is a raw deflate stream ending on a byte boundary
// (a sync flush), the bands are joined behind one zlib header and followed by
// the Adler-32 of all the pixels, which makes one ordinary zlib stream. The
// zlib states are kept between images (they are large).
class FlateCompressor {
public:
    FlateCompressor();
    ~FlateCompressor();
    FlateCompressor(const FlateCompressor&) = delete;
    FlateCompressor& operator=(const FlateCompressor&) = delete;

    // The zlib stream of rows' bytes, in out.
    void Compress(const RgbRows& rows, QByteArray* out);

    // Bands used for a bitmap of `bytes` pixel bytes (for tests).
    static int BandCount(qint64 bytes);

private:
    struct Band;
    std::vector<std::unique_ptr<Band>> bands_;
};

} // namespace pdfimage
