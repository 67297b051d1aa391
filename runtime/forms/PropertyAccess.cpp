#include "runtime/forms/PropertyAccess.h"

#include "runtime/forms/Component.h"
#include "runtime/system/Exceptions.h"

#include <QHash>
#include <QMetaEnum>
#include <limits>

namespace {

const QHash<QString, int>& propertyIndex(const QMetaObject* meta)
{
    static QHash<const QMetaObject*, QHash<QString, int>> cache;
    auto it = cache.find(meta);
    if (it != cache.end())
        return *it;
    QHash<QString, int> index;
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        index.insert(QString::fromLatin1(meta->property(i).name()).toLower(), i);
    return *cache.insert(meta, index);
}

// "Items_2" -> ("Items", 2); ("Caption", -1) when there is no index.
std::pair<QString, int> splitIndex(const QString& element)
{
    const int underscore = static_cast<int>(element.lastIndexOf(u'_'));
    if (underscore <= 0 || underscore == element.size() - 1)
        return {element, -1};
    bool ok = false;
    const int index = element.mid(underscore + 1).toInt(&ok);
    if (!ok || index < 0 || element.at(underscore + 1) == u'+')
        return {element, -1};
    return {element.left(underscore), index};
}

QObject* subObject(QObject* object, const QMetaProperty& property)
{
    return property.read(object).value<QObject*>();
}

QMetaProperty textPropertyOf(QObject* item)
{
    QMetaProperty property = FindPublishedProperty(item, QStringLiteral("Caption"));
    return property.isValid() ? property : FindPublishedProperty(item, QStringLiteral("Text"));
}

[[noreturn]] void noPath(const QObject* object, const QString& path)
{
    throw EPropertyError(QStringLiteral("Property %1 does not exist in %2")
                             .arg(path, QString::fromLatin1(object->metaObject()->className())));
}

} // namespace

QMetaProperty FindPublishedProperty(const QObject* object, const QString& name)
{
    if (!object)
        return {};
    const QMetaObject* meta = object->metaObject();
    const int index = propertyIndex(meta).value(name.trimmed().toLower(), -1);
    return index < 0 ? QMetaProperty() : meta->property(index);
}

QStringList PublishedPropertyNames(const QObject* object)
{
    QStringList names;
    const QMetaObject* meta = object->metaObject();
    for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i)
        names << QString::fromLatin1(meta->property(i).name());
    return names;
}

bool IsObjectProperty(const QMetaProperty& property)
{
    const QMetaType type = property.metaType();
    return (type.flags() & QMetaType::PointerToQObject) && type.metaObject()
        && !type.metaObject()->inherits(&TComponent::staticMetaObject);
}

bool IsComponentProperty(const QMetaProperty& property)
{
    const QMetaType type = property.metaType();
    return (type.flags() & QMetaType::PointerToQObject) && type.metaObject()
        && type.metaObject()->inherits(&TComponent::staticMetaObject);
}

bool IsEventProperty(const QMetaProperty& property)
{
    return IsEventType(property.metaType());
}

bool IsOpenEnumeration(const QMetaProperty& property)
{
    const int id = property.metaType().id();
    return id == QMetaType::fromType<TColor>().id() || id == QMetaType::fromType<TFontCharset>().id()
        || id == QMetaType::fromType<TModalResult>().id();
}

std::optional<PropertyLocation> ResolvePropertyPath(QObject* object, const QString& path)
{
    if (!object || path.trimmed().isEmpty())
        return std::nullopt;
    const QStringList elements = path.split(u'.');
    QObject* current = object;
    for (int i = 0; i < elements.size(); ++i) {
        const bool last = i == elements.size() - 1;
        const QString element = elements.at(i).trimmed();
        QMetaProperty property = FindPublishedProperty(current, element);
        int index = -1;
        if (!property.isValid()) {
            auto [name, n] = splitIndex(element);
            if (n < 0)
                return std::nullopt;
            property = FindPublishedProperty(current, name);
            index = n;
            if (!property.isValid() || !IsObjectProperty(property))
                return std::nullopt;
        }
        if (index < 0) {
            if (last)
                return PropertyLocation {current, property, nullptr, -1};
            if (!IsObjectProperty(property))
                return std::nullopt;
            current = subObject(current, property);
            if (!current)
                return std::nullopt;
            continue;
        }
        QObject* target = subObject(current, property);
        if (auto* lines = qobject_cast<TStrings*>(target)) {
            if (!last)
                return std::nullopt; // a line has no properties
            return PropertyLocation {nullptr, {}, lines, index};
        }
        auto* collection = qobject_cast<TCollection*>(target);
        if (!collection || index >= collection->Count())
            return std::nullopt;
        current = collection->Items(index);
        if (last) {
            const QMetaProperty text = textPropertyOf(current);
            if (!text.isValid())
                return std::nullopt;
            return PropertyLocation {current, text, nullptr, -1};
        }
    }
    return std::nullopt;
}

