#include "GifWriter.h"

#include <QIODevice>
#include <QImage>

#include <gif_lib.h>

namespace {

int writeToDevice(GifFileType* gif, const GifByteType* bytes, int length)
{
    auto* device = static_cast<QIODevice*>(gif->UserData);
    return int(device->write(reinterpret_cast<const char*>(bytes), length));
}

} // namespace

bool WriteGif(const QImage& indexed, QIODevice& device)
{
    const QList<QRgb> table = indexed.colorTable();
    if (indexed.format() != QImage::Format_Indexed8 || table.isEmpty() || table.size() > 256)
        return false;
    int error = 0;
    GifFileType* gif = EGifOpen(&device, &writeToDevice, &error);
    if (!gif)
        return false;
    const int bits = GifBitSize(int(table.size()));
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    bool ok = map != nullptr;
    if (ok) {
        for (int i = 0; i < map->ColorCount; ++i) {
            const QRgb rgb = i < table.size() ? table[i] : qRgb(0, 0, 0);
            map->Colors[i]
                = GifColorType {GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)), GifByteType(qBlue(rgb))};
        }
        ok = EGifPutScreenDesc(gif, indexed.width(), indexed.height(), bits, 0, map) == GIF_OK
            && EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
        // EGifPutLine takes a non-const line; Indexed8 rows are exactly width bytes of indexes.
        for (int y = 0; ok && y < indexed.height(); ++y)
            ok = EGifPutLine(gif, const_cast<GifPixelType*>(indexed.constScanLine(y)), indexed.width())
                == GIF_OK;
    }
    // Closing flushes the last code and frees gif (also after a failure); the
    // map was copied into gif by EGifPutScreenDesc.
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    GifFreeMapObject(map);
    return ok;
}
