// The change-slip layout on rows of its own: which fields it shows, the
// before side of lines that added an item, the remarks and title through
// the message table, packing fields by "sys024", the print count per slip
// in each SQL dialect, and a slip without lines.

#include "../common/LanguageTestHome.h"

#include "common/forms/LibCodeConvert.h"
#include "format/FormatStore.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/report/QRBarcode.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/system/AutoObject.h"
#include "support/TestSupport.h"
#include "zorv52/Zorv52FmtF.h"

#include <gtest/gtest.h>

namespace {

const QStringList Columns {"TO001", "TO002", "TO003", "TO001T", "TO005", "TO048", "TO051", "TP003", "TP004",
    "TP104", "TP005", "TP105"};

// A server that records the print counts it is asked for.
class CountingServer : public TAutoObject {
public:
    CountingServer()
        : TAutoObject(QStringLiteral("Server"))
    {
        AddMethod(QStringLiteral("UpdatePrintCount"), [this](VariantList& args) {
            const Variant slip = Arg(args, 0).Deref();
            Counted << slip[2].ToString();
            return Variant(1);
        });
    }
    QStringList Counted;
};

class ChangeSlip {
public:
    ChangeSlip()
        : form_(CreateForm<TfrmZorv52Fmt>())
    {
        for (const QString& column : Columns)
            form_->ClientDataSet1->FieldDefs().Add(column, ftString, 40);
        form_->ClientDataSet1->CreateDataSet();
    }

    // One row per line: [TP003, TP004, TP104]; no lines gives one row without a line.
    void AddSlip(const QString& number, const QList<QStringList>& lines)
    {
        const auto add = [&](const QStringList& line) {
            TClientDataSet* data = form_->ClientDataSet1;
            data->Append();
            const QStringList values {QStringLiteral("A511"), number, QStringLiteral("0001"),
                QStringLiteral("A511-") + number + QStringLiteral("-0001"), QStringLiteral("ITEM-1"),
                QStringLiteral("20"), QStringLiteral("K05"), line.value(0), line.value(1), line.value(2),
                QStringLiteral("name ") + line.value(1), QStringLiteral("new ") + line.value(2)};
            for (int i = 0; i < Columns.size(); ++i)
                data->FieldByName(Columns[i])->SetAsString(values[i]);
            data->Post();
        };
        if (lines.isEmpty())
            add({});
        for (const QStringList& line : lines)
            add(line);
    }

    TFormatContext Context;
    QHash<QString, QString> Options;

    std::shared_ptr<TQRPageModel> Run()
    {
        Context.Option = [this](const QString& name) { return Options.value(name.toLower()); };
        if (!Context.Message)
            Context.Message = [](const QString& code) {
                static const QHash<QString, QString> texts {
                    {"101571", "替换"}, {"100269", "新增"}, {"100268", "删除"}, {"101576", "工单变更单"}};
                return texts.value(code);
            };
        form_->SetContext(Context);
        form_->PrepareData();
        return form_->QuickRep1->Prepare() ? form_->QuickRep1->Pages() : nullptr;
    }

