#include "PictureTestImages.h"
#include "format/HVBmpToFile.h"
#include "support/TestSupport.h"

#include "runtime/system/Libraries.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

#include <cstring>

using picture_test::MeanSquaredError;
using picture_test::PhotoLike;
using picture_test::SlipPage;

namespace {

using BmpToFile = int (*)(const THVBitmap*, int, char*, int);

class BmpToFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        library_ = TLibrary::Load(QStringLiteral("HVBmpToFile.dll"));
        ASSERT_TRUE(library_) << TLibrary::LastLoadError().toStdString();
        entry_ = reinterpret_cast<BmpToFile>(library_->GetProcAddress(QStringLiteral("BMPToFile")));
        ASSERT_TRUE(entry_);
    }

    static THVBitmap Describe(const QImage& image, THVPixelFormat format)
    {
        return THVBitmap {sizeof(THVBitmap), image.width(), image.height(), int(image.bytesPerLine()), format,
            0, image.constBits()};
    }

    // Calls the entry with a 256-byte buffer holding the base name; answers
    // the result code and leaves the buffer's final text in name.
    int Save(const THVBitmap& bitmap, int kind, QString& name)
    {
        char buffer[256] = {};
        const QByteArray base = name.toUtf8();
        std::memcpy(buffer, base.constData(), size_t(std::min<qsizetype>(base.size(), 255)));
        const int result = entry_(&bitmap, kind, buffer, int(sizeof buffer));
        name = QString::fromUtf8(buffer);
        return result;
    }

    int Save(const QImage& image, int kind, QString& name)
    {
        return Save(Describe(image, HVPixelRGB32), kind, name);
    }

    testsupport::TempFolder folder_;
    std::unique_ptr<TLibrary> library_;
    BmpToFile entry_ = nullptr;
};

} // namespace

TEST_F(BmpToFileTest, JpegOfAPageReadsBackClose)
{
    const QImage page = SlipPage();
    QString name = folder_.file(QStringLiteral("ZORV52_20111028093000001"));
    ASSERT_EQ(Save(page, HVPictureJPG, name), HVBmpOK);
    EXPECT_EQ(name, folder_.file(QStringLiteral("ZORV52_20111028093000001.jpg")));
    QImageReader reader(name);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), page.size());
    EXPECT_LT(MeanSquaredError(page, back), 12.0);
    EXPECT_EQ(qRound(back.dotsPerMeterX() * 0.0254), 96);
}

TEST_F(BmpToFileTest, JpegRecordsTheRenderedResolution)
{
    QImage page(170, 220, QImage::Format_RGB32);
    page.fill(Qt::white);
    THVBitmap bitmap = Describe(page, HVPixelRGB32);
    bitmap.DotsPerInch = 200;
    QString name = folder_.file(QStringLiteral("fax"));
    ASSERT_EQ(Save(bitmap, HVPictureJPG, name), HVBmpOK);
    const QImage back(name);
    EXPECT_EQ(qRound(back.dotsPerMeterX() * 0.0254), 200);
    EXPECT_EQ(qRound(back.dotsPerMeterY() * 0.0254), 200);
}

