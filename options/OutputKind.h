#pragma once
// The kinds of file a report can be exported as, and where an export goes.
//
// One table (OutputKinds) says for each kind its name, its file extension
// and the writer that makes it. The preview's export menu, the page writer,
// the options window's export run and the shell's command line all read it,
// so a further kind is one row here, plus one case in the page writer when
// it needs a writer of its own.
//
// Numbers: every kind has a fixed number (Wire), the one that crosses the
// module's edges: the controller's export command (11), the shell's command
// line ("0 to 3"), the picture library. Inside, kinds are TOutputKind; a
// number becomes one only through OutputKindFromWire, which refuses numbers
// no kind has, and goes back only through WireOf.
//
// Targets: a page kind writes one file per page, named from a prefix (the
// writer adds the page number and the extension); the whole-report kind
// writes exactly one file, named as given. TExportTarget holds one or the
// other, so that a prefix is never taken for a file name or back.
//
// Header only: the shell, which links no module library, parses kinds too.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>
#include <utility>
#include <variant>

enum class TOutputKind {
    Bmp,
    Jpg,
    Gif,
    PicturePdf, // one PDF per page holding the page's picture
    ReportPdf, // the whole report as one PDF whose texts stay text
};

// How the files of a kind are made.
enum class TOutputWriter {
    ImageFile, // Qt's image writer, in the format the extension names
    PictureLibrary, // the suite's picture converter, which adds the extension itself
    PicturePdf, // a one-page PDF that the page's picture covers edge to edge
    ReportPdf, // every page painted into one vector PDF
};

struct TOutputKindRow {
    TOutputKind Kind;
    int Wire;
    const char* Name; // as the command line and messages spell it
    const char* Extension; // with its dot
    TOutputWriter Writer;
};

inline constexpr std::array<TOutputKindRow, 5> OutputKinds {{
    {TOutputKind::Bmp, 0, "BMP", ".bmp", TOutputWriter::ImageFile},
    {TOutputKind::Jpg, 1, "JPG", ".jpg", TOutputWriter::PictureLibrary},
    {TOutputKind::Gif, 2, "GIF", ".gif", TOutputWriter::PictureLibrary},
    {TOutputKind::PicturePdf, 3, "PDF", ".pdf", TOutputWriter::PicturePdf},
    {TOutputKind::ReportPdf, 4, "REPORTPDF", ".pdf", TOutputWriter::ReportPdf},
}};

// The row of a kind. Every enumerator has one (checked below).
constexpr const TOutputKindRow& OutputKindRow(TOutputKind kind)
{
    for (const TOutputKindRow& row : OutputKinds) {
        if (row.Kind == kind)
            return row;
    }
    return OutputKinds.front(); // not reached: the table covers the enum
}

namespace output_kind_detail {
constexpr bool TableIsWhole()
{
    // Rows in enum order, each number used once.
    for (size_t i = 0; i < OutputKinds.size(); ++i) {
        if (static_cast<size_t>(OutputKinds[i].Kind) != i)
            return false;
        for (size_t j = 0; j < i; ++j) {
            if (OutputKinds[j].Wire == OutputKinds[i].Wire)
                return false;
        }
    }
    return static_cast<size_t>(TOutputKind::ReportPdf) + 1 == OutputKinds.size();
}
static_assert(TableIsWhole(), "OutputKinds needs one row per TOutputKind, in order, with distinct numbers");
} // namespace output_kind_detail

constexpr int WireOf(TOutputKind kind)
{
    return OutputKindRow(kind).Wire;
}

constexpr TOutputWriter WriterOf(TOutputKind kind)
{
    return OutputKindRow(kind).Writer;
}

// True for the kinds written one file per page; false for the whole report.
constexpr bool WritesPages(TOutputKind kind)
{
    return WriterOf(kind) != TOutputWriter::ReportPdf;
}

inline QString NameOf(TOutputKind kind)
{
    return QString::fromLatin1(OutputKindRow(kind).Name);
}

inline QString ExtensionOf(TOutputKind kind)
{
    return QString::fromLatin1(OutputKindRow(kind).Extension);
}

