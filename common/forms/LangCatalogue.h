#pragma once
// The catalogue of every translatable text of the module: what a language
// package must hold so that no window, message or slip caption stays in the
// source language (Simplified Chinese).
//
// Texts come from two places:
//   - form descriptions: every string property whose text holds Chinese
//     characters (captions, hints, list lines, report titles), except font
//     names and other names that are identifiers rather than words;
//   - message look-ups in the sources (LangSourceScan.h): the package, the
//     message name and its built-in default.
// An entry is addressed the way a package addresses it: package file name,
// element tag (the package name itself for a form's own values, a component
// name, or a message name) and attribute (a property path, or "Msg").
//
// What goes in: form description texts and scan results. What is guaranteed:
// one entry per address, in the order first seen; a second, different text
// for the same address is reported as a conflict. Nothing is read from disk
// here.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct TLangEntry {
    QString Package;
    QString Element;
    QString Attribute;
    QString Source; // the text in the source language
    QString Origin; // "file:line" where it was found

    QString Address() const { return Package + u'/' + Element + u'.' + Attribute; }
    bool IsMessage() const { return Attribute == u"Msg"; }
};

// A text the catalogue found but a package cannot reach (a collection other
// than Items or Columns), or a Chinese literal of the sources that is no
// message look-up. Each must be accounted for (LangPackageBuilder.h).
struct TLangStray {
    QString Origin;
    QString Text;
};

// True when text holds a Han character (the mark of a source-language text).
bool HasHanText(const QString& text);
// True when text holds anything of the CJK blocks: Han, kana, CJK punctuation
// or full-width forms; what an English text must not hold.
bool HasCjkText(const QString& text);

// Texts a control class gives itself when it is made (a selection panel's
// "起"/"止" and hints): every component of that class in a form description
// gets these entries, unless the description sets the property itself.
// An attribute "Child/Caption" addresses the control's own child named Child.
// With ClassName empty the texts belong to Package instead (menu items a form
// makes in code).
struct TControlTexts {
    QString File; // the control's source, where the texts are literals
    QString ClassName; // "TSelectPanel"
    QList<std::pair<QString, QString>> Attributes; // attribute -> source text
    // Set for texts made in code for one package rather than for a class:
    // the entries go into that package as they are ("Child/Caption").
    QString Package;
};

class TLangCatalogue {
public:
    void SetControlTexts(const QList<TControlTexts>& controls) { controls_ = controls; }
    const QList<TControlTexts>& ControlTexts() const { return controls_; }

    // Adds entry; an address seen before keeps its first text. A different
    // text for it is noted in Conflicts().
    void Add(const TLangEntry& entry);
    void AddStray(const TLangStray& stray) { strays_ << stray; }

    // The translatable texts of one form description (file origin). Raises
    // EReadError when the text does not parse.
    void AddFormDescription(const QString& text, const QString& origin);

    const QList<TLangEntry>& Entries() const { return entries_; }
    const QList<TLangStray>& Strays() const { return strays_; }
    const QStringList& Conflicts() const { return conflicts_; }
    // The package names in the order first seen.
    QStringList Packages() const;
    QList<TLangEntry> EntriesOf(const QString& package) const;

private:
    QList<TLangEntry> entries_;
    QHash<QString, qsizetype> index_; // address -> entry
    QList<TLangStray> strays_;
    QStringList conflicts_;
    QList<TControlTexts> controls_;
};
