#include "runtime/data/ClientDataSet.h"

#include <gtest/gtest.h>

namespace {

// Schemes as the scheme list holds them: name, creator, program, date.
QByteArray schemePacket()
{
    DataPacketWriter w;
    w.AddField("NCONDITION", ftString, 20);
    w.AddField("CREATOR", ftString, 10);
    w.AddField("PROGRAMME", ftString, 10);
    w.AddField("CREATE_DATE", ftString, 8);
    w.AddField("SEQ", ftInteger);
    w.AppendRow({"月报", "DS", "ZORV52", "20240105", 1});
    w.AppendRow({"Weekly", "DS", "ZORV52", "20240210", 2});
    w.AppendRow({"weekly", "ADMIN", "ZORV52", "20240301", 3});
    w.AppendRow({"Week end", "DS", "ZORV51", Variant::Null(), 4});
    return w.Finish(true);
}

struct Scroll {
    int count = 0;
};

} // namespace

TEST(DataSetCursor, EmptyDataSetIsAtBothEnds)
{
    TClientDataSet cds;
    cds.FieldDefs().Add("A", ftString, 5);
    cds.CreateDataSet();
    EXPECT_TRUE(cds.Active());
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(cds.Eof());
    EXPECT_TRUE(cds.Bof());
    EXPECT_EQ(cds.RecNo(), 0);
    EXPECT_EQ(cds.RecordCount(), 0);
    cds.Next();
    cds.Prior();
    cds.Last();
    EXPECT_TRUE(cds.Eof() && cds.Bof());
    EXPECT_TRUE(cds.FieldByName("A")->IsNull());
    EXPECT_EQ(cds.FieldByName("A")->AsString(), QString());
    EXPECT_THROW(cds.Delete(), EDatabaseError);
}

TEST(DataSetCursor, WalksForwardAndBackWithEdgeFlags)
{
    TClientDataSet cds;
    Scroll scroll;
    cds.SetAfterScroll([&](TDataSet*) { ++scroll.count; });
    cds.LoadFromPacket(schemePacket());
    EXPECT_EQ(scroll.count, 1); // opening on the first record
    EXPECT_EQ(cds.RecordCount(), 4);
    EXPECT_TRUE(cds.Bof());
    EXPECT_FALSE(cds.Eof());
    EXPECT_EQ(cds.RecNo(), 1);

    cds.Prior(); // at Bof: stays, no scroll
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_TRUE(cds.Bof());
    EXPECT_EQ(scroll.count, 1);

    QStringList names;
    for (cds.First(); !cds.Eof(); cds.Next())
        names << cds.FieldByName("ncondition")->AsString();
    EXPECT_EQ(names, QStringList({"月报", "Weekly", "weekly", "Week end"}));
    EXPECT_EQ(cds.RecNo(), 4); // Next at the last record sets Eof without moving
    cds.Prior();
    EXPECT_FALSE(cds.Eof());
    EXPECT_EQ(cds.RecNo(), 3);

    cds.SetRecNo(2);
    EXPECT_EQ(cds.FieldByName("SEQ")->AsInteger(), 2);
    cds.SetRecNo(99); // out of range: nothing moves
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(cds.MoveBy(5), 2);
    EXPECT_TRUE(cds.Eof());
    EXPECT_EQ(cds.MoveBy(-10), -3);
    EXPECT_TRUE(cds.Bof());

    cds.Close();
    EXPECT_FALSE(cds.Active());
    EXPECT_EQ(cds.FieldCount(), 0);
    EXPECT_THROW(cds.Next(), EDatabaseError);
}

TEST(DataSetFields, FieldByNameIgnoresCaseAndNamesTheMissingField)
{
    TClientDataSet cds;
    cds.SetName("ClientDataSet1");
    cds.LoadFromPacket(schemePacket());
    EXPECT_EQ(cds.FieldByName("create_date"), cds.Fields()[3]);
    EXPECT_EQ(cds.FieldByName("Seq")->Index(), 4);
    EXPECT_EQ(cds.FindField("TO001"), nullptr);
    try {
        cds.FieldByName("TO001");
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("ClientDataSet1: Field 'TO001' not found"));
    }
}

