#include "runtime/forms/FormWriter.h"

#include "runtime/forms/FormText.h"
#include "runtime/forms/PropertyAccess.h"

#include <QHash>
#include <QMetaEnum>
#include <cmath>
#include <memory>

using formtext::QuoteString;

namespace {

class Writer {
public:
    Writer(TComponent* root, TComponent* ancestor)
        : root_(root)
        , ancestor_(ancestor)
    {
        for (TComponent* component : root_->ComponentList()) {
            TComponent* parent = component->GetParentComponent();
            if (!parent || (parent != root_ && parent->Owner() != root_))
                parent = root_;
            children_[parent].append(component);
        }
    }

    ~Writer()
    {
        for (TComponent* bare : std::as_const(bare_))
            delete bare;
    }

    QString write()
    {
        TComponent* reference = ancestor_ ? ancestor_ : bareInstance(root_);
        return writeObject(root_, reference, ancestor_ != nullptr, QString(), true);
    }

private:
    // An instance of component's class as its constructor leaves it.
    TComponent* bareInstance(const TComponent* component)
    {
        for (const QMetaObject* meta = component->metaObject(); meta; meta = meta->superClass()) {
            auto it = bare_.constFind(meta);
            if (it != bare_.cend())
                return *it;
            const QString name = QString::fromLatin1(meta->className());
            if (FindClass(name) != meta)
                continue; // not registered: compare with the nearest registered class
            LayoutSuppressor suppress;
            TComponent* instance = CreateComponent(name, nullptr);
            bare_.insert(meta, instance);
            return instance;
        }
        return nullptr;
    }

    TComponent* ancestorOf(const TComponent* component) const
    {
        if (!ancestor_)
            return nullptr;
        TComponent* match = ancestor_->FindComponent(component->Name());
        return match && match->metaObject() == component->metaObject() ? match : nullptr;
    }

    QString writeObject(
        TComponent* component, TComponent* reference, bool inherited, const QString& indent, bool isRoot)
    {
        const QString inner = indent + QStringLiteral("  ");
        QString body;
        writeProperties(component, reference, QString(), inner, body);
        QString nested;
        for (TComponent* child : children_.value(component)) {
            TComponent* childAncestor = ancestorOf(child);
            nested += writeObject(child, childAncestor ? childAncestor : bareInstance(child),
                childAncestor != nullptr, inner, false);
        }
        if (inherited && !isRoot && body.isEmpty() && nested.isEmpty() && sameParent(component, reference))
            return QString();
        return indent + (inherited ? QStringLiteral("inherited ") : QStringLiteral("object "))
            + component->Name() + QStringLiteral(": ") + component->ClassName() + u'\n' + body + nested
            + indent + QStringLiteral("end\n");
    }

    bool sameParent(const TComponent* component, const TComponent* ancestor) const
    {
        const TComponent* parent = component->GetParentComponent();
        const TComponent* ancestorParent = ancestor ? ancestor->GetParentComponent() : nullptr;
        const QString name = parent && parent != root_ ? parent->Name() : QString();
        const QString ancestorName
            = ancestorParent && ancestorParent != ancestor_ ? ancestorParent->Name() : QString();
        return name.compare(ancestorName, Qt::CaseInsensitive) == 0;
    }

    static bool stored(const QObject* object, const char* name)
    {
        auto* persistent = qobject_cast<const TPersistent*>(object);
        return !persistent || persistent->IsPropertyStored(name);
    }

    void writeProperties(
        QObject* object, QObject* reference, const QString& prefix, const QString& indent, QString& out)
    {
        const QMetaObject* meta = object->metaObject();
        for (int i = QObject::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const char* name = property.name();
            // A component's Name is its object line; a sub-object's Name
            // (Font.Name) is an ordinary property.
            if ((qstrcmp(name, "Name") == 0 && qobject_cast<const TComponent*>(object))
                || !stored(object, name))
                continue;
            const QString path = prefix + QString::fromLatin1(name);
            QMetaProperty refProperty;
            if (reference)
                refProperty
                    = reference->metaObject()->property(reference->metaObject()->indexOfProperty(name));
            if (IsObjectProperty(property)) {
                writeObjectProperty(property.read(object).value<QObject*>(),
                    refProperty.isValid() ? refProperty.read(reference).value<QObject*>() : nullptr, path,
                    indent, out);
                continue;
            }
            if (!property.isWritable())
                continue;
            bool present = false;
            const QString text = valueText(object, property, indent, &present);
            if (!present)
                continue;
            if (refProperty.isValid() && refProperty.metaType() == property.metaType()) {
                bool refPresent = false;
                const QString refText = valueText(reference, refProperty, indent, &refPresent);
                if (refText == text)
                    continue;
            } else if (IsEventProperty(property) && text == QLatin1String("nil")) {
                continue;
            }
            out += indent + path + QStringLiteral(" = ") + text + u'\n';
        }
    }

