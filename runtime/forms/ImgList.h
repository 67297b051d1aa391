#pragma once
// An image list: images of one size kept as one horizontal strip, stored in
// the form description as the strip's PNG data.

#include "runtime/forms/Component.h"

#include <QImage>
#include <QPixmap>

class TImageList : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(QByteArray Bitmap READ Bitmap WRITE SetBitmap)
public:
    explicit TImageList(TComponent* owner = nullptr);
    int Height() const { return height_; }
    void SetHeight(int value);
    int Width() const { return width_; }
    void SetWidth(int value);
    // The strip as PNG; setting it replaces every image (invalid data clears the list).
    QByteArray Bitmap() const;
    void SetBitmap(const QByteArray& data);

    int Count() const;
    // Appends image scaled to the list's size; answers its index.
    int Add(const QImage& image);
    void Delete(int index);
    void Clear();
    QPixmap GetBitmap(int index) const;

private:
    int height_ = 16;
    int width_ = 16;
    QImage strip_;
};
