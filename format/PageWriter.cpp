#include "format/PageWriter.h"

#include "format/PageGeometry.h"
#include "format/PictureLibrary.h"
#include "pdf/libPDF.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"
#include "runtime/system/Exceptions.h"
#include "runtime/system/WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSet>
#include <cerrno>
#include <cmath>
#include <cstdio>

IPageWriteProgress::~IPageWriteProgress() = default;

namespace {

// A picture in the image format its extension names (".bmp": "bmp"), written
// whole or not at all, so a full disk never leaves half a picture under the
// real name.
bool saveImage(const QImage& picture, const QString& extension, const QString& path, QString& error)
{
    const QByteArray format = extension.mid(1).toLatin1();
    return WriteWholeFile(
        path, [&](QIODevice& device) { return QImageWriter(&device, format).write(picture); }, &error);
}

// A one-page PDF holding the picture edge to edge: the page is the picture's
// size in points at its resolution (816 x 1056 pixels at 96 dpi make a
// 612 x 792 point Letter page), and the image is stretched to exactly that.
bool savePicturePdf(const QImage& picture, int dpi, const QString& path, QString& error)
{
    try {
        TPrintPDF pdf;
        pdf.SetFileName(path);
        pdf.SetCompression(true);
        pdf.SetPageWidth(std::max(1, int(std::lround(picture.width() * 72.0 / dpi))));
        pdf.SetPageHeight(std::max(1, int(std::lround(picture.height() * 72.0 / dpi))));
        pdf.BeginDoc();
        pdf.DrawBitmapSized(0, 0, pdf.PageWidth(), pdf.PageHeight(), picture);
        pdf.EndDoc();
        return true;
    } catch (const Exception& e) {
        error = e.Message();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    return false;
}

// Whether the file ends the way every PDF the writer makes ends. The PDF
// painter does not report failed writes, so a disk that filled up while it
// painted leaves a document without its end.
bool endsLikeAPdf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 64)
        return false;
    file.seek(file.size() - 32);
    return file.read(32).contains("%%EOF");
}

void removeAll(QStringList& files)
{
    for (const QString& file : std::as_const(files))
        QFile::remove(file);
    files.clear();
}

} // namespace

TPageWriter::TPageWriter(TQuickRep& report)
    : report_(report)
{
}

int TPageWriter::PageCount() const
{
    TQRPrinter* printer = report_.QRPrinter();
    if (!printer)
        return 0;
    printer->Complete();
    return printer->ReportPageCount();
}

bool TPageWriter::WritePage(const QString& baseName, TOutputKind kind, int page, QString* written)
{
    lastError_.clear();
    if (!WritesPages(kind)) {
        lastError_ = QStringLiteral("%1 is the whole report, not a picture of one page").arg(NameOf(kind));
        return false;
    }
    const QString extension = ExtensionOf(kind);
    TQRPrinter* printer = report_.QRPrinter();
    if (!printer) {
        lastError_ = QStringLiteral("The report has no pages");
        return false;
    }
    printer->Complete();
    const int count = printer->ReportPageCount();
    if (page < 1 || page > count) {
        lastError_ = QStringLiteral("The report has no page %1").arg(page);
        return false;
    }

    const TQRPage* setup = report_.Page();
    TPageGeometryInput in;
    in.Page = page;
    in.Resolution = Settings.Resolution < 1 ? 96 : Settings.Resolution;
    in.PaperWidth = setup->Value(TQRPage::Width);
    in.PaperLength = setup->Value(TQRPage::Length);
    // The margins are stored in tenths of a millimetre; the geometry takes millimetres.
    in.LeftMargin = setup->Value(TQRPage::LeftMargin) / 10.0;
    in.TopMargin = setup->Value(TQRPage::TopMargin) / 10.0;
    in.KeepLeftMargin = Settings.KeepLeftMargin;
    in.KeepTopMargin = Settings.KeepTopMargin;
    in.HalfPage = printer->Pages() && printer->Pages()->HalfPage();
    const TPageGeometry geometry = PictureGeometry(in);
    if (geometry.PictureSize.isEmpty()) {
        lastError_ = QStringLiteral("The page has no size");
        return false;
    }

    // Pages are white sheets; the renderer paints the whole sheet (one page,
    // or two half pages) into the geometry's rectangle and the picture cuts
    // it to the logical page.
    QImage picture(geometry.PictureSize, QImage::Format_RGB32);
    const double dotsPerMetre = in.Resolution / 0.0254;
    picture.setDotsPerMeterX(int(std::lround(dotsPerMetre)));
    picture.setDotsPerMeterY(int(std::lround(dotsPerMetre)));
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::TextAntialiasing);
        printer->Renderer()->PaintSheet(painter, geometry.ReportPage, QRectF(geometry.PageRect));
    }

    QString file;
    bool ok = false;
    try {
        switch (WriterOf(kind)) {
        case TOutputWriter::ImageFile:
            file = baseName + extension;
            ok = saveImage(picture, extension, file, lastError_);
            break;
        case TOutputWriter::PicturePdf:
            file = baseName + extension;
            ok = savePicturePdf(picture, in.Resolution, file, lastError_);
            break;
        case TOutputWriter::PictureLibrary:
            // The library adds the extension and names the file it made.
            ok = TPictureLibrary::SavePicture(
                picture, kind, baseName, Settings.ClientHome, in.Resolution, file);
            if (!ok && lastError_.isEmpty())
                lastError_
                    = QStringLiteral("The picture library could not write %1").arg(baseName + extension);
            break;
        case TOutputWriter::ReportPdf: // refused above
            break;
        }
    } catch (const Exception& e) {
        lastError_ = e.Message();
        ok = false;
    }
    if (ok && written)
        *written = file;
    return ok;
}

