#include "suite/appserver/SignOffData.h"

#include "suite/appserver/DbBackend.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString recordQuery = QStringLiteral("SELECT MD001, MD002, MD005, MD006, MD007, MD008, MD009, MD010, "
                                           "MD011, MD012, MD013, MD014, MD015, MD016, MD017 "
                                           "FROM TWSMD WHERE MD001 = ? AND MD002 = ? AND COALESCE(MD003, '') "
                                           "= ? AND COALESCE(MD004, '') = ? ORDER BY MD005");

struct Record {
    QStringList columns; // the 13 table columns
    QString opinion;
    QString branch;
};

QList<Record> records(TDbBackend& db, const QStringList& form)
{
    QList<Record> out;
    auto c = db.Query(recordQuery, {form[0], form[1], form[2], form[3]});
    while (c->Next()) {
        Record r;
        for (int i = 0; i < 13; ++i)
            r.columns << c->Text(i);
        r.opinion = c->Text(13);
        r.branch = c->Text(14);
        out << r;
    }
    return out;
}

} // namespace

namespace SignOffData {

QList<QStringList> ParseRequest(const QString& request)
{
    QList<QStringList> forms;
    QXmlStreamReader xml(request);
    bool inSet = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("FormSet")) {
            inSet = true;
        } else if (xml.name() == QLatin1String("Form") && inSet) {
            const QXmlStreamAttributes a = xml.attributes();
            forms << QStringList {a.value(QLatin1String("wfFormType")).toString(),
                a.value(QLatin1String("wfSheetNo")).toString(),
                a.value(QLatin1String("wfParameter3")).toString(),
                a.value(QLatin1String("wfParameter4")).toString()};
        }
    }
    if (xml.hasError() || !inSet)
        throw EConvertError(QStringLiteral("not a sign-off request: %1").arg(xml.errorString()));
    return forms;
}

Variant Table(TDbBackend& db, const QString& request)
{
    const QList<QStringList> forms = ParseRequest(request);
    Variant answer = Variant::CreateArray(0, static_cast<int>(forms.size()));
    answer.At(0) = static_cast<int>(forms.size());
    for (int f = 0; f < forms.size(); ++f) {
        const QStringList& form = forms[f];
        const QList<Record> rows = records(db, form);
        VariantList set {QString(), form[0], form[1], form[2], form[3]};
        if (!rows.isEmpty()) {
            Variant table = Variant::CreateArray(0, 12, 0, static_cast<int>(rows.size()) - 1);
            for (int r = 0; r < rows.size(); ++r)
                for (int col = 0; col < 13; ++col)
                    table.At(col, r) = rows[r].columns[col];
            set << table;
        }
        answer.At(f + 1) = Variant::ArrayOf(set);
    }
    return answer;
}

QString Xml(TDbBackend& db, const QString& request)
{
    const QList<QStringList> forms = ParseRequest(request);
    QString out;
    QXmlStreamWriter xml(&out);
    xml.writeStartElement(QStringLiteral("FormSet"));
    for (const QStringList& form : forms) {
        const QList<Record> rows = records(db, form);
        QStringList items;
        for (const Record& r : rows) {
            // serial, branch, signer, title, state, signed time, opinion
            items << QStringList {r.columns[2], r.branch, r.columns[10], r.columns[12], r.columns[6],
                r.columns[5], r.opinion}
                         .join(QStringLiteral("  "));
        }
        if (!rows.isEmpty())
            items << rows.last().columns[6];
        xml.writeStartElement(QStringLiteral("Form"));
        xml.writeAttribute(QStringLiteral("wfFormType"), form[0]);
        xml.writeAttribute(QStringLiteral("wfSheetNo"), form[1]);
        xml.writeAttribute(QStringLiteral("wfParameter3"), form[2]);
        xml.writeAttribute(QStringLiteral("wfParameter4"), form[3]);
        xml.writeCharacters(items.join(QStringLiteral("||")));
        xml.writeEndElement();
    }
    xml.writeEndElement();
    return out;
}

} // namespace SignOffData
