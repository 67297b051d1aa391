#include "runtime/data/ClientDataSet.h"

#include "runtime/system/DateTime.h"

#include <gtest/gtest.h>

namespace {

// One row of each field type, a second row all null.
void openTyped(TClientDataSet& cds)
{
    cds.FieldDefs().Add("S", ftString, 8);
    cds.FieldDefs().Add("I", ftInteger);
    cds.FieldDefs().Add("F", ftFloat);
    cds.FieldDefs().Add("D", ftDate);
    cds.FieldDefs().Add("DT", ftDateTime);
    cds.FieldDefs().Add("B", ftBoolean);
    cds.FieldDefs().Add("M", ftMemo);
    cds.FieldDefs().Add("BL", ftBlob);
    cds.CreateDataSet();
    cds.Append();
    cds.FieldByName("S")->SetAsString("20240229");
    cds.FieldByName("I")->SetAsString("42");
    cds.FieldByName("F")->SetAsFloat(1234.5);
    cds.FieldByName("D")->SetAsString("2024/02/29");
    cds.FieldByName("DT")->SetAsDateTime(datetime::EncodeDate(2011, 10, 28) + 0.75);
    cds.FieldByName("B")->SetAsBoolean(true);
    cds.FieldByName("M")->SetAsString("换料\r\n说明");
    cds.FieldByName("BL")->SetAsBytes(QByteArray("\x89PNG", 4));
    cds.Post();
    cds.Append();
    cds.Post(); // all null
    cds.First();
}

} // namespace

TEST(Fields, DefaultFieldsFollowThePacketTypes)
{
    TClientDataSet cds;
    openTyped(cds);
    const QStringList classes = {"TStringField", "TIntegerField", "TFloatField", "TDateField",
        "TDateTimeField", "TBooleanField", "TMemoField", "TBlobField"};
    ASSERT_EQ(cds.FieldCount(), classes.size());
    for (int i = 0; i < cds.FieldCount(); ++i) {
        EXPECT_EQ(cds.Fields()[i]->ClassName(), classes[i]);
        EXPECT_EQ(cds.Fields()[i]->DataSet(), &cds);
        EXPECT_EQ(cds.Fields()[i]->Index(), i);
        EXPECT_EQ(cds.Fields()[i]->FieldNo(), i + 1);
    }
    TField* s = cds.FieldByName("S");
    EXPECT_EQ(s->Size(), 8);
    EXPECT_EQ(s->DisplayWidth(), 8);
    EXPECT_EQ(s->DisplayLabel(), QStringLiteral("S"));
    s->SetDisplayLabel("单号");
    EXPECT_EQ(s->DisplayLabel(), QStringLiteral("单号"));
    EXPECT_EQ(cds.FieldByName("DT")->DisplayWidth(), 18);
}

TEST(Fields, ConversionsBetweenTypes)
{
    TClientDataSet cds;
    openTyped(cds);
    EXPECT_EQ(cds.FieldByName("S")->AsInteger(), 20240229);
    EXPECT_EQ(cds.FieldByName("I")->AsString(), QStringLiteral("42"));
    EXPECT_DOUBLE_EQ(cds.FieldByName("I")->AsFloat(), 42.0);
    EXPECT_EQ(cds.FieldByName("F")->AsString(), QStringLiteral("1234.5"));
    EXPECT_EQ(cds.FieldByName("F")->AsInteger(), 1234); // round half to even
    EXPECT_EQ(cds.FieldByName("D")->AsString(), QStringLiteral("2024/02/29"));
    EXPECT_EQ(cds.FieldByName("D")->Value(), Variant::FromDate(datetime::EncodeDate(2024, 2, 29)));
    EXPECT_EQ(cds.FieldByName("DT")->AsString(), QStringLiteral("2011/10/28 18:00:00"));
    EXPECT_EQ(cds.FieldByName("B")->AsString(), QStringLiteral("True"));
    EXPECT_EQ(cds.FieldByName("B")->AsInteger(), 1);
    EXPECT_EQ(cds.FieldByName("M")->DisplayText(), QStringLiteral("换料\r\n说明"));
    EXPECT_EQ(cds.FieldByName("BL")->DisplayText(), QStringLiteral("(BLOB)"));
    EXPECT_EQ(cds.FieldByName("BL")->AsBytes(), QByteArray("\x89PNG", 4));
    EXPECT_THROW(cds.FieldByName("M")->AsInteger(), EConvertError);

    cds.Next(); // the null row reads as nothing of every type
    for (int i = 0; i < cds.FieldCount(); ++i) {
        TField* f = cds.Fields()[i];
        EXPECT_TRUE(f->IsNull()) << i;
        EXPECT_TRUE(f->Value().IsNull()) << i;
        EXPECT_EQ(f->AsString(), QString()) << i;
        EXPECT_EQ(f->AsFloat(), 0.0) << i;
        EXPECT_FALSE(f->AsBoolean()) << i;
    }
}

