#include "PaletteQuantizer.h"
#include "PictureTestImages.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <set>

using picture_test::MeanSquaredError;
using picture_test::PhotoLike;

namespace {

int distance2(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// The picture each pixel would give if it took its truly nearest palette
// entry: the best any mapping onto this palette can do.
QImage NearestMapping(const QImage& original, const QList<QRgb>& palette)
{
    QImage out(original.size(), QImage::Format_RGB32);
    for (int y = 0; y < original.height(); ++y) {
        for (int x = 0; x < original.width(); ++x) {
            const QRgb pixel = original.pixel(x, y);
            QRgb best = palette.first();
            for (QRgb entry : palette) {
                if (distance2(pixel, entry) < distance2(pixel, best))
                    best = entry;
            }
            out.setPixel(x, y, best);
        }
    }
    return out;
}

// n distinct random colours scattered over a picture.
QImage RandomColours(int n, quint32 seed)
{
    QRandomGenerator random(seed);
    std::set<QRgb> colours;
    while (int(colours.size()) < n)
        colours.insert(qRgb(random.bounded(256), random.bounded(256), random.bounded(256)));
    const std::vector<QRgb> list(colours.begin(), colours.end());
    QImage image(97, 61, QImage::Format_RGB32);
    for (int i = 0; i < image.width() * image.height(); ++i) {
        // Every colour at least once, then random ones.
        const QRgb colour = i < n ? list[size_t(i)] : list[random.bounded(n)];
        image.setPixel(i % image.width(), i / image.width(), colour);
    }
    return image;
}

} // namespace

TEST(PaletteQuantizer, KeepsUpTo256ColoursExactly)
{
    for (const int n : {1, 2, 17, 255, 256}) {
        const quint32 seed = 1000 + quint32(n);
        const QImage original = RandomColours(n, seed);
        const QImage indexed = QuantizeToPalette(original);
        ASSERT_EQ(indexed.format(), QImage::Format_Indexed8) << "seed " << seed;
        EXPECT_EQ(indexed.colorCount(), n) << "seed " << seed;
        EXPECT_EQ(MeanSquaredError(original, indexed), 0.0) << "seed " << seed;
    }
}

TEST(PaletteQuantizer, ManyColoursFitA256Palette)
{
    const quint32 seed = 77;
    const QImage original = RandomColours(257, seed).copy(); // one colour too many for the exact road
    const QImage indexed = QuantizeToPalette(original);
    EXPECT_LE(indexed.colorCount(), 256) << "seed " << seed;
    // 257 colours into 256 entries: almost every colour keeps its own entry.
    EXPECT_LT(MeanSquaredError(original, indexed), 2.0) << "seed " << seed;
}

TEST(PaletteQuantizer, BeatsQtsOwnPaletteOnAPhoto)
{
    const quint32 seed = 4242;
    const QImage original = PhotoLike(320, 240, seed);
    const QImage ours = QuantizeToPalette(original);
    ASSERT_EQ(ours.format(), QImage::Format_Indexed8);
    ASSERT_LE(ours.colorCount(), 256);
    const QImage qts = original.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    const double ourError = MeanSquaredError(original, ours);
    const double qtError = MeanSquaredError(original, qts);
    EXPECT_LT(ourError, qtError) << "seed " << seed;
    // Noise of +-8 levels is what most of the error is made of.
    EXPECT_LT(ourError, 40.0) << "seed " << seed;
}

TEST(PaletteQuantizer, PixelsTakeANearEntryOfTheirPalette)
{
    const quint32 seed = 9;
    const QImage original = PhotoLike(160, 120, seed);
    const QImage ours = QuantizeToPalette(original);
    const double mapped = MeanSquaredError(original, ours);
    const double nearest = MeanSquaredError(original, NearestMapping(original, ours.colorTable()));
    // Mapping by histogram cell may miss the nearest entry by a few levels.
    EXPECT_LE(mapped, nearest * 1.25 + 1.0) << "seed " << seed;
}

TEST(PaletteQuantizer, FewColoursAskedForGiveAtMostThat)
{
    const QImage original = PhotoLike(64, 64, 5);
    const QImage two = QuantizeToPalette(original, 2);
    EXPECT_LE(two.colorCount(), 2);
    // Two entries must still tell the dark corner from the bright one.
    EXPECT_NE(two.pixelIndex(0, 0), two.pixelIndex(63, 63));
    EXPECT_TRUE(QuantizeToPalette(QImage()).isNull());
}
