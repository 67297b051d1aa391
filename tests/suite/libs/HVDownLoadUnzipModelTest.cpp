// Random archives of tricky names unpacked and checked against a plain model
// of the rules: a name is refused when it is absolute or climbs with "..";
// "\" separates like "/"; empty and "." parts vanish; two entries naming one
// file, or a file that is also a folder, refuse the archive; so does a link.
// A refused archive must leave every file below the work folder as it was;
// an accepted one must leave exactly the model's files.

#include "HVDownLoadFixture.h"
#include "support/TestZip.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QSet>

using testsupport::TestZip;

namespace {

struct ModelEntry {
    QString Name;
    QByteArray Content;
    bool Folder = false;
    bool Link = false;
};

// The files (relative path -> content) the archive must give, or nothing
// when it must be refused.
std::optional<QMap<QString, QByteArray>> Model(const QList<ModelEntry>& entries)
{
    QMap<QString, QByteArray> files;
    QSet<QString> folders;
    for (const ModelEntry& entry : entries) {
        if (entry.Link)
            return std::nullopt;
        QString name = entry.Name;
        name.replace('\\', '/');
        if (name.startsWith('/') || (name.size() >= 2 && name[1] == ':' && name[0].isLetter()))
            return std::nullopt;
        QStringList parts;
        for (const QString& part : name.split('/')) {
            if (part == "..")
                return std::nullopt;
            if (!part.isEmpty() && part != ".")
                parts.append(part);
        }
        const bool folder = entry.Folder || name.endsWith('/');
        if (parts.isEmpty()) {
            if (folder)
                continue;
            return std::nullopt;
        }
        for (int i = 1; i < parts.size() + (folder ? 1 : 0); ++i)
            folders.insert(parts.mid(0, i).join('/'));
        if (folder)
            continue;
        const QString path = parts.join('/');
        if (files.contains(path))
            return std::nullopt;
        files.insert(path, entry.Content);
    }
    for (const QString& folder : folders)
        if (files.contains(folder))
            return std::nullopt;
    return files;
}

QString RandomName(QRandomGenerator& random)
{
    static const char* const pieces[] = {"a", "B", "lib.so", "..", ".", "", "C:", "x y", "中文"};
    static const char* const separators[] = {"/", "\\"};
    QString name;
    if (random.bounded(10) == 0)
        name += separators[random.bounded(2)];
    const int count = 1 + random.bounded(3);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            name += separators[random.bounded(2)];
        name += QString::fromUtf8(pieces[random.bounded(int(std::size(pieces)))]);
    }
    return name;
}

QMap<QString, QByteArray> Files(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), testsupport::readAll(path));
    }
    return files;
}

} // namespace

TEST_F(HVDownLoadTest, RandomArchivesAgreeWithTheModel)
{
    constexpr quint32 seed = 52016;
    QRandomGenerator random(seed);
    int accepted = 0;
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE(QStringLiteral("seed %1, round %2").arg(seed).arg(round).toStdString());
        const QString work = temp_.file(QStringLiteral("r%1").arg(round));
        temp_.write(QStringLiteral("r%1/outside.txt").arg(round), "outside");
        temp_.write(QStringLiteral("r%1/dest/old.txt").arg(round), "old");
        QList<ModelEntry> entries;
        TestZip zip;
        const int count = 1 + random.bounded(4);
        for (int i = 0; i < count; ++i) {
            ModelEntry entry {RandomName(random), QByteArray::number(i) + "-content", random.bounded(6) == 0,
                random.bounded(25) == 0};
            if (entry.Folder && !entry.Name.endsWith('/'))
                entry.Name += '/';
            if (entry.Link)
                zip.Link(entry.Name, "../outside.txt");
            else if (entry.Folder)
                zip.Folder(entry.Name);
            else
                zip.File(entry.Name, entry.Content);
            entries.append(entry);
        }
        if (!zip.Write(temp_.file("round.zip")))
            continue; // libzip would not store that name (two entries of one name)
        const QMap<QString, QByteArray> before = Files(work);
        QString error;
        const bool ok = Unzip(temp_.file("round.zip"), work + "/dest", error);
        const auto expected = Model(entries);
        QStringList names;
        for (const ModelEntry& entry : entries)
            names.append('"' + entry.Name + '"');
        SCOPED_TRACE(names.join(", ").toStdString() + " -> " + error.toStdString());
        ASSERT_EQ(ok, expected.has_value());
        if (!ok) {
            ASSERT_EQ(Files(work), before);
            continue;
        }
        ++accepted;
        QMap<QString, QByteArray> wanted {{"outside.txt", "outside"}, {"dest/old.txt", "old"}};
        for (auto it = expected->begin(); it != expected->end(); ++it)
            wanted.insert("dest/" + it.key(), it.value());
        ASSERT_EQ(Files(work), wanted);
    }
    // Both outcomes must have been exercised for the run to mean anything.
    EXPECT_GT(accepted, 20);
    EXPECT_LT(accepted, 180);
}
