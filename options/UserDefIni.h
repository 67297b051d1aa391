#pragma once
// The client's own file of print defaults, UserDef.ini in the client home
// folder: which stored format a print program uses for a slip type.
//
// Section "VoucherFormatDef" holds lines "PROGRAM_SLIPTYPE=Format name", with
// every "=" of the slip type written as "$EQUAL$" (a key cannot hold "=").
// The file is read once, when the object is made; it is never written.

#include <QString>
#include <QStringList>

class TUserDefIni {
public:
    // Reads UserDef.ini in the home folder of the client configuration.
    TUserDefIni();
    // Reads UserDef.ini in homeFolder (a path text; "\" is added when missing).
    // An empty folder reads nothing.
    explicit TUserDefIni(const QString& homeFolder);

    // The format name stored for the program's slip type: "<New>" when the
    // file has no such entry, the empty text when the entry's value is empty.
    // Keys are compared without regard to case.
    QString Lookup(const QString& programCode, const QString& slipType) const;

    // The file read (empty when there is no home folder).
    QString FileName() const { return fileName_; }
    // Every entry of the section as "key=value", in file order.
    const QStringList& Entries() const { return entries_; }

private:
    void Load(const QString& homeFolder);

    QString fileName_;
    QStringList entries_;
};
