// The daemon's gate for long reads: how many pass at once, in which order
// waiters get their turn, and which query texts count as key look-ups.
#include "suite/appserver/ReadGate.h"
#include "suite/appserver/DbBackend.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace {

// True once the gate has this many waiters; false when it still has fewer
// after a long while (a gate that lets everyone through at once).
bool untilWaiting(const TReadGate& gate, int waiting)
{
    for (int i = 0; i < 10000 && gate.Waiting() < waiting; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return gate.Waiting() >= waiting;
}

} // namespace

TEST(ReadGateTest, NoMoreThanTheLanesPassAtOnceAndEveryoneGetsThrough)
{
    for (const int lanes : {1, 2, 3}) {
        TReadGate gate(lanes);
        std::atomic<int> inside {0}, most {0}, done {0};
        std::vector<std::thread> threads;
        const unsigned seed = 4711u + static_cast<unsigned>(lanes);
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back([&, t] {
                std::mt19937 random(seed + static_cast<unsigned>(t));
                for (int i = 0; i < 50; ++i) {
                    TReadGate::Pass pass = gate.Enter();
                    const int now = ++inside;
                    for (int seen = most.load(); now > seen && !most.compare_exchange_weak(seen, now);) { }
                    std::this_thread::sleep_for(std::chrono::microseconds(random() % 200));
                    --inside;
                }
                ++done;
            });
        }
        for (std::thread& t : threads)
            t.join();
        EXPECT_EQ(done.load(), 8) << "lanes " << lanes << ", seed " << seed;
        EXPECT_LE(most.load(), lanes) << "seed " << seed;
        EXPECT_GE(most.load(), 1);
        EXPECT_EQ(gate.Busy(), 0);
        EXPECT_EQ(gate.Waiting(), 0);
    }
}

TEST(ReadGateTest, WaitersGetTheirLaneInTheOrderTheyCame)
{
    TReadGate gate(1);
    TReadGate::Pass first = gate.Enter();
    EXPECT_TRUE(first.Holds());
    std::mutex mutex;
    std::vector<int> order;
    std::vector<std::thread> threads;
    for (int t = 0; t < 5; ++t) {
        threads.emplace_back([&, t] {
            TReadGate::Pass pass = gate.Enter();
            std::lock_guard lock(mutex);
            order.push_back(t);
        });
        // The next one comes after this one waits.
        EXPECT_TRUE(untilWaiting(gate, t + 1)) << "waiter " << t << " went past a held lane";
    }
    EXPECT_EQ(gate.Busy(), 1);
    first.Leave();
    EXPECT_FALSE(first.Holds());
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(order, (std::vector<int> {0, 1, 2, 3, 4}));

    // A pass moved away holds the lane once, and leaving twice frees it once.
    TReadGate::Pass a = gate.Enter();
    TReadGate::Pass b = std::move(a);
    EXPECT_FALSE(a.Holds());
    EXPECT_EQ(gate.Busy(), 1);
    b.Leave();
    b.Leave();
    EXPECT_EQ(gate.Busy(), 0);
}

TEST(ReadGateTest, WithoutLanesNobodyWaits)
{
    TReadGate gate(0);
    TReadGate::Pass a = gate.Enter(), b = gate.Enter();
    EXPECT_FALSE(a.Holds());
    EXPECT_EQ(gate.Busy(), 0);
}

TEST(ReadGateTest, OnlyReadsThatPinAUniqueKeyWithEqualsAreKeyReads)
{
    testsupport::TempFolder folder;
    auto db = OpenBackend(QStringLiteral("SQLITE"), folder.file(QStringLiteral("g.db")), true);
    db->ExecuteScript(
        QStringLiteral("CREATE TABLE H (HA TEXT, HB TEXT, HC TEXT, PRIMARY KEY (HA, HB));"
                       "CREATE TABLE L (LA TEXT, LB TEXT, LN INTEGER, PRIMARY KEY (LA, LB, LN));"
                       "CREATE TABLE U (UID INTEGER PRIMARY KEY, CODE TEXT UNIQUE);"));
    const auto key = [&](const char* sql) { return IsKeyRead(QString::fromUtf8(sql), *db); };
    // The whole key, however written.
    EXPECT_TRUE(key("SELECT * FROM H WHERE HA='x' AND HB='y'"));
    EXPECT_TRUE(key("SELECT * FROM $$H A LEFT JOIN L ON LA=A.HA Where 1=1 and (A.HA = 'x') and A.HB=?"));
    EXPECT_TRUE(key("select * from h where hb = 'y' and ha = 'x' order by hc"));
    EXPECT_TRUE(key("SELECT * FROM U WHERE CODE='c'")); // a unique index is a key too
    EXPECT_TRUE(key("SELECT * FROM U WHERE UID=7"));
    EXPECT_TRUE(key("SELECT * FROM L WHERE LA='a' AND LB='b' AND LN=1 AND LB<>'z'"));
    // Part of a key, ranges, joins by column, a widening OR or NOT: long.
    EXPECT_FALSE(key("SELECT * FROM H WHERE HA='x'"));
    EXPECT_FALSE(key("SELECT * FROM H WHERE HA='x' AND HB>='y'"));
    EXPECT_FALSE(key("SELECT * FROM H WHERE HA=HC AND HB=HC"));
    EXPECT_FALSE(key("SELECT * FROM H WHERE HA='x' AND HB='y' OR HC='z'"));
    EXPECT_FALSE(key("SELECT * FROM H WHERE NOT (HA='x' AND HB='y')"));
    EXPECT_FALSE(key("SELECT * FROM L WHERE LA='a' AND LB='b'"));
    EXPECT_FALSE(key("SELECT * FROM H"));
    // A key of a table the text does not read is no key of this read.
    EXPECT_FALSE(key("SELECT * FROM L WHERE LA='a' AND HA='x' AND HB='y'"));
    // Inside a literal or a comment nothing counts; an unfinished text is long.
    EXPECT_FALSE(key("SELECT * FROM H WHERE HC='HA=''x'' AND HB=''y'''"));
    EXPECT_FALSE(key("SELECT * FROM H /* WHERE HA='x' AND HB='y' */"));
    EXPECT_FALSE(key("SELECT * FROM H WHERE HA='x AND HB='y"));
}
