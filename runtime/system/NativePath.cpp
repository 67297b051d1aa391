#include "runtime/system/NativePath.h"

#include "runtime/system/SystemFacts.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cstdlib>

namespace {

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/');
}

bool IsDriveLetter(QChar c)
{
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
        || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

QString EnvText(const QByteArray& name)
{
    const char* value = std::getenv(name.constData());
    return value ? QString::fromLocal8Bit(value) : QString();
}

// Old configurations hold Windows-style absolute paths ("C:\Temp", "D:\App\").
// Taken literally they would name folders at the file-system root, where the
// program may not write; each drive therefore gets a folder of its own, which
// an installation names through $STEWARD_DRIVE_X and which otherwise lies in
// the temporary folder.
QString DriveRoot(QChar letter)
{
    const QChar upper = letter.toUpper();
    const QString configured = EnvText(QByteArray("STEWARD_DRIVE_") + char(upper.unicode()));
    if (!configured.isEmpty())
        return configured;
    return GetTempFolder() + QStringLiteral("steward-drive-") + upper.toLower();
}

// Network shares land below one folder as server/share, for the same reason.
QString UncRoot()
{
    const QString configured = EnvText("STEWARD_UNC_ROOT");
    if (!configured.isEmpty())
        return configured;
    return GetTempFolder() + QStringLiteral("steward-unc");
}

// Splits at both separators and drops empty parts (collapsing runs).
QStringList Parts(QStringView text)
{
    QStringList parts;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i == text.size() || IsSeparator(text[i])) {
            if (i > start)
                parts.append(text.mid(start, i - start).toString());
            start = i + 1;
        }
    }
    return parts;
}

// Resolves "." and ".." without climbing above the root.
QStringList Resolved(const QStringList& parts)
{
    QStringList kept;
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!kept.isEmpty())
                kept.removeLast();
            continue;
        }
        kept.append(part);
    }
    return kept;
}

QString Joined(QString root, const QStringList& parts, bool trailing)
{
    while (root.size() > 1 && root.endsWith(QLatin1Char('/')))
        root.chop(1);
    QString result = root;
    for (const QString& part : parts) {
        if (!result.isEmpty() && !result.endsWith(QLatin1Char('/')))
            result += QLatin1Char('/');
        result += part;
    }
    if (trailing && !result.endsWith(QLatin1Char('/')))
        result += QLatin1Char('/');
    return result;
}

// Position of the last character of `delimiters` in text, or -1.
qsizetype LastDelimiter(const QString& text, QStringView delimiters)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (delimiters.contains(text[i]))
            return i;
    }
    return -1;
}

constexpr QStringView kPathDelimiters = u"\\/:";
constexpr QStringView kExtDelimiters = u".\\/:";

} // namespace

QString NativePath(const QString& pathText)
{
    if (pathText.isEmpty())
        return {};
    const bool trailing = IsSeparator(pathText.back());
    const QStringView text(pathText);

    if (text.size() >= 2 && IsDriveLetter(text[0]) && text[1] == QLatin1Char(':'))
        return Joined(DriveRoot(text[0]), Resolved(Parts(text.mid(2))), trailing);

    // A UNC name starts with two backslashes; "//" stays a native absolute path.
    if (text.startsWith(u"\\\\")) {
        const QStringList parts = Parts(text);
        // Server and share are names, never "." or "..": those would leave the share folder.
        QStringList head;
        for (const QString& part : parts.mid(0, 2)) {
            if (part != QLatin1String(".") && part != QLatin1String(".."))
                head.append(part);
        }
        return Joined(Joined(UncRoot(), head, false), Resolved(parts.mid(2)), trailing);
    }

    if (IsSeparator(text[0]))
        return Joined(QStringLiteral("/"), Resolved(Parts(text)), trailing);

    // Relative: leading ".." must survive, so only collapse separators.
    return Joined(QString(), Parts(text), trailing);
}

bool FileExists(const QString& pathText)
{
    if (pathText.isEmpty())
        return false;
    const QFileInfo info(NativePath(pathText));
    return info.exists() && !info.isDir();
}

bool DirectoryExists(const QString& pathText)
{
    if (pathText.isEmpty())
        return false;
    return QFileInfo(NativePath(pathText)).isDir();
}

bool ForceDirectories(const QString& pathText)
{
    if (pathText.isEmpty())
        return false;
    const QString native = NativePath(pathText);
    return QDir().mkpath(native) && QFileInfo(native).isDir();
}

QString IncludeTrailingBackslash(const QString& pathText)
{
    if (!pathText.isEmpty() && IsSeparator(pathText.back()))
        return pathText;
    return pathText + QLatin1Char('\\');
}

QString ExcludeTrailingBackslash(const QString& pathText)
{
    if (!pathText.isEmpty() && IsSeparator(pathText.back()))
        return pathText.left(pathText.size() - 1);
    return pathText;
}

QString ExtractFilePath(const QString& pathText)
{
    return pathText.left(LastDelimiter(pathText, kPathDelimiters) + 1);
}

QString ExtractFileName(const QString& pathText)
{
    return pathText.mid(LastDelimiter(pathText, kPathDelimiters) + 1);
}

QString ExtractFileExt(const QString& pathText)
{
    const qsizetype at = LastDelimiter(pathText, kExtDelimiters);
    if (at >= 0 && pathText[at] == QLatin1Char('.'))
        return pathText.mid(at);
    return {};
}

QString ChangeFileExt(const QString& pathText, const QString& extension)
{
    qsizetype at = LastDelimiter(pathText, kExtDelimiters);
    if (at < 0 || pathText[at] != QLatin1Char('.'))
        at = pathText.size();
    return pathText.left(at) + extension;
}
