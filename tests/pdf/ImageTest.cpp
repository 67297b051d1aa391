// Image objects: pixel bytes, bitmap formats, Flate compression.
#include "PdfWriterFixture.h"

#include <zlib.h>

using namespace pdftest;

namespace {

QByteArray Inflate(const QByteArray& data, qsizetype expected)
{
    QByteArray out(expected + 16, Qt::Uninitialized); // room to notice extra bytes
    uLongf size = uLongf(out.size());
    const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &size,
        reinterpret_cast<const Bytef*>(data.constData()), uLong(data.size()));
    if (rc != Z_OK)
        return QByteArray("inflate failed");
    out.truncate(qsizetype(size));
    return out;
}

// The image dictionary lines of object 21.
QByteArray ImageHead(const ParsedPdf& pdf)
{
    const QByteArray object = pdf.Object(21);
    return object.left(object.indexOf("stream\r\n") + 8);
}

} // namespace

TEST_F(PdfWriterTest, SixPixelImageHasLength18AndItsBytesInOrder)
{
    const ParsedPdf pdf = WriteParsed({SixPixels()});
    EXPECT_EQ(ImageHead(pdf),
        Lines({"21 0 obj", "<< /Type /XObject", "/Subtype /Image", "/Width 3", "/Height 2",
            "/ColorSpace /DeviceRGB", "/BitsPerComponent 8", "/Length 18", "/Name /Im1", ">>", "stream"}));
    EXPECT_EQ(pdf.StreamData(21, 18), SixPixelBytes());
    // The 18 bytes are followed by "\r\nendstream" and "endobj".
    EXPECT_TRUE(pdf.Object(21).endsWith(SixPixelBytes() + "\r\nendstream\r\nendobj\r\n"));
}

TEST_F(PdfWriterTest, EveryBitmapFormatBecomesPackedRgb)
{
    // RGB888 3 pixels wide has a fill byte per row in memory; none is written.
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888,
             QImage::Format_BGR888, QImage::Format_RGB16, QImage::Format_RGBX8888,
             QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA64}) {
        const QImage image = SixPixels(format);
        ASSERT_EQ(image.format(), format);
        const ParsedPdf pdf = WriteParsed({image});
        EXPECT_EQ(pdf.IntegerAfter(21, "/Length "), 18) << format;
        // RGB16 keeps 5/6 bits per channel: compare with what Qt makes of it.
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        QByteArray expected;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const QRgb p = rgb.pixel(x, y);
                expected += char(qRed(p));
                expected += char(qGreen(p));
                expected += char(qBlue(p));
            }
        EXPECT_EQ(pdf.StreamData(21, 18), expected) << format;
    }
}

TEST_F(PdfWriterTest, IndexedAndMonochromeBitmapsAreExpanded)
{
    QImage mono(9, 2, QImage::Format_Mono);
    mono.setColorCount(2);
    mono.setColor(0, qRgb(255, 255, 255));
    mono.setColor(1, qRgb(0, 0, 0));
    mono.fill(0);
    mono.setPixel(0, 0, 1);
    mono.setPixel(8, 1, 1);
    const ParsedPdf pdf = WriteParsed({mono});
    EXPECT_EQ(pdf.IntegerAfter(21, "/Width "), 9);
    EXPECT_EQ(pdf.IntegerAfter(21, "/Length "), 54);
    QByteArray expected(54, char(0xFF));
    expected.replace(0, 3, QByteArray(3, 0));
    expected.replace(51, 3, QByteArray(3, 0));
    EXPECT_EQ(pdf.StreamData(21, 54), expected);
}

TEST_F(PdfWriterTest, CompressionIsOffByDefault)
{
    EXPECT_FALSE(writer.Compression());
    const ParsedPdf pdf = WriteParsed({Quadrants(64, 64)});
    EXPECT_FALSE(pdf.bytes.contains("/Filter"));
    EXPECT_EQ(pdf.IntegerAfter(21, "/Length "), 64 * 64 * 3);
}

