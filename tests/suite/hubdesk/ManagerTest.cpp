// The manager itself: coded messages in the user's script, help pages, the
// file list of the download check, and its service objects.
#include "HubDeskFixture.h"

#include "suite/hubdesk/HubDeskManager.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

QString message(const Variant& manager, const char* kind, const char* id)
{
    return manager.Call(QStringLiteral("GetMessage"), {kind, id}).ToString();
}

// Every code the print program shows or reads, with its argument places.
struct Code {
    const char* Kind;
    const char* Id;
    int Strings;
    int Numbers;
};
const Code programCodes[] = {{"E", "000003", 1, 0}, {"E", "000005", 0, 0}, {"E", "000006", 0, 0},
    {"E", "000015", 0, 0}, {"E", "000016", 0, 0}, {"E", "000025", 1, 1}, {"E", "000030", 0, 0},
    {"E", "000036", 0, 0}, {"E", "000037", 0, 0}, {"E", "000038", 0, 0}, {"E", "000040", 0, 0},
    {"E", "000041", 1, 0}, {"W", "000002", 1, 2}, {"W", "000003", 1, 2}, {"W", "000004", 1, 0},
    {"W", "000006", 0, 0}, {"I", "000012", 4, 0}, {"E", "100007", 0, 0}, {"E", "100319", 0, 0},
    {"R", "100235", 0, 0}, {"R", "100236", 0, 0}, {"R", "200235", 0, 0}, {"R", "101571", 0, 0},
    {"R", "100269", 0, 0}, {"R", "100268", 0, 0}, {"R", "101576", 0, 0}};

} // namespace

TEST_F(HubDeskTest, EveryCodeOfTheProgramHasItsTextAndPlaces)
{
    for (const Code& c : programCodes) {
        const QString text = message(manager_, c.Kind, c.Id);
        EXPECT_FALSE(text.startsWith(QLatin1String("Can not Get Message"))) << c.Kind << c.Id;
        EXPECT_EQ(text.count(QLatin1String("%s")), c.Strings) << c.Kind << c.Id;
        EXPECT_EQ(text.count(QLatin1String("%d")), c.Numbers) << c.Kind << c.Id;
    }
    EXPECT_EQ(message(manager_, "W", "000006"), Text("没有符合条件的资料!"));
}

TEST_F(HubDeskTest, UnknownCodesAnswerTheFixedText)
{
    EXPECT_EQ(message(manager_, "E", "999999"), QStringLiteral("Can not Get Message\rType= E, ID= 999999 "));
    // A known number under another kind is another message.
    EXPECT_EQ(message(manager_, "Q", "000003"), QStringLiteral("Can not Get Message\rType= Q, ID= 000003 "));
}

TEST_F(HubDeskTest, TraditionalTextsUnderCodePage950)
{
    SetUICodePage(QStringLiteral("950"));
    const Variant manager = CreateOleObject(QStringLiteral("HubDesk.Manager"));
    EXPECT_EQ(message(manager, "W", "000006"), Text("沒有符合條件的資料!"));
    EXPECT_EQ(message(manager, "R", "101576"), Text("工單變更單"));
}

TEST_F(HubDeskTest, AServerThatCannotBeReachedIsNamedInTheUsersScript)
{
    // A server that listens nowhere: the connection is refused at once.
    QByteArray ini = home_.read("StewardC.ini");
    ini.replace("ComputerName=127.0.0.1", "ComputerName=127.0.0.2");
    ini.replace("ServerPort=211", "ServerPort=1");
    home_.write("StewardC.ini", ini);
    SetUICodePage(QStringLiteral("950"));
    const Variant manager = CreateOleObject(QStringLiteral("HubDesk.Manager"));
    EXPECT_EQ(message(manager, "E", "000025"), Text("無法取得資料! 伺服器: %s 埠號: %d"));
    EXPECT_EQ(message(manager, "e", "000006"), Text("無法連接應用伺服器!"));
    EXPECT_EQ(message(manager, "E", "999999"), QStringLiteral("Can not Get Message\rType= E, ID= 999999 "));
}

