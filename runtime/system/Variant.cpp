#include "runtime/system/Variant.h"

#include "runtime/system/AutoObject.h"
#include "runtime/system/DateTime.h"

#include <QDataStream>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>

namespace {

QString floatText(double value)
{
    // Fifteen significant digits, exponent written as the original runtime does (1E20, 1E-5).
    QString text = QLocale::c().toString(value, 'g', 15);
    const auto e = text.indexOf(QLatin1Char('e'));
    if (e < 0)
        return text;
    QString mantissa = text.left(e);
    QString exponent = text.mid(e + 1);
    const bool negative = exponent.startsWith(QLatin1Char('-'));
    exponent.remove(QLatin1Char('+')).remove(QLatin1Char('-'));
    while (exponent.size() > 1 && exponent.startsWith(QLatin1Char('0')))
        exponent.remove(0, 1);
    return mantissa + QLatin1Char('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
}

QString dateText(double value)
{
    const QDateTime dt = datetime::ToQDateTime(value);
    QString text = dt.date().toString(QStringLiteral("yyyy/MM/dd"));
    if (dt.time() != QTime(0, 0))
        text += dt.time().toString(QStringLiteral(" hh:mm:ss"));
    return text;
}

bool parseInteger(const QString& text, qint64& result)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1Char('$')))
        result = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        result = t.mid(2).toLongLong(&ok, 16);
    else
        result = t.toLongLong(&ok, 10);
    return ok;
}

bool parseFloat(const QString& text, double& result)
{
    bool ok = false;
    result = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

bool parseDate(const QString& text, double& result)
{
    const QString t = text.trimmed();
    static const QStringList formats
        = {QStringLiteral("yyyy/M/d H:m:s"), QStringLiteral("yyyy/M/d H:m"), QStringLiteral("yyyy/M/d"),
            QStringLiteral("yyyy-M-d H:m:s"), QStringLiteral("yyyy-M-d"), QStringLiteral("yyyy-M-dTH:m:s")};
    for (const QString& format : formats) {
        const QDateTime dt = QDateTime::fromString(t, format);
        if (dt.isValid()) {
            result = datetime::FromQDateTime(dt);
            return true;
        }
    }
    return false;
}

} // namespace

Variant::Variant(bool value)
    : value_(value)
{
}
Variant::Variant(int value)
    : value_(static_cast<qint64>(value))
{
}
Variant::Variant(unsigned value)
    : value_(static_cast<qint64>(value))
{
}
Variant::Variant(long value)
    : value_(static_cast<qint64>(value))
{
}
Variant::Variant(long long value)
    : value_(static_cast<qint64>(value))
{
}
Variant::Variant(double value)
    : value_(value)
{
}
Variant::Variant(const QString& value)
    : value_(value)
{
}
Variant::Variant(const char* utf8)
    : value_(QString::fromUtf8(utf8))
{
}
Variant::Variant(const char16_t* text)
    : value_(QString::fromUtf16(text))
{
}
Variant::Variant(QChar ch)
    : value_(QString(ch))
{
}
Variant::Variant(const QByteArray& bytes)
    : value_(bytes)
{
}

Variant Variant::Null()
{
    Variant v;
    v.value_ = NullTag {};
    return v;
}

Variant Variant::FromDate(double dayNumber)
{
    Variant v;
    v.value_ = DateValue {dayNumber};
    return v;
}

Variant Variant::Ref(Variant& target)
{
    Variant v;
    v.value_ = &target.Deref();
    return v;
}

namespace {

// Element count of low..high, computed in 64 bits: bounds near the ends of
// int must not wrap. Raises unless the bounds keep every later index sum
// and loop within int.
qint64 checkedCount(int low, int high)
{
    const qint64 count = qint64(high) - qint64(low) + 1;
    if (count < 0 || count > std::numeric_limits<int>::max() || high == std::numeric_limits<int>::max())
        throw EVariantBadIndexError(QStringLiteral("Variant array bounds error"));
    return count;
}

} // namespace

