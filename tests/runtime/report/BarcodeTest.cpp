#include "ReportFixture.h"

#include "runtime/report/QRBarcode.h"

#include <gtest/gtest.h>

using namespace reporttest;

namespace {

QString bits(const TQRBarcodeSymbol& symbol)
{
    QString text;
    for (int c = 0; c < symbol.Columns; ++c)
        text += symbol.Dark(c) ? u'1' : u'0';
    return text;
}

// Bar and space widths of a linear symbol.
QList<int> widths(const TQRBarcodeSymbol& symbol)
{
    QList<int> runs;
    for (int c = 0; c < symbol.Columns;) {
        int end = c;
        while (end < symbol.Columns && symbol.Dark(end) == symbol.Dark(c))
            ++end;
        runs << end - c;
        c = end;
    }
    return runs;
}

} // namespace

TEST(BarcodeTest, Code39FramesWithStarsAndReplacesInvalidCharacters)
{
    const TQRBarcodeSymbol zero = EncodeBarcode(bcCode39, "0");
    // *0*: 3 characters of 15 modules (6 narrow, 3 wide of 3) and 2 gaps.
    ASSERT_EQ(zero.Columns, 3 * 15 + 2);
    EXPECT_EQ(bits(zero).mid(16, 15), "101000111011101") << "the 0: nnnwwnwnn";
    const TQRBarcodeSymbol dropped = EncodeBarcode(bcCode39, "A?b");
    EXPECT_EQ(dropped.Text, "A");
    const TQRBarcodeSymbol replaced
        = EncodeBarcode(bcCode39, "A?b", [](QChar c) { return c == u'b' ? QString("B") : QString("*-"); });
    EXPECT_EQ(replaced.Text, "A-B") << "a replacement the code cannot take is dropped as well";
}

TEST(BarcodeTest, Code128ChecksumAndCodeSets)
{
    const TQRBarcodeSymbol symbol = EncodeBarcode(bcCode128, "PJJ123C");
    // Start, 7 data symbols, check symbol: 11 modules each; stop 13.
    ASSERT_EQ(symbol.Columns, 9 * 11 + 13);
    // Check symbol computed here: start B (104) plus each value (char - 32) times its position.
    int sum = 104;
    const QString data = "PJJ123C";
    for (int i = 0; i < data.size(); ++i)
        sum += (data.at(i).unicode() - 32) * (i + 1);
    const QList<int> runs = widths(symbol);
    // Every symbol is 3 bars and 3 spaces: the check symbol is runs 48..53.
    EXPECT_EQ(runs.size(), 9 * 6 + 7);
    const QList<int> check = runs.mid(8 * 6, 6);
    const TQRBarcodeSymbol single = EncodeBarcode(bcCode128, QString(QChar(sum % 103 + 32)));
    EXPECT_EQ(widths(single).mid(6, 6), check) << "check symbol " << sum % 103;
    // Even digit runs use code set C: two digits a symbol.
    EXPECT_EQ(EncodeBarcode(bcCode128, "123456").Columns, (1 + 3 + 1) * 11 + 13);
    EXPECT_EQ(EncodeBarcode(bcCode128, QString::fromUtf8("A工B")).Text, "AB");
}

TEST(BarcodeTest, Code128PatternsAreElevenModules)
{
    for (int value = 0; value < 103; ++value) {
        const QString text(QChar(value + 32));
        if (value + 32 > 126)
            continue;
        const TQRBarcodeSymbol symbol = EncodeBarcode(bcCode128, text);
        // start + data + check + stop
        EXPECT_EQ(symbol.Columns, 3 * 11 + 13) << value;
        EXPECT_EQ(widths(symbol).size(), 3 * 6 + 7) << value;
    }
}

TEST(BarcodeTest, Ean13AddsOrChecksTheCheckDigit)
{
    const TQRBarcodeSymbol symbol = EncodeBarcode(bcEAN13, "400638133393");
    ASSERT_TRUE(symbol.Valid()) << symbol.Error.toStdString();
    EXPECT_EQ(symbol.Text, "4006381333931");
    EXPECT_EQ(symbol.Columns, 95);
    const QString b = bits(symbol);
    EXPECT_EQ(b.left(3), "101");
    EXPECT_EQ(b.mid(45, 5), "01010");
    EXPECT_EQ(b.right(3), "101");
    // First digit 4: parity LGLLGG; digit 0 in L code, digit 0 in G code.
    EXPECT_EQ(b.mid(3, 7), "0001101");
    EXPECT_EQ(b.mid(10, 7), "0100111");
    // Right half: R code of the check digit 1.
    EXPECT_EQ(b.mid(85, 7), "1100110");
    EXPECT_EQ(EncodeBarcode(bcEAN13, "4006381333931").Text, "4006381333931");
    EXPECT_FALSE(EncodeBarcode(bcEAN13, "4006381333932").Valid());
    EXPECT_TRUE(EncodeBarcode(bcEAN13, "4006381333932").Error.contains("should be 1"));
    EXPECT_FALSE(EncodeBarcode(bcEAN13, "12345").Valid());
    EXPECT_EQ(
        EncodeBarcode(bcEAN13, "40063813339x", [](QChar) { return QString("3"); }).Text, "4006381333931");
}

TEST(BarcodeTest, QrCodeHasTheSizeOfItsVersion)
{
    const TQRBarcodeSymbol small = EncodeBarcode(bcQRCode, "5101-0001-01");
    ASSERT_TRUE(small.Valid());
    EXPECT_EQ(small.Columns, 21) << "version 1";
    EXPECT_EQ(small.Rows, 21);
    // Finder pattern: the top-left 7 x 7 ring.
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(small.Dark(i, 0));
        EXPECT_TRUE(small.Dark(0, i));
        EXPECT_TRUE(small.Dark(i, 6));
    }
    EXPECT_FALSE(small.Dark(1, 1));
    EXPECT_GT(EncodeBarcode(bcQRCode, QString(200, u'工')).Columns, 21);
    EXPECT_FALSE(EncodeBarcode(bcQRCode, QString()).Valid());
}

TEST(BarcodeTest, ControlPrintsBarsFromItsFieldThroughTheHandler)
{
    TQRMemorySource source({"CODE"});
    source.AddRow({"AB?1"});
    auto report = MakeReport();
    report->SetDataSource(&source);
    auto* band = AddBand(report.get(), "Detail", 60);
    auto* barcode = AddControl<ReportDBBarcode>(band, "bar", 10, 5, 200, 50);
    barcode->SetDataField("CODE");
    barcode->SetShowText(true);
    int calls = 0;
    barcode->SetOnInvalidChar(TQRBarcodeInvalidCharEvent::Of([&](TObject*, int type, QString& replacement) {
        ++calls;
        EXPECT_EQ(type, static_cast<int>(bcCode39));
        replacement = " ";
    }));
    ASSERT_TRUE(report->Prepare());
    const auto pages = report->Pages();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(PageTexts(*pages, 1), QStringList({"AB 1"}));
    int bars = 0;
    for (const TQRItem& item : pages->Items(1))
        if (item.kind == TQRItem::Rect)
            ++bars;
    EXPECT_EQ(bars, 6 * 5) << "five bars for each of *AB 1*";
}
