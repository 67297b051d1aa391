#pragma once
// Published properties by name and by path, without regard to case.
//
// A path is a list of names separated by "."; every name but the last moves
// to an object-valued property (Font, Columns ...). A name may end in "_N" to
// address entry N of what it names: a line of a string list (Items_2), an item
// of a collection (Columns_1.Caption, Panels_0.Text). A collection item as the
// last element stands for its text (its Caption or Text property).

#include "runtime/forms/Method.h"

#include <QMetaProperty>
#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>

class TStrings;

// The published property of that name, invalid when there is none.
QMetaProperty FindPublishedProperty(const QObject* object, const QString& name);
// All published property names of the object's class, base classes first.
QStringList PublishedPropertyNames(const QObject* object);

// Kinds of property by type.
bool IsObjectProperty(const QMetaProperty& property); // an owned sub-object (TFont, TStrings ...)
bool IsComponentProperty(const QMetaProperty& property); // a reference to another component
bool IsEventProperty(const QMetaProperty& property);
// Enumerations whose properties also take plain numbers (colours, character sets).
bool IsOpenEnumeration(const QMetaProperty& property);

// The place a path leads to: a property of an object, or a line of a string list.
struct PropertyLocation {
    QObject* Object = nullptr;
    QMetaProperty Property; // invalid for a line
    TStrings* Lines = nullptr;
    int Line = -1;
};
// Resolves path from object; nothing when some element does not exist or an
// index is out of range (a line index may lie past the end: setting grows the list).
std::optional<PropertyLocation> ResolvePropertyPath(QObject* object, const QString& path);
bool HasPropertyPath(QObject* object, const QString& path);

// Read and write by path; EPropertyError when the path leads nowhere or the
// value does not fit. Setting line N of a list appends empty lines up to N.
QVariant GetPropertyValue(QObject* object, const QString& path);
void SetPropertyValue(QObject* object, const QString& path, const QVariant& value);

// The same as text: enumerations by identifier (numbers also accepted),
// sets as "[fsBold,fsItalic]", Booleans as True/False, sub-objects and lists by
// their text (a string list's Text).
QString GetPropertyText(QObject* object, const QString& path);
void SetPropertyText(QObject* object, const QString& path, const QString& text);
// The type name of the property at path ("TColor", "QString", "TStrings*" ...).
QString GetPropertyTypeName(QObject* object, const QString& path);

// Enumeration helpers shared with the form reader and writer.
int EnumStorage(const QVariant& value); // the integer inside an enum or set value
QVariant EnumVariant(const QMetaProperty& property, int value); // an enum or set value of the property's type
bool EnumKeyToValue(const QMetaEnum& meta, const QString& key, int* value); // case-insensitive
QString SetToText(const QMetaEnum& meta, int value); // "[fsBold, fsItalic]"

// Event handlers by property name.
TMethod GetPropMethod(QObject* object, const QString& name);
void SetPropMethod(QObject* object, const QString& name, const TMethod& method);
