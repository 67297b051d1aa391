#include "runtime/system/SystemFacts.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

// The first locale variable that is set decides, as in POSIX: LC_ALL overrides
// LC_CTYPE, which overrides LANG.
QByteArray CharacterLocale()
{
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QByteArray value = Env(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

int CodePageOfLocale(const QByteArray& locale)
{
    // "zh_CN.UTF-8", "zh_TW@variant": only language and territory count.
    QByteArray name = locale;
    const qsizetype cut = name.indexOf('.') >= 0 ? name.indexOf('.') : name.indexOf('@');
    if (cut >= 0)
        name.truncate(cut);
    name = name.toLower();
    if (name == "zh_cn" || name == "zh_sg")
        return 936;
    if (name == "zh_tw" || name == "zh_hk" || name == "zh_mo")
        return 950;
    return 1252;
}

} // namespace

int GetACP()
{
    bool ok = false;
    const int forced = Env("STEWARD_ACP").trimmed().toInt(&ok);
    if (ok && forced > 0)
        return forced;
    return CodePageOfLocale(CharacterLocale());
}

QString GetWindowsUserName()
{
    const uid_t uid = geteuid();
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size <= 0)
        size = 16384;
    std::vector<char> buffer(static_cast<size_t>(size));
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name
        && *found->pw_name)
        return QString::fromLocal8Bit(found->pw_name);
    const QByteArray user = Env("USER");
    if (!user.isEmpty())
        return QString::fromLocal8Bit(user);
    return QStringLiteral("Default");
}

QString GetTempFolder()
{
    QString folder = QString::fromLocal8Bit(Env("TMPDIR"));
    if (folder.isEmpty())
        folder = QStringLiteral("/tmp");
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QLocale LocaleOfCodePage(int codePage)
{
    switch (codePage) {
    case 936:
        return QLocale(QLocale::Chinese, QLocale::SimplifiedHanScript, QLocale::China);
    case 950:
        return QLocale(QLocale::Chinese, QLocale::TraditionalHanScript, QLocale::Taiwan);
    default:
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
}

void PrepareRuntimeFolder()
{
    if (!Env("XDG_RUNTIME_DIR").isEmpty())
        return;
    // The folder Qt would fall back to, so that nothing but the warning changes.
    const QString folder = QDir::tempPath() + QStringLiteral("/runtime-") + GetWindowsUserName();
    if (!QDir(folder).exists()) {
        if (!QDir().mkpath(folder))
            return; // Qt reports it when it needs the folder
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}
