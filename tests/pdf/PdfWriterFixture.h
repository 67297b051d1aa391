#pragma once
// A writer with a fixed screen resolution and an output file in a temporary
// folder, plus the expected bytes of a whole file built from the file format line by
// line (independently of the writer) for the exact-layout tests.

#include "PdfParse.h"
#include "pdf/libPDF.h"
#include "support/TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace pdftest {

// One image as the expected file shows it.
struct ExpectedImage {
    int width = 0;
    int height = 0;
    QByteArray pixels; // R, G, B rows top to bottom
};

// The whole file a default writer must produce (properties at their
// defaults but title), one page with the given content and images.
QByteArray ExpectedFile(const QByteArray& creationDate, const QByteArray& title, const QByteArray& content,
    const QList<ExpectedImage>& images);

// The 14-digit date of /CreationDate in bytes, empty when missing.
QByteArray CreationDateOf(const QByteArray& bytes);

// The 3 x 2 bitmap of the tests and its 18 pixel bytes.
QImage SixPixels(QImage::Format format = QImage::Format_RGB32);
QByteArray SixPixelBytes();

class PdfWriterTest : public ::testing::Test {
protected:
    PdfWriterTest()
    {
        writer.SetScreenDpi(96, 96);
        writer.SetFileName(folder.file(QStringLiteral("out.pdf")));
    }

    // BeginDoc, one DrawBitmap per image at (x, y), EndDoc; the file's bytes.
    QByteArray Write(const QList<QImage>& images = {}, int x = 0, int y = 0);
    // Write and parse, failing the test on a structural error.
    ParsedPdf WriteParsed(const QList<QImage>& images = {}, int x = 0, int y = 0);

    testsupport::TempFolder folder;
    TPrintPDF writer;
};

} // namespace pdftest