    TfrmZorv52Fmt* Form() const { return form_.get(); }

private:
    std::unique_ptr<TfrmZorv52Fmt, FreeComponent> form_;
};

QStringList texts(const TQRPageModel& pages, int page)
{
    QStringList out;
    for (const auto& text : pages.Texts(page))
        out << text.Text;
    return out;
}

QStringList names(const QString& list)
{
    return list.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST(Zorv52FmtTest, TheLayoutShowsTheSlipsFieldsAndKeepsTheOthersReady)
{
    std::unique_ptr<TfrmZorv52Fmt, FreeComponent> form(CreateForm<TfrmZorv52Fmt>());
    EXPECT_EQ(form->QuickRep1->Page()->Values(), QList<double>({0, 2794, 100, 2159, 100, 100, 0}));
    EXPECT_EQ(form->QRGroup->Expression(),
        QStringLiteral("ClientDataSet1.TO001+ClientDataSet1.TO002+ClientDataSet1.TO003"));
    const QStringList enabled = names("TO001T TO004 TO041 TO003 TO005 TO006 TO106 TO012 TO112 TO013 TO113 "
                                      "TO007 TO107 TO032 TO047 TO132 TO147 TO014 "
                                      "TO114 TO151 TO051 TO009 TO010 TO110 TO109 TO035 TO135 TO036 TO136 "
                                      "TO021 CMSMB002A TO121 CMSMB002B TO022 "
                                      "CMSMC002A TO122 CMSMC002B TO023 CMSMD002A TO123 CMSMD002B TO033 "
                                      "PURMA002A TO133 PURMA002B TO048 TO017 TO117 "
                                      "TO148 TO054 TO045 TO124 TO154 TO024 TO145 TO146 TO046 TO125 TO025 "
                                      "TO026T TO126T TO028T TO128T COPTC012A "
                                      "COPTC012B COPTC004B COPTC004A COPMA002A COPMA002B COPTD014A COPTD014B "
                                      "TO031 TO131 TO157 TO057 TO058 TO158 "
                                      "TP007 TP012 TP004 TP013 TP008 TP005 TP010 TP018 TP014 TP006 CMSMC002C "
                                      "TP104 TP113 TP105 TP110 TP107 TP112 "
                                      "TP108 TP118 TP114 TP106 CMSMC002D");
    const QStringList disabled = names("COPMG005A COPMG005B COPMG006A COPMG006B UDF01M UDF06M UDF51M UDF56M "
                                       "TO069 TO070 TO069C TO169 TO170 TO169C "
                                       "TO062 TO162 TO086 TO186 TO015 TO115 TO016 TO116 TO018 TO118 TO019 "
                                       "TO119 TO020 TO120 TO043 TO052 TO034 TO134 "
                                       "TO044 TO037 TO040 TO137 TO140 TO049 TO149 TO050 TO150 TO055 TO155 "
                                       "TO056 TO156 TO059 TO159 TO060 TO160 TO061 "
                                       "TO161 TO071 TO171 TO072 TO172 TOC01 TOC02 PURMA008A PURMA046B "
                                       "CREATOR MF002X MF002Y TP011 TP111 UDF01D "
                                       "UDF56D TP015 TP115 TP016 TP116 TP017 TP117 TP020 TP120 TP021 TP121 "
                                       "TP022 TP122 TP026 TP126 TP030 TP130 TP031 "
                                       "TP131 TP032 TP132 TPC01 TPC02 CMSMW002 CMSMW002T");
    for (const QString& field : enabled) {
        auto* text = form->FindComponent<TQRDBText>(QStringLiteral("txt") + field);
        ASSERT_NE(text, nullptr) << field.toStdString();
        EXPECT_TRUE(text->Enabled()) << field.toStdString();
        EXPECT_EQ(text->DataField(), field);
    }
    for (const QString& field : disabled) {
        auto* text = form->FindComponent<TQRDBText>(QStringLiteral("txt") + field);
        ASSERT_NE(text, nullptr) << field.toStdString();
        EXPECT_FALSE(text->Enabled()) << field.toStdString();
    }
    // Code texts print through their items.
    for (const char* coded : {"txtTO041", "txtTO014", "txtTP012", "txtTP112", "txtTO052", "txtTPC01"})
        EXPECT_NE(form->FindComponent<TQRDBIDText>(QString::fromLatin1(coded)), nullptr) << coded;
    for (const char* weekday :
        {"lblTO006", "lblTO012", "lblTO013", "lblTO007", "lblTO106", "lblTO112", "lblTO113", "lblTO107"})
        EXPECT_EQ(
            form->FindComponent<TQRLabel>(QString::fromLatin1(weekday))->Caption(), QStringLiteral("星期"))
            << weekday;
    EXPECT_EQ(
        form->FindComponent<TQRLabel>(QStringLiteral("lblTO151"))->Caption(), QStringLiteral("包装单位:"));
    EXPECT_EQ(form->FindComponent<TQRLabel>(QStringLiteral("lblTO148"))->Caption(),
        QStringLiteral("预计产包装量:"));
    EXPECT_NE(form->FindComponent<TQRLabel>(QStringLiteral("lblMemo")), nullptr);
}

TEST(Zorv52FmtTest, ALineThatAddedAnItemPrintsNoBeforeSideAndItsRemark)
{
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0001"),
        {{"0001", "ITEM-A", "ITEM-B"}, {"0002", TfrmZorv52Fmt::Placeholder(), "ITEM-C"},
            {"0003", "ITEM-D", ""}});
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    const QStringList page = texts(*pages, 1);
    EXPECT_FALSE(page.contains(TfrmZorv52Fmt::Placeholder()));
    EXPECT_FALSE(page.contains(QStringLiteral("name ") + TfrmZorv52Fmt::Placeholder()))
        << "its before name is empty too";
    EXPECT_TRUE(page.contains(QStringLiteral("name ITEM-A")));
    EXPECT_EQ(page.count(QStringLiteral("替换")), 1);
    EXPECT_EQ(page.count(QStringLiteral("新增")), 1);
    EXPECT_EQ(page.count(QStringLiteral("删除")), 1);
    EXPECT_TRUE(page.contains(QStringLiteral("工单变更单"))) << "no slip name: the title alone";
}

TEST(Zorv52FmtTest, APlaceholderPaddedByACharColumnStillMarksAnAddedLine)
{
    // As a CHAR(40) column hands the values over: blanks up to its width.
    const auto padded = [](const QString& text) { return text.leftJustified(40); };
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0001"),
        {{"0001", padded(TfrmZorv52Fmt::Placeholder()), padded("ITEM-C")},
            {"0002", padded("ITEM-A"), padded("ITEM-B")}, {"0003", padded("ITEM-D"), padded("")}});
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    const QStringList page = texts(*pages, 1);
    for (const QString& shown : page)
        EXPECT_FALSE(shown.contains(TfrmZorv52Fmt::Placeholder())) << shown.toStdString();
    EXPECT_EQ(page.count(QStringLiteral("新增")), 1) << page.join(u'|').toStdString();
    EXPECT_EQ(page.count(QStringLiteral("替换")), 1) << "the added line is no replacement";
    EXPECT_EQ(page.count(QStringLiteral("删除")), 1);
}

