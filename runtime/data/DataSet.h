#pragma once
// TDataSet: a cursor over cached records with typed fields, the common part
// of the client data sets. Records are held by a RecordStore; the cursor,
// the edit buffer, the events and the field list live here. A descendant
// supplies the rows when the data set opens (openData) and, when its rows
// arrive in packets, the next packet when the cursor runs past the last one
// (fetchMore).
//
// States: dsInactive (closed), dsBrowse, dsEdit (the current record is being
// changed in a buffer), dsInsert (a new record is being built in a buffer).
// Moving the cursor while editing posts a changed buffer and drops an
// unchanged one, as the original runtime does.

#include "runtime/data/Field.h"
#include "runtime/data/RecordStore.h"

#include <QFlags>
#include <QHash>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

// What data-aware controls hear of a data set.
enum TDataEvent { deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deUpdateState };

using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
using TDataChangeEvent = std::function<void(TDataSet* dataSet, TDataEvent event, TField* field)>;

// The definitions a local data set is created from.
class TFieldDefs {
public:
    void Add(const QString& name, TFieldType type, int size = 0, bool required = false);
    void Clear()
    {
        defs_.clear();
        byName_.clear();
    }
    int Count() const { return static_cast<int>(defs_.size()); }
    const FieldDescriptor& operator[](int index) const { return defs_[index]; }
    int IndexOf(const QString& name) const; // -1 when absent; names compare without case
    const QList<FieldDescriptor>& Items() const { return defs_; }
    void Assign(const QList<FieldDescriptor>& defs);

private:
    QList<FieldDescriptor> defs_;
    // Case-folded name -> first index: a report's 300 columns made a scan
    // per added name cost some 50,000 comparisons per open.
    QHash<QString, int> byName_;
};

// The field list of a data set (owned by it).
class TFields {
public:
    int Count() const { return static_cast<int>(list_.size()); }
    TField* operator[](int index) const { return list_[static_cast<size_t>(index)].get(); }
    TField* Field(int index) const { return (*this)[index]; }
    TField* FindField(const QString& name) const; // nullptr when absent
    int IndexOf(const TField* field) const;

private:
    friend class TDataSet;
    std::vector<std::unique_ptr<TField>> list_;
    QHash<QString, TField*> byName_; // lower-case name
};

class TDataSet : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)

public:
    explicit TDataSet(QObject* owner = nullptr);
    ~TDataSet() override;

    QString Name() const { return objectName(); }
    void SetName(const QString& name) { setObjectName(name); }
    QString ClassName() const { return QString::fromLatin1(metaObject()->className()); }

    void Open();
    void Close();
    bool Active() const { return state_ != dsInactive; }
    void SetActive(bool active);
    TDataSetState State() const { return state_; }

    // Fields.
    TFields& Fields() { return fields_; }
    const TFields& Fields() const { return fields_; }
    int FieldCount() const { return fields_.Count(); }
    TField* FindField(const QString& name) const { return fields_.FindField(name); }
    // Raises EDatabaseError "Field 'NAME' not found".
    TField* FieldByName(const QString& name) const;
    TFieldDefs& FieldDefs() { return fieldDefs_; }
    // Declares a persistent field before Open; it is bound by name when the
    // data set opens. Returns the field, owned by the data set.
    TField* AddField(std::unique_ptr<TField> field, const QString& name);
    template<typename F, typename... Args> F* AddField(const QString& name, Args&&... args)
    {
        return static_cast<F*>(AddField(std::make_unique<F>(std::forward<Args>(args)...), name));
    }
    // Removes every persistent field (only while closed).
    void ClearFields();

    // Cursor. RecNo counts from 1; it is 0 for an empty data set and -1 for a
    // record being inserted.
    void First();
    void Last();
    void Next();
    void Prior();
    int MoveBy(int distance);
    bool Eof() const { return eof_; }
    bool Bof() const { return bof_; }
    int RecNo() const;
    void SetRecNo(int recNo);
    // Records in the cache (a data set reading in packets counts those fetched).
    int RecordCount() const;
    bool IsEmpty() const;
    // Identity of the current record that survives inserts and deletes; 0 = none.
    quint64 Bookmark() const;
    bool BookmarkValid(quint64 bookmark) const;
    void GotoBookmark(quint64 bookmark);

    // Finds the first record whose fields (names separated by ";") hold the
    // values (a Variant array when there are several fields) and makes it
    // current. Partial keys and case apply to text fields. Reads every
    // remaining packet first. False, with the cursor unmoved, when none.
    bool Locate(const QString& keyFields, const Variant& keyValues, TLocateOptions options = {});
    // The value(s) of resultFields in the first record matching exactly; Null when none.
    Variant Lookup(const QString& keyFields, const Variant& keyValues, const QString& resultFields);

    // Editing of the cached records.
    void Edit();
    void Insert();
    void Append();
    // Raises EDatabaseError for a required field without a value.
    void Post();
    void Cancel();
    void Delete();
    // Removes every record, keeps the fields.
    void EmptyDataSet();
    bool Modified() const { return modified_; }
    // Posts a changed buffer, drops an unchanged one.
    void CheckBrowseMode();

    // Data-aware controls: while disabled, no change reaches them; the last
    // EnableControls tells them the data set changed.
    void DisableControls() { ++disableCount_; }
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }
    int AddDataChangeListener(TDataChangeEvent listener);
    void RemoveDataChangeListener(int id);

    // Events.
    const TDataSetNotifyEvent& BeforeOpen() const { return beforeOpen_; }
    void SetBeforeOpen(TDataSetNotifyEvent e) { beforeOpen_ = std::move(e); }
    const TDataSetNotifyEvent& AfterOpen() const { return afterOpen_; }
    void SetAfterOpen(TDataSetNotifyEvent e) { afterOpen_ = std::move(e); }
    const TDataSetNotifyEvent& BeforeClose() const { return beforeClose_; }
    void SetBeforeClose(TDataSetNotifyEvent e) { beforeClose_ = std::move(e); }
    const TDataSetNotifyEvent& AfterClose() const { return afterClose_; }
    void SetAfterClose(TDataSetNotifyEvent e) { afterClose_ = std::move(e); }
    const TDataSetNotifyEvent& AfterScroll() const { return afterScroll_; }
    void SetAfterScroll(TDataSetNotifyEvent e) { afterScroll_ = std::move(e); }
    const TDataSetNotifyEvent& BeforePost() const { return beforePost_; }
    void SetBeforePost(TDataSetNotifyEvent e) { beforePost_ = std::move(e); }
    const TDataSetNotifyEvent& AfterPost() const { return afterPost_; }
    void SetAfterPost(TDataSetNotifyEvent e) { afterPost_ = std::move(e); }
    const TDataSetNotifyEvent& BeforeDelete() const { return beforeDelete_; }
    void SetBeforeDelete(TDataSetNotifyEvent e) { beforeDelete_ = std::move(e); }
    const TDataSetNotifyEvent& AfterDelete() const { return afterDelete_; }
    void SetAfterDelete(TDataSetNotifyEvent e) { afterDelete_ = std::move(e); }
    const TDataSetNotifyEvent& OnNewRecord() const { return onNewRecord_; }
    void SetOnNewRecord(TDataSetNotifyEvent e) { onNewRecord_ = std::move(e); }

    // Bytes the cached records take (for measurements).
    qint64 CacheBytes() const { return store_.MemoryBytes(); }

