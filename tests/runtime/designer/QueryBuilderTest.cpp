#include "SampleReportForm.h"

#include "runtime/designer/LayoutKit.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/FormReader.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

TBuilderPieces slipPieces()
{
    TBuilderPieces p;
    p.Select = QStringLiteral("SELECT A.TO001, A.TO002, B.TP004");
    p.From = QStringLiteral("FROM $$MOCTO A");
    p.Join = QStringLiteral("LEFT JOIN $$MOCTP B ON B.TP001 = A.TO001");
    p.Where = QStringLiteral("WHERE A.TO001 = 'A511'");
    p.GroupBy = QString();
    p.OrderBy = QStringLiteral("ORDER BY A.TO001");
    return p;
}

QString sqlOf(const TBuilderPieces& p)
{
    return p.Select + u' ' + p.From + u' ' + p.Join + u' ' + p.Where + u' ' + p.OrderBy;
}

TEST(QueryBuilderTest, PiecesPutTogetherWithoutBlanksKeepTheirBlanksAroundTheExtension)
{
    // The change slip's pieces end in a blank and are concatenated as they
    // are: the extension must not swallow the blank before FROM or WHERE.
    TBuilderPieces p;
    p.Select = QStringLiteral("SELECT MOCTO.*, TO044 ");
    p.From = QStringLiteral("FROM $$MOCTO AS MOCTO ");
    p.Join = QStringLiteral("LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001  ");
    p.Where = QStringLiteral("WHERE 1=1 ");
    p.OrderBy = QStringLiteral("ORDER BY TO001");
    const QString sql = p.Select + p.From + p.Join + p.Where + p.OrderBy;
    ReportQueryBuilder b;
    b.SetActive(true);
    ASSERT_EQ(b.AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = MOCTO.TO005")), 0);
    ASSERT_EQ(b.AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0), 0);
    ASSERT_TRUE(b.BindField(0, 0, QStringLiteral("ExTxtMB0021")));
    ASSERT_TRUE(b.AcceptQueryParts(p));
    b.SetQueryParts(p, false);
    EXPECT_EQ(b.GetFinalQuery(sql),
        QStringLiteral(
            "SELECT MOCTO.*, TO044, RT0.MB002 AS RT0_MB002 FROM $$MOCTO AS MOCTO "
            "LEFT JOIN $$MOCTP AS MOCTP ON TP001=TO001 LEFT JOIN $$INVMB RT0 ON RT0.MB001 = MOCTO.TO005  "
            "WHERE 1=1 ORDER BY TO001"));
}

TEST(QueryBuilderTest, UsedFieldsJoinTheirTableAndComeAlongInTheSelectList)
{
    ReportQueryBuilder b;
    b.SetActive(true);
    const int t = b.AddRelationTable(QStringLiteral("$$INVMB"), QStringLiteral("RT0.MB001 = B.TP004"));
    ASSERT_EQ(t, 0);
    EXPECT_EQ(b.AddField(t, QStringLiteral("MB002"), QStringLiteral("品名"), 0), 0);
    EXPECT_EQ(b.AddField(t, QStringLiteral("MB003"), QStringLiteral("规格"), 1), 1);
    EXPECT_FALSE(b.HasExtendedFields());
    EXPECT_TRUE(b.AcceptQueryParts(slipPieces()));
    b.SetQueryParts(slipPieces(), false);
    const QString sql = sqlOf(slipPieces());
    // Nothing used yet: the text stays as it is.
    EXPECT_EQ(b.GetFinalQuery(sql), sql);
    ASSERT_TRUE(b.BindField(0, 0, QStringLiteral("ExTxtINVMBMB0021")));
    EXPECT_FALSE(b.BindField(0, 0, QStringLiteral("Other"))); // bound already
    EXPECT_EQ(b.GetFinalQuery(sql),
        QStringLiteral(
            "SELECT A.TO001, A.TO002, B.TP004, RT0.MB002 AS RT0_MB002 FROM $$MOCTO A "
            "LEFT JOIN $$MOCTP B ON B.TP001 = A.TO001 LEFT JOIN $$INVMB RT0 ON RT0.MB001 = B.TP004 "
            "WHERE A.TO001 = 'A511' ORDER BY A.TO001"));
    EXPECT_EQ(b.Field(0, 0).Alias(), QStringLiteral("RT0_MB002"));
    // Unbinding the component frees the field again.
    EXPECT_TRUE(b.UnbindComponent(QStringLiteral("extxtinvmbmb0021")));
    EXPECT_FALSE(b.Field(0, 0).Used());
    EXPECT_EQ(b.GetFinalQuery(sql), sql);
    // An inactive builder never changes the text.
    b.BindField(0, 1, QStringLiteral("ExBc1"));
    b.SetActive(false);
    EXPECT_EQ(b.GetFinalQuery(sql), sql);
}

