#pragma once
// Private helpers of libPDF: gathered writes, the temporary file where image
// objects wait for EndDoc, and copies out of it.
//
// Failures raise (runtime/system/Exceptions.h): EFCreateError when a file
// cannot be created, EWriteError when one cannot be written completely,
// EReadError when a temporary file cannot be read completely.

#include <QString>

#include <sys/types.h>
#include <sys/uio.h>

#include <vector>

namespace pdfimage {

inline iovec Piece(const void* data, size_t size)
{
    return {const_cast<void*>(data), size};
}

// Writes the pieces, in order, with as few calls as the system allows: at the
// file position of fd when offset is negative, else from offset on (without
// moving the file position). A write error raises EWriteError naming path.
// The system reports a piece whose memory cannot be read (a mapping of a
// file that has become shorter) as EFAULT: that raises EReadError naming
// faultSource when it is given.
void WritePieces(int fd, std::vector<iovec> pieces, qint64 offset, const QString& path,
    const QString& faultSource = QString());

// Copies size bytes of the file `in` from offset `from` to the position of
// `out`: by the kernel where it can (copy_file_range, then sendfile), else by
// read and write. A short or failed read raises EReadError naming inName.
void CopyFileRange(int in, qint64 from, qint64 size, const QString& inName, int out, const QString& outPath);

// A read-only view of the first size bytes of a file, with its page tables
// filled in advance (a gathered write from it then copies without a page fault
// per page). Unmapped by the destructor.
class MappedFile {
public:
    MappedFile(int fd, qint64 size);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // nullptr when the file could not be mapped (too large for the address
    // space, a file system without mappings): copy it another way.
    const char* Data() const { return data_; }

private:
    const char* data_ = nullptr;
    size_t size_ = 0;
};

// A temporary file that has no name in any folder from the moment it exists:
// it is removed when it is closed, and by the system when the process ends in
// any way, so nothing is ever left behind. Open for reading and writing;
// closed by the destructor.
class TempFile {
public:
    enum class Kind {
        // Made without a name in a folder (O_TMPFILE): its pages belong to
        // that folder's file system.
        Unnamed,
        // Made with a fresh name in a folder that is removed at once, for file
        // systems that cannot make unnamed files.
        Unlinked,
        // In memory, in no folder (memfd).
        Memory,
    };

    TempFile() = default;
    ~TempFile();
    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&& other) noexcept;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    // A temporary file of the given kind; folder is ignored for Memory. An
    // Unnamed file falls back to Unlinked where the folder's file system
    // cannot make one. Raises EFCreateError.
    static TempFile Create(Kind kind, const QString& folder);

    bool IsOpen() const { return fd_ >= 0; }
    int Handle() const { return fd_; }
    Kind Made() const { return made_; }
    // What messages call the file, e.g. "temporary image file in \"/tmp\"".
    const QString& Name() const { return name_; }
    // Closes (and so removes) the file.
    void Close();

private:
    int fd_ = -1;
    Kind made_ = Kind::Unnamed;
    QString name_;
};

} // namespace pdfimage
