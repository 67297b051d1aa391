#include "PictureLibrary.h"

#include "format/HVBmpToFile.h"

#include "runtime/system/Exceptions.h"
#include "runtime/system/Libraries.h"

#include <QDir>

#include <cerrno>
#include <cstring>

namespace {

const QString LibraryName = QStringLiteral("HVBmpToFile.dll");
const QString EntryName = QStringLiteral("BMPToFile");

thread_local QString lastDetail;

using BmpToFile = int (*)(const THVBitmap*, int, char*, int);

// The pixel layout the library takes for this image, or 0 for none.
int pixelFormatOf(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
        return HVPixelRGB32;
    case QImage::Format_ARGB32:
        return HVPixelARGB32;
    case QImage::Format_RGB888:
        return HVPixelRGB888;
    case QImage::Format_RGB16:
        return HVPixelRGB16;
    default:
        return 0;
    }
}

// The library's own number of a kind (HVBmpToFile.h), 0 for a kind it does not make.
int libraryKindOf(TOutputKind kind)
{
    switch (kind) {
    case TOutputKind::Jpg:
        return HVPictureJPG;
    case TOutputKind::Gif:
        return HVPictureGIF;
    default:
        return 0;
    }
}

// Whether any search folder holds the library's file (in any case).
bool libraryFileExists(const QString& extraFolder)
{
    const QString file = QStringLiteral("libHVBmpToFile.so");
    for (const QString& folder : TLibrary::SearchFolders({extraFolder})) {
        const QStringList entries = QDir(folder).entryList(QDir::Files);
        for (const QString& entry : entries) {
            if (entry.compare(file, Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

// The library for this call. A missing file and a file that will not load
// are told apart, as the two texts say different things to the user.
std::unique_ptr<TLibrary> loadLibrary(const QString& clientHome)
{
    QString home = clientHome;
    if (!home.isEmpty() && !home.endsWith(QLatin1Char('\\')) && !home.endsWith(QLatin1Char('/')))
        home += QLatin1Char('\\');
    const QString folder = home + QStringLiteral("C_HVBIN\\");
    errno = 0;
    std::unique_ptr<TLibrary> library = TLibrary::Load(LibraryName, {folder});
    if (library)
        return library;
    const int error = errno;
    lastDetail = TLibrary::LastLoadError();
    if (!libraryFileExists(folder))
        throw Exception(QStringLiteral("Can't found DLL file ") + folder + LibraryName);
    throw Exception(QStringLiteral("Load DLL Error %1").arg(error));
}

} // namespace

QString TPictureLibrary::LastDetail()
{
    return lastDetail;
}

bool TPictureLibrary::SavePicture(const QImage& page, TOutputKind kind, const QString& baseName,
    const QString& clientHome, int dpi, QString& finalName)
{
    const int libraryKind = libraryKindOf(kind);
    const QByteArray name = baseName.toUtf8();
    if (libraryKind == 0 || baseName.size() > MaxNameLength || name.size() >= NameBufferSize || page.isNull())
        return false;
    const std::unique_ptr<TLibrary> library = loadLibrary(clientHome);
    const auto entry = reinterpret_cast<BmpToFile>(library->GetProcAddress(EntryName));
    if (!entry)
        throw Exception(QStringLiteral("Can't found function %1 in %2").arg(EntryName, library->Path()));

    const QImage pixels = pixelFormatOf(page.format()) ? page : page.convertToFormat(QImage::Format_RGB32);
    const THVBitmap bitmap {sizeof(THVBitmap), pixels.width(), pixels.height(), int(pixels.bytesPerLine()),
        pixelFormatOf(pixels.format()), dpi, pixels.constBits()};
    char buffer[NameBufferSize] = {};
    std::memcpy(buffer, name.constData(), size_t(name.size()));
    if (entry(&bitmap, libraryKind, buffer, NameBufferSize) != HVBmpOK)
        return false;
    finalName = QString::fromUtf8(buffer);
    return true;
}
