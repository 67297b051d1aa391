#include "runtime/data/DataPacket.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr char kMagic[4] = {'Z', 'D', 'P', 'K'};
constexpr quint16 kVersion = 1;
constexpr qsizetype kHeaderSize = 24;
constexpr quint16 kFlagEndOfData = 0x0001;
constexpr int kMaxVarintBytes = 10;
// type, attributes, reserved, size, name length: the least a descriptor takes.
constexpr qsizetype kMinDescriptorSize = 1 + 1 + 2 + 4 + 2;

template<typename T> void putLE(char* out, T value)
{
    for (size_t i = 0; i < sizeof(T); ++i)
        out[i] = static_cast<char>((static_cast<std::uint64_t>(value) >> (8 * i)) & 0xFF);
}

template<typename T> T getLE(const char* in)
{
    std::uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i)
        v |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[i])) << (8 * i);
    return static_cast<T>(v);
}

void putDouble(char* out, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putLE(out, bits);
}

double readDouble(const char* in)
{
    const auto bits = getLE<std::uint64_t>(in);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool isText(TFieldType t)
{
    return t == ftString || t == ftMemo;
}
bool isBytes(TFieldType t)
{
    return t == ftString || t == ftMemo || t == ftBlob;
}
bool isDate(TFieldType t)
{
    return t == ftDate || t == ftDateTime;
}
bool validType(int code)
{
    return code >= ftString && code <= ftBlob;
}

} // namespace

QString FieldTypeName(TFieldType type)
{
    switch (type) {
    case ftString:
        return QStringLiteral("String");
    case ftInteger:
        return QStringLiteral("Integer");
    case ftFloat:
        return QStringLiteral("Float");
    case ftDate:
        return QStringLiteral("Date");
    case ftDateTime:
        return QStringLiteral("DateTime");
    case ftBoolean:
        return QStringLiteral("Boolean");
    case ftMemo:
        return QStringLiteral("Memo");
    case ftBlob:
        return QStringLiteral("Blob");
    case ftUnknown:
        break;
    }
    return QStringLiteral("Unknown");
}

