#include "pdf/libPDF.h"

#include "runtime/system/NativePath.h"

#include "pdf/PdfFileIo.h"
#include "pdf/PdfImageData.h"
#include "runtime/system/Exceptions.h"
#include "runtime/system/WholeFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QScreen>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The 14 standard fonts, objects 5 to 18 in this order.
constexpr const char* kFontNames[] = {
    "Helvetica",
    "Helvetica-Bold",
    "Helvetica-Oblique",
    "Helvetica-BoldOblique",
    "Courier",
    "Courier-Bold",
    "Courier-Oblique",
    "Courier-BoldOblique",
    "Times-Roman",
    "Times-Bold",
    "Times-Italic",
    "Times-BoldItalic",
    "Symbol",
    "ZapfDingbats",
};

// Uncompressed pixel rows are packed and written in strips of about this size.
constexpr qsizetype kStripBytes = 256 * 1024;

// Every line the writer produces ends with CR LF.
void Line(QByteArray& buffer, QByteArrayView text)
{
    buffer.append(text);
    buffer.append("\r\n", 2);
}

QByteArray Num(qint64 value)
{
    return QByteArray::number(value);
}

QByteArray Ref(int object)
{
    return Num(object) + " 0 R";
}

// The bytes of a text inside a PDF string, written as it is (no escaping).
// ASCII text is its own bytes. Other text (Chinese titles) is written as
// UTF-16BE with a byte order mark, the PDF form of Unicode text; only there,
// bytes that would read as "(", ")" or "\" are escaped so the string stays
// one string.
QByteArray TextBytes(const QString& text)
{
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return text.toLatin1();
    QByteArray bytes("\xFE\xFF", 2);
    for (QChar c : text) {
        const char pair[2] = {char(c.unicode() >> 8), char(c.unicode() & 0xFF)};
        for (char b : pair) {
            if (b == '(' || b == ')' || b == '\\')
                bytes.append('\\');
            bytes.append(b);
        }
    }
    return bytes;
}

using pdfimage::Piece;

void WriteBytes(int fd, QByteArrayView bytes, const QString& path)
{
    pdfimage::WritePieces(fd, {Piece(bytes.data(), size_t(bytes.size()))}, -1, path);
}

// Saves a file with write(fd): into a new file beside the destination, which
// replaces the destination (by rename) only when it is whole, so a save that
// fails or is stopped half-way leaves the destination as it was (a good
// document, or nothing) and no part of the new one. Raises EFCreateError or
// EWriteError naming path.
void SaveToFile(const QString& path, const std::function<void(int)>& write)
{
    // The system would cut the name at a NUL and write somewhere else.
    if (path.contains(QChar(0)))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\": the name contains a NUL character.")
                                .arg(QString(path).replace(QChar(0), QStringLiteral("\\0"))));
    TWholeFile file(path);
    if (!file.Open())
        throw EFCreateError(file.Error());
    write(file.Descriptor());
    if (!file.Commit())
        throw EWriteError(file.Error());
}

} // namespace

struct TPrintPDF::Private {
    bool begun = false;
    QByteArray fileBuffer; // the finished objects, in order, but the image bodies
    QByteArray objectBuffer; // the object being composed
    QByteArray contentBuffer; // drawing operators of the page
    // Pixel buffers: the compressed pixels of one image; its packed rows (all
    // of them, or a strip). Their memory is kept for the next image and the
    // next document: fresh memory costs a page fault per 4 KB on first touch,
    // which for a page bitmap takes longer than packing and compressing it.
    QByteArray pixelBuffer;
    QByteArray imageBuffer;
    pdfimage::FlateCompressor flate;
    int objectCount = 0; // number of the last object started
    QList<qint64> offsets; // entry i: offset of object i + 1; last: offset of "xref"
    qint64 runningOffset = 0;
    int pageCount = 0;
    int imageCount = 0;
    int fontCount = 0;
    QList<int> fontObjects;
    QList<int> contentObjects; // content stream of each page: 2, 4, 6, ...
    int contentLengthObject = 0;
    int outlinesObject = 0;
    int pagesObject = 0;
    int resourcesObject = 0;
    int catalogObject = 0;

