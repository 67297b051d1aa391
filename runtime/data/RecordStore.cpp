#include "runtime/data/RecordStore.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <sys/mman.h>

namespace {

bool holdsReal(TFieldType t)
{
    return t == ftFloat || t == ftDate || t == ftDateTime;
}

double readDouble(const char* in)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void appendVarint(std::vector<char>& out, std::uint64_t value)
{
    do {
        auto byte = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        if (value)
            byte |= 0x80;
        out.push_back(static_cast<char>(byte));
    } while (value);
}

constexpr std::size_t kMappedBlock = std::size_t(1) << 20;
constexpr std::size_t kHugePage = std::size_t(2) << 20;

std::size_t mappedSize(std::size_t bytes)
{
    return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

} // namespace

template<typename T> void* ColumnAllocator<T>::columnAllocate(std::size_t bytes)
{
    if (bytes < kMappedBlock)
        return ::operator new(bytes);
    // Whole huge pages, aligned: map one page more and trim the ends.
    const std::size_t size = mappedSize(bytes);
    void* raw = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t(kHugePage) - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    if (const std::size_t tail = start + size + kHugePage - (aligned + size))
        munmap(reinterpret_cast<void*>(aligned + size), tail);
    void* p = reinterpret_cast<void*>(aligned);
    madvise(p, size, MADV_HUGEPAGE); // a hint; without huge pages the block works the same
    return p;
}

template<typename T> void ColumnAllocator<T>::columnFree(void* p, std::size_t bytes) noexcept
{
    if (!p)
        return;
    if (bytes < kMappedBlock)
        ::operator delete(p);
    else
        munmap(p, mappedSize(bytes));
}

template struct ColumnAllocator<std::uint64_t>;
template struct ColumnAllocator<qint64>;
template struct ColumnAllocator<double>;
template struct ColumnAllocator<std::uint8_t>;
template struct ColumnAllocator<std::uint32_t>;
template struct ColumnAllocator<char>;

void RecordStore::Reset(const QList<FieldDescriptor>& fields)
{
    fields_ = fields;
    columns_.assign(static_cast<size_t>(fields.size()), Column {});
    for (qsizetype i = 0; i < fields.size(); ++i)
        columns_[static_cast<size_t>(i)].type = fields[i].Type;
    order_.clear();
    slots_ = 0;
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

void RecordStore::growTo(std::uint32_t count)
{
    for (auto& c : columns_) {
        c.nulls.resize((count + 63) / 64, 0);
        if (c.type == ftInteger)
            c.ints.resize(count, 0);
        else if (holdsReal(c.type))
            c.reals.resize(count, 0);
        else if (c.type == ftBoolean)
            c.bools.resize(count, 0);
        else
            c.offsets.resize(count, 0);
    }
}

std::uint32_t RecordStore::NewSlot()
{
    if (slots_ == std::numeric_limits<std::uint32_t>::max())
        throw EDatabaseError(QStringLiteral("Too many records"));
    const std::uint32_t slot = slots_++;
    growTo(slots_);
    for (auto& c : columns_)
        setNull(c, slot, true);
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

void RecordStore::setNull(Column& c, std::uint32_t slot, bool null)
{
    const std::uint64_t bit = std::uint64_t(1) << (slot % 64);
    if (null)
        c.nulls[slot / 64] |= bit;
    else
        c.nulls[slot / 64] &= ~bit;
}

void RecordStore::appendEncoded(Column& c, std::uint32_t slot, QByteArrayView encoded)
{
    const size_t start = c.heap.size();
    if (start + static_cast<size_t>(encoded.size()) > std::numeric_limits<std::uint32_t>::max())
        throw EDatabaseError(QStringLiteral("A column holds more than 4 GB of text"));
    c.heap.insert(c.heap.end(), encoded.begin(), encoded.end());
    c.offsets[slot] = static_cast<std::uint32_t>(start);
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
    if (static_cast<quint64>(slots_) + static_cast<quint64>(expected)
        >= std::numeric_limits<std::uint32_t>::max())
        throw EDatabaseError(QStringLiteral("Too many records"));
    // The reader has checked that the packet's bytes can hold this many rows.
    growTo(slots_ + static_cast<std::uint32_t>(expected));
    const size_t wantedOrder = order_.size() + static_cast<size_t>(expected);
    if (wantedOrder > order_.capacity())
        order_.reserve(std::max(wantedOrder, order_.capacity() * 2));

    const int n = ColumnCount();
    const std::uint32_t first = slots_;
    std::vector<size_t> heapStart;
    for (const auto& c : columns_)
        heapStart.push_back(c.heap.size());
    qint64 appended = 0;
    try {
        while (reader.NextRow()) {
            const std::uint32_t slot = slots_++;
            for (int i = 0; i < n; ++i) {
                Column& c = columns_[static_cast<size_t>(i)];
                const QByteArrayView cell = reader.EncodedCell(i);
                if (cell.isNull()) {
                    setNull(c, slot, true);
                    continue;
                }
                setNull(c, slot, false);
                switch (c.type) {
                case ftInteger:
                    c.ints[slot] = reader.Integer(i);
                    break;
                case ftFloat:
                case ftDate:
                case ftDateTime:
                    c.reals[slot] = readDouble(cell.data());
                    break;
                case ftBoolean:
                    c.bools[slot] = cell[0] ? 1 : 0;
                    break;
                default:
                    appendEncoded(c, slot, cell);
                    break;
                }
            }
            order_.push_back(slot);
            if (++appended == kSampleRows && expected > 2 * kSampleRows)
                reserveText(heapStart, expected);
        }
    } catch (...) {
        // A damaged packet is refused whole: none of its rows stay.
        order_.resize(order_.size() - static_cast<size_t>(appended));
        slots_ = first;
        growTo(slots_);
        throw;
    }
    growTo(slots_);
    return appended;
}

void RecordStore::reserveText(const std::vector<size_t>& heapStart, qint64 expected)
{
    // The text of the first rows foretells the rest: reserving it at once
    // spares copying every column's text each time its heap would double.
    for (size_t i = 0; i < columns_.size(); ++i) {
        auto& heap = columns_[i].heap;
        const size_t sample = heap.size() - heapStart[i];
        if (sample == 0)
            continue;
        const double perRow = static_cast<double>(sample) / kSampleRows;
        const auto more = static_cast<size_t>(perRow * static_cast<double>(expected - kSampleRows) * 1.125);
        const size_t wanted = heap.size() + more + 64;
        // Grow at least geometrically: a data set filled packet by packet
        // must not copy its whole heap for every packet.
        if (wanted > heap.capacity())
            heap.reserve(std::min<size_t>(
                std::max(wanted, heap.capacity() * 2), std::numeric_limits<std::uint32_t>::max()));
    }
}

bool RecordStore::IsNull(int column, std::uint32_t slot) const
{
    return columns_[static_cast<size_t>(column)].nulls[slot / 64] & (std::uint64_t(1) << (slot % 64));
}

qint64 RecordStore::Integer(int column, std::uint32_t slot) const
{
    const Column& c = columns_[static_cast<size_t>(column)];
    return c.type == ftBoolean ? c.bools[slot] : c.ints[slot];
}

double RecordStore::Float(int column, std::uint32_t slot) const
{
    return columns_[static_cast<size_t>(column)].reals[slot];
}

bool RecordStore::Boolean(int column, std::uint32_t slot) const
{
    return columns_[static_cast<size_t>(column)].bools[slot] != 0;
}

QByteArrayView RecordStore::Bytes(int column, std::uint32_t slot) const
{
    const Column& c = columns_[static_cast<size_t>(column)];
    if (IsNull(column, slot))
        return {};
    qsizetype pos = c.offsets[slot];
    std::uint64_t length = 0;
    datapacket::ReadVarint(c.heap.data(), static_cast<qsizetype>(c.heap.size()), pos, length);
    return QByteArrayView(c.heap.data() + pos, static_cast<qsizetype>(length));
}

Variant RecordStore::Value(int column, std::uint32_t slot) const
{
    if (IsNull(column, slot))
        return Variant::Null();
    switch (columns_[static_cast<size_t>(column)].type) {
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

void RecordStore::SetValue(int column, std::uint32_t slot, const Variant& value)
{
    Column& c = columns_[static_cast<size_t>(column)];
    if (value.IsEmptyOrNull()) {
        setNull(c, slot, true);
        return;
    }
    switch (c.type) {
    case ftInteger:
        c.ints[slot] = value.ToInt64();
        break;
    case ftFloat:
    case ftDate:
    case ftDateTime:
        c.reals[slot] = value.Type() == VarType::Date ? value.ToDate() : value.ToDouble();
        break;
    case ftBoolean:
        c.bools[slot] = value.ToBool() ? 1 : 0;
        break;
    default: {
        const QByteArray bytes = c.type == ftBlob ? value.ToBytes() : value.ToString().toUtf8();
        std::vector<char> encoded;
        encoded.reserve(static_cast<size_t>(bytes.size()) + 10);
        appendVarint(encoded, static_cast<std::uint64_t>(bytes.size()));
        encoded.insert(encoded.end(), bytes.begin(), bytes.end());
        appendEncoded(c, slot, QByteArrayView(encoded.data(), static_cast<qsizetype>(encoded.size())));
        break;
    }
    }
    setNull(c, slot, false);
}

qint64 RecordStore::MemoryBytes() const
{
    qint64 total = static_cast<qint64>(order_.capacity() * sizeof(std::uint32_t));
    for (const auto& c : columns_)
        total += static_cast<qint64>(c.nulls.capacity() * 8 + c.ints.capacity() * 8 + c.reals.capacity() * 8
            + c.bools.capacity() + c.offsets.capacity() * 4 + c.heap.capacity());
    return total;
}
