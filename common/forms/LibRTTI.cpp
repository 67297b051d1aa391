#include "common/forms/LibRTTI.h"

#include "runtime/forms/PropertyAccess.h"
#include "runtime/system/Exceptions.h"

#include <QMetaProperty>

namespace LibRTTI {

namespace {

QMetaProperty published(const QObject* instance, const QString& propName)
{
    if (!instance || propName.trimmed().isEmpty())
        return {};
    return FindPublishedProperty(instance, propName);
}

bool isPointer(const QMetaProperty& property)
{
    return (property.metaType().flags() & QMetaType::PointerToQObject) != 0;
}

} // namespace

QString GetPropText(const QObject* instance, const QString& propName)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || isPointer(property) || IsEventProperty(property))
        return {};
    return property.read(instance).toString();
}

void SetPropText(QObject* instance, const QString& propName, const QString& value)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || !property.isWritable() || isPointer(property) || IsEventProperty(property))
        return;
    if (property.metaType().id() == QMetaType::QString) {
        property.write(instance, value);
        return;
    }
    try {
        SetPropertyText(instance, QString::fromLatin1(property.name()), value);
    } catch (const Exception&) {
        // A text that does not fit the property changes nothing.
    }
}

qint64 GetPropOrdinal(const QObject* instance, const QString& propName)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || IsEventProperty(property))
        return 0;
    const QVariant value = property.read(instance);
    if (isPointer(property))
        return static_cast<qint64>(reinterpret_cast<quintptr>(value.value<QObject*>()));
    if (property.isEnumType() || property.isFlagType())
        return EnumStorage(value);
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    return ok ? number : 0;
}

void SetPropOrdinal(QObject* instance, const QString& propName, qint64 value)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || !property.isWritable() || IsEventProperty(property))
        return;
    if (isPointer(property)) {
        // Only references to other components are assignable; sub-objects are owned.
        if (!IsComponentProperty(property))
            return;
        auto* object = reinterpret_cast<QObject*>(static_cast<quintptr>(value));
        const QMetaObject* wanted = property.metaType().metaObject();
        if (object && wanted && !object->metaObject()->inherits(wanted))
            return;
        QVariant v(property.metaType(), &object);
        property.write(instance, v);
        return;
    }
    if (property.isEnumType() || property.isFlagType()) {
        try {
            property.write(instance, EnumVariant(property, static_cast<int>(value)));
        } catch (const Exception&) {
        }
        return;
    }
    QVariant v(value);
    if (v.convert(property.metaType()))
        property.write(instance, v);
}

TMethod GetPropMethod(const QObject* instance, const QString& propName)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || !IsEventProperty(property))
        return {};
    return MethodFromVariant(property.read(instance));
}

void SetPropMethod(QObject* instance, const QString& propName, const TMethod& method)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || !property.isWritable() || !IsEventProperty(property))
        return;
    try {
        property.write(instance, MethodToVariant(method, property.metaType()));
    } catch (const Exception&) {
        // A handler of another event family is refused.
    }
}

bool HasProperty(const QObject* instance, const QString& propName)
{
    return published(instance, propName).isValid();
}

QString PropertyTypeName(const QObject* instance, const QString& propName)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid())
        return {};
    QString name = QString::fromLatin1(property.typeName());
    if (name.startsWith(QLatin1String("Vcl::")))
        name = name.mid(5);
    if (name.endsWith(u'*'))
        name.chop(1);
    return name.trimmed();
}

bool IsPropertyOfType(const QObject* instance, const QString& propName, const QString& typeName)
{
    const QString name = PropertyTypeName(instance, propName);
    return !name.isEmpty() && name.compare(typeName.trimmed(), Qt::CaseInsensitive) == 0;
}

QObject* GetPropObject(const QObject* instance, const QString& propName)
{
    const QMetaProperty property = published(instance, propName);
    if (!property.isValid() || !isPointer(property))
        return nullptr;
    return property.read(instance).value<QObject*>();
}

} // namespace LibRTTI
