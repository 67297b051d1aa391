// The demo company database: master data, change slips with their lines, and
// sign-off records, all from one seeded generator.
#include "suite/appserver/DemoHome.h"

#include "common/ProgramDescriptor.h"

#include "suite/appserver/Catalogue.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/PasswordHash.h"
#include "suite/appserver/PgSchema.h"
#include "suite/appserver/UserPasswords.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <random>

namespace {

const QString company = QStringLiteral("HV01");
const QString asterisks = QStringLiteral("********************");
// Rows a table gathers before they go to the database in one load.
constexpr int batchRows = 5000;

using Words = QHash<QString, QList<QStringList>>;

Words readWords()
{
    Words words;
    QString section;
    const QStringList lines = AppServerResource(QStringLiteral("demo-words.txt")).split(u'\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']'))
            section = line.mid(1, line.size() - 2);
        else
            words[section] << line.split(u'|');
    }
    return words;
}

QString d8(const QDate& d)
{
    return d.toString(QStringLiteral("yyyyMMdd"));
}

class Generator {
public:
    Generator(TDbBackend& db, const TDemoOptions& options)
        : db_(db)
        , options_(options)
        , rng_(options.Seed)
        , words_(readWords())
    {
    }

    TDemoSummary Run()
    {
        masterData();
        users();
        settings();
        programs();
        slips();
        for (Batch& b : batches_)
            flush(b);
        return summary_;
    }

private:
    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
    bool chance(int percent) { return pick(100) < percent; }
    const QList<QStringList>& list(const char* name) const
    {
        static const QList<QStringList> none;
        const auto it = words_.constFind(QString::fromLatin1(name));
        return it == words_.constEnd() ? none : *it;
    }
    QString code(const char* name, int i) const { return list(name)[i % list(name).size()][0]; }
    QString personName() { return list("surnames")[pick(10)][0] + list("given_names")[pick(10)][0]; }

    // Rows of one table with one column list, in the order they were made.
    struct Batch {
        QString table;
        QStringList columns;
        QList<VariantList> rows;
    };

    void insert(const QString& table, const QStringList& columns, const VariantList& values)
    {
        Batch& b = batches_[table + u'|' + columns.join(u',')];
        if (b.columns.isEmpty()) {
            b.table = table;
            b.columns = QStringList {QStringLiteral("COMPANY"), QStringLiteral("CREATOR"),
                            QStringLiteral("CREATE_DATE"), QStringLiteral("FLAG")}
                + columns;
        }
        VariantList row {company, QStringLiteral("DS"), QStringLiteral("20200101"), 1};
        row += values;
        b.rows << row;
        if (b.rows.size() >= batchRows)
            flush(b);
    }

    void flush(Batch& b)
    {
        db_.InsertRows(b.table, b.columns, b.rows);
        b.rows.clear();
    }

    void codeTable(const QString& table, const QString& prefix, const char* words)
    {
        for (const QStringList& w : list(words))
            insert(table, {prefix + QStringLiteral("001"), prefix + QStringLiteral("002")}, {w[0], w[1]});
    }

