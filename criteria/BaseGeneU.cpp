#include "criteria/BaseGeneU.h"

#include "common/LibStrs.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace basegene {

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
