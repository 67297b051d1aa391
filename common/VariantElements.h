#pragma once
// Reading one element of a one-dimensional Variant array that comes from
// elsewhere (the server's rights data, the option values, the shell's keys)
// without trusting its shape: a missing array, an index outside its bounds
// or an element of the wrong kind reads as empty; nothing raises.

#include "runtime/system/Variant.h"

#include <QString>

// Whether array (a reference is followed first) is a one-dimensional array
// with at least one element.
bool HasElements(const Variant& array);
// Element index (a reference is followed first); Unassigned when there is none.
Variant ElementAt(const Variant& array, int index);
// The element as text; empty when there is none, it is empty or null, or it
// is an array or object.
QString ElementText(const Variant& array, int index);
