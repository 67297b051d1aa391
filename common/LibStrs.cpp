#include "common/LibStrs.h"

#include "runtime/system/CodePages.h"
#include "runtime/system/Exceptions.h"
#include "runtime/system/SystemFacts.h"

#include <cmath>

QString PadLeft(const QString& text, int width, QChar pad)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), pad) + text;
}

QString GetToken(const QString& text, const QString& separator, int n)
{
    if (n < 1)
        return {};
    if (separator.isEmpty())
        return n == 1 ? text : QString();
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype next = text.indexOf(separator, start);
        if (next < 0)
            return {};
        start = next + separator.size();
    }
    const qsizetype end = text.indexOf(separator, start);
    return end < 0 ? text.mid(start) : text.mid(start, end - start);
}

int CountFields(const QString& text, const QString& separator)
{
    if (text.isEmpty())
        return 0;
    if (separator.isEmpty())
        return 1;
    // Cut the way GetToken cuts: the search goes on after each separator found,
    // so separators never overlap (";;;;" holds two ";;", not three).
    int fields = 1;
    for (qsizetype at = text.indexOf(separator); at >= 0; at = text.indexOf(separator, at + separator.size()))
        ++fields;
    return fields;
}

QString ZeroPad(int width, int value)
{
    return QString::asprintf("%.*d", width, value);
}

void SplitFirst(QString& text, const QString& separator, QString& head)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0) {
        head = text;
        text.clear();
        return;
    }
    head = text.left(at);
    text.remove(0, at + separator.size());
}

QString ReplaceText(const QString& text, const QString& oldText, const QString& newText, bool trim)
{
    QString result = text;
    if (!oldText.isEmpty() && oldText.compare(newText, Qt::CaseInsensitive) != 0) {
        // When the new text holds the old one, searching again from the start
        // would find it forever: go on after the inserted text instead. Otherwise
        // the next occurrence can begin no earlier than old.size() - 1 characters
        // before the insertion, which gives the same result as a search from the start.
        const bool holdsOld = newText.contains(oldText);
        qsizetype from = 0;
        qsizetype at = 0;
        while ((at = result.indexOf(oldText, from)) >= 0) {
            result.replace(at, oldText.size(), newText);
            from = holdsOld ? at + newText.size() : qMax<qsizetype>(0, at - oldText.size() + 1);
        }
    }
    return trim ? result.trimmed() : result;
}

int CompareFloat(double x, double y)
{
    const double a = QString::number(x, 'g', 15).toDouble();
    const double b = QString::number(y, 'g', 15).toDouble();
    if (std::fabs(a - b) < 1e-10)
        return 0;
    return a < b ? -1 : 1;
}

double TextToFloatDef(const QString& text, double defaultValue)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

bool IsEmptyOrNull(const Variant& value)
{
    return value.IsEmptyOrNull();
}

bool IsLocalHost(const QString& address)
{
    return address == QLatin1String("127.0.0.1");
}

bool LookupFlag(const Variant& table, const QString& name)
{
    try {
        if (!table.IsArray())
            return false;
        if (table.DimCount() == 2) {
            const int row0 = table.LowBound(1);
            for (int c = table.LowBound(2); c <= table.HighBound(2); ++c)
                if (table.At(row0, c).ToString().compare(name, Qt::CaseInsensitive) == 0)
                    return table.At(row0 + 1, c).ToBool();
            return true;
        }
        const int row0 = table.LowBound(1);
        const Variant& names = table.At(row0);
        const Variant& flags = table.At(row0 + 1);
        for (int c = names.LowBound(1); c <= names.HighBound(1); ++c)
            if (names.At(c).ToString().compare(name, Qt::CaseInsensitive) == 0)
                return flags.At(c).ToBool();
        return true;
    } catch (const Exception&) {
        return false;
    }
}

QString PackList(const QString& prefix, const Variant& list)
{
    const QChar mark(3);
    const int count = list.At(0).ToInt();
    QString result = prefix + mark + QString::number(count) + mark;
    for (int i = 1; i <= count; ++i)
        result += list.At(i).ToString() + mark;
    return result;
}

namespace {

QString recodeText(const QString& text, int systemCodePage, int codePage)
{
    const QByteArray bytes = EncodeText(text, systemCodePage);
    // A text the system code page cannot hold would come back with "?" in
    // place of its characters; it is kept as it is rather than damaged.
    if (DecodeText(bytes, systemCodePage) != text)
        return text;
    const QString decoded = DecodeText(bytes, codePage);
    return decoded.isEmpty() ? text : decoded;
}

void recodeInPlace(Variant& value, int systemCodePage, int codePage)
{
    if (value.IsString()) {
        value = recodeText(value.ToString(), systemCodePage, codePage);
        return;
    }
    if (!value.IsArray())
        return;
    if (value.DimCount() == 1) {
        for (int i = value.LowBound(1); i <= value.HighBound(1); ++i) {
            Variant& element = value.At(i);
            if (element.IsString())
                element = recodeText(element.ToString(), systemCodePage, codePage);
            else if (element.IsArray())
                recodeInPlace(element, systemCodePage, codePage);
        }
    } else if (value.DimCount() == 2) {
        for (int r = value.LowBound(1); r <= value.HighBound(1); ++r)
            for (int c = value.LowBound(2); c <= value.HighBound(2); ++c) {
                Variant& element = value.At(r, c);
                if (element.IsString())
                    element = recodeText(element.ToString(), systemCodePage, codePage);
            }
    }
}

} // namespace

void RecodeVariant(const Variant& value, int codePage, Variant& result)
{
    Variant copy = value.Deref();
    if (!copy.IsEmptyOrNull()) {
        try {
            recodeInPlace(copy, GetACP(), codePage);
        } catch (const Exception& e) {
            WriteAlertLog(
                QStringLiteral("libstrs"), QStringLiteral("LINE[115] ") + e.Message(), QStringLiteral("D"));
        } catch (const std::exception& e) {
            WriteAlertLog(QStringLiteral("libstrs"),
                QStringLiteral("LINE[115] ") + QString::fromUtf8(e.what()), QStringLiteral("D"));
        }
    }
    result = copy;
}

void ButtonCaption(const QString& name, QString& caption)
{
    static const struct {
        QLatin1String name;
        const char16_t* caption;
    } captions[] = {
        {QLatin1String("Yes"), u"是(&Y)"},
        {QLatin1String("No"), u"否(&N)"},
        {QLatin1String("OK"), u"确定"},
        {QLatin1String("Cancel"), u"取消"},
        {QLatin1String("Abort"), u"中断(&A)"},
        {QLatin1String("Retry"), u"重试(&R)"},
        {QLatin1String("Ignore"), u"忽略(&I)"},
        {QLatin1String("All"), u"全部(&A)"},
        {QLatin1String("NoToAll"), u"全否(&o)"},
        {QLatin1String("YesToAll"), u"全是(&A)"},
        {QLatin1String("Help"), u"帮助(&H)"},
    };
    for (const auto& entry : captions)
        if (name == entry.name) {
            caption = QString::fromUtf16(entry.caption);
            return;
        }
    caption = name;
}
