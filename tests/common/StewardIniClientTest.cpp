#include "common/StewardINI.h"

#include "StewardIniTestHome.h"
#include "runtime/system/SystemFacts.h"

#include <gtest/gtest.h>

using steward_test::TestHome;
using testsupport::ScopedEnv;

namespace {

// A client home "<temp>/home" with the given StewardC.ini (none when null).
struct ClientHome {
    explicit ClientHome(
        const char* ini, const QByteArray& acp = "936", const QString& profileType = QString())
        : home({}, acp)
    {
        home.WriteRegistry(
            {{QStringLiteral("ClientPath"), Path()}, {QStringLiteral("ProfileType"), profileType}});
        if (ini)
            home.Write(QStringLiteral("home/StewardC.ini"), ini);
    }
    QString Path() const { return home.Folder(QStringLiteral("home")); }
    TestHome home;
};

} // namespace

TEST(StewardIniClient, MissingFileGivesEveryDefault)
{
    TestHome home({{QStringLiteral("ClientPath"), QStringLiteral("/nonexistent/steward")}}, "936");
    TStewardIniC ini;
    EXPECT_TRUE(ini.ErrorCode.isEmpty());
    EXPECT_EQ(ini.HomePath, QStringLiteral("/nonexistent/steward\\"));
    EXPECT_EQ(ini.ProfilePath, ini.HomePath);
    EXPECT_EQ(ini.IniFileName, QStringLiteral("/nonexistent/steward\\StewardC.ini"));
    EXPECT_EQ(ini.LangType, QStringLiteral("ENG"));
    EXPECT_EQ(ini.Version, QString());
    EXPECT_EQ(ini.CreateGifBeforeSendTW, QStringLiteral("Y"));
    EXPECT_EQ(ini.UICodePage, QStringLiteral("936"));
    EXPECT_EQ(ini.DBCodePage, QStringLiteral("936"));
    EXPECT_FALSE(ini.SupportCallBack);
    ASSERT_EQ(ini.Servers.DimCount(), 2);
    ASSERT_EQ(ini.Servers.HighBound(2), 0);
    EXPECT_EQ(ini.Servers.At(0, 0), Variant(QStringLiteral("127.0.0.1")));
    EXPECT_EQ(ini.Servers.At(1, 0), Variant(211));
    EXPECT_EQ(ini.WorkDLLPaths, QStringList {QStringLiteral("/nonexistent/steward\\C_PKG\\")});
    EXPECT_EQ(ini.AutoCheckNewMsg, QStringLiteral("1"));
    EXPECT_EQ(ini.CheckInterval, QStringLiteral("1"));
    EXPECT_EQ(ini.PopupMsg, QStringLiteral("1"));
    EXPECT_EQ(ini.LoginCheck, QStringLiteral("0"));
}

TEST(StewardIniClient, ReadsEveryKey)
{
    ClientHome client(
        "[Client Components]\nLangType=CHT\n[ProductVersion]\nVersion=9.1.2\n"
        "[UserDefine]\nCreateGifBeforeSendTW=N\n[CodePage]\nUICodePage=950\nDBCodePage=950\n"
        "[Server Information]\nSupportCallBack=1\nComputerName=erp01\nServerPort=3000\n"
        "[TaskMessageCenter Setting]\nAutoCheckNewMsg=0\nCheckInterval=15\nPopupMsg=0\nLoginCheck=1\n");
    TStewardIniC ini;
    EXPECT_TRUE(ini.LoadSettings());
    EXPECT_EQ(ini.LangType, QStringLiteral("CHT"));
    EXPECT_EQ(ini.Version, QStringLiteral("9.1.2"));
    EXPECT_EQ(ini.CreateGifBeforeSendTW, QStringLiteral("N"));
    EXPECT_EQ(ini.UICodePage, QStringLiteral("950"));
    EXPECT_EQ(ini.DBCodePage, QStringLiteral("950"));
    EXPECT_EQ(ini.UIConvertMode, 2);
    EXPECT_EQ(ini.DBConvertMode, 0);
    EXPECT_TRUE(ini.SupportCallBack);
    EXPECT_EQ(ini.Servers.At(0, 0), Variant(QStringLiteral("erp01")));
    EXPECT_EQ(ini.Servers.At(1, 0), Variant(3000));
    EXPECT_EQ(ini.AutoCheckNewMsg, QStringLiteral("0"));
    EXPECT_EQ(ini.CheckInterval, QStringLiteral("15"));
    EXPECT_EQ(ini.PopupMsg, QStringLiteral("0"));
    EXPECT_EQ(ini.LoginCheck, QStringLiteral("1"));
}