TEST(Zorv52FmtTest, AClearedFieldLeavesEveryControlThatPrintsIt)
{
    std::unique_ptr<TfrmZorv52Fmt, FreeComponent> form(CreateForm<TfrmZorv52Fmt>());
    // What a user may have added in the designer: the amount once more (in
    // another case), inside an expression, as a bar code; and a field whose
    // name merely starts with the amount's.
    auto* copy = new ReportDBText(form.get());
    copy->SetName(QStringLiteral("txtAmountCopy"));
    copy->SetParent(form->QRGroup);
    copy->SetDataField(QStringLiteral("to025"));
    auto* doubled = new TQRExpr(form.get());
    doubled->SetName(QStringLiteral("exDoubled"));
    doubled->SetParent(form->QRGroup);
    doubled->SetExpression(QStringLiteral("ClientDataSet1.TO025 * 2"));
    auto* longer = new TQRExpr(form.get());
    longer->SetName(QStringLiteral("exLonger"));
    longer->SetParent(form->QRGroup);
    longer->SetExpression(QStringLiteral("ClientDataSet1.TO0251"));
    auto* code = new ReportDBBarcode(form.get());
    code->SetName(QStringLiteral("bcAmount"));
    code->SetParent(form->QRGroup);
    code->SetDataField(QStringLiteral("TO025"));

    form->ClearField(QStringLiteral("TO025"));
    EXPECT_EQ(form->FindComponent<TQRDBText>(QStringLiteral("txtTO025"))->DataField(), QString());
    EXPECT_EQ(copy->DataField(), QString());
    EXPECT_EQ(doubled->Expression(), QString());
    EXPECT_EQ(code->DataField(), QString());
    EXPECT_EQ(longer->Expression(), QStringLiteral("ClientDataSet1.TO0251"));
    EXPECT_EQ(
        form->FindComponent<TQRDBText>(QStringLiteral("txtTO024"))->DataField(), QStringLiteral("TO024"));
    EXPECT_EQ(
        form->FindComponent<TQRDBText>(QStringLiteral("txtTO125"))->DataField(), QStringLiteral("TO125"));
}

TEST(Zorv52FmtTest, TheTitleNamesTheSlipTypeAndFallsBackWithoutAMessage)
{
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0001"), {{"0001", "A", "B"}});
    slip.Form()->SetText(0, QStringLiteral("标准变更"));
    auto pages = slip.Run();
    EXPECT_TRUE(texts(*pages, 1).contains(QStringLiteral("工单变更单(标准变更)")));
    slip.Context.Message = nullptr;
    slip.Form()->SetContext(slip.Context);
    ASSERT_TRUE(slip.Form()->QuickRep1->Prepare());
    EXPECT_TRUE(texts(*slip.Form()->QuickRep1->Pages(), 1).contains(QStringLiteral("工单变更单(标准变更)")));
}

