#include "runtime/data/RecordStore.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

double readDouble(const char* in)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void appendVarint(QByteArray& out, std::uint64_t value)
{
    do {
        auto byte = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        if (value)
            byte |= 0x80;
        out.append(static_cast<char>(byte));
    } while (value);
}

void appendDouble(QByteArray& out, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i)
        out.append(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

// Owned blocks start small (most data sets edit a few records) and grow
// geometrically up to this size; a block is never reallocated once made.
constexpr qsizetype kFirstBlock = 4096;
constexpr qsizetype kLargestBlock = qsizetype(4) << 20;
// Rows of a packet are copied out of it when its header (the field
// descriptors) would take more than an eighth of what the rows take.
constexpr qsizetype kHeaderShare = 8;
// Room beyond twice a packet's size that it may come with and still be kept.
constexpr qsizetype kSlack = 64 * 1024;
// Edits leave the old row behind; the owned rows are moved together when
// the dead bytes pass this and make up half the owned blocks or more.
constexpr qsizetype kCompactAfter = qsizetype(1) << 20;

} // namespace

void RecordStore::Reset(const QList<FieldDescriptor>& fields)
{
    fields_ = fields;
    types_.clear();
    cellSizes_.clear();
    for (const auto& f : fields) {
        types_.push_back(f.Type);
        switch (f.Type) {
        case ftInteger:
            cellSizes_.push_back(kVarint);
            break;
        case ftFloat:
        case ftDate:
        case ftDateTime:
            cellSizes_.push_back(8);
            break;
        case ftBoolean:
            cellSizes_.push_back(1);
            break;
        case ftString:
        case ftMemo:
        case ftBlob:
            cellSizes_.push_back(kLengthFirst);
            break;
        case ftUnknown:
            cellSizes_.push_back(0);
            break;
        }
    }
    markBytes_ = (fields.size() + 7) / 8;
    std::vector<Block>().swap(blocks_);
    freeBlocks_.clear();
    lastOwned_ = SIZE_MAX;
    ownedBytes_ = deadBytes_ = 0;
    tailSlot_ = kNoSlot;
    std::vector<Location>().swap(rows_); // the memory goes too, not only the rows
    std::vector<std::uint32_t>().swap(order_);
    for (auto& c : cache_) {
        c = DecodedRow {};
        c.starts.assign(static_cast<size_t>(fields.size()) + 1, 0);
    }
    lastHit_ = 0;
}

void RecordStore::Clear()
{
    Reset(QList<FieldDescriptor>(fields_));
}

qint64 RecordStore::IndexOfSlot(std::uint32_t slot) const
{
    // Slots are appended in record order unless records were inserted in
    // between, so the slot's own number is the best first guess.
    if (slot < order_.size() && order_[slot] == slot)
        return slot;
    const auto it = std::find(order_.begin(), order_.end(), slot);
    return it == order_.end() ? -1 : static_cast<qint64>(it - order_.begin());
}

void RecordStore::checkRoomForSlots(quint64 more) const
{
    if (static_cast<quint64>(rows_.size()) + more >= kNoSlot)
        throw EDatabaseError(QStringLiteral("Too many records"));
}

size_t RecordStore::newBlockIndex()
{
    if (!freeBlocks_.empty()) {
        const size_t index = freeBlocks_.back();
        freeBlocks_.pop_back();
        return index;
    }
    if (blocks_.size() >= kMaxBlocks)
        throw EDatabaseError(QStringLiteral("Too many data packets in one data set"));
    blocks_.emplace_back();
    return blocks_.size() - 1;
}

RecordStore::Location RecordStore::ownedRoom(qsizetype bytes)
{
    if (lastOwned_ != SIZE_MAX) {
        Block& b = blocks_[lastOwned_];
        if (b.bytes.size() - b.used >= bytes) {
            const Location at = locate(lastOwned_, b.used);
            b.used += bytes;
            return at;
        }
    }
    if (static_cast<Location>(bytes) > kOffsetMask)
        throw EDatabaseError(QStringLiteral("A record of %1 bytes is too large").arg(bytes));
    const qsizetype previous = lastOwned_ != SIZE_MAX ? blocks_[lastOwned_].bytes.size() : 0;
    const qsizetype size = std::max(bytes, std::clamp(previous * 2, kFirstBlock, kLargestBlock));
    QByteArray room(size, Qt::Uninitialized);
    const size_t index = newBlockIndex();
    Block& b = blocks_[index];
    b.bytes = std::move(room);
    b.used = bytes;
    b.owned = true;
    lastOwned_ = index;
    ownedBytes_ += size;
    return locate(index, 0);
}

