// Random Variants through the wire codec, checked against a model encoder
// written from the byte layout of WireProtocol.h alone: the codec must
// produce the model's bytes, read them back to an equal Variant, and refuse
// every cut or damaged form with EWireError (never crash, never read past
// the payload). A failure names the seed.
#include "runtime/data/WireProtocol.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cstring>
#include <limits>

namespace {

// --- the model: the layout as the contract states it --------------------

void be(QByteArray& out, quint64 v, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void modelText(QByteArray& out, const QByteArray& utf8)
{
    be(out, static_cast<quint64>(utf8.size()), 4);
    out += utf8;
}

void modelValue(QByteArray& out, const Variant& v)
{
    switch (v.Type()) {
    case VarType::Unassigned:
        out.append('\0');
        break;
    case VarType::Null:
        out.append('\1');
        break;
    case VarType::Boolean:
        out.append('\2').append(v.ToBool() ? '\1' : '\0');
        break;
    case VarType::Integer:
        out.append('\3');
        be(out, static_cast<quint64>(v.ToInt64()), 8);
        break;
    case VarType::Float:
    case VarType::Date: {
        const double d = v.Type() == VarType::Date ? v.ToDate() : v.ToDouble();
        quint64 bits;
        std::memcpy(&bits, &d, 8);
        out.append(v.Type() == VarType::Date ? '\5' : '\4');
        be(out, bits, 8);
        break;
    }
    case VarType::String:
        out.append('\6');
        modelText(out, v.ToString().toUtf8());
        break;
    case VarType::Bytes:
        out.append('\7');
        modelText(out, v.ToBytes());
        break;
    case VarType::Array: {
        out.append('\x08').append(static_cast<char>(v.DimCount()));
        for (int d = 1; d <= v.DimCount(); ++d) {
            be(out, static_cast<quint32>(v.LowBound(d)), 4);
            be(out, static_cast<quint32>(v.HighBound(d) - v.LowBound(d) + 1), 4);
        }
        if (v.DimCount() == 1)
            for (int i = v.LowBound(1); i <= v.HighBound(1); ++i)
                modelValue(out, v.At(i));
        else
            for (int i = v.LowBound(1); i <= v.HighBound(1); ++i)
                for (int j = v.LowBound(2); j <= v.HighBound(2); ++j)
                    modelValue(out, v.At(i, j));
        break;
    }
    default:
        ADD_FAILURE() << "the generator made a kind that cannot travel";
    }
}

// --- random values -----------------------------------------------------

QString randomText(QRandomGenerator& rnd)
{
    // Whole characters only: a lone half of a surrogate pair has no UTF-8 form.
    static const QStringList pool
        = QString::fromUtf8("a|Z|0|9| |'|\"|\\|\n|\t|工|单|變|更|😀|\u00e9").split(u'|')
        << QString(QChar(u'\0'));
    QString s;
    const int n = rnd.bounded(0, 40);
    for (int i = 0; i < n; ++i)
        s += pool[rnd.bounded(static_cast<int>(pool.size()))];
    return s;
}

Variant randomValue(QRandomGenerator& rnd, int depth)
{
    switch (rnd.bounded(depth < 4 ? 10 : 8)) {
    case 0:
        return Variant();
    case 1:
        return Variant::Null();
    case 2:
        return Variant(rnd.bounded(2) == 0);
    case 3:
        return Variant(static_cast<long long>(rnd.generate64()) >> rnd.bounded(64));
    case 4:
        return Variant(rnd.generateDouble() * 1e12 - 5e11);
    case 5:
        return Variant::FromDate(rnd.bounded(0, 80000) + rnd.bounded(86400) / 86400.0);
    case 6:
        return Variant(randomText(rnd));
    case 7: {
        QByteArray b(rnd.bounded(0, 64), '\0');
        for (char& c : b)
            c = static_cast<char>(rnd.bounded(256));
        return Variant(b);
    }
    case 8: {
        const int low = rnd.bounded(-3, 4);
        const int count = rnd.bounded(0, 7);
        Variant a = Variant::CreateArray(low, low + count - 1);
        for (int i = 0; i < count; ++i)
            a.At(low + i) = randomValue(rnd, depth + 1);
        return a;
    }
    default: {
        const int low1 = rnd.bounded(0, 2), low2 = rnd.bounded(0, 2);
        const int rows = rnd.bounded(1, 4), cols = rnd.bounded(1, 4);
        Variant a = Variant::CreateArray(low1, low1 + rows - 1, low2, low2 + cols - 1);
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j)
                a.At(low1 + i, low2 + j) = randomValue(rnd, depth + 1);
        return a;
    }
    }
}

} // namespace

