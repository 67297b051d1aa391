// Criteria values to SQL condition text, and the data-rights filter.

#include "common/LibStrs.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <random>

namespace {

const QString Range4 = QString(QChar(4));
const QString List5 = QString(QChar(5));

struct Added {
    QString where;
    QString condition;
};

Added add(const Variant& value, int fieldType, const QString& field = QStringLiteral("TO002"),
    const QString& where = QString())
{
    Added r {where, QStringLiteral("stale")};
    AddFieldCondition(r.where, field, value, r.condition, fieldType);
    return r;
}

// Splits SQL text into its skeleton (each character literal replaced by "?")
// and the decoded literal values. False when a literal is not terminated.
bool scanLiterals(const QString& sql, QString& skeleton, QStringList& literals)
{
    skeleton.clear();
    literals.clear();
    for (qsizetype i = 0; i < sql.size(); ++i) {
        if (sql[i] != QLatin1Char('\'')) {
            skeleton += sql[i];
            continue;
        }
        QString value;
        bool closed = false;
        for (++i; i < sql.size(); ++i) {
            if (sql[i] == QLatin1Char('\'')) {
                if (i + 1 < sql.size() && sql[i + 1] == QLatin1Char('\'')) {
                    value += QLatin1Char('\'');
                    ++i;
                    continue;
                }
                closed = true;
                break;
            }
            value += sql[i];
        }
        if (!closed)
            return false;
        skeleton += QLatin1Char('?');
        literals << value;
    }
    return true;
}

// The skeleton of a condition whose unquoted bounds are numbers: each number becomes "#".
QString numberSkeleton(const QString& sql)
{
    static const QRegularExpression number(QStringLiteral("[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    QString s = sql;
    // Column names hold digits too; take them out of the way first.
    s.replace(QStringLiteral("TO003"), QStringLiteral("@"));
    s.replace(number, QStringLiteral("#"));
    return s.replace(QStringLiteral("@"), QStringLiteral("TO003"));
}

} // namespace

TEST(LibStrsConditions, RangesListsAndEmptyValues)
{
    Added r = add(Variant::ArrayOf({Range4, "A001", "A009"}), 1);
    EXPECT_EQ(r.where, "Where  (TO002 Between 'A001' and 'A009') ");
    EXPECT_EQ(r.condition, " (TO002 Between 'A001' and 'A009') ");
    EXPECT_EQ(add(Variant("O'Hara"), 1).where, "Where  (TO002>= 'O''Hara')");
    EXPECT_EQ(add(Variant::ArrayOf({Variant(), "Z"}), 1).condition, " (TO002<= 'Z' OR TO002 IS NULL )");
    EXPECT_EQ(
        add(Variant::ArrayOf({"B", "B"}), 1, "TO002", "Where 1=1 ").where, "Where 1=1  and  (TO002='B') ");
    // Character bounds are not trimmed; an unreadable element is an empty bound.
    EXPECT_EQ(add(Variant::ArrayOf({" ", Variant::ArrayOf({"x"})}), 1).condition, " (TO002>= ' ')");

    EXPECT_EQ(add(Variant::ArrayOf({" 1 ", "10"}), 2, "TO003").condition, " (TO003 Between 1 and 10) ");
    EXPECT_EQ(add(Variant::ArrayOf({Range4, "  ", "-.5"}), 3, "TO003").condition,
        " (TO003<=-.5 OR TO003 IS NULL )");
    EXPECT_EQ(add(Variant(1e20), 2, "TO003").condition, " (TO003>=1E20)");

    r = add(
        Variant::ArrayOf({List5, "A", Variant::Null(), Variant::ArrayOf({"it's", "name"}), 7}), 2, "TO004");
    EXPECT_EQ(r.where, "Where (TO004 IN ('A', 'it''s', '7'))");

    for (const Variant& value :
        {Variant(), Variant::Null(), Variant(""), Variant::ArrayOf({"", Variant::Null()}),
            Variant::ArrayOf({List5, "", Variant::Null()}), Variant::CreateArray(0, 1, 0, 1)}) {
        r = add(value, 1, "TO002", "Where 1=1 ");
        EXPECT_EQ(r.where, "Where 1=1 ") << value.DebugText().toStdString();
        EXPECT_TRUE(r.condition.isEmpty()) << value.DebugText().toStdString();
    }
    EXPECT_TRUE(add(Variant("x' OR 1=1"), 4).where.isEmpty()); // unknown field type
}

TEST(LibStrsConditions, NumericBoundThatIsNotANumberIsRejected)
{
    for (const char* text : {"1; DROP TABLE MOCTO", "1 OR 1=1", "--1", "1.2.3", "1e", ".", "-", "0x10", "'1'",
             "１２", "True", "2011/10/26", "1,5"}) {
        QString where = QStringLiteral("Where 1=1 ");
        QString condition;
        try {
            AddFieldCondition(where, "TO003", Variant::ArrayOf({"1", QString::fromUtf8(text)}), condition, 2);
            ADD_FAILURE() << "accepted " << text;
        } catch (const EConvertError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("TO003"))) << e.Message().toStdString();
        }
        EXPECT_EQ(where, "Where 1=1 ") << text;
    }
}