bool TPageWriter::WriteAllPages(
    const QString& prefix, TOutputKind kind, int count, IPageWriteProgress* progress, QStringList* files)
{
    const int pages = count > 0 ? count : PageCount();
    if (progress)
        progress->Start(pages);
    for (int page = 1; page <= pages; ++page) {
        if (progress) {
            progress->Progress(page, pages);
            if (progress->Cancelled()) {
                lastError_ = QStringLiteral("Cancelled");
                return false;
            }
        }
        QString written;
        if (!WritePage(NumberedName(prefix, page, pages), kind, page, &written))
            return false;
        if (files)
            files->append(written);
    }
    return true;
}

bool TPageWriter::WriteRecipientPages(const TSendRecipient& recipient, const QString& baseName,
    TOutputKind kind, IPageWriteProgress* progress, const std::function<void(const TSendGroup&)>& countPrint,
    QStringList& files)
{
    files.clear();
    const QList<int> pages = recipient.Pages();
    // A slip spanning several pages counts once: at the first of its pages
    // that was written.
    QSet<QString> counted;
    if (progress)
        progress->Start(int(pages.size()));
    int done = 0;
    for (int page : pages) {
        ++done;
        if (progress) {
            progress->Progress(done, int(pages.size()));
            if (progress->Cancelled()) {
                lastError_ = QStringLiteral("Cancelled");
                removeAll(files);
                return false;
            }
        }
        QString written;
        if (!WritePage(baseName + QString::number(page), kind, page, &written)) {
            removeAll(files);
            return false;
        }
        files.append(written);
        if (!countPrint)
            continue;
        for (const TSendGroup& group : recipient.Groups) {
            if (group.Page != page || !group.CountsPrints())
                continue;
            const QString slip
                = group.Table + QLatin1Char('\n') + group.CountField + QLatin1Char('\n') + group.Condition;
            if (!counted.contains(slip)) {
                counted.insert(slip);
                countPrint(group);
            }
        }
    }
    return true;
}

bool TPageWriter::WriteVectorPdf(const QString& path, const QString& title)
{
    lastError_.clear();
    TQRPrinter* printer = report_.QRPrinter();
    if (!printer || PageCount() == 0) {
        lastError_ = QStringLiteral("The report has no pages");
        return false;
    }
    const QFileInfo target(path);
    if (!target.dir().exists()) {
        lastError_ = QStringLiteral("The folder %1 does not exist").arg(target.absolutePath());
        return false;
    }
    // Painted into a sibling that takes the target's name only when whole.
    TWholeFile file(path);
    if (!file.Open()) {
        lastError_ = file.Error();
        return false;
    }
    const QString partial = file.PartPath();
    const QString oldTitle = report_.ReportTitle();
    if (!title.isEmpty())
        report_.SetReportTitle(title);
    const bool painted = !partial.isEmpty() && printer->ExportPdf(partial);
    if (!title.isEmpty())
        report_.SetReportTitle(oldTitle);
    if (!painted || !endsLikeAPdf(partial)) {
        lastError_ = QStringLiteral("Could not write %1 (is the disk full?)").arg(path);
        return false;
    }
    if (!file.Commit()) {
        lastError_ = file.Error();
        return false;
    }
    return true;
}
