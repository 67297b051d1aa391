#include "format/SignOffData.h"

#include "common/LibStrs.h"
#include "format/PrintTexts.h"

#include <QDateTime>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

// Sign-off table columns.
constexpr int SignedTimeColumn = 5;
constexpr int SignerNameColumn = 10;
constexpr int SignerTitleColumn = 12;
constexpr int ColumnCount = 13;
// Each value takes a fixed width on its line, so the columns of the three lines stand under each other.
constexpr int CellWidth = 14;

const char* const ColumnLabels[ColumnCount] = {
    "0:关号=", "1:支号=", "2:序号=", "3:流程角色=", "4:收件时间=", "5:签核时间=", "6:签核状态=",
    "7:收件人ID=", "8:收件人姓名=", "9:签核人ID=", "10:签核人姓名=", "11:部门职位代号=", "12:签核人职称="};

// Columns on screen: a CJK character (or a full-width form) takes two.
int displayWidth(const QString& text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += c >= 0x2E80 && !(c >= 0xFF61 && c <= 0xFFDC) ? 2 : 1;
    return width;
}

QString scalarText(const Variant& value)
{
    const Variant v = value.Deref();
    return v.IsArray() || v.IsEmptyOrNull() ? QString() : v.ToString().trimmed();
}

QString cell(const Variant& table, int column, int row)
{
    try {
        return scalarText(table.At(column, row));
    } catch (const Exception&) {
        return QString();
    }
}

bool keysMatch(const QStringList& read, const QStringList& keys)
{
    if (read.size() < keys.size())
        return false;
    for (int i = 0; i < keys.size(); ++i)
        if (read.at(i) != keys.at(i).trimmed())
            return false;
    return true;
}

// Appends a matching table's complete rows to the three lines; logs the others.
void readTable(const Variant& table, const QStringList& keys, int dateType, const QString& separator,
    const TSignOffLog& log, QStringList& lines, bool& any)
{
    if (table.DimCount() != 2)
        return;
    bool keysLogged = false;
    for (int row = table.LowBound(2); row <= table.HighBound(2); ++row) {
        const QString signedTime = cell(table, table.LowBound(1) + SignedTimeColumn, row);
        const QString name = cell(table, table.LowBound(1) + SignerNameColumn, row);
        const QString title = cell(table, table.LowBound(1) + SignerTitleColumn, row);
        if (!signedTime.isEmpty() && !name.isEmpty() && !title.isEmpty()) {
            bool valid = true;
            const QString when = SignedTimeText(signedTime, dateType, separator, &valid);
            if (!valid && log)
                log(QStringLiteral("TWWebservice"),
                    QStringLiteral("Warrning:")
                        + QStringLiteral("无法做执行StrToDateTime(mDate),改用固定位数解法!!"));
            lines[0] += title.leftJustified(CellWidth);
            lines[1] += name.leftJustified(CellWidth);
            lines[2] += when.leftJustified(CellWidth);
            any = true;
            continue;
        }
        if (!log)
            continue;
        if (!keysLogged) {
            for (int k = 0; k < keys.size(); ++k)
                log(QStringLiteral("Tidewise_ReturnValue"),
                    QStringLiteral("Key %1=%2").arg(k + 1).arg(keys.at(k)));
            keysLogged = true;
        }
        if (signedTime.isEmpty())
            log(QStringLiteral("Tidewise_ReturnValue"),
                QStringLiteral("Warrning:") + QStringLiteral("签核时间为空"));
        for (int c = 0; c < ColumnCount; ++c)
            log(QStringLiteral("Tidewise_ReturnValue"),
                QString::fromUtf8(ColumnLabels[c]) + cell(table, table.LowBound(1) + c, row));
    }
}

} // namespace

QString SignOffRequest(const QList<QStringList>& slipKeys)
{
    QString elements;
    for (const QStringList& keys : slipKeys) {
        if (keys.size() < 2 || keys.at(0).isEmpty() || keys.at(1).isEmpty())
            continue;
        QString parameters;
        if (keys.size() == 2)
            parameters = QStringLiteral(" wfParameter3='' ") + QStringLiteral(" wfParameter4='' ");
        else if (keys.size() == 3)
            parameters = QStringLiteral(" wfParameter3='") + keys.at(2) + QStringLiteral("' ")
                + QStringLiteral(" wfParameter4='' ");
        else
            for (int n = 3; n <= 4; ++n)
                parameters
                    += QStringLiteral(" wfParameter%1='").arg(n) + keys.at(n - 1) + QStringLiteral("' ");
        elements += QStringLiteral(" <Form wfProgramID='' ") + QStringLiteral(" wfFormType='") + keys.at(0)
            + QStringLiteral("' ") + QStringLiteral(" wfSheetNo ='") + keys.at(1) + QStringLiteral("' ")
            + parameters + QStringLiteral("/> \r\n");
    }
    return elements.isEmpty() ? QString()
                              : QStringLiteral("<FormSet> ") + elements + QStringLiteral("</FormSet> ");
}

