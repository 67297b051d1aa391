#pragma once
// TComponent: a named object with an owner. The owner keeps its components in
// creation order ("ownership order") and frees them when it is freed; names are
// identifiers, unique among an owner's components without regard to case.
//
// Published properties are the Q_PROPERTYs declared from TComponent down. The
// class registry creates components by class name for the form reader.

#include "runtime/forms/Persistent.h"
#include "runtime/system/Exceptions.h"

#include <QHash>
#include <QList>
#include <QString>
#include <functional>

ZORV_EXCEPTION_CLASS(EComponentError, Exception)
ZORV_EXCEPTION_CLASS(EClassNotFound, Exception)

enum class ComponentState { Loading = 1, Reading = 2, Destroying = 4, Designing = 8 };
Q_DECLARE_FLAGS(ComponentStates, ComponentState)
Q_DECLARE_OPERATORS_FOR_FLAGS(ComponentStates)

class TComponent : public TPersistent {
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(int Tag READ Tag WRITE SetTag)
public:
    // The owner takes ownership (it may be null).
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    QString Name() const { return objectName(); }
    // Throws EComponentError for a name that is not an identifier or is taken.
    void SetName(const QString& name);
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    const QList<TComponent*>& ComponentList() const { return components_; }
    int ComponentIndex() const { return owner_ ? static_cast<int>(owner_->components_.indexOf(this)) : -1; }
    // Case-insensitive look-up among the owned components; null when absent.
    TComponent* FindComponent(const QString& name) const;
    template<typename T> T* FindComponent(const QString& name) const
    {
        return qobject_cast<T*>(FindComponent(name));
    }
    void InsertComponent(TComponent* component); // takes ownership
    void RemoveComponent(TComponent* component); // gives ownership up
    // Frees the owned components, last created first, each through
    // BeforeDestruction as Free does.
    void DestroyComponents();

    // Frees this component: BeforeDestruction runs first, while the object is
    // still whole (a form raises OnDestroy there), then the destructors. Use
    // it (or FreeAndNil) rather than delete wherever a component is freed.
    void Free();
    // The last step before the destructors: marks this component and those it
    // owns as being destroyed. Overrides call the base first.
    virtual void BeforeDestruction();

    ComponentStates ComponentState() const { return state_; }
    bool IsLoading() const { return state_.testFlag(ComponentState::Loading); }
    bool IsDestroying() const { return state_.testFlag(ComponentState::Destroying); }
    bool IsDesigning() const { return state_.testFlag(ComponentState::Designing); }
    void SetDesigning(bool designing);
    // The reader brackets a component's properties with these.
    void BeginLoading() { state_ |= ComponentState::Loading; }
    virtual void Loaded();

    // The component this one is nested in when written (a control's parent, a
    // menu item's parent item); null at the top level.
    virtual TComponent* GetParentComponent() const { return nullptr; }
    // Nests child inside this component as the reader found it; throws
    // EReadError when child cannot live there.
    virtual void SetChildParent(TComponent* child);
    // The nested components in write order.
    virtual QList<TComponent*> GetChildren() const { return {}; }

    static bool IsValidIdent(const QString& name);

signals:
    void NameChanged();

private:
    TComponent* owner_ = nullptr;
    QList<TComponent*> components_;
    QHash<QString, TComponent*> byName_; // upper-case name -> component
    ComponentStates state_;
    int tag_ = 0;

    void nameChanging(TComponent* component, const QString& oldName, const QString& newName);
};

// Frees component (nothing when null) and clears the pointer.
template<typename T> void FreeAndNil(T*& component)
{
    T* doomed = component;
    component = nullptr;
    if (doomed)
        doomed->Free();
}

// For std::unique_ptr: frees the component with Free rather than delete,
//     std::unique_ptr<TfrmX, FreeComponent> form(CreateForm<TfrmX>());
struct FreeComponent {
    void operator()(TComponent* component) const
    {
        if (component)
            component->Free();
    }
};

// The class registry: creates components by class name (case-insensitive).
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;
void RegisterClass(const QMetaObject* meta, ComponentFactory factory);
template<typename T> void RegisterClass()
{
    RegisterClass(&T::staticMetaObject, [](TComponent* owner) -> TComponent* { return new T(owner); });
}
// The registered class of that name, null when none (the standard controls are
// always registered).
const QMetaObject* FindClass(const QString& className);
// Creates a component of a registered class; throws EClassNotFound.
TComponent* CreateComponent(const QString& className, TComponent* owner);

// While a LayoutSuppressor lives, ReadFormResource does nothing: the writer
// uses that to build bare instances that show a class's own defaults.
class LayoutSuppressor {
public:
    LayoutSuppressor();
    ~LayoutSuppressor();
    LayoutSuppressor(const LayoutSuppressor&) = delete;
    LayoutSuppressor& operator=(const LayoutSuppressor&) = delete;
    static bool Active();
};

// Reads a form description resource (":/forms/TfrmX.dfm") into instance; form
// classes call it from their constructor, after their base class did the same.
void ReadFormResource(TComponent* instance, const QString& resourcePath);
