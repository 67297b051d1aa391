#include "HubDeskFixture.h"

#include "suite/appserver/DemoHome.h"
#include "suite/hubdesk/HubDeskManager.h"

#include <QFile>

void HubDeskTest::SetUp()
{
    TDemoOptions options;
    options.Slips = 40;
    CreateDemoHome(home_.path(), options);
    registry_
        = std::make_unique<testsupport::ScopedEnv>("STEWARD_REGISTRY", home_.file("registry.reg").toUtf8());
    RegisterHubDesk();
    THubDeskManager::SetHelpOpener([this](const QUrl& url) {
        opened_ << url;
        return true;
    });
    manager_ = CreateOleObject(QStringLiteral("HubDesk.Manager"));
}

void HubDeskTest::TearDown()
{
    manager_ = Variant();
    THubDeskManager::SetHelpOpener(nullptr);
}

void HubDeskTest::SetUICodePage(const QString& codePage)
{
    QByteArray ini = home_.read("StewardC.ini");
    ini.replace("UICodePage=936", "UICodePage=" + codePage.toLatin1());
    home_.write("StewardC.ini", ini);
}