std::uint32_t RecordStore::NewSlot()
{
    checkRoomForSlots(1);
    // A row of null marks only: every field set, no cell follows.
    const Location at = ownedRoom(markBytes_);
    char* row = writable(at);
    std::memset(row, 0, static_cast<size_t>(markBytes_));
    for (int i = 0; i < ColumnCount(); ++i)
        row[i / 8] = static_cast<char>(row[i / 8] | (1 << (i % 8)));
    const auto slot = static_cast<std::uint32_t>(rows_.size());
    rows_.push_back(at);
    tailSlot_ = slot;
    return slot;
}

void RecordStore::InsertAt(qint64 index, std::uint32_t slot)
{
    order_.insert(order_.begin() + index, slot);
}

void RecordStore::RemoveAt(qint64 index)
{
    order_.erase(order_.begin() + index);
}

qint64 RecordStore::AppendPacket(DataPacketReader& reader)
{
    const auto& incoming = reader.Fields();
    if (incoming.size() != fields_.size())
        throw EDatabaseError(QStringLiteral("Data packet has %1 fields where %2 were expected")
                                 .arg(incoming.size())
                                 .arg(fields_.size()));
    for (qsizetype i = 0; i < incoming.size(); ++i)
        if (incoming[i].Type != fields_[i].Type
            || incoming[i].Name.compare(fields_[i].Name, Qt::CaseInsensitive) != 0)
            throw EDatabaseError(QStringLiteral("Data packet field '%1' does not match field '%2'")
                                     .arg(incoming[i].Name, fields_[i].Name));

    const qint64 expected = reader.RowCount() - reader.RowsRead();
    checkRoomForSlots(static_cast<quint64>(expected));
    const QByteArray& packet = reader.Packet();
    if (static_cast<Location>(packet.size()) > kOffsetMask)
        throw EDatabaseError(QStringLiteral("A data packet of %1 bytes is too large").arg(packet.size()));
    // The reader has checked that the packet's bytes can hold this many rows.
    const size_t first = rows_.size();
    const size_t wanted = first + static_cast<size_t>(expected);
    if (wanted > rows_.capacity())
        rows_.reserve(std::max(wanted, rows_.capacity() * 2));
    const size_t wantedOrder = order_.size() + static_cast<size_t>(expected);
    if (wantedOrder > order_.capacity())
        order_.reserve(std::max(wantedOrder, order_.capacity() * 2));

    // Every row is checked before any is kept; offsets into the packet are
    // noted meanwhile and given their block once the packet has passed.
    try {
        while (reader.NextRow())
            rows_.push_back(static_cast<Location>(reader.RowOffset()));
    } catch (...) {
        // A damaged packet is refused whole: none of its rows stay.
        rows_.resize(first);
        throw;
    }
    const qint64 appended = static_cast<qint64>(rows_.size() - first);
    if (appended == 0)
        return 0;

    const qsizetype rowsStart = static_cast<qsizetype>(rows_[first]);
    const qsizetype rowsBytes = packet.size() - rowsStart;
    // A packet is kept when its rows make up most of it, only when it owns
    // its bytes (a packet over borrowed memory could vanish under us) and
    // when its allocation is at most about twice its size: a writer that
    // doubles its buffer leaves that much, but a packet cut out of a much
    // larger buffer would hold all of it.
    QByteArray shared = packet;
    const bool keep = shared.data_ptr().isMutable() && rowsStart <= rowsBytes / kHeaderShare
        && shared.capacity() <= 2 * shared.size() + kSlack;
    try {
        if (keep) {
            const size_t index = newBlockIndex();
            blocks_[index] = Block {std::move(shared), packet.size(), false};
            for (size_t s = first; s < rows_.size(); ++s)
                rows_[s] = locate(index, static_cast<qsizetype>(rows_[s]));
        } else {
            // Rows are contiguous: one copy takes them all.
            const Location at = ownedRoom(rowsBytes);
            std::memcpy(writable(at), packet.constData() + rowsStart, static_cast<size_t>(rowsBytes));
            tailSlot_ = kNoSlot;
            for (size_t s = first; s < rows_.size(); ++s)
                rows_[s] = at + static_cast<Location>(static_cast<qsizetype>(rows_[s]) - rowsStart);
        }
    } catch (...) {
        rows_.resize(first);
        throw;
    }
    for (size_t s = first; s < rows_.size(); ++s)
        order_.push_back(static_cast<std::uint32_t>(s));
    return appended;
}

