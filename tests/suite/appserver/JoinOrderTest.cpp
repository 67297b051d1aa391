#include "suite/appserver/JoinOrder.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/SqlTranslator.h"
#include "support/TestSupport.h"

#include <QHash>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// Headers H (key HK), lines L (key HK + LN), look-ups T (key ID) and W (key WID).
TJoinSchema schema()
{
    static const QHash<QString, QSet<QString>> columns {
        {"H", {"HK", "HC", "HW", "HX"}},
        {"L", {"LK", "LN", "LC", "LW"}},
        {"T", {"ID", "NAME"}},
        {"W", {"WID", "WNAME"}},
    };
    static const QHash<QString, QSet<QString>> keys {
        {"H", {"HK"}}, {"L", {"LK", "LN"}}, {"T", {"ID"}}, {"W", {"WID"}}};
    TJoinSchema s;
    s.HasTable = [](const QString& table) { return columns.contains(table.toUpper()); };
    s.HasColumn = [](const QString& table, const QString& column) {
        return columns.value(table.toUpper()).contains(column.toUpper());
    };
    s.CoversUniqueKey = [](const QString& table, const QStringList& given) {
        QSet<QString> g;
        for (const QString& c : given)
            g.insert(c.toUpper());
        return keys.contains(table.toUpper()) && g.contains(keys.value(table.toUpper()));
    };
    return s;
}

QString defer(const QString& sql)
{
    return DeferFanOutJoins(sql, schema());
}

} // namespace

TEST(JoinOrderTest, LinesAndWhatHangsOnThemMoveBehindTheHeaderLookups)
{
    EXPECT_EQ(defer("SELECT H.*, L.*, A.NAME FROM H LEFT JOIN L ON LK=HK LEFT JOIN W ON W.WID=LW "
                    "LEFT JOIN T AS A ON A.ID=HC LEFT JOIN T B ON B.ID = H.HX AND B.ID='1' ORDER BY HK, LN"),
        QStringLiteral(
            "SELECT H.*, L.*, A.NAME FROM H LEFT JOIN T AS A ON A.ID=HC LEFT JOIN T B ON B.ID = H.HX "
            "AND B.ID='1' LEFT JOIN L ON LK=HK LEFT JOIN W ON W.WID=LW ORDER BY HK, LN"));
    // A look-up whose condition is not a whole key, or has an OR, may fan out too.
    EXPECT_EQ(defer("SELECT HK FROM H LEFT OUTER JOIN T ON ID=HC OR ID=HX LEFT JOIN W ON WID=HW ORDER BY HK"),
        QStringLiteral(
            "SELECT HK FROM H LEFT JOIN W ON WID=HW LEFT OUTER JOIN T ON ID=HC OR ID=HX ORDER BY HK"));
    EXPECT_EQ(
        defer(
            "SELECT HK FROM H LEFT JOIN L ON LK=HK AND LN>1 LEFT JOIN W ON WID=HW WHERE HK>'A' ORDER BY HK"),
        QStringLiteral(
            "SELECT HK FROM H LEFT JOIN W ON WID=HW LEFT JOIN L ON LK=HK AND LN>1 WHERE HK>'A' ORDER BY HK"));
}

TEST(JoinOrderTest, TextsOutsideTheShapeStayAsTheyAre)
{
    const QStringList unchanged {
        // nothing to gain
        "SELECT HK FROM H LEFT JOIN T ON ID=HC LEFT JOIN L ON LK=HK ORDER BY HK",
        // no ORDER BY: the engine's row order is all the caller has
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=HC",
        // "*" columns follow the join order
        "SELECT * FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=HC ORDER BY HK",
        // other joins
        "SELECT HK FROM H JOIN L ON LK=HK LEFT JOIN T ON ID=HC ORDER BY HK",
        "SELECT HK FROM H LEFT JOIN L ON LK=HK INNER JOIN T ON ID=HC ORDER BY HK",
        "SELECT HK FROM H, L LEFT JOIN T ON ID=HC ORDER BY HK",
        "SELECT HK FROM (SELECT * FROM H) X LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=HC ORDER BY HK",
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=HC UNION SELECT 1 ORDER BY 1",
        // a condition naming a table joined later, or a name that is no column anywhere
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=HC AND Z.WID=1 ORDER BY HK",
        // a column that two joined tables have (T joined twice, unqualified)
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T A ON ID=HC LEFT JOIN T B ON B.ID=HX ORDER BY HK",
        // a line column named in a look-up's condition in a way the schema
        // cannot place: quoted, or by the select list's name for it
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=\"LC\" ORDER BY HK",
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=L.\"LC\" ORDER BY HK",
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON T.ID=[LC] ORDER BY HK",
        "SELECT HK, LC AS X FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=X ORDER BY HK",
        "SELECT HK, L.LC X, HC FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=x ORDER BY HK",
        "SELECT HK, LC AS [X] FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=X ORDER BY HK",
        "SELECT HK, LC 'X' FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID=X ORDER BY HK",
        // a table the schema does not know (another database's, a temporary
        // one): its columns cannot be placed
        "SELECT HK FROM H LEFT JOIN main.L ON LK=HK LEFT JOIN T ON ID=LC ORDER BY HK",
        "SELECT HK FROM H LEFT JOIN Z ON Z.K=HK LEFT JOIN T ON ID=ZC ORDER BY HK",
        // parameters are taken in the order of the text
        "SELECT HK FROM H LEFT JOIN L ON LK=HK AND LN > ? LEFT JOIN T ON ID=HC AND NAME <> ? ORDER BY HK",
        // damaged texts are for the translator to report
        "SELECT HK FROM H LEFT JOIN L ON LK=HK LEFT JOIN T ON ID='open ORDER BY HK",
        "SELECT HK FROM H LEFT JOIN L ON LK=HK) LEFT JOIN T ON ID=HC ORDER BY HK",
    };
    for (const QString& sql : unchanged)
        EXPECT_EQ(defer(sql), sql);
}

