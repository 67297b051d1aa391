#pragma once
// Published properties by name, forgiving: a null object, an empty name or a
// property the class does not publish does nothing and reads as empty, 0, an
// unassigned handler or false. Code that walks foreign components (the
// converters, the language reader, form set-up) uses these so that a control
// without some property is simply skipped.
//
// The functions live in namespace LibRTTI because the form runtime already has
// strict GetPropMethod/SetPropMethod that raise on a missing event.

#include "runtime/forms/Method.h"

#include <QObject>
#include <QString>

namespace LibRTTI {

// String properties (also any property whose value converts to text).
QString GetPropText(const QObject* instance, const QString& propName);
void SetPropText(QObject* instance, const QString& propName, const QString& value);

// Ordinal properties: integers, enumerations, sets and Booleans as their
// number, object and component references as their address.
qint64 GetPropOrdinal(const QObject* instance, const QString& propName);
void SetPropOrdinal(QObject* instance, const QString& propName, qint64 value);

// Event properties.
TMethod GetPropMethod(const QObject* instance, const QString& propName);
void SetPropMethod(QObject* instance, const QString& propName, const TMethod& method);

bool HasProperty(const QObject* instance, const QString& propName);
// True when the named property's type name equals typeName without regard to
// case; "Vcl::" and a trailing "*" are not part of the name ("TFont",
// "TStrings", "TColor", "QString", "bool").
bool IsPropertyOfType(const QObject* instance, const QString& propName, const QString& typeName);

// The object held by an object-valued property (Font, Items ...), or null.
QObject* GetPropObject(const QObject* instance, const QString& propName);
// The type name as IsPropertyOfType compares it; empty when not published.
QString PropertyTypeName(const QObject* instance, const QString& propName);

} // namespace LibRTTI
