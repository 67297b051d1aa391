#include "runtime/data/RecordStore.h"

#include "runtime/system/DateTime.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Wide rows like the change-slip lines: mostly text, every type present,
// most cells null.
constexpr int kWide = 317;

TFieldType wideType(int column)
{
    switch (column % 20) {
    case 0:
        return ftInteger;
    case 1:
        return ftFloat;
    case 2:
        return ftDate;
    case 3:
        return ftBoolean;
    case 4:
        return ftMemo;
    case 5:
        return ftDateTime;
    case 6:
        return column % 40 == 6 ? ftBlob : ftString;
    default:
        return ftString;
    }
}

QList<FieldDescriptor> wideFields()
{
    QList<FieldDescriptor> fields;
    for (int i = 0; i < kWide; ++i)
        fields.append({QStringLiteral("F%1").arg(i), wideType(i), 0, false});
    return fields;
}

quint32 mix(quint32 a, quint32 b)
{
    quint32 h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u + (a << 6) + (a >> 2));
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    return h;
}

// The cell of a generated row; about three in four are null.
Variant wideCell(int row, int column)
{
    const quint32 h = mix(static_cast<quint32>(row), static_cast<quint32>(column));
    if (h % 4 != 0)
        return Variant::Null();
    const quint32 k = h >> 8;
    switch (wideType(column)) {
    case ftInteger:
        // Small, negative and beyond 32 bits: varints of every length.
        return Variant(k % 3 == 0 ? qint64(k % 100) : k % 3 == 1 ? -qint64(k) * 1000003 : qint64(k) << 30);
    case ftFloat:
        return Variant((static_cast<double>(k) - 5e6) / 7.0);
    case ftDate:
        return Variant::FromDate(datetime::EncodeDate(2000 + k % 30, 1 + k % 12, 1 + k % 28));
    case ftDateTime:
        return Variant::FromDate(datetime::EncodeDate(2024, 2, 29) + (k % 1440) / 1440.0);
    case ftBoolean:
        return Variant(k % 2 == 0);
    case ftBlob: {
        QByteArray bytes;
        for (quint32 i = 0; i < k % 9; ++i)
            bytes.append(static_cast<char>((k >> i) & 0xFF)); // zero bytes included
        return Variant(bytes);
    }
    case ftMemo:
        return Variant(QString(static_cast<int>(k % 300), QChar(u'备')));
    default:
        // Empty texts too, and long ones whose length takes two varint bytes.
        if (k % 7 == 0)
            return Variant(QString());
        if (k % 11 == 0)
            return Variant(QString(200, QLatin1Char('x')) + QString::number(row));
        return Variant(QStringLiteral("工单%1-%2").arg(row).arg(column));
    }
}

QByteArray widePacket(int from, int count, bool endOfData = false)
{
    DataPacketWriter w(wideFields());
    for (int r = from; r < from + count; ++r) {
        VariantList row;
        for (int c = 0; c < kWide; ++c)
            row.append(wideCell(r, c));
        w.AppendRow(row);
    }
    return w.Finish(endOfData);
}

qint64 append(RecordStore& store, const QByteArray& packet)
{
    DataPacketReader reader(packet);
    return store.AppendPacket(reader);
}

// Every cell of the slot against the generated row, through every reader
// that suits the column; returns the number of cells that differ.
int mismatches(const RecordStore& store, std::uint32_t slot, int row)
{
    int bad = 0;
    for (int c = 0; c < kWide; ++c) {
        const Variant want = wideCell(row, c);
        const Variant got = store.Value(c, slot);
        if (want.IsNull() != store.IsNull(c, slot) || got.Type() != want.Type() || got != want) {
            ADD_FAILURE() << "row " << row << " column " << c << ": " << got.ToString().toStdString()
                          << " instead of " << want.ToString().toStdString();
            ++bad;
            continue;
        }
        if (want.IsNull())
            continue;
        switch (wideType(c)) {
        case ftInteger:
            bad += store.Integer(c, slot) != want.ToInt64();
            break;
        case ftFloat:
        case ftDate:
        case ftDateTime:
            bad += store.Float(c, slot) != want.ToDouble();
            break;
        case ftBoolean:
            bad += store.Boolean(c, slot) != want.ToBool()
                || store.Integer(c, slot) != (want.ToBool() ? 1 : 0);
            break;
        case ftBlob:
            bad += store.Bytes(c, slot) != QByteArrayView(want.ToBytes());
            break;
        default:
            bad += store.Bytes(c, slot) != QByteArrayView(want.ToString().toUtf8());
            break;
        }
    }
    return bad;
}

} // namespace

