#pragma once
// Private helpers of libPDF: the pixel bytes of an image object, made a strip
// of rows at a time so that the pixels of a page are never held twice, and the
// Flate (zlib) compressor of Compression mode.

#include <QByteArray>
#include <QImage>
#include <functional>
#include <memory>

namespace pdfimage {

// The pixels of a bitmap as 24-bit RGB: rows top to bottom, each pixel red,
// green, blue, rows packed without fill bytes (Part 6.1, DrawBitmap step 3).
class RgbRows {
public:
    // Keeps a shallow copy of bitmap; formats other than RGB888, RGB32 and
    // ARGB32 are converted to RGB888 once here (alpha is dropped, as Qt does).
    explicit RgbRows(const QImage& bitmap);

    int Width() const { return source_.width(); }
    int Height() const { return source_.height(); }
    qint64 ByteCount() const { return 3 * qint64(Width()) * Height(); }

    // Calls sink with consecutive strips of packed rows, top to bottom, each
    // composed in strip (reused; about 256 KB at most).
    void ForEachStrip(QByteArray& strip, const std::function<void(const QByteArray&)>& sink) const;

private:
    void Pack(int firstRow, int rowCount, char* out) const;

    QImage source_;
};

// A zlib stream encoder kept between images (its state is large).
class FlateEncoder {
public:
    FlateEncoder();
    ~FlateEncoder();
    FlateEncoder(const FlateEncoder&) = delete;
    FlateEncoder& operator=(const FlateEncoder&) = delete;

    // Starts a zlib stream whose bytes go to out (cleared first).
    void Begin(QByteArray* out);
    void Add(const QByteArray& data);
    // Ends the stream; out holds the whole zlib stream.
    void Finish();

private:
    void Run(const char* data, qsizetype size, int flush);

    struct Stream;
    std::unique_ptr<Stream> stream_;
    QByteArray* out_ = nullptr;
};

} // namespace pdfimage
