// The catalogue the work-centre manager reads through the server: every
// predefined query answers on the demo database with its columns in the
// order the callers read them, values are bound, and messages come in both
// scripts.
#include "DemoServerFixture.h"

#include "suite/appserver/Catalogue.h"

using namespace appserver;

namespace {

Variant ask(const Variant& server, const QString& kind, const QString& table, const QString& number,
    const VariantList& params, const QString& database = QStringLiteral("DEMO"))
{
    return server.Call(QStringLiteral("CatalogueQuery"),
        {Variant::ArrayOf({kind, table, number, database, Variant::ArrayOf(params)})});
}

Variant rowsOf(const Variant& answer)
{
    return answer.IsArray() ? answer[0] : Variant();
}

QString message(const Variant& server, const QString& kind, const QString& id, const QString& language)
{
    return server.Call(QStringLiteral("CatalogueMessage"), {Variant::ArrayOf({kind, id, language, "DEMO"})})
        .ToString();
}

} // namespace

class CatalogueTest : public DemoServerTest { };

TEST_F(CatalogueTest, EveryQueryAnswersOnTheDemoDatabase)
{
    const Variant server = NewServer(QString());
    for (const TCatalogueEntry& e : TQueryCatalogue::Standard().Entries()) {
        const Variant answer = ask(server, e.Kind, e.Table, e.Number, {});
        ASSERT_TRUE(answer.IsArray()) << qPrintable(
            e.Table + u' ' + e.Number + u' ' + server.Get(QStringLiteral("LastError")).ToString());
        if (e.Kind != u"Counter") {
            EXPECT_EQ(answer[1].HighBound() + 1, e.Columns.size()) << qPrintable(e.Table + u' ' + e.Number);
        }
    }
}

TEST_F(CatalogueTest, RowsComeInTheOrderTheCallersRead)
{
    const Variant server = NewServer(QString());
    const Variant company = rowsOf(ask(server, "Query", "CMSML", "01", {"HV01"}));
    ASSERT_EQ(company.HighBound(), 0);
    EXPECT_EQ(company[0][0].ToString(), "HV01");
    EXPECT_FALSE(company[0][1].ToString().isEmpty()); // the report-title prefix

    const Variant program = rowsOf(ask(server, "Query", "CMSMT", "01", {"ZORV52"}));
    ASSERT_EQ(program.HighBound(), 0);
    EXPECT_EQ(program[0][0].ToString(), "F01"); // footer code
    EXPECT_EQ(program[0][1].ToString(), "Y");
    EXPECT_EQ(program[0][6].ToString(), "S01"); // sign-off code
    EXPECT_EQ(program[0][7].ToString(), "Y");
    EXPECT_EQ(program[0].HighBound(), 13);

    // A kind-52 slip type: name first, then footer, sign-off, every-page flags, format, totals.
    const Variant type = rowsOf(ask(server, "Query", "CMSMQ", "38", {"A521", "52"}));
    ASSERT_EQ(type.HighBound(), 0);
    const Variant& r = type[0];
    EXPECT_EQ(r[0].ToString(), QString::fromUtf8("委外工单变更单"));
    EXPECT_EQ(r[1].ToString(), "F01");
    EXPECT_EQ(r[2].ToString(), "N");
    EXPECT_EQ(r[3].ToString(), "S02");
    EXPECT_EQ(r[4].ToString(), "Y");
    EXPECT_EQ(r[7].ToString(), "Y");
    EXPECT_EQ(r[8].ToString(), "Y");
    EXPECT_EQ(r[10].ToString(), "Y");
    EXPECT_EQ(r[12].ToString(), "Y");
    EXPECT_EQ(rowsOf(ask(server, "Query", "CMSMQ", "08", {"A521"})), type);
    // The right type under the wrong kind is no row.
    EXPECT_EQ(rowsOf(ask(server, "Query", "CMSMQ", "38", {"A521", "51"})).HighBound(), -1);

    // Kinds 51 and 52 only; element 1 is the document kind.
    const Variant valid = rowsOf(ask(server, "Query", "CMSMQ", "22", {"A512", "51", "52", ""}));
    ASSERT_EQ(valid.HighBound(), 0);
    EXPECT_EQ(valid[0][1].ToString(), "51");
    EXPECT_EQ(rowsOf(ask(server, "Query", "CMSMQ", "22", {"A311", "51", "52", ""})).HighBound(), -1);

    const Variant types = rowsOf(ask(server, "Query", "CMSMQ", "19", {"51", "52", "A512"}));
    QStringList codes;
    for (const Variant& row : types.Elements())
        codes << row[0].ToString();
    EXPECT_EQ(codes, (QStringList {"A512", "A521"}));

    const Variant footer = rowsOf(ask(server, "Query", "CMSMS", "01", {"2", "S01"}));
    ASSERT_EQ(footer.HighBound(), 0);
    EXPECT_EQ(footer[0][1].ToString(), QString::fromUtf8("核准:"));
    EXPECT_EQ(footer[0][3].ToString(), QString::fromUtf8("制单:"));
    // The look-up of the same key lists the kind, the lines in columns 2 to 4.
    const Variant blocks = rowsOf(ask(server, "Lookup", "CMSMS", "01", {"2"}));
    ASSERT_EQ(blocks.HighBound(), 2);
    EXPECT_EQ(blocks[0][0].ToString(), "S01");
    EXPECT_EQ(blocks[0][2].ToString(), QString::fromUtf8("核准:"));

    const Variant remark = rowsOf(ask(server, "Query", "MSGCHT", "01", {"R", "100269"}));
    ASSERT_EQ(remark.HighBound(), 0);
    EXPECT_EQ(remark[0][0].ToString(), QString::fromUtf8("新增"));

    const Variant slips = rowsOf(ask(server, "Query", "MOCTO", "60", {"A511"}));
    EXPECT_EQ(slips.HighBound() + 1, Count("SELECT COUNT(*) FROM MOCTO WHERE TO001='A511'"));
    EXPECT_EQ(slips[0][0].ToString().size(), 11);
}

