#pragma once
// Path texts of a case-blind file system on a case-sensitive one.
//
// The program and its configuration name folders the Windows way, where
// "c_data" and "C_DATA" are one folder; here they would be two. Callers that
// make or look for files under a home that already holds such folders use
// NativePathOnDisk() so that they find the folder as it is on disk instead of
// making a second one beside it.

#include <QString>

// NativePath(pathText) (NativePath.h) with every name spelled as it is on
// disk, walking from the root (or the working folder for a relative text):
// - a name that exists as written is kept;
// - otherwise the entry of its folder that equals it ignoring case is taken;
//   when several do, the first in the folder's sorted listing;
// - the first name that exists in no case, and every name after it, stay as
//   written (a folder made from the result then lies in the existing parents).
// A trailing separator is kept. Only reads folder listings; changes nothing.
QString NativePathOnDisk(const QString& pathText);
