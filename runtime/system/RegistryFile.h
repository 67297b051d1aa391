#pragma once
// The registry of the suite: a read-only file in the Windows registry export
// format ("Windows Registry Editor Version 5.00" or "REGEDIT4"), found at
// $STEWARD_REGISTRY, else /etc/steward/registry.reg.
//
// TRegistry reads it the way the original runtime's registry class reads the
// Windows registry. Each instance reads the file once, when it first needs it,
// so a new instance sees a changed file. A damaged file never makes it fail:
// lines that cannot be read are skipped and LastError() says which and why.

#include "runtime/system/Exceptions.h"

#include <QString>
#include <QStringList>

#include <memory>

ZORV_EXCEPTION_CLASS(ERegistryException, Exception)

class RegistryStore;

// The file every TRegistry reads: $STEWARD_REGISTRY, else /etc/steward/registry.reg.
QString RegistryFileName();

class TRegistry {
public:
    enum class Root { LocalMachine, CurrentUser };

    TRegistry();
    // Reads the given file (a path text) instead of RegistryFileName().
    explicit TRegistry(const QString& fileName);
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    Root RootKey = Root::LocalMachine;

    // Keys are compared without regard to case. A key starting with "\" is taken
    // from the root, any other relative to the open key. Parents of a key in the
    // file exist too. False when the file is missing, unreadable or not a
    // registry file, or the key is absent.
    bool OpenKeyReadOnly(const QString& key);
    // The store is read-only: an absent key cannot be created, so this is false
    // whenever the key is absent, whatever canCreate says.
    bool OpenKey(const QString& key, bool canCreate);
    void CloseKey();
    bool KeyExists(const QString& key);
    // Path of the open key below the root, without a leading "\"; empty when none.
    QString CurrentPath() const;

    // Values of the open key. The name "" is the default value ("@=" in the file).
    bool ValueExists(const QString& name);
    // Text of a string or expandable-string value (not expanded); a dword gives
    // its unsigned decimal text; empty when absent or of another kind.
    QString ReadString(const QString& name);
    // A dword (as a signed 32-bit number, as Windows hands it out), or a text
    // value that holds a decimal number. Raises ERegistryException otherwise.
    int ReadInteger(const QString& name);
    // Value names of the open key in file order ("" for the default value).
    QStringList GetValueNames();
    // Names of the direct sub-keys of the open key, in file order.
    QStringList GetKeyNames();

    // The file read, as a path text.
    QString FileName() const { return fileName_; }
    // The last problem met while reading the file ("line 12: ..."), or empty.
    QString LastError();

private:
    const RegistryStore* Store();
    QString FullPath(const QString& key) const;

    QString fileName_;
    std::unique_ptr<RegistryStore> store_;
    QString currentPath_; // below the root; empty: the root itself
};