TEST(StewardIniClient, CodePagesAndConversionModes)
{
    struct Case {
        QByteArray acp;
        const char* ini;
        const char* system;
        const char* ui;
        int uiMode;
        int dbMode;
    };
    const Case cases[] = {
        {"1252", "", "437", "437", 0, 0},
        {"1252", "[CodePage]\nDBCodePage=950\n", "437", "437", 0, 0},
        {"936", "", "936", "936", 0, 0},
        {"950", "", "950", "950", 2, 2},
        {"950", "[CodePage]\nUICodePage=936\n", "950", "936", 4, 0},
        {"950", "[CodePage]\nUICodePage=936\nDBCodePage=950\n", "950", "936", 4, 1},
        {"936", "[CodePage]\nDBCodePage=950\n", "936", "936", 0, 1},
        {"936", "[CodePage]\nUICodePage=950\nDBCodePage=950\n", "936", "950", 2, 0},
        {"936", "[CodePage]\nUICodePage=437\nDBCodePage=950\n", "936", "437", 0, 0},
    };
    for (const Case& c : cases) {
        ClientHome client(c.ini, c.acp);
        TStewardIniC ini;
        SCOPED_TRACE(c.acp.toStdString() + " / " + c.ini);
        EXPECT_EQ(ini.SystemCodePage, QLatin1String(c.system));
        EXPECT_EQ(ini.UICodePage, QLatin1String(c.ui));
        EXPECT_EQ(ini.UIConvertMode, c.uiMode);
        EXPECT_EQ(ini.DBConvertMode, c.dbMode);
    }
}

TEST(StewardIniClient, ServerList)
{
    {
        ClientHome client("[Server Information]\nComputerName= alpha;beta; \nServerPort=4100\n");
        TStewardIniC ini;
        ASSERT_EQ(ini.Servers.DimCount(), 2);
        ASSERT_EQ(ini.Servers.HighBound(1), 1);
        ASSERT_EQ(ini.Servers.HighBound(2), 1);
        EXPECT_EQ(ini.Servers.At(0, 0), Variant(QStringLiteral("alpha")));
        EXPECT_EQ(ini.Servers.At(0, 1), Variant(QStringLiteral("beta")));
        EXPECT_EQ(ini.Servers.At(1, 0), Variant(4100));
        EXPECT_EQ(ini.Servers.At(1, 1), Variant(4100));
    }
    {
        ClientHome client("[Server Information]\nComputerName=a;b;c\nServerPort=abc\n");
        TStewardIniC ini;
        ASSERT_EQ(ini.Servers.HighBound(2), 2);
        EXPECT_EQ(ini.Servers.At(0, 2), Variant(QStringLiteral("c")));
        EXPECT_EQ(ini.Servers.At(1, 2), Variant(211));
    }
}

