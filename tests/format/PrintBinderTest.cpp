// The print conversions bound to the data texts of a report, checked on the
// pages the report generates.

#include "format/PrintBinder.h"

#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRDataSource.h"
#include "runtime/report/QuickRpt.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QStringList fields = {"PLAIN", "DAY", "RATE", "AMOUNT", "HIDDEN", "CODE", "ODD"};

struct PrintBinderTest : ::testing::Test {
    void SetUp() override
    {
        report.reset(new TQuickRep(nullptr));
        report->SetName(QStringLiteral("QuickRep1"));
        auto* band = new TQRBand(report.get());
        band->SetName(QStringLiteral("QRDetailBand"));
        band->SetParent(report.get());
        band->SetHeight(20);
        band->SetBandType(rbDetail);
        for (int i = 0; i < fields.size(); ++i) {
            auto* text = new ReportDBText(report.get());
            text->SetName(QStringLiteral("txt") + fields[i]);
            text->SetParent(band);
            text->SetBounds(i * 100, 0, 100, 17);
            text->SetDataField(fields[i]);
            text->SetTextType(i == 6 ? 9 : i);
            texts << text;
        }
        texts[5]->SetDictionary(QStringLiteral("Y\x03是||N\x03否"));
        // A handler of its own, on a control whose type binds none.
        texts[6]->SetOnPrint(
            TQRLabelOnPrintEvent::Of([](TObject*, QString& value) { value = "<" + value + ">"; }));
        source.AddRow({"x", "20111008", "0.125", "-1001.5", "500", "N", "k"});
        source.AddRow({"", "20110230", "n/a", "abc", "7", "", "m"});
        report->AddDataSource(QStringLiteral("ClientDataSet1"), &source);
        report->SetDataSet(QStringLiteral("ClientDataSet1"));
    }

    QStringList Generate()
    {
        EXPECT_TRUE(report->Prepare());
        QStringList printed;
        for (const auto& text : report->Pages()->Texts(1))
            printed << text.Text;
        return printed;
    }

    std::unique_ptr<TQuickRep, FreeComponent> report;
    QList<ReportDBText*> texts;
    TQRMemorySource source {fields};
};

TEST_F(PrintBinderTest, EachTextTypePrintsItsConversion)
{
    TPrintBinder binder;
    binder.BindOnPrint(report.get());
    // The date style is read when the page prints, not when binding.
    binder.SetDateType(3);
    binder.SetDateSeparator(QStringLiteral("."));
    EXPECT_EQ(Generate(),
        QStringList({"x", "08.10.2011", "12.5%", "负壹仟零壹元伍角", "500", "否", "<k>", "20110230", "n/a",
            "零元整", "7", "<m>"}));
}

struct HidingBinder : TPrintBinder {
    void OnAsteriskPrint(TObject*, QString& value) override { value = "***********"; }
};

TEST_F(PrintBinderTest, RebindingFollowsTheTypeAndADerivedAsteriskHandlerIsUsed)
{
    HidingBinder binder;
    binder.SetChineseWords({});
    binder.BindOnPrint(report.get());
    texts[1]->SetTextType(0);
    binder.BindOnPrint(texts[1]);
    EXPECT_EQ(Generate(),
        QStringList({"x", "20111008", "12.5%", "负壹仟零壹元伍角", "***********", "否", "<k>", "20110230",
            "n/a", "零元整", "***********", "<m>"}));
    EXPECT_FALSE(texts[1]->OnPrint().Assigned());
    EXPECT_EQ(texts[2]->OnPrint().Name(), "OnPercentPrint");
}

TEST_F(PrintBinderTest, HandlersStopWithTheBinder)
{
    auto binder = std::make_unique<TPrintBinder>();
    binder->BindOnPrint(report.get());
    binder.reset();
    EXPECT_EQ(Generate(),
        QStringList(
            {"x", "20111008", "0.125", "-1001.5", "500", "N", "<k>", "20110230", "n/a", "abc", "7", "<m>"}));
}

} // namespace