Variant Variant::CreateArray(int low, int high)
{
    checkedCount(low, high);
    auto data = std::make_shared<VariantArrayData>();
    data->dims = 1;
    data->low[0] = low;
    data->high[0] = high;
    data->items.resize(static_cast<size_t>(data->count(0)));
    Variant v;
    v.value_ = std::move(data);
    return v;
}

Variant Variant::CreateArray(int low1, int high1, int low2, int high2)
{
    if (checkedCount(low1, high1) * checkedCount(low2, high2) > std::numeric_limits<int>::max())
        throw EVariantBadIndexError(QStringLiteral("Variant array bounds error"));
    auto data = std::make_shared<VariantArrayData>();
    data->dims = 2;
    data->low[0] = low1;
    data->high[0] = high1;
    data->low[1] = low2;
    data->high[1] = high2;
    data->items.resize(static_cast<size_t>(data->count(0)) * static_cast<size_t>(data->count(1)));
    Variant v;
    v.value_ = std::move(data);
    return v;
}

Variant Variant::ArrayOf(std::initializer_list<Variant> items)
{
    // Elements are values: a reference among them stores what it points at.
    Variant v = CreateArray(0, static_cast<int>(items.size()) - 1);
    std::transform(items.begin(), items.end(), v.mutableArray().items.begin(),
        [](const Variant& item) { return item.Deref(); });
    return v;
}

Variant Variant::ArrayOf(const VariantList& items)
{
    // Elements are values: a reference among them stores what it points at.
    Variant v = CreateArray(0, static_cast<int>(items.size()) - 1);
    std::transform(items.begin(), items.end(), v.mutableArray().items.begin(),
        [](const Variant& item) { return item.Deref(); });
    return v;
}

VarType Variant::Type() const
{
    const Variant& v = Deref();
    return static_cast<VarType>(v.value_.index());
}

bool Variant::IsNumeric() const
{
    const VarType t = Type();
    return t == VarType::Integer || t == VarType::Float;
}

const Variant& Variant::Deref() const
{
    const Variant* v = this;
    while (auto p = std::get_if<Variant*>(&v->value_))
        v = *p;
    return *v;
}

Variant& Variant::Deref()
{
    Variant* v = this;
    while (auto p = std::get_if<Variant*>(&v->value_))
        v = *p;
    return *v;
}

void Variant::Assign(const Variant& value)
{
    Variant copy = value.Deref(); // copy first: value may live inside the target
    Deref() = std::move(copy);
}

void Variant::castError(VarType to) const
{
    throw EVariantTypeCastError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                                    .arg(TypeName(Type()), TypeName(to)));
}

QString Variant::ToString() const
{
    const Variant& v = Deref();
    switch (v.Type()) {
    case VarType::Unassigned:
    case VarType::Null:
        return {};
    case VarType::Boolean:
        return std::get<bool>(v.value_) ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Integer:
        return QString::number(std::get<qint64>(v.value_));
    case VarType::Float:
        return floatText(std::get<double>(v.value_));
    case VarType::Date:
        return dateText(std::get<DateValue>(v.value_).day);
    case VarType::String:
        return std::get<QString>(v.value_);
    default:
        v.castError(VarType::String);
    }
}

qint64 Variant::ToInt64() const
{
    const Variant& v = Deref();
    switch (v.Type()) {
    case VarType::Unassigned:
        return 0;
    case VarType::Boolean:
        return std::get<bool>(v.value_) ? -1 : 0;
    case VarType::Integer:
        return std::get<qint64>(v.value_);
    case VarType::Float:
    case VarType::Date: {
        const double d = v.ToDouble();
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
            v.castError(VarType::Integer);
        return static_cast<qint64>(std::nearbyint(d)); // round half to even
    }
    case VarType::String: {
        const QString& s = std::get<QString>(v.value_);
        qint64 i = 0;
        if (parseInteger(s, i))
            return i;
        double d = 0;
        if (parseFloat(s, d) && std::isfinite(d) && std::fabs(d) < 9.2e18)
            return static_cast<qint64>(std::nearbyint(d));
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
    }
    default:
        v.castError(VarType::Integer);
    }
}

