// steward-lang: writes and checks the module's language packages.
//
//   steward-lang build SOURCE_ROOT OUT_DIR   OUT_DIR/CHS, CHT, ENG/*.Lng
//   steward-lang check SOURCE_ROOT DIR       DIR holds exactly what build writes
//   steward-lang missing SOURCE_ROOT         dictionary lines still to translate
//
// The texts come from the sources (every form description and message
// look-up); the English from English.txt beside this program's source, the
// texts left in Chinese on purpose from Untranslated.txt there, and the
// phrases OpenCC gets wrong for the traditional package from Traditional.txt.

#include "common/forms/LangPackageBuilder.h"
#include "runtime/system/Exceptions.h"
#include "runtime/system/PhraseOverrides.h"
#include "runtime/system/ScriptConverter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>

#include <cstdio>

namespace {

void say(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

QString toolFile(const QString& root, const QString& name)
{
    return QDir(root).filePath(QStringLiteral("common/forms/tool/") + name);
}

TLangBuild build(const QString& root)
{
    const TLangCatalogue catalogue = CollectModuleTexts(root);
    const TLangDictionary english
        = TLangDictionary::Parse(readText(toolFile(root, QStringLiteral("English.txt"))));
    const TLangStrayAccount strays
        = TLangStrayAccount::Parse(readText(toolFile(root, QStringLiteral("Untranslated.txt"))));
    // Taiwan characters with Taiwan phrases: the words a 950 user reads in
    // the rest of the suite (列印, 資料, 伺服器), not only other characters.
    const TScriptConverter traditional(QStringLiteral("s2twp.json"));
    const TPhraseOverrides overrides
        = TPhraseOverrides::Parse(readText(toolFile(root, QStringLiteral("Traditional.txt"))));
    return BuildPackages(catalogue, english, strays, [&](const QString& text) {
        return overrides.Convert(text, [&](const QString& piece) { return traditional.Convert(piece); });
    });
}

int report(const QStringList& problems)
{
    for (const QString& problem : problems)
        say(problem);
    return problems.isEmpty() ? 0 : 1;
}

int writePackages(const QString& root, const QString& out)
{
    const TLangBuild packages = build(root);
    for (auto language = packages.Files.cbegin(); language != packages.Files.cend(); ++language) {
        const QDir folder(QDir(out).filePath(language.key()));
        if (!QDir().mkpath(folder.path()))
            throw EFCreateError(QStringLiteral("cannot create %1").arg(folder.path()));
        for (auto file = language->cbegin(); file != language->cend(); ++file) {
            QFile target(folder.filePath(file.key()));
            if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)
                || target.write(*file) != file->size())
                throw EFCreateError(QStringLiteral("cannot write %1").arg(target.fileName()));
        }
        // A package of a form that is gone would still be applied: away with it.
        for (const QString& name : folder.entryList({QStringLiteral("*.Lng")}, QDir::Files))
            if (!language->contains(name))
                QFile::remove(folder.filePath(name));
    }
    return report(packages.Problems);
}

int checkPackages(const QString& root, const QString& dir)
{
    const TLangBuild packages = build(root);
    QStringList problems = packages.Problems;
    for (auto language = packages.Files.cbegin(); language != packages.Files.cend(); ++language) {
        const QDir folder(QDir(dir).filePath(language.key()));
        for (auto file = language->cbegin(); file != language->cend(); ++file) {
            QFile there(folder.filePath(file.key()));
            if (!there.open(QIODevice::ReadOnly))
                problems << QStringLiteral("%1/%2 is missing").arg(language.key(), file.key());
            else if (there.readAll() != *file)
                problems << QStringLiteral("%1/%2 is out of date").arg(language.key(), file.key());
        }
        for (const QString& name : folder.entryList({QStringLiteral("*.Lng")}, QDir::Files))
            if (!language->contains(name))
                problems << QStringLiteral("%1/%2 belongs to no form or message of the module")
                                .arg(language.key(), name);
    }
    if (!problems.isEmpty())
        problems << QStringLiteral("(steward-lang build %1 %2 writes them again)").arg(root, dir);
    return report(problems);
}

int printMissing(const QString& root)
{
    const TLangCatalogue catalogue = CollectModuleTexts(root);
    const TLangDictionary english
        = TLangDictionary::Parse(readText(toolFile(root, QStringLiteral("English.txt"))));
    QSet<QString> printed;
    for (const TLangEntry& entry : catalogue.Entries()) {
        if (!english.Translate(entry).isEmpty() || printed.contains(entry.Source))
            continue;
        printed.insert(entry.Source);
        std::printf("%s\t\n", qPrintable(TLangDictionary::Escape(entry.Source)));
    }
    for (const TLangStray& stray : catalogue.Strays())
        std::fprintf(stderr, "stray %s\t%s\n", qPrintable(stray.Origin),
            qPrintable(TLangDictionary::Escape(stray.Text)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    try {
        if (args.size() == 3 && args[0] == u"build")
            return writePackages(args[1], args[2]);
        if (args.size() == 3 && args[0] == u"check")
            return checkPackages(args[1], args[2]);
        if (args.size() == 2 && args[0] == u"missing")
            return printMissing(args[1]);
    } catch (const std::exception& e) {
        say(QStringLiteral("steward-lang: %1").arg(QString::fromUtf8(e.what())));
        return 2;
    }
    say(QStringLiteral("usage: steward-lang build SOURCE_ROOT OUT_DIR\n"
                       "       steward-lang check SOURCE_ROOT DIR\n"
                       "       steward-lang missing SOURCE_ROOT"));
    return 2;
}
