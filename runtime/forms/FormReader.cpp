#include "runtime/forms/FormReader.h"

#include "runtime/forms/FormText.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/PropertyAccess.h"

#include <QFile>
#include <QMetaEnum>
#include <limits>

using namespace formtext;

namespace {

[[noreturn]] void fail(int line, const QString& reason)
{
    throw EReadError(QStringLiteral("Line %1: %2").arg(line).arg(reason));
}

bool classChainHas(const QMetaObject* meta, const QString& className)
{
    for (; meta; meta = meta->superClass()) {
        if (className.compare(QLatin1String(meta->className()), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

// The property's type as a form designer calls it (TPosition, not Vcl::TPosition).
QString typeName(const QMetaProperty& property)
{
    QString name = QString::fromLatin1(property.typeName());
    return name.startsWith(QLatin1String("Vcl::")) ? name.mid(5) : name;
}

QString valueKindName(Value::Kind kind)
{
    static const char* const names[]
        = {"integer", "number", "string", "identifier", "set", "list", "collection", "binary data"};
    return QString::fromLatin1(names[kind]);
}

class Reader {
public:
    explicit Reader(TComponent* root)
        : root_(root)
    {
    }

    void read(const Object& top)
    {
        if (!classChainHas(root_->metaObject(), top.className))
            fail(top.line, QStringLiteral("%1 is not a %2").arg(root_->ClassName(), top.className));
        try {
            root_->BeginLoading();
            loaded_ << root_;
            if (top.name.compare(root_->Name(), Qt::CaseInsensitive) != 0)
                setName(root_, top.name, top.line);
            applyObject(top, root_, 0);
            resolveFixups();
            bindFields();
        } catch (...) {
            finishLoading();
            // Components made by this read go again; the root stays.
            for (auto it = created_.rbegin(); it != created_.rend(); ++it)
                delete it->data();
            throw;
        }
        finishLoading();
    }

private:
    struct Fixup {
        QPointer<QObject> object;
        QMetaProperty property;
        QString name;
        int line;
    };

    void finishLoading()
    {
        for (const QPointer<TComponent>& component : std::as_const(loaded_)) {
            if (component && component != root_)
                component->Loaded();
        }
        if (root_)
            root_->Loaded();
        loaded_.clear();
    }

    void setName(TComponent* component, const QString& name, int line)
    {
        try {
            component->SetName(name);
        } catch (const Exception& e) {
            fail(line, e.Message());
        }
    }

    void applyObject(const Object& node, TComponent* component, int depth)
    {
        for (const Property& property : node.properties)
            applyProperty(component, property);
        for (const Object& child : node.children)
            applyChild(child, component, depth + 1);
    }

    void applyChild(const Object& node, TComponent* container, int depth)
    {
        TComponent* component = root_->FindComponent(node.name);
        if (node.mode == Object::New) {
            if (component)
                fail(node.line, QStringLiteral("A component named %1 already exists").arg(node.name));
            const QMetaObject* meta = FindClass(node.className);
            if (!meta)
                fail(node.line, QStringLiteral("Class %1 not found").arg(node.className));
            if (meta->inherits(&TForm::staticMetaObject))
                fail(node.line, QStringLiteral("%1 cannot be placed inside a form").arg(node.className));
            component = CreateComponent(node.className, root_);
            created_ << component;
            component->BeginLoading();
            loaded_ << component;
            setName(component, node.name, node.line);
            nest(container, component, node.line);
        } else {
            if (!component)
                fail(node.line, QStringLiteral("Ancestor component %1 not found").arg(node.name));
            if (!classChainHas(component->metaObject(), node.className))
                fail(node.line,
                    QStringLiteral("%1 is a %2, not a %3")
                        .arg(node.name, component->ClassName(), node.className));
            component->BeginLoading();
            loaded_ << component;
            TComponent* parent = component->GetParentComponent();
            if (parent != container && !(parent == nullptr && container == root_))
                nest(container, component, node.line);
        }
        applyObject(node, component, depth);
    }

    void nest(TComponent* container, TComponent* component, int line)
    {
        try {
            container->SetChildParent(component);
        } catch (const Exception& e) {
            fail(line, e.Message());
        }
    }

    void applyProperty(TComponent* component, const Property& node)
    {
        QObject* target = component;
        const QStringList path = node.name.split(u'.');
        for (int i = 0; i < path.size() - 1; ++i) {
            const QMetaProperty property = FindPublishedProperty(target, path.at(i));
            if (!property.isValid() || !IsObjectProperty(property))
                fail(node.line,
                    QStringLiteral("Property %1 does not exist in %2")
                        .arg(node.name, component->ClassName()));
            target = property.read(target).value<QObject*>();
            if (!target)
                fail(node.line, QStringLiteral("Property %1 is not set").arg(path.at(i)));
        }
        const QString& last = path.last();
        if (auto* lines = qobject_cast<TStrings*>(target);
            lines && last.compare(u"Strings", Qt::CaseInsensitive) == 0) {
            assignLines(lines, node.value);
            return;
        }
        const QMetaProperty property = FindPublishedProperty(target, last);
        if (!property.isValid())
            fail(node.line,
                QStringLiteral("Property %1 does not exist in %2").arg(node.name, component->ClassName()));
        assign(target, property, node.value);
    }

    void assignLines(TStrings* lines, const Value& value)
    {
        if (value.kind != Value::List)
            fail(value.line, QStringLiteral("List of strings expected"));
        QStringList text;
        for (const Value& item : value.items) {
            if (item.kind == Value::String || item.kind == Value::Identifier)
                text << item.text;
            else if (item.kind == Value::Integer)
                text << QString::number(item.integer);
            else
                fail(item.line,
                    QStringLiteral("String expected in list, found %1").arg(valueKindName(item.kind)));
        }
        lines->SetLines(text);
    }

    void assignCollection(TCollection* collection, const Value& value)
    {
        collection->BeginUpdate();
        collection->Clear();
        for (const std::vector<Property>& item : value.collection) {
            TCollectionItem* entry = collection->Add();
            for (const Property& property : item) {
                QObject* target = entry;
                const QStringList path = property.name.split(u'.');
                for (int i = 0; i < path.size() - 1; ++i) {
                    const QMetaProperty sub = FindPublishedProperty(target, path.at(i));
                    if (!sub.isValid() || !IsObjectProperty(sub))
                        fail(property.line,
                            QStringLiteral("Property %1 does not exist in %2")
                                .arg(property.name, entry->ClassName()));
                    target = sub.read(target).value<QObject*>();
                }
                if (auto* lines = qobject_cast<TStrings*>(target);
                    lines && path.last().compare(u"Strings", Qt::CaseInsensitive) == 0) {
                    assignLines(lines, property.value);
                    continue;
                }
                const QMetaProperty targetProperty = FindPublishedProperty(target, path.last());
                if (!targetProperty.isValid())
                    fail(property.line,
                        QStringLiteral("Property %1 does not exist in %2")
                            .arg(property.name, entry->ClassName()));
                assign(target, targetProperty, property.value);
            }
        }
        collection->EndUpdate();
    }

    void write(QObject* target, const QMetaProperty& property, const QVariant& value, int line)
    {
        try {
            if (!property.write(target, value))
                fail(line,
                    QStringLiteral("Invalid value for property %1").arg(QLatin1String(property.name())));
        } catch (const EReadError&) {
            throw;
        } catch (const Exception& e) {
            fail(line, QStringLiteral("%1: %2").arg(QLatin1String(property.name()), e.Message()));
        }
    }

    void assign(QObject* target, const QMetaProperty& property, const Value& value)
    {
        const int line = value.line;
        const QString name = QString::fromLatin1(property.name());
        auto mismatch = [&]() {
            fail(line,
                QStringLiteral("Invalid %1 for property %2 (%3)")
                    .arg(valueKindName(value.kind), name, typeName(property)));
        };
        if (!property.isWritable() && !IsObjectProperty(property))
            fail(line, QStringLiteral("Property %1 is read-only").arg(name));
        if (IsEventProperty(property)) {
            if (value.kind != Value::Identifier)
                mismatch();
            if (value.text.compare(u"nil", Qt::CaseInsensitive) == 0) {
                write(target, property, MethodToVariant(TMethod(), property.metaType()), line);
                return;
            }
            TMethod method;
            try {
                method = BindMethod(root_, value.text, property.metaType().id());
            } catch (const Exception& e) {
                fail(line, e.Message());
            }
            write(target, property, MethodToVariant(method, property.metaType()), line);
            return;
        }
        if (IsComponentProperty(property)) {
            if (value.kind != Value::Identifier)
                mismatch();
            if (value.text.compare(u"nil", Qt::CaseInsensitive) == 0) {
                QObject* none = nullptr;
                write(target, property, QVariant(property.metaType(), &none), line);
            } else {
                fixups_.append({target, property, value.text, line});
            }
            return;
        }
        if (IsObjectProperty(property)) {
            QObject* object = property.read(target).value<QObject*>();
            if (auto* collection = qobject_cast<TCollection*>(object);
                collection && value.kind == Value::Collection)
                assignCollection(collection, value);
            else if (auto* lines = qobject_cast<TStrings*>(object); lines && value.kind == Value::List)
                assignLines(lines, value);
            else
                mismatch();
            return;
        }
        if (property.isFlagType()) {
            if (value.kind != Value::Set)
                mismatch();
            int bits = 0;
            for (const QString& element : value.elements) {
                int bit = 0;
                if (!EnumKeyToValue(property.enumerator(), element, &bit))
                    fail(line, QStringLiteral("'%1' is not a value of %2").arg(element, typeName(property)));
                bits |= bit;
            }
            write(target, property, EnumVariant(property, bits), line);
            return;
        }
        if (property.isEnumType()) {
            int number = 0;
            if (value.kind == Value::Identifier) {
                if (!EnumKeyToValue(property.enumerator(), value.text, &number))
                    fail(line,
                        QStringLiteral("'%1' is not a value of %2").arg(value.text, typeName(property)));
            } else if (value.kind == Value::Integer && IsOpenEnumeration(property)) {
                if (value.integer < std::numeric_limits<int>::min()
                    || value.integer > std::numeric_limits<int>::max())
                    fail(line, QStringLiteral("Value out of range for %1").arg(name));
                number = static_cast<int>(value.integer);
            } else {
                mismatch();
            }
            write(target, property, EnumVariant(property, number), line);
            return;
        }
        switch (property.metaType().id()) {
        case QMetaType::Bool:
            if (value.kind != Value::Identifier)
                mismatch();
            if (value.text.compare(u"True", Qt::CaseInsensitive) == 0)
                write(target, property, true, line);
            else if (value.text.compare(u"False", Qt::CaseInsensitive) == 0)
                write(target, property, false, line);
            else
                fail(line, QStringLiteral("True or False expected for %1").arg(name));
            return;
        case QMetaType::Int:
            if (value.kind != Value::Integer)
                mismatch();
            if (value.integer < std::numeric_limits<int>::min()
                || value.integer > std::numeric_limits<int>::max())
                fail(line, QStringLiteral("Value out of range for %1").arg(name));
            write(target, property, static_cast<int>(value.integer), line);
            return;
        case QMetaType::LongLong:
            if (value.kind != Value::Integer)
                mismatch();
            write(target, property, value.integer, line);
            return;
        case QMetaType::Double:
            if (value.kind == Value::Integer)
                write(target, property, static_cast<double>(value.integer), line);
            else if (value.kind == Value::Float)
                write(target, property, value.real, line);
            else
                mismatch();
            return;
        case QMetaType::QString:
            if (value.kind != Value::String)
                mismatch();
            write(target, property, value.text, line);
            return;
        case QMetaType::QByteArray:
            if (value.kind != Value::Binary)
                mismatch();
            write(target, property, value.bytes, line);
            return;
        default:
            if (property.metaType() == QMetaType::fromType<QList<double>>()) {
                // Number lists, such as a report page's Values = (100 2794 ...).
                if (value.kind != Value::List)
                    mismatch();
                QList<double> numbers;
                for (const Value& item : value.items) {
                    if (item.kind == Value::Integer)
                        numbers << static_cast<double>(item.integer);
                    else if (item.kind == Value::Float)
                        numbers << item.real;
                    else
                        fail(item.line,
                            QStringLiteral("Number expected in list, found %1")
                                .arg(valueKindName(item.kind)));
                }
                write(target, property, QVariant::fromValue(numbers), line);
                return;
            }
            fail(line, QStringLiteral("Property %1 of type %2 cannot be read").arg(name, typeName(property)));
        }
    }

    TComponent* lookup(const QString& reference) const
    {
        QString name = reference;
        const int dot = static_cast<int>(name.indexOf(u'.'));
        if (dot >= 0) {
            if (name.left(dot).compare(root_->Name(), Qt::CaseInsensitive) != 0)
                return nullptr;
            name = name.mid(dot + 1);
        }
        if (name.compare(root_->Name(), Qt::CaseInsensitive) == 0)
            return root_;
        return root_->FindComponent(name);
    }

    void resolveFixups()
    {
        for (const Fixup& fixup : std::as_const(fixups_)) {
            if (!fixup.object)
                continue;
            TComponent* found = lookup(fixup.name);
            if (!found)
                fail(fixup.line, QStringLiteral("Component %1 not found").arg(fixup.name));
            const QMetaObject* wanted = fixup.property.metaType().metaObject();
            if (!found->metaObject()->inherits(wanted))
                fail(fixup.line,
                    QStringLiteral("%1 is not a %2")
                        .arg(fixup.name, QString::fromLatin1(wanted->className())));
            QObject* pointer = found;
            write(fixup.object, fixup.property, QVariant(fixup.property.metaType(), &pointer), fixup.line);
        }
        fixups_.clear();
    }

    void bindFields()
    {
        for (TComponent* component : root_->ComponentList()) {
            const QMetaProperty field = FindPublishedProperty(root_, component->Name());
            if (!field.isValid() || !IsComponentProperty(field) || !field.isWritable())
                continue;
            if (!component->metaObject()->inherits(field.metaType().metaObject()))
                continue;
            QObject* pointer = component;
            field.write(root_, QVariant(field.metaType(), &pointer));
        }
    }

    TComponent* root_;
    QList<Fixup> fixups_;
    QList<QPointer<TComponent>> loaded_;
    QList<QPointer<TComponent>> created_;
};

} // namespace

void ReadComponent(TComponent* root, const QString& text)
{
    if (!root)
        throw EReadError(QStringLiteral("No component to read into"));
    const Object top = Parse(text);
    Reader(root).read(top);
}

void ReadComponentFile(TComponent* root, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("Cannot open file %1").arg(path));
    ReadComponent(root, QString::fromUtf8(file.readAll()));
}

TComponent* CreateFromText(const QString& text, TComponent* owner)
{
    const Object top = Parse(text);
    if (!FindClass(top.className))
        fail(top.line, QStringLiteral("Class %1 not found").arg(top.className));
    TComponent* root = CreateComponent(top.className, owner);
    try {
        Reader(root).read(top);
    } catch (...) {
        delete root;
        throw;
    }
    return root;
}

void ReadFormResource(TComponent* instance, const QString& resourcePath)
{
    if (LayoutSuppressor::Active())
        return;
    ReadComponentFile(instance, resourcePath);
}