QString SignedTimeText(const QString& text, int dateType, const QString& dateSeparator, bool* valid)
{
    const QString trimmed = text.trimmed();
    QDateTime moment = QDateTime::fromString(trimmed, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    if (!moment.isValid())
        moment = QDateTime::fromString(trimmed, Qt::ISODate);
    if (!moment.isValid())
        moment = QDateTime(QDate::fromString(trimmed.left(10), QStringLiteral("yyyy/MM/dd")), QTime());
    if (valid)
        *valid = moment.date().isValid();
    // Fixed positions: yyyy at 1, mm at 6, dd at 9, whatever stands between.
    const QString stamp = moment.date().isValid() ? moment.date().toString(QStringLiteral("yyyyMMdd"))
                                                  : trimmed.mid(0, 4) + trimmed.mid(5, 2) + trimmed.mid(8, 2);
    return DatePrintText(stamp, dateType, dateSeparator);
}

TSignOffLines SignOffFromArray(const Variant& answer, const QStringList& keys, int dateType,
    const QString& dateSeparator, const TSignOffCaptions& captions, const TSignOffLog& log)
{
    TSignOffLines result;
    try {
        const Variant all = answer.Deref();
        if (!all.IsArray() || all.DimCount() != 1 || keys.size() < 2)
            return result;
        const int low = all.LowBound();
        const int sets = scalarText(all.At(low)).toInt();
        QStringList lines {QString(), QString(), QString()};
        bool any = false;
        for (int s = low + 1; s <= std::min(low + sets, all.HighBound()); ++s) {
            const Variant set = all.At(s).Deref();
            if (!set.IsArray() || set.DimCount() != 1)
                continue;
            QStringList read;
            // Element 0 of a set is not a key.
            for (int e = set.LowBound() + 1; e <= set.HighBound(); ++e) {
                const Variant element = set.At(e).Deref();
                if (!element.IsArray()) {
                    read << scalarText(element);
                    continue;
                }
                if (keysMatch(read, keys)) {
                    result.Found = true;
                    readTable(element, keys, dateType, dateSeparator, log, lines, any);
                }
            }
        }
        if (result.Found) {
            const QStringList heads {captions.Titles, captions.Names, captions.Times};
            int widest = 0;
            for (const QString& head : heads)
                widest = std::max(widest, displayWidth(head));
            for (int i = 0; i < 3; ++i)
                lines[i].prepend(heads[i] + QString(widest - displayWidth(heads[i]), u' '));
            result.Lines = lines;
        }
    } catch (const Exception&) {
        result = TSignOffLines();
    }
    return result;
}

TSignOffLines SignOffFromXml(const QString& answer, const QStringList& keys, const TSignOffCaptions& captions,
    const std::function<QString(const QString&)>& display)
{
    TSignOffLines result;
    if (keys.size() < 2 || answer.trimmed().isEmpty())
        return result;
    QXmlStreamReader xml(answer);
    QString found;
    bool inForm = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Form")) {
            const auto attributes = xml.attributes();
            inForm = attributes.value(QLatin1String("wfFormType")) == keys.at(0).trimmed()
                && attributes.value(QLatin1String("wfSheetNo")) == keys.at(1).trimmed();
            if (inForm) {
                found = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                result.Found = true;
                break;
            }
        }
    }
    if (!result.Found)
        return result;
    // The answer's words are the workflow product's, in the database's
    // script; the captions are in the user's language already and are not
    // converted again.
    const QStringList items = (display ? display(found) : found).split(QStringLiteral("||"));
    QString body;
    for (int i = 0; i + 1 < items.size(); ++i)
        body += items.at(i) + QStringLiteral("\r\n");
    body += captions.FinalResult + items.last();
    result.Lines = {captions.Headings.join(QStringLiteral("  ")), body};
    return result;
}
