#include "runtime/designer/LayoutKit.h"

#include "runtime/forms/Component.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/WholeFile.h"

#include <QFile>
#include <QRegularExpression>

namespace {

bool isHeader(const QString& trimmed)
{
    static const QRegularExpression header(
        QStringLiteral("^(object|inherited|inline)\\s+[^:\\s]+\\s*:\\s*\\S+$"),
        QRegularExpression::CaseInsensitiveOption);
    return header.match(trimmed).hasMatch();
}

// "object : TClass": a component made without a name. Nothing can refer to
// it and a reader cannot make it again, so it has no place in a layout.
bool isUnnamedObject(const QString& trimmed)
{
    static const QRegularExpression unnamed(
        QStringLiteral("^object\\s*:"), QRegularExpression::CaseInsensitiveOption);
    return unnamed.match(trimmed).hasMatch();
}

bool isWindowPlacement(const QString& trimmed)
{
    static const QRegularExpression placement(
        QStringLiteral("^(Left|Top|Width|Height|ClientWidth|ClientHeight|WindowState|Position|Visible)\\s*="),
        QRegularExpression::CaseInsensitiveOption);
    return placement.match(trimmed).hasMatch();
}

// Drops "inherited X: T" directly followed by its "end", until none is left
// (an entry whose only content was such an entry goes too).
QStringList dropEmptyInherited(QStringList lines)
{
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i + 1 < lines.size(); ++i) {
            const QString head = lines[i].trimmed();
            if (head.startsWith(QLatin1String("inherited "), Qt::CaseInsensitive) && isHeader(head)
                && lines[i + 1].trimmed().compare(QLatin1String("end"), Qt::CaseInsensitive) == 0 && i > 0) {
                lines.remove(i, 2);
                changed = true;
                break;
            }
        }
    }
    return lines;
}

} // namespace

QStringList ExtractStoredProperties(const QStringList& lines)
{
    QStringList kept;
    int objects = 0; // open object entries
    int collections = 0; // open collections ("= <" ... "end>")
    // Inside a value that spans lines: '+' for a continued string, else the
    // character that closes the list or binary value.
    QChar closer;
    int skipping = 0; // depth inside an unnamed object being left out
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (skipping > 0) {
            // Only the entry structure counts here: values of the skipped
            // entry that span lines cannot hold a line that is just "end"
            // or a header, as the writer writes them.
            if (isHeader(t) || isUnnamedObject(t))
                ++skipping;
            else if (t.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0)
                --skipping;
            continue;
        }
        if (isUnnamedObject(t)) {
            skipping = 1;
            continue;
        }
        if (!closer.isNull()) {
            kept << line;
            if (closer == u'+' ? !t.endsWith(u'+') : t.endsWith(closer))
                closer = QChar();
            continue;
        }
        if (collections > 0) {
            kept << line;
            if (t.endsWith(u'<'))
                ++collections;
            else if (t.compare(QLatin1String("end>"), Qt::CaseInsensitive) == 0)
                --collections;
            continue;
        }
        if (isHeader(t)) {
            ++objects;
            kept << line;
            continue;
        }
        if (t.compare(QLatin1String("end"), Qt::CaseInsensitive) == 0) {
            --objects;
            kept << line;
            continue;
        }
        // A property of the form itself that only places its window.
        if (objects == 1 && isWindowPlacement(t))
            continue;
        kept << line;
        if (t.endsWith(u'<'))
            ++collections;
        else if (t.endsWith(u'+'))
            closer = u'+';
        else if (t.endsWith(u'('))
            closer = u')';
        else if (t.endsWith(u'{'))
            closer = u'}';
    }
    return dropEmptyInherited(kept);
}

QString AdoptExistingComponents(const TComponent* root, const QString& text)
{
    static const QRegularExpression header(
        QStringLiteral("^(\\s*)object(\\s+)([A-Za-z_][A-Za-z0-9_]*)(\\s*:\\s*)(\\S+)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        const QRegularExpressionMatch m = header.match(line);
        if (!m.hasMatch())
            continue;
        const TComponent* existing = root->FindComponent(m.captured(3));
        if (existing && existing->ClassName().compare(m.captured(5), Qt::CaseInsensitive) == 0)
            line = m.captured(1) + QStringLiteral("inherited") + m.captured(2) + m.captured(3) + m.captured(4)
                + m.captured(5);
    }
    return lines.join(u'\n');
}

QString StoredLayoutText(TComponent* form)
{
    QStringList lines = WriteComponentDescendant(form).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    return ExtractStoredProperties(lines).join(u'\n') + u'\n';
}

void SaveFormLayoutToFile(TComponent* form, const QString& path)
{
    const QString text = StoredLayoutText(form);
    QString error;
    if (!WriteWholeFile(path, QByteArrayView(text.toUtf8()), &error))
        throw EFCreateError(error);
}

void LoadFormLayoutFromFile(TComponent* form, const QString& path)
{
    QFile file(NativePath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()));
    ReadComponent(form, AdoptExistingComponents(form, QString::fromUtf8(file.readAll())));
}
