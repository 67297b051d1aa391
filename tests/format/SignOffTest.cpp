// Sign-off lines from the workflow product: the request for the slips of
// a report, the two shapes of answer, and the slip layout that asks only
// when the program takes part and the group names at least two keys.

#include "SlipFormFixture.h"

#include "format/SignOffData.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/system/AutoObject.h"

#include <gtest/gtest.h>

namespace {

// One sign-off table: columns 0..12 by rows.
Variant table(const QList<QStringList>& rows)
{
    Variant t = Variant::CreateArray(0, 12, 0, static_cast<int>(rows.size()) - 1);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c <= 12; ++c)
            t.At(c, r) = rows[r].value(c);
    return t;
}

QStringList row(const QString& signedTime, const QString& name, const QString& title)
{
    QStringList r(13);
    r[5] = signedTime;
    r[10] = name;
    r[12] = title;
    return r;
}

// A server that counts the sign-off requests it gets.
class WorkflowServer : public TAutoObject {
public:
    WorkflowServer()
        : TAutoObject(QStringLiteral("Server"))
    {
        AddMethod(QStringLiteral("RunFreeSQL"), [this](VariantList& args) {
            Statements << Arg(args, 0).ToString();
            return Variant(1);
        });
        AddMethod(QStringLiteral("GetTWData"), [this](VariantList& args) {
            Requests << Arg(args, 0).ToString();
            return Answer;
        });
    }
    QStringList Statements, Requests;
    Variant Answer = Variant::ArrayOf({0});
};

// The format form's built-in captions.
TSignOffCaptions chineseCaptions()
{
    return {QStringLiteral("职      称:"), QStringLiteral("签核人姓名:"), QStringLiteral("签核  时间:"),
        {QStringLiteral("关号"), QStringLiteral("支号"), QStringLiteral("签核人"), QStringLiteral("职称"),
            QStringLiteral("签核结果"), QStringLiteral("签核日期"), QStringLiteral("签核意见")},
        QStringLiteral("签核最终结果:")};
}

} // namespace

TEST(SignOffTest, TheRequestNamesEverySlipWithItsParameters)
{
    EXPECT_EQ(SignOffRequest({{"A511", "0001"}}),
        QStringLiteral(
            "<FormSet>  <Form wfProgramID=''  wfFormType='A511'  wfSheetNo ='0001'  wfParameter3=''  "
            "wfParameter4='' /> \r\n</FormSet> "));
    const QString three = SignOffRequest({{"A511", "0001", "0002"}});
    EXPECT_TRUE(three.contains(QStringLiteral(" wfParameter3='0002'  wfParameter4='' ")));
    const QString four = SignOffRequest({{"A511", "0001", "0002", "X"}});
    EXPECT_TRUE(four.contains(QStringLiteral(" wfParameter3='0002'  wfParameter4='X' ")));
    EXPECT_EQ(SignOffRequest({{"", "0001"}, {"A511", ""}}), QString())
        << "slips without both keys are left out";
    EXPECT_EQ(SignOffRequest({{"A511", "1"}, {"A512", "2"}}).count(QStringLiteral("<Form ")), 2);
}