TEST(Zorv52FmtTest, PackingFieldsPrintOnlyWithSys024SetToThree)
{
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0001"), {{"0001", "A", "B"}});
    slip.Options.insert(QStringLiteral("sys024"), QStringLiteral("3"));
    auto pages = slip.Run();
    EXPECT_EQ(texts(*pages, 1).count(QStringLiteral("包装单位:")), 2);
    EXPECT_TRUE(texts(*pages, 1).contains(QStringLiteral("K05")));
    slip.Options.insert(QStringLiteral("sys024"), QStringLiteral("1"));
    pages = slip.Run();
    EXPECT_FALSE(texts(*pages, 1).contains(QStringLiteral("包装单位:")));
    EXPECT_FALSE(texts(*pages, 1).contains(QStringLiteral("K05")));
}

TEST(Zorv52FmtTest, EachPrintedSlipCountsOnceInTheServersDialect)
{
    const auto server = std::make_shared<CountingServer>();
    const Variant serverObject(server);
    testsupport::TempFolder folder;
    const auto run = [&](int sqlType) {
        server->Counted.clear();
        ChangeSlip slip;
        slip.AddSlip(QStringLiteral("0001"),
            {{"0001", "A", "B"}, {"0002", "A", "B"}, {"0003", "A", "B"}, {"0004", "A", "B"}});
        slip.AddSlip(QStringLiteral("O'NE"), {{"0001", "A", "B"}});
        slip.Context.ApplicationServer = serverObject;
        slip.Context.SqlType = sqlType;
        slip.Form()->PrintCountMode = 1;
        EXPECT_TRUE(slip.Run());
        EXPECT_TRUE(server->Counted.isEmpty()) << "pages made are not yet printed";
        TPrintSettings toFile;
        toFile.Output = TPrintSettings::Destination::PdfFile;
        toFile.OutputFile = folder.file(QStringLiteral("slips%1.pdf").arg(sqlType));
        EXPECT_TRUE(slip.Form()->PrintPages(toFile));
        return server->Counted;
    };
    EXPECT_EQ(run(0),
        QStringList(
            {"TO001+'-'+TO002+'-'+TO003='A511-0001-0001'", "TO001+'-'+TO002+'-'+TO003='A511-O''NE-0001'"}));
    EXPECT_EQ(run(1),
        QStringList({"TO001||'-'||TO002||'-'||TO003='A511-0001-0001'",
            "TO001||'-'||TO002||'-'||TO003='A511-O''NE-0001'"}));
    EXPECT_TRUE(run(2).isEmpty()) << "another dialect has no condition, so nothing is counted";
    EXPECT_EQ(TfrmZorv52Fmt::KeyCondition(2, QStringLiteral("A511-1-0001")), QString());
}