TEST(StewardIniClient, EmptyComputerNameFailsAfterEarlierKeys)
{
    for (const char* value : {"", " ; "}) {
        ClientHome client(QByteArray("[Client Components]\nLangType=CHS\n[CodePage]\nDBCodePage=950\n"
                                     "[Server Information]\nSupportCallBack=Y\nComputerName=")
                              .append(value)
                              .append("\n[WorkDLLPath]\na=pkg\n")
                              .constData());
        TStewardIniC ini;
        EXPECT_FALSE(ini.LoadSettings());
        EXPECT_EQ(ini.ErrorCode, QStringLiteral("E;000016"));
        EXPECT_EQ(ini.LangType, QStringLiteral("CHS"));
        EXPECT_EQ(ini.DBCodePage, QStringLiteral("950"));
        EXPECT_EQ(ini.DBConvertMode, 1);
        EXPECT_TRUE(ini.SupportCallBack);
        EXPECT_TRUE(ini.Servers.IsEmpty());
        EXPECT_TRUE(ini.WorkDLLPaths.isEmpty());
    }
}

TEST(StewardIniClient, RegistryProblems)
{
    {
        TestHome home({}, "1252");
        ScopedEnv missing("STEWARD_REGISTRY", home.Folder(QStringLiteral("absent.reg")).toLocal8Bit());
        TStewardIniC ini;
        EXPECT_FALSE(ini.LoadSettings());
        EXPECT_EQ(ini.ErrorCode, QStringLiteral("E;000015"));
        EXPECT_EQ(ini.HomePath, QString());
        EXPECT_EQ(ini.ProfileType, QStringLiteral("0"));
        EXPECT_EQ(ini.ProfileUser, QStringLiteral("Default"));
        EXPECT_EQ(ini.SystemCodePage, QStringLiteral("437"));
        EXPECT_EQ(ini.UICodePage, QStringLiteral("437"));
        EXPECT_EQ(ini.LangType, QString());
        EXPECT_TRUE(ini.WorkDLLPaths.isEmpty());
    }
    {
        TestHome home({{QStringLiteral("ServerPath"), QStringLiteral("/srv/steward")}});
        TStewardIniC ini;
        EXPECT_FALSE(ini.LoadSettings());
        EXPECT_EQ(ini.ErrorCode, QString());
        EXPECT_EQ(ini.HomePath, QString());
    }
}

TEST(StewardIniClient, ProfileFolders)
{
    const QString user = GetWindowsUserName().left(32);
    {
        // No file in the user's profile folder: the home folder's file is read.
        ClientHome client("[Client Components]\nLangType=CHS\n", "936", QStringLiteral("1"));
        TStewardIniC ini;
        EXPECT_EQ(ini.ProfileType, QStringLiteral("1"));
        EXPECT_EQ(ini.ProfileUser, user);
        EXPECT_EQ(ini.ProfilePath, client.Path() + QStringLiteral("\\"));
        EXPECT_EQ(ini.IniFileName, client.Path() + QStringLiteral("\\StewardC.ini"));
        EXPECT_EQ(ini.LangType, QStringLiteral("CHS"));
    }
    {
        ClientHome client("[Client Components]\nLangType=CHS\n", "936", QStringLiteral("1"));
        client.home.Write(QStringLiteral("home/Profile/") + user + QStringLiteral("/StewardC.ini"),
            "[Client Components]\nLangType=CHT\n");
        TStewardIniC ini;
        EXPECT_EQ(
            ini.ProfilePath, client.Path() + QStringLiteral("\\Profile\\") + user + QStringLiteral("\\"));
        EXPECT_EQ(ini.IniFileName, ini.ProfilePath + QStringLiteral("StewardC.ini"));
        EXPECT_EQ(ini.LangType, QStringLiteral("CHT"));
    }
    {
        // ProfileType 0 ignores the profile folder even when it holds a file.
        ClientHome client("[Client Components]\nLangType=CHS\n", "936", QStringLiteral("0"));
        client.home.Write(QStringLiteral("home/Profile/") + user + QStringLiteral("/StewardC.ini"),
            "[Client Components]\nLangType=CHT\n");
        TStewardIniC ini;
        EXPECT_EQ(ini.ProfileUser, QStringLiteral("Default"));
        EXPECT_EQ(ini.LangType, QStringLiteral("CHS"));
    }
}