TEST(SignOffTest, AnArrayAnswerGivesTheRowsOfTheSlipsTableOnly)
{
    const Variant mine = Variant::ArrayOf({Variant(), "A511", "0001", "0001",
        table({row("2024/11/02 09:30:00", "王小明", "经理"), row("", "李四", "主管"),
            row("2024/11/03 10:00:00", "张三", "厂长")})});
    const Variant other = Variant::ArrayOf(
        {Variant(), "A511", "0002", "0001", table({row("2024/11/04 09:00:00", "赵六", "课长")})});
    const Variant answer = Variant::ArrayOf({2, other, mine});
    QStringList logged;
    const TSignOffLines lines = SignOffFromArray(answer, {"A511", "0001", "0001"}, 1, QStringLiteral("/"),
        chineseCaptions(), [&](const QString& name, const QString& line) { logged << name + u':' + line; });
    ASSERT_TRUE(lines.Found);
    ASSERT_EQ(lines.Lines.size(), 3);
    EXPECT_EQ(lines.Lines[0],
        QStringLiteral("职      称:") + QStringLiteral("经理").leftJustified(14)
            + QStringLiteral("厂长").leftJustified(14));
    EXPECT_EQ(lines.Lines[1],
        QStringLiteral("签核人姓名:") + QStringLiteral("王小明").leftJustified(14)
            + QStringLiteral("张三").leftJustified(14));
    EXPECT_EQ(lines.Lines[2],
        QStringLiteral("签核  时间:") + QStringLiteral("2024/11/02").leftJustified(14)
            + QStringLiteral("2024/11/03").leftJustified(14));
    EXPECT_FALSE(lines.Lines[1].contains(QStringLiteral("赵六"))) << "another slip's table";
    // The row without a signed time went to the debug log, with the slip's keys first.
    EXPECT_TRUE(logged.contains(QStringLiteral("Tidewise_ReturnValue:Key 2=0001")));
    EXPECT_TRUE(logged.contains(QStringLiteral("Tidewise_ReturnValue:Warrning:签核时间为空")));
    EXPECT_TRUE(logged.contains(QStringLiteral("Tidewise_ReturnValue:10:签核人姓名=李四")));
    EXPECT_FALSE(
        SignOffFromArray(answer, {"A511", "0009", "0001"}, 1, QStringLiteral("/"), chineseCaptions()).Found);
    EXPECT_FALSE(SignOffFromArray(
        Variant(QStringLiteral("not an array")), {"A511", "0001"}, 1, QStringLiteral("/"), chineseCaptions())
                     .Found);

    // Captions of another language and length: padded to the widest, so
    // the values still start in one column.
    TSignOffCaptions english = chineseCaptions();
    english.Titles = QStringLiteral("Title:");
    english.Names = QStringLiteral("Signed by:");
    english.Times = QStringLiteral("On:");
    const TSignOffLines inEnglish
        = SignOffFromArray(answer, {"A511", "0001", "0001"}, 1, QStringLiteral("/"), english);
    ASSERT_EQ(inEnglish.Lines.size(), 3);
    EXPECT_EQ(inEnglish.Lines[0],
        QStringLiteral("Title:    ") + QStringLiteral("经理").leftJustified(14)
            + QStringLiteral("厂长").leftJustified(14));
    EXPECT_TRUE(inEnglish.Lines[1].startsWith(QStringLiteral("Signed by:王小明")));
    EXPECT_TRUE(inEnglish.Lines[2].startsWith(QStringLiteral("On:       2024/11/02")));
}

TEST(SignOffTest, ATextAnswerGivesHeadingsAndTheFinalResult)
{
    const QString answer
        = QStringLiteral("<FormSet><Form wfFormType='A511' wfSheetNo='0002'>x||y</Form>"
                         "<Form wfFormType='A511' wfSheetNo='0001'>1  1  王小明  经理  同意  2024/11/02  "
                         "ok||2  1  张三  厂长  同意  2024/11/03  ||核准</Form></FormSet>");
    const TSignOffLines lines = SignOffFromXml(answer, {"A511", "0001", "0001"}, chineseCaptions());
    ASSERT_TRUE(lines.Found);
    ASSERT_EQ(lines.Lines.size(), 2);
    EXPECT_EQ(lines.Lines[0], QStringLiteral("关号  支号  签核人  职称  签核结果  签核日期  签核意见"));
    EXPECT_EQ(lines.Lines[1],
        QStringLiteral("1  1  王小明  经理  同意  2024/11/02  ok\r\n2  1  张三  厂长  同意  2024/11/03  "
                       "\r\n签核最终结果:核准"));
    EXPECT_FALSE(SignOffFromXml(answer, {"A511", "0003"}, chineseCaptions()).Found);
    EXPECT_FALSE(SignOffFromXml(QStringLiteral("<FormSet><Form"), {"A511", "0001"}, chineseCaptions()).Found)
        << "broken text finds nothing";

    // The display conversion reaches the answer's words only: the captions
    // are in the user's script already (converted again, 稽核 turns 稽覈).
    const auto toScreen
        = [](const QString& text) { return QString(text).replace(u'经', u'經').replace(u'签', u'簽'); };
    const TSignOffLines shown = SignOffFromXml(answer, {"A511", "0001", "0001"}, chineseCaptions(), toScreen);
    ASSERT_EQ(shown.Lines.size(), 2);
    EXPECT_TRUE(shown.Lines[1].startsWith(QStringLiteral("1  1  王小明  經理")))
        << qPrintable(shown.Lines[1]);
    EXPECT_TRUE(shown.Lines[1].endsWith(QStringLiteral("\r\n签核最终结果:核准")))
        << qPrintable(shown.Lines[1]);
    EXPECT_EQ(shown.Lines[0], lines.Lines[0]) << "the headings are not converted";
}