    void writeObjectProperty(
        QObject* value, QObject* reference, const QString& path, const QString& indent, QString& out)
    {
        if (!value)
            return;
        if (auto* lines = qobject_cast<TStrings*>(value)) {
            auto* refLines = qobject_cast<TStrings*>(reference);
            if (refLines && refLines->Lines() == lines->Lines())
                return;
            if (!refLines && lines->Count() == 0)
                return;
            out += indent + path + QStringLiteral(".Strings = (");
            for (const QString& line : lines->Lines())
                out += u'\n' + indent + QStringLiteral("  ")
                    + QuoteString(line, indent + QStringLiteral("    "));
            out += QStringLiteral(")\n");
            return;
        }
        if (auto* collection = qobject_cast<TCollection*>(value)) {
            const QString text = collectionText(collection, indent);
            auto* refCollection = qobject_cast<TCollection*>(reference);
            const QString refText
                = refCollection ? collectionText(refCollection, indent) : QStringLiteral("<>");
            if (text != refText)
                out += indent + path + QStringLiteral(" = ") + text + u'\n';
            return;
        }
        writeProperties(value, reference, path + u'.', indent, out);
    }

    QString collectionText(TCollection* collection, const QString& indent)
    {
        if (collection->Count() == 0)
            return QStringLiteral("<>");
        std::unique_ptr<TCollectionItem> fresh(collection->CreateDetachedItem());
        QString text = QStringLiteral("<");
        for (TCollectionItem* item : collection->ItemList()) {
            QString body;
            writeProperties(item, fresh.get(), QString(), indent + QStringLiteral("    "), body);
            text += u'\n' + indent + QStringLiteral("  item\n") + body + indent + QStringLiteral("  end");
        }
        return text + u'>';
    }

    QString valueText(QObject* object, const QMetaProperty& property, const QString& indent, bool* present)
    {
        *present = true;
        const QVariant value = property.read(object);
        if (IsEventProperty(property)) {
            // Only handlers bound by name can be written; others read as none.
            const TMethod method = MethodFromVariant(value);
            return method.Name().isEmpty() || !method.Assigned() ? QStringLiteral("nil") : method.Name();
        }
        if (IsComponentProperty(property)) {
            auto* target = qobject_cast<TComponent*>(value.value<QObject*>());
            if (!target)
                return QStringLiteral("nil");
            return target->Name();
        }
        if (property.isFlagType())
            return SetToText(property.enumerator(), EnumStorage(value));
        if (property.isEnumType()) {
            const int number = EnumStorage(value);
            const char* key = property.enumerator().valueToKey(number);
            return key ? QString::fromLatin1(key) : QString::number(number);
        }
        switch (property.metaType().id()) {
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::Int:
        case QMetaType::LongLong:
            return QString::number(value.toLongLong());
        case QMetaType::Double: {
            const double number = value.toDouble();
            if (!std::isfinite(number)) {
                *present = false;
                return QString();
            }
            return QString::number(number, 'g', 17);
        }
        case QMetaType::QString:
            return QuoteString(value.toString(), indent + QStringLiteral("  "));
        case QMetaType::QByteArray:
            return binaryText(value.toByteArray(), indent);
        default:
            if (property.metaType() == QMetaType::fromType<QList<double>>()) {
                QStringList numbers;
                for (double number : value.value<QList<double>>())
                    numbers << QString::number(number, 'g', 17);
                return u'(' + numbers.join(u' ') + u')';
            }
            *present = false;
            return QString();
        }
    }

    static QString binaryText(const QByteArray& bytes, const QString& indent)
    {
        const QByteArray hex = bytes.toHex().toUpper();
        QString text = QStringLiteral("{");
        for (qsizetype i = 0; i < hex.size(); i += 64)
            text += u'\n' + indent + QStringLiteral("  ") + QString::fromLatin1(hex.mid(i, 64));
        return text + u'}';
    }

    TComponent* root_;
    TComponent* ancestor_;
    QHash<TComponent*, QList<TComponent*>> children_;
    QHash<const QMetaObject*, TComponent*> bare_;
};

} // namespace

QString WriteComponent(TComponent* root)
{
    return Writer(root, nullptr).write();
}

QString WriteComponentDiff(TComponent* root, TComponent* ancestor)
{
    return Writer(root, ancestor).write();
}

QString WriteComponentDescendant(TComponent* root)
{
    if (!FindClass(root->ClassName()))
        throw EWriteError(QStringLiteral("Class %1 is not registered").arg(root->ClassName()));
    std::unique_ptr<TComponent> ancestor(CreateComponent(root->ClassName(), nullptr));
    return WriteComponentDiff(root, ancestor.get());
}
