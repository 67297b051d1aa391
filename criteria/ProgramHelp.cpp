#include "criteria/ProgramHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

TProgramHelp::Opener& opener()
{
    static TProgramHelp::Opener open = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return open;
}

} // namespace

QString TProgramHelp::PagePath(const QString& modulePath, const QString& programCode)
{
    const QString folder = modulePath.isEmpty() ? QCoreApplication::applicationDirPath()
                                                : QFileInfo(modulePath).absolutePath();
    return QDir(folder).filePath(QStringLiteral("help/") + programCode.toUpper() + QStringLiteral(".html"));
}

bool TProgramHelp::Open(const QString& pagePath)
{
    if (!QFileInfo(pagePath).isFile())
        return false;
    return opener()(QUrl::fromLocalFile(QFileInfo(pagePath).absoluteFilePath()));
}

void TProgramHelp::SetOpener(Opener open)
{
    opener() = open ? std::move(open) : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}
