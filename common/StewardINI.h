#pragma once
// Readers of the suite's configuration: the registry key "Software\HVN\Steward"
// and the INI files StewardC.ini (client workstation) and StewardS.ini
// (application server).
//
// A reader is made for one query: the constructor reads everything, the caller
// reads the public fields and frees the reader. Nothing is cached between
// readers and nothing is ever written back, so the next reader sees a changed
// file. Missing files and keys never raise; their defaults apply, and a load
// that cannot find its home folder says so in LoadSettings() and ErrorCode.
//
// Path texts keep the Windows form ("D:\App\Profile\wang\"); every file access
// goes through NativePath().

#include "runtime/system/Variant.h"

#include <QString>
#include <QStringList>

class TIniFile;

// The folder itself when it names a drive ("E:\x", "\\server\share\x");
// baseFolder + the rest when it begins with "\"; otherwise baseFolder + folder.
QString ResolvePath(const QString& folder, const QString& baseFolder);

// The home folder of the suite on this machine: registry "ClientPath", else
// "ServerPath", else the temporary folder, else "C:\Temp". Never empty and
// never raises. The registry's values are read through RegistryHomeFolder
// (common/HomeFolder.h), so a copied or moved home is found where it stands
// now; no trailing "\" is added.
QString GetHomeFolder();

// What both readers share: locating the INI file, code pages and conversion
// modes, work-library folders. Not used on its own.
class TStewardIniBase {
public:
    QString HomePath; // home folder, ending in "\" (RegistryHomeFolder of the registry's value)
    QString ProfilePath; // folder of the INI file read
    QString ProfileType = QStringLiteral("0");
    QString ProfileUser = QStringLiteral("Default");
    QString UICodePage = QStringLiteral("936");
    QString DBCodePage = QStringLiteral("936");
    QString SystemCodePage; // "936", "950" or "437"
    quint8 UIConvertMode = 0; // 0, 2 (UI in 950) or 4 (UI in 936 on a 950 system)
    quint8 DBConvertMode = 0; // 0, 1 (Big5 to GB) or 2 (GB to Big5)
    bool SupportCallBack = false;
    QString IniFileName; // full name of the INI file read
    QString ErrorCode; // message code of a failed load, else empty
    QStringList WorkDLLPaths; // resolved work-library folders, each ending in "\"
    QString Version;

protected:
    TStewardIniBase() = default;
    ~TStewardIniBase() = default;

    // System code page and the defaults that follow from it.
    void SetCodePageDefaults();
    // UIConvertMode and DBConvertMode from the three code pages.
    void ApplyConvertModes();
    // Reads "CodePage" and recomputes the conversion modes.
    void ReadCodePages(const TIniFile& ini);
    // Registry and profile folders: sets HomePath, ProfileType, ProfilePath,
    // ProfileUser and IniFileName. False (with ErrorCode "E;000015" when the
    // registry key cannot be opened) when there is no home folder.
    bool LocateIniFile(const QString& homeValueName, const QString& iniName);
    // Section "WorkDLLPath", or HomePath + defaultFolder when it is empty.
    void ReadWorkDLLPaths(const TIniFile& ini, const QString& defaultFolder);
};

// Client configuration (StewardC.ini under registry "ClientPath").
class TStewardIniC : public TStewardIniBase {
public:
    TStewardIniC();
    TStewardIniC(const TStewardIniC&) = delete;
    TStewardIniC& operator=(const TStewardIniC&) = delete;

    // Reads registry and StewardC.ini into the fields. False when the registry
    // key is missing (ErrorCode "E;000015"), "ClientPath" is empty (no code), or
    // "ComputerName" is empty (ErrorCode "E;000016", earlier keys already read).
    bool LoadSettings();

    // Row 0: server names; row 1: the port of each; columns from 0.
    Variant Servers;
    // How to reach an application server daemon ([Server Information]):
    // Secret (stored form of EncodePassword), TLS (1: connect with TLS),
    // TLSCAFile (PEM certificates to trust besides the system's, under the
    // home folder when relative), TimeoutSeconds (for one answer, 300).
    QString ServerSecret; // decoded
    bool ServerTls = false;
    QString ServerTlsCaFile; // native path
    int ServerTimeoutSeconds = 300;
    QString LangType;
    QString CreateGifBeforeSendTW;
    QString AutoCheckNewMsg;
    QString CheckInterval;
    QString PopupMsg;
    QString LoginCheck;
};

// Server configuration (StewardS.ini under registry "ServerPath").
class TStewardIniS : public TStewardIniBase {
public:
    TStewardIniS();
    TStewardIniS(const TStewardIniS&) = delete;
    TStewardIniS& operator=(const TStewardIniS&) = delete;

    // Reads registry and StewardS.ini into the fields. False when the registry
    // key is missing (ErrorCode "E;000015") or "ServerPath" is empty.
    bool LoadSettings();
    // Replaces the content of list with WorkDLLPaths.
    void GetWorkDLLPaths(QStringList& list) const;

    // [0..3, 0..7]: row 0 main database (alias, user, password, type, name,
    // server, connection and command time-outs), row 1 temporary database
    // (the same with the driver name in column 5), row 2 password-control
    // service (computer, server port, client socket port, collation order),
    // row 3 EDI database (alias, user, password as stored).
    Variant Databases;
    quint8 DBKind = 0; // 1 ORACLE, 2 DB2, else 0
    QString SystemControlAddress;
    QString OtherSystemControlAddress;
};