    // The temporary image file of the document, opened by the first
    // DrawBitmap. The image objects lie in it back to back, in order, in its
    // first tempEnd bytes; bytes after them (of an image that failed) are
    // not part of the document.
    pdfimage::TempFile tempFile;
    qint64 tempEnd = 0;
    // An image object in the temporary file and, once EndDoc has placed it,
    // where it goes in the file buffer.
    struct ImageBody {
        qint64 from = 0;
        qint64 size = 0;
        qsizetype at = 0;
    };
    std::vector<ImageBody> images;

    // Starts the next object in the object buffer with its object line.
    int StartObject()
    {
        objectBuffer.clear();
        ++objectCount;
        Line(objectBuffer, Num(objectCount) + " 0 obj");
        return objectCount;
    }

    // Appends the composed object and records where the next one starts.
    void AppendObject()
    {
        runningOffset += objectBuffer.size();
        offsets.append(runningOffset);
        fileBuffer.append(objectBuffer);
        objectBuffer.clear();
    }

    // Composes a whole small object: its object line, the lines, "endobj".
    int WriteObject(std::initializer_list<QByteArray> lines)
    {
        const int object = StartObject();
        for (const QByteArray& text : lines)
            Line(objectBuffer, text);
        Line(objectBuffer, "endobj");
        AppendObject();
        return object;
    }

    void EnsureTempFile(TempStorage storage)
    {
        if (tempFile.IsOpen())
            return;
        if (storage == TempStorage::Memory) {
            tempFile = pdfimage::TempFile::Create(pdfimage::TempFile::Kind::Memory, QString());
        } else {
            // QDir::tempPath() is empty when $TMPDIR names no folder: never fall back to "/".
            const QString base = QDir::tempPath();
            if (base.isEmpty() || !QFileInfo(base).isDir())
                throw EFCreateError(
                    QStringLiteral("Cannot create a temporary file: no temporary folder \"%1\"")
                        .arg(qEnvironmentVariable("TMPDIR")));
            tempFile = pdfimage::TempFile::Create(pdfimage::TempFile::Kind::Unnamed, base);
        }
        tempEnd = 0;
    }

    // Closes, and so removes, the temporary image file.
    void DiscardTempFile()
    {
        tempFile.Close();
        tempEnd = 0;
        images.clear();
    }

    void Reset()
    {
        fileBuffer.clear();
        objectBuffer.clear();
        contentBuffer.clear();
        objectCount = 0;
        offsets.clear();
        runningOffset = 0;
        pageCount = 0;
        imageCount = 0;
        fontCount = 0;
        fontObjects.clear();
        contentObjects.clear();
        contentLengthObject = outlinesObject = pagesObject = resourcesObject = catalogObject = 0;
        DiscardTempFile();
    }

    void WriteFonts();
    void WritePages();
    void WriteResources();
    void CheckTempFile() const;
    void WriteImages();
    void WriteCrossReference();
    void Save(const QString& fileName);
};

TPrintPDF::TPrintPDF(QObject* owner)
    : QObject(owner)
    , d_(std::make_unique<Private>())
{
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            SetScreenDpi(qRound(screen->logicalDotsPerInchX()), qRound(screen->logicalDotsPerInchY()));
    }
}

TPrintPDF::~TPrintPDF() = default;

void TPrintPDF::SetScreenDpi(int dpiX, int dpiY)
{
    // A resolution that cannot scale falls back to the usual 96.
    screenDpiX_ = dpiX > 0 ? dpiX : 96;
    screenDpiY_ = dpiY > 0 ? dpiY : 96;
}

int TPrintPDF::TemporaryFileHandle() const
{
    return d_->tempFile.Handle();
}