TEST_F(CatalogueTest, StoredFormatsAndSchemesAreFoundByTheirKeys)
{
    const Variant server = NewServer(QString());
    EXPECT_EQ(rowsOf(ask(server, "Query", "WARRANT", "01", {"TfrmZorv52Fmt"})).HighBound(),
        Count("SELECT COUNT(*) FROM WARRANT WHERE NT001='TfrmZorv52Fmt'") - 1);
    EXPECT_EQ(
        rowsOf(ask(server, "Query", "WARRANT", "03", {"TfrmZorv52Fmt", "no such format"})).HighBound(), -1);
    EXPECT_EQ(rowsOf(ask(server, "Query", "GENES", "01", {"none", "DS", "ZORV52"})).HighBound(), -1);

    const Variant params = rowsOf(ask(server, "Query", "ADMSP", "01", {"HV01"}));
    QStringList names;
    for (const Variant& row : params.Elements())
        names << row[0].ToString();
    for (const char* name : {"Sys001", "Sys002", "Sys026", "Sys042", "Sys060", "Sys174", "HVN002", "SYS007"})
        EXPECT_TRUE(names.contains(QLatin1String(name))) << name;
    const Variant one = rowsOf(ask(server, "Counter", "SYSPARAM", "", {"HV01", "sys024"}));
    EXPECT_EQ(one[0][0].ToString(), "3");
}

