#include "runtime/system/Libraries.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {
using Convert = const char* (*)(const char*);

Convert entry(const TLibrary& library, const char* name)
{
    return reinterpret_cast<Convert>(library.GetProcAddress(QString::fromLatin1(name)));
}
} // namespace

TEST(HvlanguageLibrary, ConvertsBothWaysByWindowsName)
{
    const auto library = TLibrary::Load(QStringLiteral("Hvlanguage.dll"));
    ASSERT_TRUE(library) << TLibrary::LastLoadError().toStdString();
    const Convert toBig5 = entry(*library, "GBtoBIG5");
    const Convert toGb = entry(*library, "BIG5toGB");
    ASSERT_TRUE(toBig5 && toGb);
    EXPECT_EQ(QString::fromUtf8(toBig5("工单变更单 ABC")), QStringLiteral("工單變更單 ABC"));
    EXPECT_EQ(QString::fromUtf8(toGb("工單變更單")), QStringLiteral("工单变更单"));
    EXPECT_STREQ(toBig5(""), "");
    EXPECT_STREQ(toBig5(nullptr), "");
    EXPECT_TRUE(entry(*library, "GetBIG5Data"));
    EXPECT_FALSE(entry(*library, "NoSuchEntry"));
}

TEST(HvlanguageLibrary, ResultsBelongToTheCallingThread)
{
    const auto library = TLibrary::Load(QStringLiteral("HVLANGUAGE.DLL"));
    ASSERT_TRUE(library);
    const Convert toBig5 = entry(*library, "GBtoBIG5");
    const char* mine = toBig5("简体");
    QString other;
    QThread* worker = QThread::create([&] { other = QString::fromUtf8(toBig5("打印预览")); });
    worker->start();
    worker->wait();
    delete worker;
    EXPECT_EQ(QString::fromUtf8(mine), QStringLiteral("簡體"));
    EXPECT_EQ(other, QStringLiteral("打印預覽"));
}
