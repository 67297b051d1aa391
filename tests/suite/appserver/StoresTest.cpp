// Condition schemes and stored formats through the late-bound interface.
#include "DemoServerFixture.h"

namespace {

Variant schemeKey(const QString& name, const QString& user = QStringLiteral("CHEN"))
{
    return Variant::ArrayOf({name, user, "ZORV52"});
}

Variant insertArgs(const QString& name, const QString& values, bool replace = false)
{
    return Variant::ArrayOf(
        {name, "CHEN", "20241206", "ZORV52", "edTO001.text;cboTO041.itemindex;", values, replace});
}

QStringList schemeNames(const Variant& server, const QString& user)
{
    server.Call(QStringLiteral("LoadTable"), {Variant::ArrayOf({user, "ZORV52"})});
    QStringList names;
    Variant sent;
    DataPacketReader reader(server
                                .Call(QStringLiteral("AS_GetRecords"),
                                    {"pvdConSave", -1, Variant::Ref(sent), "", GetRecordsReset})
                                .ToBytes());
    while (reader.NextRow())
        names << reader.String(0);
    return names;
}

Variant formatKey(const QString& name)
{
    return Variant::ArrayOf({"TfrmZorv52Fmt", name});
}

Variant insertParams(const QString& name)
{
    return Variant::ArrayOf({"HV01", "CHEN", "PMC", "TfrmZorv52Fmt", name, "", "cboTO041:x=0"});
}

Variant updateParams(const QString& name, const QString& counter)
{
    return Variant::ArrayOf({"HV01", "LIU", "", counter, "TfrmZorv52Fmt", name, ""});
}

int write(const Variant& server, bool update, const QStringList& lines, const Variant& params)
{
    VariantList items;
    for (const QString& l : lines)
        items << l;
    Variant text = Variant::ArrayOf(items);
    Variant size = 1;
    return server
        .Call(QStringLiteral("RunInsUpdSQL"), {update, Variant::Ref(text), params, Variant::Ref(size)})
        .ToInt();
}

// [counter text, form text] of a stored format, or Unassigned.
Variant read(const Variant& server, const QString& name)
{
    Variant out;
    const int found
        = server.Call(QStringLiteral("GetBlobField"), {formatKey(name), Variant::Ref(out)}).ToInt();
    return found > 0 ? out : Variant();
}

int lock(const Variant& server, const QString& name, int counter, const QString& asRead)
{
    return server
        .Call(QStringLiteral("RunUpdFlagSQL"), {Variant::ArrayOf({counter, asRead, "TfrmZorv52Fmt", name})})
        .ToInt();
}

} // namespace

class StoresTest : public DemoServerTest { };

TEST_F(StoresTest, SchemesAreInsertedListedRenamedAndDeletedPerUser)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    EXPECT_EQ(server
                  .Call(QStringLiteral("InsertConTable"),
                      {insertArgs(QStringLiteral("十二月已审"), "A511\r\n0\r\n")})
                  .ToString(),
        QString());
    EXPECT_EQ(server.Call(QStringLiteral("InsertConTable"), {insertArgs(QStringLiteral("all"), "\r\n3\r\n")})
                  .ToString(),
        QString());
    EXPECT_EQ(
        schemeNames(server, QStringLiteral("CHEN")), (QStringList {"all", QStringLiteral("十二月已审")}));
    EXPECT_TRUE(schemeNames(server, QStringLiteral("LIU")).isEmpty());

    // The same name again: refused without the replace flag, replaced with it.
    EXPECT_FALSE(server.Call(QStringLiteral("InsertConTable"), {insertArgs(QStringLiteral("all"), "x")})
                     .ToString()
                     .isEmpty());
    EXPECT_EQ(
        server.Call(QStringLiteral("InsertConTable"), {insertArgs(QStringLiteral("all"), "\r\n2\r\n", true)})
            .ToString(),
        QString());
    EXPECT_EQ(Column(QStringLiteral("SELECT VCONDITION FROM GENES WHERE NCONDITION='all'")),
        QStringList {"\r\n2\r\n"});

    EXPECT_EQ(
        server.Call(QStringLiteral("ChangeConName"), {schemeKey("all"), schemeKey("everything")}).ToString(),
        QString());
    EXPECT_FALSE(server
                     .Call(QStringLiteral("ChangeConName"),
                         {schemeKey("everything"), schemeKey(QStringLiteral("十二月已审"))})
                     .ToString()
                     .isEmpty());
    EXPECT_EQ(schemeNames(server, QStringLiteral("CHEN")),
        (QStringList {"everything", QStringLiteral("十二月已审")}));

    EXPECT_EQ(server.Call(QStringLiteral("DeleteConTable"), {schemeKey("everything")}).ToString(), QString());
    EXPECT_FALSE(
        server.Call(QStringLiteral("DeleteConTable"), {schemeKey("everything")}).ToString().isEmpty());
    EXPECT_EQ(schemeNames(server, QStringLiteral("CHEN")), QStringList {QStringLiteral("十二月已审")});
}

