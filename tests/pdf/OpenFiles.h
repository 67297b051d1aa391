#pragma once
// What the tests of the writer's temporary files ask of the system: the
// entries of a folder, a file's identity whatever its names, and whether this
// process still holds it open.
#include <QDir>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace openfiles {

inline QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// A file as the system knows it, whatever its names.
struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    nlink_t links = 0;
    bool valid = false;
};

inline FileId IdOf(int fd)
{
    struct stat info { };
    if (fd < 0 || ::fstat(fd, &info) != 0)
        return {};
    return {info.st_dev, info.st_ino, info.st_nlink, true};
}

// True while some handle of this process still holds the file open: a
// temporary file without a name is gone once none does.
inline bool StillOpen(const FileId& id)
{
    DIR* fds = ::opendir("/proc/self/fd");
    if (!fds)
        return false;
    bool found = false;
    while (const dirent* entry = ::readdir(fds)) {
        struct stat info { };
        if (entry->d_name[0] != '.' && ::fstatat(dirfd(fds), entry->d_name, &info, 0) == 0
            && info.st_dev == id.device && info.st_ino == id.inode)
            found = true;
    }
    ::closedir(fds);
    return found;
}

} // namespace openfiles
