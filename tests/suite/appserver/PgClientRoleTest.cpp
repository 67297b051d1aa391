// Client statements on PostgreSQL run as a role of their own: they see no
// other session's statements and never the users' password hashes.
#include "PgTestSupport.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/PgBackend.h"
#include "suite/appserver/PgConnection.h"
#include "suite/appserver/UserPasswords.h"

#include <libpq-fe.h>
#include <memory>
#include <optional>

namespace {

class PgClientRoleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_POSTGRES();
        schema_.emplace();
        db_ = std::make_unique<TPgBackend>(schema_->Connection(), true);
        db_->ExecuteScript(QStringLiteral("CREATE TABLE ADMMF (MF001 TEXT PRIMARY KEY, MF002 TEXT);"
                                          "INSERT INTO ADMMF VALUES ('DS', 'admin');"));
    }
    QStringList column(const QString& sql, SqlAccess access)
    {
        QStringList out;
        auto c = db_->Query(sql, {}, access);
        while (c->Next())
            out << c->Text(0);
        return out;
    }

    std::optional<TPgTestSchema> schema_;
    std::unique_ptr<TPgBackend> db_;
};

TEST_F(PgClientRoleTest, AClientReadOfPgStatActivitySeesNoOtherSessionsStatement)
{
    // Another session of the same login (another client's, another
    // company's) whose last statement names a secret.
    TPgConnection other(PgTestConnection());
    const QString marker = QStringLiteral("secret_of_%1").arg(schema_->Name());
    other.Exec("SELECT '" + marker.toUtf8() + "' AS secret");
    const QString activity = QStringLiteral("SELECT COALESCE(query, '') FROM pg_stat_activity");
    // The server's own login sees it: the marker is there to be found.
    EXPECT_TRUE(column(activity, SqlAccess::Server).join(u'\n').contains(marker));
    const QStringList seen = column(activity, SqlAccess::Read);
    EXPECT_FALSE(seen.isEmpty());
    for (const QString& query : seen) {
        EXPECT_FALSE(query.contains(marker)) << qPrintable(query);
        // Only the reading statement itself, or nothing at all.
        EXPECT_TRUE(query.isEmpty() || query.contains(QStringLiteral("pg_stat_activity"))
            || query.contains(QStringLiteral("insufficient privilege")))
            << qPrintable(query);
    }
    EXPECT_EQ(column(QStringLiteral("SELECT current_user"), SqlAccess::Read),
        QStringList({column(QStringLiteral("SELECT current_user"), SqlAccess::Server).value(0)
            + QStringLiteral("_client")}));
}

TEST_F(PgClientRoleTest, ThePasswordTableIsTheServersAloneAndNewTablesAreOpenToClients)
{
    db_->ExecuteScript(QStringLiteral("CREATE TABLE CMSMQ (MQ001 TEXT); INSERT INTO CMSMQ VALUES ('A511');"));
    EXPECT_EQ(column(QStringLiteral("SELECT MQ001 FROM CMSMQ"), SqlAccess::Read), QStringList({"A511"}));
    userpasswords::SetPassword(*db_, QStringLiteral("DS"), QStringLiteral("pw"), {10, 8, 1});
    ASSERT_FALSE(userpasswords::StoredHash(*db_, QStringLiteral("DS")).isEmpty());
    // The engine itself refuses, whatever the server's text check would say.
    for (const char* text :
        {"SELECT MP002 FROM admmp", "SELECT count(*) FROM ADMMF JOIN admmp ON MP001 = MF001"})
        EXPECT_THROW(column(QLatin1String(text), SqlAccess::Read), EDatabaseError) << text;
    EXPECT_THROW(
        db_->Execute(QStringLiteral("UPDATE admmp SET MP002 = 'x'"), {}, SqlAccess::Update), EDatabaseError);
    // A second back end on the schema (the next session) keeps it so.
    TPgBackend again(schema_->Connection(), false);
    EXPECT_THROW(
        again.Query(QStringLiteral("SELECT MP002 FROM admmp"), {}, SqlAccess::Read)->Next(), EDatabaseError);
}

} // namespace
