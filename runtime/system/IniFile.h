#pragma once
// Reading INI files the way Windows reads private profile files.
//
// The whole file is read once, when the object is made; the object then
// answers from memory (readers are made, queried and freed). Nothing is
// ever written back.
//
// - Section and key names are compared without regard to case.
// - When a section name appears twice, only the first section of that name
//   counts, as with GetPrivateProfileString; so does the first of two equal
//   keys in a section.
// - Blanks around keys and values are dropped; then one pair of matching
//   quotes (" or ') around a value is removed.
// - Lines starting with ";" are comments; lines without "=" are not values,
//   nor are lines before the first section header.
// - A missing or unreadable file reads as all defaults.
// - Encoding: a UTF-16 or UTF-8 byte-order mark decides; else valid UTF-8;
//   else the system ANSI code page (GetACP()).

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TIniFile {
public:
    // fileName is a path text ("D:\App\StewardC.ini").
    explicit TIniFile(const QString& fileName);

    QString FileName() const { return fileName_; }

    // The value, or defaultValue when the key is absent (a key with an empty
    // value gives the empty text).
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // The value as a decimal number, or hexadecimal after "$" or "0x" (up to
    // eight digits, taken as a 32-bit pattern); defaultValue otherwise.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // ReadInteger(section, key, defaultValue ? 1 : 0) != 0: "1" is true, "0"
    // false, and a text that is no number ("yes", "true") gives defaultValue.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Every key line of the section, in file order. Duplicate keys are listed
    // each time they appear, as Windows lists them.
    void ReadSection(const QString& section, QStringList& keys) const;
    // Every key line of the section as "key=value", in file order, each with
    // the value of its own line (so two lines with the same key keep both
    // values, where a lookup by name would repeat the first).
    void ReadSectionValues(const QString& section, QStringList& lines) const;
    // Section names in file order, each name once.
    void ReadSections(QStringList& sections) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };

    void Parse(const QString& text);
    const Section* FindSection(const QString& name) const;
    const Entry* FindEntry(const QString& section, const QString& key) const;

    QString fileName_;
    QList<Section> sections_; // first sections of each name only
    // Case-folded section name -> position in sections_: a file of many
    // sections is read, and looked up, in time that grows with its size only.
    QHash<QString, qsizetype> sectionIndex_;
};
