#pragma once
// Qt's own texts in the user's language: the standard buttons of message
// boxes (Yes, No, OK, Cancel), the print dialog (with its "Options >>"),
// the file, font, colour and input dialogs. Qt shows them from its
// translation catalogue "qtbase" (Debian package qt6-translations-l10n);
// without one installed they stay English.
//
// The language is that of the interface code page: 936 Chinese (China),
// 950 Chinese (Taiwan) (LocaleOfCodePage); any other code page keeps Qt's
// English.

#include <QString>

struct TQtTranslations {
    QString Language; // "zh_CN", "zh_TW"; empty: English was wanted
    QString Folder; // where the catalogue was looked for
    bool Installed = false;
};

// Installs the "qtbase" catalogue for codePage from folder (empty: Qt's
// translations folder) into the running application, in place of one an
// earlier call installed; a code page without a catalogue language removes
// that one again. Needs a QCoreApplication. When the catalogue is missing
// nothing is installed (Installed false, Language set) and Qt speaks English:
// the caller tells about it where it logs.
TQtTranslations InstallQtTranslations(int codePage, const QString& folder = QString());
