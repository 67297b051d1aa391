#include "runtime/data/ClientDataSet.h"

#include <gtest/gtest.h>

namespace {

// An application server with one provider of `total` generated rows, answering
// AS_GetRecords packet by packet and remembering every call.
class FakeAppServer : public TAutoObject {
public:
    struct Call {
        QString provider;
        int count;
        QString request;
        int options;
    };

    explicit FakeAppServer(int total)
        : TAutoObject("FakeS.Class1")
        , total_(total)
    {
        AddMethod("AS_GetRecords", [this](VariantList& args) { return getRecords(args); });
        AddMethod("AS_GetProviderNames", [](VariantList&) { return Variant::ArrayOf({"Provider1"}); });
    }

    QList<Call> calls;
    bool setEndFlag = false;
    bool damageContinuations = false;

private:
    Variant getRecords(VariantList& args)
    {
        const Call call {
            Arg(args, 0).ToString(), Arg(args, 1).ToInt(), Arg(args, 3).ToString(), Arg(args, 4).ToInt()};
        calls << call;
        if (call.provider != QLatin1String("Provider1"))
            throw EOleError(QStringLiteral("Provider '%1' not found").arg(call.provider));
        if (call.request == QLatin1String("SELECT * FROM NOWHERE"))
            throw EOleError(QStringLiteral("no such table: NOWHERE"));
        if (!call.request.isEmpty() || (call.options & GetRecordsReset)) {
            next_ = 0;
            query_ = call.request;
        }
        DataPacketWriter w;
        w.AddField("TO001", ftString, 4);
        w.AddField("TO002", ftString, 11);
        w.AddField("TP003", ftInteger);
        while (next_ < total_ && (call.count < 0 || w.RowCount() < call.count)) {
            w.AppendRow({query_.isEmpty() ? "5101" : query_.left(4),
                QString::number(next_ + 1).rightJustified(11, '0'), next_ + 1});
            ++next_;
        }
        SetOut(args, 2, Variant(static_cast<int>(w.RowCount())));
        QByteArray packet = w.Finish(setEndFlag && next_ == total_);
        if (damageContinuations && call.options == 0) {
            // Cut inside the last row, the recorded length made to agree.
            packet.chop(3);
            for (int i = 0; i < 8; ++i)
                packet[16 + i] = static_cast<char>((static_cast<quint64>(packet.size()) >> (8 * i)) & 0xFF);
        }
        return Variant(packet);
    }

    int total_;
    int next_ = 0;
    QString query_;
};

// Registers a server class for one test and removes it afterwards.
class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        AutoObjectFactory::Register("ZORVTS.Class1", [this] {
            ++created;
            server = std::make_shared<FakeAppServer>(total);
            return server;
        });
        connection.SetAddress("127.0.0.1");
        connection.SetServerName("ZORVTS.Class1");
        cds.SetRemoteServer(&connection);
        cds.SetProviderName("Provider1");
    }
    void TearDown() override { AutoObjectFactory::Unregister("ZORVTS.Class1"); }

    int total = 25;
    int created = 0;
    std::shared_ptr<FakeAppServer> server;
    TSocketConnection connection;
    TClientDataSet cds;
};

} // namespace

TEST_F(ServerFixture, AllRowsInOnePacketByDefault)
{
    cds.DataRequest("SELECT MOCTO.* FROM $$MOCTO");
    cds.Open();
    EXPECT_TRUE(connection.Connected());
    EXPECT_TRUE(connection.InProcess());
    EXPECT_EQ(created, 1);
    ASSERT_EQ(server->calls.size(), 1);
    EXPECT_EQ(server->calls[0].count, -1);
    EXPECT_EQ(server->calls[0].request, QStringLiteral("SELECT MOCTO.* FROM $$MOCTO"));
    EXPECT_EQ(server->calls[0].options, GetRecordsReset);
    EXPECT_EQ(cds.RecordCount(), 25);
    EXPECT_EQ(cds.FieldByName("TO001")->AsString(), QStringLiteral("SELE"));
    cds.Last();
    EXPECT_EQ(server->calls.size(), 1);
}

