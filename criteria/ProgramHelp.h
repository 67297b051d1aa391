#pragma once
// The help page a print program ships with its module: "help/<program
// code>.html" in the module's folder (the build puts the program's page from
// data/help there). The options window opens it on F1 when the work-centre
// manager has no help of its own to show.

#include <QString>
#include <QUrl>
#include <functional>

class TProgramHelp {
public:
    // The page of programCode (upper case) beside modulePath; beside the
    // running program when modulePath is empty.
    static QString PagePath(const QString& modulePath, const QString& programCode);
    // Opens the page with the desktop's viewer; false when the file is not
    // there or nothing could open it.
    static bool Open(const QString& pagePath);

    // How pages are opened: QDesktopServices::openUrl unless replaced
    // (tests); an empty opener restores it.
    using Opener = std::function<bool(const QUrl&)>;
    static void SetOpener(Opener opener);
};
