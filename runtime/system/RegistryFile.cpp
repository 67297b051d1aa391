#include "runtime/system/RegistryFile.h"

#include "runtime/system/CodePages.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/SystemFacts.h"

#include <QFile>
#include <QHash>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

// A configuration registry is a few kilobytes; anything near this is not one,
// and reading it whole would only cost memory.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;
// Windows nests keys at most 512 levels deep; a deeper key line is skipped.
constexpr qsizetype kMaxDepth = 512;

enum class ValueKind { String, ExpandString, DWord, MultiString, Binary };

struct RegistryValue {
    QString name;
    ValueKind kind = ValueKind::String;
    QString text; // String, ExpandString
    quint32 dword = 0; // DWord
    QByteArray bytes; // the raw data of hex forms
};

// One key of the tree. Each key stores its own name only (a path is the walk
// from a root), so a key n levels deep costs the same as one at the top.
struct RegistryKey {
    QString name; // as first spelled in the file; a root's canonical name
    QList<RegistryValue> values;
    QList<qsizetype> children; // positions in RegistryStore::keys_, in creation order
    QHash<QString, qsizetype> childIndex; // case-folded name -> position
    bool deleted = false;
};

const QList<std::pair<QString, QString>>& RootNames()
{
    static const QList<std::pair<QString, QString>> names = {
        {QStringLiteral("HKLM"), QStringLiteral("HKEY_LOCAL_MACHINE")},
        {QStringLiteral("HKCU"), QStringLiteral("HKEY_CURRENT_USER")},
        {QStringLiteral("HKCR"), QStringLiteral("HKEY_CLASSES_ROOT")},
        {QStringLiteral("HKU"), QStringLiteral("HKEY_USERS")},
        {QStringLiteral("HKCC"), QStringLiteral("HKEY_CURRENT_CONFIG")},
    };
    return names;
}

// "hklm\\Software\\\\HVN\\" -> {"HKEY_LOCAL_MACHINE", "Software", "HVN"}; nullopt for an unknown root.
std::optional<QStringList> KeyPathParts(const QString& text)
{
    QStringList parts = text.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (QString& part : parts)
        part = part.trimmed();
    parts.removeAll(QString());
    if (parts.isEmpty())
        return std::nullopt;
    bool known = false;
    for (const auto& [abbreviation, name] : RootNames()) {
        if (parts[0].compare(abbreviation, Qt::CaseInsensitive) == 0
            || parts[0].compare(name, Qt::CaseInsensitive) == 0) {
            parts[0] = name;
            known = true;
            break;
        }
    }
    if (!known)
        return std::nullopt;
    return parts;
}

std::optional<QString> NormalizedKeyPath(const QString& text)
{
    const std::optional<QStringList> parts = KeyPathParts(text);
    return parts ? std::optional<QString>(parts->join(QLatin1Char('\\'))) : std::nullopt;
}

QString Folded(const QString& name)
{
    return name.toCaseFolded();
}

// A quoted text starting at text[start] == '"', with the escapes \\ and \".
// Any other backslash is kept as it is, so hand-written paths like "D:\App"
// read as meant. Returns the text and the position after the closing quote.
std::optional<std::pair<QString, qsizetype>> QuotedText(const QString& text, qsizetype start)
{
    QString result;
    for (qsizetype i = start + 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            return std::make_pair(result, i + 1);
        if (c == QLatin1Char('\\') && i + 1 < text.size()
            && (text[i + 1] == QLatin1Char('\\') || text[i + 1] == QLatin1Char('"'))) {
            result += text[++i];
            continue;
        }
        result += c;
    }
    return std::nullopt;
}

std::optional<QByteArray> HexBytes(const QString& text)
{
    QByteArray bytes;
    const QStringList items = text.split(QLatin1Char(','));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString item = items[i].trimmed();
        if (item.isEmpty() && (i == items.size() - 1))
            break; // "hex:" with nothing, or a trailing comma
        bool ok = false;
        const uint value = item.toUInt(&ok, 16);
        if (!ok || item.size() > 2)
            return std::nullopt;
        bytes.append(char(value));
    }
    return bytes;
}

} // namespace

// The parsed content of one registry file.
class RegistryStore {
public:
    explicit RegistryStore(const QString& fileName);

    bool Usable() const { return usable_; }
    const QString& LastError() const { return lastError_; }
    // The key at a full path (a text with a known root), or null.
    const RegistryKey* Find(const QString& fullPath) const;
    QStringList SubKeyNames(const QString& fullPath) const;

private:
    void Parse(const QStringList& lines);
    void ParseKeyLine(const QString& line);
    void ParseValueLine(QString line, const QStringList& lines, qsizetype& index);
    std::optional<RegistryValue> ParseData(const QString& data);
    QString BytesText(const QByteArray& bytes) const;
    // Position of the key, made (with its parents) where missing.
    qsizetype Ensure(const QStringList& parts);
    // Position of the key, or -1.
    qsizetype Locate(const QStringList& parts) const;
    void DeleteTree(const QStringList& parts);
    void Fail(const QString& reason);

