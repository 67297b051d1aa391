// The data-set adapter against the rows-in-memory source: the same walk
// over the same rows must read the same.

#include "runtime/data/ClientDataSet.h"
#include "runtime/report/QRDataSource.h"

#include <gtest/gtest.h>
#include <random>

namespace {

struct Rows {
    TClientDataSet data;
    TQRMemorySource memory {{"CODE", "QTY", "NOTE"}};

    explicit Rows(int count)
    {
        data.FieldDefs().Add("CODE", ftString, 10);
        data.FieldDefs().Add("QTY", ftInteger);
        data.FieldDefs().Add("NOTE", ftString, 20);
        data.CreateDataSet();
        for (int i = 1; i <= count; ++i) {
            data.Append();
            data.FieldByName("CODE")->SetAsString(QStringLiteral("C%1").arg(i));
            data.FieldByName("QTY")->SetAsInteger(i * 10);
            if (i % 3)
                data.FieldByName("NOTE")->SetAsString(QStringLiteral("note %1").arg(i));
            data.Post();
            memory.AddRow({QStringLiteral("C%1").arg(i), i * 10,
                i % 3 ? QVariant(QStringLiteral("note %1").arg(i)) : QVariant()});
        }
    }
};

} // namespace

TEST(DataSourceTest, AdapterWalksLikeTheMemorySource)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        std::mt19937 random(seed);
        const int count = std::uniform_int_distribution<int>(0, 6)(random);
        Rows rows(count);
        TQRDataSetSource adapter(&rows.data);
        TQRDataSource* sources[] = {&adapter, &rows.memory};
        for (TQRDataSource* source : sources) {
            EXPECT_EQ(source->FieldIndex("qty"), 1);
            EXPECT_EQ(source->FieldIndex("MISSING"), -1);
            EXPECT_EQ(source->RecordCount(), count);
            source->First();
        }
        for (int step = 0; step < 40; ++step) {
            const int move = std::uniform_int_distribution<int>(0, 5)(random);
            for (TQRDataSource* source : sources) {
                if (move == 0)
                    source->First();
                else if (move <= 3)
                    source->Next();
                else
                    source->Prior();
            }
            const QString where = QStringLiteral("seed %1 step %2 move %3").arg(seed).arg(step).arg(move);
            ASSERT_EQ(adapter.Eof(), rows.memory.Eof()) << where.toStdString();
            ASSERT_EQ(adapter.RecNo(), rows.memory.RecNo()) << where.toStdString();
            for (int field = 0; field < 3; ++field) {
                EXPECT_EQ(adapter.FieldText(field), rows.memory.FieldText(field)) << where.toStdString();
                EXPECT_EQ(adapter.FieldValue(field), rows.memory.FieldValue(field))
                    << where.toStdString() << " field " << field;
            }
        }
    }
}

TEST(DataSourceTest, ClosedDataSetReadsAsNoRows)
{
    TClientDataSet data;
    TQRDataSetSource adapter(&data);
    adapter.First();
    EXPECT_TRUE(adapter.Eof());
    EXPECT_EQ(adapter.RecNo(), 0);
    EXPECT_FALSE(adapter.FieldValue(0).isValid());
    EXPECT_EQ(adapter.FieldIndex("X"), -1);
}