TEST(Fields, SettersConvertClearAndGuardRange)
{
    TClientDataSet cds;
    openTyped(cds);
    cds.Edit();
    TField* i = cds.FieldByName("I");
    i->SetAsString("  ");
    EXPECT_TRUE(i->IsNull()); // typing nothing clears a number
    i->SetAsLargeInt(5000000000LL);
    EXPECT_EQ(i->AsLargeInt(), 5000000000LL);
    EXPECT_THROW(i->AsInteger(), EConvertError); // never a silently cut value
    EXPECT_THROW(cds.FieldByName("D")->SetAsString("2024/02/30"), EConvertError);
    cds.FieldByName("S")->SetAsInteger(7);
    EXPECT_EQ(cds.FieldByName("S")->AsString(), QStringLiteral("7"));
    cds.FieldByName("F")->Clear();
    cds.Post();
    EXPECT_EQ(i->AsLargeInt(), 5000000000LL);
    EXPECT_TRUE(cds.FieldByName("F")->IsNull());
    EXPECT_EQ(cds.FieldByName("D")->AsString(), QStringLiteral("2024/02/29"));

    cds.FieldByName("S")->SetReadOnly(true);
    cds.Edit();
    EXPECT_THROW(cds.FieldByName("S")->SetAsString("x"), EDatabaseError);
}

TEST(Fields, TextEventsCanBeReadSavedAndChained)
{
    TClientDataSet cds;
    openTyped(cds);
    TField* s = cds.FieldByName("S");
    EXPECT_FALSE(s->OnGetText());

    // A first handler, then a second that keeps the first and runs it before its own work,
    // as the criteria form does when it adds code-page conversion.
    s->SetOnGetText([](TField*, QString& text, bool display) {
        if (display)
            text = text.mid(0, 4) + "/" + text.mid(4, 2) + "/" + text.mid(6);
    });
    const TFieldGetTextEvent saved = s->OnGetText();
    s->SetOnGetText([saved](TField* sender, QString& text, bool display) {
        saved(sender, text, display);
        text = "[" + text + "]";
    });
    EXPECT_EQ(s->DisplayText(), QStringLiteral("[2024/02/29]"));
    EXPECT_EQ(s->Text(), QStringLiteral("[20240229]"));
    EXPECT_EQ(s->AsString(), QStringLiteral("20240229")); // the value itself is untouched

    QStringList seen;
    s->SetOnSetText([&](TField* sender, const QString& text) {
        seen << text;
        sender->SetAsString(QString(text).remove('/'));
    });
    cds.Edit();
    s->SetText("2025/01/02");
    cds.Post();
    EXPECT_EQ(seen, QStringList({"2025/01/02"}));
    EXPECT_EQ(s->AsString(), QStringLiteral("20250102"));

    s->SetOnGetText({});
    s->SetOnSetText({});
    EXPECT_EQ(s->DisplayText(), QStringLiteral("20250102"));
}

TEST(Fields, PersistentFieldsBindByNameAtOpen)
{
    DataPacketWriter w;
    w.AddField("TO001", ftString, 4);
    w.AddField("TO009", ftFloat);
    w.AddField("EXTRA", ftInteger);
    w.AppendRow({"5101", 12.5, 1});
    const QByteArray packet = w.Finish(true);

    TClientDataSet cds;
    auto* qty = cds.AddField<TFloatField>("to009");
    qty->SetDisplayLabel("数量");
    auto* kind = cds.AddField<TStringField>("TO001", 4);
    cds.LoadFromPacket(packet);
    // Only the declared fields exist, in their declared order.
    EXPECT_EQ(cds.FieldCount(), 2);
    EXPECT_EQ(cds.Fields()[0], qty);
    EXPECT_EQ(qty->AsFloat(), 12.5);
    EXPECT_EQ(kind->AsString(), QStringLiteral("5101"));
    EXPECT_EQ(cds.FindField("EXTRA"), nullptr);
    cds.Close();
    EXPECT_EQ(cds.FieldCount(), 2); // persistent fields outlive Close
    EXPECT_EQ(qty->DisplayLabel(), QStringLiteral("数量"));
    EXPECT_TRUE(qty->IsNull());

    TClientDataSet missing;
    missing.AddField<TStringField>("TO002");
    EXPECT_THROW(missing.LoadFromPacket(packet), EDatabaseError);
    EXPECT_FALSE(missing.Active());

    TClientDataSet mismatch;
    mismatch.AddField<TIntegerField>("TO001");
    try {
        mismatch.LoadFromPacket(packet);
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("Type mismatch for field 'TO001'")) << e.what();
    }
}
