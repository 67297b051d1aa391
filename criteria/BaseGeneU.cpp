#include "criteria/BaseGeneU.h"

#include "common/LibStrs.h"

#include "common/LibDates.h"
#include "criteria/SelectTypes.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace basegene {

namespace {

bool rocStyle(int style)
{
    return style == 4 || style == 5;
}

// The parts of a date text, trimmed, as numbers; false when one is not.
bool numbers(const QString& text, const QString& separator, int count, QList<int>& out)
{
    if (separator.isEmpty())
        return false;
    const QStringList parts = text.split(separator);
    if (parts.size() != count)
        return false;
    out.clear();
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok || part.trimmed().startsWith(u'-') || part.trimmed().startsWith(u'+'))
            return false;
        out << value;
    }
    return true;
}

QString pad(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// A separator inside a mask: mask characters need the escape.
QString maskLiteral(const QString& separator)
{
    static const QString special = QStringLiteral("LlAaCc09#><\\!;_");
    QString out;
    for (QChar c : separator)
        out += special.contains(c) ? QStringLiteral("\\") + c : QString(c);
    return out;
}

} // namespace

QString DateToStorage(const QString& text, int style, const QString& separator, const QString& emptyMask)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || (!emptyMask.isNull() && trimmed == emptyMask.trimmed()))
        return QString();
    QList<int> p;
    if (!numbers(trimmed, separator, 3, p))
        return text;
    int y = p[0], m = p[1], d = p[2];
    if (style == 2)
        y = p[2], m = p[0], d = p[1];
    else if (style == 3)
        y = p[2], m = p[1], d = p[0];
    else if (rocStyle(style))
        y += 1911;
    return pad(y, 4) + pad(m, 2) + pad(d, 2);
}

QString StorageToDate(const QString& yyyymmdd, int style, const QString& separator)
{
    if (yyyymmdd.trimmed().isEmpty())
        return QString();
    const double date = ParseDate8(yyyymmdd.trimmed());
    if (date == 0)
        return yyyymmdd;
    return FormatDateText(style, separator, date);
}

QString YearMonthToStorage(const QString& text, int style, const QString& separator, const QString& emptyMask)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || (!emptyMask.isNull() && trimmed == emptyMask.trimmed()))
        return QString();
    QList<int> p;
    if (!numbers(trimmed, separator, 2, p))
        return text;
    int y = p[0], m = p[1];
    if (style == 2 || style == 3)
        y = p[1], m = p[0];
    else if (rocStyle(style))
        y += 1911;
    return pad(y, 4) + pad(m, 2);
}

QString StorageToYearMonth(const QString& yyyymm, int style, const QString& separator)
{
    if (yyyymm.trimmed().isEmpty())
        return QString();
    const double date = ParseDate8(yyyymm.trimmed() + QStringLiteral("01"));
    if (date == 0)
        return yyyymm;
    return FormatYearMonthText(style, separator, date);
}

QString DateMask(int style, const QString& separator)
{
    const QString s = maskLiteral(separator.left(1));
    switch (style) {
    case 2:
    case 3:
        return QStringLiteral("!99") + s + QStringLiteral("99") + s + QStringLiteral("9999;1;_");
    case 4:
    case 5:
        // Years from 1911 have three digits since 2011, also in the two-digit style.
        return QStringLiteral("!999") + s + QStringLiteral("99") + s + QStringLiteral("99;1;_");
    default:
        return QStringLiteral("!9999") + s + QStringLiteral("99") + s + QStringLiteral("99;1;_");
    }
}

QString YearMonthMask(int style, const QString& separator)
{
    const QString s = maskLiteral(separator.left(1));
    switch (style) {
    case 2:
    case 3:
        return QStringLiteral("!99") + s + QStringLiteral("9999;1;_");
    case 4:
    case 5:
        return QStringLiteral("!999") + s + QStringLiteral("99;1;_");
    default:
        return QStringLiteral("!9999") + s + QStringLiteral("99;1;_");
    }
}

int PanelDateType(int style)
{
    return style >= 1 && style <= 5 ? style : Sel::dt_NoneCare;
}

Vcl::TMsgDlgType BoxTypeOf(const QString& kind)
{
    const QString k = kind.toUpper();
    if (k == u"C" || k == u"D" || k == u"W")
        return Vcl::mtWarning;
    if (k == u"E")
        return Vcl::mtError;
    if (k == u"I")
        return Vcl::mtInformation;
    if (k == u"Q")
        return Vcl::mtConfirmation;
    return Vcl::mtCustom;
}

