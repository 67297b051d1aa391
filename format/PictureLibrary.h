#pragma once
// The report output's side of the picture converter "HVBmpToFile.dll"
// (libHVBmpToFile.so, contract in format/HVBmpToFile.h): saves a
// rendered page as a JPEG or GIF file.
//
// The library is looked up by its Windows name in the module's folder, the
// client home's C_HVBIN folder and $STEWARD_LIBRARY_PATH, loaded for the call
// and released after it, as the output has always done.
//
// SavePicture(page, kind, baseName, clientHome, dpi, finalName):
// - kind JPG or GIF (OutputKind.h); the library appends ".jpg" or ".gif";
//   any other kind: false at once, nothing loaded;
// - baseName longer than 250 characters: false at once, nothing loaded;
// - no library in any folder: raises Exception "Can't found DLL file " +
//   clientHome + "C_HVBIN\HVBmpToFile.dll";
// - a library that cannot be loaded: raises Exception "Load DLL Error %d"
//   (the system's error number; LastDetail() holds the loader's own words);
// - a library without BMPToFile: raises Exception "Can't found function
//   BMPToFile in " + the library's path;
// - otherwise true when the library answered 0, with finalName the file
//   written; false (finalName untouched) for any other answer.
// The page may be in any QImage format; it is handed over as 32-bit pixels
// unless it already is in a layout the library takes.

#include "options/OutputKind.h"

#include <QImage>
#include <QString>

class TPictureLibrary {
public:
    static constexpr int MaxNameLength = 250;
    static constexpr int NameBufferSize = 256;

    static bool SavePicture(const QImage& page, TOutputKind kind, const QString& baseName,
        const QString& clientHome, int dpi, QString& finalName);
    // What the loader said about the last failed load on this thread.
    static QString LastDetail();
};