    void masterData()
    {
        const QStringList& c = list("companies")[0];
        insert(QStringLiteral("CMSML"),
            {QStringLiteral("ML001"), QStringLiteral("ML002"), QStringLiteral("ML003"),
                QStringLiteral("ML004"), QStringLiteral("ML005"), QStringLiteral("ML006"),
                QStringLiteral("ML007"), QStringLiteral("ML008")},
            {c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]});
        codeTable(QStringLiteral("CMSMB"), QStringLiteral("MB"), "factories");
        codeTable(QStringLiteral("CMSMC"), QStringLiteral("MC"), "warehouses");
        codeTable(QStringLiteral("CMSMD"), QStringLiteral("MD"), "workcentres");
        codeTable(QStringLiteral("CMSMW"), QStringLiteral("MW"), "processes");
        for (const QStringList& w : list("packings"))
            insert(QStringLiteral("CMSNA"),
                {QStringLiteral("NA001"), QStringLiteral("NA002"), QStringLiteral("NA003")},
                {QStringLiteral("1"), w[0], w[1]});
        const QList<QStringList>& names = list("supplier_names");
        for (int i = 0; i < names.size() * 2; ++i) {
            const QString no = QStringLiteral("S%1").arg(i + 1, 4, 10, QLatin1Char('0'));
            const QString name
                = names[i % names.size()][0] + (i >= names.size() ? QStringLiteral("二厂") : QString());
            insert(QStringLiteral("PURMA"),
                {QStringLiteral("MA001"), QStringLiteral("MA002"), QStringLiteral("MA003"),
                    QStringLiteral("MA008"), QStringLiteral("MA010"), QStringLiteral("MA011"),
                    QStringLiteral("MA013"), QStringLiteral("MA014"), QStringLiteral("MA015"),
                    QStringLiteral("MA046")},
                {no, name, name + QStringLiteral("有限公司"),
                    QStringLiteral("0512-6%1").arg(1000000 + i * 7919),
                    QStringLiteral("0512-6%1").arg(2000000 + i * 7919),
                    QStringLiteral("sales%1@supplier%1.example.com").arg(i + 1), personName(),
                    QStringLiteral("江苏省苏州市吴中区工业路%1号").arg(10 + i), QStringLiteral("215100"),
                    QStringLiteral("9132050%1").arg(10000000 + i)});
        }
        const QList<QStringList>& customers = list("customer_names");
        for (int i = 0; i < customers.size(); ++i)
            insert(QStringLiteral("COPMA"),
                {QStringLiteral("MA001"), QStringLiteral("MA002"), QStringLiteral("MA003")},
                {QStringLiteral("C%1").arg(i + 1, 4, 10, QLatin1Char('0')), customers[i][0],
                    customers[i][0] + QStringLiteral("股份有限公司")});
        const QList<QStringList>& nouns = list("item_nouns");
        const QList<QStringList>& materials = list("item_materials");
        for (int i = 0; i < 300; ++i) {
            const QString item = QStringLiteral("30%1").arg(1000001 + i);
            items_ << QStringList {item,
                materials[i % materials.size()][0] + nouns[(i / materials.size()) % nouns.size()][0],
                QStringLiteral("Φ%1×%2").arg(10 + i % 40).arg(20 + (i * 7) % 80),
                list("units")[i % list("units").size()][0]};
            insert(QStringLiteral("INVMB"),
                {QStringLiteral("MB001"), QStringLiteral("MB002"), QStringLiteral("MB003"),
                    QStringLiteral("MB004")},
                {items_.last()[0], items_.last()[1], items_.last()[2], items_.last()[3]});
        }
        for (int o = 0; o < 200; ++o) {
            const QString no = QStringLiteral("2024%1").arg(1000001 + o);
            const QString customer
                = QStringLiteral("C%1").arg(o % customers.size() + 1, 4, 10, QLatin1Char('0'));
            insert(QStringLiteral("COPTC"),
                {QStringLiteral("TC001"), QStringLiteral("TC002"), QStringLiteral("TC003"),
                    QStringLiteral("TC004"), QStringLiteral("TC012")},
                {QStringLiteral("A220"), no, QStringLiteral("20240101"), customer,
                    QStringLiteral("PO-%1").arg(88000 + o)});
            for (int l = 1; l <= 3; ++l) {
                const QStringList& item = items_[(o * 3 + l) % items_.size()];
                const QString customerItem
                    = QStringLiteral("CI-%1-%2").arg(o % customers.size()).arg(item[0]);
                insert(QStringLiteral("COPTD"),
                    {QStringLiteral("TD001"), QStringLiteral("TD002"), QStringLiteral("TD003"),
                        QStringLiteral("TD004"), QStringLiteral("TD014"), QStringLiteral("TD008")},
                    {QStringLiteral("A220"), no, QStringLiteral("%1").arg(l, 4, 10, QLatin1Char('0')),
                        item[0], customerItem, 100 * l});
                if (!customerItems_.contains(customer + u'|' + item[0] + u'|' + customerItem)) {
                    customerItems_.insert(customer + u'|' + item[0] + u'|' + customerItem);
                    insert(QStringLiteral("COPMG"),
                        {QStringLiteral("MG001"), QStringLiteral("MG002"), QStringLiteral("MG003"),
                            QStringLiteral("MG005"), QStringLiteral("MG006")},
                        {customer, item[0], customerItem, QStringLiteral("客户品名") + item[1], item[2]});
                }
            }
        }
    }

    void users()
    {
        const QStringList mf {QStringLiteral("MF001"), QStringLiteral("MF002"), QStringLiteral("MF004"),
            QStringLiteral("MF005"), QStringLiteral("MF006")};
        insert(QStringLiteral("ADMMF"), mf,
            {"DS", QStringLiteral("系统管理员"), "ADMIN", "Y", "ds@hv01.example.com"});
        insert(QStringLiteral("ADMMF"), mf,
            {"CHEN", QStringLiteral("陈建国"), "PMC", "N", "chen@hv01.example.com"});
        insert(
            QStringLiteral("ADMMF"), mf, {"LIU", QStringLiteral("刘敏"), "PMC", "N", "liu@hv01.example.com"});
        insert(QStringLiteral("ADMMF"), mf,
            {"WANG", QStringLiteral("王磊"), "F01", "N", "wang@hv01.example.com"});
        // The users' rights in each program come with the program (programs()).
        const QStringList mr {QStringLiteral("MR001"), QStringLiteral("MR002"), QStringLiteral("MR003"),
            QStringLiteral("MR004"), QStringLiteral("MR005")};
        insert(QStringLiteral("ADMMR"), mr, {"WANG", "*", "PURMA", "PURMA.MA001 <> 'S0001'", "1"});
    }

    void settings()
    {
        const QStringList sp {QStringLiteral("SP001"), QStringLiteral("SP002"), QStringLiteral("SP003")};
        const QList<QStringList> params {{"Sys001", "1"}, {"Sys002", "/"}, {"Sys024", "3"}, {"Sys026", "1"},
            {"Sys042", "Y"}, {"Sys060", "Y"}, {"Sys174", "N"}, {"HVN002", ""}, {"SYS007", ""}, {"SYS008", ""},
            {"SYS009", ""}, {"SYS010", ""}};
        for (const QStringList& p : params)
            insert(QStringLiteral("ADMSP"), sp, {company, p[0], p[1]});
        const QStringList mq {QStringLiteral("MQ001"), QStringLiteral("MQ002"), QStringLiteral("MQ003"),
            QStringLiteral("MQ004"), QStringLiteral("MQ005"), QStringLiteral("MQ006"),
            QStringLiteral("MQ007"), QStringLiteral("MQ008"), QStringLiteral("MQ009"),
            QStringLiteral("MQ010"), QStringLiteral("MQ011"), QStringLiteral("MQ012"),
            QStringLiteral("MQ013"), QStringLiteral("MQ014")};
        insert(QStringLiteral("CMSMQ"), mq,
            {"A511", QStringLiteral("厂内工单变更单"), "51", "F01", "Y", "TIDEWS", "N", "N", "N", "", "Y", "",
                "Y", "MOCI05"});
        insert(QStringLiteral("CMSMQ"), mq,
            {"A512", QStringLiteral("重工工单变更单"), "51", "F02", "Y", "S01", "Y", "N", "N", "", "Y", "",
                "N", ""});
        insert(QStringLiteral("CMSMQ"), mq,
            {"A521", QStringLiteral("委外工单变更单"), "52", "F01", "N", "S02", "Y", "Y", "Y", "", "Y", "",
                "Y", ""});
        insert(QStringLiteral("CMSMQ"), mq,
            {"A311", QStringLiteral("一般采购单"), "31", "", "Y", "", "Y", "N", "N", "", "Y", "", "Y", ""});
        const QStringList ms {QStringLiteral("MS001"), QStringLiteral("MS002"), QStringLiteral("MS003"),
            QStringLiteral("MS004"), QStringLiteral("MS005")};
        insert(QStringLiteral("CMSMS"), ms,
            {"1", "F01", QStringLiteral("1. 请于收到变更单后三日内回复确认。"),
                QStringLiteral("2. 如有疑问请与生管课联系。"), QStringLiteral("3. 本单一式三联。")});
        insert(QStringLiteral("CMSMS"), ms,
            {"1", "F02", QStringLiteral("重工品须另行标识。"), QStringLiteral("重工完成后送品保检验。"), ""});
        insert(QStringLiteral("CMSMS"), ms,
            {"2", "S01", QStringLiteral("核准:"), QStringLiteral("审核:"), QStringLiteral("制单:")});
        insert(QStringLiteral("CMSMS"), ms,
            {"2", "S02", QStringLiteral("厂长:"), QStringLiteral("采购:"), QStringLiteral("委外承办:")});
        insert(QStringLiteral("CMSMS"), ms,
            {"2", "TIDEWS", QStringLiteral("签核资料由工作流程系统提供"), "", ""});
        for (QString line : AppServerResource(QStringLiteral("messages.txt")).split(u'\n')) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const QStringList f = line.split(u'|');
            insert(QStringLiteral("MSGCHT"),
                {QStringLiteral("MSGTYPE"), QStringLiteral("MSGID"), QStringLiteral("MSGTEXT")},
                {f[0], f[1], f.mid(2).join(u'|')});
        }
    }

    // The rows each known program asks for (its users' rights, its
    // catalogue rows): a program brings what it needs, so adding one leaves
    // this generator alone.
    void programs()
    {
        for (const TProgramDescriptor& program : KnownPrograms()) {
            for (const TDemoRow& row : program.DemoRows) {
                QStringList columns;
                VariantList values;
                for (const auto& [column, value] : row.Values) {
                    columns << column;
                    values << value;
                }
                insert(row.Table, columns, values);
            }
        }
    }

    void slips();
    void slip(const QString& type, const QString& number, const QString& version, const QDate& date);
    void lines(const QString& type, const QString& number, const QString& version, const QDate& date);
    void signOff(
        const QString& type, const QString& number, const QString& version, const QDate& approved, bool done);

    TDbBackend& db_;
    TDemoOptions options_;
    std::mt19937 rng_;
    Words words_;
    QList<QStringList> items_; // code, name, size and model (规格), unit
    QSet<QString> customerItems_;
    TDemoSummary summary_;
    QHash<QString, Batch> batches_; // by table and column list
};