protected:
    // Fills the store with the data set's columns and first rows (Reset then
    // AppendPacket); called by Open after BeforeOpen.
    virtual void openData(RecordStore& store) = 0;
    // Appends the next packet of rows; false when there are no more.
    virtual bool fetchMore(RecordStore&) { return false; }
    // Called by Close after the cache is dropped.
    virtual void closeData() { }
    // Called when every record was removed: rows still waiting are not wanted.
    virtual void discardPending() { }
    // Reads every packet that remains.
    void fetchAll();
    RecordStore& store() { return store_; }
    // Makes an inactive data set active over rows already in the store.
    void activate();
    [[noreturn]] void error(const QString& message) const;

private:
    friend class TField;

    // Cell access for fields: the edit buffer while editing, else the current record.
    bool cellIsNull(int column) const;
    Variant cellValue(int column) const;
    QString cellText(int column) const; // text columns only
    double cellFloat(int column) const; // Float, Date and DateTime columns, not null
    qint64 cellInteger(int column) const; // Integer and Boolean columns, not null
    void setCell(TField* field, const Variant& value);

    void bindFields();
    void unbindFields();
    void rebuildFieldNames();
    bool hasCurrent() const { return current_ >= 0 && current_ < store_.Count(); }
    std::uint32_t currentSlot() const { return store_.SlotAt(current_); }
    bool ensureRecord(qint64 index); // fetches until index exists
    void setCurrent(qint64 index);
    void scrolled();
    void notify(TDataEvent event, TField* field = nullptr);
    void fire(const TDataSetNotifyEvent& event)
    {
        if (event)
            event(this);
    }
    void checkActive() const;
    void beginBuffer(TDataSetState state);
    bool matches(std::uint32_t slot, const std::vector<int>& columns, const VariantList& values,
        TLocateOptions options) const;
    std::vector<int> columnsOf(const QString& fieldNames) const;
    qint64 find(const QString& keyFields, const Variant& keyValues, TLocateOptions options);

    RecordStore store_;
    TFields fields_;
    TFieldDefs fieldDefs_;
    bool persistentFields_ = false;
    TDataSetState state_ = dsInactive;
    qint64 current_ = -1; // logical index of the current record
    bool eof_ = true;
    bool bof_ = true;
    std::vector<Variant> buffer_; // edit or insert buffer, one cell per column
    bool modified_ = false;
    qint64 insertAt_ = 0;
    qint64 beforeInsert_ = -1;
    int disableCount_ = 0;
    bool changedWhileDisabled_ = false;
    int nextListenerId_ = 1;
    std::vector<std::pair<int, TDataChangeEvent>> listeners_;

    TDataSetNotifyEvent beforeOpen_, afterOpen_, beforeClose_, afterClose_, afterScroll_, beforePost_,
        afterPost_, beforeDelete_, afterDelete_, onNewRecord_;
};
