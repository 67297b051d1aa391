#include "runtime/forms/ImgList.h"

#include <QBuffer>
#include <QPainter>

TImageList::TImageList(TComponent* owner)
    : TComponent(owner)
{
}

void TImageList::SetHeight(int value)
{
    if (value <= 0 || value > 1024 || value == height_)
        return;
    height_ = value;
    Clear();
}

void TImageList::SetWidth(int value)
{
    if (value <= 0 || value > 1024 || value == width_)
        return;
    width_ = value;
    Clear();
}

QByteArray TImageList::Bitmap() const
{
    if (strip_.isNull())
        return QByteArray();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    strip_.save(&buffer, "PNG");
    return data;
}

void TImageList::SetBitmap(const QByteArray& data)
{
    QImage image;
    if (data.isEmpty() || !image.loadFromData(data) || image.height() != height_
        || image.width() % width_ != 0) {
        strip_ = QImage();
        return;
    }
    strip_ = image.convertToFormat(QImage::Format_ARGB32);
}

int TImageList::Count() const
{
    return strip_.isNull() ? 0 : strip_.width() / width_;
}

int TImageList::Add(const QImage& image)
{
    const int count = Count();
    QImage grown(width_ * (count + 1), height_, QImage::Format_ARGB32);
    grown.fill(Qt::transparent);
    QPainter painter(&grown);
    if (!strip_.isNull())
        painter.drawImage(0, 0, strip_);
    painter.drawImage(QRect(count * width_, 0, width_, height_), image);
    painter.end();
    strip_ = grown;
    return count;
}

void TImageList::Delete(int index)
{
    const int count = Count();
    if (index < 0 || index >= count)
        throw EListError(QStringLiteral("Image index out of bounds (%1)").arg(index));
    if (count == 1) {
        strip_ = QImage();
        return;
    }
    QImage shrunk(width_ * (count - 1), height_, QImage::Format_ARGB32);
    shrunk.fill(Qt::transparent);
    QPainter painter(&shrunk);
    painter.drawImage(0, 0, strip_.copy(0, 0, index * width_, height_));
    painter.drawImage(
        index * width_, 0, strip_.copy((index + 1) * width_, 0, (count - index - 1) * width_, height_));
    painter.end();
    strip_ = shrunk;
}

void TImageList::Clear()
{
    strip_ = QImage();
}

QPixmap TImageList::GetBitmap(int index) const
{
    if (index < 0 || index >= Count())
        return QPixmap();
    return QPixmap::fromImage(strip_.copy(index * width_, 0, width_, height_));
}