void Generator::slips()
{
    const int total = std::max(0, options_.Slips);
    const int span = std::clamp(total / 50, 60, 1826);
    const QDate first = QDate(2024, 12, 31).addDays(-(span - 1));
    QHash<QString, int> sequence; // type + date -> last number
    for (int i = 0; i < total;) {
        const QDate date = first.addDays(static_cast<qint64>(i) * span / std::max(total, 1));
        const int r = pick(100);
        const QString type = r < 40 ? QStringLiteral("A511")
            : r < 65                ? QStringLiteral("A512")
                                    : QStringLiteral("A521");
        const int seq = ++sequence[type + d8(date)];
        const QString number = d8(date) + QStringLiteral("%1").arg(seq, 3, 10, QLatin1Char('0'));
        const int versions = (chance(15) && i + 1 < total) ? 2 : 1;
        for (int v = 1; v <= versions; ++v, ++i)
            slip(type, number, QStringLiteral("%1").arg(v, 4, 10, QLatin1Char('0')), date.addDays(v - 1));
    }
}

void Generator::slip(const QString& type, const QString& number, const QString& version, const QDate& date)
{
    static const QStringList columns
        = QStringLiteral("TO001 TO002 TO003 TO004 TO005 TO105 TO006 TO106 TO007 TO107 TO009 TO109 TO010 "
                         "TO110 TO012 TO112 TO013 TO113 "
                         "TO014 TO114 TO017 TO117 TO021 TO121 TO022 TO122 TO023 TO123 TO024 TO124 TO025 "
                         "TO125 TO026 TO027 TO126 TO127 "
                         "TO028 TO029 TO030 TO128 TO129 TO130 TO033 TO133 TO035 TO135 TO036 TO136 TO041 "
                         "TO042 TO043 TO044 TO048 TO148 "
                         "TO051 TO151 TO053 TO055 TO155 TO069 TO169 TO070 TO170 UDF01")
              .split(u' ');
    const QStringList& item = items_[pick(items_.size())];
    const QDate opened = date.addDays(-10 - pick(20));
    const QDate due = opened.addDays(30 + pick(30));
    const QDate newDue = chance(40) ? due.addDays(pick(15) + 1) : due;
    const QDate start = opened.addDays(3);
    const double qty = 100.0 * (1 + pick(50));
    const double newQty = chance(50) ? qty + 50.0 * (1 + pick(10)) : qty;
    const double price = 5.0 + pick(9500) / 100.0;
    const QString factory = code("factories", pick(3));
    const QString warehouse = code("warehouses", pick(8));
    const QString newWarehouse = chance(20) ? code("warehouses", pick(8)) : warehouse;
    const QString centre
        = type == QLatin1String("A521") ? QStringLiteral("C10") : code("workcentres", pick(9));
    const int suppliers = list("supplier_names").size() * 2;
    const QString supplier = QStringLiteral("S%1").arg(pick(suppliers) + 1, 4, 10, QLatin1Char('0'));
    const QString newSupplier = type == QLatin1String("A521") && chance(25)
        ? QStringLiteral("S%1").arg(pick(suppliers) + 1, 4, 10, QLatin1Char('0'))
        : supplier;
    const bool order = chance(70);
    const int orderNo = pick(200);
    const QString orderNumber = QStringLiteral("2024%1").arg(1000001 + orderNo);
    const QString orderLine = QStringLiteral("%1").arg(1 + pick(3), 4, 10, QLatin1Char('0'));
    const int status = pick(100);
    const QString approval = status < 70 ? QStringLiteral("Y")
        : status < 90                    ? QStringLiteral("N")
                                         : QStringLiteral("V");
    const bool approved = approval == QLatin1String("Y");
    const QDate approvedOn = date.addDays(pick(3));
    const int printed = approved && chance(50) ? 1 + pick(3) : 0;
    const QString packing = code("packings", pick(6));
    const QString remark = list("remarks")[pick(list("remarks").size())][0];
    const QString workOrder = d8(opened) + QStringLiteral("%1").arg(1 + pick(99), 3, 10, QLatin1Char('0'));
    const QString approver = approved ? QStringLiteral("CHEN") : QString();
    const VariantList values {type, number, version, d8(date), item[0], item[0], d8(opened), d8(opened),
        d8(due), d8(newDue), item[1], item[1], item[2], item[2], d8(start), d8(start), Variant::Null(),
        Variant::Null(), QStringLiteral("1"), QStringLiteral("1"), item[3], item[3], factory, factory,
        warehouse, newWarehouse, centre, centre, price, price, price * qty, price * newQty,
        QStringLiteral("A510"), workOrder, QStringLiteral("A510"), workOrder,
        order ? Variant(QStringLiteral("A220")) : Variant::Null(),
        order ? Variant(orderNumber) : Variant::Null(), order ? Variant(orderLine) : Variant::Null(),
        order ? Variant(QStringLiteral("A220")) : Variant::Null(),
        order ? Variant(orderNumber) : Variant::Null(), order ? Variant(orderLine) : Variant::Null(),
        supplier, newSupplier, qty, newQty, 0.0, 0.0, approval, printed,
        approved ? Variant(d8(approvedOn)) : Variant(QString()), approver, 20.0, 20.0, packing, packing,
        printed > 0 && chance(30) ? 1 : 0, remark, remark, packing, packing, 0.05, 0.05, QString()};
    insert(QStringLiteral("MOCTO"), columns, values);
    ++summary_.Slips;
    lines(type, number, version, date);
    if (type == QLatin1String("A511") && approval != QLatin1String("V"))
        signOff(type, number, version, approvedOn, approved);
}