int Variant::ToInt() const
{
    const qint64 value = ToInt64();
    if (value < INT_MIN || value > INT_MAX)
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(value));
    return static_cast<int>(value);
}

double Variant::ToDouble() const
{
    const Variant& v = Deref();
    switch (v.Type()) {
    case VarType::Unassigned:
        return 0;
    case VarType::Boolean:
        return std::get<bool>(v.value_) ? -1 : 0;
    case VarType::Integer:
        return static_cast<double>(std::get<qint64>(v.value_));
    case VarType::Float:
        return std::get<double>(v.value_);
    case VarType::Date:
        return std::get<DateValue>(v.value_).day;
    case VarType::String: {
        const QString& s = std::get<QString>(v.value_);
        double d = 0;
        if (parseFloat(s, d))
            return d;
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(s));
    }
    default:
        v.castError(VarType::Float);
    }
}

bool Variant::ToBool() const
{
    const Variant& v = Deref();
    switch (v.Type()) {
    case VarType::Unassigned:
        return false;
    case VarType::Boolean:
        return std::get<bool>(v.value_);
    case VarType::Integer:
    case VarType::Float:
    case VarType::Date:
        return v.ToDouble() != 0;
    case VarType::String: {
        const QString s = std::get<QString>(v.value_).trimmed();
        if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        double d = 0;
        if (parseFloat(s, d))
            return d != 0;
        throw EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(s));
    }
    default:
        v.castError(VarType::Boolean);
    }
}

double Variant::ToDate() const
{
    const Variant& v = Deref();
    if (v.Type() == VarType::String) {
        const QString& s = std::get<QString>(v.value_);
        double d = 0;
        if (parseDate(s, d))
            return d;
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(s));
    }
    if (v.Type() == VarType::Null)
        v.castError(VarType::Date);
    return v.ToDouble();
}

QByteArray Variant::ToBytes() const
{
    const Variant& v = Deref();
    if (auto p = std::get_if<QByteArray>(&v.value_))
        return *p;
    if (v.IsEmptyOrNull())
        return {};
    if (v.Type() == VarType::String)
        return std::get<QString>(v.value_).toUtf8();
    v.castError(VarType::Bytes);
}

AutoObjectPtr Variant::ToObject() const
{
    const Variant& v = Deref();
    if (auto p = std::get_if<AutoObjectPtr>(&v.value_))
        return *p;
    return nullptr;
}

const VariantArrayData& Variant::array() const
{
    const Variant& v = Deref();
    if (auto p = std::get_if<ArrayPtr>(&v.value_))
        return **p;
    throw EVariantError(QStringLiteral("Variant is not an array"));
}

VariantArrayData& Variant::mutableArray()
{
    Variant& v = Deref();
    auto p = std::get_if<ArrayPtr>(&v.value_);
    if (!p)
        throw EVariantError(QStringLiteral("Variant is not an array"));
    if (p->use_count() > 1)
        *p = std::make_shared<VariantArrayData>(**p); // copy on write: arrays are values
    return **p;
}

int Variant::DimCount() const
{
    return IsArray() ? array().dims : 0;
}

int Variant::LowBound(int dim) const
{
    const VariantArrayData& a = array();
    if (dim < 1 || dim > a.dims)
        throw EVariantBadIndexError(QStringLiteral("Variant array index out of bounds"));
    return a.low[dim - 1];
}

int Variant::HighBound(int dim) const
{
    const VariantArrayData& a = array();
    if (dim < 1 || dim > a.dims)
        throw EVariantBadIndexError(QStringLiteral("Variant array index out of bounds"));
    return a.high[dim - 1];
}

