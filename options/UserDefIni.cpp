#include "options/UserDefIni.h"

#include "common/StewardINI.h"
#include "runtime/system/IniFile.h"
#include "runtime/system/NativePath.h"

namespace {

const QString kSection = QStringLiteral("VoucherFormatDef");

} // namespace

TUserDefIni::TUserDefIni()
{
    const TStewardIniC config;
    Load(config.HomePath);
}

TUserDefIni::TUserDefIni(const QString& homeFolder)
{
    Load(homeFolder);
}

void TUserDefIni::Load(const QString& homeFolder)
{
    entries_.clear();
    fileName_.clear();
    // Without a home folder the name would point at the root of the file system.
    if (homeFolder.isEmpty())
        return;
    fileName_ = IncludeTrailingBackslash(homeFolder) + QStringLiteral("UserDef.ini");
    if (!FileExists(fileName_))
        return;

    const TIniFile ini(fileName_);
    QStringList keys;
    ini.ReadSection(kSection, keys);
    for (const QString& key : std::as_const(keys))
        entries_.append(key + QLatin1Char('=') + ini.ReadString(kSection, key, QString()));
}

QString TUserDefIni::Lookup(const QString& programCode, const QString& slipType) const
{
    QString type = slipType;
    type.replace(QLatin1Char('='), QStringLiteral("$EQUAL$"));
    const QString key = programCode + QLatin1Char('_') + type;
    for (const QString& entry : entries_) {
        const qsizetype separator = entry.indexOf(QLatin1Char('='));
        if (QStringView(entry).left(separator).compare(key, Qt::CaseInsensitive) == 0)
            return entry.mid(separator + 1);
    }
    return QStringLiteral("<New>");
}
