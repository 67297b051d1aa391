#pragma once
// Writes components as form descriptions (the text FormReader reads).
//
// WriteComponent writes root and everything it owns, each property that
// differs from a bare instance of its class. WriteComponentDescendant writes
// only what differs from a fresh instance of root's class (built with its
// built-in layout): components the fresh instance also has appear as
// "inherited" entries holding their changed properties, and only when
// something in them changed; components it lacks appear as "object" entries.
// Reading that text into a fresh instance gives back root's state.

#include "runtime/forms/Component.h"

#include <QString>

QString WriteComponent(TComponent* root);
QString WriteComponentDescendant(TComponent* root);
// The difference of root from ancestor (an instance of the same class).
QString WriteComponentDiff(TComponent* root, TComponent* ancestor);
