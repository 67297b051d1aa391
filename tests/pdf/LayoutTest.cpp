// The file layout of a written PDF: objects, order, numbering, lines, offsets and
// the cross-reference table, checked on the written bytes.
#include "PdfWriterFixture.h"

#include <QGuiApplication>
#include <QMetaProperty>
#include <QScreen>

#include <QRegularExpression>
#include <ctime>

using namespace pdftest;

namespace {

// Checks every cross-reference entry and the trailer of a file with
// `objects` objects (s = objects + 1 entries).
void ExpectExactCrossReference(const ParsedPdf& pdf, int objects)
{
    ASSERT_EQ(pdf.xrefCount, objects + 1);
    ASSERT_EQ(pdf.xref.size(), objects + 1);
    EXPECT_EQ(pdf.xref[0].raw, QByteArray("0000000000 65535 f\r\n"));
    static const QRegularExpression entry(QStringLiteral("^\\d{10} 00000 n\r\n$"));
    for (int n = 1; n <= objects; ++n) {
        const XrefEntry& e = pdf.xref[n];
        EXPECT_EQ(e.raw.size(), 20) << "entry " << n;
        EXPECT_TRUE(entry.match(QString::fromLatin1(e.raw)).hasMatch())
            << "entry " << n << ": " << e.raw.data();
        // The offset points at the first digit of "n 0 obj".
        const QByteArray objectLine = QByteArray::number(n) + " 0 obj\r\n";
        EXPECT_EQ(pdf.bytes.mid(e.offset, objectLine.size()), objectLine) << "object " << n;
        if (e.offset > 0) {
            EXPECT_EQ(pdf.bytes.mid(e.offset - 2, 2), QByteArray("\r\n")) << "object " << n;
        }
    }
    EXPECT_EQ(pdf.bytes.mid(pdf.startxref - 2, 8), QByteArray("\r\nxref\r\n"));
    const QByteArray size = QByteArray::number(objects + 1);
    const QByteArray root = QByteArray::number(objects);
    EXPECT_EQ(
        pdf.trailer, Lines({"trailer", "<< /Size " + size, "/Root " + root + " 0 R", "/Info 1 0 R", ">>"}));
}

// Bytes of the file outside image stream data: each LF follows a CR and each
// CR precedes an LF.
void ExpectCrLfLines(const ParsedPdf& pdf, int images)
{
    QByteArray text = pdf.bytes;
    for (int i = images; i >= 1; --i) {
        const int object = 20 + i;
        const qint64 length = pdf.IntegerAfter(object, "/Length ");
        const QByteArray obj = pdf.Object(object);
        const qsizetype data = obj.indexOf("\r\nstream\r\n") + 10;
        text.remove(pdf.xref[object].offset + data, length);
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
    }
}

} // namespace

TEST_F(PdfWriterTest, DocumentWithoutImageIsByteExact)
{
    const QByteArray bytes = Write();
    const QByteArray date = CreationDateOf(bytes);
    ASSERT_EQ(date.size(), 14);
    EXPECT_EQ(bytes, ExpectedFile(date, "", "", {}));
}

TEST_F(PdfWriterTest, DocumentWithSixPixelImageIsByteExact)
{
    writer.SetTITLE(QStringLiteral("Change slip"));
    const QByteArray bytes = Write({SixPixels()});
    const QByteArray date = CreationDateOf(bytes);
    ASSERT_EQ(date.size(), 14);
    // w' = trunc(3 * 612 / 768) = 2, h' = trunc(2 * 792 / 1020) = 1, y = 792 - 0 - 1.
    const QByteArray content = Lines({"q", "2 0 0 1 0 791 cm", "/Im1 Do", "Q"});
    EXPECT_EQ(bytes, ExpectedFile(date, "Change slip", content, {{3, 2, SixPixelBytes()}}));
}

TEST_F(PdfWriterTest, WithoutImageHas22ObjectsAndSize23)
{
    const ParsedPdf pdf = WriteParsed();
    ExpectExactCrossReference(pdf, 22);
    ExpectCrLfLines(pdf, 0);
    EXPECT_TRUE(pdf.Object(20).contains("/XObject << \r\n>>\r\n")) << "empty /XObject dictionary";
    EXPECT_TRUE(pdf.Object(19).contains("/Kids [\r\n21 0 R\r\n]\r\n"));
}

TEST_F(PdfWriterTest, WithOneImageHas23ObjectsAndSize24)
{
    const ParsedPdf pdf = WriteParsed({Quadrants(40, 30)});
    ExpectExactCrossReference(pdf, 23);
    ExpectCrLfLines(pdf, 1);
    EXPECT_TRUE(pdf.Object(22).startsWith("22 0 obj\r\n<< /Type /Page\r\n"));
    EXPECT_TRUE(pdf.Object(23).startsWith("23 0 obj\r\n<< /Type /Catalog\r\n"));
}