Vcl::TMsgDlgButtons ButtonsOf(const QString& kind)
{
    const QString k = kind.toUpper();
    if (k == u"C" || k == u"Q" || k == u"W")
        return Vcl::TMsgDlgButtons(Vcl::mbOK) | Vcl::mbCancel;
    if (k == u"D")
        return Vcl::TMsgDlgButtons(Vcl::mbYes) | Vcl::mbNo | Vcl::mbCancel;
    return Vcl::TMsgDlgButtons(Vcl::mbOK);
}

QMap<Vcl::TMsgDlgBtn, QString> ButtonCaptionsOf(Vcl::TMsgDlgButtons buttons, const QString& uiCodePage)
{
    QMap<Vcl::TMsgDlgBtn, QString> out;
    if (uiCodePage.trimmed() == u"437")
        return out;
    static const struct {
        Vcl::TMsgDlgBtn button;
        const char* name;
    } names[] = {{Vcl::mbYes, "Yes"}, {Vcl::mbNo, "No"}, {Vcl::mbOK, "OK"}, {Vcl::mbCancel, "Cancel"},
        {Vcl::mbAbort, "Abort"}, {Vcl::mbRetry, "Retry"}, {Vcl::mbIgnore, "Ignore"}, {Vcl::mbAll, "All"},
        {Vcl::mbNoToAll, "NoToAll"}, {Vcl::mbYesToAll, "YesToAll"}, {Vcl::mbHelp, "Help"}};
    for (const auto& n : names) {
        if (!buttons.testFlag(n.button))
            continue;
        QString caption;
        ButtonCaption(QLatin1String(n.name), caption);
        if (!caption.isEmpty())
            out.insert(n.button, caption);
    }
    return out;
}

QString FormatMessage(const QString& text, const QStringList& args, bool* ok)
{
    static const QRegularExpression place(QStringLiteral("%[-0-9.]*[sdfgxXe]"));
    QString out;
    qsizetype from = 0;
    int used = 0;
    bool fits = true;
    for (auto it = place.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        from = m.capturedEnd();
        if (used >= args.size()) {
            fits = false;
            out += m.captured();
            continue;
        }
        const QString arg = args.at(used++);
        if (m.captured().endsWith(u'd')) {
            bool number = false;
            arg.trimmed().toLongLong(&number);
            fits = fits && number;
        }
        out += arg;
    }
    out += text.mid(from);
    // Arguments without a place would be lost: the caller shows them raw instead.
    if (ok)
        *ok = fits && used == args.size();
    return out;
}

MessageCode ParseMessageCode(const QString& code)
{
    QStringList parts = code.split(u';');
    MessageCode result;
    result.Kind = parts.value(0).trimmed();
    result.Id = parts.value(1).trimmed();
    result.Args = parts.mid(2, 9);
    return result;
}

QString HelpTopic(const QString& programCode)
{
    const QString code = programCode.toUpper();
    if (code.size() < 5)
        return QString();
    QString topic;
    QChar kind;
    if (code.at(3) == u'A') {
        topic = QStringLiteral("6");
        kind = code.at(4);
    } else if (code.at(3) == u'M') {
        topic = QStringLiteral("8");
        kind = code.at(4);
    } else {
        topic = QStringLiteral("1");
        kind = code.at(3);
    }
    if (kind == u'B')
        topic += u'3';
    else if (kind == u'R')
        topic += u'2';
    else
        return QString();
    return topic + code.right(2) + QStringLiteral("0000");
}

bool RequiredEntry::Checked() const
{
    if (Flag.trimmed().compare(QLatin1String("N"), Qt::CaseInsensitive) == 0)
        return false;
    bool number = false;
    Flag.trimmed().toInt(&number);
    return !number;
}

QList<RequiredEntry> ParseRequiredList(const QString& list)
{
    QList<RequiredEntry> entries;
    for (const QString& item : list.split(u',', Qt::SkipEmptyParts)) {
        const QStringList fields = item.split(u';');
        RequiredEntry entry;
        entry.Name = fields.value(0).trimmed();
        if (entry.Name.isEmpty())
            continue;
        entry.Flag = fields.value(1).trimmed();
        const int part = fields.value(2).trimmed().toInt();
        entry.Part = part >= 1 && part <= 3 ? part : 0;
        entries << entry;
    }
    return entries;
}

QString ProgramCodeOf(const QString& modulePath)
{
    QString base = QFileInfo(QString(modulePath).replace(u'\\', u'/')).completeBaseName();
    if (base.startsWith(QLatin1String("lib")))
        base = base.mid(3);
    const qsizetype dot = base.indexOf(u'.');
    if (dot >= 0)
        base = base.left(dot);
    return base.left(6).toUpper();
}

} // namespace basegene