TEST(JoinOrderTest, LiteralsAndCommentsAreNeverReadAsJoins)
{
    EXPECT_EQ(defer("SELECT HK FROM H LEFT JOIN L ON LK=HK AND LC<>' LEFT JOIN X ON 1=1' /* LEFT JOIN */ "
                    "LEFT JOIN T ON ID=HC -- ORDER\n ORDER BY HK"),
        QStringLiteral(
            "SELECT HK FROM H LEFT JOIN T ON ID=HC -- ORDER\n LEFT JOIN L ON LK=HK AND LC<>' LEFT JOIN X "
            "ON 1=1' /* LEFT JOIN */ ORDER BY HK"));
}

TEST(JoinOrderTest, TheEngineReturnsTheSameRowsInTheSameOrder)
{
    testsupport::TempFolder folder;
    auto db = OpenBackend(QStringLiteral("SQLITE"), folder.file(QStringLiteral("j.db")), true);
    db->ExecuteScript(QStringLiteral(
        "CREATE TABLE H (HK TEXT PRIMARY KEY, HC TEXT, HW TEXT, HX TEXT);"
        "CREATE TABLE L (LK TEXT, LN INTEGER, LC TEXT, LW TEXT, PRIMARY KEY (LK, LN));"
        "CREATE TABLE T (ID TEXT PRIMARY KEY, NAME TEXT);"
        "CREATE TABLE W (WID INTEGER PRIMARY KEY, WNAME TEXT);"
        "INSERT INTO H VALUES ('A','t1','1',NULL),('B','t9','2','t2'),('C',NULL,NULL,'t1');"
        "INSERT INTO L VALUES ('A',2,'x','1'),('A',1,'y','9'),('C',1,NULL,'2'),('C',3,'z',NULL);"
        "INSERT INTO T VALUES ('t1','one'),('t2','two');"
        "INSERT INTO W VALUES (1,'w1'),(2,'w2');"));
    const QString sql = QStringLiteral(
        "SELECT H.HK, L.LN, A.NAME, B.NAME AS N2, WNAME FROM H LEFT JOIN L ON LK=HK LEFT JOIN W ON WID=LW "
        "LEFT JOIN T AS A ON A.ID=HC LEFT JOIN T AS B ON B.ID=HX ORDER BY HK, LN");
    const TSqlDialect dialect = DialectOf(*db);
    const QString translated = TranslateSql(sql, dialect);
    ASSERT_NE(translated, sql); // the engine's schema makes W a look-up of the lines
    EXPECT_LT(translated.indexOf(QLatin1String("T AS B")), translated.indexOf(QLatin1String("JOIN L ")));
    EXPECT_LT(translated.indexOf(QLatin1String("JOIN L ")), translated.indexOf(QLatin1String("JOIN W ")));
    auto rows = [&](const QString& text) {
        QStringList out;
        auto c = db->Query(text);
        while (c->Next())
            out << QStringList {c->Text(0), c->Text(1), c->Text(2), c->Text(3), c->Text(4)}.join(u'|');
        return out;
    };
    const QStringList expected {"A|1|one||", "A|2|one||w1", "B|||two|", "C|1||one|w2", "C|3||one|"};
    EXPECT_EQ(rows(sql), expected);
    EXPECT_EQ(rows(translated), expected);

    // Look-ups on a line column the schema cannot place keep running behind
    // the lines: moved ahead, the engine refuses the statement.
    db->ExecuteScript(QStringLiteral("UPDATE L SET LC='t2' WHERE LN=2;"));
    const QStringList onLines {"A|1|||", "A|2|two||w1", "B||||", "C|1|||w2", "C|3|||"};
    for (const QString& named : {QStringLiteral("\"LC\""), QStringLiteral("L.[LC]"), QStringLiteral("X")}) {
        const QString text
            = QStringLiteral("SELECT H.HK, L.LN, A.NAME, L.LC AS X, WNAME FROM H LEFT JOIN L ON "
                             "LK=HK LEFT JOIN W ON WID=LW LEFT JOIN T AS A ON A.ID=%1 ORDER BY HK, LN")
                  .arg(named);
        QStringList got;
        EXPECT_NO_THROW(got = rows(TranslateSql(text, dialect))) << named.toStdString();
        for (QString& row : got)
            row = row.section(u'|', 0, 2) + u'|' + u'|' + row.section(u'|', 4); // the name, not the line text
        EXPECT_EQ(got, onLines) << named.toStdString();
    }
    QStringList got;
    EXPECT_NO_THROW(
        got = rows(TranslateSql(QStringLiteral("SELECT H.HK, L.LN, A.NAME, '', WNAME FROM H LEFT JOIN "
                                               "main.L ON LK=HK LEFT JOIN W ON WID=LW LEFT JOIN T AS A ON "
                                               "A.ID=LC ORDER BY HK, LN"),
            dialect)));
    EXPECT_EQ(got, onLines);

    // Parameters keep their places.
    const QString withParameters = TranslateSql(
        QStringLiteral("SELECT H.HK, L.LN, A.NAME FROM H LEFT JOIN L ON LK=HK AND LN > ? LEFT JOIN T AS A ON "
                       "A.ID=HC AND A.NAME <> ? ORDER BY HK, LN"),
        dialect);
    auto c = db->Query(withParameters, {Variant(1), Variant(QStringLiteral("two"))});
    got.clear();
    while (c->Next())
        got << QStringList {c->Text(0), c->Text(1), c->Text(2)}.join(u'|');
    EXPECT_EQ(got, QStringList({"A|2|one", "B||", "C|3|"}));
}

