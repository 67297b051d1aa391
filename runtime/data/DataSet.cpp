#include "runtime/data/DataSet.h"

#include <QStringList>

// ---------------------------------------------------------------------------
// TFieldDefs and TFields

void TFieldDefs::Add(const QString& name, TFieldType type, int size, bool required)
{
    if (IndexOf(name) >= 0)
        throw EDatabaseError(QStringLiteral("Duplicate field name '%1'").arg(name));
    byName_.insert(name.toCaseFolded(), static_cast<int>(defs_.size()));
    defs_.append(FieldDescriptor {name, type, size, required});
}

void TFieldDefs::Assign(const QList<FieldDescriptor>& defs)
{
    defs_ = defs;
    byName_.clear();
    byName_.reserve(defs_.size());
    // The first of equal names wins, as a scan from the front found it.
    for (qsizetype i = defs_.size() - 1; i >= 0; --i)
        byName_.insert(defs_[i].Name.toCaseFolded(), static_cast<int>(i));
}

int TFieldDefs::IndexOf(const QString& name) const
{
    return byName_.value(name.toCaseFolded(), -1);
}

TField* TFields::FindField(const QString& name) const
{
    return byName_.value(name.toLower(), nullptr);
}

int TFields::IndexOf(const TField* field) const
{
    for (size_t i = 0; i < list_.size(); ++i)
        if (list_[i].get() == field)
            return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------
// Opening and closing

TDataSet::TDataSet(QObject* owner)
    : QObject(owner)
{
}

TDataSet::~TDataSet() = default;

void TDataSet::error(const QString& message) const
{
    const QString name = objectName();
    throw EDatabaseError(name.isEmpty() ? message : name + QStringLiteral(": ") + message);
}

void TDataSet::checkActive() const
{
    if (state_ == dsInactive)
        error(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void TDataSet::SetActive(bool active)
{
    if (active)
        Open();
    else
        Close();
}

void TDataSet::Open()
{
    if (Active())
        return;
    fire(beforeOpen_);
    try {
        openData(store_);
        bindFields();
    } catch (...) {
        store_.Reset({});
        unbindFields();
        closeData();
        throw;
    }
    activate();
    fire(afterOpen_);
    if (store_.Count() > 0)
        scrolled();
}

void TDataSet::activate()
{
    state_ = dsBrowse;
    modified_ = false;
    buffer_.clear();
    current_ = store_.Count() > 0 ? 0 : -1;
    bof_ = true;
    eof_ = store_.Count() == 0;
    notify(deUpdateState);
}

void TDataSet::Close()
{
    if (!Active())
        return;
    fire(beforeClose_);
    state_ = dsInactive; // a pending edit is dropped with the cache
    buffer_.clear();
    modified_ = false;
    store_.Reset({});
    unbindFields();
    current_ = -1;
    eof_ = bof_ = true;
    closeData();
    notify(deUpdateState);
    fire(afterClose_);
}

void TDataSet::rebuildFieldNames()
{
    fields_.byName_.clear();
    for (const auto& f : fields_.list_)
        fields_.byName_.insert(f->FieldName().toLower(), f.get());
}

TField* TDataSet::AddField(std::unique_ptr<TField> field, const QString& name)
{
    if (Active())
        error(QStringLiteral("Cannot add field '%1' to an open dataset").arg(name));
    if (!persistentFields_) {
        fields_.list_.clear();
        persistentFields_ = true;
    }
    if (FindField(name))
        error(QStringLiteral("Duplicate field name '%1'").arg(name));
    field->fieldName_ = name;
    field->dataSet_ = this;
    fields_.list_.push_back(std::move(field));
    rebuildFieldNames();
    return fields_.list_.back().get();
}

void TDataSet::ClearFields()
{
    if (Active())
        error(QStringLiteral("Cannot remove the fields of an open dataset"));
    fields_.list_.clear();
    persistentFields_ = false;
    rebuildFieldNames();
}

TField* TDataSet::FieldByName(const QString& name) const
{
    TField* field = FindField(name);
    if (!field)
        error(QStringLiteral("Field '%1' not found").arg(name));
    return field;
}

void TDataSet::bindFields()
{
    const auto& columns = store_.Fields();
    if (!persistentFields_) {
        fields_.list_.clear();
        for (qsizetype i = 0; i < columns.size(); ++i) {
            auto field = CreateFieldOfType(columns[i].Type, columns[i].Size);
            field->fieldName_ = columns[i].Name;
            field->required_ = columns[i].Required;
            field->dataSet_ = this;
            field->column_ = static_cast<int>(i);
            fields_.list_.push_back(std::move(field));
        }
        rebuildFieldNames();
        return;
    }
    auto compatible = [](TFieldType a, TFieldType b) {
        auto group = [](TFieldType t) { return t == ftMemo ? ftString : t == ftDateTime ? ftDate : t; };
        return group(a) == group(b);
    };
    for (const auto& field : fields_.list_) {
        int column = -1;
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (columns[i].Name.compare(field->FieldName(), Qt::CaseInsensitive) == 0)
                column = static_cast<int>(i);
        if (column < 0)
            error(QStringLiteral("Field '%1' not found").arg(field->FieldName()));
        if (!compatible(field->DataType(), columns[column].Type))
            error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                      .arg(field->FieldName(), FieldTypeName(field->DataType()),
                          FieldTypeName(columns[column].Type)));
        field->column_ = column;
    }
}

void TDataSet::unbindFields()
{
    if (!persistentFields_) {
        fields_.list_.clear();
        rebuildFieldNames();
        return;
    }
    for (const auto& field : fields_.list_)
        field->column_ = -1;
}

// ---------------------------------------------------------------------------
// Cursor

bool TDataSet::ensureRecord(qint64 index)
{
    while (index >= store_.Count())
        if (!fetchMore(store_))
            return false;
    return index >= 0;
}

void TDataSet::fetchAll()
{
    while (fetchMore(store_)) { }
}

void TDataSet::setCurrent(qint64 index)
{
    current_ = index;
}

void TDataSet::scrolled()
{
    notify(deDataSetScroll);
    fire(afterScroll_);
}

void TDataSet::First()
{
    checkActive();
    CheckBrowseMode();
    setCurrent(store_.Count() > 0 || ensureRecord(0) ? 0 : -1);
    bof_ = true;
    eof_ = current_ < 0;
    scrolled();
}

void TDataSet::Last()
{
    checkActive();
    CheckBrowseMode();
    fetchAll();
    setCurrent(store_.Count() - 1);
    eof_ = true;
    bof_ = current_ < 0;
    scrolled();
}

int TDataSet::MoveBy(int distance)
{
    checkActive();
    CheckBrowseMode();
    if ((distance > 0 && eof_) || (distance < 0 && bof_) || distance == 0)
        return 0;
    bof_ = eof_ = false;
    int moved = 0;
    while (distance > 0) {
        if (!ensureRecord(current_ + 1)) {
            eof_ = true;
            break;
        }
        ++current_;
        ++moved;
        --distance;
    }
    while (distance < 0) {
        if (current_ <= 0) {
            bof_ = true;
            break;
        }
        --current_;
        --moved;
        ++distance;
    }
    if (store_.Count() == 0)
        bof_ = eof_ = true;
    scrolled();
    return moved;
}

void TDataSet::Next()
{
    MoveBy(1);
}

void TDataSet::Prior()
{
    MoveBy(-1);
}

int TDataSet::RecNo() const
{
    if (state_ == dsInsert)
        return -1;
    return hasCurrent() ? static_cast<int>(current_ + 1) : 0;
}

void TDataSet::SetRecNo(int recNo)
{
    checkActive();
    CheckBrowseMode();
    if (recNo < 1 || !ensureRecord(recNo - 1))
        return;
    setCurrent(recNo - 1);
    bof_ = eof_ = false;
    scrolled();
}

int TDataSet::RecordCount() const
{
    checkActive();
    return static_cast<int>(store_.Count());
}

bool TDataSet::IsEmpty() const
{
    return !Active() || (store_.Count() == 0 && state_ != dsInsert);
}

quint64 TDataSet::Bookmark() const
{
    return hasCurrent() && state_ != dsInsert ? static_cast<quint64>(currentSlot()) + 1 : 0;
}

bool TDataSet::BookmarkValid(quint64 bookmark) const
{
    return Active() && bookmark > 0 && store_.IndexOfSlot(static_cast<std::uint32_t>(bookmark - 1)) >= 0;
}

void TDataSet::GotoBookmark(quint64 bookmark)
{
    checkActive();
    CheckBrowseMode();
    const qint64 index = bookmark > 0 ? store_.IndexOfSlot(static_cast<std::uint32_t>(bookmark - 1)) : -1;
    if (index < 0)
        error(QStringLiteral("Record not found"));
    setCurrent(index);
    bof_ = eof_ = false;
    scrolled();
}

// ---------------------------------------------------------------------------
// Locate and Lookup

std::vector<int> TDataSet::columnsOf(const QString& fieldNames) const
{
    std::vector<int> columns;
    for (const QString& name : fieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        TField* field = FieldByName(name.trimmed());
        columns.push_back(field->column_);
    }
    if (columns.empty())
        error(QStringLiteral("No key fields given"));
    return columns;
}

bool TDataSet::matches(std::uint32_t slot, const std::vector<int>& columns, const VariantList& values,
    TLocateOptions options) const
{
    const auto& defs = store_.Fields();
    for (size_t k = 0; k < columns.size(); ++k) {
        const int c = columns[k];
        const Variant& wanted = values[static_cast<qsizetype>(k)];
        const bool cellNull = store_.IsNull(c, slot);
        if (wanted.IsEmptyOrNull()) {
            if (!cellNull)
                return false;
            continue;
        }
        const TFieldType type = defs[c].Type;
        if (type == ftString || type == ftMemo) {
            const QString cell = cellNull ? QString() : QString::fromUtf8(store_.Bytes(c, slot));
            const QString key = wanted.ToString();
            const auto cs = options.testFlag(loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
            const bool ok
                = options.testFlag(loPartialKey) ? cell.startsWith(key, cs) : cell.compare(key, cs) == 0;
            if (!ok)
                return false;
            continue;
        }
        if (cellNull)
            return false;
        try {
            if (RecordStore::ToColumnKind(type, wanted) != store_.Value(c, slot))
                return false;
        } catch (const EConvertError&) {
            return false; // a key that is no value of the field's type matches nothing
        }
    }
    return true;
}

qint64 TDataSet::find(const QString& keyFields, const Variant& keyValues, TLocateOptions options)
{
    checkActive();
    const std::vector<int> columns = columnsOf(keyFields);
    VariantList values;
    if (columns.size() == 1 && !keyValues.Deref().IsArray())
        values.append(keyValues.Deref());
    else if (keyValues.Deref().IsArray())
        values = keyValues.Deref().Elements();
    if (values.size() != static_cast<qsizetype>(columns.size()))
        error(QStringLiteral("%1 key values given for %2 key fields").arg(values.size()).arg(columns.size()));
    fetchAll();
    for (qint64 i = 0; i < store_.Count(); ++i)
        if (matches(store_.SlotAt(i), columns, values, options))
            return i;
    return -1;
}

bool TDataSet::Locate(const QString& keyFields, const Variant& keyValues, TLocateOptions options)
{
    checkActive();
    CheckBrowseMode();
    const qint64 index = find(keyFields, keyValues, options);
    if (index < 0)
        return false;
    setCurrent(index);
    bof_ = eof_ = false;
    scrolled();
    return true;
}

Variant TDataSet::Lookup(const QString& keyFields, const Variant& keyValues, const QString& resultFields)
{
    checkActive();
    const qint64 index = find(keyFields, keyValues, {});
    if (index < 0)
        return Variant::Null();
    const std::vector<int> columns = columnsOf(resultFields);
    const std::uint32_t slot = store_.SlotAt(index);
    if (columns.size() == 1)
        return store_.Value(columns[0], slot);
    Variant result = Variant::CreateArray(0, static_cast<int>(columns.size()) - 1);
    for (size_t i = 0; i < columns.size(); ++i)
        result[static_cast<int>(i)] = store_.Value(columns[i], slot);
    return result;
}

// ---------------------------------------------------------------------------
// Editing

bool TDataSet::cellIsNull(int column) const
{
    if (state_ == dsEdit || state_ == dsInsert)
        return buffer_[static_cast<size_t>(column)].IsNull();
    return !hasCurrent() || store_.IsNull(column, currentSlot());
}

Variant TDataSet::cellValue(int column) const
{
    if (state_ == dsEdit || state_ == dsInsert)
        return buffer_[static_cast<size_t>(column)];
    return hasCurrent() ? store_.Value(column, currentSlot()) : Variant::Null();
}

QString TDataSet::cellText(int column) const
{
    if (state_ == dsEdit || state_ == dsInsert)
        return buffer_[static_cast<size_t>(column)].ToString();
    return hasCurrent() ? QString::fromUtf8(store_.Bytes(column, currentSlot())) : QString();
}

double TDataSet::cellFloat(int column) const
{
    if (state_ == dsEdit || state_ == dsInsert)
        return buffer_[static_cast<size_t>(column)].ToDouble();
    return store_.Float(column, currentSlot());
}

qint64 TDataSet::cellInteger(int column) const
{
    if (state_ == dsEdit || state_ == dsInsert) {
        const Variant& v = buffer_[static_cast<size_t>(column)];
        return v.Type() == VarType::Boolean ? (v.ToBool() ? 1 : 0) : v.ToInt64();
    }
    return store_.Integer(column, currentSlot());
}

void TDataSet::setCell(TField* field, const Variant& value)
{
    if (state_ != dsEdit && state_ != dsInsert)
        error(QStringLiteral("Dataset not in edit or insert mode"));
    if (field->ReadOnly())
        error(QStringLiteral("Field '%1' cannot be modified").arg(field->FieldName()));
    // Converted now, so that a wrong value fails where it is assigned, not at Post.
    buffer_[static_cast<size_t>(field->column_)] = RecordStore::ToColumnKind(field->DataType(), value);
    modified_ = true;
    notify(deFieldChange, field);
}

void TDataSet::beginBuffer(TDataSetState state)
{
    buffer_.assign(static_cast<size_t>(store_.ColumnCount()), Variant::Null());
    if (state == dsEdit)
        for (int c = 0; c < store_.ColumnCount(); ++c)
            buffer_[static_cast<size_t>(c)] = store_.Value(c, currentSlot());
    state_ = state;
    modified_ = false;
    notify(deUpdateState);
}

void TDataSet::Edit()
{
    checkActive();
    if (state_ == dsEdit || state_ == dsInsert)
        return;
    if (!hasCurrent()) {
        Append();
        return;
    }
    beginBuffer(dsEdit);
}

void TDataSet::Insert()
{
    checkActive();
    CheckBrowseMode();
    beforeInsert_ = current_;
    insertAt_ = hasCurrent() ? current_ : store_.Count();
    beginBuffer(dsInsert);
    fire(onNewRecord_);
}

void TDataSet::Append()
{
    checkActive();
    CheckBrowseMode();
    fetchAll();
    beforeInsert_ = current_;
    insertAt_ = store_.Count();
    beginBuffer(dsInsert);
    fire(onNewRecord_);
}

void TDataSet::Post()
{
    checkActive();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    fire(beforePost_);
    for (const auto& field : fields_.list_)
        if (field->Required() && field->column_ >= 0 && buffer_[static_cast<size_t>(field->column_)].IsNull())
            error(QStringLiteral("Field '%1' must have a value").arg(field->FieldName()));
    if (state_ == dsInsert) {
        const std::uint32_t slot = store_.NewSlot();
        for (int c = 0; c < store_.ColumnCount(); ++c)
            store_.SetValue(c, slot, buffer_[static_cast<size_t>(c)]);
        store_.InsertAt(insertAt_, slot);
        current_ = insertAt_;
    } else {
        // Only changed cells are written: an unchanged text would only take heap space again.
        const std::uint32_t slot = currentSlot();
        for (int c = 0; c < store_.ColumnCount(); ++c)
            if (buffer_[static_cast<size_t>(c)] != store_.Value(c, slot))
                store_.SetValue(c, slot, buffer_[static_cast<size_t>(c)]);
    }
    state_ = dsBrowse;
    buffer_.clear();
    modified_ = false;
    bof_ = eof_ = false;
    notify(deUpdateState);
    notify(deDataSetChange);
    fire(afterPost_);
}

void TDataSet::Cancel()
{
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    if (state_ == dsInsert)
        current_ = beforeInsert_ < store_.Count() ? beforeInsert_ : store_.Count() - 1;
    state_ = dsBrowse;
    buffer_.clear();
    modified_ = false;
    eof_ = bof_ = store_.Count() == 0;
    notify(deUpdateState);
    notify(deDataSetChange);
}

void TDataSet::CheckBrowseMode()
{
    checkActive();
    if (state_ != dsEdit && state_ != dsInsert)
        return;
    if (modified_)
        Post();
    else
        Cancel();
}

void TDataSet::Delete()
{
    checkActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (!hasCurrent())
        error(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (state_ == dsEdit)
        Cancel();
    fire(beforeDelete_);
    store_.RemoveAt(current_);
    // The cursor stays in place, on the record that followed (fetched when
    // it is still at the server), or on the new last one.
    if (!ensureRecord(current_))
        current_ = store_.Count() - 1;
    eof_ = bof_ = store_.Count() == 0;
    notify(deDataSetChange);
    fire(afterDelete_);
    scrolled();
}

void TDataSet::EmptyDataSet()
{
    checkActive();
    if (state_ == dsEdit || state_ == dsInsert)
        Cancel();
    store_.Clear();
    discardPending();
    current_ = -1;
    eof_ = bof_ = true;
    notify(deDataSetChange);
}

// ---------------------------------------------------------------------------
// Data-aware controls

void TDataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0 && changedWhileDisabled_) {
        changedWhileDisabled_ = false;
        notify(deDataSetChange);
    }
}

int TDataSet::AddDataChangeListener(TDataChangeEvent listener)
{
    const int id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void TDataSet::RemoveDataChangeListener(int id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void TDataSet::notify(TDataEvent event, TField* field)
{
    if (disableCount_ > 0) {
        changedWhileDisabled_ = true;
        return;
    }
    // Each handler is called through a copy, so a listener may remove itself.
    for (size_t i = 0; i < listeners_.size(); ++i) {
        const TDataChangeEvent listener = listeners_[i].second;
        listener(this, event, field);
    }
}