TEST_F(PdfWriterTest, ThreeImagesAreNumberedAfterTheResources)
{
    const ParsedPdf pdf = WriteParsed({Quadrants(8, 6), SixPixels(), Quadrants(5, 7)});
    ExpectExactCrossReference(pdf, 25);
    ExpectCrLfLines(pdf, 3);
    EXPECT_TRUE(pdf.Object(19).contains("/Kids [\r\n24 0 R\r\n]\r\n"));
    EXPECT_TRUE(
        pdf.Object(20).contains("/XObject << \r\n/Im1 21 0 R\r\n/Im2 22 0 R\r\n/Im3 23 0 R\r\n>>\r\n"));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_TRUE(pdf.Object(20 + i).contains("/Name /Im" + QByteArray::number(i) + "\r\n"));
        EXPECT_TRUE(pdf.Object(2).contains("/Im" + QByteArray::number(i) + " Do\r\n"));
    }
    EXPECT_TRUE(pdf.Object(24).contains("<< /Type /Page\r\n"));
}

TEST_F(PdfWriterTest, CompressedFileKeepsAnExactCrossReference)
{
    writer.SetCompression(true);
    const ParsedPdf pdf = WriteParsed({Quadrants(300, 200), SixPixels()});
    ExpectExactCrossReference(pdf, 24);
    ExpectCrLfLines(pdf, 2);
}

TEST_F(PdfWriterTest, ContentLengthIsTheBytesBetweenStreamAndEndstream)
{
    const ParsedPdf pdf = WriteParsed({SixPixels(), Quadrants(10, 10)}, 7, 9);
    const QByteArray object2 = pdf.Object(2);
    const QByteArray head = "stream\r\n";
    const qsizetype from = object2.indexOf(head) + head.size();
    const qsizetype to = object2.indexOf("endstream\r\nendobj\r\n");
    ASSERT_GT(to, from);
    EXPECT_EQ(pdf.Object(3), Lines({"3 0 obj", QByteArray::number(to - from), "endobj"}));
    EXPECT_EQ(object2.mid(from, to - from),
        Lines({"q", "2 0 0 1 7 782 cm", "/Im1 Do", "Q", "q", "7 0 0 7 7 776 cm", "/Im2 Do", "Q"}));
}

TEST_F(PdfWriterTest, FourteenFontsInOrderAndListedInTheResources)
{
    const ParsedPdf pdf = WriteParsed();
    const char* names[] = {"Helvetica", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
        "Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique", "Times-Roman", "Times-Bold",
        "Times-Italic", "Times-BoldItalic", "Symbol", "ZapfDingbats"};
    for (int k = 1; k <= 14; ++k) {
        const QByteArray number = QByteArray::number(4 + k);
        EXPECT_EQ(pdf.Object(4 + k),
            Lines({number + " 0 obj", "<< /Type /Font", "/Subtype /Type1", "/Name /F" + QByteArray::number(k),
                QByteArray("/BaseFont /") + names[k - 1], "/Encoding /WinAnsiEncoding", ">>", "endobj"}));
        EXPECT_TRUE(pdf.Object(20).contains("/F" + QByteArray::number(k) + " " + number + " 0 R \r\n"));
    }
    EXPECT_TRUE(pdf.Object(20).startsWith("20 0 obj\r\n<< /ProcSet [ /PDF /Text /ImageC]\r\n"));
}

TEST_F(PdfWriterTest, InformationObjectCarriesThePropertiesUnescaped)
{
    writer.SetTITLE(QStringLiteral("Slip (A) (draft"));
    writer.SetAuthor(QStringLiteral("Author (x)"));
    writer.SetCreator(QStringLiteral("Creator"));
    writer.SetProducer(QStringLiteral("Producer"));
    writer.SetKeywords(QStringLiteral("k1 k2"));
    writer.SetSubject(QStringLiteral("Subject\\1"));
    const ParsedPdf pdf = WriteParsed();
    const QByteArray date = CreationDateOf(pdf.bytes);
    EXPECT_EQ(pdf.Object(1),
        Lines({"1 0 obj", "<<", "/Producer (Producer)", "/Author (Author (x))",
            "/CreationDate (D:" + date + ")", "/Creator (Creator)", "/Keywords (k1 k2)",
            "/Subject (Subject\\1)", "/Title (Slip (A) (draft)", "/ModDate ()", ">>", "endobj"}));
}

TEST_F(PdfWriterTest, CreationDateIsLocalTime)
{
    QByteArray date;
    std::time_t before = 0;
    std::time_t after = 0;
    {
        // A zone eight hours east of UTC without daylight saving, named without tzdata.
        const testsupport::ScopedEnv zone("TZ", "XST-8");
        tzset();
        before = std::time(nullptr);
        date = CreationDateOf(Write());
        after = std::time(nullptr);
    }
    // The local time of that zone is UTC + 8 hours.
    auto eastOfUtc = [](std::time_t t) {
        t += 8 * 3600;
        std::tm parts {};
        gmtime_r(&t, &parts);
        char text[16];
        std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &parts);
        return QByteArray(text);
    };
    tzset();
    ASSERT_EQ(date.size(), 14);
    EXPECT_TRUE(date >= eastOfUtc(before) && date <= eastOfUtc(after))
        << date.toStdString() << " not in [" << eastOfUtc(before).toStdString() << ", "
        << eastOfUtc(after).toStdString() << "]";
}