TEST(RecordStore, WideRowsFromManyPacketsReadBackCellByCell)
{
    RecordStore store;
    store.Reset(wideFields());
    // Packets of one row (their header outweighs the row), of a few rows and
    // of many, and one that a reader has already stepped into.
    int rows = 0;
    for (int count : {1, 1, 3, 150, 1, 40}) {
        EXPECT_EQ(append(store, widePacket(rows, count)), count);
        rows += count;
    }
    {
        DataPacketReader reader(widePacket(rows - 2, 12));
        ASSERT_TRUE(reader.NextRow());
        ASSERT_TRUE(reader.NextRow());
        EXPECT_EQ(store.AppendPacket(reader), 10);
        rows += 10;
    }
    ASSERT_EQ(store.Count(), rows);

    int bad = 0;
    for (int r = 0; r < rows; ++r)
        bad += mismatches(store, store.SlotAt(r), r);
    EXPECT_EQ(bad, 0);

    // Columns asked for out of order: far ones first, then back to the start.
    for (int r : {0, 77, rows - 1}) {
        const std::uint32_t slot = store.SlotAt(r);
        for (int c : {kWide - 1, 0, 200, 1, 199, 201, kWide - 2})
            EXPECT_EQ(store.Value(c, slot), wideCell(r, c)) << r << "/" << c;
    }
}

TEST(RecordStore, ReadsThatAlternateBetweenRecordsStayCorrect)
{
    RecordStore store;
    store.Reset(wideFields());
    append(store, widePacket(0, 60));

    // Two records compared field by field, as a sort or a search does.
    for (auto [a, b] : {std::pair {3, 4}, std::pair {59, 0}, std::pair {10, 10}}) {
        for (int c = kWide - 1; c >= 0; --c) {
            ASSERT_EQ(store.Value(c, store.SlotAt(a)), wideCell(a, c)) << a << "/" << c;
            ASSERT_EQ(store.Value(c, store.SlotAt(b)), wideCell(b, c)) << b << "/" << c;
        }
    }
    // More records in turn than are kept decoded at once.
    for (int c = 0; c < kWide; c += 3)
        for (int r = 0; r < 9; ++r)
            ASSERT_EQ(store.Value(c, store.SlotAt(r * 6)), wideCell(r * 6, c)) << r * 6 << "/" << c;
}

