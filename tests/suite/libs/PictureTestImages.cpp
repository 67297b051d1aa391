#include "PictureTestImages.h"

#include <QFont>
#include <QPainter>
#include <QRandomGenerator>

namespace picture_test {

QImage SlipPage()
{
    QImage page(816, 1056, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRect(40, 40, 736, 60), QColor(220, 220, 220));
    QFont font;
    font.setPixelSize(22);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(
        QRect(40, 40, 736, 60), Qt::AlignCenter, QStringLiteral("工单变更单 Work order change slip"));
    font.setPixelSize(12);
    painter.setFont(font);
    for (int row = 0; row < 30; ++row) {
        const int y = 130 + row * 28;
        painter.setPen(QPen(Qt::black, 1));
        painter.drawLine(40, y, 776, y);
        painter.setPen(row % 3 ? Qt::black : Qt::darkBlue);
        painter.drawText(48, y + 19,
            QStringLiteral("5101-2011%1  0001  变更原因 %2").arg(row, 4, 10, QLatin1Char('0')).arg(row * 17));
    }
    return page;
}

QImage PhotoLike(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(random.bounded(17)) - 8;
            line[x] = qRgb(qBound(0, 255 * x / width + noise, 255), qBound(0, 255 * y / height - noise, 255),
                qBound(0, 128 + (x - y) / 4 + noise, 255));
        }
    }
    return image;
}

double MeanSquaredError(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32);
    const QImage right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            const int dr = qRed(p) - qRed(q), dg = qGreen(p) - qGreen(q), db = qBlue(p) - qBlue(q);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    return sum / (3.0 * left.width() * left.height());
}

} // namespace picture_test
