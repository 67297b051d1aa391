// libHVBmpToFile.so: saves a page bitmap as a JPEG or GIF file (contract in
// HVBmpToFile.h).

#include "format/HVBmpToFile.h"

#include "GifWriter.h"
#include "PaletteQuantizer.h"
#include "runtime/system/WholeFile.h"

#include <QImage>
#include <QImageWriter>

#include <cstring>

#define HV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// Quality 90: at 96 dpi the strokes of Chinese characters are one or two
// pixels wide, and the default 75 smears them visibly.
constexpr int JpegQuality = 90;

struct FormatInfo {
    QImage::Format format;
    int bytesPerPixel;
};

bool formatOf(int pixelFormat, FormatInfo& info)
{
    switch (pixelFormat) {
    case HVPixelRGB32:
        info = {QImage::Format_RGB32, 4};
        return true;
    case HVPixelARGB32:
        info = {QImage::Format_ARGB32, 4};
        return true;
    case HVPixelRGB888:
        info = {QImage::Format_RGB888, 3};
        return true;
    case HVPixelRGB16:
        info = {QImage::Format_RGB16, 2};
        return true;
    default:
        return false;
    }
}

// A QImage over the caller's pixels (no copy), or a null image when the
// description does not hold together.
QImage wrap(const THVBitmap* bitmap)
{
    FormatInfo info {};
    if (!bitmap || bitmap->StructSize != sizeof(THVBitmap) || !bitmap->Bits || bitmap->Width <= 0
        || bitmap->Height <= 0 || !formatOf(bitmap->PixelFormat, info)
        || qint64(bitmap->BytesPerLine) < qint64(bitmap->Width) * info.bytesPerPixel)
        return {};
    QImage image(static_cast<const uchar*>(bitmap->Bits), bitmap->Width, bitmap->Height, bitmap->BytesPerLine,
        info.format);
    // The JPEG header keeps the density, so a fax or print of the file comes out at paper size.
    const int dpi = bitmap->DotsPerInch > 0 ? bitmap->DotsPerInch : 96;
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

bool writeJpeg(const QImage& image, QIODevice& file)
{
    QImageWriter writer(&file, "jpg");
    writer.setQuality(JpegQuality);
    // Alpha means nothing on a page; JPEG has none.
    return writer.write(image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image);
}

bool writePicture(const QImage& image, int kind, const QString& fileName)
{
    return WriteWholeFile(fileName, [&](QIODevice& file) {
        return kind == HVPictureJPG ? writeJpeg(image, file) : WriteGif(QuantizeToPalette(image), file);
    });
}

} // namespace

HV_EXPORT int BMPToFile(const THVBitmap* bitmap, int kind, char* fileName, int bufferSize)
{
    try {
        const QImage image = wrap(bitmap);
        if (image.isNull())
            return HVBmpBadBitmap;
        if (kind != HVPictureJPG && kind != HVPictureGIF)
            return HVBmpBadKind;
        if (!fileName || bufferSize <= 0)
            return HVBmpBadName;
        const size_t length = strnlen(fileName, size_t(bufferSize));
        const char* extension = kind == HVPictureJPG ? ".jpg" : ".gif";
        if (length == 0 || length + std::strlen(extension) + 1 > size_t(bufferSize))
            return HVBmpBadName;
        const QByteArray finalName = QByteArray(fileName, qsizetype(length)) + extension;
        if (!writePicture(image, kind, QString::fromUtf8(finalName)))
            return HVBmpWriteFailed;
        std::memcpy(fileName, finalName.constData(), size_t(finalName.size()) + 1);
        return HVBmpOK;
    } catch (...) {
        // Nothing may cross the C boundary; an allocation failure is a failed write.
        return HVBmpWriteFailed;
    }
}