TEST(RecordStore, EditsAndNewRowsSurviveLaterPacketsAndLeaveThePacketAlone)
{
    RecordStore store;
    store.Reset(wideFields());
    const QByteArray first = widePacket(0, 20);
    const QByteArray pristine(first.constData(), first.size()); // a deep copy
    append(store, first);

    const int text = 7, integer = 20, real = 21, boolean = 23;
    const std::uint32_t s5 = store.SlotAt(5);
    store.SetValue(text, s5, Variant(QString(1000, QChar(u'长')))); // longer than before
    store.SetValue(text, s5, Variant(QStringLiteral("短"))); // then shorter, in place
    store.SetValue(integer, s5, Variant(qint64(-1) << 62));
    store.SetValue(real, s5, Variant::Null());
    store.SetValue(boolean, s5, Variant(false));
    const std::uint32_t s6 = store.SlotAt(6);
    store.SetValue(kWide - 1, s6, Variant(QStringLiteral("last field")));
    store.SetValue(0, s6, Variant::Null());

    // A new record inserted second, with a few fields set.
    const std::uint32_t added = store.NewSlot();
    for (int c = 0; c < kWide; ++c)
        EXPECT_TRUE(store.IsNull(c, added));
    store.SetValue(text, added, Variant(QStringLiteral("新增")));
    store.SetValue(integer, added, Variant(qint64(42)));
    store.SetValue(kWide - 1, added, Variant(QString()));
    store.InsertAt(1, added);
    // An edit of the first row, then the new one again: both rows move about.
    store.SetValue(text, store.SlotAt(0), Variant(QStringLiteral("零")));
    store.SetValue(integer, added, Variant(qint64(43)));

    append(store, widePacket(20, 30));
    append(store, widePacket(50, 1));
    ASSERT_EQ(store.Count(), 52);
    EXPECT_EQ(QByteArrayView(first), QByteArrayView(pristine));

    EXPECT_EQ(store.Value(text, added).ToString(), QStringLiteral("新增"));
    EXPECT_EQ(store.Integer(integer, added), 43);
    EXPECT_FALSE(store.IsNull(kWide - 1, added));
    EXPECT_EQ(store.Bytes(kWide - 1, added).size(), 0);
    EXPECT_TRUE(store.IsNull(real, added));
    EXPECT_EQ(store.IndexOfSlot(added), 1);

    EXPECT_EQ(store.Value(text, s5).ToString(), QStringLiteral("短"));
    EXPECT_EQ(store.Integer(integer, s5), qint64(-1) << 62);
    EXPECT_TRUE(store.IsNull(real, s5));
    EXPECT_FALSE(store.IsNull(boolean, s5));
    EXPECT_FALSE(store.Boolean(boolean, s5));
    EXPECT_EQ(store.Value(kWide - 1, s6).ToString(), QStringLiteral("last field"));
    EXPECT_TRUE(store.IsNull(0, s6));
    EXPECT_EQ(store.Value(text, store.SlotAt(0)).ToString(), QStringLiteral("零"));

    // Every other cell is as it came.
    int bad = 0;
    for (int r = 0; r < 52; ++r) {
        const std::uint32_t slot = store.SlotAt(r);
        if (slot == added)
            continue;
        // The new record took a slot between the two packets' rows.
        const int source = static_cast<int>(slot < added ? slot : slot - 1);
        for (int c = 0; c < kWide; ++c) {
            if ((slot == s5 && (c == text || c == integer || c == real || c == boolean))
                || (slot == s6 && (c == 0 || c == kWide - 1)) || (r == 0 && c == text))
                continue;
            bad += store.Value(c, slot) != wideCell(source, c);
        }
    }
    EXPECT_EQ(bad, 0);

    store.RemoveAt(1);
    EXPECT_EQ(store.IndexOfSlot(added), -1);
    EXPECT_EQ(store.Count(), 51);
}

TEST(RecordStore, RepeatedEditsDoNotPileUpMemory)
{
    RecordStore store;
    store.Reset(wideFields());
    append(store, widePacket(0, 400));
    const int text = 8;
    qint64 afterFirstRound = 0, most = 0;
    for (int round = 0; round < 12; ++round) {
        // Rows edited in turn, so that each row's old copy is left behind.
        for (int r = 0; r < 400; ++r)
            store.SetValue(text, store.SlotAt(r), Variant(QStringLiteral("%1:%2").arg(round).arg(r)));
        if (round == 0)
            afterFirstRound = store.MemoryBytes();
        most = std::max(most, store.MemoryBytes());
    }
    // Each round leaves a copy of every row behind until they are moved
    // together: twelve rounds would otherwise hold twelve copies.
    EXPECT_LT(most, afterFirstRound * 2);
    int bad = 0;
    for (int r = 0; r < 400; ++r) {
        const std::uint32_t slot = store.SlotAt(r);
        bad += store.Value(text, slot).ToString() != QStringLiteral("11:%1").arg(r);
        for (int c : {0, 1, 5, 100, kWide - 1})
            bad += store.Value(c, slot) != wideCell(r, c);
    }
    EXPECT_EQ(bad, 0);
}

