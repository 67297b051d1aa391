#pragma once
// The layout package: a form's layout to and from files, and the filter
// that makes a stored layout of a form description.
//
// SaveFormLayoutToFile writes what differs between form and a fresh
// instance of its class (the form description writer's descendant text,
// reduced by ExtractStoredProperties), in UTF-8. The file is replaced only
// when the whole text was written (a failed save leaves the old file), and
// a failure raises EFCreateError naming the file.
//
// LoadFormLayoutFromFile reads such a file into form (its built-in layout,
// or one read before: components the file adds that the form has already
// are updated, see AdoptExistingComponents). A missing or unreadable file raises
// EFOpenError; a damaged text raises EReadError and changes nothing (the
// reader parses the whole text first).
//
// ExtractStoredProperties keeps every line of a descendant text except
//   - the window placement of the form itself (Left, Top, Width, Height,
//     ClientWidth, ClientHeight, WindowState, Position, Visible): the
//     designer maximises the form, and a stored layout must not carry that
//     into the next print run;
//   - "inherited" entries left with nothing in them;
//   - components without a name ("object : TClass"), which no reader can
//     make again (a stored text holding one could not be read at all).
// Lines are returned as given (indentation included); nested objects,
// string continuations, lists and collections pass unchanged.

#include "runtime/system/Exceptions.h"

#include <QString>
#include <QStringList>

class TComponent;

QStringList ExtractStoredProperties(const QStringList& lines);
// text with each "object Name: TClass" entry for a component root already
// owns, of that class, made an "inherited" entry: reading it then updates
// that component instead of failing on a name taken twice (a layout read
// into a form that has read one before).
QString AdoptExistingComponents(const TComponent* root, const QString& text);
// The stored text of form: its descendant text through the filter.
QString StoredLayoutText(TComponent* form);
void SaveFormLayoutToFile(TComponent* form, const QString& path);
void LoadFormLayoutFromFile(TComponent* form, const QString& path);