TEST_F(HubDeskTest, WithoutConfigurationEverythingFailsQuietly)
{
    testsupport::ScopedEnv noRegistry("STEWARD_REGISTRY", home_.file("missing.reg").toUtf8());
    const Variant manager = CreateOleObject(QStringLiteral("HubDesk.Manager"));
    // The message that says so comes from the manager's own catalogue.
    EXPECT_EQ(message(manager, "E", "000006"), Text("无法连接应用服务器!"));
    EXPECT_EQ(message(manager, "E", "999999"), QStringLiteral("Can not Get Message\rType= E, ID= 999999 "));
    Variant rows = QStringLiteral("untouched");
    const Variant validator = manager.Get(QStringLiteral("Com_Validator"));
    EXPECT_FALSE(validator
                     .Call(QStringLiteral("QueryData"),
                         {"CMSML", "01", "DEMO", Variant::ArrayOf({"HV01"}), Variant::Ref(rows)})
                     .ToBool());
    EXPECT_EQ(rows.ToString(), QStringLiteral("untouched"));
    EXPECT_TRUE(
        manager.Get(QStringLiteral("Com_Counter")).Call(QStringLiteral("GetSysInfo"), {"HV01"}).IsEmpty());
}

TEST_F(HubDeskTest, ServiceObjectsAreMadeOncePerManager)
{
    for (const char* name : {"Com_Counter", "Com_Validator", "Com_F2Window"}) {
        const Variant first = manager_.Get(QLatin1String(name));
        ASSERT_TRUE(first.IsObject()) << name;
        EXPECT_EQ(first.ToObject(), manager_.Get(QLatin1String(name)).ToObject()) << name;
    }
    manager_.Call(QStringLiteral("SetFormCreateStyle"), {Text("A4 横式")});
    EXPECT_EQ(manager_.Get(QStringLiteral("FormCreateStyle")).ToString(), Text("A4 横式"));
}

TEST_F(HubDeskTest, HelpOpensTheInstalledPageOrOneOfOurOwn)
{
    EXPECT_TRUE(manager_.Call(QStringLiteral("CallHelp"), {Variant::ArrayOf({"ZOR", "82520000"})}).ToBool());
    ASSERT_EQ(opened_.size(), 1);
    QFile page(opened_[0].toLocalFile());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(page.readAll()).contains(QLatin1String("ZOR &mdash; 82520000")));

    home_.write("Help/ZOR/82520000.htm", "<html>ZORV52</html>");
    manager_.Call(QStringLiteral("CallHelp"), {Variant::ArrayOf({"ZOR", "82520000"})});
    ASSERT_EQ(opened_.size(), 2);
    EXPECT_EQ(opened_[1].toLocalFile(), home_.file("Help/ZOR/82520000.htm"));

    // Names from the caller never lead out of the help folder.
    manager_.Call(QStringLiteral("CallHelp"), {Variant::ArrayOf({"..", "x"})});
    manager_.Call(QStringLiteral("CallHelp"), {Variant::ArrayOf({"../ZOR", "../../x"})});
    ASSERT_EQ(opened_.size(), 3);
    EXPECT_TRUE(opened_[2].toLocalFile().contains(QLatin1String("HubDeskHelp_ZOR_x.html")));
}

TEST_F(HubDeskTest, FileListNamesTheServersCopy)
{
    EXPECT_EQ(manager_.Call(QStringLiteral("GetFileList"), {Variant::ArrayOf({"zorv52s.dll"})}).ToString(),
        QString());
    home_.write("S_PKG/ZORV52S.DLL", "library");
    const QString info
        = manager_.Call(QStringLiteral("GetFileList"), {Variant::ArrayOf({"zorv52s.dll"})}).ToString();
    const QRegularExpression re(QStringLiteral("^<Modify>(\\d{14})</Modify><Path>(.*)</Path>$"));
    const QRegularExpressionMatch m = re.match(info);
    ASSERT_TRUE(m.hasMatch()) << qPrintable(info);
    EXPECT_TRUE(m.captured(2).endsWith(QLatin1String("S_PKG\\ZORV52S.DLL"))) << qPrintable(info);
    EXPECT_EQ(
        manager_.Call(QStringLiteral("GetFileList"), {Variant::ArrayOf({"..\\StewardS.ini"})}).ToString(),
        QString());
}