bool HasPropertyPath(QObject* object, const QString& path)
{
    return ResolvePropertyPath(object, path).has_value();
}

QVariant GetPropertyValue(QObject* object, const QString& path)
{
    const auto location = ResolvePropertyPath(object, path);
    if (!location)
        noPath(object, path);
    if (location->Lines) {
        if (location->Line >= location->Lines->Count())
            throw EPropertyError(QStringLiteral("List index out of bounds (%1)").arg(location->Line));
        return location->Lines->Strings(location->Line);
    }
    return location->Property.read(location->Object);
}

void SetPropertyValue(QObject* object, const QString& path, const QVariant& value)
{
    const auto location = ResolvePropertyPath(object, path);
    if (!location)
        noPath(object, path);
    if (location->Lines) {
        TStrings* lines = location->Lines;
        lines->BeginUpdate();
        while (lines->Count() <= location->Line)
            lines->Add(QString());
        lines->SetStrings(location->Line, value.toString());
        lines->EndUpdate();
        return;
    }
    const QMetaProperty& property = location->Property;
    if (!property.isWritable())
        throw EPropertyError(QStringLiteral("Property %1 is read-only").arg(path));
    if (IsObjectProperty(property)) {
        auto* target = qobject_cast<TPersistent*>(property.read(location->Object).value<QObject*>());
        auto* source = qobject_cast<TPersistent*>(value.value<QObject*>());
        if (!target || !source)
            throw EPropertyError(QStringLiteral("Property %1 needs an object").arg(path));
        target->Assign(source);
        return;
    }
    QVariant converted = value;
    if (value.metaType() != property.metaType()) {
        if (property.isEnumType() || property.isFlagType())
            converted = EnumVariant(property, value.toInt());
        else if (!converted.convert(property.metaType()))
            throw EPropertyError(QStringLiteral("Invalid value for property %1").arg(path));
    }
    if (!property.write(location->Object, converted))
        throw EPropertyError(QStringLiteral("Invalid value for property %1").arg(path));
}

int EnumStorage(const QVariant& value)
{
    if (value.metaType().sizeOf() == sizeof(int))
        return *static_cast<const int*>(value.constData());
    return value.toInt();
}

QVariant EnumVariant(const QMetaProperty& property, int value)
{
    if (property.metaType().sizeOf() != sizeof(int))
        throw EPropertyError(
            QStringLiteral("Unsupported enumeration %1").arg(QString::fromLatin1(property.typeName())));
    return QVariant(property.metaType(), &value);
}

bool EnumKeyToValue(const QMetaEnum& meta, const QString& key, int* value)
{
    const QString trimmed = key.trimmed();
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (trimmed.compare(QLatin1String(meta.key(i)), Qt::CaseInsensitive) == 0) {
            *value = meta.value(i);
            return true;
        }
    }
    return false;
}

QString SetToText(const QMetaEnum& meta, int value)
{
    QStringList keys;
    for (int i = 0; i < meta.keyCount(); ++i) {
        const int bit = meta.value(i);
        if (bit != 0 && (value & bit) == bit)
            keys << QString::fromLatin1(meta.key(i));
    }
    return u'[' + keys.join(QStringLiteral(", ")) + u']';
}

