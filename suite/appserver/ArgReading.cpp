#include "suite/appserver/ArgReading.h"

#include <QDate>

namespace appserver {

const Variant& Element(const Variant& array, int i)
{
    static const Variant none;
    const Variant& a = array.Deref();
    if (!a.IsArray() || a.DimCount() != 1)
        return none;
    const int index = a.LowBound(1) + i;
    if (index > a.HighBound(1))
        return none;
    return a.At(index).Deref();
}

QString TextAt(const Variant& array, int i)
{
    const Variant& v = Element(array, i);
    switch (v.Type()) {
    case VarType::Array:
    case VarType::Object:
    case VarType::Bytes:
        return QString();
    default:
        return v.ToString();
    }
}

bool IsTrue(const Variant& value)
{
    const Variant& v = value.Deref();
    switch (v.Type()) {
    case VarType::Boolean:
        return v.ToBool();
    case VarType::Integer:
    case VarType::Float:
        return v.ToDouble() != 0;
    case VarType::String: {
        const QString t = v.ToString().trimmed().toUpper();
        return t == QLatin1String("Y") || t == QLatin1String("YES") || t == QLatin1String("T")
            || t == QLatin1String("TRUE") || t == QLatin1String("1");
    }
    default:
        return false;
    }
}

int IntOf(const Variant& value, int fallback)
{
    const Variant& v = value.Deref();
    if (v.Type() == VarType::Integer || v.Type() == VarType::Float || v.Type() == VarType::Boolean)
        return v.ToInt();
    bool ok = false;
    const int n = v.ToString().trimmed().toInt(&ok);
    return ok ? n : fallback;
}

QString Today()
{
    return QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
}

} // namespace appserver
