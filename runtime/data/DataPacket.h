#pragma once
// Data packets: the rows a provider of the application server delivers to a
// client data set, as one block of bytes. A packet travels in a Variant of kind
// Bytes, the same whether the server object lives in-process or behind a
// network connection.
//
// Layout (version 1; every number little-endian):
//
//   offset  size  content
//        0     4  magic "ZDPK"
//        4     2  version, 1
//        6     2  flags: bit 0 = end of data (the provider has no further rows)
//        8     4  field count F
//       12     4  row count R
//       16     8  total length of the packet in bytes, header included
//       24        F field descriptors, each:
//                   1 type code (TFieldType below), 1 attributes (bit 0 = required),
//                   2 reserved (0), 4 size (characters for strings, 0 otherwise),
//                   2 name length N in bytes, N bytes of UTF-8 name
//                 R rows, each:
//                   ceil(F / 8) bytes of null marks (bit i % 8 of byte i / 8 set:
//                   field i is null), then every non-null cell in field order:
//                     String, Memo  varint byte count + UTF-8 text
//                     Blob          varint byte count + bytes
//                     Integer       zig-zag varint (64-bit)
//                     Float         8-byte IEEE double
//                     Date,DateTime 8-byte IEEE double: day number from 1899-12-30,
//                                   the time of day as its fraction
//                     Boolean       1 byte, 0 or 1
//
// Varints are unsigned LEB128 (7 bits a byte, low bits first, at most 10
// bytes). The reader checks every length against the bytes that remain, so a
// damaged packet raises EDatabaseError naming the fault; it never reads past
// the end nor reserves memory the packet does not account for.
//
// Provider protocol. The application-server object (late-bound, IAutoObject)
// serves its providers through these members:
//
//   AS_GetRecords(provider name: String,
//                 count: Integer,        rows wanted; -1 = all remaining rows
//                 records out: reference, receives the number of rows sent
//                 data request: String,  the query text for "Provider1" and
//                                        "Provider2"; empty for "pvdConSave",
//                                        whose rows the server chose at LoadTable
//                 options: Integer)      bit 0 (GetRecordsReset) = start afresh
//       -> Bytes: one data packet
//
//   - A call with the reset bit, or with a non-empty data request, closes any
//     query the provider has open and opens it anew (with the data request
//     when one is given, else with what LoadTable chose). A client data set
//     sends the reset bit on every Open.
//   - Any other call continues from the row after the last one sent.
//   - A packet always carries the field descriptors, also when it has no rows.
//   - The end of the rows: a packet with fewer rows than asked, or with the
//     end-of-data flag set (a server should set it when it knows), or any
//     answer to count -1. The client then asks no more.
//   - An unknown provider or a failing query raises: the late-bound call fails
//     with EOleError (or any Exception) whose message is the database's text.
//
//   AS_GetProviderNames() -> Array of String: the names of the providers.
//
// Server side, straight from a database cursor:
//
//   DataPacketWriter w;
//   w.AddField("TO001", ftString, 4);
//   w.AddField("TO009", ftFloat);
//   while (cursor.next() && w.RowCount() < wanted) {
//       w.WriteUtf8(cursor.text(0));     // one Write... per field, in order;
//       w.WriteFloat(cursor.real(1));    // the row ends after its last field
//   }
//   QByteArray packet = w.Finish(cursorAtEnd);

#include "runtime/system/Variant.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <cstring>
#include <unordered_set>
#include <vector>

// Field types of data packets and data sets; the values are the packet's type codes.
enum TFieldType : std::uint8_t {
    ftUnknown = 0,
    ftString = 1,
    ftInteger = 2,
    ftFloat = 3,
    ftDate = 4,
    ftDateTime = 5,
    ftBoolean = 6,
    ftMemo = 7,
    ftBlob = 8,
};

// The name of a field type as messages print it ("String", "Integer", ...).
QString FieldTypeName(TFieldType type);

// Options of AS_GetRecords (fifth argument).
constexpr int GetRecordsReset = 0x01;

struct FieldDescriptor {
    QString Name;
    TFieldType Type = ftUnknown;
    int Size = 0;
    bool Required = false;

    bool operator==(const FieldDescriptor&) const = default;
};

