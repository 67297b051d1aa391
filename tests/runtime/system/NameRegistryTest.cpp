#include "runtime/system/NameRegistry.h"
#include "runtime/system/AutoObject.h"

#include <gtest/gtest.h>

#include <QThread>
#include <functional>

TEST(NameRegistry, NamesMatchWithoutRegardToCaseAndTheLastRegistrationWins)
{
    TNameRegistry<int> registry;
    registry.Register("ZORV52S.Class1", 1);
    EXPECT_TRUE(registry.Contains("zorv52s.class1"));
    EXPECT_EQ(registry.Value("ZORV52S.CLASS1"), 1);
    // Beyond ASCII too: Greek capitals and small letters are one name.
    registry.Register("σχήμα", 2);
    EXPECT_EQ(registry.Value("ΣΧΉΜΑ"), 2);
    registry.Register("zorv52s.CLASS1", 3);
    EXPECT_EQ(registry.Value("ZORV52S.Class1"), 3);
    QStringList names = registry.Names();
    names.sort();
    EXPECT_EQ(names, QStringList({"zorv52s.CLASS1", "σχήμα"}));

    EXPECT_EQ(registry.Value("other", -7), -7);
    EXPECT_FALSE(registry.Unregister("other"));
    EXPECT_TRUE(registry.Unregister("Zorv52s.Class1"));
    EXPECT_FALSE(registry.Contains("ZORV52S.Class1"));
    EXPECT_EQ(registry.Value("ZORV52S.Class1"), 0);
}

TEST(NameRegistry, AValueHandedOutMayRegisterMoreWhileItRuns)
{
    // The factory calls creators outside its lock: a creator that registers
    // another identifier must not deadlock.
    AutoObjectFactory::Register("Test.Outer", [] {
        AutoObjectFactory::Register("Test.Inner", [] { return AutoObjectPtr(); });
        return AutoObjectPtr(std::make_shared<TAutoObject>("Test.Outer"));
    });
    EXPECT_EQ(AutoObjectFactory::Create("test.outer")->ClassName(), "Test.Outer");
    EXPECT_TRUE(AutoObjectFactory::IsRegistered("TEST.INNER"));
    EXPECT_THROW(AutoObjectFactory::Create("Test.Inner"), EOleSysError); // a creator that gives nothing
    AutoObjectFactory::Unregister("Test.Outer");
    AutoObjectFactory::Unregister("Test.Inner");
    EXPECT_THROW(AutoObjectFactory::Create("Test.Outer"), EOleSysError);
}

TEST(NameRegistry, ThreadsRegisteringAndReadingAtOnceLoseNothing)
{
    TNameRegistry<int> registry;
    constexpr int perThread = 2000;
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back(QThread::create([&registry, t] {
            for (int i = 0; i < perThread; ++i) {
                registry.Register(QStringLiteral("T%1-%2").arg(t).arg(i), i);
                (void)registry.Value(QStringLiteral("t%1-%2").arg((t + 1) % 4).arg(i));
            }
        }));
    for (auto& thread : threads)
        thread->start();
    for (auto& thread : threads)
        thread->wait();
    EXPECT_EQ(registry.Names().size(), 4 * perThread);
    EXPECT_EQ(registry.Value("t3-1999"), 1999);
}
