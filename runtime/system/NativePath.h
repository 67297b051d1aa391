#pragma once
// Path texts and the file system.
//
// The program builds path texts the Windows way ("D:\App\" + "Log\" + name).
// NativePath() is the one place where such a text becomes a path of this
// system; every file-system call of the program goes through it. The other
// helpers work on path texts and keep their separators as they are.

#include <QString>

// The native path of a path text:
// - "\" and "/" both separate; runs of separators collapse into one, so a home
//   folder ending in "\" followed by "\Log" still names HOME/Log;
// - "X:" at the start names a drive: it maps to $STEWARD_DRIVE_X when set,
//   else to GetTempFolder() + "steward-drive-x";
// - "\\server\share" at the start maps to $STEWARD_UNC_ROOT/server/share,
//   else to GetTempFolder() + "steward-unc/server/share";
// - "." and ".." are resolved in rooted paths and never climb above the root
//   (a drive folder, a share folder, or "/"), as on Windows;
// - a trailing separator is kept as "/".
// Relative texts stay relative (to the working folder).
QString NativePath(const QString& pathText);

// True when the path names an existing file (not a folder).
bool FileExists(const QString& pathText);
// True when the path names an existing folder.
bool DirectoryExists(const QString& pathText);
// Creates the folder and every missing parent; true when it exists afterwards.
// False for an empty text.
bool ForceDirectories(const QString& pathText);

// The text followed by "\" unless it already ends in "\" or "/"
// (an empty text gives "\", as the original runtime does).
QString IncludeTrailingBackslash(const QString& pathText);
// The text without one trailing "\" or "/".
QString ExcludeTrailingBackslash(const QString& pathText);

// The parts of a path text. "\" and "/" separate folders; ":" ends a drive.
// ExtractFilePath("D:\App\a.ini") = "D:\App\", ExtractFilePath("D:a.ini") = "D:".
QString ExtractFilePath(const QString& pathText);
// ExtractFileName("D:\App\a.ini") = "a.ini".
QString ExtractFileName(const QString& pathText);
// The extension with its dot, or empty: ExtractFileExt("a.tar.gz") = ".gz",
// ExtractFileExt("D:\x.d\name") = "".
QString ExtractFileExt(const QString& pathText);
// Replaces the extension (or appends one): ChangeFileExt("a.txt", ".ini") = "a.ini".
QString ChangeFileExt(const QString& pathText, const QString& extension);