TEST_F(ServerFixture, RowsStreamInPacketsAsTheCursorMoves)
{
    cds.SetPacketRecords(10);
    cds.Open();
    EXPECT_EQ(cds.RecordCount(), 10);
    EXPECT_TRUE(cds.MorePending());
    ASSERT_EQ(server->calls.size(), 1);

    int seen = 0;
    for (; !cds.Eof(); cds.Next()) {
        ++seen;
        EXPECT_EQ(cds.FieldByName("TP003")->AsInteger(), seen);
    }
    EXPECT_EQ(seen, 25);
    // 10 + 10 + 5: the short packet ends the exchange; continuations carry no request.
    ASSERT_EQ(server->calls.size(), 3);
    EXPECT_EQ(server->calls[1].count, 10);
    EXPECT_EQ(server->calls[1].request, QString());
    EXPECT_EQ(server->calls[1].options, 0);
    EXPECT_FALSE(cds.MorePending());

    // Reopening starts the provider afresh.
    cds.Close();
    cds.Open();
    EXPECT_EQ(server->calls.size(), 4);
    EXPECT_EQ(server->calls[3].options, GetRecordsReset);
    EXPECT_EQ(cds.FieldByName("TP003")->AsInteger(), 1);
}

TEST_F(ServerFixture, ExactMultipleNeedsOneEmptyPacketUnlessTheServerFlagsTheEnd)
{
    total = 20;
    cds.SetPacketRecords(10);
    cds.Open();
    cds.Last();
    EXPECT_EQ(cds.RecordCount(), 20);
    EXPECT_EQ(server->calls.size(), 3); // 10, 10, 0

    cds.Close();
    connection.Close();
    cds.Open();
    server->setEndFlag = true;
    cds.Last();
    EXPECT_EQ(server->calls.size(), 2); // 10, then 10 flagged as the last
    EXPECT_EQ(cds.RecordCount(), 20);
}

TEST_F(ServerFixture, LocateAndAppendFetchTheRest)
{
    cds.SetPacketRecords(8);
    cds.Open();
    EXPECT_TRUE(cds.Locate("TO002", "00000000020"));
    EXPECT_EQ(cds.RecNo(), 20);
    EXPECT_EQ(cds.RecordCount(), 25);

    cds.Close();
    cds.Open();
    cds.Append();
    cds.FieldByName("TP003")->SetAsInteger(99);
    cds.Post();
    EXPECT_EQ(cds.RecNo(), 26);
    cds.Last();
    EXPECT_EQ(cds.FieldByName("TP003")->AsInteger(), 99);
}

TEST_F(ServerFixture, FetchOnDemandOffKeepsTheFirstPacket)
{
    cds.SetPacketRecords(10);
    cds.SetFetchOnDemand(false);
    cds.Open();
    cds.Last();
    EXPECT_EQ(cds.RecordCount(), 10);
    EXPECT_EQ(cds.GetNextPacket(), 10);
    EXPECT_EQ(cds.RecordCount(), 20);
}

TEST_F(ServerFixture, ProviderFailuresReachTheCallerAndLeaveTheDataSetClosed)
{
    cds.SetProviderName("pvdNothing");
    try {
        cds.Open();
        FAIL() << "no error";
    } catch (const EOleError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Provider 'pvdNothing' not found"));
    }
    EXPECT_FALSE(cds.Active());

    cds.SetProviderName("Provider1");
    cds.SetCommandText("SELECT * FROM NOWHERE");
    EXPECT_THROW(cds.Open(), EOleError);
    EXPECT_FALSE(cds.Active());
    EXPECT_EQ(cds.FieldCount(), 0);

    TClientDataSet orphan;
    orphan.SetProviderName("Provider1");
    EXPECT_THROW(orphan.Open(), EDatabaseError); // no connection
    TClientDataSet nothing;
    EXPECT_THROW(nothing.Open(), EDatabaseError); // no provider, no packet
}

TEST_F(ServerFixture, DamagedContinuationIsRefusedWholeAndTheCacheStaysUsable)
{
    cds.SetPacketRecords(10);
    cds.Open();
    server->damageContinuations = true;
    cds.SetRecNo(10);
    try {
        cds.Next();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().startsWith("Damaged data packet: ")) << e.what();
    }
    // None of the damaged packet's nine whole rows were taken, and nothing more is asked.
    EXPECT_EQ(cds.RecordCount(), 10);
    EXPECT_FALSE(cds.MorePending());
    cds.Last();
    EXPECT_EQ(cds.FieldByName("TP003")->AsInteger(), 10);
    cds.Append();
    cds.FieldByName("TP003")->SetAsInteger(11);
    cds.Post();
    EXPECT_EQ(cds.RecordCount(), 11);
    cds.Last();
    EXPECT_EQ(cds.FieldByName("TO001")->IsNull(), true);
    EXPECT_EQ(cds.FieldByName("TP003")->AsInteger(), 11);
}

TEST_F(ServerFixture, DamagedPacketFromTheServerRaisesAndOpensNothing)
{
    struct Bad : TAutoObject {
        Bad()
            : TAutoObject("BadS.Class1")
        {
            AddMethod("AS_GetRecords", [](VariantList&) { return Variant(QByteArray("ZDPK\1\0garbage")); });
        }
    };
    connection.SetAppServer(Variant(std::make_shared<Bad>()));
    EXPECT_TRUE(connection.Connected());
    EXPECT_THROW(cds.Open(), EDatabaseError);
    EXPECT_FALSE(cds.Active());
    EXPECT_EQ(created, 0); // the handed-over object is used, nothing is created
}

