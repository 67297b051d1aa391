#include "controls/GlyphBank.h"

#include "runtime/forms/Persistent.h"

#include <QFile>

static void initGlyphResources()
{
    Q_INIT_RESOURCE(glyphs);
}

namespace {

QByteArray resourceData(const QString& path)
{
    static const bool initialised = [] {
        initGlyphResources();
        return true;
    }();
    Q_UNUSED(initialised);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString glyphPath(int index)
{
    return QStringLiteral(":/controls/glyph-%1.png").arg(index, 2, 10, QLatin1Char('0'));
}

} // namespace

int MaxGlyphIndex()
{
    return 47;
}

bool LoadGlyph(TPicture* picture, int index)
{
    if (!picture || index < 1 || index > MaxGlyphIndex())
        return false;
    const QByteArray data = resourceData(glyphPath(index));
    if (data.isEmpty())
        return false;
    if (QImage::fromData(data).isNull())
        throw EInvalidGraphic(QStringLiteral("Glyph %1 is not a valid image").arg(index));
    picture->SetData(data);
    return true;
}

QImage GlyphImage(int index)
{
    if (index < 1 || index > MaxGlyphIndex())
        return {};
    return QImage::fromData(resourceData(glyphPath(index)));
}

QByteArray BitmapResource(const QString& name)
{
    return resourceData(QStringLiteral(":/controls/%1.png").arg(name));
}
