#pragma once
// RecordStore: the cache of a client data set. Rows are kept by row in the
// data packets' own encoding (null marks, then each non-null cell), most of
// them inside the packets they arrived in: a packet is validated row by row
// and then kept as it is (its QByteArray is shared, not copied), and each row
// costs one 8-byte location (block, offset) in the store plus four bytes in
// the order.
//
// Rows live in physical slots that are only ever appended; the logical order
// of the records is a separate vector of slot numbers, so inserting or
// deleting a record moves four bytes per record instead of a row. A slot that
// is deleted stays unused until the store is cleared.
//
// A new or edited row is encoded anew into a block the store owns, the slot
// then points there; the packet's bytes are never written. The rows of a
// packet are copied into an owned block instead of keeping the packet when
// its header outweighs them (a few rows of many fields), when its bytes are
// borrowed (QByteArray::fromRawData) or when it sits in an allocation much
// larger than itself.
//
// Reading a cell needs the positions of the row's cells, found by walking the
// row from its start. The positions are decoded as far as a read needs them
// and kept for the last few rows read, since a report reads many fields of a
// record before moving on and a search or a sort compares two records in
// turn. That cache makes the const readers unsafe to call from two threads at
// once.

#include "runtime/data/DataPacket.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

class RecordStore {
public:
    RecordStore() = default;
    // The cell cache points into the blocks, which a move keeps in place.
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;
    RecordStore(RecordStore&&) noexcept = default;
    RecordStore& operator=(RecordStore&&) noexcept = default;

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

    // Typed readers answer 0, false or an empty view for a null cell.
    bool IsNull(int column, std::uint32_t slot) const;
    qint64 Integer(int column, std::uint32_t slot) const; // Integer and Boolean columns
    double Float(int column, std::uint32_t slot) const; // Float, Date and DateTime columns
    bool Boolean(int column, std::uint32_t slot) const; // Boolean columns
    // String, Memo and Blob columns; the view is valid until the store changes.
    QByteArrayView Bytes(int column, std::uint32_t slot) const;
    // The cell as a Variant of the column's kind (Null for a null cell).
    Variant Value(int column, std::uint32_t slot) const;
    // Stores a value already converted to the column's kind (see ToColumnKind).
    void SetValue(int column, std::uint32_t slot, const Variant& value);

    // Converts a value to the kind a column of this type holds: Null stays
    // Null; raises EConvertError (or EVariantTypeCastError) when it cannot.
    static Variant ToColumnKind(TFieldType type, const Variant& value);

    // Bytes held: the packets kept, the owned blocks, the row locations, the
    // order and the cell cache.
    qint64 MemoryBytes() const;

private:
    // A block of encoded rows: a data packet kept whole (its header and any
    // rows read before it came here included), or a block the store owns and
    // fills from its start.
    struct Block {
        QByteArray bytes; // an owned block is sized to its capacity
        qsizetype used = 0; // bytes that hold rows (a packet: all of it)
        bool owned = false;
    };
    // A row's place: block number in the high bits, offset in the low bits.
    using Location = std::uint64_t;
    static constexpr int kOffsetBits = 40;
    static constexpr Location kOffsetMask = (Location(1) << kOffsetBits) - 1;
    static constexpr std::uint64_t kMaxBlocks = std::uint64_t(1) << (64 - kOffsetBits);
    static Location locate(size_t block, qsizetype offset)
    {
        return (static_cast<Location>(block) << kOffsetBits) | static_cast<Location>(offset);
    }
    static size_t blockOf(Location at) { return static_cast<size_t>(at >> kOffsetBits); }
    static qsizetype offsetOf(Location at) { return static_cast<qsizetype>(at & kOffsetMask); }

    // Cell starts of one row, relative to the row; cell i spans
    // [starts[i], starts[i + 1]) and is null when that span is empty (every
    // non-null cell takes at least one byte). starts[0..known] are valid.
    struct DecodedRow {
        std::uint32_t slot = kNoSlot;
        const char* row = nullptr;
        int known = 0;
        std::uint64_t lastUse = 0;
        std::vector<qsizetype> starts;
    };
    static constexpr std::uint32_t kNoSlot = 0xFFFFFFFFu;
    static constexpr size_t kCachedRows = 4;

    const char* rowData(std::uint32_t slot) const
    {
        const Location at = rows_[slot];
        return blocks_[blockOf(at)].bytes.constData() + offsetOf(at);
    }
    bool nullMark(const char* row, int column) const { return row[column / 8] & (1 << (column % 8)); }
    // The slot's row with its cell starts decoded at least up to column + 1.
    const DecodedRow& decoded(std::uint32_t slot, int column) const
    {
        DecodedRow& r = cache_[lastHit_];
        if (r.slot != slot)
            return decodedSlow(slot, column);
        if (column >= r.known)
            decodeTo(r, decodeEnd(column));
        return r;
    }
    const DecodedRow& decodedSlow(std::uint32_t slot, int column) const;
    // Cells are decoded sixteen at a time: a record read field by field in
    // order takes a few steps, a search by an early field stops early.
    int decodeEnd(int column) const { return std::min(ColumnCount(), (column | 15) + 1); }
    // A non-null cell of the row: its first byte and its length; null gives nullptr.
    const char* cell(const DecodedRow& r, int column, qsizetype& length) const
    {
        const qsizetype start = r.starts[static_cast<size_t>(column)];
        length = r.starts[static_cast<size_t>(column) + 1] - start;
        return length ? r.row + start : nullptr;
    }
    void decodeTo(DecodedRow& row, int count) const;
    qsizetype rowLength(const char* row) const;
    void prefetchAfter(std::uint32_t slot) const;
    void forgetAll() const;

    // Room for bytes at the end of the owned blocks; a new block when the
    // last one is full.
    Location ownedRoom(qsizetype bytes);
    char* writable(Location at) { return blocks_[blockOf(at)].bytes.data() + offsetOf(at); }
    bool isOwned(std::uint32_t slot) const { return blocks_[blockOf(rows_[slot])].owned; }
    size_t newBlockIndex();
    // Moves the live owned rows together once edits have left enough dead
    // bytes behind.
    void compactIfWasteful();
    void checkRoomForSlots(quint64 more) const;

    QList<FieldDescriptor> fields_;
    std::vector<TFieldType> types_;
    // Per column, how to step over a non-null cell: a fixed byte count, or
    // one of these two.
    static constexpr std::uint8_t kLengthFirst = 0xFF; // varint byte count, then the bytes
    static constexpr std::uint8_t kVarint = 0xFE; // one zig-zag varint
    std::vector<std::uint8_t> cellSizes_;
    qsizetype markBytes_ = 0;
    std::vector<Block> blocks_;
    std::vector<size_t> freeBlocks_; // indices of emptied owned blocks, for reuse
    size_t lastOwned_ = SIZE_MAX; // owned block being filled
    qsizetype ownedBytes_ = 0; // capacity of the owned blocks
    qsizetype deadBytes_ = 0; // bytes of owned rows no slot points at any more
    // The row last written by an edit, when nothing was written behind it:
    // further edits of that row rewrite it in place.
    std::uint32_t tailSlot_ = kNoSlot;
    std::vector<Location> rows_; // per slot
    std::vector<std::uint32_t> order_;

    mutable std::array<DecodedRow, kCachedRows> cache_;
    mutable size_t lastHit_ = 0;
    mutable std::uint64_t useClock_ = 0;
};