TEST(WireProtocolModel, RandomValuesTravelByteForByteAsTheModelLaysThemOut)
{
    for (quint32 seed = 1; seed <= 400; ++seed) {
        QRandomGenerator rnd(seed);
        const Variant value = randomValue(rnd, 0);
        const QString text = randomText(rnd);
        const qint64 number = static_cast<qint64>(rnd.generate64());
        const QByteArray payload
            = wire::Writer(wire::Kind::Call).Text(text).Value(value).I64(number).Payload();

        QByteArray model(1, '\x20');
        modelText(model, text.toUtf8());
        modelValue(model, value);
        be(model, static_cast<quint64>(number), 8);
        ASSERT_EQ(payload, model) << "seed " << seed << ": " << value.DebugText().toStdString();

        wire::Reader r(model);
        ASSERT_EQ(r.MessageKind(), wire::Kind::Call) << "seed " << seed;
        ASSERT_EQ(r.Text(), text) << "seed " << seed;
        ASSERT_EQ(r.Value(), value) << "seed " << seed << ": " << value.DebugText().toStdString();
        ASSERT_EQ(r.I64(), number) << "seed " << seed;
        ASSERT_NO_THROW(r.End()) << "seed " << seed;

        // Every cut form is refused as malformed.
        for (qsizetype cut = 1; cut < model.size(); cut += 1 + model.size() / 16) {
            wire::Reader shortened(model.left(cut));
            EXPECT_THROW(
                {
                    shortened.Text();
                    shortened.Value();
                    shortened.I64();
                },
                EWireError)
                << "seed " << seed << " cut at " << cut;
        }
    }
}

TEST(WireProtocolModel, DamagedPayloadsAreRefusedOrReadWithinTheirBytes)
{
    for (quint32 seed = 1; seed <= 2000; ++seed) {
        QRandomGenerator rnd(seed);
        QByteArray payload = wire::Writer(wire::Kind::Result).Value(randomValue(rnd, 0)).Payload();
        const int flips = rnd.bounded(1, 4);
        for (int i = 0; i < flips; ++i)
            payload[rnd.bounded(1, static_cast<int>(payload.size()))] = static_cast<char>(rnd.bounded(256));
        wire::Reader r(payload);
        Variant decoded;
        try {
            decoded = r.Value();
        } catch (const EWireError&) {
            continue; // refused: what damaged bytes should get
        }
        // Whatever was read is a value the codec can carry again unchanged.
        const QByteArray again = wire::Writer(wire::Kind::Result).Value(decoded).Payload();
        wire::Reader reread(again);
        ASSERT_EQ(reread.Value(), decoded) << "seed " << seed;
        ASSERT_EQ(reread.Remaining(), 0) << "seed " << seed;
    }
}