// ---------------------------------------------------------------------------
// Reading

void RecordStore::decodeTo(DecodedRow& r, int count) const
{
    // Locals throughout: a store through starts could alias the row's and
    // the sizes' bytes as far as the compiler knows.
    const char* row = r.row;
    const std::uint8_t* sizes = cellSizes_.data();
    qsizetype* starts = r.starts.data();
    qsizetype pos = starts[r.known];
    for (int i = r.known; i < count;) {
        // The null marks of up to eight fields at a time.
        unsigned marks = static_cast<unsigned char>(row[i >> 3]) >> (i & 7);
        const int end = std::min(count, (i | 7) + 1);
        for (; i < end; ++i, marks >>= 1) {
            if (!(marks & 1)) {
                const std::uint8_t size = sizes[i];
                if (size == kLengthFirst) {
                    // The row was checked when it came: its lengths hold.
                    std::uint64_t length = 0;
                    datapacket::ReadVarint(row, std::numeric_limits<qsizetype>::max(), pos, length);
                    pos += static_cast<qsizetype>(length);
                } else if (size == kVarint) {
                    while (row[pos++] & 0x80) { }
                } else {
                    pos += size;
                }
            }
            starts[i + 1] = pos;
        }
    }
    r.known = count;
}

const RecordStore::DecodedRow& RecordStore::decodedSlow(std::uint32_t slot, int column) const
{
    DecodedRow* r = &cache_[lastHit_];
    if (r->slot != slot) {
        r = nullptr;
        size_t victim = 0;
        for (size_t i = 0; i < kCachedRows; ++i) {
            if (cache_[i].slot == slot) {
                r = &cache_[i];
                lastHit_ = i;
                break;
            }
            if (cache_[i].lastUse < cache_[victim].lastUse)
                victim = i;
        }
        if (!r) {
            prefetchAfter(slot);
            r = &cache_[victim];
            lastHit_ = victim;
            r->slot = slot;
            r->row = rowData(slot);
            r->known = 0;
            r->starts[0] = markBytes_;
        }
        r->lastUse = ++useClock_;
    }
    if (column >= r->known)
        decodeTo(*r, decodeEnd(column));
    return *r;
}

void RecordStore::forgetAll() const
{
    for (auto& c : cache_) {
        c.slot = kNoSlot;
        c.lastUse = 0;
    }
}

qsizetype RecordStore::rowLength(const char* row) const
{
    DecodedRow r;
    r.row = row;
    r.starts.assign(types_.size() + 1, 0);
    r.starts[0] = markBytes_;
    decodeTo(r, ColumnCount());
    return r.starts.back();
}

bool RecordStore::IsNull(int column, std::uint32_t slot) const
{
    const DecodedRow& last = cache_[lastHit_];
    if (last.slot == slot)
        return nullMark(last.row, column);
    for (const DecodedRow& r : cache_)
        if (r.slot == slot)
            return nullMark(r.row, column);
    return nullMark(rowData(slot), column);
}

void RecordStore::prefetchAfter(std::uint32_t slot) const
{
    // Records are mostly visited in slot order: the next row is asked for
    // from memory while this one is read.
    if (slot + 1 < rows_.size())
        __builtin_prefetch(rowData(slot + 1));
}

qint64 RecordStore::Integer(int column, std::uint32_t slot) const
{
    const TFieldType type = types_[static_cast<size_t>(column)];
    if (type != ftInteger && type != ftBoolean)
        return Value(column, slot).ToInt64();
    qsizetype length = 0;
    const char* at = cell(decoded(slot, column), column, length);
    if (!at)
        return 0;
    if (type == ftBoolean)
        return *at ? 1 : 0;
    qsizetype pos = 0;
    std::uint64_t v = 0;
    datapacket::ReadVarint(at, length, pos, v);
    return datapacket::ZigZagDecode(v);
}

