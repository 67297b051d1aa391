#include "runtime/data/Field.h"

#include "runtime/data/DataSet.h"

#include <cmath>
#include <limits>

TField::TField(TFieldType type, int size)
    : dataType_(type)
    , size_(size)
{
}

TField::~TField() = default;

void TField::SetFieldName(const QString& name)
{
    if (name == fieldName_)
        return;
    if (dataSet_ && dataSet_->Active())
        throw EDatabaseError(QStringLiteral("Cannot rename field '%1' of an open data set").arg(fieldName_));
    fieldName_ = name;
    if (dataSet_)
        dataSet_->rebuildFieldNames();
}

void TField::SetSize(int size)
{
    if (dataSet_ && dataSet_->Active())
        throw EDatabaseError(QStringLiteral("Cannot resize field '%1' of an open data set").arg(fieldName_));
    size_ = size;
}

int TField::Index() const
{
    return dataSet_ ? dataSet_->Fields().IndexOf(this) : -1;
}

bool TField::IsNull() const
{
    return !dataSet_ || column_ < 0 || dataSet_->cellIsNull(column_);
}

Variant TField::Value() const
{
    if (IsNull())
        return Variant::Null();
    return dataSet_->cellValue(column_);
}

void TField::SetValue(const Variant& value)
{
    if (!dataSet_ || column_ < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' is not bound to an open data set").arg(fieldName_));
    dataSet_->setCell(this, value);
    if (onChange_)
        onChange_(this);
}

QString TField::AsString() const
{
    if (IsNull())
        return {};
    if (dataType_ == ftString || dataType_ == ftMemo)
        return dataSet_->cellText(column_);
    if (dataType_ == ftBlob)
        return QString::fromLatin1(Value().ToBytes()); // byte for byte
    return formatValue(Value(), false);
}

void TField::SetAsString(const QString& value)
{
    // An empty text clears a field that does not hold text, as typing nothing does.
    if (dataType_ != ftString && dataType_ != ftMemo && dataType_ != ftBlob && value.trimmed().isEmpty()) {
        Clear();
        return;
    }
    if (dataType_ == ftBlob) {
        SetValue(Variant(value.toLatin1()));
        return;
    }
    SetValue(Variant(value));
}

qint64 TField::AsLargeInt() const
{
    if (IsNull())
        return 0;
    if (dataType_ == ftInteger || dataType_ == ftBoolean)
        return dataSet_->cellInteger(column_);
    return Value().ToInt64();
}

int TField::AsInteger() const
{
    const qint64 v = AsLargeInt();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw EConvertError(
            QStringLiteral("Value %1 of field '%2' is outside the integer range").arg(v).arg(fieldName_));
    return static_cast<int>(v);
}

double TField::AsFloat() const
{
    if (IsNull())
        return 0.0;
    if (dataType_ == ftFloat || dataType_ == ftDate || dataType_ == ftDateTime)
        return dataSet_->cellFloat(column_);
    if (dataType_ == ftInteger)
        return static_cast<double>(dataSet_->cellInteger(column_));
    return Value().ToDouble();
}

double TField::AsDateTime() const
{
    if (IsNull())
        return 0.0;
    if (dataType_ == ftDate || dataType_ == ftDateTime)
        return dataSet_->cellFloat(column_);
    return Value().ToDate();
}

bool TField::AsBoolean() const
{
    return !IsNull() && Value().ToBool();
}

QByteArray TField::AsBytes() const
{
    return IsNull() ? QByteArray() : Value().ToBytes();
}

QString TField::formatValue(const Variant& value, bool) const
{
    if (dataType_ == ftBoolean)
        return value.ToBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (dataType_ == ftDate) {
        const double day = value.ToDate();
        return Variant::FromDate(std::isfinite(day) ? std::trunc(day) : day).ToString();
    }
    return value.ToString();
}

QString TField::textOf(bool displayText) const
{
    QString text = IsNull() ? QString() : formatValue(Value(), displayText);
    if (onGetText_)
        onGetText_(const_cast<TField*>(this), text, displayText);
    return text;
}

void TField::SetText(const QString& text)
{
    if (onSetText_)
        onSetText_(this, text);
    else
        SetAsString(text);
}

QString TBlobField::formatValue(const Variant&, bool) const
{
    return QStringLiteral("(BLOB)");
}

QString TMemoField::formatValue(const Variant& value, bool) const
{
    return value.ToString();
}

std::unique_ptr<TField> CreateFieldOfType(TFieldType type, int size)
{
    switch (type) {
    case ftString:
        return std::make_unique<TStringField>(size);
    case ftInteger:
        return std::make_unique<TIntegerField>();
    case ftFloat:
        return std::make_unique<TFloatField>();
    case ftDate:
        return std::make_unique<TDateField>();
    case ftDateTime:
        return std::make_unique<TDateTimeField>();
    case ftBoolean:
        return std::make_unique<TBooleanField>();
    case ftMemo:
        return std::make_unique<TMemoField>();
    case ftBlob:
        return std::make_unique<TBlobField>();
    case ftUnknown:
        break;
    }
    throw EDatabaseError(QStringLiteral("No field class for type %1").arg(FieldTypeName(type)));
}
