// The change-slip format form against the demo server's format table: a
// stored format with an extended field is what a later run of that name
// prepares (layout, builder, final query), the built-in layout stays for
// other names, and a tampered stored row is refused without running.

#include "format/FormatStore.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/report/QRCtrls.h"
#include "suite/appserver/DemoServerFixture.h"
#include "zorv52/Zorv52FmtF.h"

namespace {

using FormatPtr = std::unique_ptr<IVRFormatForm>;

const TQueryParts SlipParts {QStringLiteral("A.TO001, B.TP004"), QStringLiteral("MOCTO A"),
    QStringLiteral("A.TO001"), QString(), QStringLiteral("A.TO001='A511'"),
    QStringLiteral("LEFT JOIN MOCTP B ON B.TP001=A.TO001")};
const QString SlipSql
    = QStringLiteral("SELECT A.TO001, B.TP004 FROM MOCTO A LEFT JOIN MOCTP B ON B.TP001=A.TO001 "
                     "WHERE A.TO001='A511' ORDER BY A.TO001");

class StoredFormatFormTest : public DemoServerTest {
protected:
    void SetUp() override
    {
        DemoServerTest::SetUp();
        server_ = NewServer(QStringLiteral("CHEN"));
    }

    // A format form of the change slip for a run of name.
    TfrmZorv52Fmt* make(FormatPtr& holder, const QString& name)
    {
        holder = CreateZorv52Format(nullptr);
        auto* form = dynamic_cast<TfrmZorv52Fmt*>(holder.get());
        TFormatContext context;
        context.CompanyCode = QStringLiteral("HV01");
        context.UserCode = QStringLiteral("CHEN");
        context.ApplicationServer = server_;
        form->SetFormatName(name);
        form->SetContext(context);
        return form;
    }