void Variant::Redim(int newHigh)
{
    VariantArrayData& a = mutableArray();
    const int last = a.dims - 1;
    const qint64 newCount = checkedCount(a.low[last], newHigh);
    if (a.dims == 2 && a.count(0) * newCount > std::numeric_limits<int>::max())
        throw EVariantBadIndexError(QStringLiteral("Variant array bounds error"));
    if (a.dims == 1) {
        a.high[0] = newHigh;
        a.items.resize(static_cast<size_t>(a.count(0)));
        return;
    }
    // Row-major storage: each row keeps its elements, new columns are Unassigned.
    const int rows = a.count(0);
    const int oldColumns = a.count(1);
    const int newColumns = newHigh - a.low[1] + 1;
    std::vector<Variant> items(static_cast<size_t>(rows) * static_cast<size_t>(newColumns));
    const int keep = std::min(oldColumns, newColumns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < keep; ++c)
            items[static_cast<size_t>(r * newColumns + c)]
                = std::move(a.items[static_cast<size_t>(r * oldColumns + c)]);
    a.items = std::move(items);
    a.high[1] = newHigh;
}

const Variant& Variant::At(int index) const
{
    const VariantArrayData& a = array();
    if (a.dims != 1 || index < a.low[0] || index > a.high[0])
        throw EVariantBadIndexError(QStringLiteral("Variant array index out of bounds"));
    return a.items[static_cast<size_t>(index - a.low[0])];
}

Variant& Variant::At(int index)
{
    VariantArrayData& a = mutableArray();
    if (a.dims != 1 || index < a.low[0] || index > a.high[0])
        throw EVariantBadIndexError(QStringLiteral("Variant array index out of bounds"));
    return a.items[static_cast<size_t>(index - a.low[0])];
}

const Variant& Variant::At(int row, int column) const
{
    const VariantArrayData& a = array();
    if (a.dims != 2 || row < a.low[0] || row > a.high[0] || column < a.low[1] || column > a.high[1])
        throw EVariantBadIndexError(QStringLiteral("Variant array index out of bounds"));
    return a.items[static_cast<size_t>((row - a.low[0]) * a.count(1) + (column - a.low[1]))];
}

Variant& Variant::At(int row, int column)
{
    VariantArrayData& a = mutableArray();
    if (a.dims != 2 || row < a.low[0] || row > a.high[0] || column < a.low[1] || column > a.high[1])
        throw EVariantBadIndexError(QStringLiteral("Variant array index out of bounds"));
    return a.items[static_cast<size_t>((row - a.low[0]) * a.count(1) + (column - a.low[1]))];
}

VariantList Variant::Elements() const
{
    const VariantArrayData& a = array();
    if (a.dims != 1)
        throw EVariantError(QStringLiteral("Variant array has two dimensions"));
    return VariantList(a.items.begin(), a.items.end());
}

Variant Variant::Call(const QString& member, VariantList args) const
{
    const AutoObjectPtr object = ToObject();
    if (!object)
        throw EVariantError(
            QStringLiteral("Invalid variant operation: %1 is not an object").arg(TypeName(Type())));
    return object->Invoke(member, args);
}

Variant Variant::Get(const QString& property, VariantList args) const
{
    const AutoObjectPtr object = ToObject();
    if (!object)
        throw EVariantError(
            QStringLiteral("Invalid variant operation: %1 is not an object").arg(TypeName(Type())));
    return object->GetProperty(property, args);
}

void Variant::Set(const QString& property, const Variant& value) const
{
    const AutoObjectPtr object = ToObject();
    if (!object)
        throw EVariantError(
            QStringLiteral("Invalid variant operation: %1 is not an object").arg(TypeName(Type())));
    object->SetProperty(property, value);
}