// Whatever a criterion holds, the condition is the fixed template with one
// literal per bound, and each literal reads back as exactly what was typed.
TEST(LibStrsConditions, HostileCriteriaNeverChangeTheStatement)
{
    const QStringList pieces = {
        "'",
        "''",
        "--",
        ";",
        "/*",
        "*/",
        " OR 1=1",
        "\\",
        "\\'",
        "\"",
        "%",
        "_",
        "\t",
        "\n",
        "\r",
        "\x1b",
        "\x7f",
        "中文",
        "変更",
        "𠀀",
        " ",
        "0",
        "9",
        ".",
        "-",
        "+",
        "e",
        ")",
        "(",
        " Between ",
        " and ",
        "TO002",
        "IS NULL",
        "1",
        "#",
        "$$",
    };
    const QStringList numbers = {"12", " -3.5 ", "+.5", "1E5", "20111026", "", "  ", "0"};
    std::mt19937 random(20111026);
    auto hostile = [&]() {
        if (std::uniform_int_distribution<int>(0, 2)(random) == 0)
            return numbers[std::uniform_int_distribution<int>(0, int(numbers.size()) - 1)(random)];
        QString text;
        const int parts = std::uniform_int_distribution<int>(0, 8)(random);
        for (int i = 0; i < parts; ++i)
            text += pieces[std::uniform_int_distribution<int>(0, int(pieces.size()) - 1)(random)];
        if (std::uniform_int_distribution<int>(0, 50)(random) == 0)
            text += QString(5000, QLatin1Char('\''));
        if (std::uniform_int_distribution<int>(0, 20)(random) == 0)
            text += QChar(std::uniform_int_distribution<int>(1, 31)(random));
        return text;
    };
    const QStringList characterTemplates
        = {" (TO002 Between ? and ?) ", " (TO002=?) ", " (TO002>= ?)", " (TO002<= ? OR TO002 IS NULL )"};
    const QStringList numberTemplates
        = {" (TO003 Between # and #) ", " (TO003=#) ", " (TO003>=#)", " (TO003<=# OR TO003 IS NULL )"};

    int accepted = 0;
    int rejected = 0;
    for (int round = 0; round < 3000; ++round) {
        const QString low = hostile();
        const QString high = hostile();
        const bool marked = round % 2 == 0;
        const Variant value = marked ? Variant::ArrayOf({Range4, low, high})
                                     : Variant::ArrayOf({Variant(low), Variant(high)});

        // Character column: always quoted.
        Added r = add(value, 1);
        QString skeleton;
        QStringList literals;
        ASSERT_TRUE(scanLiterals(r.condition, skeleton, literals)) << r.condition.toStdString();
        QStringList expected;
        for (const QString& bound : {low, high})
            if (!bound.isEmpty() && !expected.contains(bound))
                expected << bound;
        if (expected.isEmpty()) {
            EXPECT_TRUE(r.condition.isEmpty());
        } else {
            EXPECT_TRUE(characterTemplates.contains(skeleton)) << skeleton.toStdString();
            EXPECT_EQ(literals, expected);
        }

        // Numeric column: either a plain number per bound, or rejected.
        try {
            r = add(value, 2, QStringLiteral("TO003"));
            ++accepted;
            QStringList bounds;
            for (const QString& bound : {low.trimmed(), high.trimmed()})
                if (!bound.isEmpty())
                    bounds << bound;
            if (bounds.isEmpty()) {
                EXPECT_TRUE(r.condition.isEmpty());
            } else {
                EXPECT_TRUE(numberTemplates.contains(numberSkeleton(r.condition)))
                    << r.condition.toStdString();
            }
        } catch (const EConvertError& e) {
            ++rejected;
            EXPECT_TRUE(e.Message().contains(QStringLiteral("TO003")));
        }

        // List: one literal per non-empty value.
        r = add(Variant::ArrayOf({List5, low, high}), 3, QStringLiteral("TO004"));
        ASSERT_TRUE(scanLiterals(r.condition, skeleton, literals));
        QStringList listed;
        for (const QString& v : {low, high})
            if (!v.isEmpty())
                listed << v;
        EXPECT_EQ(literals, listed);
        if (!listed.isEmpty()) {
            EXPECT_EQ(skeleton, listed.size() == 1 ? "(TO004 IN (?))" : "(TO004 IN (?, ?))");
        }
    }
    // The generator must have exercised both roads of the numeric column.
    EXPECT_GT(accepted, 100);
    EXPECT_GT(rejected, 100);

    // A NUL would cut the statement short in a database client: refused everywhere.
    const QString withNul = QStringLiteral("A") + QChar(0) + QStringLiteral("' OR 1=1 --");
    EXPECT_THROW(add(Variant(withNul), 1), EConvertError);
    EXPECT_THROW(add(Variant::ArrayOf({List5, withNul}), 1), EConvertError);
    EXPECT_THROW(add(Variant(withNul), 2, QStringLiteral("TO003")), EConvertError);
}