TEST_F(BmpToFileTest, GifOfAPageStaysClose)
{
    const QImage page = SlipPage();
    QString name = folder_.file(QStringLiteral("page"));
    ASSERT_EQ(Save(page, HVPictureGIF, name), HVBmpOK);
    EXPECT_TRUE(name.endsWith(QLatin1String("page.gif")));
    QImageReader reader(name);
    EXPECT_EQ(reader.format(), QByteArray("gif"));
    const QImage back = reader.read();
    ASSERT_EQ(back.size(), page.size());
    // Anti-aliased text in two colours over white and grey gives a few
    // hundred colours; the palette must still follow them closely.
    EXPECT_LT(MeanSquaredError(page, back), 1.0);
    // Paper and ink come out exact.
    EXPECT_EQ(back.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(back.pixel(400, 130), page.pixel(400, 130));
}

TEST_F(BmpToFileTest, GifOfAFewColoursIsPixelExact)
{
    const QImage page
        = SlipPage().convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    ASSERT_LE(page.colorCount(), 256);
    const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
    QString name = folder_.file(QStringLiteral("few"));
    ASSERT_EQ(Save(rgb, HVPictureGIF, name), HVBmpOK);
    EXPECT_EQ(MeanSquaredError(rgb, QImage(name)), 0.0);
}

TEST_F(BmpToFileTest, GifOfAPhotoKeepsItsLook)
{
    const quint32 seed = 31;
    const QImage photo = PhotoLike(400, 300, seed);
    QString name = folder_.file(QStringLiteral("photo"));
    ASSERT_EQ(Save(photo, HVPictureGIF, name), HVBmpOK);
    const QImage back(name);
    ASSERT_EQ(back.size(), photo.size());
    EXPECT_LT(MeanSquaredError(photo, back), 40.0) << "seed " << seed;
}

TEST_F(BmpToFileTest, EveryPixelLayoutGivesTheSamePicture)
{
    // RGB16 holds fewer colours, so all layouts start from a 5-6-5 picture.
    const QImage page
        = SlipPage().convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32);
    QString reference = folder_.file(QStringLiteral("rgb32"));
    ASSERT_EQ(Save(page, HVPictureGIF, reference), HVBmpOK);
    const QImage expected(reference);

    const QImage argb = page.convertToFormat(QImage::Format_ARGB32);
    const QImage rgb888 = page.convertToFormat(QImage::Format_RGB888);
    const QImage rgb16 = page.convertToFormat(QImage::Format_RGB16);
    // Rows with fill bytes after the pixels: a window into a wider picture.
    QImage wide(page.width() + 13, page.height(), QImage::Format_RGB32);
    wide.fill(Qt::red);
    for (int y = 0; y < page.height(); ++y)
        std::memcpy(wide.scanLine(y), page.constScanLine(y), size_t(page.width()) * 4);
    THVBitmap padded = Describe(wide, HVPixelRGB32);
    padded.Width = page.width();

    const struct {
        const char* label;
        THVBitmap bitmap;
    } cases[] = {{"argb32", Describe(argb, HVPixelARGB32)}, {"rgb888", Describe(rgb888, HVPixelRGB888)},
        {"rgb16", Describe(rgb16, HVPixelRGB16)}, {"padded", padded}};
    for (const auto& c : cases) {
        QString name = folder_.file(QString::fromLatin1(c.label));
        ASSERT_EQ(Save(c.bitmap, HVPictureGIF, name), HVBmpOK) << c.label;
        EXPECT_EQ(MeanSquaredError(expected, QImage(name)), 0.0) << c.label;
    }
}

TEST_F(BmpToFileTest, RefusesWhatItCannotWrite)
{
    QImage page(50, 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    THVBitmap good = Describe(page, HVPixelRGB32);
    QString name = folder_.file(QStringLiteral("x"));

    EXPECT_EQ(entry_(nullptr, HVPictureJPG, nullptr, 256), HVBmpBadBitmap);
    THVBitmap wrongSize = good;
    wrongSize.StructSize = 12;
    EXPECT_EQ(Save(wrongSize, HVPictureJPG, name), HVBmpBadBitmap);
    THVBitmap shortRows = good;
    shortRows.BytesPerLine = 40 * 4 + 3;
    shortRows.Width = 41;
    EXPECT_EQ(Save(shortRows, HVPictureJPG, name), HVBmpBadBitmap);
    THVBitmap unknownFormat = good;
    unknownFormat.PixelFormat = 9;
    EXPECT_EQ(Save(unknownFormat, HVPictureJPG, name), HVBmpBadBitmap);
    EXPECT_EQ(Save(good, 0, name), HVBmpBadKind);
    EXPECT_EQ(Save(good, 3, name), HVBmpBadKind);
    EXPECT_EQ(name, folder_.file(QStringLiteral("x"))) << "a failure leaves the buffer alone";

    // 252 bytes and the NUL fill the buffer; ".jpg" would not fit.
    QString tooLong
        = folder_.file(QString()) + QString(252 - folder_.file(QString()).size(), QLatin1Char('n'));
    const QString before = tooLong;
    EXPECT_EQ(Save(good, HVPictureJPG, tooLong), HVBmpBadName);
    EXPECT_EQ(tooLong, before);
    QString empty;
    EXPECT_EQ(Save(good, HVPictureGIF, empty), HVBmpBadName);

    // 251 bytes and the extension fill it exactly.
    QString longest = before.chopped(1);
    EXPECT_EQ(Save(good, HVPictureJPG, longest), HVBmpOK);
    EXPECT_EQ(longest, before.chopped(1) + QStringLiteral(".jpg"));

    QString noFolder = folder_.file(QStringLiteral("missing/x"));
    EXPECT_EQ(Save(good, HVPictureGIF, noFolder), HVBmpWriteFailed);
}

TEST_F(BmpToFileTest, AFolderThatRefusesGetsNoFile)
{
    QImage page(50, 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    QDir().mkpath(folder_.file(QStringLiteral("locked")));
    QFile::setPermissions(folder_.file(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner);
    QString locked = folder_.file(QStringLiteral("locked/x"));
    if (QFile(folder_.file(QStringLiteral("locked/probe"))).open(QIODevice::WriteOnly))
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_EQ(Save(page, HVPictureJPG, locked), HVBmpWriteFailed);
    EXPECT_TRUE(QDir(folder_.file(QStringLiteral("locked"))).isEmpty());
}