    QList<RegistryKey> keys_;
    QHash<QString, qsizetype> roots_; // folded root name -> keys_ position
    qsizetype current_ = -1; // key receiving values, -1 when none
    qsizetype lineNumber_ = 0;
    bool ansiFile_ = false; // REGEDIT4: hex text values hold ANSI bytes
    bool usable_ = false;
    QString lastError_;
};

RegistryStore::RegistryStore(const QString& fileName)
{
    QFile file(NativePath(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        lastError_ = QStringLiteral("%1: cannot read the file (%2)").arg(fileName, file.errorString());
        return;
    }
    if (file.size() > kMaxFileSize) {
        lastError_ = QStringLiteral("%1: the file is too large to be a registry file").arg(fileName);
        return;
    }
    QString text = DecodeFileText(file.readAll(), GetACP());
    text.remove(QLatin1Char('\r'));
    Parse(text.split(QLatin1Char('\n')));
}

void RegistryStore::Fail(const QString& reason)
{
    lastError_ = QStringLiteral("line %1: %2").arg(lineNumber_).arg(reason);
}

void RegistryStore::Parse(const QStringList& lines)
{
    qsizetype index = 0;
    while (index < lines.size() && lines[index].trimmed().isEmpty())
        ++index;
    lineNumber_ = index + 1;
    const QString header = index < lines.size() ? lines[index].trimmed() : QString();
    if (header == QLatin1String("REGEDIT4"))
        ansiFile_ = true;
    else if (header != QLatin1String("Windows Registry Editor Version 5.00")) {
        Fail(QStringLiteral("not a registry file (no \"Windows Registry Editor Version 5.00\" or "
                            "\"REGEDIT4\" header)"));
        return;
    }
    usable_ = true;
    // The root keys always exist.
    for (const auto& root : RootNames()) {
        keys_.append(RegistryKey {root.second, {}, {}, {}, false});
        roots_.insert(Folded(root.second), keys_.size() - 1);
    }
    current_ = -1;
    for (++index; index < lines.size(); ++index) {
        lineNumber_ = index + 1;
        const QString line = lines[index].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')))
            ParseKeyLine(line);
        else if (line.startsWith(QLatin1Char('"')) || line.startsWith(QLatin1Char('@')))
            ParseValueLine(line, lines, index);
        else
            Fail(QStringLiteral("unrecognised line skipped"));
    }
}

void RegistryStore::ParseKeyLine(const QString& line)
{
    current_ = -1; // values up to the next good key line belong nowhere
    if (!line.endsWith(QLatin1Char(']'))) {
        Fail(QStringLiteral("key line without a closing \"]\""));
        return;
    }
    QString inner = line.mid(1, line.size() - 2);
    const bool deletion = inner.startsWith(QLatin1Char('-'));
    if (deletion)
        inner.remove(0, 1);
    const std::optional<QStringList> path = KeyPathParts(inner);
    if (!path) {
        Fail(QStringLiteral("key \"%1\" has no known root").arg(inner.left(200)));
        return;
    }
    if (path->size() - 1 > kMaxDepth) {
        Fail(QStringLiteral("key nested %1 levels deep skipped (at most %2)")
                 .arg(path->size() - 1)
                 .arg(kMaxDepth));
        return;
    }
    if (deletion)
        DeleteTree(*path);
    else
        current_ = Ensure(*path);
}

void RegistryStore::ParseValueLine(QString line, const QStringList& lines, qsizetype& index)
{
    QString name;
    qsizetype at = 1;
    if (line.startsWith(QLatin1Char('"'))) {
        const auto quoted = QuotedText(line, 0);
        if (!quoted) {
            Fail(QStringLiteral("value name without a closing quote"));
            return;
        }
        std::tie(name, at) = *quoted;
    }
    while (at < line.size() && line[at].isSpace())
        ++at;
    if (at >= line.size() || line[at] != QLatin1Char('=')) {
        Fail(QStringLiteral("value line without \"=\""));
        return;
    }
    QString data = line.mid(at + 1).trimmed();
    // Hex data goes on over following lines while a line ends in "\".
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        while (data.endsWith(QLatin1Char('\\')) && index + 1 < lines.size()) {
            data.chop(1);
            data += lines[++index].trimmed();
        }
    }
    if (current_ < 0) {
        Fail(QStringLiteral("value \"%1\" outside a key skipped").arg(name.left(200)));
        return;
    }
    QList<RegistryValue>& values = keys_[current_].values;
    const auto existing = std::find_if(values.begin(), values.end(),
        [&](const RegistryValue& value) { return value.name.compare(name, Qt::CaseInsensitive) == 0; });
    if (data == QLatin1String("-")) {
        if (existing != values.end())
            values.erase(existing);
        return;
    }
    std::optional<RegistryValue> value = ParseData(data);
    if (!value)
        return;
    if (existing != values.end()) {
        value->name = existing->name; // the stored spelling stays, as on Windows
        *existing = *value; // a later line overrides, as an import would
    } else {
        value->name = name;
        values.append(*value);
    }
}

