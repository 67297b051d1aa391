#include "runtime/system/ChildProcess.h"

#include <gtest/gtest.h>

TEST(ChildProcess, ArgumentsReachTheProgramAsTheyAre)
{
    const QStringList args {QStringLiteral("a b"), QStringLiteral("$(id)"),
        QStringLiteral("x; echo injected"), QStringLiteral("'q'\"")};
    const TProgramRun run
        = RunProgram(QStringLiteral("/usr/bin/printf"), QStringList {QStringLiteral("[%s]")} + args, 10);
    ASSERT_EQ(run.Result, TProgramRun::Finished);
    EXPECT_TRUE(run.Succeeded());
    EXPECT_EQ(run.Output, QStringLiteral("[a b][$(id)][x; echo injected]['q'\"]"));
}

TEST(ChildProcess, StatusErrorsAndStartFailuresAreTold)
{
    const TProgramRun failed = RunProgram(
        QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("echo no >&2; exit 3")}, 10);
    EXPECT_EQ(failed.Result, TProgramRun::Finished);
    EXPECT_FALSE(failed.Succeeded());
    EXPECT_EQ(failed.ExitCode, 3);
    EXPECT_EQ(failed.ErrorOutput, QStringLiteral("no\n"));

    const TProgramRun missing = RunProgram(QStringLiteral("/nonexistent/program"), {}, 10);
    EXPECT_EQ(missing.Result, TProgramRun::NotStarted);
    EXPECT_FALSE(missing.StartError.isEmpty());
    EXPECT_FALSE(missing.Succeeded());
}

TEST(ChildProcess, AProgramThatHangsIsStopped)
{
    const TProgramRun run = RunProgram(QStringLiteral("/bin/sleep"), {QStringLiteral("60")}, 1);
    EXPECT_EQ(run.Result, TProgramRun::TimedOut);
    EXPECT_FALSE(run.Succeeded());
}