TEST(SocketConnection, InProcessServerComesFromTheFactoryByName)
{
    AutoObjectFactory::Register("ZORV52T.Class1", [] { return std::make_shared<FakeAppServer>(1); });
    TSocketConnection c;
    c.SetAddress(" 127.0.0.1 ");
    c.SetServerName("zorv52t.class1");
    EXPECT_FALSE(c.Connected());
    EXPECT_TRUE(c.AppServer().IsEmpty());
    const Variant server = c.GetServer();
    ASSERT_TRUE(server.IsObject());
    EXPECT_EQ(server.Call("AS_GetProviderNames"), Variant::ArrayOf({"Provider1"}));
    c.Close();
    EXPECT_FALSE(c.Connected());
    EXPECT_TRUE(c.AppServer().IsEmpty());
    AutoObjectFactory::Unregister("ZORV52T.Class1");
}

TEST(SocketConnection, FailuresToConnectRaise)
{
    TSocketConnection c;
    c.SetAddress("127.0.0.1");
    c.SetServerName("NOSUCH.Class1");
    EXPECT_THROW(c.Open(), EOleSysError);
    EXPECT_FALSE(c.Connected());

    c.SetServerName("");
    EXPECT_THROW(c.Open(), ESocketConnectionError);

    c.SetServerName("ZORV52S.Class1");
    c.SetAddress("");
    EXPECT_THROW(c.Open(), ESocketConnectionError);

    c.SetAddress("192.168.1.20");
    c.SetTransportName("none-here");
    try {
        c.Open();
        FAIL() << "no error";
    } catch (const ESocketConnectionError& e) {
        EXPECT_TRUE(e.Message().contains("192.168.1.20:211")) << e.what();
    }
    EXPECT_FALSE(c.Connected());
}

namespace {

// A transport that reaches "good" machines only and lends them a fake server.
class FakeTransport : public IServerTransport {
public:
    static inline QStringList log;
    void Connect(const QString& host, const QString& address, int port) override
    {
        log << QStringLiteral("connect %1%2:%3").arg(host, address).arg(port);
        if (!address.startsWith("good") && !host.startsWith("good"))
            throw ESocketConnectionError(QStringLiteral("Connection refused by %1").arg(address));
    }
    AutoObjectPtr CreateServerObject(const QString& serverName) override
    {
        log << "create " + serverName;
        return std::make_shared<FakeAppServer>(3);
    }
    void Disconnect() override { log << "disconnect"; }
};

} // namespace

TEST(SocketConnection, NetworkTransportPlugsInAndBrokerPassesOverFailedMachines)
{
    ServerTransports::Register("fake", [] { return std::make_unique<FakeTransport>(); });
    FakeTransport::log.clear();
    TSimpleObjectBroker broker;
    broker.AddServer("down-1", 0);
    broker.AddServer("off", 0, false);
    broker.AddServer("good-2", 9000);

    TSocketConnection c;
    c.SetTransportName("fake");
    c.SetServerName("ZORV52S.Class1");
    c.SetObjectBroker(&broker);
    c.Open();
    EXPECT_TRUE(c.Connected());
    EXPECT_FALSE(c.InProcess());
    EXPECT_EQ(c.Address(), QStringLiteral("good-2"));
    EXPECT_EQ(FakeTransport::log,
        QStringList({"connect down-1:211", "connect good-2:9000", "create ZORV52S.Class1"}));
    EXPECT_TRUE(broker.Servers()[0].HasFailed);

    TClientDataSet cds;
    cds.SetRemoteServer(&c);
    cds.SetProviderName("Provider1");
    cds.Open();
    EXPECT_EQ(cds.RecordCount(), 3);
    c.Close();
    EXPECT_EQ(FakeTransport::log.last(), QStringLiteral("disconnect"));
    EXPECT_EQ(cds.RecordCount(), 3); // the cache stays

    // Every machine down: the last error is raised and the marks are cleared for a retry.
    TSimpleObjectBroker allDown;
    allDown.AddServer("down-1");
    allDown.AddServer("down-2");
    c.SetObjectBroker(&allDown);
    try {
        c.Open();
        FAIL() << "no error";
    } catch (const ESocketConnectionError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Connection refused by down-2"));
    }
    EXPECT_FALSE(allDown.Servers()[0].HasFailed);
    ServerTransports::Unregister("fake");
}