void Generator::lines(const QString& type, const QString& number, const QString& version, const QDate& date)
{
    static const QStringList columns = QStringLiteral(
        "TP001 TP002 TP003 TP019 TP004 TP104 TP005 TP105 TP006 TP106 TP007 TP107 TP008 TP108 TP010 "
        "TP110 TP012 TP112 TP013 TP113 TP014 TP114 TP016 TP116 TP018 TP118")
                                           .split(u' ');
    const int count = 1 + pick(15);
    for (int n = 1; n <= count; ++n) {
        const int kind = pick(10); // 0-5 replace, 6-7 add, 8-9 remove
        const QStringList& before = items_[pick(items_.size())];
        const QStringList& after = kind < 6 ? items_[pick(items_.size())] : before;
        const bool hasBefore = kind < 6 || kind >= 8;
        const bool hasAfter = kind < 8;
        const double qty = 10.0 * (1 + pick(20));
        const QString process = code("processes", pick(12));
        const QString warehouse = code("warehouses", pick(8));
        auto b = [&](const Variant& v) { return hasBefore ? v : Variant(QString()); };
        auto a = [&](const Variant& v) { return hasAfter ? v : Variant(QString()); };
        const VariantList values {type, number, version, QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')),
            hasBefore ? before[0] : asterisks, a(after[0]), b(before[1]), a(after[1]), b(before[2]),
            a(after[2]), b(process), a(process), hasBefore ? Variant(qty) : Variant::Null(),
            hasAfter ? Variant(qty * (kind < 6 ? 1.5 : 1.0)) : Variant::Null(), b(warehouse), a(warehouse),
            QStringLiteral("1"), QStringLiteral("1"), 0.0, 0.0, b(before[3]), a(after[3]), b(d8(date)),
            a(d8(date.addDays(5))), QString(), QString()};
        insert(QStringLiteral("MOCTP"), columns, values);
        ++summary_.Lines;
    }
}

