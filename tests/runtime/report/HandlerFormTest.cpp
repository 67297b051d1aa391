// A form whose report's handlers are bound by name from its description,
// as the slip formats bind theirs.

#include "HandlerForm.h"

#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"

#include <gtest/gtest.h>

namespace {

const char* const description = R"(object frmHandlers: TfrmHandlers
  object QuickRep1: TQuickRep
    BeforePrint = QuickRep1BeforePrint
    object QRDetailBand: TQRBand
      Height = 20
      BandType = rbDetail
      BeforePrint = QRDetailBandBeforePrint
      AfterPrint = QRDetailBandAfterPrint
      object txtQty: ReportDBText
        DataSet = 'ClientDataSet1'
        DataField = 'QTY'
        TextType = 3
        OnPrint = txtQtyPrint
      end
    end
  end
end
)";

} // namespace

TEST(HandlerFormTest, HandlersBoundByNameRunDuringTheReport)
{
    RegisterReportClasses();
    std::unique_ptr<TfrmHandlers, FreeComponent> form(new TfrmHandlers(nullptr));
    ReadComponent(form.get(), QString::fromUtf8(description));
    auto* report = form->FindComponent<TQuickRep>(QStringLiteral("QuickRep1"));
    ASSERT_NE(report, nullptr);
    TQRMemorySource source({"QTY"});
    for (int i = 1; i <= 5; ++i)
        source.AddRow({i});
    report->AddDataSource(QStringLiteral("ClientDataSet1"), &source);
    report->SetDataSet(QStringLiteral("ClientDataSet1"));
    ASSERT_TRUE(report->Prepare());
    QStringList texts;
    for (const auto& text : report->Pages()->Texts(1))
        texts << text.Text;
    EXPECT_EQ(texts, QStringList({"<1>", "<3>", "<5>"}));
    EXPECT_EQ(form->Calls,
        QStringList(
            {"report", "band 1", "after 1", "band 2", "band 3", "after 3", "band 4", "band 5", "after 5"}));
    // The writer gives the handlers back by name.
    const QString written = WriteComponent(form.get());
    EXPECT_TRUE(written.contains(QStringLiteral("BeforePrint = QRDetailBandBeforePrint")));
    EXPECT_TRUE(written.contains(QStringLiteral("OnPrint = txtQtyPrint")));
}

TEST(HandlerFormTest, HandlerOfTheWrongShapeIsRefusedWithItsLine)
{
    RegisterReportClasses();
    std::unique_ptr<TfrmHandlers, FreeComponent> form(new TfrmHandlers(nullptr));
    QString text = QString::fromUtf8(description);
    text.replace(QStringLiteral("OnPrint = txtQtyPrint"), QStringLiteral("OnPrint = QRDetailBandAfterPrint"));
    try {
        ReadComponent(form.get(), text);
        FAIL() << "an after-print handler was bound as a print handler";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Line 13"))) << e.Message().toStdString();
    }
    EXPECT_EQ(form->FindComponent(QStringLiteral("QuickRep1")), nullptr) << "nothing of a failed read stays";
}
