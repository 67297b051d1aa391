#include "runtime/system/SystemFacts.h"

#include "support/TestSupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using testsupport::ScopedEnv;

TEST(SystemFacts, CodePageFromEnvironmentAndLocale)
{
    const ScopedEnv lcAll("LC_ALL", std::nullopt);
    const ScopedEnv lcType("LC_CTYPE", std::nullopt);
    {
        const ScopedEnv acp("STEWARD_ACP", "950");
        const ScopedEnv lang("LANG", "zh_CN.UTF-8");
        EXPECT_EQ(GetACP(), 950);
    }
    const ScopedEnv acp("STEWARD_ACP", "not a number");
    const struct {
        const char* locale;
        int codePage;
    } cases[] = {{"zh_CN.UTF-8", 936}, {"zh_SG", 936}, {"zh_TW.Big5", 950}, {"zh_HK.UTF-8", 950},
        {"zh_MO", 950}, {"en_US.UTF-8", 1252}, {"C", 1252}, {"", 1252}};
    for (const auto& c : cases) {
        const ScopedEnv lang("LANG", c.locale);
        EXPECT_EQ(GetACP(), c.codePage) << c.locale;
    }
    // LC_ALL overrides LC_CTYPE, which overrides LANG.
    const ScopedEnv lang("LANG", "en_US");
    const ScopedEnv type("LC_CTYPE", "zh_TW.UTF-8");
    EXPECT_EQ(GetACP(), 950);
    const ScopedEnv all("LC_ALL", "zh_CN.GBK");
    EXPECT_EQ(GetACP(), 936);
}

TEST(SystemFacts, TemporaryFolderAndUser)
{
    {
        const ScopedEnv tmp("TMPDIR", "/var/tmp/x");
        EXPECT_EQ(GetTempFolder(), "/var/tmp/x/");
    }
    {
        const ScopedEnv tmp("TMPDIR", std::nullopt);
        EXPECT_EQ(GetTempFolder(), "/tmp/");
    }
    EXPECT_FALSE(GetWindowsUserName().isEmpty());
}

TEST(SystemFacts, RuntimeFolderIsQtsOwnFallbackNamedAhead)
{
    testsupport::TempFolder temp;
    const ScopedEnv tmp("TMPDIR", temp.path().toLocal8Bit().constData());
    {
        const ScopedEnv runtime("XDG_RUNTIME_DIR", std::nullopt);
        PrepareRuntimeFolder();
        const QString expected = temp.path() + QStringLiteral("/runtime-") + GetWindowsUserName();
        EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), expected);
        const QFileInfo folder(expected);
        ASSERT_TRUE(folder.isDir());
        // Qt refuses a runtime folder that others may read.
        EXPECT_EQ(folder.permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const ScopedEnv runtime("XDG_RUNTIME_DIR", "/run/user/1000");
    PrepareRuntimeFolder();
    EXPECT_EQ(qEnvironmentVariable("XDG_RUNTIME_DIR"), "/run/user/1000");
}

TEST(SystemFacts, LocaleOfCodePage)
{
    EXPECT_EQ(LocaleOfCodePage(936).name(), "zh_CN");
    EXPECT_EQ(LocaleOfCodePage(950).name(), "zh_TW");
    EXPECT_EQ(LocaleOfCodePage(437).name(), "en_US");
    EXPECT_EQ(LocaleOfCodePage(0).name(), "en_US");
}