TEST_F(StoresTest, SchemeNamesAreLimitedToTwentyBytes)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    EXPECT_EQ(server.Call(QStringLiteral("InsertConTable"), {insertArgs(QString(10, QChar(0x65B9)), "")})
                  .ToString(),
        QString());
    EXPECT_FALSE(server.Call(QStringLiteral("InsertConTable"), {insertArgs(QString(11, QChar(0x65B9)), "")})
                     .ToString()
                     .isEmpty());
    EXPECT_FALSE(server.Call(QStringLiteral("InsertConTable"), {insertArgs(QStringLiteral("   "), "")})
                     .ToString()
                     .isEmpty());
}

TEST_F(StoresTest, FormatIsInsertedReadLockedAndUpdated)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    EXPECT_TRUE(read(server, QStringLiteral("宽版")).IsEmpty());
    ASSERT_EQ(write(server, false, {"inherited frmZorv52Fmt: TfrmZorv52Fmt", "Left = 10", "end"},
                  insertParams(QStringLiteral("宽版"))),
        1);
    Variant stored = read(server, QStringLiteral("宽版"));
    ASSERT_TRUE(stored.IsArray());
    EXPECT_EQ(stored[0].ToString(), QStringLiteral("1"));
    EXPECT_EQ(
        stored[1].ToString(), QStringLiteral("inherited frmZorv52Fmt: TfrmZorv52Fmt\r\nLeft = 10\r\nend"));
    // A second insert of the same key fails.
    EXPECT_LT(write(server, false, {"x"}, insertParams(QStringLiteral("宽版"))), 0);

    ASSERT_EQ(lock(server, QStringLiteral("宽版"), 1, QStringLiteral("1")), 1);
    ASSERT_EQ(
        write(server, true, {"object lblNew: TQRLabel", "end"}, updateParams(QStringLiteral("宽版"), "2")),
        1);
    stored = read(server, QStringLiteral("宽版"));
    EXPECT_EQ(stored[0].ToString(), QStringLiteral("2"));
    EXPECT_EQ(stored[1].ToString(), QStringLiteral("object lblNew: TQRLabel\r\nend"));
    EXPECT_EQ(Column(QStringLiteral("SELECT NT005||'/'||NT004||'/'||MODIFIER FROM WARRANT")),
        QStringList {"/1/LIU"});

    // A stale counter gets no lock, and an update without the lock changes nothing.
    EXPECT_LT(lock(server, QStringLiteral("宽版"), 1, QStringLiteral("1")), 0);
    EXPECT_LT(write(server, true, {"lost"}, updateParams(QStringLiteral("宽版"), "2")), 0);
    EXPECT_EQ(
        read(server, QStringLiteral("宽版"))[1].ToString(), QStringLiteral("object lblNew: TQRLabel\r\nend"));

    EXPECT_EQ(server.Call(QStringLiteral("RunDeleteSQL"), {formatKey(QStringLiteral("宽版"))}).ToInt(), 1);
    EXPECT_EQ(server.Call(QStringLiteral("RunDeleteSQL"), {formatKey(QStringLiteral("宽版"))}).ToInt(), 0);
}

TEST_F(StoresTest, CounterWrapsAfter999)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    ASSERT_EQ(write(server, false, {"a"}, insertParams("W")), 1);
    ASSERT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT")), 1);
    // Bring the counter to 999 the way 998 saves would.
    sqlite3* db = nullptr;
    sqlite3_open(DatabaseFile().toUtf8().constData(), &db);
    sqlite3_busy_timeout(db, 5000);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE WARRANT SET FLAG = 999", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);

    EXPECT_EQ(read(server, "W")[0].ToString(), QStringLiteral("999"));
    // The client turns 999 into 0 and writes 0 + 1.
    ASSERT_EQ(lock(server, "W", 0, QStringLiteral("999")), 1);
    ASSERT_EQ(write(server, true, {"b"}, updateParams("W", "1")), 1);
    EXPECT_EQ(read(server, "W")[0].ToString(), QStringLiteral("1"));
    EXPECT_EQ(read(server, "W")[1].ToString(), QStringLiteral("b"));
}