TEST(StewardIniClient, SupportCallBackTexts)
{
    const QList<QPair<const char*, bool>> cases
        = {{"yes", true}, {"Yes", true}, {"y", true}, {"true", true}, {"on", false}, {"2", false}};
    for (const auto& [value, expected] : cases) {
        ClientHome client(
            QByteArray("[Server Information]\nSupportCallBack=").append(value).append("\n").constData());
        TStewardIniC ini;
        EXPECT_EQ(ini.SupportCallBack, expected) << value;
    }
}

TEST(StewardIniClient, WorkLibraryFoldersOnWindowsPaths)
{
    TestHome home({{QStringLiteral("ClientPath"), QStringLiteral("D:\\App")}});
    ScopedEnv drive("STEWARD_DRIVE_D", home.Folder(QStringLiteral("d")).toLocal8Bit());
    home.Write(QStringLiteral("d/App/StewardC.ini"),
        "[WorkDLLPath]\nroot=\\bin\nother=E:\\x\nrel=sub\nslash=sub2\\\nunc=\\\\srv\\share\\pkg\nnone=\n");
    TStewardIniC ini;
    EXPECT_EQ(ini.HomePath, QStringLiteral("D:\\App\\"));
    EXPECT_EQ(ini.IniFileName, QStringLiteral("D:\\App\\StewardC.ini"));
    EXPECT_EQ(ini.WorkDLLPaths,
        (QStringList {QStringLiteral("D:\\App\\bin\\"), QStringLiteral("E:\\x\\"),
            QStringLiteral("D:\\App\\sub\\"), QStringLiteral("D:\\App\\sub2\\"),
            QStringLiteral("\\\\srv\\share\\pkg\\"), QStringLiteral("D:\\App\\")}));
}

TEST(StewardIniPaths, ResolvePath)
{
    const QString base = QStringLiteral("D:\\App\\");
    EXPECT_EQ(ResolvePath(QStringLiteral("\\bin\\"), base), QStringLiteral("D:\\App\\bin\\"));
    EXPECT_EQ(ResolvePath(QStringLiteral("E:\\x\\"), base), QStringLiteral("E:\\x\\"));
    EXPECT_EQ(ResolvePath(QStringLiteral("e:"), base), QStringLiteral("e:"));
    EXPECT_EQ(ResolvePath(QStringLiteral("sub\\"), base), QStringLiteral("D:\\App\\sub\\"));
    EXPECT_EQ(ResolvePath(QStringLiteral("\\\\srv\\share"), base), QStringLiteral("\\\\srv\\share"));
    EXPECT_EQ(ResolvePath(QStringLiteral("1:\\x"), base), QStringLiteral("D:\\App\\1:\\x"));
    EXPECT_EQ(ResolvePath(QString(), base), base);
}

TEST(StewardIniPaths, GetHomeFolder)
{
    {
        TestHome home({{QStringLiteral("ClientPath"), QStringLiteral("D:\\Client")},
            {QStringLiteral("ServerPath"), QStringLiteral("D:\\Server")}});
        EXPECT_EQ(GetHomeFolder(), QStringLiteral("D:\\Client"));
    }
    {
        TestHome home({{QStringLiteral("ClientPath"), QString()},
            {QStringLiteral("ServerPath"), QStringLiteral("D:\\Server")}});
        EXPECT_EQ(GetHomeFolder(), QStringLiteral("D:\\Server"));
    }
    {
        TestHome home({});
        EXPECT_EQ(GetHomeFolder(), home.Folder(QStringLiteral("tmp")) + QStringLiteral("/"));
        ScopedEnv missing("STEWARD_REGISTRY", home.Folder(QStringLiteral("absent.reg")).toLocal8Bit());
        EXPECT_EQ(GetHomeFolder(), home.Folder(QStringLiteral("tmp")) + QStringLiteral("/"));
    }
}
