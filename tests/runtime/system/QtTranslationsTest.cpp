// Qt's own texts follow the interface code page: Chinese (China) for 936,
// Chinese (Taiwan) for 950, English otherwise and where the catalogue is missing.
#include "runtime/system/QtTranslations.h"

#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <gtest/gtest.h>

namespace {

// The caption Qt gives a message box's Yes and OK buttons, and the print
// dialog's button that opens its options.
QString yes()
{
    return QCoreApplication::translate("QPlatformTheme", "&Yes");
}
QString ok()
{
    return QCoreApplication::translate("QPlatformTheme", "OK");
}

bool catalogue(const char* language)
{
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_")
        + QLatin1String(language) + QStringLiteral(".qm"));
}

} // namespace

TEST(QtTranslations, TheInterfaceCodePageChoosesQtsLanguage)
{
    if (!catalogue("zh_CN") || !catalogue("zh_TW"))
        GTEST_SKIP() << "Qt's translations are not installed (Debian package qt6-translations-l10n)";
    const TQtTranslations simplified = InstallQtTranslations(936);
    EXPECT_TRUE(simplified.Installed);
    EXPECT_EQ(simplified.Language, QStringLiteral("zh_CN"));
    EXPECT_EQ(ok(), QStringLiteral("确定"));
    EXPECT_TRUE(yes().startsWith(QStringLiteral("是"))) << qPrintable(yes());

    const TQtTranslations traditional = InstallQtTranslations(950);
    EXPECT_TRUE(traditional.Installed);
    EXPECT_EQ(traditional.Language, QStringLiteral("zh_TW"));
    EXPECT_EQ(ok(), QStringLiteral("確定")) << "the simplified catalogue is gone";
    EXPECT_NE(QCoreApplication::translate("QPrintDialog", "&Options >>"), QStringLiteral("&Options >>"));

    const TQtTranslations english = InstallQtTranslations(437);
    EXPECT_FALSE(english.Installed);
    EXPECT_TRUE(english.Language.isEmpty());
    EXPECT_EQ(ok(), QStringLiteral("OK"));
    EXPECT_EQ(yes(), QStringLiteral("&Yes"));
}

TEST(QtTranslations, AMissingCatalogueLeavesQtEnglishAndSaysWhichWasWanted)
{
    testsupport::TempFolder empty;
    const TQtTranslations missing = InstallQtTranslations(950, empty.path());
    EXPECT_FALSE(missing.Installed);
    EXPECT_EQ(missing.Language, QStringLiteral("zh_TW"));
    EXPECT_EQ(missing.Folder, empty.path());
    EXPECT_EQ(ok(), QStringLiteral("OK"));
}
