// Batches of one query joined into one packet read exactly like the packet
// of all rows at once; packets that do not belong together are refused.
#include "runtime/data/PacketJoin.h"
#include "runtime/data/DataPacket.h"

#include <gtest/gtest.h>

namespace {

DataPacketWriter writerOf(const QString& secondField = QStringLiteral("NAME"))
{
    DataPacketWriter w;
    w.AddField(QStringLiteral("ID"), ftInteger);
    w.AddField(secondField, ftString, 20);
    return w;
}

QByteArray packetOf(int from, int to, bool end, const QString& secondField = QStringLiteral("NAME"))
{
    DataPacketWriter w = writerOf(secondField);
    for (int i = from; i < to; ++i)
        w.AppendRow({i, i % 3 == 0 ? Variant::Null() : Variant(QStringLiteral("行%1").arg(i))});
    return w.Finish(end);
}

QList<VariantList> rowsOf(const QByteArray& packet)
{
    QList<VariantList> rows;
    DataPacketReader r(packet);
    while (r.NextRow())
        rows << r.Row();
    return rows;
}

} // namespace

TEST(PacketJoin, BatchesJoinIntoThePacketOfAllRows)
{
    TPacketJoiner j;
    EXPECT_TRUE(j.Result().isEmpty());
    j.Append(packetOf(0, 100, false));
    j.Append(packetOf(100, 100, false)); // an empty batch changes nothing
    j.Append(packetOf(100, 250, false));
    j.Append(packetOf(250, 251, true));
    const QByteArray whole = packetOf(0, 251, true);
    EXPECT_EQ(j.RowCount(), 251);
    EXPECT_TRUE(j.EndOfData());
    EXPECT_TRUE(PacketAtEnd(j.Result()));
    EXPECT_EQ(rowsOf(j.Result()), rowsOf(whole));
    EXPECT_EQ(DataPacketReader(j.Result()).Fields(), DataPacketReader(whole).Fields());
    // Not at the end when the last batch is not.
    TPacketJoiner open;
    open.Append(packetOf(0, 5, true));
    open.Append(packetOf(5, 10, false));
    EXPECT_FALSE(open.EndOfData());
    EXPECT_FALSE(DataPacketReader(open.Result()).EndOfData());
}

TEST(PacketJoin, PacketsThatDoNotBelongTogetherAreRefused)
{
    TPacketJoiner j;
    j.Append(packetOf(0, 10, false));
    EXPECT_THROW(j.Append(packetOf(10, 20, true, QStringLiteral("OTHER"))), EDatabaseError);
    QByteArray cut = packetOf(10, 20, true);
    cut.chop(3);
    EXPECT_THROW(j.Append(cut), EDatabaseError);
    EXPECT_THROW(j.Append(QByteArray("ZDPK")), EDatabaseError);
    EXPECT_THROW(j.Append(QByteArray(40, 'x')), EDatabaseError);
    // The rows joined before a refusal stay as they were.
    EXPECT_EQ(rowsOf(j.Result()), rowsOf(packetOf(0, 10, false)));
    EXPECT_FALSE(j.EndOfData());
}