double RecordStore::Float(int column, std::uint32_t slot) const
{
    const TFieldType type = types_[static_cast<size_t>(column)];
    if (type != ftFloat && type != ftDate && type != ftDateTime)
        return type == ftInteger || type == ftBoolean ? static_cast<double>(Integer(column, slot))
                                                      : Value(column, slot).ToDouble();
    qsizetype length = 0;
    const char* at = cell(decoded(slot, column), column, length);
    return at ? readDouble(at) : 0.0;
}

bool RecordStore::Boolean(int column, std::uint32_t slot) const
{
    if (types_[static_cast<size_t>(column)] != ftBoolean)
        return Value(column, slot).ToBool();
    qsizetype length = 0;
    const char* at = cell(decoded(slot, column), column, length);
    return at && *at != 0;
}

QByteArrayView RecordStore::Bytes(int column, std::uint32_t slot) const
{
    const TFieldType type = types_[static_cast<size_t>(column)];
    if (type != ftString && type != ftMemo && type != ftBlob)
        return {};
    qsizetype length = 0;
    const char* at = cell(decoded(slot, column), column, length);
    if (!at)
        return {};
    qsizetype pos = 0;
    std::uint64_t bytes = 0;
    datapacket::ReadVarint(at, length, pos, bytes);
    return QByteArrayView(at + pos, static_cast<qsizetype>(bytes));
}

Variant RecordStore::Value(int column, std::uint32_t slot) const
{
    if (IsNull(column, slot))
        return Variant::Null();
    switch (types_[static_cast<size_t>(column)]) {
    case ftString:
    case ftMemo:
        return Variant(QString::fromUtf8(Bytes(column, slot)));
    case ftBlob:
        return Variant(Bytes(column, slot).toByteArray());
    case ftInteger:
        return Variant(Integer(column, slot));
    case ftFloat:
        return Variant(Float(column, slot));
    case ftDate:
    case ftDateTime:
        return Variant::FromDate(Float(column, slot));
    case ftBoolean:
        return Variant(Boolean(column, slot));
    case ftUnknown:
        break;
    }
    return Variant::Null();
}

Variant RecordStore::ToColumnKind(TFieldType type, const Variant& value)
{
    const Variant& v = value.Deref();
    if (v.IsEmptyOrNull())
        return Variant::Null();
    switch (type) {
    case ftString:
    case ftMemo:
        return v.IsString() ? v : Variant(v.ToString());
    case ftBlob:
        return v.IsBytes() ? v : Variant(v.ToBytes());
    case ftInteger:
        // A Boolean counts 1, not the -1 of the Variant's own rule.
        return v.Type() == VarType::Boolean ? Variant(v.ToBool() ? 1 : 0) : Variant(v.ToInt64());
    case ftFloat:
        return Variant(v.ToDouble());
    case ftDate:
    case ftDateTime:
        return Variant::FromDate(v.ToDate());
    case ftBoolean:
        return Variant(v.ToBool());
    case ftUnknown:
        break;
    }
    throw EDatabaseError(QStringLiteral("Field type unknown"));
}

// ---------------------------------------------------------------------------
// Editing