void Generator::signOff(
    const QString& type, const QString& number, const QString& version, const QDate& approved, bool done)
{
    static const QStringList columns = QStringLiteral("MD001 MD002 MD003 MD004 MD005 MD006 MD007 MD008 MD009 "
                                                      "MD010 MD011 MD012 MD013 MD014 MD015 MD016 MD017")
                                           .split(u' ');
    static const QStringList roles {QStringLiteral("申请"), QStringLiteral("审核"), QStringLiteral("核准")};
    const int steps = done ? 2 + pick(2) : 1;
    for (int s = 1; s <= steps; ++s) {
        const QString person = personName();
        const QString id = QStringLiteral("E%1").arg(1000 + pick(50));
        const QString received = approved.toString(QStringLiteral("yyyy/MM/dd"))
            + QStringLiteral(" %1:%2:00")
                  .arg(8 + s, 2, 10, QLatin1Char('0'))
                  .arg(pick(60), 2, 10, QLatin1Char('0'));
        const QString signedAt = done ? approved.toString(QStringLiteral("yyyy/MM/dd"))
                + QStringLiteral(" %1:%2:00")
                      .arg(9 + s, 2, 10, QLatin1Char('0'))
                      .arg(pick(60), 2, 10, QLatin1Char('0'))
                                      : QString();
        const QString state = !done ? QStringLiteral("待签")
            : s == steps            ? QStringLiteral("核准")
                                    : QStringLiteral("同意");
        const VariantList values {type, number, version, QString(), s, roles[std::min(s, 3) - 1], received,
            signedAt, state, id, person, done ? Variant(id) : Variant(QString()), done ? person : QString(),
            QStringLiteral("D0%1").arg(s), list("titles")[pick(5)][0],
            done ? QStringLiteral("同意") : QString(), QStringLiteral("1")};
        insert(QStringLiteral("TWSMD"), columns, values);
        ++summary_.SignOffRecords;
    }
}

} // namespace

