#pragma once
// Reading the Variant arrays that clients send: a missing element, an
// argument that is no array, or a reference all read without raising.

#include "runtime/system/Variant.h"

#include <QString>

namespace appserver {

// Element i of a one-dimensional array counted from its low bound;
// Unassigned when there is no such element.
const Variant& Element(const Variant& array, int i);
// The element as text; empty for Null, Unassigned, objects and arrays.
QString TextAt(const Variant& array, int i);
// A flag the way clients write flags: true, a non-zero number, "Y", "YES",
// "T", "TRUE" or "1" (any case).
bool IsTrue(const Variant& value);
// A number in a text, or fallback.
int IntOf(const Variant& value, int fallback);
// Today as YYYYMMDD.
QString Today();

} // namespace appserver