TEST_F(StoresTest, TwoClientsRacingForOneLockHaveOneWinner)
{
    const Variant first = NewServer(QStringLiteral("CHEN"));
    const Variant second = NewServer(QStringLiteral("LIU"));
    ASSERT_EQ(write(first, false, {"base"}, insertParams("Race")), 1);
    // Both read counter 1.
    ASSERT_EQ(read(first, "Race")[0].ToString(), QStringLiteral("1"));
    ASSERT_EQ(read(second, "Race")[0].ToString(), QStringLiteral("1"));
    const int a = lock(first, "Race", 1, QStringLiteral("1"));
    const int b = lock(second, "Race", 1, QStringLiteral("1"));
    EXPECT_EQ((a > 0) + (b > 0), 1);
    const Variant& winner = a > 0 ? first : second;
    const Variant& loser = a > 0 ? second : first;
    // The loser cannot write even with the counter the winner will write.
    EXPECT_LT(write(loser, true, {"loser"}, updateParams("Race", "2")), 0);
    EXPECT_EQ(write(winner, true, {"winner"}, updateParams("Race", "2")), 1);
    EXPECT_EQ(read(first, "Race")[1].ToString(), QStringLiteral("winner"));
}

TEST_F(StoresTest, OverlongFormatNamesAreRefused)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    EXPECT_EQ(write(server, false, {"a"}, insertParams(QString(20, QChar(0x683C)))), 1);
    EXPECT_LT(write(server, false, {"a"}, insertParams(QString(21, QChar(0x683C)))), 0);
    EXPECT_EQ(
        Count(QStringLiteral("SELECT length FROM syscolumns col INNER JOIN sysobjects obj ON obj.id=col.id "
                             "WHERE obj.name='WARRANT' AND col.name='NT002'")),
        40);
}

TEST_F(StoresTest, AFormatOfTooManyComponentsOrCharactersIsNeitherStoredNorHandedOut)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    // One component below the limit is stored; one above is refused, saying why.
    const auto labels = [](int n) {
        QStringList lines {QStringLiteral("inherited frmZorv52Fmt: TfrmZorv52Fmt")};
        for (int i = 1; i < n; ++i)
            lines << QStringLiteral("  object L%1: TQRLabel").arg(i) << QStringLiteral("  end");
        return lines << QStringLiteral("end");
    };
    EXPECT_EQ(write(server, false, labels(5000), insertParams(QStringLiteral("满"))), 1);
    EXPECT_LT(write(server, false, labels(5001), insertParams(QStringLiteral("过多"))), 0);
    EXPECT_TRUE(server.Get(QStringLiteral("LastError"))
                    .ToString()
                    .contains(QStringLiteral("more than 5000 components")))
        << qPrintable(server.Get(QStringLiteral("LastError")).ToString());
    EXPECT_LT(write(server, false, labels(100000), insertParams(QStringLiteral("十万"))), 0);
    // A text above 8 MiB in few components is refused by its length.
    EXPECT_LT(
        write(server, false,
            {QStringLiteral("object A: TQRLabel"), QString(8 * 1024 * 1024, u'x'), QStringLiteral("end")},
            insertParams(QStringLiteral("长"))),
        0);
    EXPECT_TRUE(
        server.Get(QStringLiteral("LastError")).ToString().contains(QStringLiteral("characters long")));
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT")), 1);
    // A row someone wrote into the database past the server is not handed out.
    ASSERT_EQ(Execute(QStringLiteral("UPDATE WARRANT SET NT003 = NT003 || char(13, 10) || '")
                  + labels(10).join(QStringLiteral("\r\n")) + QStringLiteral("'")),
        QString());
    EXPECT_TRUE(read(server, QStringLiteral("满")).IsEmpty());
    EXPECT_TRUE(server.Get(QStringLiteral("LastError")).ToString().contains(QStringLiteral("components")));
}
