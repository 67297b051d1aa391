#pragma once
// Zip archives made by tests, hostile ones included: entries whose names
// climb out of the folder, absolute names, symbolic links, and large runs of
// zeros that compress to almost nothing.

#include <QByteArray>
#include <QString>

#include <list>
#include <vector>

namespace testsupport {

class TestZip {
public:
    // A regular file entry with the given unix permission bits.
    TestZip& File(const QString& name, const QByteArray& content, unsigned permissions = 0644);
    // A folder entry ("name/").
    TestZip& Folder(const QString& name);
    // A symbolic link entry pointing at target (stored as its content).
    TestZip& Link(const QString& name, const QString& target);

    // Entries added from now on are stored, not compressed (quick for large
    // files whose packing does not matter to the test).
    TestZip& Stored();

    // Writes the archive (replacing the file); false when libzip refused,
    // with Error() telling why.
    bool Write(const QString& path);
    QString Error() const { return error_; }

private:
    struct Item {
        QString Name;
        QByteArray Content;
        unsigned Mode; // st_mode bits: type and permissions
        bool IsFolder;
        bool Stored;
    };
    std::vector<Item> items_;
    QString error_;
    bool stored_ = false;
};

} // namespace testsupport