void TPrintPDF::BeginDoc()
{
    Private& d = *d_;
    d.Reset();
    d.pageCount = 1;
    d.begun = true;

    Line(d.fileBuffer, "%PDF-1.4");
    d.runningOffset = d.fileBuffer.size();
    d.offsets.append(d.runningOffset);

    const QByteArray now = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    d.WriteObject({
        "<<",
        "/Producer (" + TextBytes(producer_) + ")",
        "/Author (" + TextBytes(author_) + ")",
        "/CreationDate (D:" + now + ")",
        "/Creator (" + TextBytes(creator_) + ")",
        "/Keywords (" + TextBytes(keywords_) + ")",
        "/Subject (" + TextBytes(subject_) + ")",
        "/Title (" + TextBytes(title_) + ")",
        "/ModDate ()",
        ">>",
    });

    // The page content stream: its start waits in the object buffer until
    // EndDoc; its length is object 3, written once the content is known.
    const int content = d.StartObject();
    d.contentObjects.append(content);
    d.contentLengthObject = content + 1;
    Line(d.objectBuffer, "<< /Length " + Ref(d.contentLengthObject));
    Line(d.objectBuffer, " >>");
    Line(d.objectBuffer, "stream");
}

void TPrintPDF::DrawBitmap(int x, int y, const QImage& bitmap)
{
    // The page is taken to be 8 by 10.625 inches of screen pixels:
    // sx = PageWidth / (8 dpi), sy = PageHeight / (10.625 dpi) = 8 PageHeight / (85 dpi).
    // Exact integer arithmetic, truncated as the original's Trunc. Callers
    // that set the page to the bitmap's pixel size get a picture larger than
    // the page (816 x 1056 draws as 867 x 1093); they use DrawBitmapSized.
    const qint64 w = qint64(bitmap.width()) * pageWidth_ / (8 * qint64(screenDpiX_));
    const qint64 h = qint64(bitmap.height()) * pageHeight_ * 8 / (85 * qint64(screenDpiY_));
    DrawBitmapSized(x, y, int(w), int(h), bitmap);
}

void TPrintPDF::DrawBitmapSized(int x, int y, int width, int height, const QImage& bitmap)
{
    Private& d = *d_;
    if (!d.begun)
        throw EInOutError(QStringLiteral("DrawBitmap called without BeginDoc"), 103);

    const qint64 w = width;
    const qint64 h = height;
    const int image = d.imageCount + 1;

    // The image object body, parked in the temporary file: the dictionary,
    // then the pixel bytes. With Compression on they are compressed as a whole first
    // (/Length comes before them); else RGB888 rows are written straight from
    // the bitmap, and other rows packed a strip at a time into a buffer that
    // stays in the processor's cache.
    const pdfimage::RgbRows rows(bitmap);
    if (compression_) {
        d.flate.Compress(rows.All(d.imageBuffer), &d.pixelBuffer);
    }
    const qint64 length = compression_ ? d.pixelBuffer.size() : rows.ByteCount();
    QByteArray dictionary;
    Line(dictionary, "<< /Type /XObject");
    Line(dictionary, "/Subtype /Image");
    Line(dictionary, "/Width " + Num(rows.Width()));
    Line(dictionary, "/Height " + Num(rows.Height()));
    Line(dictionary, "/ColorSpace /DeviceRGB");
    Line(dictionary, "/BitsPerComponent 8");
    if (compression_)
        Line(dictionary, "/Filter /FlateDecode");
    Line(dictionary, "/Length " + Num(length));
    Line(dictionary, "/Name /Im" + Num(image));
    Line(dictionary, ">>");
    Line(dictionary, "stream");

    // Parked before anything is counted: a failed image leaves the document as it was.
    d.EnsureTempFile(tempStorage_);
    const int fd = d.tempFile.Handle();
    const QString& name = d.tempFile.Name();
    const qint64 from = d.tempEnd;
    qint64 at = from;
    auto write = [&](std::vector<iovec>&& pieces) {
        qint64 size = 0;
        for (const iovec& piece : pieces)
            size += qint64(piece.iov_len);
        pdfimage::WritePieces(fd, std::move(pieces), at, name);
        at += size;
    };
    try {
        std::vector<iovec> pieces {Piece(dictionary.constData(), size_t(dictionary.size()))};
        if (compression_) {
            pieces.push_back(Piece(d.pixelBuffer.constData(), size_t(length)));
        } else if (length == 0 || rows.StoredRow(0)) {
            for (int row = 0; row < rows.Height(); ++row) {
                const char* bytes = rows.StoredRow(row);
                iovec& last = pieces.back();
                if (row > 0 && static_cast<const char*>(last.iov_base) + last.iov_len == bytes)
                    last.iov_len += size_t(rows.RowBytes()); // rows back to back: one piece
                else
                    pieces.push_back(Piece(bytes, size_t(rows.RowBytes())));
            }
        } else {
            const int stripRows = int(std::max<qsizetype>(1, kStripBytes / rows.RowBytes()));
            for (int row = 0; row < rows.Height(); row += stripRows) {
                const int count = std::min(stripRows, rows.Height() - row);
                d.imageBuffer.resize(count * rows.RowBytes());
                rows.Pack(row, count, d.imageBuffer.data());
                pieces.push_back(Piece(d.imageBuffer.constData(), size_t(d.imageBuffer.size())));
                write(std::move(pieces));
                pieces.clear();
            }
        }
        write(std::move(pieces));
    } catch (...) {
        // The bytes written so far are given back; the next image goes where this one began.
        while (::ftruncate(fd, off_t(from)) != 0 && errno == EINTR) { }
        throw;
    }
    d.images.push_back({from, at - from, 0});
    d.tempEnd = at;

    d.imageCount = image;
    Line(d.contentBuffer, "q");
    Line(d.contentBuffer, Num(w) + " 0 0 " + Num(h) + " " + Num(x) + " " + Num(pageHeight_ - y - h) + " cm");
    Line(d.contentBuffer, "/Im" + Num(image) + " Do");
    Line(d.contentBuffer, "Q");
}