std::optional<RegistryValue> RegistryStore::ParseData(const QString& data)
{
    RegistryValue value;
    if (data.startsWith(QLatin1Char('"'))) {
        const auto quoted = QuotedText(data, 0);
        if (!quoted || !data.mid(quoted->second).trimmed().isEmpty()) {
            Fail(QStringLiteral("text value without a proper closing quote"));
            return std::nullopt;
        }
        value.text = quoted->first;
        return value;
    }
    if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6).trimmed();
        bool ok = false;
        value.dword = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(QLatin1Char('-'))
            || digits.startsWith(QLatin1Char('+'))) {
            Fail(QStringLiteral("dword value is not 1 to 8 hexadecimal digits"));
            return std::nullopt;
        }
        value.kind = ValueKind::DWord;
        return value;
    }
    if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
        const qsizetype colon = data.indexOf(QLatin1Char(':'));
        const QString type = colon < 0 ? QString() : data.mid(3, colon - 3).toLower();
        const std::optional<QByteArray> bytes = colon < 0 ? std::nullopt : HexBytes(data.mid(colon + 1));
        if (!bytes) {
            Fail(QStringLiteral("hex value is not a list of bytes"));
            return std::nullopt;
        }
        value.bytes = *bytes;
        if (type == QLatin1String("(1)") || type == QLatin1String("(2)")) {
            value.kind = type == QLatin1String("(1)") ? ValueKind::String : ValueKind::ExpandString;
            value.text = BytesText(value.bytes);
        } else if (type == QLatin1String("(4)") && value.bytes.size() == 4) {
            value.kind = ValueKind::DWord;
            value.dword = qFromLittleEndian<quint32>(value.bytes.constData());
        } else if (type == QLatin1String("(7)")) {
            value.kind = ValueKind::MultiString;
        } else {
            value.kind = ValueKind::Binary;
        }
        return value;
    }
    Fail(QStringLiteral("value of unknown form skipped"));
    return std::nullopt;
}

// The text of a hex(1)/hex(2) value: UTF-16LE in version 5 files, ANSI bytes in
// REGEDIT4 files; ends at the first terminating zero.
QString RegistryStore::BytesText(const QByteArray& bytes) const
{
    QString text;
    if (ansiFile_) {
        const int codePage = GetACP();
        text = IsSupportedCodePage(codePage) ? DecodeText(bytes, codePage) : QString::fromLatin1(bytes);
    } else {
        text.resize(bytes.size() / 2);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * i));
    }
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    return text;
}

qsizetype RegistryStore::Ensure(const QStringList& parts)
{
    // Parents exist as soon as a child does, as after an import.
    qsizetype at = roots_.value(Folded(parts.first()), -1);
    for (qsizetype level = 1; level < parts.size(); ++level) {
        const QString folded = Folded(parts[level]);
        qsizetype child = keys_[at].childIndex.value(folded, -1);
        if (child < 0) {
            keys_.append(RegistryKey {parts[level], {}, {}, {}, false});
            child = keys_.size() - 1;
            keys_[at].children.append(child);
            keys_[at].childIndex.insert(folded, child);
        }
        at = child;
    }
    return at;
}

qsizetype RegistryStore::Locate(const QStringList& parts) const
{
    qsizetype at = roots_.value(Folded(parts.first()), -1);
    for (qsizetype level = 1; at >= 0 && level < parts.size(); ++level)
        at = keys_[at].childIndex.value(Folded(parts[level]), -1);
    return at;
}

void RegistryStore::DeleteTree(const QStringList& parts)
{
    if (parts.size() < 2)
        return; // root keys stay
    const qsizetype parent = Locate(parts.mid(0, parts.size() - 1));
    if (parent < 0)
        return;
    // Unlinked from its parent, the key and everything below it can no longer
    // be reached; a later line naming it makes a new, empty key.
    QHash<QString, qsizetype>& siblings = keys_[parent].childIndex;
    const auto found = siblings.constFind(Folded(parts.last()));
    if (found == siblings.constEnd())
        return;
    keys_[*found].deleted = true;
    siblings.erase(found);
}

