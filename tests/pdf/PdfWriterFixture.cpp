#include "PdfWriterFixture.h"

#include <QRegularExpression>

namespace pdftest {

namespace {

QByteArray N(qint64 value)
{
    return QByteArray::number(value);
}

} // namespace

QByteArray ExpectedFile(const QByteArray& creationDate, const QByteArray& title, const QByteArray& content,
    const QList<ExpectedImage>& images)
{
    const int n = int(images.size());
    QList<QByteArray> objects;
    objects << Lines({"1 0 obj", "<<", "/Producer (Q. Talvik)", "/Author (Q. Talvik)",
        "/CreationDate (D:" + creationDate + ")", "/Creator (Q. Talvik)", "/Keywords ()", "/Subject ()",
        "/Title (" + title + ")", "/ModDate ()", ">>", "endobj"});
    objects << Lines({"2 0 obj", "<< /Length 3 0 R", " >>", "stream"}) + content
            + Lines({"endstream", "endobj"});
    objects << Lines({"3 0 obj", N(content.size()), "endobj"});
    objects << Lines({"4 0 obj", "<< /Type /Outlines", "/Count 0", ">>", "endobj"});
    const char* fonts[] = {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
        "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Times-Roman", "Times-Bold",
        "Times-Italic", "Times-BoldItalic", "Symbol", "ZapfDingbats"};
    for (int k = 1; k <= 14; ++k) {
        objects << Lines({N(4 + k) + " 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F" + N(k),
            QByteArray("/BaseFont /") + fonts[k - 1], "/Encoding /WinAnsiEncoding", ">>", "endobj"});
    }
    objects << Lines(
        {"19 0 obj", "<< /Type /Pages", "/Kids [", N(21 + n) + " 0 R", "]", "/Count 1", ">>", "endobj"});
    QList<QByteArray> resources = {"20 0 obj", "<< /ProcSet [ /PDF /Text /ImageC]", "/XObject << "};
    for (int i = 1; i <= n; ++i)
        resources << "/Im" + N(i) + " " + N(20 + i) + " 0 R";
    resources << ">>"
              << "/Font << ";
    for (int k = 1; k <= 14; ++k)
        resources << "/F" + N(k) + " " + N(4 + k) + " 0 R ";
    resources << ">>"
              << ">>"
              << "endobj";
    objects << Lines(resources);
    for (int i = 1; i <= n; ++i) {
        const ExpectedImage& image = images[i - 1];
        objects << Lines({N(20 + i) + " 0 obj", "<< /Type /XObject", "/Subtype /Image",
                       "/Width " + N(image.width), "/Height " + N(image.height), "/ColorSpace /DeviceRGB",
                       "/BitsPerComponent 8", "/Length " + N(image.pixels.size()), "/Name /Im" + N(i), ">>",
                       "stream"})
                + image.pixels + Lines({"\r\nendstream", "endobj"});
    }
    objects << Lines({N(21 + n) + " 0 obj", "<< /Type /Page", "/Parent 19 0 R", "/MediaBox [ 0 0 612 792]",
        "/Contents 2 0 R", "/Resources 20 0 R", ">>", "endobj"});
    objects << Lines(
        {N(22 + n) + " 0 obj", "<< /Type /Catalog", "/Pages 19 0 R", "/Outlines 4 0 R", ">>", "endobj"});

    QByteArray file = Lines({"%PDF-1.4"});
    QList<qint64> offsets;
    for (const QByteArray& object : objects) {
        offsets << file.size();
        file += object;
    }
    const qint64 xref = file.size();
    QList<QByteArray> tail = {"xref", "0 " + N(23 + n), "0000000000 65535 f"};
    for (qint64 offset : offsets)
        tail << N(offset).rightJustified(10, '0') + " 00000 n";
    tail << "trailer"
         << "<< /Size " + N(23 + n) << "/Root " + N(22 + n) + " 0 R"
         << "/Info 1 0 R"
         << ">>"
         << "startxref" << N(xref) << "%%EOF";
    return file + Lines(tail);
}

QByteArray CreationDateOf(const QByteArray& bytes)
{
    static const QRegularExpression date(QStringLiteral("/CreationDate \\(D:(\\d{14})\\)\r\n"));
    const QRegularExpressionMatch match = date.match(QString::fromLatin1(bytes));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

QImage SixPixels(QImage::Format format)
{
    QImage image(3, 2, QImage::Format_RGB32);
    const QByteArray bytes = SixPixelBytes();
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const int at = (y * 3 + x) * 3;
            image.setPixel(x, y, qRgb(uchar(bytes[at]), uchar(bytes[at + 1]), uchar(bytes[at + 2])));
        }
    return image.convertToFormat(format);
}

QByteArray SixPixelBytes()
{
    // Every byte distinct, so order and channel mix-ups show.
    return QByteArray("\x0A\x14\x1E\x28\x32\x3C\x46\x50\x5A"
                      "\x64\x6E\x78\x82\x8C\x96\xA0\xAA\xB4",
        18);
}

QByteArray PdfWriterTest::Write(const QList<QImage>& images, int x, int y)
{
    writer.BeginDoc();
    for (const QImage& image : images)
        writer.DrawBitmap(x, y, image);
    writer.EndDoc();
    return testsupport::readAll(writer.FileName());
}

ParsedPdf PdfWriterTest::WriteParsed(const QList<QImage>& images, int x, int y)
{
    QString error;
    ParsedPdf pdf = Parse(Write(images, x, y), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return pdf;
}

} // namespace pdftest