void TPrintPDF::EndDoc()
{
    Private& d = *d_;
    if (!d.begun)
        throw EInOutError(QStringLiteral("EndDoc called without BeginDoc"), 103);
    try {
        // A damaged temporary file stops EndDoc before the output file is touched.
        d.CheckTempFile();
        d.fileBuffer.reserve(d.fileBuffer.size() + d.objectBuffer.size() + d.contentBuffer.size() + 4096);

        // Objects 2 and 3: the page content and its length.
        d.objectBuffer.append(d.contentBuffer);
        Line(d.objectBuffer, "endstream");
        Line(d.objectBuffer, "endobj");
        d.AppendObject();
        d.WriteObject({Num(d.contentBuffer.size())});

        d.outlinesObject = d.WriteObject({"<< /Type /Outlines", "/Count 0", ">>"});
        d.WriteFonts();
        d.WritePages();
        d.WriteResources();
        d.WriteImages();

        // The page and the catalog.
        d.WriteObject({
            "<< /Type /Page",
            "/Parent " + Ref(d.pagesObject),
            "/MediaBox [ 0 0 " + Num(pageWidth_) + " " + Num(pageHeight_) + "]",
            "/Contents " + Ref(d.contentObjects.first()),
            "/Resources " + Ref(d.resourcesObject),
            ">>",
        });
        d.catalogObject = d.WriteObject({
            "<< /Type /Catalog",
            "/Pages " + Ref(d.pagesObject),
            "/Outlines " + Ref(d.outlinesObject),
            ">>",
        });

        d.WriteCrossReference();
        Line(d.fileBuffer, "%%EOF");
        d.Save(fileName_);
    } catch (...) {
        d.Reset();
        d.begun = false;
        throw;
    }
    d.Reset(); // frees the buffers and removes the temporary image file
    d.begun = false;
}

void TPrintPDF::Private::WriteFonts()
{
    fontCount = 0;
    for (const char* name : kFontNames) {
        ++fontCount;
        fontObjects.append(WriteObject({
            "<< /Type /Font",
            "/Subtype /Type1",
            "/Name /F" + Num(fontCount),
            "/BaseFont /" + QByteArray(name),
            "/Encoding /WinAnsiEncoding",
            ">>",
        }));
    }
}

void TPrintPDF::Private::WritePages()
{
    pagesObject = StartObject();
    Line(objectBuffer, "<< /Type /Pages");
    Line(objectBuffer, "/Kids [");
    // The page object follows the resources and the images.
    for (int p = 1; p <= pageCount; ++p)
        Line(objectBuffer, Ref(pagesObject + p + imageCount + 1));
    Line(objectBuffer, "]");
    Line(objectBuffer, "/Count " + Num(pageCount));
    Line(objectBuffer, ">>");
    Line(objectBuffer, "endobj");
    AppendObject();
}