QString GetPropertyText(QObject* object, const QString& path)
{
    const auto location = ResolvePropertyPath(object, path);
    if (!location)
        noPath(object, path);
    if (location->Lines)
        return GetPropertyValue(object, path).toString();
    const QMetaProperty& property = location->Property;
    const QVariant value = property.read(location->Object);
    if (property.isFlagType())
        return SetToText(property.enumerator(), EnumStorage(value));
    if (property.isEnumType()) {
        const char* key = property.enumerator().valueToKey(EnumStorage(value));
        return key ? QString::fromLatin1(key) : QString::number(EnumStorage(value));
    }
    if (property.metaType().id() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (auto* lines = qobject_cast<TStrings*>(value.value<QObject*>()))
        return lines->Text();
    if (IsComponentProperty(property)) {
        auto* component = qobject_cast<TComponent*>(value.value<QObject*>());
        return component ? component->Name() : QString();
    }
    if (IsEventProperty(property))
        return MethodFromVariant(value).Name();
    return value.toString();
}

void SetPropertyText(QObject* object, const QString& path, const QString& text)
{
    const auto location = ResolvePropertyPath(object, path);
    if (!location)
        noPath(object, path);
    if (location->Lines) {
        SetPropertyValue(object, path, text);
        return;
    }
    const QMetaProperty& property = location->Property;
    const QString trimmed = text.trimmed();
    bool ok = false;
    if (property.isFlagType()) {
        int value = trimmed.toInt(&ok);
        if (!ok) {
            QString inner = trimmed;
            if (inner.startsWith(u'[') && inner.endsWith(u']'))
                inner = inner.mid(1, inner.size() - 2);
            value = 0;
            for (const QString& key : inner.split(u',', Qt::SkipEmptyParts)) {
                int bit = 0;
                if (!EnumKeyToValue(property.enumerator(), key, &bit))
                    throw EPropertyError(
                        QStringLiteral("'%1' is not a value of %2").arg(key.trimmed(), property.typeName()));
                value |= bit;
            }
        }
        property.write(location->Object, EnumVariant(property, value));
        return;
    }
    if (property.isEnumType()) {
        int value = 0;
        if (!EnumKeyToValue(property.enumerator(), trimmed, &value)) {
            value = trimmed.toInt(&ok);
            if (!ok || (!IsOpenEnumeration(property) && !property.enumerator().valueToKey(value)))
                throw EPropertyError(
                    QStringLiteral("'%1' is not a value of %2").arg(trimmed, property.typeName()));
        }
        property.write(location->Object, EnumVariant(property, value));
        return;
    }
    if (auto* lines = qobject_cast<TStrings*>(property.read(location->Object).value<QObject*>())) {
        lines->SetText(text);
        return;
    }
    switch (property.metaType().id()) {
    case QMetaType::Bool:
        if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0 || trimmed == u"1")
            property.write(location->Object, true);
        else if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0 || trimmed == u"0")
            property.write(location->Object, false);
        else
            throw EPropertyError(QStringLiteral("'%1' is not a Boolean").arg(trimmed));
        return;
    case QMetaType::Int: {
        const int value = trimmed.toInt(&ok);
        if (!ok)
            throw EPropertyError(QStringLiteral("'%1' is not an integer").arg(trimmed));
        property.write(location->Object, value);
        return;
    }
    case QMetaType::Double: {
        const double value = trimmed.toDouble(&ok);
        if (!ok)
            throw EPropertyError(QStringLiteral("'%1' is not a number").arg(trimmed));
        property.write(location->Object, value);
        return;
    }
    case QMetaType::QString:
        property.write(location->Object, text);
        return;
    default:
        SetPropertyValue(object, path, text);
    }
}

QString GetPropertyTypeName(QObject* object, const QString& path)
{
    const auto location = ResolvePropertyPath(object, path);
    if (!location)
        noPath(object, path);
    if (location->Lines)
        return QStringLiteral("QString");
    QString name = QString::fromLatin1(location->Property.typeName());
    if (name.startsWith(QLatin1String("Vcl::")))
        name = name.mid(5);
    return name;
}

TMethod GetPropMethod(QObject* object, const QString& name)
{
    const QMetaProperty property = FindPublishedProperty(object, name);
    if (!property.isValid() || !IsEventProperty(property))
        throw EPropertyError(QStringLiteral("%1 has no event %2")
                                 .arg(object ? object->metaObject()->className() : "nil", name));
    return MethodFromVariant(property.read(object));
}

void SetPropMethod(QObject* object, const QString& name, const TMethod& method)
{
    const QMetaProperty property = FindPublishedProperty(object, name);
    if (!property.isValid() || !IsEventProperty(property))
        throw EPropertyError(QStringLiteral("%1 has no event %2")
                                 .arg(object ? object->metaObject()->className() : "nil", name));
    property.write(object, MethodToVariant(method, property.metaType()));
}
