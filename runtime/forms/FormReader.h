#pragma once
// Reads form descriptions into components.
//
// "object Name: TClass" creates a component of the registered class, owned by
// the root and nested in the enclosing object; "inherited Name: TClass"
// updates the root's existing component of that name (moving it when it now
// sits elsewhere). Properties are assigned by name (walking dotted
// sub-objects), handlers bound to the root's methods by name, and component
// references resolved once everything is read. After reading, a root property
// that is a pointer named like a component (a form's published field) is set
// to it.
//
// Any fault in the text raises EReadError with the line and the reason; the
// text is parsed completely before anything changes, and components created
// by a read that fails are freed again.

#include "runtime/forms/Component.h"

#include <QString>

// Reads text into root (a form or any component that owns the others).
void ReadComponent(TComponent* root, const QString& text);
// Reads a file or resource (":/...") holding a description in UTF-8.
void ReadComponentFile(TComponent* root, const QString& path);
// Creates the root of a description by its class name and reads the text into it.
TComponent* CreateFromText(const QString& text, TComponent* owner = nullptr);
