// The format store's pure parts: file names, the edit counter and the check
// of stored texts.
#include "format/FormatStore.h"

#include "common/LibStrs.h"
#include "runtime/forms/Component.h"
#include "runtime/forms/FormText.h"
#include "runtime/forms/PropertyAccess.h"

#include <QMetaProperty>
#include <limits>

QString LocalFormatFilePath(const QString& customPath, const QString& clientHome, int languageMode,
    const QString& className, const QString& formatName)
{
    const QString folder = customPath.isEmpty() ? clientHome + QStringLiteral("C_DATA\\") : customPath;
    const QString prefix = languageMode == 1 ? QStringLiteral("CHS_")
        : languageMode == 2                  ? QStringLiteral("CHT_")
                                             : QString();
    const QString name = formatName.trimmed();
    return folder + prefix + className + (name.isEmpty() ? QString() : u'_' + name) + QStringLiteral(".dat");
}

QString BackgroundPicturePath(
    const QString& clientHome, int languageMode, const QString& className, int pageStyle)
{
    if (languageMode != 1 && languageMode != 2)
        return QString();
    const QString upper = className.toUpper();
    const QString program = GetToken(GetToken(upper, QStringLiteral("FMT"), 1), QStringLiteral("FRM"), 2);
    const QString style = pageStyle == 1 ? QStringLiteral("H")
        : pageStyle > 1                  ? QStringLiteral("F")
                                         : QString();
    const QString qualifier = GetToken(upper, QStringLiteral("FMT"), 2);
    const QString prefix = languageMode == 1 ? QStringLiteral("CHS_") : QStringLiteral("CHT_");
    return clientHome + QStringLiteral("C_DATA\\") + prefix + program + style + qualifier
        + QStringLiteral(".emf");
}

int CounterToLock(const QString& counterText)
{
    bool ok = false;
    const int counter = counterText.trimmed().toInt(&ok);
    // The counter wraps after 999: locking with 0 makes the next one 1.
    if (!ok || counter == 999)
        return 0;
    return counter;
}

QString ConvertFormTextStrings(const QString& line, const std::function<QString(const QString&)>& convert)
{
    const auto startsCode
        = [&line](qsizetype i) { return line[i] == u'#' && i + 1 < line.size() && line[i + 1].isDigit(); };
    QString out;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] != u'\'' && !startsCode(i)) {
            out += line[i++];
            continue;
        }
        const qsizetype start = i;
        QString value;
        while (i < line.size()) {
            if (line[i] == u'\'') {
                for (++i; i < line.size(); ++i) {
                    if (line[i] != u'\'') {
                        value += line[i];
                    } else if (i + 1 < line.size() && line[i + 1] == u'\'') {
                        value += u'\'';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                }
            } else if (startsCode(i)) {
                uint code = 0;
                for (++i; i < line.size() && line[i].isDigit() && code <= 0xFFFF; ++i)
                    code = code * 10 + static_cast<uint>(line[i].digitValue());
                value += QChar(static_cast<char16_t>(code > 0xFFFF ? 0xFFFD : code));
            } else {
                break;
            }
        }
        const QString converted = convert(value);
        // One piece on one line: the stored text keeps the writer's lines.
        out += converted == value
            ? line.mid(start, i - start)
            : formtext::QuoteString(converted, QString(), std::numeric_limits<int>::max() / 2);
    }
    return out;
}

namespace {

void verifyObject(const formtext::Object& object, const QStringList& allowed)
{
    const QMetaObject* meta = FindClass(object.className);
    if (!meta)
        throw EReadError(
            QStringLiteral("Line %1: class %2 not found").arg(object.line).arg(object.className));
    for (const formtext::Property& p : object.properties) {
        if (p.name.contains(u'.') || p.value.kind != formtext::Value::Identifier)
            continue;
        for (int i = 0; i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (QString::fromLatin1(property.name()).compare(p.name, Qt::CaseInsensitive) != 0)
                continue;
            if (IsEventProperty(property) && !allowed.contains(p.value.text, Qt::CaseInsensitive))
                throw EReadError(QStringLiteral("Line %1: handler %2 of %3 is not allowed")
                                     .arg(p.line)
                                     .arg(p.value.text, p.name));
        }
    }
    for (const formtext::Object& child : object.children)
        verifyObject(child, allowed);
}

} // namespace

void VerifyStoredLayout(const QString& text, const QStringList& allowed)
{
    verifyObject(formtext::Parse(text), allowed);
}
