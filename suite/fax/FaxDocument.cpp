#include "FaxDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QUuid>

namespace {

// What sendfax converts by itself through its type rules.
bool sendsAsItIs(const QString& suffix)
{
    static const QStringList kinds {
        QStringLiteral("pdf"), QStringLiteral("ps"), QStringLiteral("tif"), QStringLiteral("tiff")};
    return kinds.contains(suffix.toLower());
}

// A density below 50 dpi is no real record (some writers store 1 x 1).
constexpr int FaxDpi = 200;

int densityOf(const QImage& image)
{
    const int dpi = qRound(image.dotsPerMeterX() * 0.0254);
    return dpi >= 50 ? dpi : FaxDpi;
}

} // namespace

QString FaxableDocument(const QString& path, const QString& workFolder, QString& error)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        error = QStringLiteral("The fax file \"%1\" cannot be read").arg(path);
        return {};
    }
    if (sendsAsItIs(info.suffix()))
        return info.absoluteFilePath();

    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        error = QStringLiteral("The fax file \"%1\" is no picture: %2").arg(path, reader.errorString());
        return {};
    }
    const int dpi = densityOf(image);
    const QString target
        = QDir(workFolder)
              .filePath(info.completeBaseName() + QLatin1Char('_')
                  + QUuid::createUuid().toString(QUuid::Id128).left(8) + QStringLiteral(".pdf"));
    {
        QPdfWriter writer(target);
        writer.setResolution(dpi);
        writer.setPageSize(QPageSize(QSizeF(image.width() * 72.0 / dpi, image.height() * 72.0 / dpi),
            QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&writer)) {
            error = QStringLiteral("The fax page \"%1\" cannot be written").arg(target);
            return {};
        }
        painter.drawImage(QRect(0, 0, image.width(), image.height()), image);
        painter.end();
    }
    if (!QFileInfo(target).isFile() || QFileInfo(target).size() == 0) {
        error = QStringLiteral("The fax page \"%1\" cannot be written").arg(target);
        QFile::remove(target);
        return {};
    }
    return target;
}