// Field names compared without case, for the checks that a packet names no
// field twice. Hashed by a plain FNV-1a over the case-folded name: QHash's
// seeded string hash was the larger part of opening a 300-column packet.
class FieldNameSet {
public:
    // False when the name (in any case) is there already.
    bool Insert(const QString& name) { return names_.insert(name.toCaseFolded()).second; }
    bool Contains(const QString& name) const { return names_.count(name.toCaseFolded()) > 0; }
    void Reserve(qsizetype n) { names_.reserve(static_cast<std::size_t>(n)); }

private:
    struct Hash {
        std::size_t operator()(const QString& folded) const noexcept;
    };
    std::unordered_set<QString, Hash> names_;
};

// Builds data packets. Add the fields, then write the cells of each row in
// field order (cell by cell or a whole row at once); Finish returns the packet
// and leaves the writer ready for the next packet of the same fields.
// Typed writes convert where the conversion loses nothing obvious (an integer
// into a Float or String field, a text into a number field when it reads as
// one); anything else raises EDatabaseError naming the field.
class DataPacketWriter {
public:
    DataPacketWriter();
    explicit DataPacketWriter(const QList<FieldDescriptor>& fields);
    // Copies own their bytes; a moved-from writer is empty.
    DataPacketWriter(const DataPacketWriter& other);
    DataPacketWriter(DataPacketWriter&& other) noexcept;
    DataPacketWriter& operator=(DataPacketWriter other) noexcept;
    ~DataPacketWriter();

    // Fields can be added only while no row has been written.
    void AddField(const QString& name, TFieldType type, int size = 0, bool required = false);
    void AddField(const FieldDescriptor& field);
    const QList<FieldDescriptor>& Fields() const { return fields_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // True when a field of that name, in any case, was added.
    bool HasField(const QString& name) const;
    // Completed rows in the packet being built.
    qint64 RowCount() const { return rows_; }
    // Bytes written so far, header included.
    qsizetype Size() const { return used_; }

    void WriteNull()
    {
        // The common case inline: a cell inside a row already begun.
        if (column_ > 0 && column_ < fields_.size()) {
            base_[rowStart_ + column_ / 8]
                = static_cast<char>(base_[rowStart_ + column_ / 8] | (1 << (column_ % 8)));
            endCell();
        } else {
            writeNullSlow();
        }
    }
    void WriteInteger(qint64 value);
    void WriteFloat(double value);
    void WriteBoolean(bool value);
    // Day number (Date and DateTime fields).
    void WriteDate(double dayNumber);
    void WriteString(QStringView text);
    // Text already in UTF-8, as a database cursor gives it.
    void WriteUtf8(QByteArrayView utf8)
    {
        if (column_ > 0 && column_ < fields_.size() && isTextOrBlob(fields_[column_].Type)
            && utf8.size() < 0x80) {
            char* out = room(utf8.size() + 1);
            *out = static_cast<char>(utf8.size()); // a one-byte length
            if (!utf8.isEmpty())
                std::memcpy(out + 1, utf8.data(), static_cast<size_t>(utf8.size()));
            used_ += utf8.size() + 1;
            endCell();
        } else {
            writeUtf8Slow(utf8);
        }
    }
    void WriteBytes(QByteArrayView bytes);
    void WriteVariant(const Variant& value);
    // One whole row; the row must hold exactly one value per field.
    void AppendRow(const VariantList& values);

    // The packet of the rows written since the last Finish. endOfData marks
    // the provider's last packet. Raises when a row is incomplete.
    QByteArray Finish(bool endOfData = false);

private:
    void beginCell(TFieldType kind);
    void endCell()
    {
        if (++column_ == fields_.size()) {
            column_ = 0;
            ++rows_;
        }
    }
    void writeNullSlow();
    void writeUtf8Slow(QByteArrayView utf8);
    static bool isTextOrBlob(TFieldType t) { return t == ftString || t == ftMemo || t == ftBlob; }
    void writeVarint(std::uint64_t value);
    void writeUtf16AsUtf8(QStringView text);
    [[noreturn]] void mismatch(const char* what) const;
    const FieldDescriptor& current() const; // raises when there are no fields

    QList<FieldDescriptor> fields_;
    FieldNameSet names_; // of fields_, for the duplicate check
    void writeHeader();

    // Bytes are written through a raw pointer: a QByteArray append per cell
    // costs more than the cell (a provider writes hundreds of millions).
    char* room(qsizetype extra) { return used_ + extra <= capacity_ ? base_ + used_ : grow(extra); }
    char* grow(qsizetype extra);
    void put(const char* data, qsizetype size);

    QByteArray buffer_; // header (counts filled in by Finish), then the rows; used_ bytes are valid
    char* base_ = nullptr; // buffer_.data() while capacity_ > 0
    qsizetype used_ = 0;
    qsizetype capacity_ = 0;
    qsizetype lastSize_ = 0;
    qsizetype rowStart_ = 0;
    int column_ = 0;
    qint64 rows_ = 0;
};

// Reads a data packet. The constructor checks the header and the field
// descriptors; NextRow checks and steps to each row in turn, after which the
// typed accessors read the cells of that row without building Variants.
class DataPacketReader {
public:
    // Raises EDatabaseError when the header or a descriptor is damaged.
    explicit DataPacketReader(QByteArray packet);

