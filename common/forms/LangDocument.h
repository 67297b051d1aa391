#pragma once
// Language package documents: the bytes of a ".Lng" file decoded by the
// encoding its XML declaration names (GB2312/GBK, Big5, UTF-8 ...), or by its
// byte-order mark. Parsing them is LangXml.h's part, kept out of this header
// so that forms do not see the XML parser.

#include "runtime/system/Exceptions.h"

#include <QByteArray>
#include <QString>

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

// True for a name that is safe to place in an XPath step (an XML name of
// letters, digits, "_", "-" and "."; not starting with a digit, "-" or ".").
bool IsSafeElementName(const QString& name);

} // namespace langdoc
