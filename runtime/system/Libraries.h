#pragma once
// Outside libraries by their Windows names.
//
// "Hvlanguage.dll" is looked up as libHvlanguage.so, the file name compared
// without regard to case, in this order:
//   1. the folder of the module that contains this code (ModuleFileName()),
//   2. the folders given to the call (path texts, e.g. the client's C_HVBIN),
//   3. each folder of $STEWARD_LIBRARY_PATH (":"-separated),
// and opened with dlopen(RTLD_NOW | RTLD_LOCAL). Entry points are found by name.

#include <QString>
#include <QStringList>

#include <memory>

class TLibrary {
public:
    ~TLibrary(); // closes the library
    // Frees the object but leaves the library loaded until the process ends,
    // for a library whose code and data stay in use (Qt keeps metatypes and
    // class data that point into a program module).
    static void KeepLoaded(std::unique_ptr<TLibrary> library);
    TLibrary(const TLibrary&) = delete;
    TLibrary& operator=(const TLibrary&) = delete;

    // The loaded library, or nullptr when it is not found or cannot be opened
    // (LastLoadError() then tells why). Never throws. Only the file-name part
    // of windowsName counts, so a name cannot reach outside the folders above.
    static std::unique_ptr<TLibrary> Load(const QString& windowsName, const QStringList& extraFolders = {});
    // The library in exactly that file (a native path), or nullptr with
    // LastLoadError() set. For a library whose folder the caller has chosen
    // (an updated copy must not lose to one beside the module).
    static std::unique_ptr<TLibrary> LoadFile(const QString& nativePath);
    // Why the last Load() on this thread failed; empty after a success.
    static QString LastLoadError();
    // The folders Load() searches, in order (native paths).
    static QStringList SearchFolders(const QStringList& extraFolders = {});

    // The address of an exported entry point, or nullptr when there is none.
    void* GetProcAddress(const QString& entryName) const;
    // The native path of the opened file.
    QString Path() const { return path_; }

private:
    TLibrary(void* handle, QString path);

    void* handle_;
    QString path_;
};

// The file name a Windows library name stands for: "Hvlanguage.dll" ->
// "libHvlanguage.so", "C:\x\Hv.DLL" -> "libHv.so"; empty for a text that
// names no file.
QString SharedObjectName(const QString& windowsName);

// The native file name of the shared object or executable that contains the
// running code.
QString ModuleFileName();
