#pragma once
// Late binding: automation objects are called by member name with Variant
// arguments, as the application server, the work-centre manager and its
// service objects, and the fax and mail objects are. Objects are created by
// programmatic identifier ("HubDesk.Manager", "ZORV52S.Class1") through one
// factory registry.

#include "runtime/system/Variant.h"

#include <QHash>
#include <QString>
#include <functional>
#include <memory>

// The one interface of every automation object. Member names are compared
// without regard to case. Arguments may be references (Variant::Ref): a member
// fills an out-argument by assigning through it.
class IAutoObject {
public:
    virtual ~IAutoObject();
    // Programmatic identifier or class name, for messages.
    virtual QString ClassName() const = 0;
    // Calls a method (or reads a property, as late binding allows both).
    virtual Variant Invoke(const QString& member, VariantList& args) = 0;
    // Reads a property, indexed when arguments are given.
    virtual Variant GetProperty(const QString& property, VariantList& args) = 0;
    virtual void SetProperty(const QString& property, const Variant& value) = 0;
};

// An automation object whose members are registered in a table: the usual way
// to implement one. An unknown member raises EOleError.
class TAutoObject : public IAutoObject {
public:
    using Method = std::function<Variant(VariantList& args)>;
    using Getter = std::function<Variant(VariantList& args)>;
    using Setter = std::function<void(const Variant& value)>;

    explicit TAutoObject(QString className);
    QString ClassName() const override { return className_; }
    Variant Invoke(const QString& member, VariantList& args) override;
    Variant GetProperty(const QString& property, VariantList& args) override;
    void SetProperty(const QString& property, const Variant& value) override;

    bool HasMember(const QString& member) const;

    // Argument i, dereferenced; Unassigned when the caller passed fewer.
    static const Variant& Arg(const VariantList& args, int index);
    // Fills out-argument i when the caller passed a reference there.
    static void SetOut(VariantList& args, int index, const Variant& value);

protected:
    void AddMethod(const QString& name, Method method);
    void AddProperty(const QString& name, Getter getter, Setter setter = {});

private:
    struct Property {
        Getter get;
        Setter set;
    };
    QString className_;
    QHash<QString, Method> methods_; // keyed by lower-case name
    QHash<QString, Property> properties_; // keyed by lower-case name
};

// Creates automation objects by programmatic identifier (compared without
// regard to case). Libraries register their classes at start-up; registration
// is explicit (a Register... function per library) because static libraries
// drop unreferenced self-registering objects.
class AutoObjectFactory {
public:
    using Creator = std::function<AutoObjectPtr()>;
    static void Register(const QString& progId, Creator creator);
    static void Unregister(const QString& progId);
    static bool IsRegistered(const QString& progId);
    // Raises EOleSysError "Invalid class string" for an unknown identifier.
    static AutoObjectPtr Create(const QString& progId);
};

// The runtime's CreateOleObject: an object Variant, or EOleSysError.
Variant CreateOleObject(const QString& progId);
