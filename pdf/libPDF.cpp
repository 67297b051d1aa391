#include "pdf/libPDF.h"

#include "runtime/system/NativePath.h"

#include "pdf/PdfImageData.h"
#include "runtime/system/Exceptions.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QScreen>
#include <QTemporaryDir>

#include <functional>

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

// Writes bytes to an open file, raising EWriteError.
void WriteAll(QFile& file, QByteArrayView bytes, const QString& path)
{
    if (file.write(bytes.data(), bytes.size()) != bytes.size())
        throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

// Creates (or replaces) the file at path and writes it with write(file);
// raises EFCreateError or EWriteError. A regular file that could not be
// written completely is removed.
void SaveToFile(const QString& path, const std::function<void(QFile&)>& write)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    try {
        write(file);
        file.close();
        if (file.error() != QFileDevice::NoError)
            throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
    } catch (...) {
        file.close();
        const QFileInfo info(file.fileName());
        if (info.isFile() && !info.isSymLink()) // never a device such as /dev/full
            file.remove();
        throw;
    }
}

} // namespace

struct TPrintPDF::Private {
    bool begun = false;
    QByteArray fileBuffer; // the finished objects, in order
    QByteArray objectBuffer; // the object being composed
    QByteArray contentBuffer; // drawing operators of the page
    QByteArray pixelBuffer; // compressed pixels of one image
    QByteArray imageBuffer; // a strip of pixel rows of one image
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
    std::unique_ptr<QTemporaryDir> tempDir; // created by the first DrawBitmap

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

    QString TempFilePath(int image) const { return tempDir->filePath(QStringLiteral("~tmpim%1").arg(image)); }

    void EnsureTempDir()
    {
        if (tempDir)
            return;
        // QDir::tempPath() is empty when $TMPDIR names no folder: never fall back to "/".
        const QString base = QDir::tempPath();
        if (base.isEmpty() || !QFileInfo(base).isDir())
            throw EFCreateError(QStringLiteral("Cannot create temporary folder: no temporary folder \"%1\"")
                                    .arg(qEnvironmentVariable("TMPDIR")));
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/zorv-pdf-XXXXXX"));
        if (!dir->isValid())
            throw EFCreateError(QStringLiteral("Cannot create temporary folder. %1").arg(dir->errorString()));
        tempDir = std::move(dir);
    }

    // Removes the temporary folder with every image file in it.
    void DiscardTempFiles() { tempDir.reset(); }

    void Reset()
    {
        fileBuffer.clear();
        objectBuffer.clear();
        contentBuffer.clear();
        pixelBuffer.clear();
        imageBuffer.clear();
        objectCount = 0;
        offsets.clear();
        runningOffset = 0;
        pageCount = 0;
        imageCount = 0;
        fontCount = 0;
        fontObjects.clear();
        contentObjects.clear();
        contentLengthObject = outlinesObject = pagesObject = resourcesObject = catalogObject = 0;
        DiscardTempFiles();
    }

    void WriteFonts();
    void WritePages();
    void WriteResources();
    void WriteImages();
    void WriteCrossReference();
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

QString TPrintPDF::TemporaryFolder() const
{
    return d_->tempDir ? d_->tempDir->path() : QString();
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
    Private& d = *d_;
    if (!d.begun)
        throw EInOutError(QStringLiteral("DrawBitmap called without BeginDoc"), 103);

    // The page is taken to be 8 by 10.625 inches of screen pixels:
    // sx = PageWidth / (8 dpi), sy = PageHeight / (10.625 dpi) = 8 PageHeight / (85 dpi).
    // Exact integer arithmetic, truncated as the original's Trunc.
    const qint64 w = qint64(bitmap.width()) * pageWidth_ / (8 * qint64(screenDpiX_));
    const qint64 h = qint64(bitmap.height()) * pageHeight_ * 8 / (85 * qint64(screenDpiY_));
    const int image = d.imageCount + 1;

    // The image object body, saved to "~tmpim" + n as it is composed: the
    // dictionary, then the pixels a strip of rows at a time (compressed first
    // when Compression is on, since /Length comes before them).
    const pdfimage::RgbRows rows(bitmap);
    auto head = [&](qint64 length) {
        QByteArray text;
        Line(text, "<< /Type /XObject");
        Line(text, "/Subtype /Image");
        Line(text, "/Width " + Num(rows.Width()));
        Line(text, "/Height " + Num(rows.Height()));
        Line(text, "/ColorSpace /DeviceRGB");
        Line(text, "/BitsPerComponent 8");
        if (compression_)
            Line(text, "/Filter /FlateDecode");
        Line(text, "/Length " + Num(length));
        Line(text, "/Name /Im" + Num(image));
        Line(text, ">>");
        Line(text, "stream");
        return text;
    };
    if (compression_) {
        d.flate.Compress(rows, &d.pixelBuffer);
    }
    // Saved before anything is counted: a failed image leaves the document as it was.
    d.EnsureTempDir();
    const QString path = d.TempFilePath(image);
    SaveToFile(path, [&](QFile& file) {
        if (compression_) {
            WriteAll(file, head(d.pixelBuffer.size()), path);
            WriteAll(file, d.pixelBuffer, path);
        } else {
            WriteAll(file, head(rows.ByteCount()), path);
            rows.ForEachStrip(d.imageBuffer, [&](const QByteArray& strip) { WriteAll(file, strip, path); });
        }
    });
    // Pixel data is held only while one image is composed.
    d.pixelBuffer = QByteArray();
    d.imageBuffer = QByteArray();

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
        qint64 imageBytes = 0;
        for (int i = 1; i <= d.imageCount; ++i)
            imageBytes += QFileInfo(d.TempFilePath(i)).size();
        d.fileBuffer.reserve(
            d.fileBuffer.size() + d.objectBuffer.size() + d.contentBuffer.size() + imageBytes + 4096);

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
        SaveToFile(fileName_, [&](QFile& file) { WriteAll(file, d.fileBuffer, fileName_); });
    } catch (...) {
        d.Reset();
        d.begun = false;
        throw;
    }
    d.Reset(); // frees the buffers and removes the temporary image files
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

// Each image object: its object line, the saved body, "\r\nendstream", "endobj".
// The body is read straight into the file buffer, the place the object buffer
// would copy it to.
void TPrintPDF::Private::WriteImages()
{
    for (int i = 1; i <= imageCount; ++i) {
        StartObject();
        fileBuffer.append(objectBuffer);
        objectBuffer.clear();
        const QString path = TempFilePath(i);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
        const qint64 size = file.size();
        const qsizetype start = fileBuffer.size();
        fileBuffer.resize(start + qsizetype(size));
        if (file.read(fileBuffer.data() + start, size) != size)
            throw EReadError(QStringLiteral("Cannot read file \"%1\". %2").arg(path, file.errorString()));
        Line(fileBuffer, "\r\nendstream");
        Line(fileBuffer, "endobj");
        runningOffset = fileBuffer.size();
        offsets.append(runningOffset);
    }
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