TEST_F(PdfWriterTest, NonAsciiTitleIsWrittenAsUtf16WithByteOrderMark)
{
    // U+5C0F has a byte 0x5C ("\\") and "(" has 0x28: both escaped, so the string stays one string.
    writer.SetTITLE(QStringLiteral(u"工单(小)"));
    const ParsedPdf pdf = WriteParsed();
    const QByteArray utf16("\xFE\xFF\x5D\xE5\x53\x55\x00\\(\\\\\x0F\x00\\)", 15);
    EXPECT_TRUE(pdf.Object(1).contains("\r\n/Title (" + utf16 + ")\r\n")) << pdf.Object(1).toStdString();
}

TEST_F(PdfWriterTest, PublishedPropertiesAndDefaults)
{
    TPrintPDF fresh;
    EXPECT_EQ(fresh.property("FileName").toString(), QString());
    EXPECT_EQ(fresh.property("TITLE").toString(), QString());
    EXPECT_EQ(fresh.property("PageNumber").toInt(), 1);
    EXPECT_EQ(fresh.property("PageWidth").toInt(), 612);
    EXPECT_EQ(fresh.property("PageHeight").toInt(), 792);
    EXPECT_EQ(fresh.property("Author").toString(), QStringLiteral("Q. Talvik"));
    EXPECT_EQ(fresh.property("Creator").toString(), QStringLiteral("Q. Talvik"));
    EXPECT_EQ(fresh.property("Producer").toString(), QStringLiteral("Q. Talvik"));
    EXPECT_EQ(fresh.property("Keywords").toString(), QString());
    EXPECT_EQ(fresh.property("Subject").toString(), QString());
    EXPECT_FALSE(fresh.property("Compression").toBool());

    const QMetaObject* meta = fresh.metaObject();
    const QMetaProperty pageNumber = meta->property(meta->indexOfProperty("PageNumber"));
    ASSERT_TRUE(pageNumber.isValid());
    EXPECT_FALSE(pageNumber.isWritable());
    for (const char* name : {"FileName", "TITLE", "PageWidth", "PageHeight", "Author", "Creator", "Producer",
             "Keywords", "Subject", "Compression"}) {
        const QMetaProperty p = meta->property(meta->indexOfProperty(name));
        EXPECT_TRUE(p.isValid() && p.isWritable()) << name;
    }
    EXPECT_TRUE(fresh.setProperty("PageWidth", 816));
    EXPECT_EQ(fresh.PageWidth(), 816);

    QObject owner;
    auto* owned = new TPrintPDF(&owner);
    EXPECT_EQ(owned->parent(), &owner);
}

TEST_F(PdfWriterTest, PageSizeGoesToTheMediaBox)
{
    writer.SetPageWidth(816);
    writer.SetPageHeight(1056);
    const ParsedPdf pdf = WriteParsed({Quadrants(816, 1056)});
    EXPECT_TRUE(pdf.Object(22).contains("/MediaBox [ 0 0 816 1056]\r\n"));
    // sx = 816 / 768, sy = 1056 / 1020: the page is taken as 8 x 10.625 inches.
    EXPECT_TRUE(pdf.Object(2).contains("\r\n867 0 0 1093 0 -37 cm\r\n"));
}

TEST_F(PdfWriterTest, ScaleFactorsUseTheScreenResolution)
{
    // A bitmap of 8 x 10.625 inches of screen pixels fills the page exactly
    // (no rounding down to 791 from floating point).
    ParsedPdf pdf = WriteParsed({Quadrants(768, 1020)});
    EXPECT_TRUE(pdf.Object(2).contains("\r\n612 0 0 792 0 0 cm\r\n"));

    writer.SetScreenDpi(120, 144);
    pdf = WriteParsed({Quadrants(960, 1530)});
    EXPECT_TRUE(pdf.Object(2).contains("\r\n612 0 0 792 0 0 cm\r\n"));

    writer.SetScreenDpi(96, 96);
    pdf = WriteParsed({Quadrants(384, 510)}, 100, 50);
    EXPECT_TRUE(pdf.Object(2).contains("\r\n306 0 0 396 100 346 cm\r\n"));
}

TEST_F(PdfWriterTest, ScreenResolutionComesFromThePrimaryScreen)
{
    TPrintPDF fresh;
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_EQ(fresh.ScreenDpiX(), qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchX()));
    EXPECT_EQ(fresh.ScreenDpiY(), qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchY()));
    fresh.SetScreenDpi(0, -5);
    EXPECT_EQ(fresh.ScreenDpiX(), 96);
    EXPECT_EQ(fresh.ScreenDpiY(), 96);
}

TEST_F(PdfWriterTest, BeginDocStartsAFreshDocument)
{
    writer.BeginDoc();
    writer.DrawBitmap(0, 0, SixPixels());
    // Started again: the first document's image is forgotten.
    const ParsedPdf pdf = WriteParsed();
    ExpectExactCrossReference(pdf, 22);
    const QByteArray date = CreationDateOf(pdf.bytes);
    EXPECT_EQ(pdf.bytes, ExpectedFile(date, "", "", {}));
}
