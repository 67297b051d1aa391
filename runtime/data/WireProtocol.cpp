#include "runtime/data/WireProtocol.h"

#include <QMessageAuthenticationCode>
#include <QtEndian>

#include <cstring>
#include <limits>

namespace wire {

namespace {

enum Tag : quint8 {
    TagUnassigned = 0,
    TagNull = 1,
    TagBoolean = 2,
    TagInteger = 3,
    TagFloat = 4,
    TagDate = 5,
    TagString = 6,
    TagBytes = 7,
    TagArray = 8,
};

[[noreturn]] void malformed(const QString& what)
{
    throw EWireError(QStringLiteral("malformed frame: %1").arg(what));
}

template<typename T> void put(QByteArray& out, T v)
{
    char b[sizeof(T)];
    qToBigEndian(v, b);
    out.append(b, sizeof(T));
}

} // namespace

QByteArray Proof(const QString& secret, const QByteArray& nonce)
{
    return QMessageAuthenticationCode::hash(nonce, secret.toUtf8(), QCryptographicHash::Sha256);
}

bool SameProof(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

// ---------------------------------------------------------------------------

Writer::Writer(Kind kind)
{
    out_.append(static_cast<char>(kind));
}

Writer& Writer::U8(quint8 v)
{
    out_.append(static_cast<char>(v));
    return *this;
}

Writer& Writer::U16(quint16 v)
{
    put(out_, v);
    return *this;
}

Writer& Writer::U32(quint32 v)
{
    put(out_, v);
    return *this;
}

Writer& Writer::I32(qint32 v)
{
    put(out_, v);
    return *this;
}

Writer& Writer::I64(qint64 v)
{
    put(out_, v);
    return *this;
}

Writer& Writer::Text(const QString& v)
{
    return Bytes(v.toUtf8());
}

Writer& Writer::Bytes(QByteArrayView v)
{
    if (v.size() > std::numeric_limits<quint32>::max())
        throw EWireError(QStringLiteral("a value of %1 bytes cannot travel").arg(v.size()));
    U32(static_cast<quint32>(v.size()));
    out_.append(v.data(), v.size());
    return *this;
}

Writer& Writer::Value(const Variant& v)
{
    value(v, 0);
    return *this;
}

void Writer::value(const Variant& v, int depth)
{
    if (v.IsReference()) // the caller sends the value with its own flag
        throw EWireError(QStringLiteral("a reference cannot travel"));
    switch (v.Type()) {
    case VarType::Unassigned:
        U8(TagUnassigned);
        return;
    case VarType::Null:
        U8(TagNull);
        return;
    case VarType::Boolean:
        U8(TagBoolean).U8(v.ToBool() ? 1 : 0);
        return;
    case VarType::Integer:
        U8(TagInteger).I64(v.ToInt64());
        return;
    case VarType::Float:
    case VarType::Date: {
        const double d = v.Type() == VarType::Date ? v.ToDate() : v.ToDouble();
        quint64 bits;
        std::memcpy(&bits, &d, sizeof bits);
        U8(v.Type() == VarType::Date ? TagDate : TagFloat);
        put(out_, bits);
        return;
    }
    case VarType::String:
        U8(TagString).Text(v.ToString());
        return;
    case VarType::Bytes:
        U8(TagBytes).Bytes(v.ToBytes());
        return;
    case VarType::Array: {
        if (depth >= MaxValueDepth)
            throw EWireError(QStringLiteral("arrays nest more than %1 deep").arg(MaxValueDepth));
        const int dims = v.DimCount();
        U8(TagArray).U8(static_cast<quint8>(dims));
        for (int d = 1; d <= dims; ++d)
            I32(v.LowBound(d)).U32(static_cast<quint32>(qint64(v.HighBound(d)) - v.LowBound(d) + 1));
        if (dims == 1) {
            for (int i = v.LowBound(1); i <= v.HighBound(1); ++i)
                value(v.At(i), depth + 1);
        } else {
            for (int i = v.LowBound(1); i <= v.HighBound(1); ++i)
                for (int j = v.LowBound(2); j <= v.HighBound(2); ++j)
                    value(v.At(i, j), depth + 1);
        }
        return;
    }
    case VarType::Object:
    case VarType::Reference:
        break;
    }
    throw EWireError(QStringLiteral("a value of kind %1 cannot travel").arg(Variant::TypeName(v.Type())));
}

// ---------------------------------------------------------------------------

Reader::Reader(const QByteArray& payload)
    : data_(payload)
{
    if (data_.isEmpty())
        malformed(QStringLiteral("empty payload"));
    kind_ = static_cast<Kind>(static_cast<quint8>(data_[0]));
}

const char* Reader::take(qsizetype n)
{
    if (n < 0 || n > Remaining())
        malformed(QStringLiteral("%1 bytes wanted at offset %2, %3 left").arg(n).arg(pos_).arg(Remaining()));
    const char* p = data_.constData() + pos_;
    pos_ += n;
    return p;
}

quint8 Reader::U8()
{
    return static_cast<quint8>(*take(1));
}

quint16 Reader::U16()
{
    return qFromBigEndian<quint16>(take(2));
}

quint32 Reader::U32()
{
    return qFromBigEndian<quint32>(take(4));
}

qint32 Reader::I32()
{
    return qFromBigEndian<qint32>(take(4));
}

qint64 Reader::I64()
{
    return qFromBigEndian<qint64>(take(8));
}

QByteArray Reader::Bytes()
{
    const quint32 n = U32();
    const char* p = take(static_cast<qsizetype>(n));
    return QByteArray(p, static_cast<qsizetype>(n));
}

QString Reader::Text()
{
    const quint32 n = U32();
    const char* p = take(static_cast<qsizetype>(n));
    return QString::fromUtf8(p, static_cast<qsizetype>(n));
}

Variant Reader::Value()
{
    return value(0);
}

Variant Reader::value(int depth)
{
    const quint8 tag = U8();
    switch (tag) {
    case TagUnassigned:
        return Variant();
    case TagNull:
        return Variant::Null();
    case TagBoolean: {
        const quint8 b = U8();
        if (b > 1)
            malformed(QStringLiteral("boolean %1").arg(b));
        return Variant(b == 1);
    }
    case TagInteger:
        return Variant(static_cast<long long>(I64()));
    case TagFloat:
    case TagDate: {
        const quint64 bits = qFromBigEndian<quint64>(take(8));
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return tag == TagDate ? Variant::FromDate(d) : Variant(d);
    }
    case TagString:
        return Variant(Text());
    case TagBytes:
        return Variant(Bytes());
    case TagArray:
        break;
    default:
        malformed(QStringLiteral("unknown value tag %1").arg(tag));
    }
    if (depth >= MaxValueDepth)
        malformed(QStringLiteral("arrays nested more than %1 deep").arg(MaxValueDepth));
    const quint8 dims = U8();
    if (dims != 1 && dims != 2)
        malformed(QStringLiteral("array of %1 dimensions").arg(dims));
    // Bounds are computed in 64 bits: an empty array at the lowest int has
    // its high bound below int, a full one near the top above it. Variant
    // arrays cannot hold either (a high bound must lie in low - 1 ..
    // INT_MAX - 1), so such bounds are refused here, as a fault of the frame.
    qint64 low[2] = {0, 0};
    qint64 count[2] = {1, 1};
    qint64 high[2] = {0, 0};
    for (int d = 0; d < dims; ++d) {
        low[d] = I32();
        count[d] = U32();
        if (count[d] > Remaining())
            malformed(QStringLiteral("array of %1 elements in %2 bytes").arg(count[d]).arg(Remaining()));
        high[d] = low[d] + count[d] - 1;
        if (high[d] < std::numeric_limits<int>::min() || high[d] >= std::numeric_limits<int>::max())
            malformed(QStringLiteral("array bounds %1..%2 out of range").arg(low[d]).arg(high[d]));
    }
    // Every element takes at least its tag byte: a count the rest of the
    // payload cannot hold is refused before the array is made.
    const qint64 total = count[0] * count[1];
    if (total > Remaining())
        malformed(QStringLiteral("array of %1 elements in %2 bytes").arg(total).arg(Remaining()));
    const auto asInt = [](qint64 v) { return static_cast<int>(v); };
    Variant array = dims == 1
        ? Variant::CreateArray(asInt(low[0]), asInt(high[0]))
        : Variant::CreateArray(asInt(low[0]), asInt(high[0]), asInt(low[1]), asInt(high[1]));
    for (qint64 i = 0; i < count[0]; ++i) {
        if (dims == 1) {
            array.At(static_cast<int>(low[0] + i)) = value(depth + 1);
            continue;
        }
        for (qint64 j = 0; j < count[1]; ++j)
            array.At(static_cast<int>(low[0] + i), static_cast<int>(low[1] + j)) = value(depth + 1);
    }
    return array;
}

void Reader::End() const
{
    if (Remaining() != 0)
        malformed(QStringLiteral("%1 bytes after the message").arg(Remaining()));
}

} // namespace wire
