#pragma once
// Turns a document (Word, Writer, RTF, a spreadsheet, a PDF ...) into the
// picture a report page shows as its background, with LibreOffice headless.
//
// The office program is $STEWARD_SOFFICE when set, else "soffice" or
// "libreoffice" on PATH. It runs without a shell, with its own throw-away
// user profile (so a LibreOffice the user has open does not take the job
// over and exit at once), converting the document's first page into the
// format named by the target's extension: .png (default), .svg, .pdf or .emf.
//
// Convert() answers empty on success, with the target complete (written
// beside it under another name and renamed); else the reason, in English,
// and the target untouched. It waits at most TimeoutSeconds.

#include <QString>

class TDocumentConverter {
public:
    int TimeoutSeconds = 120;

    // The office program that would run, or empty when none is installed.
    static QString OfficeProgram();
    // What Convert() answers when there is no office program.
    static QString NotInstalledMessage();
    // The picture name for a document when the caller gives none: the
    // document's name with ".png".
    static QString DefaultTarget(const QString& document);

    QString Convert(const QString& document, const QString& target) const;
};
