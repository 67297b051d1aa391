#include "common/VariantElements.h"

#include "runtime/system/Exceptions.h"

bool HasElements(const Variant& array)
{
    const Variant& data = array.IsReference() ? array.Deref() : array;
    return data.IsArray() && data.DimCount() == 1 && data.HighBound(1) >= data.LowBound(1);
}

Variant ElementAt(const Variant& array, int index)
{
    const Variant& data = array.IsReference() ? array.Deref() : array;
    if (!data.IsArray() || data.DimCount() != 1 || index < data.LowBound(1) || index > data.HighBound(1))
        return {};
    return data.At(index);
}

QString ElementText(const Variant& array, int index)
{
    const Variant value = ElementAt(array, index);
    if (value.IsEmptyOrNull() || value.IsArray() || value.IsObject())
        return {};
    try {
        return value.ToString();
    } catch (const Exception&) {
        return {};
    }
}