TEST(Zorv52FmtTest, APageRangeCountsTheSlipsOnItsPagesOnly)
{
    const auto server = std::make_shared<CountingServer>();
    testsupport::TempFolder folder;
    ChangeSlip slip;
    QList<QStringList> many;
    for (int i = 1; i <= 30; ++i)
        many << QStringList {QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), "A", "B"};
    slip.AddSlip(QStringLiteral("LONG"), many);
    slip.AddSlip(QStringLiteral("SHORT"), {{"0001", "A", "B"}});
    slip.Context.ApplicationServer = Variant(server);
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    const int count = slip.Form()->QuickRep1->QRPrinter()->PageCount();
    ASSERT_GE(count, 3) << "the long slip takes two pages at least, the short one its own";
    const QString longKey = QStringLiteral("TO001+'-'+TO002+'-'+TO003='A511-LONG-0001'");
    const QString shortKey = QStringLiteral("TO001+'-'+TO002+'-'+TO003='A511-SHORT-0001'");
    // Every page of the long slip is known, not only its first.
    QList<int> longPages;
    for (const TSendGroup& g : slip.Form()->SlipPages().OnPages(1, count))
        if (g.Condition == longKey)
            longPages << g.Page;
    EXPECT_EQ(longPages, QList<int>({1})) << "each slip once, at its first page";
    EXPECT_EQ(slip.Form()->SlipPages().OnPages(2, 2).size(), 1) << "the long slip's second page";

    const auto print = [&](int from, int to) {
        server->Counted.clear();
        TPrintSettings settings;
        settings.Output = TPrintSettings::Destination::PdfFile;
        settings.OutputFile = folder.file(QStringLiteral("p%1-%2.pdf").arg(from).arg(to));
        settings.FromPage = from;
        settings.ToPage = to;
        EXPECT_TRUE(slip.Form()->PrintPages(settings));
        return server->Counted;
    };
    EXPECT_EQ(print(count, count), QStringList({shortKey})) << "the last page holds the short slip only";
    EXPECT_EQ(print(2, 2), QStringList({longKey})) << "a later page of a slip counts the slip";
    EXPECT_EQ(print(1, count), QStringList({longKey, shortKey})) << "a slip of several pages counts once";

    // A range with no page in it prints nothing, says so and counts nothing.
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrOk, QStringLiteral("打印失败"));
    server->Counted.clear();
    TPrintSettings past;
    past.Output = TPrintSettings::Destination::PdfFile;
    past.OutputFile = folder.file(QStringLiteral("past.pdf"));
    past.FromPage = count + 1;
    EXPECT_FALSE(slip.Form()->PrintPages(past));
    EXPECT_TRUE(server->Counted.isEmpty());
    EXPECT_EQ(dialogs.Asked().last().Code, QStringLiteral("E;000041"));
    EXPECT_EQ(dialogs.Pending(), 0);
}

TEST(Zorv52FmtTest, ASlipWithoutLinesPrintsItsHeaderAndFooterOnly)
{
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0009"), {});
    const auto pages = slip.Run();
    ASSERT_EQ(pages->PageCount(), 1);
    const QStringList page = texts(*pages, 1);
    EXPECT_TRUE(page.contains(QStringLiteral("A511-0009-0001")));
    EXPECT_TRUE(page.contains(QStringLiteral("以下空白//")));
    EXPECT_EQ(page.count(QStringLiteral("0001")), 1) << "the version, and no line number";
    EXPECT_FALSE(page.contains(QStringLiteral("删除"))) << "no line remark";
    EXPECT_FALSE(page.contains(QStringLiteral("接下页...")));
}

TEST(Zorv52FmtTest, SlipsOfOneRecipientGoToOneSendListLine)
{
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0001"), {{"0001", "A", "B"}});
    slip.AddSlip(QStringLiteral("0002"), {{"0001", "A", "B"}});
    slip.Context.SendMode = 1;
    slip.Context.SendKeyField = QStringLiteral("TO005");
    slip.Context.SendAddressField = QStringLiteral("TO051");
    slip.Context.SendCountColumn = QStringLiteral("TO053");
    ASSERT_TRUE(slip.Run());
    const TSendList& list = slip.Form()->SendList;
    ASSERT_EQ(list.Count(), 1);
    const TSendRecipient& recipient = list.Recipients().first();
    EXPECT_EQ(recipient.Key, QStringLiteral("ITEM-1"));
    EXPECT_EQ(recipient.EMail, QStringLiteral("K05"));
    EXPECT_EQ(recipient.Pages(), QList<int>({1, 2}));
    ASSERT_EQ(recipient.PrintCounts().size(), 2);
    EXPECT_EQ(recipient.PrintCounts()[1].Table, QStringLiteral("$$MOCTO"));
    EXPECT_EQ(recipient.PrintCounts()[1].CountField, QStringLiteral("TO053"));
    EXPECT_EQ(
        recipient.PrintCounts()[1].Condition, QStringLiteral("TO001+'-'+TO002+'-'+TO003='A511-0002-0001'"));
    // A print run registers nobody.
    slip.Context.SendMode = 0;
    ASSERT_TRUE(slip.Run());
    EXPECT_TRUE(slip.Form()->SendList.IsEmpty());
}

