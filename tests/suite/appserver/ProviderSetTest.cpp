#include "suite/appserver/ProviderSet.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

// Cells as a provider hands them to a client: an empty text is a text, a null
// is a null, whatever the engine's shortcuts for either.
TEST(ProviderSetTest, EmptyTextsZeroLengthBlobsAndNullsKeepTheirKind)
{
    testsupport::TempFolder folder;
    auto db = OpenBackend(QStringLiteral("SQLITE"), folder.file(QStringLiteral("p.db")), true);
    db->ExecuteScript(QStringLiteral("CREATE TABLE T (K INTEGER, S TEXT, B BLOB, F REAL);"
                                     "INSERT INTO T VALUES (1, '', x'', 0.5);"
                                     "INSERT INTO T VALUES (2, NULL, NULL, NULL);"
                                     "INSERT INTO T VALUES (3, '工单', x'00ff', -2);"
                                     "INSERT INTO T VALUES (4, 'a' || char(0) || 'b', NULL, 3);"
                                     "INSERT INTO T VALUES (5, x'', NULL, 4);"));
    TProviderSet providers([&](const QString&, const QString& request) {
        return std::unique_ptr<TDbCursor>(db->Query(request));
    });
    int sent = 0;
    DataPacketReader r(providers.GetRecords(
        QStringLiteral("Provider1"), -1, sent, QStringLiteral("SELECT K, S, B, F FROM T ORDER BY K"), 1));
    ASSERT_EQ(sent, 5);
    ASSERT_EQ(r.FieldCount(), 4);
    EXPECT_EQ(r.Fields()[1].Type, ftString);
    EXPECT_EQ(r.Fields()[2].Type, ftBlob);

    ASSERT_TRUE(r.NextRow());
    EXPECT_FALSE(r.IsNull(1));
    EXPECT_EQ(r.Utf8(1).size(), 0);
    EXPECT_FALSE(r.IsNull(2));
    EXPECT_EQ(r.Float(3), 0.5);

    ASSERT_TRUE(r.NextRow());
    EXPECT_TRUE(r.IsNull(1));
    EXPECT_TRUE(r.IsNull(2));
    EXPECT_TRUE(r.IsNull(3));

    ASSERT_TRUE(r.NextRow());
    EXPECT_EQ(r.String(1), QStringLiteral("工单"));
    EXPECT_EQ(r.Utf8(2), QByteArray("\0\xff", 2));
    EXPECT_EQ(r.Float(3), -2.0);

    ASSERT_TRUE(r.NextRow()); // an embedded NUL does not cut the text short
    EXPECT_EQ(r.Utf8(1), QByteArray("a\0b", 3));
    ASSERT_TRUE(r.NextRow()); // a zero-length value in a text column is empty, not null
    EXPECT_FALSE(r.IsNull(1));
    EXPECT_EQ(r.Utf8(1).size(), 0);
    EXPECT_FALSE(r.NextRow());
}