// FindTableAlias -------------------------------------------------------------

TEST(LibStrsRights, TableAliases)
{
    const std::pair<const char*, const char*> cases[] = {{" AS G ON G.MA001=TO033", "G"},
        {" g LEFT JOIN $$X", "G"}, {" G WITH(NOLOCK) ON", "G"}, {" G", "G"}, {" G, $$CMSMB B", "G"},
        {"", "PURMA"}, {" ON TO033=MA001", "PURMA"}, {" G JOIN $$CMSMB", "PURMA"}, {" AS", "PURMA"}};
    for (const auto& [rest, expected] : cases) {
        QString alias;
        FindTableAlias("PURMA", rest, alias);
        EXPECT_EQ(alias, expected) << rest;
    }
}

namespace {

// The change-slip statement as the options form assembles it, joins included.
QString changeSlipSql()
{
    return QStringLiteral(
        "SELECT MOCTO.*, MOCTP.*, A.MB002 AS CMSMB002A, G.MA002 AS PURMA002A, H.MA002 AS PURMA002B "
        "FROM $$MOCTO AS MOCTO LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 AND TP002=TO002 AND TP003=TO003 "
        " LEFT JOIN $$ADMMF AS X ON MOCTO.CREATOR=X.MF001\r\n LEFT JOIN $$CMSMB AS A ON A.MB001=TO021 "
        "LEFT JOIN $$PURMA AS G ON G.MA001=TO033 LEFT JOIN $$PURMA AS H ON H.MA001=TO133 "
        "LEFT JOIN $$PURMAX AS Z ON Z.MA001=TO033 "
        "Where 1=1  and (TO001='A001' ) ORDER BY TO001, TO002, TO003, TP004 ");
}

} // namespace

TEST(LibStrsRights, FilterForEveryUseOfARightsTable)
{
    const Variant rights = Variant::ArrayOf({3, "MOCTO MOCTO.TO001 IN ('A001','A002')",
        "PURMA PURMA.MA001<>'V9' AND PURMA.MA003='1'", "INVMB INVMB.MB001='X'"});
    QString filter = QStringLiteral("stale");
    BuildRightsFilter(rights, QStringLiteral("DEMO"), changeSlipSql(), filter);
    EXPECT_EQ(filter,
        "(( MOCTO.TO001 IN ('A001','A002') ) or (MOCTO.TO001 is null)) and "
        "(( G.MA001<>'V9' AND G.MA003='1' ) or (G.MA001 is null)) and "
        "(( H.MA001<>'V9' AND H.MA003='1' ) or (H.MA001 is null))");

    BuildRightsFilter(rights, QStringLiteral("DEMO"), changeSlipSql(), filter, QStringLiteral("X;H"));
    EXPECT_EQ(filter,
        "(( MOCTO.TO001 IN ('A001','A002') ) or (MOCTO.TO001 is null)) and "
        "(( G.MA001<>'V9' AND G.MA003='1' ) or (G.MA001 is null))");
}

TEST(LibStrsRights, BoundDatabaseNamesAndOddInput)
{
    const Variant rights = Variant::ArrayOf({2, "CMSMB CMSMB.MB001='01'", "ADMMF ADMMF.MF004='Y'"});
    const QString bound = QStringLiteral("SELECT * FROM DEMO..CMSMB B, DEMO..ADMMF WHERE 1=1");
    QString filter;
    BuildRightsFilter(rights, QStringLiteral("DEMO"), bound, filter);
    EXPECT_EQ(
        filter, "(( B.MB001='01' ) or (B.MB001 is null)) and (( ADMMF.MF004='Y' ) or (ADMMF.MF001 is null))");
    BuildRightsFilter(rights, QStringLiteral("EMO"), bound, filter); // another database's tables
    EXPECT_TRUE(filter.isEmpty()) << filter.toStdString();
    for (const Variant& odd : {Variant(), Variant("CMSMB x"), Variant::ArrayOf({"many", "CMSMB x"}),
             Variant::ArrayOf({1, " CMSMB.MB001='01'"})}) {
        BuildRightsFilter(odd, QStringLiteral("DEMO"), bound, filter);
        EXPECT_TRUE(filter.isEmpty()) << odd.DebugText().toStdString();
    }
}