    Variant server_;
};

TEST_F(StoredFormatFormTest, AStoredExtendedFieldComesBackWithItsQueryOnALaterRun)
{
    FormatPtr designHolder;
    TfrmZorv52Fmt* design = make(designHolder, QStringLiteral("<New>"));
    // What a design session leaves: the builder on, an item-name field from
    // the item table on the body band, the title moved.
    design->SetQueryBuilderMode(true);
    ASSERT_EQ(design->SQLReBuilder->AddRelationTable(
                  QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = B.TP004")),
        0);
    ASSERT_EQ(design->SQLReBuilder->AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0), 0);
    auto* text = new ReportDBText(design);
    text->SetName(QStringLiteral("ExTxtMB0021"));
    text->SetParent(design->QRDetailBand);
    text->SetDataSet(QStringLiteral("ClientDataSet1"));
    text->SetDataField(QStringLiteral("RT0_MB002"));
    ASSERT_TRUE(design->SQLReBuilder->BindField(0, 0, text->Name()));
    design->Store()->RuntimeComponents << text->Name();
    design->lblVoucherName->SetLeft(design->lblVoucherName->Left() + 24);
    const TPaperInfo builtInPaper = design->PaperInfo();
    design->QuickRep1->Page()->SetPaperSize(Qrpt::A4);
    const int movedLeft = design->lblVoucherName->Left();
    design->Store()->StoreFormat(QStringLiteral("TfrmZorv52Fmt"), QStringLiteral("扩展格式"));
    ASSERT_TRUE(design->Store()->SaveOK);

    // A later run of that name, as the options window drives it.
    FormatPtr runHolder;
    TfrmZorv52Fmt* run = nullptr;
    {
        ScriptedDialogService none; // a clean stored format asks nothing
        run = make(runHolder, QStringLiteral("扩展格式"));
        run->PrepareData();
        EXPECT_TRUE(none.Failures().isEmpty()) << qPrintable(none.Failures().join(u'\n'));
    }
    EXPECT_EQ(run->lblVoucherName->Left(), movedLeft);
    // The paper the options window reports is the stored format's.
    EXPECT_EQ(run->PaperInfo().PaperSize, static_cast<int>(Qrpt::A4));
    EXPECT_NE(builtInPaper.PaperSize, static_cast<int>(Qrpt::A4));
    auto* again = run->FindComponent<ReportDBText>(QStringLiteral("ExTxtMB0021"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Parent(), run->QRDetailBand);
    EXPECT_TRUE(run->QueryBuilderActive());
    ASSERT_TRUE(run->AcceptQueryParts(SlipParts));
    run->SetQueryParts(SlipParts, false);
    const QString final = run->GetFinalQuery(SlipSql);
    EXPECT_TRUE(final.contains(QLatin1String("RT0.MB002 AS RT0_MB002"))) << qPrintable(final);
    EXPECT_TRUE(final.contains(QLatin1String("JOIN $$INVMB RT0 ON RT0.MB001 = B.TP004")))
        << qPrintable(final);
    EXPECT_TRUE(final.contains(QLatin1String("WHERE A.TO001='A511'"))) << qPrintable(final);
    // Without the builder in use the field loses its data.
    run->UnbindExtendedFields();
    EXPECT_FALSE(again->Enabled());

    // Another name, and the built-in layout: nothing of the stored one.
    FormatPtr plainHolder;
    TfrmZorv52Fmt* plain = make(plainHolder, QStringLiteral("<New>"));
    plain->PrepareData();
    EXPECT_EQ(plain->FindComponent(QStringLiteral("ExTxtMB0021")), nullptr);
    EXPECT_EQ(plain->lblVoucherName->Left(), movedLeft - 24);
    EXPECT_FALSE(plain->QueryBuilderActive());
    // A builder in use without extended fields gives no final text of its
    // own: the window opens the data with its query.
    plain->SetQueryBuilderMode(true);
    EXPECT_TRUE(plain->GetFinalQuery(SlipSql).isEmpty());
}

TEST_F(StoredFormatFormTest, ATamperedStoredRowIsRefusedAndTheBuiltInLayoutPrints)
{
    FormatPtr designHolder;
    TfrmZorv52Fmt* design = make(designHolder, QStringLiteral("<New>"));
    design->lblVoucherName->SetTop(design->lblVoucherName->Top() + 8);
    design->Store()->StoreFormat(QStringLiteral("TfrmZorv52Fmt"), QStringLiteral("被改格式"));
    ASSERT_TRUE(design->Store()->SaveOK);
    // Someone changes the row: the title moves and a handler of its choice is bound.
    ASSERT_EQ(Execute(QStringLiteral(
                  "UPDATE WARRANT SET NT003 = 'inherited frmZorv52Fmt: TfrmZorv52Fmt' || char(10) || "
                  "'inherited lblVoucherName: TQRLabel' || char(10) || 'Left = 300' || char(10) || "
                  "'OnPrint = Release' || char(10) || 'end' || char(10) || 'end' "
                  "WHERE NT001 = 'TfrmZorv52Fmt' AND NT002 = '被改格式'")),
        QString());

    FormatPtr plainHolder;
    const int builtInLeft = make(plainHolder, QStringLiteral("<New>"))->lblVoucherName->Left();
    FormatPtr runHolder;
    ScriptedDialogService dialogs;
    dialogs.Expect(
        DialogKind::MessageBox, {IDOK, true, {}, {}}, QStringLiteral("Open Standard DFM error!! "));
    TfrmZorv52Fmt* run = make(runHolder, QStringLiteral("被改格式"));
    run->PrepareData();
    EXPECT_TRUE(dialogs.Failures().isEmpty()) << qPrintable(dialogs.Failures().join(u'\n'));
    EXPECT_EQ(dialogs.Pending(), 0);
    EXPECT_EQ(run->lblVoucherName->Left(), builtInLeft) << "nothing of the refused text applies";
    EXPECT_NE(
        GetPropMethod(run->lblVoucherName, QStringLiteral("OnPrint")).Name(), QStringLiteral("Release"));
}

} // namespace
