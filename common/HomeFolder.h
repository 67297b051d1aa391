#pragma once
// Where the registry's home values ("ClientPath", "ServerPath") point, so
// that a home works wherever it is copied or moved together with its
// registry file (a demo home keeps registry.reg beside StewardC.ini).

#include <QString>

class TRegistry;

// The home folder named by the value valueName of the registry's open key
// (the suite's key "Software\HVN\Steward"), as a path text:
// - a relative text (no drive, not starting with "\" or "/") is taken from
//   the folder of the registry file; "." is that folder itself;
// - a rooted text that names no existing folder (the home was copied or
//   moved, its old place is gone) gives the registry file's folder instead,
//   when that folder holds the home's INI file: StewardS.ini for
//   "ServerPath", StewardC.ini for any other value; else the text stays;
// - an existing folder and an empty value are returned as read.
// A folder made from the registry file's place is a native absolute path
// without a trailing separator. Never raises.
QString RegistryHomeFolder(TRegistry& registry, const QString& valueName);