TEST(DataSetLocate, ByTwoFieldsWithCaseAndPartialOptions)
{
    TClientDataSet cds;
    cds.LoadFromPacket(schemePacket());
    const QString keys = QStringLiteral("NCONDITION;CREATOR");

    EXPECT_TRUE(cds.Locate(keys, Variant::ArrayOf({"weekly", "ADMIN"})));
    EXPECT_EQ(cds.RecNo(), 3);
    // Exact and case-sensitive by default: "WEEKLY" is nobody; the cursor stays.
    EXPECT_FALSE(cds.Locate(keys, Variant::ArrayOf({"WEEKLY", "DS"})));
    EXPECT_EQ(cds.RecNo(), 3);
    EXPECT_TRUE(cds.Locate(keys, Variant::ArrayOf({"WEEKLY", "ds"}), loCaseInsensitive));
    EXPECT_EQ(cds.RecNo(), 2);
    // A partial key matches the start of the text only.
    EXPECT_FALSE(cds.Locate(keys, Variant::ArrayOf({"eek", "DS"}), loPartialKey));
    EXPECT_TRUE(cds.Locate(keys, Variant::ArrayOf({"Week ", "DS"}), loPartialKey));
    EXPECT_EQ(cds.RecNo(), 4);
    EXPECT_TRUE(cds.Locate(keys, Variant::ArrayOf({"WEEK", "admin"}), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(cds.RecNo(), 3);

    // Chinese names, a Null key matching a null cell, numbers against text keys.
    EXPECT_TRUE(cds.Locate("NCONDITION", "月报"));
    EXPECT_EQ(cds.RecNo(), 1);
    EXPECT_TRUE(cds.Locate("CREATE_DATE", Variant::Null()));
    EXPECT_EQ(cds.RecNo(), 4);
    EXPECT_TRUE(cds.Locate("SEQ", "2"));
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_FALSE(cds.Locate("SEQ", "two"));
    EXPECT_THROW(cds.Locate(keys, "Weekly"), EDatabaseError);
    EXPECT_THROW(cds.Locate("NOPE", "x"), EDatabaseError);

    EXPECT_EQ(cds.Lookup(keys, Variant::ArrayOf({"weekly", "ADMIN"}), "CREATE_DATE"), Variant("20240301"));
    EXPECT_TRUE(cds.Lookup("NCONDITION", "none", "SEQ").IsNull());
}

TEST(DataSetEditing, EditPostAndCancel)
{
    TClientDataSet cds;
    cds.LoadFromPacket(schemePacket());
    TField* name = cds.FieldByName("NCONDITION");
    EXPECT_THROW(name->SetAsString("x"), EDatabaseError); // browsing

    cds.SetRecNo(2);
    cds.Edit();
    EXPECT_EQ(cds.State(), dsEdit);
    name->SetAsString("周报");
    EXPECT_EQ(name->AsString(), QStringLiteral("周报")); // the buffer is read while editing
    cds.Cancel();
    EXPECT_EQ(cds.State(), dsBrowse);
    EXPECT_EQ(name->AsString(), QStringLiteral("Weekly"));

    cds.Edit();
    name->SetAsString("周报");
    cds.FieldByName("SEQ")->SetAsInteger(20);
    EXPECT_THROW(cds.FieldByName("SEQ")->SetAsString("abc"), EConvertError);
    cds.Post();
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(name->AsString(), QStringLiteral("周报"));
    EXPECT_EQ(cds.FieldByName("SEQ")->AsInteger(), 20);

    // Moving on posts a changed record (edits are not lost on scrolling).
    cds.Edit();
    name->SetAsString("Weekly 2");
    cds.Next();
    cds.Prior();
    EXPECT_EQ(name->AsString(), QStringLiteral("Weekly 2"));
    EXPECT_EQ(cds.RecordCount(), 4);

    // Edit on an empty data set starts a new record.
    cds.EmptyDataSet();
    cds.Edit();
    EXPECT_EQ(cds.State(), dsInsert);
    cds.Cancel();
    EXPECT_TRUE(cds.IsEmpty());
}

TEST(DataSetEditing, AppendInsertDeleteKeepOrderAndCursor)
{
    TClientDataSet cds;
    cds.FieldDefs().Add("K", ftInteger, 0, true);
    cds.FieldDefs().Add("T", ftString, 10);
    cds.CreateDataSet();
    for (int k : {1, 2, 4}) {
        cds.Append();
        EXPECT_EQ(cds.RecNo(), -1);
        cds.FieldByName("K")->SetAsInteger(k);
        cds.Post();
        EXPECT_EQ(cds.RecNo(), cds.RecordCount());
    }
    cds.SetRecNo(3);
    cds.Insert();
    cds.FieldByName("K")->SetAsInteger(3);
    cds.Post();
    EXPECT_EQ(cds.RecNo(), 3);

    auto keys = [&] {
        QList<int> out;
        for (cds.First(); !cds.Eof(); cds.Next())
            out << cds.FieldByName("K")->AsInteger();
        return out;
    };
    EXPECT_EQ(keys(), QList<int>({1, 2, 3, 4}));

    // A required field without a value refuses the post and stays in insert.
    cds.Append();
    cds.FieldByName("T")->SetAsString("no key");
    EXPECT_THROW(cds.Post(), EDatabaseError);
    EXPECT_EQ(cds.State(), dsInsert);
    cds.Cancel();
    EXPECT_EQ(cds.RecordCount(), 4);

    const quint64 third = (cds.SetRecNo(3), cds.Bookmark());
    cds.SetRecNo(2);
    cds.Delete(); // the cursor lands on the record that followed
    EXPECT_EQ(cds.FieldByName("K")->AsInteger(), 3);
    EXPECT_TRUE(cds.BookmarkValid(third));
    cds.Last();
    cds.Delete(); // the last record: the cursor goes to the new last one
    EXPECT_EQ(cds.FieldByName("K")->AsInteger(), 3);
    cds.GotoBookmark(third);
    EXPECT_EQ(cds.RecNo(), 2);
    EXPECT_EQ(keys(), QList<int>({1, 3}));

    cds.First();
    cds.Delete();
    cds.Delete();
    EXPECT_TRUE(cds.IsEmpty());
    EXPECT_TRUE(cds.Eof() && cds.Bof());
    EXPECT_FALSE(cds.BookmarkValid(third));
    EXPECT_THROW(cds.GotoBookmark(third), EDatabaseError);
}

TEST(DataSetEditing, DataRoundTripsEditsIntoAPacket)
{
    TClientDataSet a;
    a.LoadFromPacket(schemePacket());
    a.SetRecNo(4);
    a.Delete();
    a.First();
    a.Insert();
    a.FieldByName("NCONDITION")->SetAsString("首");
    a.Post();

    TwwClientDataSet b;
    EXPECT_EQ(b.ClassName(), QStringLiteral("TwwClientDataSet"));
    b.SetData(a.Data());
    EXPECT_EQ(b.RecordCount(), 4);
    EXPECT_EQ(b.FieldByName("NCONDITION")->AsString(), QStringLiteral("首"));
    EXPECT_TRUE(b.FieldByName("SEQ")->IsNull());
    b.Last();
    EXPECT_EQ(b.FieldByName("NCONDITION")->AsString(), QStringLiteral("weekly"));
}

TEST(DataSetControls, ListenersAreQuietWhileControlsAreDisabled)
{
    TClientDataSet cds;
    cds.LoadFromPacket(schemePacket());
    QList<TDataEvent> heard;
    const int id = cds.AddDataChangeListener([&](TDataSet*, TDataEvent e, TField*) { heard << e; });
    cds.Next();
    EXPECT_EQ(heard, QList<TDataEvent>({deDataSetScroll}));

    heard.clear();
    cds.DisableControls();
    cds.DisableControls();
    for (cds.First(); !cds.Eof(); cds.Next()) { }
    cds.EnableControls();
    EXPECT_TRUE(heard.isEmpty());
    cds.EnableControls();
    EXPECT_EQ(heard, QList<TDataEvent>({deDataSetChange}));

    cds.RemoveDataChangeListener(id);
    heard.clear();
    cds.First();
    EXPECT_TRUE(heard.isEmpty());
}

TEST(DataSetCache, LargeColumnsKeepEveryValueThroughGrowthAndEdits)
{
    // Enough rows for the cache to grow many times over while filling.
    constexpr int rows = 300000;
    DataPacketWriter w;
    w.AddField("N", ftInteger);
    w.AddField("S", ftString, 12);
    w.AddField("F", ftFloat);
    for (int i = 0; i < rows; ++i) {
        w.WriteInteger(i);
        w.WriteString(QString::number(i * 7));
        if (i % 3 == 0)
            w.WriteNull();
        else
            w.WriteFloat(i / 4.0);
    }
    TClientDataSet cds;
    cds.LoadFromPacket(w.Finish(true));
    ASSERT_EQ(cds.RecordCount(), rows);

    int checked = 0;
    for (int recNo : {1, 2, rows / 2, rows - 1, rows}) {
        cds.SetRecNo(recNo);
        const int i = recNo - 1;
        EXPECT_EQ(cds.FieldByName("N")->AsInteger(), i);
        EXPECT_EQ(cds.FieldByName("S")->AsString(), QString::number(i * 7));
        EXPECT_EQ(cds.FieldByName("F")->IsNull(), i % 3 == 0);
        if (i % 3 != 0) {
            EXPECT_DOUBLE_EQ(cds.FieldByName("F")->AsFloat(), i / 4.0);
        }
        ++checked;
    }
    EXPECT_EQ(checked, 5);

    cds.SetRecNo(rows / 2);
    cds.Edit();
    cds.FieldByName("S")->SetAsString(QString(500, QChar(u'改')));
    cds.Post();
    for (int i = 0; i < 1000; ++i) {
        cds.Append();
        cds.FieldByName("N")->SetAsInteger(rows + i);
        cds.Post();
    }
    cds.First();
    cds.Delete();
    EXPECT_EQ(cds.RecordCount(), rows + 1000 - 1);
    EXPECT_TRUE(cds.Locate("N", rows + 999));
    EXPECT_EQ(cds.RecNo(), rows + 999);
    EXPECT_TRUE(cds.Locate("N", rows / 2 - 1));
    EXPECT_EQ(cds.FieldByName("S")->AsString(), QString(500, QChar(u'改')));
    cds.EmptyDataSet();
    EXPECT_TRUE(cds.IsEmpty());
    cds.Close();
}