bool Variant::operator==(const Variant& other) const
{
    const Variant& a = Deref();
    const Variant& b = other.Deref();
    if (a.IsNumeric() && b.IsNumeric()) {
        if (a.Type() == VarType::Integer && b.Type() == VarType::Integer)
            return std::get<qint64>(a.value_) == std::get<qint64>(b.value_);
        return a.ToDouble() == b.ToDouble();
    }
    if (a.Type() != b.Type())
        return false;
    switch (a.Type()) {
    case VarType::Unassigned:
    case VarType::Null:
        return true;
    case VarType::Boolean:
        return std::get<bool>(a.value_) == std::get<bool>(b.value_);
    case VarType::Date:
        return std::get<DateValue>(a.value_).day == std::get<DateValue>(b.value_).day;
    case VarType::String:
        return std::get<QString>(a.value_) == std::get<QString>(b.value_);
    case VarType::Object:
        return std::get<AutoObjectPtr>(a.value_) == std::get<AutoObjectPtr>(b.value_);
    case VarType::Bytes:
        return std::get<QByteArray>(a.value_) == std::get<QByteArray>(b.value_);
    case VarType::Array: {
        const VariantArrayData& x = a.array();
        const VariantArrayData& y = b.array();
        return x.dims == y.dims && x.low[0] == y.low[0] && x.high[0] == y.high[0]
            && (x.dims == 1 || (x.low[1] == y.low[1] && x.high[1] == y.high[1])) && x.items == y.items;
    }
    default:
        return false;
    }
}

QString Variant::TypeName(VarType type)
{
    switch (type) {
    case VarType::Unassigned:
        return QStringLiteral("Unassigned");
    case VarType::Null:
        return QStringLiteral("Null");
    case VarType::Boolean:
        return QStringLiteral("Boolean");
    case VarType::Integer:
        return QStringLiteral("Integer");
    case VarType::Float:
        return QStringLiteral("Double");
    case VarType::Date:
        return QStringLiteral("Date");
    case VarType::String:
        return QStringLiteral("String");
    case VarType::Array:
        return QStringLiteral("Array Variant");
    case VarType::Object:
        return QStringLiteral("Dispatch");
    case VarType::Reference:
        return QStringLiteral("Reference");
    case VarType::Bytes:
        return QStringLiteral("Bytes");
    }
    return QStringLiteral("Unknown");
}

QString Variant::DebugText() const
{
    const Variant& v = Deref();
    switch (v.Type()) {
    case VarType::Unassigned:
        return QStringLiteral("Unassigned");
    case VarType::Null:
        return QStringLiteral("Null");
    case VarType::String: {
        QString s = std::get<QString>(v.value_);
        s.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
        for (int i = 0; i < s.size(); ++i) {
            if (s.at(i).unicode() < 0x20) {
                const QString escaped
                    = QStringLiteral("\\x%1").arg(s.at(i).unicode(), 2, 16, QLatin1Char('0'));
                s.replace(i, 1, escaped);
                i += static_cast<int>(escaped.size()) - 1;
            }
        }
        return QLatin1Char('"') + s + QLatin1Char('"');
    }
    case VarType::Date:
        return QStringLiteral("Date(%1)").arg(dateText(std::get<DateValue>(v.value_).day));
    case VarType::Object:
        return QStringLiteral("Object(%1)").arg(std::get<AutoObjectPtr>(v.value_)->ClassName());
    case VarType::Bytes: {
        const QByteArray& bytes = std::get<QByteArray>(v.value_);
        return QStringLiteral("Bytes(%1: %2%3)")
            .arg(bytes.size())
            .arg(QString::fromLatin1(bytes.left(16).toHex(' ')),
                bytes.size() > 16 ? QStringLiteral(" ...") : QString());
    }
    case VarType::Array: {
        const VariantArrayData& a = v.array();
        QStringList parts;
        if (a.dims == 1) {
            for (const Variant& item : a.items)
                parts << item.DebugText();
        } else {
            for (int r = a.low[0]; r <= a.high[0]; ++r) {
                QStringList row;
                for (int c = a.low[1]; c <= a.high[1]; ++c)
                    row << v.At(r, c).DebugText();
                parts << QLatin1Char('[') + row.join(QLatin1String(", ")) + QLatin1Char(']');
            }
        }
        QString bounds;
        if (a.low[0] != 0 || (a.dims == 2 && a.low[1] != 0))
            bounds = a.dims == 1 ? QStringLiteral("@%1").arg(a.low[0])
                                 : QStringLiteral("@%1,%2").arg(a.low[0]).arg(a.low[1]);
        return QLatin1Char('[') + parts.join(QLatin1String(", ")) + QLatin1Char(']') + bounds;
    }
    default:
        return v.ToString();
    }
}

