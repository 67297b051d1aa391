#include "runtime/system/ScriptConverter.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/PhraseOverrides.h"

#include <QFileInfo>

#include <opencc/opencc.h>

namespace {

const opencc_t kNoHandle = reinterpret_cast<opencc_t>(-1);

// OpenCC looks a bare configuration name up in its own data folder; the
// packaged folder is the fallback for builds where that search differs.
opencc_t OpenConfig(const QString& configName)
{
    opencc_t handle = opencc_open(configName.toUtf8().constData());
    if (handle == kNoHandle && !configName.contains(QLatin1Char('/'))) {
        const QString packaged = QStringLiteral("/usr/share/opencc/") + configName;
        if (QFileInfo::exists(packaged))
            handle = opencc_open(packaged.toUtf8().constData());
    }
    return handle;
}

QString LastOpenCCError()
{
    const char* error = opencc_error();
    return error && *error ? QString::fromUtf8(error) : QStringLiteral("unknown error");
}

} // namespace

TScriptConverter::TScriptConverter(const QString& configName)
    : handle_(OpenConfig(configName))
    , configName_(configName)
{
    if (handle_ == kNoHandle) {
        throw Exception(QStringLiteral("Chinese script conversion is not available: OpenCC cannot load "
                                       "\"%1\" (%2)")
                            .arg(configName, LastOpenCCError()));
    }
}

TScriptConverter::~TScriptConverter()
{
    opencc_close(static_cast<opencc_t>(handle_));
}

QString TScriptConverter::Convert(const QString& text) const
{
    if (text.isEmpty())
        return {};
    // OpenCC works on C strings: convert the pieces between NUL characters so
    // that nothing after an embedded NUL is lost.
    QString result;
    result.reserve(text.size());
    const QStringList pieces = text.split(QChar(0));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            result += QChar(0);
        if (pieces[i].isEmpty())
            continue;
        const QByteArray utf8 = pieces[i].toUtf8();
        char* converted = opencc_convert_utf8(
            static_cast<opencc_t>(handle_), utf8.constData(), static_cast<size_t>(utf8.size()));
        if (!converted) {
            throw Exception(QStringLiteral("Chinese script conversion with \"%1\" failed (%2)")
                                .arg(configName_, LastOpenCCError()));
        }
        result += QString::fromUtf8(converted);
        opencc_convert_utf8_free(converted);
    }
    return result;
}

namespace {

// Made on first use; a failed load raises and is tried again on the next call.
// Traditional means Taiwan's characters (s2tw: 為, 眾, not OpenCC's own 爲,
// 衆): what a Big5 reader reads. No phrases are exchanged, only characters.
const TScriptConverter& Shared(bool toTraditional)
{
    if (toTraditional) {
        static const TScriptConverter simplifiedToTraditional(QStringLiteral("s2tw.json"));
        return simplifiedToTraditional;
    }
    static const TScriptConverter traditionalToSimplified(QStringLiteral("t2s.json"));
    return traditionalToSimplified;
}

// Words OpenCC writes with the wrong character for the suite's meaning:
// 签核 "to sign off" with 籤 (a slip of bamboo) where Taiwan writes 簽. The
// language packages' maker mends the same words (common/forms/tool/Traditional.txt).
const TPhraseOverrides& CharacterFixes()
{
    static const TPhraseOverrides fixes = TPhraseOverrides::Parse(QStringLiteral("签核\t簽核\n"));
    return fixes;
}

} // namespace

QString SimplifiedToTraditional(const QString& text)
{
    if (text.isEmpty())
        return QString();
    const TScriptConverter& converter = Shared(true);
    return CharacterFixes().Convert(
        text, [&converter](const QString& piece) { return converter.Convert(piece); });
}

QString TraditionalToSimplified(const QString& text)
{
    return text.isEmpty() ? QString() : Shared(false).Convert(text);
}