void RecordStore::SetValue(int column, std::uint32_t slot, const Variant& value)
{
    // The new cell, encoded as a packet holds it; empty for a null.
    QByteArray cell;
    if (!value.IsEmptyOrNull()) {
        switch (types_[static_cast<size_t>(column)]) {
        case ftInteger:
            appendVarint(cell, datapacket::ZigZagEncode(value.ToInt64()));
            break;
        case ftFloat:
        case ftDate:
        case ftDateTime:
            appendDouble(cell, value.Type() == VarType::Date ? value.ToDate() : value.ToDouble());
            break;
        case ftBoolean:
            cell.append(value.ToBool() ? '\1' : '\0');
            break;
        case ftString:
        case ftMemo:
        case ftBlob: {
            const QByteArray bytes
                = types_[static_cast<size_t>(column)] == ftBlob ? value.ToBytes() : value.ToString().toUtf8();
            appendVarint(cell, static_cast<std::uint64_t>(bytes.size()));
            cell.append(bytes);
            break;
        }
        case ftUnknown:
            throw EDatabaseError(QStringLiteral("Field type unknown"));
        }
    }

    decoded(slot, ColumnCount() - 1);
    // The row's decoded cells are kept through the edit, moved along.
    DecodedRow& known = cache_[lastHit_];
    qsizetype* starts = known.starts.data();
    const qsizetype cellStart = starts[column];
    const qsizetype oldCell = starts[column + 1] - cellStart;
    const qsizetype oldLength = starts[ColumnCount()];
    const qsizetype suffix = oldLength - starts[column + 1];
    const qsizetype newLength = oldLength - oldCell + cell.size();
    const Location old = rows_[slot];
    const bool bit = cell.isEmpty();
    auto mark = [&](char* row) {
        const char m = static_cast<char>(1 << (column % 8));
        row[column / 8] = static_cast<char>(bit ? (row[column / 8] | m) : (row[column / 8] & ~m));
    };
    auto shift = [&] {
        const qsizetype delta = cell.size() - oldCell;
        for (int k = column + 1; k <= ColumnCount(); ++k)
            starts[k] += delta;
    };

    if (slot == tailSlot_) {
        // The row is the last thing written: rewrite it where it is when it
        // still fits, the cells behind the changed one moved along.
        Block& b = blocks_[blockOf(old)];
        const qsizetype offset = offsetOf(old);
        if (b.bytes.size() - offset >= newLength) {
            char* row = writable(old);
            std::memmove(
                row + cellStart + cell.size(), row + cellStart + oldCell, static_cast<size_t>(suffix));
            std::memcpy(row + cellStart, cell.constData(), static_cast<size_t>(cell.size()));
            mark(row);
            b.used = offset + newLength;
            shift();
            return;
        }
    }

    // Elsewhere: the old bytes stay as they are until the new row is whole,
    // so a failure to find room leaves the record as it was.
    const bool wasOwned = isOwned(slot);
    const Location at = ownedRoom(newLength);
    const char* from = rowData(slot); // blocks are never moved, so still there
    char* row = writable(at);
    std::memcpy(row, from, static_cast<size_t>(cellStart));
    std::memcpy(row + cellStart, cell.constData(), static_cast<size_t>(cell.size()));
    std::memcpy(row + cellStart + cell.size(), from + cellStart + oldCell, static_cast<size_t>(suffix));
    mark(row);
    rows_[slot] = at;
    tailSlot_ = slot;
    known.row = row;
    shift();
    if (wasOwned)
        deadBytes_ += oldLength;
    compactIfWasteful();
}

void RecordStore::compactIfWasteful()
{
    if (deadBytes_ < kCompactAfter || deadBytes_ * 2 < ownedBytes_)
        return;
    forgetAll();
    std::vector<size_t> oldBlocks;
    for (size_t i = 0; i < blocks_.size(); ++i)
        if (blocks_[i].owned)
            oldBlocks.push_back(i);
    qsizetype live = 0;
    for (size_t s = 0; s < rows_.size(); ++s)
        if (blocks_[blockOf(rows_[s])].owned)
            live += rowLength(rowData(static_cast<std::uint32_t>(s)));

    // One block takes every live row; the old blocks are freed after.
    QByteArray fresh(std::max(live, kFirstBlock), Qt::Uninitialized);
    std::vector<Location> moved(rows_);
    const size_t index = oldBlocks.front();
    qsizetype used = 0;
    for (size_t s = 0; s < rows_.size(); ++s) {
        if (!blocks_[blockOf(rows_[s])].owned)
            continue;
        const char* from = rowData(static_cast<std::uint32_t>(s));
        const qsizetype length = rowLength(from);
        std::memcpy(fresh.data() + used, from, static_cast<size_t>(length));
        moved[s] = locate(index, used);
        used += length;
    }
    for (size_t i : oldBlocks) {
        blocks_[i] = Block {};
        if (i != index)
            freeBlocks_.push_back(i);
    }
    ownedBytes_ = fresh.size();
    blocks_[index] = Block {std::move(fresh), used, true};
    rows_ = std::move(moved);
    lastOwned_ = index;
    deadBytes_ = 0;
    tailSlot_ = kNoSlot;
}

qint64 RecordStore::MemoryBytes() const
{
    // A kept packet counts with its whole allocation, though a writer's
    // reserve past its end may never have been touched.
    qint64 total = 0;
    for (const auto& b : blocks_)
        total += b.owned ? b.bytes.size() : b.bytes.capacity();
    total += static_cast<qint64>(
        rows_.capacity() * sizeof(Location) + order_.capacity() * sizeof(std::uint32_t));
    total += static_cast<qint64>(blocks_.capacity() * sizeof(Block));
    for (const auto& c : cache_)
        total += static_cast<qint64>(c.starts.capacity() * sizeof(qsizetype));
    return total;
}