TEST(SignOffTest, AGroupOfOneFieldSendsNoRequest)
{
    const auto server = std::make_shared<WorkflowServer>();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    TFormatContext context;
    context.ApplicationServer = Variant(server);
    context.Option = [](const QString& name) { return name == u"Sys060" ? QStringLiteral("Y") : QString(); };
    slip.Form()->SetContext(context);
    slip.Form()->QRGroup->SetExpression(QStringLiteral("ClientDataSet1.TO002"));
    EXPECT_FALSE(slip.Form()->FetchSignOffData(QStringLiteral("ZORV52")));
    EXPECT_TRUE(server->Requests.isEmpty());
    // Two keys: one request naming the slip; the program code goes in quoted.
    slip.Form()->QRGroup->SetExpression(QStringLiteral("ClientDataSet1.TO001+ClientDataSet1.TO002"));
    EXPECT_TRUE(slip.Form()->FetchSignOffData(QStringLiteral("ZORV'52")));
    ASSERT_EQ(server->Requests.size(), 1);
    EXPECT_TRUE(server->Requests[0].contains(QStringLiteral("wfFormType='A511'  wfSheetNo ='0001'")));
    EXPECT_EQ(server->Statements.last(), QStringLiteral("SELECT * FROM $$ADMMQ WHERE MQ002='ZORV''52'"));
}

TEST(SignOffTest, FetchedLinesPrintInTheSignOffBlockOfEachSlipAndTheOthersKeepTheFormsLines)
{
    const auto server = std::make_shared<WorkflowServer>();
    server->Answer = Variant::ArrayOf({1,
        Variant::ArrayOf(
            {Variant(), "A511", "0002", table({row("2024/11/02 09:30:00", "王小明", "经理")})})});
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    slip.AddSlip(QStringLiteral("0002"), 2);
    slip.AddSlip(QStringLiteral("0003"), 2);
    TFormatContext context;
    context.ApplicationServer = Variant(server);
    context.Option = [](const QString& name) { return name == u"Sys060" ? QStringLiteral("Y") : QString(); };
    context.DateType = 1;
    context.DateSeparator = QStringLiteral("/");
    slip.Form()->SetContext(context);
    slip.Form()->SetWorkflowSignOff(true, QStringLiteral("ZORV52"));
    slip.Form()->SetSignOffLines({QStringLiteral("审核:"), QStringLiteral("核准:")});
    const QString signer = QStringLiteral("签核人姓名:") + QStringLiteral("王小明").leftJustified(14);
    // A preview and the print after it make the pages twice: the same lines each time.
    for (int run = 1; run <= 2; ++run) {
        SCOPED_TRACE(run);
        const auto pages = slip.Run();
        ASSERT_EQ(pages->PageCount(), 3);
        EXPECT_TRUE(TextsOn(*pages, 2).contains(signer)) << TextsOn(*pages, 2).join(u'|').toStdString();
        EXPECT_FALSE(TextsOn(*pages, 2).contains(QStringLiteral("审核:")))
            << "the signers stand in their place";
        // The slips the answer does not know print the options form's lines,
        // the one after the signed slip included.
        for (int page : {1, 3}) {
            SCOPED_TRACE(page);
            EXPECT_FALSE(TextsOn(*pages, page).contains(signer));
            EXPECT_TRUE(TextsOn(*pages, page).contains(QStringLiteral("审核:")))
                << TextsOn(*pages, page).join(u'|').toStdString();
            EXPECT_TRUE(TextsOn(*pages, page).contains(QStringLiteral("核准:")));
        }
    }
}

TEST(SignOffTest, WithoutAnyWorkflowDataEverySlipKeepsTheLayoutsSignOffLines)
{
    // The workflow product answers, but for no slip of the report.
    const auto server = std::make_shared<WorkflowServer>();
    SlipForm slip(3);
    slip.AddSlip(QStringLiteral("0001"), 2);
    slip.AddSlip(QStringLiteral("0002"), 2);
    TFormatContext context;
    context.ApplicationServer = Variant(server);
    context.Option = [](const QString& name) { return name == u"Sys060" ? QStringLiteral("Y") : QString(); };
    slip.Form()->SetContext(context);
    // No lines handed over: the layout's own captions are the lines.
    slip.Form()->FindComponent<TQRLabel>(QStringLiteral("lblSignIn1"))->SetCaption(QStringLiteral("经办:"));
    slip.Form()->CaptureDesignStates();
    slip.Form()->SetWorkflowSignOff(true, QStringLiteral("ZORV52"));
    ASSERT_EQ(server->Requests.size(), 1);
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 2);
    for (int page : {1, 2})
        EXPECT_TRUE(TextsOn(*pages, page).contains(QStringLiteral("经办:"))) << page;
}

TEST(SignOffTest, BarcodeKindsReplaceWhatTheyCannotEncodeAsTheOldNumbersSaid)
{
    EXPECT_EQ(BarcodeInvalidCharText(OldBarcodeKind(bcCode39)), QStringLiteral("00"));
    EXPECT_EQ(BarcodeInvalidCharText(OldBarcodeKind(bcCode128)), QStringLiteral("00"));
    EXPECT_EQ(BarcodeInvalidCharText(OldBarcodeKind(bcEAN13)), QStringLiteral("0"));
    EXPECT_EQ(BarcodeInvalidCharText(OldBarcodeKind(bcQRCode)), QStringLiteral(" "));
}
