#include "runtime/forms/Method.h"

#include "runtime/system/Exceptions.h"

#include <QHash>
#include <QMetaMethod>
#include <mutex>

namespace {

struct FamilyRegistry {
    QHash<int, EventSignature> families;
};

FamilyRegistry& registry()
{
    static FamilyRegistry instance;
    static std::once_flag once;
    std::call_once(once, [] {
        auto add = [](QMetaType type, const char* name, EventSignature signature) {
            signature.Name = QString::fromLatin1(name);
            instance.families.insert(type.id(), signature);
        };
        add(QMetaType::fromType<TNotifyEvent>(), "TNotifyEvent", TNotifyEvent::Signature());
        add(QMetaType::fromType<TKeyEvent>(), "TKeyEvent", TKeyEvent::Signature());
        add(QMetaType::fromType<TKeyPressEvent>(), "TKeyPressEvent", TKeyPressEvent::Signature());
        add(QMetaType::fromType<TCloseEvent>(), "TCloseEvent", TCloseEvent::Signature());
        add(QMetaType::fromType<TCloseQueryEvent>(), "TCloseQueryEvent", TCloseQueryEvent::Signature());
        add(QMetaType::fromType<TShortCutEvent>(), "TShortCutEvent", TShortCutEvent::Signature());
        add(QMetaType::fromType<TMouseEvent>(), "TMouseEvent", TMouseEvent::Signature());
        add(QMetaType::fromType<TMouseMoveEvent>(), "TMouseMoveEvent", TMouseMoveEvent::Signature());
        add(QMetaType::fromType<TDragOverEvent>(), "TDragOverEvent", TDragOverEvent::Signature());
        add(QMetaType::fromType<TDragDropEvent>(), "TDragDropEvent", TDragDropEvent::Signature());
        // Handlers are written with the runtime's short type names.
        qRegisterMetaType<Word>("Word");
        qRegisterMetaType<TObject*>("TObject*");
        qRegisterMetaType<Vcl::TShiftState>("TShiftState");
        qRegisterMetaType<Vcl::TCloseAction>("TCloseAction");
        qRegisterMetaType<Vcl::TMouseButton>("TMouseButton");
        qRegisterMetaType<Vcl::TDragState>("TDragState");
    });
    return instance;
}

// The metatype of a handler's parameter; moc keeps no metatype for references,
// so those are looked up by their written name.
QMetaType parameterType(const QMetaMethod& method, int index, bool* byReference)
{
    QByteArray name = method.parameterTypeName(index);
    *byReference = name.endsWith('&');
    if (!*byReference)
        return method.parameterMetaType(index);
    name.chop(1);
    return QMetaType::fromName(name);
}

bool fits(const QMetaMethod& method, const EventSignature& signature)
{
    if (method.parameterCount() != signature.Types.size())
        return false;
    for (int i = 0; i < method.parameterCount(); ++i) {
        bool byReference = false;
        const QMetaType type = parameterType(method, i, &byReference);
        if (byReference != signature.ByReference.at(i) || !type.isValid()
            || type.id() != signature.Types.at(i).id())
            return false;
    }
    return true;
}

} // namespace

void RegisterEventFamily(QMetaType type, const QString& name, EventSignature signature)
{
    signature.Name = name;
    registry().families.insert(type.id(), std::move(signature));
}

QString EventFamilyName(int family)
{
    const EventSignature* signature = EventSignatureOf(QMetaType(family));
    return signature ? signature->Name : QString::fromLatin1(QMetaType(family).name());
}

bool IsEventType(QMetaType type)
{
    return registry().families.contains(type.id());
}

const EventSignature* EventSignatureOf(QMetaType type)
{
    const auto& families = registry().families;
    auto it = families.constFind(type.id());
    return it == families.cend() ? nullptr : &it.value();
}

TMethod BindMethod(QObject* receiver, const QString& name, int family)
{
    const EventSignature* signature = EventSignatureOf(QMetaType(family));
    if (!signature)
        throw EPropertyError(
            QStringLiteral("'%1' is not an event type").arg(QString::fromLatin1(QMetaType(family).name())));
    if (!receiver)
        throw EPropertyError(QStringLiteral("No object to bind method '%1' to").arg(name));
    const QMetaObject* meta = receiver->metaObject();
    bool nameFound = false;
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod method = meta->method(i);
        if (QString::fromLatin1(method.name()).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        nameFound = true;
        if (method.methodType() == QMetaMethod::Signal || !fits(method, *signature))
            continue;
        TMethod bound;
        bound.name_ = QString::fromLatin1(method.name());
        bound.receiver_ = receiver;
        bound.hasReceiver_ = true;
        bound.family_ = family;
        QPointer<QObject> guard(receiver);
        const int index = method.methodIndex();
        bound.code_ = std::make_shared<const TMethod::Code>([guard, index](void** args) {
            if (guard)
                QMetaObject::metacall(guard.data(), QMetaObject::InvokeMetaMethod, index, args);
        });
        return bound;
    }
    if (nameFound)
        throw EPropertyError(QStringLiteral("Method '%1' of %2 has parameters that do not fit %3")
                                 .arg(name, QString::fromLatin1(meta->className()), EventFamilyName(family)));
    throw EPropertyError(
        QStringLiteral("Method '%1' not found in %2").arg(name, QString::fromLatin1(meta->className())));
}

TMethod MethodFromVariant(const QVariant& value)
{
    if (!IsEventType(value.metaType()))
        throw EPropertyError(QStringLiteral("Value is not an event handler"));
    // Every family is a TMethod with no data of its own.
    return *static_cast<const TMethod*>(value.constData());
}

QVariant MethodToVariant(const TMethod& method, QMetaType family)
{
    if (!IsEventType(family))
        throw EPropertyError(
            QStringLiteral("'%1' is not an event type").arg(QString::fromLatin1(family.name())));
    if (method.Family() != 0 && !SameEventSignature(method.Family(), family.id()))
        EventFamilyMismatch(method.Name(), family.id());
    QVariant value(family);
    TMethod* stored = static_cast<TMethod*>(value.data());
    *stored = method;
    stored->family_ = method.code_ ? family.id() : 0;
    return value;
}

bool SameEventSignature(int family, int otherFamily)
{
    if (family == otherFamily)
        return true;
    const EventSignature* a = EventSignatureOf(QMetaType(family));
    const EventSignature* b = EventSignatureOf(QMetaType(otherFamily));
    if (!a || !b || a->ByReference != b->ByReference || a->Types.size() != b->Types.size())
        return false;
    for (int i = 0; i < a->Types.size(); ++i) {
        if (a->Types.at(i).id() != b->Types.at(i).id())
            return false;
    }
    return true;
}

void EventFamilyMismatch(const QString& handlerName, int family)
{
    throw EPropertyError(
        QStringLiteral("Handler '%1' does not fit %2").arg(handlerName, EventFamilyName(family)));
}