TEST_F(PdfWriterTest, CompressedImageStreamIsFlateWithCompressedLength)
{
    writer.SetCompression(true);
    const ParsedPdf pdf = WriteParsed({SixPixels(), Quadrants(200, 100)});
    for (int object : {21, 22}) {
        const QByteArray object_ = pdf.Object(object);
        const qint64 length = pdf.IntegerAfter(object, "/Length ");
        ASSERT_GT(length, 0);
        EXPECT_TRUE(object_.contains("/BitsPerComponent 8\r\n/Filter /FlateDecode\r\n/Length "));
        // /Length is exactly the bytes between the "stream" line and "\r\nendstream".
        const qsizetype from = object_.indexOf("\r\nstream\r\n") + 10;
        const qsizetype to = object_.lastIndexOf("\r\nendstream\r\nendobj\r\n");
        EXPECT_EQ(to - from, length) << "object " << object;
    }
    EXPECT_EQ(Inflate(pdf.StreamData(21, pdf.IntegerAfter(21, "/Length ")), 18), SixPixelBytes());
    const QByteArray quadrants = Inflate(pdf.StreamData(22, pdf.IntegerAfter(22, "/Length ")), 200 * 100 * 3);
    ASSERT_EQ(quadrants.size(), 200 * 100 * 3);
    EXPECT_EQ(quadrants.left(3), QByteArray("\xFF\x00\x00", 3)); // top left red
    EXPECT_EQ(quadrants.right(3), QByteArray("\xFF\xFF\x00", 3)); // bottom right yellow
    EXPECT_EQ(quadrants.mid(199 * 3, 3), QByteArray("\x00\xFF\x00", 3)); // top right green
    EXPECT_EQ(quadrants.mid(99 * 600, 3), QByteArray("\x00\x00\xFF", 3)); // bottom left blue
    // The page content is not compressed.
    EXPECT_TRUE(pdf.Object(2).contains("/Im2 Do\r\nQ\r\nendstream"));
}

TEST_F(PdfWriterTest, CompressedPageIsMuchSmaller)
{
    QImage page(816, 1056, QImage::Format_RGB32);
    page.fill(Qt::white);
    writer.SetCompression(true);
    const QByteArray compressed = Write({page});
    writer.SetCompression(false);
    const QByteArray plain = Write({page});
    EXPECT_GT(plain.size(), 816 * 1056 * 3);
    EXPECT_LT(compressed.size() * 20, plain.size());
}

TEST_F(PdfWriterTest, LargeCompressedImagesInflateToTheExactPixels)
{
    // Detail everywhere, so a lost or misplaced row shows.
    auto detailed = [](int width, int height, QImage::Format format) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb((x * 7 + y) & 0xFF, (y * 3) & 0xFF, ((x ^ y) * 5) & 0xFF));
        return image.convertToFormat(format);
    };
    // Packed from 32-bit pixels; RGB888 rows taken as they lie in memory
    // (816 wide) or gathered past their fill bytes (1203 wide); converted by
    // Qt in bands.
    const QList<QImage> images
        = {detailed(816, 1056, QImage::Format_RGB32), detailed(816, 700, QImage::Format_RGB888),
            detailed(1203, 700, QImage::Format_RGB888), detailed(1203, 700, QImage::Format_RGB16)};
    const ParsedPdf plain = WriteParsed(images);
    writer.SetCompression(true);
    const ParsedPdf compressed = WriteParsed(images);
    for (int i = 0; i < images.size(); ++i) {
        const int object = 21 + i;
        const qint64 rawLength = 3 * qint64(images[i].width()) * images[i].height();
        ASSERT_EQ(plain.IntegerAfter(object, "/Length "), rawLength);
        const QByteArray raw = plain.StreamData(object, rawLength);
        const qint64 length = compressed.IntegerAfter(object, "/Length ");
        EXPECT_TRUE(Inflate(compressed.StreamData(object, length), rawLength) == raw) << "image " << i + 1;
    }
}
