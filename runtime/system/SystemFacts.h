#pragma once
// Facts about the machine that the Windows program asked its system for:
// the ANSI code page, the login name and the temporary folder.

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
