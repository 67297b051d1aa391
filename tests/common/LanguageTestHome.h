#pragma once
// A client home for the conversion and language tests: registry, StewardC.ini
// with the wanted interface code page, the system code page through
// $STEWARD_ACP, and language packages under MultiLanguage.

#include "StewardIniTestHome.h"

#include <QByteArray>
#include <QString>

namespace steward_test {

class LanguageHome {
public:
    // uiCodePage empty: StewardC.ini has no "CodePage" section.
    explicit LanguageHome(
        const QByteArray& uiCodePage, const QByteArray& acp = "936", const QByteArray& dbCodePage = "936")
        : home_({}, acp)
    {
        home_.WriteRegistry({{QStringLiteral("ClientPath"), HomeFolder()}});
        QByteArray ini = "[Server Information]\r\nComputerName=127.0.0.1\r\n[CodePage]\r\n";
        if (!uiCodePage.isEmpty())
            ini += "UICodePage=" + uiCodePage + "\r\n";
        ini += "DBCodePage=" + dbCodePage + "\r\n";
        home_.Write(QStringLiteral("home/StewardC.ini"), ini);
    }

    QString HomeFolder() const { return home_.Folder(QStringLiteral("home")); }
    // Writes MultiLanguage/<code>/<package>.Lng; returns its native path.
    QString WritePackage(const QString& code, const QString& package, const QByteArray& bytes) const
    {
        return home_.Write(QStringLiteral("home/MultiLanguage/%1/%2.Lng").arg(code, package), bytes);
    }
    QString Write(const QString& relative, const QByteArray& bytes) const
    {
        return home_.Write(relative, bytes);
    }

private:
    TestHome home_;
};

} // namespace steward_test
