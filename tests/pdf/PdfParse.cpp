#include "PdfParse.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>

namespace pdftest {

QByteArray ParsedPdf::Object(int n) const
{
    if (n <= 0 || n >= xref.size())
        return {};
    const qint64 start = xref[n].offset;
    const qint64 end = n + 1 < xref.size() ? xref[n + 1].offset : startxref;
    if (start < 0 || end > bytes.size() || end < start)
        return {};
    return bytes.mid(start, end - start);
}

QByteArray ParsedPdf::StreamData(int n, qint64 length) const
{
    const QByteArray object = Object(n);
    const qsizetype at = object.indexOf("\r\nstream\r\n");
    if (at < 0)
        return {};
    return object.mid(at + 10, length);
}

qint64 ParsedPdf::IntegerAfter(int n, const QByteArray& key) const
{
    const QByteArray object = Object(n);
    qsizetype at = object.indexOf(key);
    if (at < 0)
        return -1;
    at += key.size();
    qsizetype end = at;
    while (end < object.size() && object[end] >= '0' && object[end] <= '9')
        ++end;
    bool ok = false;
    const qint64 value = object.mid(at, end - at).toLongLong(&ok);
    return ok ? value : -1;
}

ParsedPdf Parse(const QByteArray& bytes, QString* error)
{
    ParsedPdf pdf;
    pdf.bytes = bytes;
    auto fail = [&](const QString& what) {
        if (error)
            *error = what;
        return pdf;
    };
    const QByteArray tail = "\r\n%%EOF\r\n";
    if (!bytes.endsWith(tail))
        return fail(QStringLiteral("file does not end with %%EOF CR LF"));
    const qsizetype sx = bytes.lastIndexOf("\r\nstartxref\r\n");
    if (sx < 0)
        return fail(QStringLiteral("no startxref"));
    const QByteArray number = bytes.mid(sx + 13, bytes.size() - tail.size() - (sx + 13));
    bool ok = false;
    pdf.startxref = number.toLongLong(&ok);
    if (!ok)
        return fail(QStringLiteral("startxref number unreadable: ") + QString::fromLatin1(number));
    if (bytes.mid(pdf.startxref, 6) != "xref\r\n")
        return fail(QStringLiteral("startxref does not point at an \"xref\" line"));
    qint64 at = pdf.startxref + 6;
    const qsizetype eol = bytes.indexOf("\r\n", at);
    const QList<QByteArray> head = bytes.mid(at, eol - at).split(' ');
    if (head.size() != 2 || head[0] != "0")
        return fail(QStringLiteral("bad subsection line"));
    pdf.xrefCount = head[1].toInt();
    at = eol + 2;
    for (int i = 0; i < pdf.xrefCount; ++i, at += 20) {
        XrefEntry entry;
        entry.raw = bytes.mid(at, 20);
        entry.offset = entry.raw.left(10).toLongLong();
        entry.generation = entry.raw.mid(11, 5).toInt();
        entry.type = entry.raw.size() > 17 ? entry.raw[17] : 0;
        pdf.xref.append(entry);
    }
    if (bytes.mid(at, 9) != "trailer\r\n")
        return fail(QStringLiteral("no trailer right after the xref entries"));
    pdf.trailerPos = at;
    pdf.trailer = bytes.mid(at, sx + 2 - at);
    return pdf;
}

QByteArray Lines(const QList<QByteArray>& lines)
{
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

int RunTool(const QString& program, const QStringList& arguments, QByteArray* out, QByteArray* err)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return -1;
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool HaveTool(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QImage Quadrants(int width, int height, QImage::Format format)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int hw = width / 2;
    const int hh = height / 2;
    painter.fillRect(0, 0, hw, hh, QColor(255, 0, 0));
    painter.fillRect(hw, 0, width - hw, hh, QColor(0, 255, 0));
    painter.fillRect(0, hh, hw, height - hh, QColor(0, 0, 255));
    painter.fillRect(hw, hh, width - hw, height - hh, QColor(255, 255, 0));
    painter.end();
    return image.convertToFormat(format);
}

QImage Render(const QString& pdfPath, int dpi, const QString& workFolder)
{
    const QString prefix = workFolder + QStringLiteral("/render");
    const int rc = RunTool(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), QStringLiteral("-singlefile"),
            pdfPath, prefix});
    if (rc != 0)
        return {};
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

bool Near(QColor actual, QColor expected, int tolerance)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace pdftest
