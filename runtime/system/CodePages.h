#pragma once
// Texts as bytes of a Windows code page, through iconv.
//
// Supported code pages: 936 (GBK), 950 (Big5), 437 (DOS Latin US),
// 1252 (Western), 65001 (UTF-8). Any other code page raises EConvertError.
//
// Encoding: a character the code page cannot represent becomes one "?"
// (Windows' default character), one per character, a surrogate pair being one
// character. A lone surrogate is such a character too.
// Decoding: each byte that does not start a valid sequence becomes U+FFFD and
// decoding goes on with the next byte, so that one damaged byte never swallows
// the character after it; a sequence cut short by the end of the data becomes
// one U+FFFD. (Windows maps undefined bytes to a code-page-specific default;
// U+FFFD keeps the damage visible and is what Qt does for UTF-8.)

#include <QByteArray>
#include <QString>

QByteArray EncodeText(const QString& text, int codePage);
QString DecodeText(const QByteArray& bytes, int codePage);
// The length in bytes of EncodeText(text, codePage), without building it.
int ByteLength(const QString& text, int codePage);
// True for the code pages above.
bool IsSupportedCodePage(int codePage);
// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const QByteArray& bytes);

// The text of a file whose encoding is not declared: a UTF-16 (LE or BE) or
// UTF-8 byte-order mark decides; else valid UTF-8 is read as UTF-8; else the
// bytes are in ansiCodePage (Latin-1 when that code page is not supported).
QString DecodeFileText(const QByteArray& bytes, int ansiCodePage);
