#pragma once
// Facts about the machine that the Windows program asked its system for:
// the ANSI code page, the login name and the temporary folder.

#include <QLocale>
#include <QString>

// The ANSI code page: $STEWARD_ACP when it holds a number, else derived from the
// locale (LC_ALL, then LC_CTYPE, then LANG): zh_CN/zh_SG 936, zh_TW/zh_HK/zh_MO 950,
// anything else 1252.
int GetACP();

// The login name of the effective user; $USER when the password database has no
// entry; "Default" when neither is known.
QString GetWindowsUserName();

// $TMPDIR when set and not empty, else "/tmp"; always ends in "/".
QString GetTempFolder();

// The locale of texts shown in a code page: 936 Chinese (China), 950 Chinese
// (Taiwan), anything else English (United States). Month and day names,
// number formats and collation of the user interface follow it.
QLocale LocaleOfCodePage(int codePage);

// Gives Qt a runtime folder before it looks for one. Where $XDG_RUNTIME_DIR is
// unset (root, CI, containers) Qt falls back to <temp>/runtime-<user> with a
// warning on the console; this names that same folder in $XDG_RUNTIME_DIR
// (creating it, owner only, when missing), so Qt uses it without a word.
// Leaves a set $XDG_RUNTIME_DIR alone. Call before the QCoreApplication.
void PrepareRuntimeFolder();
