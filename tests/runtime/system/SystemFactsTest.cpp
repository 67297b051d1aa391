#include "runtime/system/SystemFacts.h"

#include "support/TestSupport.h"

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
