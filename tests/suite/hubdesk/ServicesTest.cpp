// Com_Counter and Com_Validator over the demo database: the rows and
// elements the print program reads.
#include "HubDeskFixture.h"

namespace {

struct Query {
    bool Found = false;
    Variant Rows;
};

Query queryData(const Variant& manager, const char* member, const QString& table, const QString& number,
    const VariantList& params)
{
    Query q;
    q.Found = manager.Get(QStringLiteral("Com_Validator"))
                  .Call(QLatin1String(member),
                      {table, number, "DEMO", Variant::ArrayOf(params), Variant::Ref(q.Rows)})
                  .ToBool();
    return q;
}

} // namespace

TEST_F(HubDeskTest, SystemParametersComeAsNameValueRows)
{
    const Variant counter = manager_.Get(QStringLiteral("Com_Counter"));
    const Variant rows = counter.Call(QStringLiteral("GetSysInfo"), {"HV01"});
    ASSERT_TRUE(rows.IsArray());
    QHash<QString, QString> params;
    for (const Variant& row : rows.Elements())
        params.insert(row[0].ToString().toUpper(), row[1].ToString());
    EXPECT_EQ(params.value("SYS001"), "1");
    EXPECT_EQ(params.value("SYS002"), "/");
    EXPECT_EQ(params.value("SYS024"), "3");
    for (const char* name : {"SYS026", "SYS042", "SYS060", "SYS174", "HVN002", "SYS007", "SYS010"})
        EXPECT_TRUE(params.contains(QLatin1String(name))) << name;
    EXPECT_EQ(counter.Call(QStringLiteral("GetSysInfo"), {"NOPE"}).HighBound(), -1);

    EXPECT_EQ(counter
                  .Call(QStringLiteral("GetCounter"),
                      {"sysparam", Variant::ArrayOf({"Sys042"}), Variant::ArrayOf({"HV01", "DEMO"})})
                  .ToString(),
        "Y");
    EXPECT_TRUE(
        counter.Call(QStringLiteral("GetCounter"), {"NOSUCH", Variant(), Variant::ArrayOf({"HV01", "DEMO"})})
            .IsEmpty());
}

TEST_F(HubDeskTest, QueryDataHandsBackRowsInTheCallersOrder)
{
    const Query program = queryData(manager_, "QueryData", "CMSMT", "01", {"ZORV52"});
    ASSERT_TRUE(program.Found);
    EXPECT_EQ(program.Rows[0][0].ToString(), "F01");
    EXPECT_EQ(program.Rows[0][6].ToString(), "S01");
    EXPECT_EQ(program.Rows[0][12].ToString(), "");

    const Query company = queryData(manager_, "QueryData", "CMSML", "01", {"HV01"});
    ASSERT_TRUE(company.Found);
    EXPECT_EQ(company.Rows[0].HighBound(), 7);

    const Query type = queryData(manager_, "CheckValue", "CMSMQ", "22", {"A511", "51", "52", ""});
    ASSERT_TRUE(type.Found);
    EXPECT_EQ(type.Rows[0][1].ToString(), "51");
    EXPECT_FALSE(queryData(manager_, "CheckValue", "CMSMQ", "22", {"A311", "51", "52", ""}).Found);

    const Query sign = queryData(manager_, "QueryData", "CMSMS", "01", {"1", "F02"});
    ASSERT_TRUE(sign.Found);
    EXPECT_EQ(sign.Rows[0][1].ToString(), Text("重工品须另行标识。"));

    const Query title = queryData(manager_, "QueryData", "MSGCHT", "01", {"R", "101576"});
    ASSERT_TRUE(title.Found);
    EXPECT_EQ(title.Rows[0][0].ToString(), Text("工单变更单"));

    // A statement of the caller's own runs only for a logged-in user.
    const VariantList columnLength {"select col.length from syscolumns col inner join sysobjects obj on "
                                    "obj.id=col.id where obj.name = 'WARRANT' AND col.name ='NT002'",
        "length"};
    EXPECT_FALSE(queryData(manager_, "QueryData", "SimpleSql", "", columnLength).Found);
    manager_.Set(QStringLiteral("UserCode"), "NOBODY");
    EXPECT_FALSE(queryData(manager_, "QueryData", "SimpleSql", "", columnLength).Found);
    manager_.Set(QStringLiteral("UserCode"), "DS");
    const Query limit = queryData(manager_, "QueryData", "SimpleSql", "", columnLength);
    ASSERT_TRUE(limit.Found);
    EXPECT_EQ(limit.Rows[0][0].ToInt(), 40);
}

TEST_F(HubDeskTest, NoRowsAndBadRequestsAnswerFalse)
{
    EXPECT_FALSE(queryData(manager_, "QueryData", "WARRANT", "03", {"TfrmZorv52Fmt", "x' OR '1'='1"}).Found);
    EXPECT_FALSE(queryData(manager_, "QueryData", "CMSMQ", "77", {"A511"}).Found);
    manager_.Set(QStringLiteral("UserCode"), "DS");
    EXPECT_FALSE(queryData(manager_, "QueryData", "SimpleSql", "", {"DELETE FROM CMSMQ", ""}).Found);
    EXPECT_TRUE(queryData(manager_, "QueryData", "CMSMQ", "08", {"A511"}).Found);
    // One value instead of an array is one parameter.
    Variant rows;
    EXPECT_TRUE(manager_.Get(QStringLiteral("Com_Validator"))
                    .Call(QStringLiteral("QueryData"), {"CMSMQ", "08", "DEMO", "A512", Variant::Ref(rows)})
                    .ToBool());
    EXPECT_EQ(rows[0][5].ToString(), "A512");
}
