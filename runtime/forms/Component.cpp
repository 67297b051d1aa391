#include "runtime/forms/Component.h"

#include "runtime/system/NameRegistry.h"

#include <QHash>
#include <QPointer>
#include <mutex>

void RegisterStandardClasses(); // StandardClasses.cpp

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    state_ |= ComponentState::Destroying;
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents()
{
    while (!components_.isEmpty()) {
        QPointer<TComponent> last = components_.last();
        last->BeforeDestruction();
        // Its handlers may have freed it, or handed it to another owner.
        if (last && last->owner_ == this)
            delete last.data(); // removes itself from this list
    }
}

void TComponent::Free()
{
    BeforeDestruction();
    delete this;
}

void TComponent::BeforeDestruction()
{
    state_ |= ComponentState::Destroying;
    for (TComponent* component : std::as_const(components_))
        component->state_ |= ComponentState::Destroying;
}

bool TComponent::IsValidIdent(const QString& name)
{
    if (name.isEmpty())
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
        if (!letter && !(i > 0 && c >= u'0' && c <= u'9'))
            return false;
    }
    return true;
}

void TComponent::SetName(const QString& name)
{
    if (name == objectName())
        return;
    if (!name.isEmpty() && !IsValidIdent(name))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(name));
    if (owner_)
        owner_->nameChanging(this, objectName(), name);
    setObjectName(name);
    emit NameChanged();
}

void TComponent::nameChanging(TComponent* component, const QString& oldName, const QString& newName)
{
    const QString key = newName.toUpper();
    if (!newName.isEmpty()) {
        TComponent* other = byName_.value(key);
        if (other && other != component)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(newName));
    }
    if (!oldName.isEmpty() && byName_.value(oldName.toUpper()) == component)
        byName_.remove(oldName.toUpper());
    if (!newName.isEmpty())
        byName_.insert(key, component);
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(QStringLiteral("List index out of bounds (%1)").arg(index));
    return components_.at(index);
}

TComponent* TComponent::FindComponent(const QString& name) const
{
    if (name.isEmpty())
        return nullptr;
    return byName_.value(name.toUpper());
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component || component->owner_ == this)
        return;
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    nameChanging(component, QString(), component->Name());
    components_.append(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (!component || component->owner_ != this)
        return;
    components_.removeOne(component);
    if (!component->Name().isEmpty() && byName_.value(component->Name().toUpper()) == component)
        byName_.remove(component->Name().toUpper());
    component->owner_ = nullptr;
}

void TComponent::SetDesigning(bool designing)
{
    state_.setFlag(ComponentState::Designing, designing);
    for (TComponent* component : std::as_const(components_))
        component->SetDesigning(designing);
}

void TComponent::Loaded()
{
    state_ &= ~ComponentStates(ComponentState::Loading);
}

void TComponent::SetChildParent(TComponent* child)
{
    // Non-visual components may sit anywhere; controls need a windowed parent.
    if (child->inherits("TControl"))
        throw EReadError(QStringLiteral("%1 cannot contain the control %2").arg(ClassName(), child->Name()));
}

// Class registry ------------------------------------------------------------

namespace {

struct ClassEntry {
    const QMetaObject* meta = nullptr;
    ComponentFactory factory;
};

TNameRegistry<ClassEntry>& classes()
{
    static TNameRegistry<ClassEntry> registry;
    return registry;
}

void ensureStandardClasses()
{
    static std::once_flag once;
    std::call_once(once, [] { RegisterStandardClasses(); });
}

thread_local int suppressDepth = 0;

} // namespace

void RegisterClass(const QMetaObject* meta, ComponentFactory factory)
{
    classes().Register(QString::fromLatin1(meta->className()), {meta, std::move(factory)});
}

const QMetaObject* FindClass(const QString& className)
{
    ensureStandardClasses();
    return classes().Value(className).meta;
}

TComponent* CreateComponent(const QString& className, TComponent* owner)
{
    ensureStandardClasses();
    const ClassEntry entry = classes().Value(className);
    if (!entry.factory)
        throw EClassNotFound(QStringLiteral("Class %1 not found").arg(className));
    return entry.factory(owner);
}

LayoutSuppressor::LayoutSuppressor()
{
    ++suppressDepth;
}
LayoutSuppressor::~LayoutSuppressor()
{
    --suppressDepth;
}
bool LayoutSuppressor::Active()
{
    return suppressDepth > 0;
}