void PrintTo(const Variant& value, std::ostream* os)
{
    *os << value.DebugText().toStdString();
}

QDataStream& operator<<(QDataStream& out, const Variant& value)
{
    const Variant& v = value.Deref();
    const auto type = static_cast<quint8>(v.Type());
    out << type;
    switch (v.Type()) {
    case VarType::Unassigned:
    case VarType::Null:
        break;
    case VarType::Boolean:
        out << v.ToBool();
        break;
    case VarType::Integer:
        out << v.ToInt64();
        break;
    case VarType::Float:
    case VarType::Date:
        out << v.ToDouble();
        break;
    case VarType::String:
        out << v.ToString();
        break;
    case VarType::Bytes:
        out << v.ToBytes();
        break;
    case VarType::Array: {
        const int dims = v.DimCount();
        out << static_cast<qint32>(dims);
        for (int d = 1; d <= dims; ++d)
            out << static_cast<qint32>(v.LowBound(d)) << static_cast<qint32>(v.HighBound(d));
        for (const Variant& item : v.DimCount() == 1 ? v.Elements() : VariantList())
            out << item;
        if (dims == 2)
            for (int r = v.LowBound(1); r <= v.HighBound(1); ++r)
                for (int c = v.LowBound(2); c <= v.HighBound(2); ++c)
                    out << v.At(r, c);
        break;
    }
    default:
        throw EVariantError(QStringLiteral("A %1 value cannot be sent").arg(Variant::TypeName(v.Type())));
    }
    return out;
}

QDataStream& operator>>(QDataStream& in, Variant& value)
{
    quint8 type = 0;
    in >> type;
    switch (static_cast<VarType>(type)) {
    case VarType::Unassigned:
        value = Variant();
        break;
    case VarType::Null:
        value = Variant::Null();
        break;
    case VarType::Boolean: {
        bool b = false;
        in >> b;
        value = Variant(b);
        break;
    }
    case VarType::Integer: {
        qint64 i = 0;
        in >> i;
        value = Variant(static_cast<long long>(i));
        break;
    }
    case VarType::Float:
    case VarType::Date: {
        double d = 0;
        in >> d;
        value = static_cast<VarType>(type) == VarType::Date ? Variant::FromDate(d) : Variant(d);
        break;
    }
    case VarType::String: {
        QString s;
        in >> s;
        value = Variant(s);
        break;
    }
    case VarType::Bytes: {
        QByteArray bytes;
        in >> bytes;
        value = Variant(bytes);
        break;
    }
    case VarType::Array: {
        qint32 dims = 0;
        qint32 bounds[4] = {0, -1, 0, -1};
        in >> dims;
        if (dims != 1 && dims != 2) {
            in.setStatus(QDataStream::ReadCorruptData);
            value = Variant();
            break;
        }
        for (int i = 0; i < dims * 2; ++i)
            in >> bounds[i];
        const qint64 count = qint64(bounds[1]) - bounds[0] + 1;
        const qint64 count2 = dims == 2 ? qint64(bounds[3]) - bounds[2] + 1 : 1;
        constexpr qint32 intMax = std::numeric_limits<qint32>::max();
        if (count < 0 || count2 < 0 || count * count2 > 50'000'000 || bounds[1] == intMax
            || bounds[3] == intMax) {
            in.setStatus(QDataStream::ReadCorruptData);
            value = Variant();
            break;
        }
        value = dims == 1 ? Variant::CreateArray(bounds[0], bounds[1])
                          : Variant::CreateArray(bounds[0], bounds[1], bounds[2], bounds[3]);
        auto& items = value.mutableArray().items;
        for (auto& item : items) {
            in >> item;
            if (in.status() != QDataStream::Ok)
                break;
        }
        break;
    }
    default:
        in.setStatus(QDataStream::ReadCorruptData);
        value = Variant();
    }
    return in;
}
