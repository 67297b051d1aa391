#pragma once
// Language package documents: the bytes of a ".Lng" file decoded by the
// encoding its XML declaration names (GB2312/GBK, Big5, UTF-8 ...), or by its
// byte-order mark, then parsed with pugixml. Damaged input gives an error
// that names the line and the reason; nothing is ever half-loaded.

#include "runtime/system/Exceptions.h"

#include <QByteArray>
#include <QString>
#include <pugixml.hpp>

ZORV_EXCEPTION_CLASS(LanguageControllerError, Exception)

namespace langdoc {

// Larger files are refused (a package holds the texts of one form).
constexpr qint64 MaxDocumentBytes = 16 * 1024 * 1024;

// The code page the declaration names: 936, 950, 1252 or 65001; 0 when the
// document declares none; -1 for an encoding that is not supported.
int DeclaredCodePage(const QByteArray& bytes);
// The document as Unicode text; raises LanguageControllerError for an
// unsupported declared encoding.
QString DecodeDocument(const QByteArray& bytes, int ansiCodePage);
// Parses text into document; raises LanguageControllerError "Line n: reason".
void ParseDocument(pugi::xml_document& document, const QString& text);
// Reads, decodes and parses a file; raises LanguageControllerError.
void LoadDocumentFile(pugi::xml_document& document, const QString& pathText, int ansiCodePage);

// True for a name that is safe to place in an XPath step (an XML name of
// letters, digits, "_", "-" and "."; not starting with a digit, "-" or ".").
bool IsSafeElementName(const QString& name);

} // namespace langdoc