TEST(Zorv52FmtTest, ABackgroundPictureThatCannotBeReadLeavesTheSlipPrinting)
{
    ChangeSlip slip;
    slip.AddSlip(QStringLiteral("0001"), {{"0001", "A", "B"}});
    slip.Form()->QuickRep1->Background()->SetData("not a picture");
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    EXPECT_TRUE(texts(*pages, 1).contains(QStringLiteral("A511-0001-0001")));
    EXPECT_TRUE(slip.Form()->QuickRep1->Warnings().join(u';').contains(QStringLiteral("background")));
}

TEST(Zorv52FmtTest, ATraditionalInterfacePrintsEveryCaptionOfTheLayoutInTraditionalCharacters)
{
    steward_test::LanguageHome home("950");
    ChangeSlip slip;
    ASSERT_EQ(slip.Form()->HvConverter()->UIConvertMode(), 2);
    slip.AddSlip(QStringLiteral("0001"),
        {{"0001", "ITEM-A", "ITEM-B"}, {"0002", TfrmZorv52Fmt::Placeholder(), "ITEM-C"},
            {"0003", "ITEM-D", ""}});
    slip.Options.insert(QStringLiteral("sys024"), QStringLiteral("3"));
    // The message table answers in the user's language, as the server's does
    // through the database conversion.
    slip.Context.Message = [](const QString& code) {
        static const QHash<QString, QString> texts {
            {"101571", "替換"}, {"100269", "新增"}, {"100268", "刪除"}, {"101576", "工單變更單"}};
        return texts.value(code);
    };
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    const QStringList page = texts(*pages, 1);
    for (const char* caption : {"單號:", "變更日期:", "品名", "變更前", "變更後", "項次", "說明",
             "包裝單位:", "預計產包裝量:", "製表日期:", "頁次:"})
        EXPECT_TRUE(page.contains(QString::fromUtf8(caption))) << caption;
    // Nothing on the page is left in simplified characters: each text is
    // what converting it to traditional characters gives.
    TCodeConverter converter;
    for (const QString& text : page)
        EXPECT_EQ(converter.ConvertText(cdGBToBig5, text), text) << text.toStdString();
}

TEST(Zorv52FmtTest, ASimplifiedInterfaceOnABig5SystemKeepsItsCaptionsAndTellsTheStoreTheSystem)
{
    steward_test::LanguageHome home("936", "950");
    ChangeSlip slip;
    ASSERT_EQ(slip.Form()->HvConverter()->UIConvertMode(), 4);
    slip.AddSlip(QStringLiteral("0001"), {{"0001", "ITEM-A", "ITEM-B"}});
    const auto pages = slip.Run();
    ASSERT_TRUE(pages);
    EXPECT_TRUE(texts(*pages, 1).contains(QStringLiteral("单号:"))) << "the interface stays simplified";
    const TFormatStoreHost& host = slip.Form()->Store()->Host();
    EXPECT_EQ(host.SystemCodePage, QStringLiteral("950"));
    ASSERT_TRUE(host.Translate);
    EXPECT_EQ(host.Translate(QStringLiteral("凭证格式档名称")), QStringLiteral("憑證格式檔名稱"));
}

TEST(Zorv52FmtTest, NoTextOfTheSlipHeaderReachesTheDividerBetweenItsHalves)
{
    // A text cut at its box must not touch the line between the before and
    // after halves: every box beside the divider ends short of it.
    std::unique_ptr<TfrmZorv52Fmt, FreeComponent> form(CreateForm<TfrmZorv52Fmt>());
    auto* divider = form->FindComponent<TQRShape>(QStringLiteral("shpHalves"));
    ASSERT_NE(divider, nullptr);
    const int line = divider->Left() + divider->Width() / 2;
    int beside = 0;
    for (TComponent* component : form->ComponentList()) {
        auto* text = qobject_cast<TQRCustomLabel*>(component);
        if (!text || text->Parent() != divider->Parent() || text->Top() >= divider->Top() + divider->Height()
            || text->Top() + text->Height() <= divider->Top())
            continue;
        const int right = text->Left() + text->Width();
        if (text->Left() < line && right > line - 20) {
            ++beside;
            EXPECT_LE(right, line - 3)
                << text->Name().toStdString() << " ends at " << right << ", the line is at " << line;
        }
        EXPECT_FALSE(text->Left() < line && right > line)
            << text->Name().toStdString() << " crosses the divider";
    }
    EXPECT_GT(beside, 10) << "the left half's right-hand column stands beside the divider";
}
