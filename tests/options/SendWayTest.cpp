#include "options/SendWay.h"
#include "support/QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

const QString table = QStringLiteral("FAX,TO033,PURMA010A;EMAIL,TO033,PURMA011A;FAX,,;EMAIL,,;");

} // namespace

TEST(SendWay, EntriesGiveKindKeyColumnAndAddressField)
{
    const TSendWay fax = ChooseSendWay(table, 0, 1, SendModePrint);
    EXPECT_EQ(fax.SendMode, SendModeFax);
    EXPECT_EQ(fax.KeyColumn, QStringLiteral("TO033"));
    EXPECT_EQ(fax.AddressField, QStringLiteral("PURMA010A"));
    EXPECT_EQ(fax.AddressCaption, QStringLiteral("Fax No"));
    EXPECT_FALSE(fax.AddressTyped);
    EXPECT_EQ(fax.PageEndJoin, QStringList {QStringLiteral("cboSendWay")});
    EXPECT_TRUE(fax.PageEndLeave.contains(QStringLiteral("rgSendType")));

    const TSendWay mail = ChooseSendWay(QStringLiteral("email,TO033,PURMA011A"), 0, 1, SendModePrint);
    EXPECT_EQ(mail.SendMode, SendModeEmail);
    EXPECT_EQ(mail.AddressCaption, QStringLiteral("E-Mail"));
}

TEST(SendWay, AnEntryWithoutAddressFieldNeedsATypedAddress)
{
    const TSendWay typed = ChooseSendWay(table, 3, 1, SendModePrint);
    EXPECT_EQ(typed.SendMode, SendModeEmail);
    EXPECT_TRUE(typed.KeyColumn.isEmpty());
    EXPECT_TRUE(typed.AddressTyped);
    EXPECT_EQ(typed.PageEndJoin, QStringList {QStringLiteral("edtFaxEmailData")});
    EXPECT_TRUE(typed.PageEndLeave.contains(QStringLiteral("cboSendWay")));
    EXPECT_TRUE(SendAddressMissing(typed, QString()));
    EXPECT_FALSE(SendAddressMissing(typed, QStringLiteral("a@b.example")));
    // With the address in the data nothing is missing.
    EXPECT_FALSE(SendAddressMissing(ChooseSendWay(table, 0, 1, SendModePrint), QString()));
}

TEST(SendWay, PrintingWinsAndUnknownEntriesKeepTheMode)
{
    const TSendWay printing = ChooseSendWay(table, 2, 0, SendModeFax);
    EXPECT_EQ(printing.SendMode, SendModePrint);
    EXPECT_FALSE(printing.AddressTyped);
    EXPECT_FALSE(SendAddressMissing(printing, QString()));
    EXPECT_EQ(printing.PageEndJoin, QStringList {QStringLiteral("rgSendType")});

    // The base list has six items; a table of four has no entry for item 5.
    const TSendWay missing = ChooseSendWay(table, 5, 1, SendModeFax);
    EXPECT_EQ(missing.SendMode, SendModeFax);
    EXPECT_TRUE(missing.KeyColumn.isEmpty());
    EXPECT_TRUE(missing.AddressField.isEmpty());
    EXPECT_TRUE(missing.AddressCaption.isEmpty());
    const TSendWay odd = ChooseSendWay(QStringLiteral("TELEX,TO033,X"), 0, 1, SendModeEmail);
    EXPECT_EQ(odd.SendMode, SendModeEmail);
    EXPECT_EQ(odd.AddressField, QStringLiteral("X"));
}
