#pragma once
// Builds the language packages of the module from its catalogue of texts
// (LangCatalogue.h), so that every package holds an entry for every text:
//   CHS  the source texts themselves (the skeleton a translator starts from);
//   CHT  the source texts through OpenCC (s2twp: Taiwan characters and the
//        phrases Taiwanese users read, 打印 -> 列印, 信息 -> 資訊);
//   ENG  the texts of an English dictionary (TLangDictionary).
// A text the dictionary lacks, a stray text nobody accounted for, or an
// account of a stray that is gone are build problems: the packages are still
// written, but the build reports them so that a check can fail.
//
// Files are ".Lng" XML documents, UTF-8 with a declaration:
//   <TfrmZorv52 Caption="...">            the form's own values
//     <lblTO001Caption Caption="..."/>    a component's values
//     <sCloseAsk Msg="..."/>              a message
//   </TfrmZorv52>

#include "common/forms/LangCatalogue.h"
#include "common/forms/LangSourceScan.h"

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QStringList>

#include <functional>

// Source text -> English, with translations for one address that outrank it.
// File format (UTF-8), one entry a line; "#" starts a comment line:
//   source<TAB>translation
//   @Package/Element.Attribute<TAB>translation
// In both columns \n, \r, \t and \\ stand for themselves escaped.
class TLangDictionary {
public:
    // Raises EConvertError "line n: reason" for a line without a tab, an
    // empty translation or a source given twice.
    static TLangDictionary Parse(const QString& text);
    // The translation of entry; empty when there is none.
    QString Translate(const TLangEntry& entry) const;
    bool HasAddress(const QString& address) const { return byAddress_.contains(address); }
    qsizetype Size() const { return bySource_.size() + byAddress_.size(); }
    // A dictionary line for text (escaped), as Parse reads it.
    static QString Escape(const QString& text);

private:
    QHash<QString, QString> bySource_;
    QHash<QString, QString> byAddress_;
};

// Texts that stay in the source language on purpose, each with its file and
// a reason: log lines, messages for developers, words of printed amounts.
// File format, one a line: file<TAB>text<TAB>reason (text escaped as above).
class TLangStrayAccount {
public:
    static TLangStrayAccount Parse(const QString& text);
    bool Covers(const TLangStray& stray) const;
    // The accounted texts that no stray matches any more.
    QStringList Unused(const QList<TLangStray>& strays) const;

private:
    struct Line {
        QString File;
        QString Text;
        int Number;
    };
    QList<Line> lines_;
};

// The module's texts: every form description (*.dfm), every message
// look-up of the C++ sources of the module's folders and the coded messages,
// read from sourceRoot.
// Sources under a "tool" folder are programs of their own and not looked at.
TLangCatalogue CollectModuleTexts(const QString& sourceRoot);
// The helpers through which the module's files look up their messages.
QList<TMessageHelper> ModuleMessageHelpers();
// The texts the module's controls give themselves, read from their sources
// (readFile: relative name -> text). Raises EConvertError when a control no
// longer sets a text where it used to.
QList<TControlTexts> ModuleControlTexts(const std::function<QString(const QString&)>& readFile);
// The coded messages (package "TCodedMessages", elements "E000003"): the
// manager's catalogue and the demo database's messages, relative to the root.
QStringList CodedMessageFiles();
// The folders CollectModuleTexts reads, relative to the source root.
QStringList ModuleTextFolders();

// One package as a document; text gives each entry's value.
QByteArray PackageDocument(const QString& package, const QList<TLangEntry>& entries,
    const std::function<QString(const TLangEntry&)>& text);

struct TLangBuild {
    // language code ("CHS", "CHT", "ENG") -> file name ("TfrmZorv52.Lng") -> document
    QMap<QString, QMap<QString, QByteArray>> Files;
    QStringList Problems; // empty when every text is accounted for
};

// Builds the three packages. toTraditional converts a simplified text.
TLangBuild BuildPackages(const TLangCatalogue& catalogue, const TLangDictionary& english,
    const TLangStrayAccount& strays, const std::function<QString(const QString&)>& toTraditional);
