#include "suite/hubdesk/HubDeskManager.h"

#include "common/StewardINI.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/NativePath.h"
#include "suite/appserver/AppServer.h"
#include "suite/hubdesk/HubF2Window.h"
#include "suite/hubdesk/HubServerLink.h"
#include "suite/hubdesk/HubServices.h"

#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString progId = QStringLiteral("HubDesk.Manager");

THubDeskManager::UrlOpener& helpOpener()
{
    static THubDeskManager::UrlOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

// Program prefixes and topics name files: letters and digits only.
QString plainName(const QString& text)
{
    QString out;
    for (const QChar c : text.trimmed())
        if (c.isLetterOrNumber() && c.unicode() < 128)
            out += c;
    return out;
}

// The page shown when the installation has no help file for a topic.
QString fallbackHelpPage(const QString& prefix, const QString& topic)
{
    return QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1 %2</title></head>\n<body>\n"
        "<h1>%1 &mdash; %2</h1>\n<p>本程序的说明文件尚未安装。</p>\n<ul>\n"
        "<li>F1: 说明</li>\n<li>F2: 开窗查询 (日期栏位: 日期快手)</li>\n<li>Enter: 下一栏位</li>\n"
        "<li>Ctrl+Tab / Ctrl+Shift+Tab: 下一页 / 上一页</li>\n<li>Esc: 关闭</li>\n</ul>\n</body></html>\n")
        .arg(prefix, topic);
}

} // namespace

THubDeskManager::THubDeskManager()
    : TAutoObject(progId)
    , link_(std::make_shared<THubServerLink>(QStringLiteral("ZORV52S.Class1")))
{
    registerMembers();
}

THubDeskManager::~THubDeskManager() = default;

QString THubDeskManager::UnknownMessage(const QString& kind, const QString& id)
{
    return QStringLiteral("Can not Get Message\rType= %1, ID= %2 ").arg(kind, id);
}

void THubDeskManager::SetHelpOpener(UrlOpener opener)
{
    helpOpener()
        = opener ? std::move(opener) : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QString THubDeskManager::GetMessage(const QString& kind, const QString& id)
{
    const QString text = link_->Message(kind, id);
    return text.isEmpty() ? UnknownMessage(kind, id) : text;
}

bool THubDeskManager::CallHelp(const Variant& args)
{
    const TArgReader arg = TArgReader::Spread(args);
    const QString prefix = plainName(arg.At(0).ToString());
    const QString topic = plainName(arg.At(1).ToString());
    if (prefix.isEmpty())
        return false;
    const QString folder
        = IncludeTrailingBackslash(GetHomeFolder()) + QStringLiteral("Help\\") + prefix + u'\\';
    for (const QString& name : {topic + QStringLiteral(".htm"), topic + QStringLiteral(".html"),
             QStringLiteral("index.htm"), QStringLiteral("index.html")}) {
        if (!name.startsWith(u'.') && FileExists(folder + name))
            return helpOpener()(QUrl::fromLocalFile(NativePath(folder + name)));
    }
    const QString page = QDir::temp().filePath(
        QStringLiteral("HubDeskHelp_%1_%2.html").arg(prefix, topic.isEmpty() ? QStringLiteral("0") : topic));
    QFile file(page);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(fallbackHelpPage(prefix, topic).toUtf8());
    file.close();
    return helpOpener()(QUrl::fromLocalFile(page));
}

QString THubDeskManager::GetFileList(const Variant& args)
{
    const QString name = TArgReader::Spread(args).At(0).ToString().trimmed();
    // A bare file name: nothing that reaches outside the work-library folders.
    if (name.isEmpty() || name.contains(u'\\') || name.contains(u'/') || name == u".." || name == u".")
        return QString();
    TStewardIniS ini;
    if (!ini.LoadSettings())
        return QString();
    QString best;
    QDateTime newest;
    for (const QString& folder : ini.WorkDLLPaths) {
        const QDir dir(NativePath(folder));
        for (const QFileInfo& info : dir.entryInfoList(QDir::Files)) {
            if (info.fileName().compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (best.isEmpty() || info.lastModified() > newest) {
                newest = info.lastModified();
                best = IncludeTrailingBackslash(folder) + info.fileName();
            }
        }
    }
    if (best.isEmpty())
        return QString();
    return QStringLiteral("<Modify>%1</Modify><Path>%2</Path>")
        .arg(newest.toString(QStringLiteral("yyyyMMddhhmmss")), best);
}

Variant THubDeskManager::service(Variant& slot, const std::function<AutoObjectPtr()>& make)
{
    if (!slot.IsObject())
        slot = Variant(make());
    return slot;
}

void THubDeskManager::registerMembers()
{
    AddMethod(QStringLiteral("GetMessage"),
        [this](VariantList& a) { return Variant(GetMessage(Arg(a, 0).ToString(), Arg(a, 1).ToString())); });
    AddMethod(QStringLiteral("CallHelp"), [this](VariantList& a) { return Variant(CallHelp(Arg(a, 0))); });
    AddMethod(
        QStringLiteral("GetFileList"), [this](VariantList& a) { return Variant(GetFileList(Arg(a, 0))); });
    AddMethod(QStringLiteral("SetFormCreateStyle"), [this](VariantList& a) {
        SetFormCreateStyle(Arg(a, 0).ToString());
        return Variant();
    });
    AddProperty(
        QStringLiteral("FormCreateStyle"), [this](VariantList&) { return Variant(formCreateStyle_); });
    AddProperty(
        QStringLiteral("ServerName"), [this](VariantList&) { return Variant(link_->ServerName()); },
        [this](const Variant& v) { link_->SetServerName(v.ToString()); });
    AddProperty(
        QStringLiteral("UserCode"), [this](VariantList&) { return Variant(link_->User()); },
        [this](const Variant& v) { link_->SetUser(v.ToString()); });
    AddProperty(QStringLiteral("Com_Counter"), [this](VariantList&) {
        return service(counter_, [this] { return std::make_shared<THubCounter>(link_); });
    });
    AddProperty(QStringLiteral("Com_Validator"), [this](VariantList&) {
        return service(validator_, [this] { return std::make_shared<THubValidator>(link_); });
    });
    AddProperty(QStringLiteral("Com_F2Window"), [this](VariantList&) {
        return service(f2Window_, [this] { return std::make_shared<THubF2Window>(link_); });
    });
}

void RegisterHubDesk()
{
    RegisterAppServer();
    AutoObjectFactory::Register(progId, [] { return std::make_shared<THubDeskManager>(); });
}