const RegistryKey* RegistryStore::Find(const QString& fullPath) const
{
    const std::optional<QStringList> parts = KeyPathParts(fullPath);
    const qsizetype at = parts ? Locate(*parts) : -1;
    return at < 0 ? nullptr : &keys_[at];
}

QStringList RegistryStore::SubKeyNames(const QString& fullPath) const
{
    QStringList names;
    if (const RegistryKey* key = Find(fullPath)) {
        for (const qsizetype child : key->children)
            if (!keys_[child].deleted)
                names.append(keys_[child].name);
    }
    return names;
}

// ---------------------------------------------------------------------------

QString RegistryFileName()
{
    const char* configured = std::getenv("STEWARD_REGISTRY");
    if (configured && *configured)
        return QString::fromLocal8Bit(configured);
    return QStringLiteral("/etc/steward/registry.reg");
}

TRegistry::TRegistry()
    : TRegistry(RegistryFileName())
{
}

TRegistry::TRegistry(const QString& fileName)
    : fileName_(fileName)
{
}

TRegistry::~TRegistry() = default;

const RegistryStore* TRegistry::Store()
{
    if (!store_)
        store_ = std::make_unique<RegistryStore>(fileName_);
    return store_->Usable() ? store_.get() : nullptr;
}

QString TRegistry::LastError()
{
    Store();
    return store_->LastError();
}

QString TRegistry::FullPath(const QString& key) const
{
    QString path = RootKey == Root::LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE")
                                                 : QStringLiteral("HKEY_CURRENT_USER");
    if (!key.startsWith(QLatin1Char('\\')) && !currentPath_.isEmpty())
        path += QLatin1Char('\\') + currentPath_;
    path += QLatin1Char('\\') + key;
    return NormalizedKeyPath(path).value_or(QString());
}

bool TRegistry::OpenKeyReadOnly(const QString& key)
{
    const RegistryStore* store = Store();
    const QString path = FullPath(key);
    if (!store || !store->Find(path))
        return false;
    // Below the root, without its name.
    const qsizetype slash = path.indexOf(QLatin1Char('\\'));
    currentPath_ = slash < 0 ? QString() : path.mid(slash + 1);
    return true;
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    Q_UNUSED(canCreate); // nothing can be created in a read-only store
    return OpenKeyReadOnly(key);
}

void TRegistry::CloseKey()
{
    currentPath_.clear();
}

bool TRegistry::KeyExists(const QString& key)
{
    const RegistryStore* store = Store();
    return store && store->Find(FullPath(key));
}

QString TRegistry::CurrentPath() const
{
    return currentPath_;
}

namespace {

const RegistryValue* FindValue(const RegistryKey* key, const QString& name)
{
    if (!key)
        return nullptr;
    for (const RegistryValue& value : key->values) {
        if (value.name.compare(name, Qt::CaseInsensitive) == 0)
            return &value;
    }
    return nullptr;
}

} // namespace

bool TRegistry::ValueExists(const QString& name)
{
    const RegistryStore* store = Store();
    return store && FindValue(store->Find(FullPath(QString())), name);
}

QString TRegistry::ReadString(const QString& name)
{
    const RegistryStore* store = Store();
    const RegistryValue* value = store ? FindValue(store->Find(FullPath(QString())), name) : nullptr;
    if (!value)
        return {};
    switch (value->kind) {
    case ValueKind::String:
    case ValueKind::ExpandString:
        return value->text;
    case ValueKind::DWord:
        return QString::number(value->dword);
    default:
        return {};
    }
}

int TRegistry::ReadInteger(const QString& name)
{
    const RegistryStore* store = Store();
    const RegistryValue* value = store ? FindValue(store->Find(FullPath(QString())), name) : nullptr;
    if (value && value->kind == ValueKind::DWord)
        return static_cast<int>(value->dword);
    if (value && (value->kind == ValueKind::String || value->kind == ValueKind::ExpandString)) {
        bool ok = false;
        const int number = value->text.trimmed().toInt(&ok);
        if (ok)
            return number;
    }
    throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

QStringList TRegistry::GetValueNames()
{
    const RegistryStore* store = Store();
    const RegistryKey* key = store ? store->Find(FullPath(QString())) : nullptr;
    QStringList names;
    if (key) {
        for (const RegistryValue& value : key->values)
            names.append(value.name);
    }
    return names;
}

QStringList TRegistry::GetKeyNames()
{
    const RegistryStore* store = Store();
    return store ? store->SubKeyNames(FullPath(QString())) : QStringList();
}