TEST(JoinOrderTest, OnlyKeysThatHoldForEveryRowMakeALookup)
{
    testsupport::TempFolder folder;
    auto db = OpenBackend(QStringLiteral("SQLITE"), folder.file(QStringLiteral("k.db")), true);
    db->ExecuteScript(
        QStringLiteral("CREATE TABLE H (HK TEXT PRIMARY KEY, HC TEXT);"
                       "CREATE TABLE L (LK TEXT, LN INTEGER, PRIMARY KEY (LK, LN));"
                       "CREATE TABLE P (ID TEXT, NAME TEXT, ACTIVE INTEGER, CODE TEXT, A TEXT, B TEXT);"
                       // unique among the active rows only
                       "CREATE UNIQUE INDEX P_ACTIVE ON P(ID) WHERE ACTIVE = 1;"
                       "CREATE UNIQUE INDEX P_CODE ON P(CODE);"
                       "CREATE UNIQUE INDEX P_AB ON P(A, B);"
                       "CREATE UNIQUE INDEX P_UPPER ON P(upper(NAME));"
                       "INSERT INTO H VALUES ('A','t1'),('B','t1');"
                       "INSERT INTO L VALUES ('A',1),('A',2),('B',1);"
                       "INSERT INTO P (ID, NAME, ACTIVE) VALUES ('t1','one',1),('t1','old',0);"));
    EXPECT_TRUE(db->CoversUniqueKey(QStringLiteral("h"), {QStringLiteral("hk")}));
    EXPECT_TRUE(db->CoversUniqueKey(QStringLiteral("L"), {QStringLiteral("LN"), QStringLiteral("LK")}));
    EXPECT_FALSE(db->CoversUniqueKey(QStringLiteral("L"), {QStringLiteral("LK")}));
    EXPECT_TRUE(db->CoversUniqueKey(QStringLiteral("P"), {QStringLiteral("CODE")}));
    EXPECT_TRUE(db->CoversUniqueKey(
        QStringLiteral("P"), {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("ID")}));
    EXPECT_FALSE(db->CoversUniqueKey(QStringLiteral("P"), {QStringLiteral("A")}));
    EXPECT_FALSE(db->CoversUniqueKey(QStringLiteral("P"), {QStringLiteral("ID")}));
    EXPECT_FALSE(db->CoversUniqueKey(QStringLiteral("P"), {QStringLiteral("NAME")}));

    // P fans out for HC = 't1': ahead of the lines it would change the order
    // of the rows of one header.
    const QString sql = QStringLiteral(
        "SELECT HK, LN, NAME FROM H LEFT JOIN L ON LK=HK LEFT JOIN P ON P.ID=HC ORDER BY HK");
    auto rows = [&](const QString& text) {
        QStringList out;
        auto c = db->Query(text);
        while (c->Next())
            out << QStringList {c->Text(0), c->Text(1), c->Text(2)}.join(u'|');
        return out;
    };
    const QStringList original = rows(sql);
    ASSERT_EQ(original.size(), 6);
    EXPECT_EQ(rows(TranslateSql(sql, DialectOf(*db))), original);
}
