#pragma once
// Event handlers as property values.
//
// A TMethod is a bound handler: the receiving object, the handler's method
// name on it (empty for handlers bound in code) and the code that calls it.
// Each event family is a TEvent<Args...> with its own metatype, so an event is
// an ordinary Q_PROPERTY that can be read, saved, replaced and called later:
//
//     TNotifyEvent saved = edit->OnExit();
//     edit->SetOnExit(TNotifyEvent::Of(this, [saved](TObject* sender) { ...; saved(sender); }));
//
// Form descriptions bind handlers by name: a form declares them as slots or
// Q_INVOKABLE methods with the family's parameters (void btnOKClick(TObject* Sender)).
// BindMethod checks the parameter types, so a handler of the wrong shape is
// refused instead of being called with the wrong arguments.

#include "runtime/forms/VclTypes.h"

#include <QList>
#include <QMetaType>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

class TMethod {
public:
    using Code = std::function<void(void** args)>; // args[1..n] point at the arguments

    TMethod() = default;

    bool Assigned() const { return code_ && (!hasReceiver_ || !receiver_.isNull()); }
    const QString& Name() const { return name_; }
    QObject* Data() const { return receiver_.data(); }
    // The metatype of the event family the handler was made for (0 when empty).
    int Family() const { return family_; }

    bool operator==(const TMethod& other) const
    {
        return name_ == other.name_ && receiver_ == other.receiver_ && code_ == other.code_;
    }

    // Calls the handler with raw argument pointers; nothing when unassigned.
    void Invoke(void** args) const
    {
        if (Assigned())
            (*code_)(args);
    }

protected:
    friend TMethod BindMethod(QObject*, const QString&, int);
    friend QVariant MethodToVariant(const TMethod&, QMetaType);
    template<typename... Args> friend class TEvent;

    QString name_;
    QPointer<QObject> receiver_;
    bool hasReceiver_ = false;
    std::shared_ptr<const Code> code_;
    int family_ = 0;
};

[[noreturn]] void EventFamilyMismatch(const QString& handlerName, int family);

// Parameter types of an event family, for checking handlers bound by name.
struct EventSignature {
    QString Name;
    QList<QMetaType> Types;
    QList<bool> ByReference;
};

template<typename... Args> class TEvent : public TMethod {
public:
    TEvent() = default;
    // Adopts a handler read from another event property; throws EPropertyError
    // when it was made for a different family.
    explicit TEvent(const TMethod& method);

    // A handler bound in code: a lambda, optionally guarded by a receiver
    // (the handler is skipped once the receiver is destroyed).
    template<typename F> static TEvent Of(QObject* receiver, F&& function)
    {
        TEvent event;
        event.receiver_ = receiver;
        event.hasReceiver_ = receiver != nullptr;
        event.family_ = QMetaType::fromType<TEvent>().id();
        event.code_ = std::make_shared<const Code>(
            Wrap(std::forward<F>(function), std::index_sequence_for<Args...>()));
        return event;
    }
    template<typename F> static TEvent Of(F&& function) { return Of(nullptr, std::forward<F>(function)); }
    // A member function handler; its name is kept so that writers can store it.
    template<typename C>
    static TEvent Of(C* receiver, void (C::*member)(Args...), const QString& name = QString())
    {
        TEvent event = Of(
            receiver, [receiver, member](Args... args) { (receiver->*member)(std::forward<Args>(args)...); });
        event.name_ = name;
        return event;
    }

    void operator()(Args... args) const
    {
        void* argv[] = {nullptr, const_cast<void*>(static_cast<const void*>(std::addressof(args)))...};
        Invoke(argv);
    }

    static EventSignature Signature()
    {
        return {QString(), {QMetaType::fromType<std::remove_cvref_t<Args>>()...},
            {std::is_lvalue_reference_v<Args>...}};
    }

private:
    template<typename F, std::size_t... I> static Code Wrap(F&& function, std::index_sequence<I...>)
    {
        return [f = std::forward<F>(function)](
                   void** argv) { f(*static_cast<std::remove_reference_t<Args>*>(argv[I + 1])...); };
    }
};

using TNotifyEvent = TEvent<TObject*>;
using TKeyEvent = TEvent<TObject*, Word&, Vcl::TShiftState>;
using TKeyPressEvent = TEvent<TObject*, QChar&>;
using TCloseEvent = TEvent<TObject*, Vcl::TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
using TTabChangingEvent = TEvent<TObject*, bool&>;
// A form's look at a key before its menus: key, shift state, var Handled.
using TShortCutEvent = TEvent<Word&, Vcl::TShiftState, bool&>;
// Mouse: Sender, button, shift state, X, Y (in Sender's client area).
using TMouseEvent = TEvent<TObject*, Vcl::TMouseButton, Vcl::TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, Vcl::TShiftState, int, int>;
// Dragging: Sender, Source (the control dragged), X, Y, state, var Accept.
using TDragOverEvent = TEvent<TObject*, TObject*, int, int, Vcl::TDragState, bool&>;
// Sender, Source, X, Y.
using TDragDropEvent = TEvent<TObject*, TObject*, int, int>;
// Sender, Target (where it was dropped; null when nowhere), X, Y (in Target).
using TEndDragEvent = TEvent<TObject*, TObject*, int, int>;

Q_DECLARE_METATYPE(TNotifyEvent)
Q_DECLARE_METATYPE(TKeyEvent)
Q_DECLARE_METATYPE(TKeyPressEvent)
Q_DECLARE_METATYPE(TCloseEvent)
// TCloseQueryEvent and TTabChangingEvent are the same type (Sender, var Allow).
Q_DECLARE_METATYPE(TCloseQueryEvent)
Q_DECLARE_METATYPE(TShortCutEvent)
Q_DECLARE_METATYPE(TMouseEvent)
Q_DECLARE_METATYPE(TMouseMoveEvent)
Q_DECLARE_METATYPE(TDragOverEvent)
// TEndDragEvent is the same type as TDragDropEvent (Sender, object, X, Y).
Q_DECLARE_METATYPE(TDragDropEvent)

// The registry of event families: which metatypes are events, their names
// ("TNotifyEvent") and their parameters.
void RegisterEventFamily(QMetaType type, const QString& name, EventSignature signature);
template<typename E> void RegisterEventFamily(const QString& name)
{
    RegisterEventFamily(QMetaType::fromType<E>(), name, E::Signature());
}
QString EventFamilyName(int family);
bool IsEventType(QMetaType type);
const EventSignature* EventSignatureOf(QMetaType type);

// Binds the method named name (compared without regard to case) of receiver
// as a handler of the given family. Throws EPropertyError when the receiver
// has no such method or its parameters do not fit.
TMethod BindMethod(QObject* receiver, const QString& name, int family);

// Event values inside QVariants: the handler of any event family, and the
// QVariant of the given family holding a handler (EPropertyError on a family
// mismatch; an empty handler fits every family).
TMethod MethodFromVariant(const QVariant& value);
QVariant MethodToVariant(const TMethod& method, QMetaType family);

// True when handlers of the two families take the same parameters.
bool SameEventSignature(int family, int otherFamily);

template<typename... Args>
TEvent<Args...>::TEvent(const TMethod& method)
    : TMethod(method)
{
    const int own = QMetaType::fromType<TEvent>().id();
    if (family_ != 0 && !SameEventSignature(family_, own))
        EventFamilyMismatch(method.Name(), own);
    family_ = code_ ? own : 0;
}
