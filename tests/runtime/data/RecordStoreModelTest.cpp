#include "runtime/data/RecordStore.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <map>

namespace {

// Columns of every kind; text columns take long values too, so that edits
// move rows, fill owned blocks and leave enough dead bytes behind for the
// store to move its rows together.
QList<FieldDescriptor> fields()
{
    // Wide enough that a row is decoded in more than one step.
    static const TFieldType kinds[] = {ftString, ftInteger, ftFloat, ftBoolean, ftString, ftDate, ftMemo,
        ftBlob, ftInteger, ftString, ftDateTime};
    QList<FieldDescriptor> out;
    for (int i = 0; i < 41; ++i)
        out.append({QStringLiteral("F%1").arg(i), kinds[i % 11], 0, false});
    return out;
}

Variant randomCell(QRandomGenerator& rnd, TFieldType type)
{
    if (rnd.bounded(4) == 0)
        return Variant::Null();
    switch (type) {
    case ftInteger:
        return Variant(static_cast<qint64>(rnd.generate64()) >> rnd.bounded(64));
    case ftFloat:
        return Variant(rnd.generateDouble() * 1e6 - 5e5);
    case ftDate:
    case ftDateTime:
        return Variant::FromDate(static_cast<double>(rnd.bounded(40000, 50000)) + rnd.bounded(1440) / 1440.0);
    case ftBoolean:
        return Variant(rnd.bounded(2) == 0);
    case ftBlob: {
        QByteArray b(rnd.bounded(0, 300), '\0');
        for (char& c : b)
            c = static_cast<char>(rnd.bounded(256));
        return Variant(b);
    }
    default: {
        const int length = rnd.bounded(3) == 0 ? rnd.bounded(100, 3000) : rnd.bounded(0, 20);
        return Variant(QString(length, QChar(u'a' + rnd.bounded(26))));
    }
    }
}

} // namespace

// Random appends, inserts, deletes and edits against a plain list of rows:
// every read of the store must agree with the list, whatever order the reads
// come in and however often the rows have moved.
TEST(RecordStoreModel, RandomEditsAgreeWithAPlainCopy)
{
    const QList<FieldDescriptor> f = fields();
    for (quint32 seed = 1; seed <= 6; ++seed) {
        QRandomGenerator rnd(seed);
        RecordStore store;
        store.Reset(f);
        std::map<std::uint32_t, VariantList> model; // slot -> cells
        std::vector<std::uint32_t> order;
        auto check = [&](std::uint32_t slot, int column) {
            const Variant want = model.at(slot)[column];
            const Variant got = store.Value(column, slot);
            if (want.IsNull() != store.IsNull(column, slot) || got != want) {
                ADD_FAILURE() << "seed " << seed << " slot " << slot << " column " << column;
                return false;
            }
            return true;
        };
        for (int step = 0; step < 6000; ++step) {
            const int op = rnd.bounded(100);
            if (op < 3 || order.empty()) {
                DataPacketWriter w(f);
                const int rows = rnd.bounded(0, 12);
                std::vector<VariantList> added;
                for (int r = 0; r < rows; ++r) {
                    VariantList row;
                    for (const auto& d : f)
                        row.append(randomCell(rnd, d.Type));
                    w.AppendRow(row);
                    added.push_back(row);
                }
                QByteArray packet = w.Finish();
                if (rnd.bounded(3) == 0)
                    packet.reserve(packet.size() * 4 + 100000); // kept only as a copy
                DataPacketReader reader(packet);
                // The rows a caller has stepped over already are not the store's.
                const int skipped = rows > 0 ? rnd.bounded(rows / 2 + 1) : 0;
                for (int r = 0; r < skipped; ++r)
                    ASSERT_TRUE(reader.NextRow());
                const std::uint32_t first
                    = static_cast<std::uint32_t>(model.empty() ? 0 : model.rbegin()->first + 1);
                ASSERT_EQ(store.AppendPacket(reader), rows - skipped);
                added.erase(added.begin(), added.begin() + skipped);
                for (int r = 0; r < rows - skipped; ++r) {
                    model[first + static_cast<std::uint32_t>(r)] = added[static_cast<size_t>(r)];
                    order.push_back(first + static_cast<std::uint32_t>(r));
                }
            } else if (op < 8) {
                const std::uint32_t slot = store.NewSlot();
                model[slot] = VariantList(f.size(), Variant::Null());
                const auto at = static_cast<qint64>(rnd.bounded(static_cast<quint32>(order.size() + 1)));
                store.InsertAt(at, slot);
                order.insert(order.begin() + at, slot);
            } else if (op < 10) {
                const auto at = static_cast<qint64>(rnd.bounded(static_cast<quint32>(order.size())));
                store.RemoveAt(at);
                order.erase(order.begin() + at);
            } else if (op < 60) {
                // Edits cluster on a few records, as a user editing a grid does.
                const auto at = rnd.bounded(static_cast<quint32>(std::min<size_t>(order.size(), 8)));
                const std::uint32_t slot = order[at];
                const int column = rnd.bounded(static_cast<int>(f.size()));
                // Read part of the record first: the edit must keep what the reads decoded in step.
                if (rnd.bounded(2) == 0)
                    check(slot, rnd.bounded(static_cast<int>(f.size())));
                const Variant v = RecordStore::ToColumnKind(f[column].Type, randomCell(rnd, f[column].Type));
                store.SetValue(column, slot, v);
                model[slot][column] = v;
                if (!check(slot, column))
                    return;
            } else {
                const std::uint32_t slot = order[rnd.bounded(static_cast<quint32>(order.size()))];
                if (!check(slot, rnd.bounded(static_cast<int>(f.size()))))
                    return;
            }
        }
        ASSERT_EQ(store.Count(), static_cast<qint64>(order.size()));
        for (size_t i = 0; i < order.size(); ++i) {
            ASSERT_EQ(store.SlotAt(static_cast<qint64>(i)), order[i]);
            for (int c = 0; c < f.size(); ++c)
                if (!check(order[i], c))
                    return;
        }
    }
}