    const QList<FieldDescriptor>& Fields() const { return fields_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    qint64 RowCount() const { return rowCount_; }
    bool EndOfData() const { return endOfData_; }
    // Rows read so far.
    qint64 RowsRead() const { return rowsRead_; }

    // Steps to the next row; false after the last one. Raises EDatabaseError
    // when the row is damaged or when bytes are left after the last row.
    bool NextRow();
    // The packet's bytes (shared, not copied) and where the current row starts
    // in them: a checked row can be kept and decoded again later.
    const QByteArray& Packet() const { return packet_; }
    qsizetype RowOffset() const { return rowStart_; }

    // Cells of the current row. A typed accessor answers 0, false or empty for
    // a null cell; Integer, Float and Date convert between the number types.
    bool IsNull(int field) const { return cellStart(field) < 0; }
    qint64 Integer(int field) const;
    double Float(int field) const;
    bool Boolean(int field) const;
    QByteArrayView Utf8(int field) const; // String, Memo and Blob cells: the bytes
    QString String(int field) const; // any cell as text (numbers and dates as Variant writes them)
    Variant Value(int field) const; // Null for a null cell; Blob as Bytes
    VariantList Row() const;
    // The cell exactly as encoded in the packet (empty for a null cell): lets a
    // data set copy cells without decoding them.
    QByteArrayView EncodedCell(int field) const
    {
        const qsizetype start = cellStart(field);
        if (start < 0)
            return {};
        return QByteArrayView(packet_.constData() + start, cellEnds_[static_cast<size_t>(field)] - start);
    }

private:
    [[noreturn]] void damaged(const QString& reason) const;
    std::uint64_t readVarint(qsizetype& pos) const;
    qsizetype cellStart(int field) const { return cells_[static_cast<size_t>(field)]; }

    QByteArray packet_;
    QList<FieldDescriptor> fields_;
    qint64 rowCount_ = 0;
    qint64 rowsRead_ = 0;
    bool endOfData_ = false;
    qsizetype pos_ = 0; // start of the next row
    qsizetype rowStart_ = 0; // start of the current row
    std::vector<qsizetype> cells_; // start of each cell of the current row; -1 null
    std::vector<qsizetype> cellEnds_; // end of each cell of the current row
};

// Decoding helpers shared with the data set's storage.
namespace datapacket {
// Reads a varint at data[pos], advancing pos; false when it runs past end or is too long.
bool ReadVarintSlow(const char* data, qsizetype end, qsizetype& pos, std::uint64_t& value);
inline bool ReadVarint(const char* data, qsizetype end, qsizetype& pos, std::uint64_t& value)
{
    // Most lengths and many numbers fit in one byte.
    if (pos < end && !(data[pos] & 0x80)) {
        value = static_cast<unsigned char>(data[pos++]);
        return true;
    }
    return ReadVarintSlow(data, end, pos, value);
}
inline qint64 ZigZagDecode(std::uint64_t v)
{
    return static_cast<qint64>((v >> 1) ^ (~(v & 1) + 1));
}
inline std::uint64_t ZigZagEncode(qint64 v)
{
    return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63);
}
} // namespace datapacket
