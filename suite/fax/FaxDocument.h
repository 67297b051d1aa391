#pragma once
// Pages in a form the HylaFAX client can send.
//
// PDF, PostScript and TIFF files are sent as they are. A picture file (JPEG,
// GIF, BMP, PNG: what the report writes) becomes a one-page PDF in the given
// folder whose page is the picture at its own resolution (the density in the
// file, 200 dpi when it records none), edge to edge.
//
// Answers the path to send, or empty with error set when the file cannot be
// read or the PDF cannot be written. The source file is left alone.

#include <QString>

QString FaxableDocument(const QString& path, const QString& workFolder, QString& error);