// The "?" places take the values: a quote or a statement in a value is only a value.
TEST_F(CatalogueTest, ValuesAreBoundNeverPasted)
{
    const Variant server = NewServer(QString());
    EXPECT_EQ(rowsOf(ask(server, "Query", "CMSMQ", "08", {"A511' OR '1'='1"})).HighBound(), -1);
    EXPECT_EQ(rowsOf(ask(server, "Query", "CMSMQ", "08", {"x'; DELETE FROM CMSMQ; --"})).HighBound(), -1);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CMSMQ"), 4);
    // More values than places, and keys the catalogue does not know, are refused.
    EXPECT_TRUE(ask(server, "Query", "CMSMQ", "08", {"A511", "extra"}).IsNull());
    EXPECT_TRUE(ask(server, "Query", "CMSMQ", "99", {"A511"}).IsNull());
    EXPECT_TRUE(ask(server, "Query", "CMSMQ", "08", {"A511"}, "../DEMO").IsNull());
}

// A whole statement from a connected client reads only, and answers the named column.
TEST_F(CatalogueTest, SimpleSqlReadsTheNamedColumn)
{
    const Variant server = NewServer(QStringLiteral("DS"));
    const Variant limit = rowsOf(ask(server, "Query", "SimpleSql", "",
        {"select col.length from syscolumns col inner join sysobjects obj on obj.id=col.id where obj.name = "
         "'WARRANT' AND col.name ='NT002'",
            "length"}));
    ASSERT_EQ(limit.HighBound(), 0);
    EXPECT_EQ(limit[0][0].ToInt(), 40);
    EXPECT_TRUE(ask(server, "Query", "SimpleSql", "", {"DELETE FROM CMSMQ", ""}).IsNull());
    EXPECT_EQ(Count("SELECT COUNT(*) FROM CMSMQ"), 4);
}

TEST_F(CatalogueTest, MessagesInBothScriptsAndFromTheSuiteTable)
{
    const Variant server = NewServer(QString());
    EXPECT_EQ(message(server, "E", "000025", "CHS"), QString::fromUtf8("无法取得数据! 服务器: %s 端口: %d"));
    EXPECT_EQ(message(server, "e", "000025", "CHT"), QString::fromUtf8("無法取得資料! 伺服器: %s 埠號: %d"));
    EXPECT_TRUE(message(server, "I", "000012", "CHS").contains(u'\n'));
    EXPECT_EQ(message(server, "E", "999999", "CHS"), QString());
    // Every catalogue message is in the database, with the same places in both scripts.
    for (const TCatalogueMessage& m : StandardMessages()) {
        const QString chs = message(server, m.Kind, m.Number, "CHS");
        const QString cht = message(server, m.Kind, m.Number, "CHT");
        EXPECT_FALSE(chs.isEmpty()) << qPrintable(m.Kind + m.Number);
        EXPECT_EQ(chs.count(QLatin1String("%s")), cht.count(QLatin1String("%s"))) << qPrintable(m.Number);
        EXPECT_EQ(chs.count(QLatin1String("%d")), cht.count(QLatin1String("%d"))) << qPrintable(m.Number);
    }
}

TEST(CatalogueParseTest, FaultsNameTheirLine)
{
    EXPECT_THROW(TQueryCatalogue::Parse("[Query CMSMQ]\nSQL = SELECT 1\n"), EReadError);
    EXPECT_THROW(TQueryCatalogue::Parse("[Query CMSMQ 01]\nTitle = x\n"), EReadError);
    EXPECT_THROW(TQueryCatalogue::Parse("SQL = SELECT 1\n"), EReadError);
    EXPECT_THROW(ParseMessageCatalogue("E;12|a|b\n"), EReadError);
    const TQueryCatalogue c = TQueryCatalogue::Parse(
        "[Query T 01]\nSQL = SELECT A FROM T\n  WHERE A = ? AND B = '?'\n[Counter N]\nSQL = SELECT ?, ?\n");
    ASSERT_EQ(c.Entries().size(), 2);
    EXPECT_EQ(c.Entries()[0].Sql, "SELECT A FROM T WHERE A = ? AND B = '?'");
    EXPECT_EQ(c.Entries()[0].ParamCount, 1);
    EXPECT_EQ(c.Find("lookup", "t", "01"), &c.Entries()[0]);
    EXPECT_EQ(c.Find("Counter", "n")->ParamCount, 2);
}
