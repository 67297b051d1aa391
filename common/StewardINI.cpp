#include "common/StewardINI.h"

#include "common/HomeFolder.h"
#include "common/QNERPGeneratorU.h"
#include "runtime/data/RemoteTransport.h"
#include "runtime/system/IniFile.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/RegistryFile.h"
#include "runtime/system/SystemFacts.h"

namespace {

const QString kRegistryKey = QStringLiteral("Software\\HVN\\Steward");
const QChar kBackslash = QLatin1Char('\\');
// The Windows user name of a profile folder is cut where the original's buffer ends.
constexpr int kMaxUserNameLength = 32;

bool IsTrueText(const QString& text)
{
    const QString upper = text.toUpper();
    return upper == QLatin1String("1") || upper == QLatin1String("Y") || upper == QLatin1String("YES")
        || upper == QLatin1String("TRUE");
}

bool IsDriveLetter(QChar ch)
{
    return (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
        || (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'));
}

// The home folder text of the registry key, or empty when the key cannot be read.
QString ReadRegistryHome()
{
    TRegistry registry;
    registry.RootKey = TRegistry::Root::LocalMachine;
    if (!registry.OpenKeyReadOnly(kRegistryKey))
        return {};
    QString home = RegistryHomeFolder(registry, QStringLiteral("ClientPath"));
    if (home.isEmpty())
        home = RegistryHomeFolder(registry, QStringLiteral("ServerPath"));
    registry.CloseKey();
    return home;
}

} // namespace

QString ResolvePath(const QString& folder, const QString& baseFolder)
{
    const bool hasDriveLetter
        = folder.size() >= 2 && folder.at(1) == QLatin1Char(':') && IsDriveLetter(folder.at(0));
    const bool isUnc = folder.size() > 2 && folder.startsWith(QLatin1String("\\\\"));
    if (hasDriveLetter || isUnc)
        return folder;
    if (folder.startsWith(kBackslash))
        return baseFolder + folder.mid(1);
    return baseFolder + folder;
}

QString GetHomeFolder()
{
    const QString fallback = QStringLiteral("C:\\Temp");
    try {
        QString home = ReadRegistryHome();
        if (home.isEmpty())
            home = GetTempFolder();
        return home.isEmpty() ? fallback : home;
    } catch (...) {
        return fallback;
    }
}

// ---------------------------------------------------------------------------

void TStewardIniBase::SetCodePageDefaults()
{
    ProfileType = QStringLiteral("0");
    ProfileUser = QStringLiteral("Default");
    UICodePage = DBCodePage = QStringLiteral("936");
    SystemCodePage = QString::number(GetACP());
    if (SystemCodePage != QLatin1String("936") && SystemCodePage != QLatin1String("950"))
        SystemCodePage = QStringLiteral("437");
    UICodePage = SystemCodePage;
    SupportCallBack = false;
    ApplyConvertModes();
}

void TStewardIniBase::ApplyConvertModes()
{
    const bool ui936 = UICodePage == QLatin1String("936");
    const bool ui950 = UICodePage == QLatin1String("950");
    if (ui950)
        UIConvertMode = 2;
    else if (ui936 && SystemCodePage == QLatin1String("950"))
        UIConvertMode = 4;
    else
        UIConvertMode = 0;

    if (ui950 && DBCodePage == QLatin1String("936"))
        DBConvertMode = 2;
    else if (ui936 && DBCodePage == QLatin1String("950"))
        DBConvertMode = 1;
    else
        DBConvertMode = 0;
}

void TStewardIniBase::ReadCodePages(const TIniFile& ini)
{
    UICodePage = ini.ReadString(QStringLiteral("CodePage"), QStringLiteral("UICodePage"), SystemCodePage);
    DBCodePage
        = ini.ReadString(QStringLiteral("CodePage"), QStringLiteral("DBCodePage"), QStringLiteral("936"));
    ApplyConvertModes();
}

bool TStewardIniBase::LocateIniFile(const QString& homeValueName, const QString& iniName)
{
    TRegistry registry;
    registry.RootKey = TRegistry::Root::LocalMachine;
    if (!registry.OpenKeyReadOnly(kRegistryKey)) {
        ErrorCode = QStringLiteral("E;000015");
        return false;
    }
    HomePath = RegistryHomeFolder(registry, homeValueName);
    ProfileType = registry.ReadString(QStringLiteral("ProfileType"));
    registry.CloseKey();
    if (HomePath.isEmpty())
        return false;

    HomePath = IncludeTrailingBackslash(HomePath);
    if (!ProfileType.isEmpty() && ProfileType != QLatin1String("0")) {
        const QString user = GetWindowsUserName().left(kMaxUserNameLength);
        ProfilePath = HomePath + QStringLiteral("Profile\\") + user + kBackslash;
        ProfileUser = user;
    } else {
        ProfilePath = HomePath;
    }

    IniFileName = ProfilePath + iniName;
    if (!FileExists(IniFileName)) {
        // Read the shared file then, even when it is missing too: every key takes its default.
        ProfilePath = HomePath;
        IniFileName = HomePath + iniName;
    }
    return true;
}

void TStewardIniBase::ReadWorkDLLPaths(const TIniFile& ini, const QString& defaultFolder)
{
    ini.ReadSectionValues(QStringLiteral("WorkDLLPath"), WorkDLLPaths);
    if (WorkDLLPaths.isEmpty()) {
        WorkDLLPaths.append(HomePath + defaultFolder);
        return;
    }
    for (QString& line : WorkDLLPaths) {
        const QString folder = line.mid(line.indexOf(QLatin1Char('=')) + 1);
        line = ResolvePath(IncludeTrailingBackslash(folder), HomePath);
    }
}

// ---------------------------------------------------------------------------

TStewardIniC::TStewardIniC()
{
    SetCodePageDefaults();
    LoadSettings();
}

bool TStewardIniC::LoadSettings()
{
    if (!LocateIniFile(QStringLiteral("ClientPath"), QStringLiteral("StewardC.ini")))
        return false;

    const TIniFile ini(IniFileName);
    LangType = ini.ReadString(
        QStringLiteral("Client Components"), QStringLiteral("LangType"), QStringLiteral("ENG"));
    Version = ini.ReadString(QStringLiteral("ProductVersion"), QStringLiteral("Version"), QString());
    CreateGifBeforeSendTW = ini.ReadString(
        QStringLiteral("UserDefine"), QStringLiteral("CreateGifBeforeSendTW"), QStringLiteral("Y"));
    ReadCodePages(ini);

    const QString serverSection = QStringLiteral("Server Information");
    SupportCallBack
        = IsTrueText(ini.ReadString(serverSection, QStringLiteral("SupportCallBack"), QStringLiteral("0")));

    QString names = ini.ReadString(serverSection, QStringLiteral("ComputerName"), QStringLiteral("127.0.0.1"))
                        .trimmed();
    if (names.endsWith(QLatin1Char(';')))
        names.chop(1);
    if (names.isEmpty()) {
        ErrorCode = QStringLiteral("E;000016");
        return false;
    }
    const int port = ini.ReadInteger(serverSection, QStringLiteral("ServerPort"), 211);
    const QStringList nameList = names.split(QLatin1Char(';'));
    Servers = Variant::CreateArray(0, 1, 0, 0);
    for (int i = 0; i < nameList.size(); ++i) {
        if (i > 0)
            Servers.Redim(i);
        Servers.At(0, i) = nameList.at(i).trimmed();
        Servers.At(1, i) = port;
    }

    const QString secret = ini.ReadString(serverSection, QStringLiteral("Secret"), QString()).trimmed();
    ServerSecret = secret.isEmpty() ? QString() : DecodePassword(secret);
    ServerTls = ini.ReadInteger(serverSection, QStringLiteral("TLS"), 0) != 0;
    const QString caFile = ini.ReadString(serverSection, QStringLiteral("TLSCAFile"), QString()).trimmed();
    ServerTlsCaFile = caFile.isEmpty() ? QString() : NativePath(ResolvePath(caFile, HomePath));
    ServerTimeoutSeconds
        = qBound(1, ini.ReadInteger(serverSection, QStringLiteral("TimeoutSeconds"), 300), 86400);

    ReadWorkDLLPaths(ini, QStringLiteral("C_PKG\\"));

    const QString taskSection = QStringLiteral("TaskMessageCenter Setting");
    AutoCheckNewMsg = ini.ReadString(taskSection, QStringLiteral("AutoCheckNewMsg"), QStringLiteral("1"));
    CheckInterval = ini.ReadString(taskSection, QStringLiteral("CheckInterval"), QStringLiteral("1"));
    PopupMsg = ini.ReadString(taskSection, QStringLiteral("PopupMsg"), QStringLiteral("1"));
    LoginCheck = ini.ReadString(taskSection, QStringLiteral("LoginCheck"), QStringLiteral("0"));
    return true;
}

// ---------------------------------------------------------------------------

TStewardIniS::TStewardIniS()
{
    SetCodePageDefaults();
    LoadSettings();
}

bool TStewardIniS::LoadSettings()
{
    if (!LocateIniFile(QStringLiteral("ServerPath"), QStringLiteral("StewardS.ini")))
        return false;

    const TIniFile ini(IniFileName);
    Version = ini.ReadString(QStringLiteral("ProductVersion"), QStringLiteral("Version"), QString());
    ReadCodePages(ini);

    const QString dbe = QStringLiteral("DBE Setting");
    auto text = [&ini](const QString& section, const char* key, const QString& defaultValue) {
        return ini.ReadString(section, QLatin1String(key), defaultValue);
    };
    auto number = [&ini](const QString& section, const char* key, int defaultValue) {
        return ini.ReadInteger(section, QLatin1String(key), defaultValue);
    };

    Databases = Variant::CreateArray(0, 3, 0, 7);
    Databases.At(0, 1) = text(dbe, "MainUserName", QStringLiteral("sa"));
    // The main password's key is literally "XXXXXX".
    Databases.At(0, 2) = DecodePassword(text(dbe, "XXXXXX", QString()));
    Databases.At(0, 0) = text(dbe, "MainAlias", QStringLiteral("Mainstay"));
    Databases.At(0, 3) = text(dbe, "MainDBType", QStringLiteral("MSSQL"));
    Databases.At(0, 4) = text(dbe, "MainDBName", QString());
    Databases.At(0, 5) = text(dbe, "MainServerName", QString());
    const QString mainServer = Databases.At(0, 5).ToString();
    SystemControlAddress = text(dbe, "SystemControlAddress", QString()).trimmed();
    if (SystemControlAddress.isEmpty())
        SystemControlAddress = mainServer;
    OtherSystemControlAddress = text(dbe, "OtherSystemControlAddress", QString()).trimmed();
    if (OtherSystemControlAddress.isEmpty())
        OtherSystemControlAddress = mainServer;
    Databases.At(0, 6) = number(dbe, "MainConnectionTimeOut", 300);
    Databases.At(0, 7) = number(dbe, "MainCommandTimeOut", 3000);

    Databases.At(1, 0) = text(dbe, "TempAlias", QStringLiteral("MainstayTemp"));
    Databases.At(1, 1) = text(dbe, "TempUserName", QStringLiteral("sa"));
    Databases.At(1, 2) = DecodePassword(text(dbe, "TempPassword", QString()));
    Databases.At(1, 3) = text(dbe, "TempDBType", QStringLiteral("PARADOX"));
    Databases.At(1, 4) = text(dbe, "TempDBName", QString());
    Databases.At(1, 5) = text(dbe, "TempDriverName", QStringLiteral("PostgreSQL"));
    Databases.At(1, 6) = number(dbe, "TempConnectionTimeOut", 300);
    Databases.At(1, 7) = number(dbe, "TempCommandTimeOut", 3000);

    const QString control = QStringLiteral("DBPasswordCtrl");
    Databases.At(2, 0) = text(control, "ComputerName", QString()).trimmed();
    Databases.At(2, 1) = number(control, "ServerPort", 211);
    Databases.At(2, 2) = number(control, "ClientSocketPort", 1024);
    SupportCallBack = IsTrueText(text(control, "SupportCallBack", QStringLiteral("0")));
    Databases.At(2, 3) = text(dbe, "DataBaseCodeOrder", QStringLiteral("Chinese_Taiwan_Stroke_BIN"));

    Databases.At(3, 0) = text(dbe, "EctAlias", QStringLiteral("EDIDATA"));
    Databases.At(3, 1) = text(dbe, "EctUserName", QStringLiteral("sa"));
    Databases.At(3, 2) = text(dbe, "EctPassword", QString()); // kept as stored

    ReadWorkDLLPaths(ini, QStringLiteral("S_PKG\\"));

    const QString dbType = Databases.At(0, 3).ToString();
    if (dbType.compare(QLatin1String("ORACLE"), Qt::CaseInsensitive) == 0)
        DBKind = 1;
    else if (dbType.compare(QLatin1String("DB2"), Qt::CaseInsensitive) == 0)
        DBKind = 2;
    else
        DBKind = 0;
    return true;
}

void TStewardIniS::GetWorkDLLPaths(QStringList& list) const
{
    list = WorkDLLPaths;
}

// ---------------------------------------------------------------------------

namespace {

// A socket connection that reaches a daemon reads how from the client
// configuration, at the moment it connects.
TRemoteSettings clientRemoteSettings()
{
    TStewardIniC ini;
    TRemoteSettings settings;
    settings.Secret = ini.ServerSecret;
    settings.Tls = ini.ServerTls;
    settings.TlsCaFile = ini.ServerTlsCaFile;
    settings.TimeoutMs = ini.ServerTimeoutSeconds * 1000;
    return settings;
}

[[maybe_unused]] const bool remoteSettingsInstalled = [] {
    SetRemoteSettingsSource(clientRemoteSettings);
    return true;
}();

} // namespace