void TPrintPDF::Private::WriteResources()
{
    resourcesObject = StartObject();
    Line(objectBuffer, "<< /ProcSet [ /PDF /Text /ImageC]");
    Line(objectBuffer, "/XObject << ");
    for (int i = 1; i <= imageCount; ++i)
        Line(objectBuffer, "/Im" + Num(i) + " " + Ref(resourcesObject + i));
    Line(objectBuffer, ">>");
    Line(objectBuffer, "/Font << ");
    for (int k = 1; k <= fontCount; ++k)
        Line(objectBuffer, "/F" + Num(k) + " " + Ref(fontObjects[k - 1]) + " ");
    Line(objectBuffer, ">>");
    Line(objectBuffer, ">>");
    Line(objectBuffer, "endobj");
    AppendObject();
}

void TPrintPDF::Private::CheckTempFile() const
{
    if (images.empty())
        return;
    struct stat info { };
    if (::fstat(tempFile.Handle(), &info) != 0)
        throw EReadError(
            QStringLiteral("Cannot read the %1. %2").arg(tempFile.Name(), qt_error_string(errno)));
    if (qint64(info.st_size) < tempEnd)
        throw EReadError(QStringLiteral("Cannot read the %1. The file ended early.").arg(tempFile.Name()));
}

// Each image object: its object line, the parked body, "\r\nendstream",
// "endobj". The body stays in the temporary file; its place in the buffer is
// noted.
void TPrintPDF::Private::WriteImages()
{
    for (ImageBody& body : images) {
        StartObject();
        fileBuffer.append(objectBuffer);
        runningOffset += objectBuffer.size();
        objectBuffer.clear();
        body.at = fileBuffer.size();
        const qsizetype end = fileBuffer.size();
        Line(fileBuffer, "\r\nendstream");
        Line(fileBuffer, "endobj");
        runningOffset += body.size + (fileBuffer.size() - end);
        offsets.append(runningOffset);
    }
}

// Writes the file: the buffer with each image body in its place. The bodies
// are read through a mapping of the temporary file, so the whole file goes
// out in one gathered write; where the file cannot be mapped, they are
// copied from it piece by piece.
void TPrintPDF::Private::Save(const QString& fileName)
{
    const pdfimage::MappedFile mapped(tempFile.Handle(), images.empty() ? 0 : tempEnd);
    const QByteArrayView text(fileBuffer);
    SaveToFile(fileName, [&](int fd) {
        qsizetype written = 0;
        if (mapped.Data() || images.empty()) {
            std::vector<iovec> pieces;
            pieces.reserve(2 * images.size() + 1);
            for (const ImageBody& body : images) {
                pieces.push_back(Piece(text.data() + written, size_t(body.at - written)));
                pieces.push_back(Piece(mapped.Data() + body.from, size_t(body.size)));
                written = body.at;
            }
            pieces.push_back(Piece(text.data() + written, size_t(text.size() - written)));
            pdfimage::WritePieces(fd, std::move(pieces), -1, fileName, tempFile.Name());
            return;
        }
        for (const ImageBody& body : images) {
            WriteBytes(fd, text.sliced(written, body.at - written), fileName);
            written = body.at;
            pdfimage::CopyFileRange(tempFile.Handle(), body.from, body.size, tempFile.Name(), fd, fileName);
        }
        WriteBytes(fd, text.sliced(written), fileName);
    });
}

void TPrintPDF::Private::WriteCrossReference()
{
    // The last offset recorded is where "xref" starts.
    const qint64 xref = offsets.last();
    const int size = objectCount + 1;
    Line(fileBuffer, "xref");
    Line(fileBuffer, "0 " + Num(size));
    Line(fileBuffer, "0000000000 65535 f");
    for (int object = 1; object < size; ++object)
        Line(fileBuffer, Num(offsets[object - 1]).rightJustified(10, '0') + " 00000 n");
    Line(fileBuffer, "trailer");
    Line(fileBuffer, "<< /Size " + Num(size));
    Line(fileBuffer, "/Root " + Ref(catalogObject));
    Line(fileBuffer, "/Info 1 0 R");
    Line(fileBuffer, ">>");
    Line(fileBuffer, "startxref");
    Line(fileBuffer, Num(xref));
}
