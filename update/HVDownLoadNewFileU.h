#pragma once
// Keeping a file on the client as new as the server's copy.
//
// The server reports a file's modification stamp and its path on the server
// (the work-centre manager's GetFileList). When the local copy is older, the
// archive "<server folder><file name>.zip" is fetched into the temporary
// folder and unpacked over the local file's folder by the download library
// (THVDownLoad). The installation switch in the registry,
// HKEY_LOCAL_MACHINE "Software\PLKT\Velmor" value "GoAhead", turns the whole
// mechanism on ("1", blanks around it allowed) or off (anything else).
//
// Failures are written to the update log: the alert log "HVDownLoadNewFileU"
// (one file a day) in the host program's folder + "\Log", whatever the
// registry says about home folders. Writing it never raises.
//
// Dialogs go through the dialog service (runtime/forms/Dialogs.h).

#include <QDate>
#include <QString>

// True when the registry switch is "1". Without the key the update log gets
// "Read Upgrader Registry Error: No UPGRADER_REGISTRY_PATH" and the answer is
// false.
bool UpdateAllowed();

// Takes the stamp and the server folder from a GetFileList answer in either
// notation, "<Modify>stamp</Modify><Path>path</Path>" or
// "Modify = 'stamp' Path = 'path'", and runs DownloadNewFile. A value whose
// closing mark is missing counts as empty. The server folder is the path up
// to and including its last "\" (or "/", for URLs).
bool UpdateFileFromInfo(const QString& info, const QString& localFile, QString& error, bool interactive);

// The two values of a GetFileList answer, as UpdateFileFromInfo reads them.
void ParseFileInfo(const QString& info, QString& stamp, QString& serverFolder);

// Makes localFile (a path text) as new as the server's copy of that stamp.
// True when the file is up to date afterwards, when the library says there is
// nothing newer, or when updating is switched off (then nothing is looked at).
// False with error set (and logged) when:
//   - the library or one of its entry points is missing;
//   - the local file is on the network ("\\server\share\..."): "Net File can't
//     update![<localFile>]";
//   - the download fails: "DownLoad new file[<localFile>] failed. <reason>";
//   - the unpacking fails: "Unzip new file[<localFile>] failed. <reason>".
// In interactive mode a failed download or unpacking is first shown as an
// error message with Abort and Retry; Retry tries again, Abort gives up. The
// downloaded archive is removed once unpacked and left in the temporary
// folder after a failure. The library is unloaded before the call returns.
bool DownloadNewFile(const QString& stamp, const QString& serverFolder, const QString& localFile,
    bool interactive, QString& error);

// The update log's file on that day (a path text).
QString UpdateLogFileName(const QDate& day);