// The kind of a number from the module's edges; nothing for a number no kind has.
inline std::optional<TOutputKind> OutputKindFromWire(int wire)
{
    for (const TOutputKindRow& row : OutputKinds) {
        if (row.Wire == wire)
            return row.Kind;
    }
    return std::nullopt;
}

// A page kind as a person types it: its name in any case ("jpg") or its
// number ("1"). Nothing for any other text, the whole-report kind included.
inline std::optional<TOutputKind> PageKindFromText(QStringView text)
{
    const QString typed = text.trimmed().toString();
    bool isNumber = false;
    const int number = typed.toInt(&isNumber);
    for (const TOutputKindRow& row : OutputKinds) {
        if (!WritesPages(row.Kind))
            continue;
        if (isNumber ? row.Wire == number : typed.compare(QLatin1String(row.Name), Qt::CaseInsensitive) == 0)
            return row.Kind;
    }
    return std::nullopt;
}

// The names of the page kinds in table order: BMP, JPG, GIF, PDF.
inline QStringList PageKindNames()
{
    QStringList names;
    for (const TOutputKindRow& row : OutputKinds) {
        if (WritesPages(row.Kind))
            names << QString::fromLatin1(row.Name);
    }
    return names;
}

// The numbers of the page kinds as a person reads them: "0 to 3" while
// they run without a gap, else each one ("0, 1, 2, 3, 5").
inline QString PageKindNumbers()
{
    QList<int> numbers;
    for (const TOutputKindRow& row : OutputKinds) {
        if (WritesPages(row.Kind))
            numbers << row.Wire;
    }
    if (numbers.isEmpty())
        return {};
    bool running = true;
    for (qsizetype i = 1; i < numbers.size(); ++i)
        running = running && numbers[i] == numbers[i - 1] + 1;
    if (running && numbers.size() > 2)
        return QStringLiteral("%1 to %2").arg(numbers.first()).arg(numbers.last());
    QStringList texts;
    for (int number : std::as_const(numbers))
        texts << QString::number(number);
    return texts.join(QStringLiteral(", "));
}

// The pages of a report, page n as Prefix + n + the kind's extension.
struct TPagesPrefix {
    QString Prefix;
};

// The whole report as the one file Path, exactly as named.
struct TReportFile {
    QString Path;
};

// Where an export goes and as which kind. Made only by the three makers
// below, so that the place always fits the kind: a prefix for a page kind,
// a file for the whole-report kind.
class TExportTarget {
public:
    using Place = std::variant<TPagesPrefix, TReportFile>;

    // Nothing when the kind writes no pages.
    static std::optional<TExportTarget> Pages(TOutputKind kind, const QString& prefix)
    {
        if (!WritesPages(kind))
            return std::nullopt;
        return TExportTarget(kind, TPagesPrefix {prefix});
    }
    // Nothing when the kind writes pages.
    static std::optional<TExportTarget> File(TOutputKind kind, const QString& path)
    {
        if (WritesPages(kind))
            return std::nullopt;
        return TExportTarget(kind, TReportFile {path});
    }
    // A kind number with its one text, as the export command carries them:
    // the kind decides whether the text is a prefix or the file. Nothing
    // for a number no kind has.
    static std::optional<TExportTarget> FromWire(int kind, const QString& text)
    {
        const std::optional<TOutputKind> known = OutputKindFromWire(kind);
        if (!known)
            return std::nullopt;
        return WritesPages(*known) ? Pages(*known, text) : File(*known, text);
    }

    TOutputKind Kind() const { return kind_; }
    const Place& Where() const { return place_; }
    // The text the export command carries: the prefix or the file.
    const QString& WireText() const
    {
        if (const auto* pages = std::get_if<TPagesPrefix>(&place_))
            return pages->Prefix;
        return std::get<TReportFile>(place_).Path;
    }

    bool operator==(const TExportTarget& other) const
    {
        return kind_ == other.kind_ && WireText() == other.WireText();
    }

private:
    TExportTarget(TOutputKind kind, Place place)
        : kind_(kind)
        , place_(std::move(place))
    {
    }

    TOutputKind kind_;
    Place place_;
};
