#include "criteria/SysParamCache.h"

#include "runtime/system/Exceptions.h"

QString TSysParamCache::Value(const QString& name)
{
    if (!filled_)
        fill();
    return values_.value(name.trimmed().toUpper());
}

void TSysParamCache::fill()
{
    filled_ = true;
    Variant rows;
    try {
        rows = fetch_ ? fetch_() : Variant();
    } catch (const Exception&) {
        return; // the counter failed: parameters read as empty
    }
    if (!rows.IsArray() || rows.DimCount() != 1)
        return;
    for (int i = rows.LowBound(); i <= rows.HighBound(); ++i) {
        const Variant& row = rows[i];
        if (!row.IsArray() || row.DimCount() != 1 || row.HighBound() - row.LowBound() < 1)
            continue;
        const QString key = row[row.LowBound()].ToString().trimmed().toUpper();
        if (!key.isEmpty() && !values_.contains(key))
            values_.insert(key, row[row.LowBound() + 1].ToString());
    }
}
