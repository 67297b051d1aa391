#include "runtime/system/QtTranslations.h"

#include "runtime/system/SystemFacts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace {

// The one catalogue this unit installed; the application keeps a pointer to it.
std::unique_ptr<QTranslator>& installed()
{
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

} // namespace

TQtTranslations InstallQtTranslations(int codePage, const QString& folder)
{
    TQtTranslations result;
    result.Folder = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (installed()) {
        QCoreApplication::removeTranslator(installed().get());
        installed().reset();
    }
    if (codePage != 936 && codePage != 950)
        return result;
    const QLocale locale = LocaleOfCodePage(codePage);
    result.Language = locale.name();
    auto translator = std::make_unique<QTranslator>();
    // Tries qtbase_zh_Hant_TW, qtbase_zh_TW, ... in the locale's order.
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), result.Folder))
        return result;
    result.Installed = QCoreApplication::installTranslator(translator.get());
    if (result.Installed)
        installed() = std::move(translator);
    return result;
}
