#include "runtime/report/QRDataSource.h"

void TQRDataSetSource::First()
{
    if (dataSet_->Active())
        dataSet_->First();
}

void TQRDataSetSource::Next()
{
    if (dataSet_->Active())
        dataSet_->Next();
}

void TQRDataSetSource::Prior()
{
    if (dataSet_->Active())
        dataSet_->Prior();
}

bool TQRDataSetSource::Eof() const
{
    return !dataSet_->Active() || dataSet_->Eof();
}

int TQRDataSetSource::FieldIndex(const QString& name) const
{
    TField* field = dataSet_->FindField(name);
    return field ? field->Index() : -1;
}

QVariant TQRDataSetSource::FieldValue(int index) const
{
    if (!dataSet_->Active() || dataSet_->IsEmpty() || index < 0 || index >= dataSet_->FieldCount())
        return {};
    TField* field = dataSet_->Fields()[index];
    if (field->IsNull())
        return {};
    switch (field->DataType()) {
    case ftInteger:
        return field->AsLargeInt();
    case ftFloat:
        return field->AsFloat();
    case ftBoolean:
        return field->AsBoolean();
    default:
        return field->AsString();
    }
}

QString TQRDataSetSource::FieldText(int index) const
{
    if (!dataSet_->Active() || dataSet_->IsEmpty() || index < 0 || index >= dataSet_->FieldCount())
        return {};
    return dataSet_->Fields()[index]->DisplayText();
}

int TQRDataSetSource::RecNo() const
{
    return dataSet_->Active() ? dataSet_->RecNo() : 0;
}

int TQRDataSetSource::RecordCount() const
{
    return dataSet_->Active() ? dataSet_->RecordCount() : 0;
}

TQRMemorySource::TQRMemorySource(const QStringList& columns)
    : columns_(columns)
{
    for (int i = 0; i < columns_.size(); ++i)
        index_.insert(columns_.at(i).toUpper(), i);
}

void TQRMemorySource::AddRow(QVariantList values)
{
    while (values.size() < columns_.size())
        values.append(QVariant());
    values.resize(columns_.size());
    rows_.push_back(std::move(values));
}

void TQRMemorySource::First()
{
    current_ = 0;
    eof_ = rows_.empty();
}

void TQRMemorySource::Next()
{
    if (eof_)
        return;
    if (current_ + 1 < static_cast<int>(rows_.size()))
        ++current_;
    else
        eof_ = true;
}

void TQRMemorySource::Prior()
{
    if (rows_.empty())
        return;
    // As a data set does: past the end the cursor still stands on the last
    // row, so one step back is the row before it.
    eof_ = false;
    if (current_ > 0)
        --current_;
}

int TQRMemorySource::FieldIndex(const QString& name) const
{
    return index_.value(name.toUpper(), -1);
}

QVariant TQRMemorySource::FieldValue(int index) const
{
    if (rows_.empty() || index < 0 || index >= columns_.size())
        return {};
    return rows_[static_cast<size_t>(current_)].at(index);
}

QString TQRMemorySource::FieldText(int index) const
{
    const QVariant value = FieldValue(index);
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}