TEST(WireProtocolModel, CountsThePayloadCannotHoldAreRefusedBeforeAnythingIsMade)
{
    // A one-dimensional array claiming 4 billion elements in a few bytes.
    QByteArray p(1, '\x21');
    p.append('\x08').append('\x01');
    be(p, 0, 4);
    be(p, 0xFFFFFFFFu, 4);
    p.append('\0');
    EXPECT_THROW(wire::Reader(p).Value(), EWireError);
    // Two dimensions whose product would overflow.
    QByteArray q(1, '\x21');
    q.append('\x08').append('\x02');
    be(q, 0, 4);
    be(q, 0x10000u, 4);
    be(q, 0, 4);
    be(q, 0x10000u, 4);
    EXPECT_THROW(wire::Reader(q).Value(), EWireError);
    // Three dimensions, an unknown tag, a boolean of 2, nesting past the limit.
    EXPECT_THROW(wire::Reader(QByteArray("\x21\x08\x03", 3)).Value(), EWireError);
    EXPECT_THROW(wire::Reader(QByteArray("\x21\x09", 2)).Value(), EWireError);
    EXPECT_THROW(wire::Reader(QByteArray("\x21\x02\x02", 3)).Value(), EWireError);
    QByteArray deep(1, '\x21');
    for (int i = 0; i <= wire::MaxValueDepth; ++i) {
        deep.append('\x08').append('\x01');
        be(deep, 0, 4);
        be(deep, 1, 4);
    }
    deep.append('\0');
    EXPECT_THROW(wire::Reader(deep).Value(), EWireError);
    // Nor may a sender make one: objects, references and deep nesting raise.
    Variant target = 1;
    EXPECT_THROW(wire::Writer(wire::Kind::Call).Value(Variant::Ref(target)), EWireError);
    Variant nested = Variant::ArrayOf({1});
    for (int i = 0; i < wire::MaxValueDepth; ++i)
        nested = Variant::ArrayOf({nested});
    EXPECT_THROW(wire::Writer(wire::Kind::Call).Value(nested), EWireError);
    // Trailing bytes are a fault too.
    wire::Reader trailing(QByteArray("\x40\x00", 2));
    EXPECT_THROW(trailing.End(), EWireError);
}

TEST(WireProtocolModel, BoundsAVariantCannotHoldAreRefusedAndTheRestTravelExactly)
{
    const auto array = [](qint32 low, quint32 count, int elements) {
        QByteArray p(1, '\x21');
        p.append('\x08').append('\x01');
        be(p, static_cast<quint32>(low), 4);
        be(p, count, 4);
        p.append(QByteArray(elements, '\0'));
        return p;
    };
    constexpr qint32 lo = std::numeric_limits<qint32>::min();
    constexpr qint32 hi = std::numeric_limits<qint32>::max();
    // Empty at the lowest int: the high bound would lie below int.
    EXPECT_THROW(wire::Reader(array(lo, 0, 0)).Value(), EWireError);
    // Ending at the highest int: no loop up to the high bound could end.
    EXPECT_THROW(wire::Reader(array(hi, 1, 1)).Value(), EWireError);
    EXPECT_THROW(wire::Reader(array(hi - 1, 2, 2)).Value(), EWireError);
    // Bounds that fit come back as they went, and encode again byte for byte.
    for (const qint32 low : {lo, lo + 1, -1, 0, hi - 2}) {
        const QByteArray payload = array(low, 2, 2);
        wire::Reader r(payload);
        const Variant v = r.Value();
        r.End();
        EXPECT_EQ(v.LowBound(), low);
        EXPECT_EQ(v.HighBound(), low + 1);
        EXPECT_EQ(wire::Writer(wire::Kind::Result).Value(v).Payload(), payload) << low;
    }
    // The second dimension is held to the same rule.
    QByteArray two(1, '\x21');
    two.append('\x08').append('\x02');
    be(two, 0, 4);
    be(two, 1, 4);
    be(two, static_cast<quint32>(lo), 4);
    be(two, 0, 4);
    EXPECT_THROW(wire::Reader(two).Value(), EWireError);
}

TEST(WireProtocolModel, ProofsDependOnSecretAndNonce)
{
    const QByteArray nonce(32, 'n');
    EXPECT_EQ(wire::Proof(QStringLiteral("s"), nonce).size(), 32);
    EXPECT_TRUE(
        wire::SameProof(wire::Proof(QStringLiteral("s"), nonce), wire::Proof(QStringLiteral("s"), nonce)));
    EXPECT_FALSE(
        wire::SameProof(wire::Proof(QStringLiteral("s"), nonce), wire::Proof(QStringLiteral("t"), nonce)));
    EXPECT_FALSE(wire::SameProof(
        wire::Proof(QStringLiteral("s"), nonce), wire::Proof(QStringLiteral("s"), QByteArray(32, 'm'))));
    EXPECT_FALSE(wire::SameProof(QByteArray(32, 'a'), QByteArray(31, 'a')));
}