TEST(QueryBuilderTest, WithoutABaseJoinTheJoinsFollowTheFromListAndGroupingTakesTheColumns)
{
    ReportQueryBuilder b;
    b.SetActive(true);
    b.AddRelationTable(QStringLiteral("CMSMQ"), QStringLiteral("RT0.MQ001 = A.TO001"));
    b.AddField(0, QStringLiteral("MQ002"), QStringLiteral("单别名称"), 0);
    b.BindField(0, 0, QStringLiteral("ExTxt1"));
    TBuilderPieces p = slipPieces();
    p.Join.clear();
    p.GroupBy = QStringLiteral("GROUP BY A.TO001 ");
    b.SetQueryParts(p, false);
    const QString sql = p.Select + u' ' + p.From + u' ' + p.Where + u' ' + p.GroupBy;
    EXPECT_EQ(b.GetFinalQuery(sql),
        QStringLiteral(
            "SELECT A.TO001, A.TO002, B.TP004, RT0.MQ002 AS RT0_MQ002 FROM $$MOCTO A LEFT JOIN $$CMSMQ RT0 "
            "ON RT0.MQ001 = A.TO001 WHERE A.TO001 = 'A511' GROUP BY A.TO001, RT0.MQ002 "));
    EXPECT_EQ(b.MainTable(), QStringLiteral("MOCTO"));
    p.From = QStringLiteral("$$MOCTO A");
    b.SetQueryParts(p, true);
    EXPECT_EQ(b.MainTable(), QStringLiteral("MOCTO"));
    EXPECT_TRUE(b.DesignerMode());
}

TEST(QueryBuilderTest, TamperedTablesFieldsAndConditionsNeverReachTheSql)
{
    ReportQueryBuilder b;
    b.SetActive(true);
    EXPECT_EQ(
        b.AddRelationTable(QStringLiteral("INVMB; DROP TABLE WARRANT"), QStringLiteral("RT0.A = B.C")), -1);
    EXPECT_EQ(b.AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.A = 'x'")), -1);
    EXPECT_EQ(b.AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.A = B.C -- comment")), -1);
    EXPECT_EQ(b.AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.A = B.C;")), -1);
    EXPECT_EQ(b.AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.A = B.C")), 0);
    EXPECT_EQ(b.AddField(0, QStringLiteral("MB002 FROM X"), QStringLiteral("x"), 0), -1);
    EXPECT_EQ(b.AddField(3, QStringLiteral("MB002"), QStringLiteral("x"), 0), -1);
    // A stored layout carries the lists as text; a tampered one is read but
    // its unsafe entries are left out of the query.
    b.RelationTables()->SetText(QStringLiteral("INVMB\tRT0.A = B.C\nPURMA\t1=1; DELETE FROM MOCTO\n"));
    b.RelationFields()->SetText(QStringLiteral(
        "0\tMB002\tname\t0\tExTxt1\n1\tMA002\tvendor\t0\tExTxt2\n0\tMB003 --\tx\t0\tExTxt3\n"));
    TBuilderPieces p = slipPieces();
    b.SetQueryParts(p, false);
    const QString sql = b.GetFinalQuery(sqlOf(p));
    EXPECT_TRUE(sql.contains(QLatin1String("RT0.MB002 AS RT0_MB002")));
    EXPECT_FALSE(sql.contains(QLatin1String("DELETE")));
    EXPECT_FALSE(sql.contains(QLatin1String("MA002")));
    EXPECT_FALSE(sql.contains(QLatin1String("--")));
}

TEST(QueryBuilderTest, TheBuilderStateTravelsInTheStoredLayout)
{
    TfrmDesignSample::Register();
    std::unique_ptr<TfrmDesignSample, FreeComponent> form(new TfrmDesignSample(nullptr));
    form->SQLReBuilder->AddRelationTable(QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = B.TP004"));
    form->SQLReBuilder->AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0);
    form->SQLReBuilder->BindField(0, 0, QStringLiteral("ExTxtMB0021"));
    form->SQLReBuilder->SetComponentNumber(2);
    const QString text = StoredLayoutText(form.get());
    std::unique_ptr<TfrmDesignSample, FreeComponent> fresh(new TfrmDesignSample(nullptr));
    ReadComponent(fresh.get(), text);
    EXPECT_EQ(fresh->SQLReBuilder->TableCount(), 1);
    EXPECT_EQ(fresh->SQLReBuilder->Field(0, 0).Component, QStringLiteral("ExTxtMB0021"));
    EXPECT_EQ(fresh->SQLReBuilder->Field(0, 0).Caption, QStringLiteral("品名"));
    EXPECT_EQ(fresh->SQLReBuilder->TakeComponentNumber(), 2);
    EXPECT_EQ(fresh->SQLReBuilder->ComponentNumber(), 3);
}

} // namespace

namespace {

TEST(QueryBuilderTest, BaseColumnsAreTheQualifiedColumnsOfTheSelectList)
{
    ReportQueryBuilder b;
    TBuilderPieces p;
    p.Select = QStringLiteral("SELECT A.TO001, A.TO002 AS NO, B.TP004, COUNT(*) AS N, 'x', A.TO001");
    b.SetQueryParts(p, true);
    EXPECT_EQ(b.BaseColumns(), (QStringList {"A.TO001", "A.TO002", "B.TP004"}));
}

} // namespace