TEST(RecordStore, DamagedPacketLeavesEarlierRowsAndNoneOfItsOwn)
{
    RecordStore store;
    store.Reset(wideFields());
    append(store, widePacket(0, 5));
    const qint64 bytesBefore = store.MemoryBytes();

    // Damage found only after every row was read: one byte too many at the end.
    QByteArray trailing = widePacket(5, 4);
    trailing.append('\0');
    const quint64 length = static_cast<quint64>(trailing.size());
    for (int i = 0; i < 8; ++i)
        trailing[16 + i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    EXPECT_THROW(append(store, trailing), EDatabaseError);
    EXPECT_EQ(store.Count(), 5);

    // A text whose length runs past the end, in the last row.
    QByteArray cut = widePacket(5, 4);
    DataPacketReader probe(cut);
    for (int i = 0; i < 4; ++i)
        probe.NextRow();
    int lastText = -1;
    for (int c = kWide - 1; c >= 0 && lastText < 0; --c)
        if (wideType(c) == ftString && probe.Utf8(c).size() >= 3)
            lastText = c;
    ASSERT_GE(lastText, 0);
    const qsizetype at = probe.EncodedCell(lastText).data() - probe.Packet().constData();
    // A length of some 266 million: three continuation bytes, then 0x7F.
    cut[at] = cut[at + 1] = cut[at + 2] = '\xFF';
    cut[at + 3] = '\x7F';
    EXPECT_THROW(append(store, cut), EDatabaseError);
    EXPECT_EQ(store.Count(), 5);
    // Neither packet is held.
    EXPECT_LT(store.MemoryBytes(), bytesBefore + cut.size() / 2);

    int bad = 0;
    for (int r = 0; r < 5; ++r)
        bad += mismatches(store, store.SlotAt(r), r);
    // A sound packet afterwards takes the next slots as if nothing happened.
    EXPECT_EQ(append(store, widePacket(5, 3)), 3);
    for (int r = 0; r < 8; ++r)
        bad += mismatches(store, store.SlotAt(r), r);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(store.SlotAt(7), 7u);
}

TEST(RecordStore, NullAndEmptyAreDifferentCells)
{
    RecordStore store;
    store.Reset({{"S", ftString, 10, false}, {"I", ftInteger, 0, false}, {"B", ftBoolean, 0, false},
        {"L", ftBlob, 0, false}, {"F", ftFloat, 0, false}});
    DataPacketWriter w(store.Fields());
    w.AppendRow({Variant(QString()), Variant(0), Variant(false), Variant(QByteArray()), Variant(0.0)});
    w.AppendRow({Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null(), Variant::Null()});
    append(store, w.Finish(true));

    const std::uint32_t empty = store.SlotAt(0), null = store.SlotAt(1);
    for (int c = 0; c < 5; ++c) {
        EXPECT_FALSE(store.IsNull(c, empty)) << c;
        EXPECT_TRUE(store.IsNull(c, null)) << c;
        EXPECT_TRUE(store.Value(c, null).IsNull()) << c;
        EXPECT_FALSE(store.Value(c, empty).IsNull()) << c;
    }
    EXPECT_EQ(store.Value(0, empty).Type(), VarType::String);
    EXPECT_EQ(store.Value(3, empty).Type(), VarType::Bytes);
    EXPECT_EQ(store.Value(1, empty), Variant(0));
    EXPECT_EQ(store.Value(2, empty), Variant(false));
    // Null cells read as nothing through the typed readers.
    EXPECT_EQ(store.Integer(1, null), 0);
    EXPECT_FALSE(store.Boolean(2, null));
    EXPECT_EQ(store.Float(4, null), 0.0);
    EXPECT_TRUE(store.Bytes(0, null).isEmpty());

    // Edits cross over both ways; cells beside them keep their state.
    store.SetValue(0, null, Variant(QString()));
    store.SetValue(1, null, Variant(qint64(0)));
    store.SetValue(0, empty, Variant::Null());
    store.SetValue(3, empty, Variant::Null());
    EXPECT_FALSE(store.IsNull(0, null));
    EXPECT_EQ(store.Value(0, null).ToString(), QString());
    EXPECT_FALSE(store.IsNull(1, null));
    EXPECT_TRUE(store.IsNull(2, null));
    EXPECT_TRUE(store.IsNull(0, empty));
    EXPECT_TRUE(store.IsNull(3, empty));
    EXPECT_FALSE(store.IsNull(2, empty));
    EXPECT_FALSE(store.IsNull(4, empty));
    EXPECT_EQ(store.Value(4, empty), Variant(0.0));
}

TEST(RecordStore, PacketsOverBorrowedOrOversizedBytesAreCopied)
{
    RecordStore store;
    store.Reset(wideFields());
    const QByteArray source = widePacket(0, 50);
    QByteArray buffer(source.constData(), source.size());
    {
        DataPacketReader reader(QByteArray::fromRawData(buffer.constData(), buffer.size()));
        EXPECT_EQ(store.AppendPacket(reader), 50);
    }
    buffer.fill('\xEE'); // the memory the packet was read from is reused
    int bad = 0;
    for (int r = 0; r < 50; ++r)
        bad += mismatches(store, store.SlotAt(r), r);
    EXPECT_EQ(bad, 0);

    // A packet in an allocation ten times its size: its rows are taken out
    // rather than the whole allocation held.
    const qint64 before = store.MemoryBytes();
    QByteArray roomy;
    roomy.reserve(source.size() * 10);
    roomy.append(source);
    append(store, roomy);
    EXPECT_LT(store.MemoryBytes() - before, source.size() * 2);
    for (int r = 0; r < 50; ++r)
        bad += mismatches(store, store.SlotAt(50 + r), r);
    EXPECT_EQ(bad, 0);
}

TEST(RecordStore, MemoryFollowsThePacketsAndStaysFarBelowAColumnPerSlot)
{
    // Rows of 317 fields, 300 of them text, of which one in ten is given
    // (a short code); every fifth row also has a long remark.
    QList<FieldDescriptor> fields;
    for (int i = 0; i < kWide; ++i)
        fields.append({QStringLiteral("F%1").arg(i), i < 300 ? ftString : ftFloat, 0, false});
    DataPacketWriter w(fields);
    int serial = 0;
    auto packet = [&](int rows) {
        for (int r = 0; r < rows; ++r, ++serial)
            for (int c = 0; c < kWide; ++c) {
                if (c == 0 && serial % 5 == 0)
                    w.WriteString(QString(400, QChar(u'注')));
                else if (mix(static_cast<quint32>(serial), static_cast<quint32>(c)) % 10 != 0)
                    w.WriteNull();
                else if (c < 300)
                    w.WriteString(QStringLiteral("A%1").arg(serial % 10000));
                else
                    w.WriteFloat(serial * 0.5);
            }
        return w.Finish();
    };

    RecordStore store;
    store.Reset(fields);
    const qint64 empty = store.MemoryBytes();
    qint64 packetBytes = 0;
    qint64 previous = empty;
    constexpr int perPacket = 500, packets = 6;
    for (int p = 0; p < packets; ++p) {
        const QByteArray bytes = packet(perPacket);
        packetBytes += bytes.size();
        append(store, bytes);
        EXPECT_GT(store.MemoryBytes(), previous) << p;
        previous = store.MemoryBytes();
    }
    constexpr qint64 rows = perPacket * packets;
    ASSERT_EQ(store.Count(), rows);
    // Everything kept is counted: the packets and a location and an order
    // entry per row.
    EXPECT_GE(store.MemoryBytes(), packetBytes + rows * 12);
    // A 4-byte offset for each text cell, null or not, would alone take
    // 1,200 bytes a row; these rows, remarks included, take well under half.
    EXPECT_LT(store.MemoryBytes(), rows * 300 * 4 / 2);
    EXPECT_EQ(store.Value(0, store.SlotAt(rows - 5)), Variant(QString(400, QChar(u'注'))));

    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    EXPECT_LT(store.MemoryBytes(), empty + 4096);
}
