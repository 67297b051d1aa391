#pragma once
// The system parameters of one form, read once. The first request asks the
// counter object's GetSysInfo for all [name, value] rows of the company and
// keeps them; later requests read the cache. Names compare without regard to
// case. When the counter cannot answer, every parameter reads as empty.

#include "runtime/system/Variant.h"

#include <QHash>
#include <QString>
#include <functional>

class TSysParamCache {
public:
    // fetch answers GetSysInfo's rows (or Unassigned); it is called at most once.
    explicit TSysParamCache(std::function<Variant()> fetch)
        : fetch_(std::move(fetch))
    {
    }

    QString Value(const QString& name);
    bool Filled() const { return filled_; }
    int Count() const { return static_cast<int>(values_.size()); }

private:
    void fill();

    std::function<Variant()> fetch_;
    QHash<QString, QString> values_; // upper-case name -> value
    bool filled_ = false;
};