QString DemoPassword(const QString& user)
{
    return user.trimmed().toLower() + QStringLiteral("-demo");
}

QString DemoLogins(const TDemoSummary& summary)
{
    QStringList logins;
    for (const QString& user : summary.Users)
        logins << user + u' ' + DemoPassword(user);
    return logins.join(QStringLiteral(", "));
}

TDemoSummary FillDemoDatabase(TDbBackend& db, const TDemoOptions& options)
{
    const QString schema = AppServerResource(QStringLiteral("erp-sqlite.sql"));
    const bool postgres = db.Kind() == QLatin1String("POSTGRESQL");
    db.ExecuteScript(postgres ? PostgresSchema(schema) : schema);
    TDbTransaction tx(db);
    TDemoSummary summary = Generator(db, options).Run();
    tx.Commit();
    // Published passwords guard nothing: the cheapest cost the hash takes
    // keeps making demo homes quick.
    constexpr TScryptCost demoCost {10, 8, 1};
    for (const char* user : {"DS", "CHEN", "LIU", "WANG"}) {
        userpasswords::SetPassword(db, QLatin1String(user), DemoPassword(QLatin1String(user)), demoCost);
        summary.Users << QLatin1String(user);
    }
    appserver::InstallMessageCatalogue(db);
    if (!postgres) {
        db.ExecuteScript(QStringLiteral("ANALYZE"));
        return summary;
    }
    // The tables of this schema only: other companies may share the database.
    QStringList tables;
    static const QRegularExpression create(QStringLiteral("CREATE TABLE (\\w+)"));
    for (const QRegularExpressionMatch& m : create.globalMatch(schema))
        tables << db.BindTableName(m.captured(1));
    tables << db.BindTableName(QStringLiteral("MSGCAT"));
    db.ExecuteScript(QStringLiteral("ANALYZE ") + tables.join(QStringLiteral(", ")));
    return summary;
}

TDemoSummary CreateDemoDatabase(const QString& fileName, const TDemoOptions& options)
{
    QFile::remove(fileName);
    QFile::remove(fileName + QStringLiteral("-wal"));
    QFile::remove(fileName + QStringLiteral("-shm"));
    auto db = OpenBackend(QStringLiteral("SQLITE"), fileName, true);
    TDemoSummary summary = FillDemoDatabase(*db, options);
    db->ExecuteScript(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE);"));
    summary.DatabaseFile = fileName;
    return summary;
}
