#include "options/UserDefIni.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

const QString kProgram = QStringLiteral("ZORV52");

// A client home holding UserDef.ini with the given text; the registry file
// beside it names the home as "ClientPath".
class UserDefHome {
public:
    explicit UserDefHome(const QByteArray& userDef)
        : registry_("STEWARD_REGISTRY", folder_.file(QStringLiteral("registry.reg")).toLocal8Bit())
    {
        QString home = Home();
        home.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        folder_.write(QStringLiteral("registry.reg"),
            "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\n"
            "\"ClientPath\"=\""
                + home.toUtf8() + "\"\n");
        if (!userDef.isNull())
            folder_.write(QStringLiteral("home/UserDef.ini"), userDef);
    }
    QString Home() const { return folder_.file(QStringLiteral("home")); }

private:
    TempFolder folder_;
    ScopedEnv registry_;
};

} // namespace

TEST(UserDefIni, LooksUpFormatsBySlipType)
{
    UserDefHome home("[Other]\nZORV52_5101=Wrong\n"
                     "[VoucherFormatDef]\n"
                     "ZORV52_5101=Change slip A\n"
                     "zorv52_5102=Lower case key\n"
                     "ZORV52_A$EQUAL$B=Fmt1\n"
                     "ZORV52_EMPTY=\n"
                     "ZORV51_5101=Other program\n");
    const TUserDefIni userDef;
    EXPECT_EQ(userDef.FileName(), home.Home() + QStringLiteral("\\UserDef.ini"));
    EXPECT_EQ(userDef.Entries().size(), 5);
    EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("5101")), QStringLiteral("Change slip A"));
    EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("5102")), QStringLiteral("Lower case key"));
    EXPECT_EQ(
        userDef.Lookup(QStringLiteral("zorv52"), QStringLiteral("5101")), QStringLiteral("Change slip A"));
    EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("a=b")), QStringLiteral("Fmt1"));
    EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("A$EQUAL$B")), QStringLiteral("Fmt1"));
    EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("EMPTY")), QString());
    EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("5103")), QStringLiteral("<New>"));
    EXPECT_EQ(userDef.Lookup(kProgram, QString()), QStringLiteral("<New>"));
    EXPECT_EQ(
        userDef.Lookup(QStringLiteral("ZORV51"), QStringLiteral("5101")), QStringLiteral("Other program"));
}

TEST(UserDefIni, MissingFileOrHomeGivesNewEverywhere)
{
    {
        UserDefHome home(QByteArray {});
        const TUserDefIni userDef;
        EXPECT_TRUE(userDef.Entries().isEmpty());
        EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("5101")), QStringLiteral("<New>"));
    }
    {
        TempFolder folder;
        ScopedEnv registry("STEWARD_REGISTRY", folder.file(QStringLiteral("absent.reg")).toLocal8Bit());
        const TUserDefIni userDef;
        EXPECT_EQ(userDef.FileName(), QString());
        EXPECT_EQ(userDef.Lookup(kProgram, QStringLiteral("5101")), QStringLiteral("<New>"));
    }
}
