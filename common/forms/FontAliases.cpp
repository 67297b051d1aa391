#include "common/forms/FontAliases.h"

#include <QFile>
#include <fontconfig/fontconfig.h>
#include <mutex>

static void initFontAliasResource()
{
    Q_INIT_RESOURCE(fontaliases);
}

bool LoadFontAliases()
{
    static std::once_flag once;
    static bool loaded = false;
    std::call_once(once, [] {
        initFontAliasResource();
        QFile file(QStringLiteral(":/fontconfig/steward-fonts.conf"));
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QByteArray text = file.readAll();
        if (!FcInit())
            return;
        // Adds the aliases to the configuration fontconfig (and Qt) already use.
        loaded = FcConfigParseAndLoadFromMemory(
                     FcConfigGetCurrent(), reinterpret_cast<const FcChar8*>(text.constData()), FcTrue)
            == FcTrue;
    });
    return loaded;
}
