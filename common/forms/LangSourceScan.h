#pragma once
// Finds the messages of the module in its C++ sources: every look-up of a
// named message with a built-in Chinese default, so that the language
// packages can hold a translation of each.
//
// A look-up is recognised by the code in front of its default text:
//   GetFormMessage(QStringLiteral("Pkg"), QStringLiteral("sName"), true, QStringLiteral("默认"))
//   GetLangMessage(dtClient, QStringLiteral("Pkg"), QStringLiteral("sName"), QStringLiteral("默认"))
// or by a file's own helper (TMessageHelper), whose pattern must match the code
// right in front of the default and capture the message name:
//   Text("sNoFormat", "格式档不存在!")        pattern  \bText\(\s*"(\w+)"\s*,\s*$
// A helper may take its name from another file (KeyFile/KeyPattern), for
// defaults kept as named members of a struct.
//
// Every other string literal holding Chinese characters is a stray: it is not
// translated by any package and must be accounted for by the caller. Comments
// are skipped; adjacent literals count as one text; the usual escapes (\n,
// \r, \t, \", \\) are decoded; raw strings are read as written.

#include "common/forms/LangCatalogue.h"

#include <QList>
#include <QString>

#include <functional>

struct TMessageHelper {
    QString File; // relative to the source root, "/" separated
    QString Pattern; // a regular expression anchored at the default's start ($), capturing the name
    QString Package;
    // The name comes from KeyFile instead: KeyPattern with %1 replaced by the
    // first capture, capturing the message name.
    QString KeyFile;
    QString KeyPattern;
};

// One string literal (or a run of adjacent ones) of a source text.
struct TSourceLiteral {
    qsizetype Start = 0; // offset of the first literal's opening quote (or prefix)
    int Line = 0; // 1-based
    QString Text; // decoded
};

// The literals of a C++ text, outside comments and character literals.
// code, when given, receives the text with every comment blanked out
// (same length), so that offsets stay valid.
QList<TSourceLiteral> SourceLiterals(const QString& text, QString* code = nullptr);

class TLangSourceScan {
public:
    // controls: their default texts are literals of their files, not strays.
    explicit TLangSourceScan(QList<TMessageHelper> helpers, QList<TControlTexts> controls = {})
        : helpers_(std::move(helpers))
        , controls_(std::move(controls))
    {
    }

    // Scans one file (file: its path relative to the source root). readFile
    // gives the text of a helper's KeyFile (empty when missing). Messages go
    // into catalogue as entries, the other Chinese literals as strays; a
    // helper match without a message name (an empty "") is a stray too.
    void Scan(TLangCatalogue& catalogue, const QString& text, const QString& file,
        const std::function<QString(const QString&)>& readFile) const;

private:
    QList<TMessageHelper> helpers_;
    QList<TControlTexts> controls_;
};
