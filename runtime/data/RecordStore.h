#pragma once
// RecordStore: the cache of a client data set, kept by column in typed
// vectors so that hundreds of thousands of rows cost a few bytes a cell
// rather than a Variant each.
//
// Rows live in physical slots that are only ever appended; the logical order
// of the records is a separate vector of slot numbers, so inserting or
// deleting a record moves four bytes per record instead of every cell. A slot
// that is deleted stays unused until the store is cleared.
//
// Text, memo and blob cells are kept exactly as the data packet encodes them
// (a varint byte count, then the UTF-8 text or the bytes) in one byte heap
// per column, each cell pointing at its start; an edited cell is appended
// anew and the old bytes are left behind.

#include "runtime/data/DataPacket.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>
#include <vector>

// Allocator of the column vectors: a block of several megabytes is mapped
// apart and asked to use huge pages, because filling a cache of hundreds of
// megabytes otherwise spends as much time taking page faults as copying data.
template<typename T> struct ColumnAllocator {
    using value_type = T;
    ColumnAllocator() = default;
    template<typename U> ColumnAllocator(const ColumnAllocator<U>&) noexcept { }
    T* allocate(std::size_t n) { return static_cast<T*>(columnAllocate(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { columnFree(p, n * sizeof(T)); }
    template<typename U> bool operator==(const ColumnAllocator<U>&) const noexcept { return true; }

    static void* columnAllocate(std::size_t bytes);
    static void columnFree(void* p, std::size_t bytes) noexcept;
};

template<typename T> using ColumnVector = std::vector<T, ColumnAllocator<T>>;

class RecordStore {
public:
    // Drops everything and takes a new set of columns.
    void Reset(const QList<FieldDescriptor>& fields);
    // Drops every row, keeps the columns.
    void Clear();

    const QList<FieldDescriptor>& Fields() const { return fields_; }
    int ColumnCount() const { return static_cast<int>(fields_.size()); }
    // Live records, in their logical order.
    qint64 Count() const { return static_cast<qint64>(order_.size()); }

    // Physical slot of the record at logical position index (0-based).
    std::uint32_t SlotAt(qint64 index) const { return order_[static_cast<size_t>(index)]; }
    // Logical position of a slot, -1 when it is not (or no longer) a record.
    qint64 IndexOfSlot(std::uint32_t slot) const;
    // A new slot whose cells are all null, not yet part of the order.
    std::uint32_t NewSlot();
    void InsertAt(qint64 index, std::uint32_t slot);
    void RemoveAt(qint64 index);

    // Appends the remaining rows of a packet whose fields match the columns
    // (raises EDatabaseError otherwise, and for a damaged packet, of which no
    // row is kept). Returns the number of rows appended.
    qint64 AppendPacket(DataPacketReader& reader);

    bool IsNull(int column, std::uint32_t slot) const;
    qint64 Integer(int column, std::uint32_t slot) const; // Integer and Boolean columns
    double Float(int column, std::uint32_t slot) const; // Float, Date and DateTime columns
    bool Boolean(int column, std::uint32_t slot) const; // Boolean columns
    QByteArrayView Bytes(int column, std::uint32_t slot) const; // String, Memo and Blob columns
    // The cell as a Variant of the column's kind (Null for a null cell).
    Variant Value(int column, std::uint32_t slot) const;
    // Stores a value already converted to the column's kind (see ToColumnKind).
    void SetValue(int column, std::uint32_t slot, const Variant& value);

    // Converts a value to the kind a column of this type holds: Null stays
    // Null; raises EConvertError (or EVariantTypeCastError) when it cannot.
    static Variant ToColumnKind(TFieldType type, const Variant& value);

    // Bytes held by the cells, the order and the null marks.
    qint64 MemoryBytes() const;

private:
    struct Column {
        TFieldType type = ftUnknown;
        ColumnVector<std::uint64_t> nulls; // one bit per slot
        ColumnVector<qint64> ints; // Integer
        ColumnVector<double> reals; // Float, Date, DateTime
        ColumnVector<std::uint8_t> bools; // Boolean
        ColumnVector<std::uint32_t> offsets; // String, Memo, Blob: start of the cell in heap
        ColumnVector<char> heap;
    };
    void setNull(Column& c, std::uint32_t slot, bool null);
    void appendEncoded(Column& c, std::uint32_t slot, QByteArrayView encoded);
    void growTo(std::uint32_t count);
    static constexpr qint64 kSampleRows = 64;
    void reserveText(const std::vector<size_t>& heapStart, qint64 expected);

    QList<FieldDescriptor> fields_;
    std::vector<Column> columns_;
    ColumnVector<std::uint32_t> order_;
    std::uint32_t slots_ = 0;
};
