#include "runtime/system/AutoObject.h"

#include "runtime/system/ArgReader.h"
#include "runtime/system/NameRegistry.h"

namespace {

// HRESULT of an unknown programmatic identifier, as callers may report it.
constexpr int kInvalidClassString = static_cast<int>(0x800401F3);

TNameRegistry<AutoObjectFactory::Creator>& creators()
{
    static TNameRegistry<AutoObjectFactory::Creator> registry;
    return registry;
}

[[noreturn]] void unknownMember(const QString& member)
{
    throw EOleError(QStringLiteral("Method '%1' not supported by automation object").arg(member));
}

} // namespace

IAutoObject::~IAutoObject() = default;

TAutoObject::TAutoObject(QString className)
    : className_(std::move(className))
{
}

Variant TAutoObject::Invoke(const QString& member, VariantList& args)
{
    const QString key = member.toLower();
    if (auto it = methods_.constFind(key); it != methods_.constEnd())
        return (*it)(args);
    if (auto it = properties_.constFind(key); it != properties_.constEnd() && it->get)
        return it->get(args);
    unknownMember(member);
}

Variant TAutoObject::GetProperty(const QString& property, VariantList& args)
{
    const QString key = property.toLower();
    if (auto it = properties_.constFind(key); it != properties_.constEnd() && it->get)
        return it->get(args);
    if (auto it = methods_.constFind(key); it != methods_.constEnd())
        return (*it)(args);
    unknownMember(property);
}

void TAutoObject::SetProperty(const QString& property, const Variant& value)
{
    const auto it = properties_.constFind(property.toLower());
    if (it == properties_.constEnd())
        unknownMember(property);
    if (!it->set)
        throw EOleError(QStringLiteral("Property '%1' is read only").arg(property));
    it->set(value);
}

bool TAutoObject::HasMember(const QString& member) const
{
    const QString key = member.toLower();
    return methods_.contains(key) || properties_.contains(key);
}

const Variant& TAutoObject::Arg(const VariantList& args, int index)
{
    return TArgReader(args).At(index); // a reference into args, or a lasting Unassigned
}

void TAutoObject::SetOut(VariantList& args, int index, const Variant& value)
{
    if (index >= 0 && index < args.size() && args[index].IsReference())
        args[index].Assign(value);
}

void TAutoObject::AddMethod(const QString& name, Method method)
{
    methods_.insert(name.toLower(), std::move(method));
}

void TAutoObject::AddProperty(const QString& name, Getter getter, Setter setter)
{
    properties_.insert(name.toLower(), Property {std::move(getter), std::move(setter)});
}

void AutoObjectFactory::Register(const QString& progId, Creator creator)
{
    creators().Register(progId, std::move(creator));
}

void AutoObjectFactory::Unregister(const QString& progId)
{
    creators().Unregister(progId);
}

bool AutoObjectFactory::IsRegistered(const QString& progId)
{
    return creators().Contains(progId);
}

AutoObjectPtr AutoObjectFactory::Create(const QString& progId)
{
    const Creator creator = creators().Value(progId);
    if (!creator)
        throw EOleSysError(QStringLiteral("Invalid class string: %1").arg(progId), kInvalidClassString);
    AutoObjectPtr object = creator();
    if (!object)
        throw EOleSysError(QStringLiteral("Cannot create object: %1").arg(progId), kInvalidClassString);
    return object;
}

Variant CreateOleObject(const QString& progId)
{
    return Variant(AutoObjectFactory::Create(progId));
}
