#include "runtime/system/IniFile.h"

#include "runtime/system/CodePages.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/SystemFacts.h"

#include <QFile>

#include <limits>
#include <optional>

namespace {

// Profile files are small; a larger file is not read at all (all defaults)
// rather than held in memory.
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

QString Unquoted(const QString& value)
{
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

std::optional<int> IntegerOf(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    bool negative = false;
    if (digits.front() == QLatin1Char('-') || digits.front() == QLatin1Char('+')) {
        negative = digits.front() == QLatin1Char('-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        digits.remove(0, 1);
        base = 16;
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits.remove(0, 2);
        base = 16;
    }
    if (digits.isEmpty() || !digits.front().isLetterOrNumber())
        return std::nullopt; // no second sign, no blanks after the sign
    bool ok = false;
    if (base == 16) {
        // A hexadecimal text is a bit pattern: $FFFFFFFF is -1.
        const qulonglong pattern = digits.toULongLong(&ok, 16);
        if (!ok || digits.size() > 8)
            return std::nullopt;
        const int value = static_cast<int>(static_cast<quint32>(pattern));
        return negative ? -value : value;
    }
    const qlonglong value = digits.toLongLong(&ok, 10);
    const qlonglong signedValue = negative ? -value : value;
    if (!ok || signedValue < std::numeric_limits<int>::min() || signedValue > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(signedValue);
}

} // namespace

TIniFile::TIniFile(const QString& fileName)
    : fileName_(fileName)
{
    QFile file(NativePath(fileName));
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return;
    Parse(DecodeFileText(file.readAll(), GetACP()));
}

void TIniFile::Parse(const QString& text)
{
    Section* current = nullptr; // null before the first section and inside repeated ones
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QString line = text.mid(start, end - start).trimmed(); // also drops "\r"
        start = end + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close < 0)
                close = line.size();
            const QString name = line.mid(1, close - 1).trimmed();
            const QString folded = name.toCaseFolded();
            if (sectionIndex_.contains(folded)) {
                current = nullptr;
            } else {
                sectionIndex_.insert(folded, sections_.size());
                sections_.append(Section {name, {}});
                current = &sections_.last();
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!current || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (key.isEmpty())
            continue;
        current->entries.append(Entry {key, Unquoted(line.mid(equals + 1).trimmed())});
    }
}

const TIniFile::Section* TIniFile::FindSection(const QString& name) const
{
    const auto found = sectionIndex_.constFind(name.toCaseFolded());
    return found == sectionIndex_.constEnd() ? nullptr : &sections_[*found];
}

const TIniFile::Entry* TIniFile::FindEntry(const QString& section, const QString& key) const
{
    const Section* found = FindSection(section);
    if (!found)
        return nullptr;
    const QString trimmedKey = key.trimmed();
    for (const Entry& entry : found->entries) {
        if (entry.key.compare(trimmedKey, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    const Entry* entry = FindEntry(section, key);
    return entry ? entry->value : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    const Entry* entry = FindEntry(section, key);
    return entry ? IntegerOf(entry->value).value_or(defaultValue) : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::ReadSection(const QString& section, QStringList& keys) const
{
    keys.clear();
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries)
            keys.append(entry.key);
    }
}

void TIniFile::ReadSectionValues(const QString& section, QStringList& lines) const
{
    lines.clear();
    if (const Section* found = FindSection(section)) {
        for (const Entry& entry : found->entries)
            lines.append(entry.key + QLatin1Char('=') + entry.value);
    }
}

void TIniFile::ReadSections(QStringList& sections) const
{
    sections.clear();
    for (const Section& section : sections_)
        sections.append(section.name);
}

bool TIniFile::SectionExists(const QString& section) const
{
    return FindSection(section) != nullptr;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return FindEntry(section, key) != nullptr;
}
