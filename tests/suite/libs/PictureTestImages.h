#pragma once
// Pictures for the picture-library tests, all made from a fixed seed.

#include <QImage>
#include <QRgb>

namespace picture_test {

// A Letter page at 96 dpi (816 x 1056) as the report draws one: white paper,
// black and blue anti-aliased text, ruled lines, a grey header band.
QImage SlipPage();

// A picture with far more than 256 colours: smooth gradients under noise.
QImage PhotoLike(int width, int height, quint32 seed);

// Mean squared error per channel between two pictures of one size.
double MeanSquaredError(const QImage& a, const QImage& b);

} // namespace picture_test
