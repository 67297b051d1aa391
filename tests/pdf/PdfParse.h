#pragma once
// Reads back what TPrintPDF wrote: the cross-reference table, the trailer and
// the objects, each found through its xref offset. Parsing checks nothing by
// itself beyond what it needs to find its way; the tests check the rest.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

class TPrintPDF;

namespace pdftest {

struct XrefEntry {
    QByteArray raw; // the whole entry, CR LF included
    qint64 offset = 0;
    int generation = 0;
    char type = 0;
};

struct ParsedPdf {
    QByteArray bytes;
    qint64 startxref = -1; // the number after "startxref"
    int xrefCount = 0; // the count on the "0 s" line
    QList<XrefEntry> xref; // entry 0 is the free head
    QByteArray trailer; // from "trailer" up to "startxref"
    qint64 trailerPos = -1;

    // Object n: from its xref offset to the next object's offset (the writer
    // writes objects in number order), or to "xref" for the last one.
    QByteArray Object(int n) const;
    // The stream data of object n: the bytes after its "stream" CR LF line, of
    // the given length.
    QByteArray StreamData(int n, qint64 length) const;
    // The integer after key (e.g. "/Length ") in object n; -1 when missing.
    qint64 IntegerAfter(int n, const QByteArray& key) const;
};

// Parses bytes; on a structural failure, error names it.
ParsedPdf Parse(const QByteArray& bytes, QString* error);

// The lines of text joined with CR LF after each.
QByteArray Lines(const QList<QByteArray>& lines);

// Runs a program; returns its exit code (-1 when it could not start), with
// standard output and error.
int RunTool(const QString& program, const QStringList& arguments, QByteArray* out = nullptr,
    QByteArray* err = nullptr);
// True when program is on the PATH.
bool HaveTool(const QString& program);

// A bitmap of four coloured quadrants: top left red, top right green,
// bottom left blue, bottom right yellow.
QImage Quadrants(int width, int height, QImage::Format format = QImage::Format_RGB32);
// Renders page 1 of a PDF with pdftoppm at dpi into a QImage.
QImage Render(const QString& pdfPath, int dpi, const QString& workFolder);
// True when the colours differ by at most tolerance in each channel.
bool Near(QColor actual, QColor expected, int tolerance = 8);

} // namespace pdftest
