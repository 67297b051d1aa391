#include "runtime/report/QRExpr.h"

#include <gtest/gtest.h>

namespace {

class ExprTest : public ::testing::Test {
protected:
    ExprTest()
        : source_({"TO001", "TO002", "TP006", "TP004"})
    {
        source_.AddRow({"5101", "0001", 2.5, "A"});
        source_.AddRow({"5101", "0002", 4.0, QVariant()});
        source_.AddRow({"5102", "0001", -1.0, "C"});
        environment_.FindSource = [this](const QString& name) {
            return name.compare(u"ClientDataSet1", Qt::CaseInsensitive) == 0 ? &source_ : nullptr;
        };
        environment_.DefaultSource = &source_;
        source_.First();
    }

    QVariant eval(const QString& text)
    {
        TQRExpression expression;
        expression.Prepare(text, environment_);
        return expression.Value();
    }
    QString text(const QString& text) { return TQRExpression::ToText(eval(text)); }

    TQRMemorySource source_;
    TQRExprEnvironment environment_;
};

} // namespace

TEST_F(ExprTest, FieldsJoinAsTextAndNumbersAdd)
{
    EXPECT_EQ(text("ClientDataSet1.TO001+ClientDataSet1.TO002"), "51010001");
    EXPECT_EQ(text("clientdataset1.to001 + '-' + TO002"), "5101-0001");
    EXPECT_EQ(text("TP006 * 2 + 1"), "6");
    EXPECT_EQ(text("1 + 2 * 3 - 4 / 2"), "5");
    EXPECT_EQ(text("(1 + 2) * 3"), "9");
    EXPECT_EQ(text("-TP006"), "-2.5");
    EXPECT_EQ(text("'it''s'"), "it's");
    EXPECT_EQ(text("TP004 + 1"), "A1");
}

TEST_F(ExprTest, ComparisonsAndLogic)
{
    EXPECT_EQ(eval("TP006 > 2 AND TO001 = '5101'").toBool(), true);
    EXPECT_EQ(eval("TP006 >= 3 OR NOT (TO002 <> '0001')").toBool(), true);
    EXPECT_EQ(eval("TP006 <= 2").toBool(), false);
    EXPECT_EQ(eval("'abc' < 'abd'").toBool(), true);
    EXPECT_EQ(eval("NOT TRUE OR FALSE").toBool(), false);
}

TEST_F(ExprTest, Functions)
{
    EXPECT_EQ(text("IF(TP006 > 2, 'big', 'small')"), "big");
    EXPECT_EQ(text("UPPER('abc') + LOWER('DeF')"), "ABCdef");
    EXPECT_EQ(text("COPY('工单变更单', 3, 2)"), QStringLiteral("变更"));
    EXPECT_EQ(text("COPY('abc', 0, 10)"), "abc");
    EXPECT_EQ(text("STR(TP006) + 'x'"), "2.5x");
    EXPECT_EQ(text("FORMATNUMERIC('#,##0.00', 1234567.891)"), "1,234,567.89");
    EXPECT_EQ(text("FORMATNUMERIC('0.000', -0.0001)"), "0.000");
    EXPECT_EQ(text("FORMATNUMERIC('#,##0.##', -1001.5)"), "-1,001.5");
    EXPECT_EQ(text("FORMATNUMERIC('#', 0.4)"), "");
    EXPECT_EQ(text("DATE").size(), 10);
    EXPECT_EQ(text("TIME").size(), 8);
}

TEST_F(ExprTest, DivisionByZeroAndNullsPrintEmptyOrZero)
{
    EXPECT_EQ(text("TP006 / 0"), "");
    source_.Next();
    EXPECT_EQ(text("TP004"), "");
    EXPECT_EQ(text("TP004 + 'x'"), "x");
}

TEST_F(ExprTest, AggregatesCollectTheRowsGiven)
{
    TQRExpression sum, count, max, min, average;
    sum.Prepare("SUM(TP006)", environment_);
    count.Prepare("COUNT", environment_);
    max.Prepare("MAX(TP006)", environment_);
    min.Prepare("MIN(TO002)", environment_);
    average.Prepare("AVERAGE(TP006) * 2", environment_);
    for (source_.First(); !source_.Eof(); source_.Next())
        for (TQRExpression* e : {&sum, &count, &max, &min, &average})
            e->Update();
    EXPECT_EQ(sum.ValueText(), "5.5");
    EXPECT_EQ(count.ValueText(), "3");
    EXPECT_EQ(max.ValueText(), "4");
    EXPECT_EQ(min.ValueText(), "0001");
    EXPECT_NEAR(average.Value().toDouble(), 5.5 / 3 * 2, 1e-12);
    sum.Reset();
    EXPECT_EQ(sum.ValueText(), "0");
}

TEST_F(ExprTest, BadExpressionsGiveClearErrors)
{
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"", "empty"},
        {"1 +", "ends too early"},
        {"(1 + 2", "')' expected"},
        {"'abc", "not closed"},
        {"FOO(1)", "unknown function FOO"},
        {"COPY('a')", "COPY takes 3 argument(s), not 1"},
        {"ClientDataSet1.TO999", "field TO999 not found"},
        {"ClientDataSet9.TO001", "data set ClientDataSet9 not found"},
        {"1 # 2", "unexpected character '#'"},
        {"SUM(SUM(TP006))", "aggregate cannot hold another"},
        {"1 2", "unexpected '2'"},
    };
    for (const Case& c : cases) {
        TQRExpression expression;
        try {
            expression.Prepare(QString::fromUtf8(c.text), environment_);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EQRExprError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.says)))
                << c.text << " -> " << e.Message().toStdString();
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.text))) << "names the expression";
        }
        EXPECT_FALSE(expression.Prepared());
        EXPECT_FALSE(expression.Value().isValid());
    }
    QString error;
    EXPECT_FALSE(TQRExpression::IsValid("IF(1,2)", &error));
    EXPECT_TRUE(error.contains("IF takes 3"));
    EXPECT_TRUE(TQRExpression::IsValid("Unknown.Field + 1"));
}