bool datapacket::ReadVarintSlow(const char* data, qsizetype end, qsizetype& pos, std::uint64_t& value)
{
    value = 0;
    for (int i = 0; i < kMaxVarintBytes; ++i) {
        if (pos >= end)
            return false;
        const auto byte = static_cast<unsigned char>(data[pos++]);
        value |= static_cast<std::uint64_t>(byte & 0x7F) << (7 * i);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------
// Writer

DataPacketWriter::DataPacketWriter() = default;
DataPacketWriter::~DataPacketWriter() = default;

DataPacketWriter::DataPacketWriter(const DataPacketWriter& other)
    : fields_(other.fields_)
    , names_(other.names_)
    , buffer_(other.buffer_)
    , used_(other.used_)
    , capacity_(other.capacity_)
    , lastSize_(other.lastSize_)
    , rowStart_(other.rowStart_)
    , column_(other.column_)
    , rows_(other.rows_)
{
    if (capacity_ > 0)
        base_ = buffer_.data(); // detaches: the copy writes into its own bytes
}

DataPacketWriter::DataPacketWriter(DataPacketWriter&& other) noexcept
    : fields_(std::move(other.fields_))
    , names_(std::move(other.names_))
    , buffer_(std::exchange(other.buffer_, QByteArray()))
    , base_(std::exchange(other.base_, nullptr))
    , used_(std::exchange(other.used_, 0))
    , capacity_(std::exchange(other.capacity_, 0))
    , lastSize_(std::exchange(other.lastSize_, 0))
    , rowStart_(std::exchange(other.rowStart_, 0))
    , column_(std::exchange(other.column_, 0))
    , rows_(std::exchange(other.rows_, 0))
{
}

DataPacketWriter& DataPacketWriter::operator=(DataPacketWriter other) noexcept
{
    std::swap(fields_, other.fields_);
    std::swap(names_, other.names_);
    std::swap(buffer_, other.buffer_);
    std::swap(base_, other.base_);
    std::swap(used_, other.used_);
    std::swap(capacity_, other.capacity_);
    std::swap(lastSize_, other.lastSize_);
    std::swap(rowStart_, other.rowStart_);
    std::swap(column_, other.column_);
    std::swap(rows_, other.rows_);
    return *this;
}

DataPacketWriter::DataPacketWriter(const QList<FieldDescriptor>& fields)
{
    for (const auto& f : fields)
        AddField(f);
}

void DataPacketWriter::AddField(const QString& name, TFieldType type, int size, bool required)
{
    AddField(FieldDescriptor {name, type, size, required});
}

void DataPacketWriter::AddField(const FieldDescriptor& field)
{
    if (rows_ > 0 || column_ > 0)
        throw EDatabaseError(QStringLiteral("Cannot add field '%1' after rows were written").arg(field.Name));
    // A UTF-16 unit takes at most 3 bytes in UTF-8: short names need no count.
    if (field.Name.isEmpty() || (field.Name.size() > 0xFFFF / 3 && field.Name.toUtf8().size() > 0xFFFF))
        throw EDatabaseError(QStringLiteral("Invalid field name '%1'").arg(field.Name));
    if (!validType(field.Type))
        throw EDatabaseError(QStringLiteral("Field '%1' has no valid type").arg(field.Name));
    if (field.Size < 0)
        throw EDatabaseError(QStringLiteral("Field '%1' has a negative size").arg(field.Name));
    if (!names_.Insert(field.Name))
        throw EDatabaseError(QStringLiteral("Duplicate field name '%1'").arg(field.Name));
    fields_.append(field);
}

bool DataPacketWriter::HasField(const QString& name) const
{
    return names_.Contains(name);
}

std::size_t FieldNameSet::Hash::operator()(const QString& folded) const noexcept
{
    std::uint64_t h = 14695981039346656037ull;
    for (const QChar c : folded)
        h = (h ^ c.unicode()) * 1099511628211ull;
    return static_cast<std::size_t>(h);
}

void DataPacketWriter::mismatch(const char* what) const
{
    throw EDatabaseError(QStringLiteral("Cannot write %1 into field '%2' of type %3")
                             .arg(QLatin1String(what), current().Name, FieldTypeName(current().Type)));
}

const FieldDescriptor& DataPacketWriter::current() const
{
    if (fields_.isEmpty())
        throw EDatabaseError(QStringLiteral("Data packet has no fields"));
    return fields_[column_];
}

char* DataPacketWriter::grow(qsizetype extra)
{
    // Doubling keeps a packet of many rows from being copied more than about
    // once; the bytes between used_ and capacity_ are never read.
    const qsizetype wanted = std::max({used_ + extra, capacity_ * 2, qsizetype(4096)});
    buffer_.resize(wanted);
    base_ = buffer_.data();
    capacity_ = buffer_.size();
    return base_ + used_;
}

void DataPacketWriter::put(const char* data, qsizetype size)
{
    if (size > 0) {
        std::memcpy(room(size), data, static_cast<size_t>(size));
        used_ += size;
    }
}

void DataPacketWriter::beginCell(TFieldType)
{
    if (fields_.isEmpty())
        throw EDatabaseError(QStringLiteral("Data packet has no fields"));
    if (column_ == 0) {
        if (used_ == 0)
            writeHeader();
        rowStart_ = used_;
        const qsizetype marks = (fields_.size() + 7) / 8;
        std::memset(room(marks), 0, static_cast<size_t>(marks));
        used_ += marks;
    }
}

void DataPacketWriter::writeVarint(std::uint64_t value)
{
    char* out = room(kMaxVarintBytes);
    int n = 0;
    do {
        auto byte = static_cast<unsigned char>(value & 0x7F);
        value >>= 7;
        if (value)
            byte |= 0x80;
        out[n++] = static_cast<char>(byte);
    } while (value);
    used_ += n;
}

void DataPacketWriter::writeNullSlow()
{
    current();
    beginCell(ftUnknown);
    base_[rowStart_ + column_ / 8] = static_cast<char>(base_[rowStart_ + column_ / 8] | (1 << (column_ % 8)));
    endCell();
}

void DataPacketWriter::WriteInteger(qint64 value)
{
    switch (current().Type) {
    case ftInteger:
        beginCell(ftInteger);
        writeVarint(datapacket::ZigZagEncode(value));
        endCell();
        return;
    case ftFloat:
        return WriteFloat(static_cast<double>(value));
    case ftBoolean:
        return WriteBoolean(value != 0);
    case ftString:
    case ftMemo:
        return WriteString(QString::number(value));
    default:
        mismatch("an integer");
    }
}

void DataPacketWriter::WriteFloat(double value)
{
    const TFieldType type = current().Type;
    if (type == ftFloat || isDate(type)) {
        beginCell(type);
        putDouble(room(8), value);
        used_ += 8;
        endCell();
        return;
    }
    if (type == ftInteger) {
        if (value != std::trunc(value) || !(std::fabs(value) < 9.2e18))
            mismatch("a fractional or out-of-range number");
        return WriteInteger(static_cast<qint64>(value));
    }
    if (isText(type))
        return WriteString(Variant(value).ToString());
    mismatch("a number");
}

void DataPacketWriter::WriteBoolean(bool value)
{
    const TFieldType type = current().Type;
    if (type == ftBoolean) {
        beginCell(type);
        *room(1) = value ? '\1' : '\0';
        ++used_;
        endCell();
        return;
    }
    if (type == ftInteger)
        return WriteInteger(value ? 1 : 0);
    if (isText(type))
        return WriteString(Variant(value).ToString());
    mismatch("a Boolean");
}

void DataPacketWriter::WriteDate(double dayNumber)
{
    const TFieldType type = current().Type;
    if (isDate(type) || type == ftFloat)
        return WriteFloat(dayNumber);
    if (isText(type))
        return WriteString(Variant::FromDate(dayNumber).ToString());
    mismatch("a date");
}

void DataPacketWriter::writeUtf16AsUtf8(QStringView text)
{
    // Encoded straight into the buffer: a cursor of many rows would otherwise
    // make one temporary QByteArray per cell.
    const qsizetype n = text.size();
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else
            bytes += 3; // includes a lone surrogate, written as U+FFFD
    }
    writeVarint(static_cast<std::uint64_t>(bytes));
    auto* out = reinterpret_cast<unsigned char*>(room(bytes));
    used_ += bytes;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            *out++ = static_cast<unsigned char>(c);
        } else if (c < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            c = QChar::surrogateToUcs4(static_cast<char16_t>(c), text[++i].unicode());
            *out++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *out++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            if (QChar::isSurrogate(c))
                c = 0xFFFD;
            *out++ = static_cast<unsigned char>(0xE0 | (c >> 12));
            *out++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
}

void DataPacketWriter::WriteString(QStringView text)
{
    const TFieldType type = current().Type;
    if (isText(type)) {
        beginCell(type);
        writeUtf16AsUtf8(text);
        endCell();
        return;
    }
    if (type == ftBlob)
        return WriteBytes(text.toUtf8());
    // A number, date or Boolean field given as text: read it as a Variant does;
    // an empty text is a null.
    if (text.trimmed().isEmpty())
        return WriteNull();
    const Variant v(text.toString());
    try {
        switch (type) {
        case ftInteger:
            return WriteInteger(v.ToInt64());
        case ftFloat:
            return WriteFloat(v.ToDouble());
        case ftDate:
        case ftDateTime:
            return WriteDate(v.ToDate());
        case ftBoolean:
            return WriteBoolean(v.ToBool());
        default:
            break;
        }
    } catch (const EConvertError&) {
        mismatch("a text that is no value of its type");
    }
    mismatch("a text");
}

void DataPacketWriter::writeUtf8Slow(QByteArrayView utf8)
{
    const TFieldType type = current().Type;
    if (!isBytes(type))
        return WriteString(QString::fromUtf8(utf8));
    beginCell(type);
    writeVarint(static_cast<std::uint64_t>(utf8.size()));
    put(utf8.data(), utf8.size());
    endCell();
}

void DataPacketWriter::WriteBytes(QByteArrayView bytes)
{
    if (current().Type != ftBlob && !isText(current().Type))
        mismatch("bytes");
    WriteUtf8(bytes);
}

void DataPacketWriter::WriteVariant(const Variant& value)
{
    const Variant& v = value.Deref();
    current();
    switch (v.Type()) {
    case VarType::Unassigned:
    case VarType::Null:
        return WriteNull();
    case VarType::Boolean:
        return WriteBoolean(v.ToBool());
    case VarType::Integer:
        return WriteInteger(v.ToInt64());
    case VarType::Float:
        return WriteFloat(v.ToDouble());
    case VarType::Date:
        return WriteDate(v.ToDate());
    case VarType::String:
        return WriteString(v.ToString());
    case VarType::Bytes:
        return WriteBytes(v.ToBytes());
    default:
        mismatch("an array, object or reference");
    }
}

void DataPacketWriter::AppendRow(const VariantList& values)
{
    if (column_ != 0)
        throw EDatabaseError(QStringLiteral("AppendRow while a row is incomplete"));
    if (values.size() != fields_.size())
        throw EDatabaseError(
            QStringLiteral("Row of %1 values for %2 fields").arg(values.size()).arg(fields_.size()));
    const qsizetype size = used_;
    try {
        for (const auto& v : values)
            WriteVariant(v);
    } catch (...) {
        // Leave no half row behind.
        used_ = size;
        column_ = 0;
        throw;
    }
}

QByteArray DataPacketWriter::Finish(bool endOfData)
{
    if (column_ != 0)
        throw EDatabaseError(QStringLiteral("Data packet row %1 is incomplete: %2 of %3 fields written")
                                 .arg(rows_ + 1)
                                 .arg(column_)
                                 .arg(fields_.size()));
    if (rows_ > 0xFFFFFFFFLL)
        throw EDatabaseError(QStringLiteral("Too many rows for one data packet"));

    if (used_ == 0)
        writeHeader();
    putLE<quint16>(base_ + 6, endOfData ? kFlagEndOfData : 0);
    putLE<quint32>(base_ + 12, static_cast<quint32>(rows_));
    putLE<quint64>(base_ + 16, static_cast<quint64>(used_));
    // The rows were written behind the header: the packet is handed over
    // without a copy (shrinking only moves the end).
    buffer_.resize(used_);
    QByteArray packet = std::exchange(buffer_, QByteArray());
    // A reserve of more than an eighth goes back: a client data set keeps
    // the packet as it is. Shrinking reallocates in place, without a copy.
    if (packet.capacity() - packet.size() > packet.size() / 8)
        packet.squeeze();
    base_ = nullptr;
    used_ = capacity_ = 0;
    lastSize_ = packet.size();
    rows_ = 0;
    return packet;
}

void DataPacketWriter::writeHeader()
{
    // Room for a packet like the last one, so that a provider sending packet
    // after packet does not grow each one step by step. A writer whose first
    // row was refused still has its buffer: growing it again would double it
    // with every refused row.
    const qsizetype wanted = std::max<qsizetype>(lastSize_ + lastSize_ / 8, 4096);
    if (capacity_ < wanted)
        grow(wanted);
    char head[kHeaderSize] = {};
    std::memcpy(head, kMagic, 4);
    putLE<quint16>(head + 4, kVersion);
    putLE<quint32>(head + 8, static_cast<quint32>(fields_.size()));
    put(head, kHeaderSize);
    for (const auto& f : fields_) {
        const QByteArray name = f.Name.toUtf8();
        char raw[kMinDescriptorSize];
        raw[0] = static_cast<char>(f.Type);
        raw[1] = static_cast<char>(f.Required ? 1 : 0);
        raw[2] = raw[3] = 0;
        putLE<quint32>(raw + 4, static_cast<quint32>(f.Size));
        putLE<quint16>(raw + 8, static_cast<quint16>(name.size()));
        put(raw, kMinDescriptorSize);
        put(name.constData(), name.size());
    }
}

// ---------------------------------------------------------------------------
// Reader

void DataPacketReader::damaged(const QString& reason) const
{
    throw EDatabaseError(QStringLiteral("Damaged data packet: %1").arg(reason));
}

std::uint64_t DataPacketReader::readVarint(qsizetype& pos) const
{
    std::uint64_t value = 0;
    if (!datapacket::ReadVarint(packet_.constData(), packet_.size(), pos, value))
        damaged(QStringLiteral("number at offset %1 runs past the end or is too long").arg(pos));
    return value;
}

DataPacketReader::DataPacketReader(QByteArray packet)
    : packet_(std::move(packet))
{
    const char* d = packet_.constData();
    const qsizetype size = packet_.size();
    if (size < kHeaderSize)
        damaged(QStringLiteral("%1 bytes is shorter than the header").arg(size));
    if (std::memcmp(d, kMagic, 4) != 0)
        damaged(QStringLiteral("not a data packet (bad signature)"));
    const auto version = getLE<quint16>(d + 4);
    if (version != kVersion)
        damaged(QStringLiteral("version %1 is not supported").arg(version));
    const auto flags = getLE<quint16>(d + 6);
    endOfData_ = flags & kFlagEndOfData;
    const auto fieldCount = getLE<quint32>(d + 8);
    rowCount_ = getLE<quint32>(d + 12);
    const auto total = getLE<quint64>(d + 16);
    if (total != static_cast<quint64>(size))
        damaged(QStringLiteral("length %1 recorded, %2 bytes received").arg(total).arg(size));

    // Every count is held against the bytes that can hold it before anything
    // is reserved for it.
    qsizetype pos = kHeaderSize;
    if (fieldCount > static_cast<quint64>((size - pos) / kMinDescriptorSize))
        damaged(QStringLiteral("%1 fields do not fit in the packet").arg(fieldCount));
    if (fieldCount == 0 && rowCount_ > 0)
        damaged(QStringLiteral("rows without fields"));
    fields_.reserve(fieldCount);
    FieldNameSet names;
    names.Reserve(fieldCount);
    for (quint32 i = 0; i < fieldCount; ++i) {
        if (size - pos < kMinDescriptorSize)
            damaged(QStringLiteral("field %1 runs past the end").arg(i + 1));
        FieldDescriptor f;
        const int code = static_cast<unsigned char>(d[pos]);
        if (!validType(code))
            damaged(QStringLiteral("field %1 has unknown type %2").arg(i + 1).arg(code));
        f.Type = static_cast<TFieldType>(code);
        f.Required = d[pos + 1] & 1;
        const auto fieldSize = getLE<quint32>(d + pos + 4);
        if (fieldSize > 0x7FFFFFFF)
            damaged(QStringLiteral("field %1 has size %2").arg(i + 1).arg(fieldSize));
        f.Size = static_cast<int>(fieldSize);
        const auto nameLength = getLE<quint16>(d + pos + 8);
        pos += kMinDescriptorSize;
        if (nameLength == 0 || nameLength > size - pos)
            damaged(QStringLiteral("name of field %1 is empty or runs past the end").arg(i + 1));
        f.Name = QString::fromUtf8(d + pos, nameLength);
        pos += nameLength;
        if (!names.Insert(f.Name))
            damaged(QStringLiteral("field name '%1' occurs twice").arg(f.Name));
        fields_.append(f);
    }
    const qsizetype markBytes = (static_cast<qsizetype>(fieldCount) + 7) / 8;
    if (markBytes > 0 && rowCount_ > (size - pos) / markBytes)
        damaged(QStringLiteral("%1 rows do not fit in the packet").arg(rowCount_));
    pos_ = pos;
    cells_.assign(fieldCount, -1);
    cellEnds_.assign(fieldCount, -1);
}

bool DataPacketReader::NextRow()
{
    if (rowsRead_ >= rowCount_) {
        if (pos_ != packet_.size())
            damaged(QStringLiteral("%1 bytes follow the last row").arg(packet_.size() - pos_));
        return false;
    }
    const char* d = packet_.constData();
    const qsizetype size = packet_.size();
    const qsizetype markBytes = (fields_.size() + 7) / 8;
    qsizetype pos = pos_;
    if (size - pos < markBytes)
        damaged(QStringLiteral("row %1 runs past the end").arg(rowsRead_ + 1));
    const char* marks = d + pos;
    pos += markBytes;
    const int n = static_cast<int>(fields_.size());
    for (int i = 0; i < n; ++i) {
        if (marks[i / 8] & (1 << (i % 8))) {
            cells_[i] = -1;
            cellEnds_[i] = -1;
            continue;
        }
        cells_[i] = pos;
        switch (fields_[i].Type) {
        case ftString:
        case ftMemo:
        case ftBlob: {
            const std::uint64_t length = readVarint(pos);
            if (length > static_cast<std::uint64_t>(size - pos))
                damaged(QStringLiteral("field '%1' of row %2 runs past the end")
                            .arg(fields_[i].Name)
                            .arg(rowsRead_ + 1));
            pos += static_cast<qsizetype>(length);
            break;
        }
        case ftInteger:
            readVarint(pos);
            break;
        case ftFloat:
        case ftDate:
        case ftDateTime:
            if (size - pos < 8)
                damaged(QStringLiteral("field '%1' of row %2 runs past the end")
                            .arg(fields_[i].Name)
                            .arg(rowsRead_ + 1));
            pos += 8;
            break;
        case ftBoolean:
            if (size - pos < 1)
                damaged(QStringLiteral("field '%1' of row %2 runs past the end")
                            .arg(fields_[i].Name)
                            .arg(rowsRead_ + 1));
            pos += 1;
            break;
        case ftUnknown:
            break;
        }
        cellEnds_[i] = pos;
    }
    rowStart_ = pos_;
    pos_ = pos;
    ++rowsRead_;
    return true;
}

QByteArrayView DataPacketReader::Utf8(int field) const
{
    qsizetype pos = cellStart(field);
    if (pos < 0 || !isBytes(fields_[field].Type))
        return {};
    std::uint64_t length = 0;
    datapacket::ReadVarint(packet_.constData(), packet_.size(), pos, length); // checked by NextRow
    return QByteArrayView(packet_.constData() + pos, static_cast<qsizetype>(length));
}

qint64 DataPacketReader::Integer(int field) const
{
    qsizetype pos = cellStart(field);
    if (pos < 0)
        return 0;
    switch (fields_[field].Type) {
    case ftInteger: {
        std::uint64_t v = 0;
        datapacket::ReadVarint(packet_.constData(), packet_.size(), pos, v);
        return datapacket::ZigZagDecode(v);
    }
    case ftBoolean:
        return packet_[pos] ? 1 : 0;
    default:
        return Value(field).ToInt64();
    }
}

double DataPacketReader::Float(int field) const
{
    const qsizetype pos = cellStart(field);
    if (pos < 0)
        return 0;
    switch (fields_[field].Type) {
    case ftFloat:
    case ftDate:
    case ftDateTime:
        return readDouble(packet_.constData() + pos);
    case ftInteger:
    case ftBoolean:
        return static_cast<double>(Integer(field));
    default:
        return Value(field).ToDouble();
    }
}

bool DataPacketReader::Boolean(int field) const
{
    const qsizetype pos = cellStart(field);
    if (pos < 0)
        return false;
    if (fields_[field].Type == ftBoolean)
        return packet_[pos] != 0;
    return Value(field).ToBool();
}

QString DataPacketReader::String(int field) const
{
    if (IsNull(field))
        return {};
    if (isText(fields_[field].Type))
        return QString::fromUtf8(Utf8(field));
    return Value(field).ToString();
}

Variant DataPacketReader::Value(int field) const
{
    if (IsNull(field))
        return Variant::Null();
    switch (fields_[field].Type) {
    case ftString:
    case ftMemo:
        return Variant(QString::fromUtf8(Utf8(field)));
    case ftBlob:
        return Variant(Utf8(field).toByteArray());
    case ftInteger:
        return Variant(Integer(field));
    case ftFloat:
        return Variant(Float(field));
    case ftDate:
    case ftDateTime:
        return Variant::FromDate(Float(field));
    case ftBoolean:
        return Variant(Boolean(field));
    case ftUnknown:
        break;
    }
    return Variant::Null();
}

VariantList DataPacketReader::Row() const
{
    VariantList row;
    row.reserve(fields_.size());
    for (int i = 0; i < fields_.size(); ++i)
        row.append(Value(i));
    return row;
}
