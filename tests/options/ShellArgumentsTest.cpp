#include "options/ShellArguments.h"

#include <gtest/gtest.h>

namespace {

// The message CheckShellArguments raises; empty when it accepts.
QString refusal(const Variant& params, const std::optional<TShellIdentity>& opened = std::nullopt)
{
    try {
        CheckShellArguments(params, opened);
        return QString();
    } catch (const EArgumentError& e) {
        return e.Message();
    }
}

Variant shell(const Variant& user, const Variant& company, const Variant& database, const Variant& handle,
    const Variant& features)
{
    return Variant::ArrayOf({user, company, database, handle, features});
}

} // namespace

TEST(ShellArgumentsTest, TheShellsUsualArraysPass)
{
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "DEMO", 0, "FEP")), QString());
    EXPECT_EQ(refusal(shell("CHEN", "HV01;Head office", "DEMO", "", "")), QString())
        << "a company with its name";
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "DEMO", Variant(), "")), QString()) << "no handle at all";
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "DEMO", "4711", "")), QString()) << "a handle as text";
    // Elements count from the array's low bound, as the shell's arrays may start at 1.
    Variant fromOne = Variant::CreateArray(1, 5);
    for (int i = 1; i <= 5; ++i)
        fromOne[i] = Variant(QStringList {"CHEN", "HV01", "DEMO", "0", "FEP"}.at(i - 1));
    EXPECT_EQ(refusal(fromOne), QString());
    EXPECT_EQ(refusal(Variant::Ref(fromOne)), QString()) << "a reference reads as its array";
}

TEST(ShellArgumentsTest, EveryElementIsCheckedAndNamed)
{
    EXPECT_EQ(refusal(Variant("CHEN")), QStringLiteral("the arguments are no array"));
    EXPECT_EQ(refusal(Variant::ArrayOf({"CHEN", "HV01", "DEMO", 0})),
        QStringLiteral(
            "5 arguments wanted (user code, company, database name, window handle, feature list), got 4"));
    EXPECT_EQ(refusal(shell("  ", "HV01", "DEMO", 0, "")), QStringLiteral("argument 0 (user code) is empty"));
    EXPECT_EQ(refusal(shell(Variant::ArrayOf({"CHEN"}), "HV01", "DEMO", 0, "")),
        QStringLiteral("argument 0 (user code) is no text"));
    EXPECT_EQ(refusal(shell("CHEN", ";Head office", "DEMO", 0, "")),
        QStringLiteral("argument 1 (company) has no company code before \";\""));
    EXPECT_EQ(
        refusal(shell("CHEN", "HV01", "", 0, "")), QStringLiteral("argument 2 (database name) is empty"));
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "DEMO", "window", "")),
        QStringLiteral("argument 3 (window handle) is no number"));
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "DEMO", 0, Variant::ArrayOf({"FEP"}))),
        QStringLiteral("argument 4 (feature list) is no text"));
}

TEST(ShellArgumentsTest, AnOpenWindowKeepsItsUserCompanyAndDatabase)
{
    const TShellIdentity opened {QStringLiteral("CHEN"), QStringLiteral("HV01"), QStringLiteral("DEMO")};
    EXPECT_EQ(refusal(shell("chen", "HV01;Head office", "demo", 0, "FEP"), opened), QString())
        << "codes compare without case, the company by its code";
    EXPECT_EQ(refusal(shell("LIU", "HV01", "DEMO", 0, ""), opened),
        QStringLiteral("argument 0 (user code) is \"LIU\", but the window runs for \"CHEN\""));
    EXPECT_EQ(refusal(shell("CHEN", "HV02", "DEMO", 0, ""), opened),
        QStringLiteral("argument 1 (company) is \"HV02\", but the window runs for \"HV01\""));
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "OTHER", 0, ""), opened),
        QStringLiteral("argument 2 (database name) is \"OTHER\", but the window runs for \"DEMO\""));
    EXPECT_EQ(refusal(shell("CHEN", "HV01", "DEMO", 0, "FAX"), opened), QString()) << "features may differ";
}
