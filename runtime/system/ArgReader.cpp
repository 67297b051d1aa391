#include "runtime/system/ArgReader.h"

namespace {

const Variant& unassigned()
{
    static const Variant none;
    return none;
}

} // namespace

TArgReader::TArgReader(const Variant& args)
{
    const Variant& a = args.Deref();
    if (!a.IsArray() || a.DimCount() != 1)
        return;
    array_ = &a;
    low_ = a.LowBound(1);
    count_ = a.HighBound(1) - low_ + 1;
}

TArgReader::TArgReader(const VariantList& args)
    : list_(&args)
    , count_(static_cast<int>(args.size()))
{
}

TArgReader TArgReader::Spread(const Variant& args)
{
    const Variant& a = args.Deref();
    if (a.IsArray())
        return TArgReader(a);
    TArgReader reader;
    if (!a.IsEmpty()) {
        reader.single_ = &a;
        reader.count_ = 1;
    }
    return reader;
}

const Variant& TArgReader::At(int position) const
{
    if (!Has(position))
        return unassigned();
    if (array_)
        return array_->At(low_ + position).Deref();
    if (list_)
        return list_->at(position).Deref();
    return *single_;
}

template<typename T, typename Convert>
std::optional<T> TArgReader::tryRead(int position, Convert convert) const
{
    if (!Has(position))
        return std::nullopt;
    try {
        return convert(At(position));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

std::optional<QString> TArgReader::TryText(int position) const
{
    return tryRead<QString>(position, [](const Variant& v) { return v.ToString(); });
}

std::optional<int> TArgReader::TryInt(int position) const
{
    return tryRead<int>(position, [](const Variant& v) { return v.ToInt(); });
}

std::optional<bool> TArgReader::TryBool(int position) const
{
    return tryRead<bool>(position, [](const Variant& v) { return v.ToBool(); });
}

QString TArgReader::Text(int position, const QString& fallback) const
{
    return TryText(position).value_or(fallback);
}

int TArgReader::Int(int position, int fallback) const
{
    const Variant& v = At(position);
    switch (v.Type()) {
    case VarType::Integer:
    case VarType::Float:
    case VarType::Boolean:
        return TryInt(position).value_or(fallback);
    case VarType::String: {
        // Only a plain whole number: "1.5" or "$10" fall back rather than
        // being rounded or read as hexadecimal the way ToInt would.
        bool ok = false;
        const int n = v.ToString().trimmed().toInt(&ok);
        return ok ? n : fallback;
    }
    default:
        return fallback;
    }
}

bool TArgReader::Flag(int position) const
{
    const Variant& v = At(position);
    switch (v.Type()) {
    case VarType::Boolean:
        return v.ToBool();
    case VarType::Integer:
    case VarType::Float:
        return v.ToDouble() != 0;
    case VarType::String: {
        const QString t = v.ToString().trimmed().toUpper();
        return t == u"Y" || t == u"YES" || t == u"T" || t == u"TRUE" || t == u"1";
    }
    default:
        return false;
    }
}

void TArgReader::refuse(int position, const char* wanted) const
{
    if (!Has(position))
        throw EArgumentError(QStringLiteral("Argument %1 is missing (%2 given)").arg(position).arg(count_));
    throw EArgumentError(QStringLiteral("Argument %1 is not %2: %3")
                             .arg(position)
                             .arg(QLatin1String(wanted), At(position).DebugText()));
}

const Variant& TArgReader::Require(int position) const
{
    if (!Has(position))
        refuse(position, "there");
    return At(position);
}

QString TArgReader::RequireText(int position) const
{
    if (const auto text = TryText(position))
        return *text;
    refuse(position, "a text");
}

int TArgReader::RequireInt(int position) const
{
    if (const auto n = TryInt(position))
        return *n;
    refuse(position, "an integer");
}

bool TArgReader::RequireBool(int position) const
{
    if (const auto b = TryBool(position))
        return *b;
    refuse(position, "a Boolean");
}
