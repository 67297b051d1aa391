#pragma once
// A registry of values by name, names compared without regard to case: the
// automation object factory (programmatic identifiers), the component class
// registry and the server transports keep their entries in one.
//
// What goes in: any name (the empty one included) and a copyable value.
// Registering a name that is there replaces its value; the name is then kept
// in the spelling of the last registration.
//
// What is guaranteed: every operation is safe from any thread; Value() hands
// out a copy taken under the lock, so a caller may use it (call a creator that
// registers something else, say) while others register and unregister.
// Case is folded by Unicode's simple (one letter to one letter) case folding,
// so "ZORV52S.Class1", "zorv52s.class1" and "ZORV52S.CLASS1" are one name,
// and so are "ΣΧΉΜΑ" and "σχήμα"; "STRASSE" and "straße" are not.
//
// What is left alone: values are not called or inspected; an empty value is
// stored like any other.

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <utility>

template<typename T> class TNameRegistry {
public:
    void Register(const QString& name, T value)
    {
        QMutexLocker lock(&mutex_);
        entries_.insert(key(name), Entry {name, std::move(value)});
    }

    // False when nothing was registered under the name.
    bool Unregister(const QString& name)
    {
        QMutexLocker lock(&mutex_);
        return entries_.remove(key(name)) > 0;
    }

    bool Contains(const QString& name) const
    {
        QMutexLocker lock(&mutex_);
        return entries_.contains(key(name));
    }

    // The value registered under the name, or fallback.
    T Value(const QString& name, const T& fallback = T()) const
    {
        QMutexLocker lock(&mutex_);
        const auto it = entries_.constFind(key(name));
        return it == entries_.cend() ? fallback : it->value;
    }

    // The names as last registered, in no particular order.
    QStringList Names() const
    {
        QMutexLocker lock(&mutex_);
        QStringList names;
        names.reserve(entries_.size());
        for (const Entry& entry : entries_)
            names << entry.name;
        return names;
    }

private:
    struct Entry {
        QString name;
        T value;
    };
    static QString key(const QString& name) { return name.toCaseFolded(); }

    mutable QMutex mutex_;
    QHash<QString, Entry> entries_;
};
