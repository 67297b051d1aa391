// Schemes opened by name (as a run without the window opens them) and dates
// whose rule moves them with the day the scheme is opened.
#include "CriteriaFixture.h"

#include "criteria/SelectPnl.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/Field.h"
#include "runtime/forms/StdCtrls.h"

#include <QDate>

using Form = std::unique_ptr<TfrmZorTest, FreeComponent>;

namespace {

const QString keys = QStringLiteral("spNo.style;spDate.style;edRemark.text;");

// A panel's rule record as the scheme dialog writes it: begin and end each
// moves (Y/N), offset, unit (0 weeks, 1 months), anchor (0 days, 1 first, 2 last), days.
QString panelRule(const QString& name, const QStringList& begin, const QStringList& end)
{
    const QChar sep(3);
    return QStringLiteral("0") + sep + name + sep + begin.join(sep) + sep + end.join(sep) + sep + u'D';
}

QString shown(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

// The stored key list and value text of the user's scheme of that name.
QPair<QString, QString> storedScheme(TfrmZorTest* form, const QString& name)
{
    form->RefreshSchemeList();
    TClientDataSet* rows = form->ClientDataSet1();
    for (rows->First(); !rows->Eof(); rows->Next()) {
        if (rows->FieldByName(QStringLiteral("NCONDITION"))->AsString() == name)
            return {rows->FieldByName(QStringLiteral("SCONDITION"))->AsString(),
                rows->FieldByName(QStringLiteral("VCONDITION"))->AsString()};
    }
    return {};
}

} // namespace

TEST_F(CriteriaTest, AMovingDateCountsFromTheDayTheSchemeIsOpened)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    // Saved on some earlier day: the field held that day's dates.
    form->spDate->edBegin->SetText(QStringLiteral("2024/05/15"));
    form->spDate->edFinal->SetText(QStringLiteral("2024/05/15"));
    form->spNo->edBegin->SetText(QStringLiteral("N1"));
    // Begin: one day before the run day; end: the run day itself (a moving
    // rule without any amount).
    form->DateRuleList() << panelRule(
        QStringLiteral("spDate"), {"Y", "0", "0", "0", "-1"}, {"Y", "0", "0", "0", "0"});
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("daily"), Variant(0)));

    const auto [storedKeys, values] = storedScheme(form.get(), QStringLiteral("daily"));
    EXPECT_EQ(storedKeys, keys + TfrmBaseGene::RunDayRulesKey() + u';')
        << "the rules follow the criteria as one more key";
    EXPECT_TRUE(values.contains(QStringLiteral("sp_Range\x03"
                                               "20240514\x03"
                                               "20240515\r\n")))
        << "the panel's own line is what programs without the rules read";

    form->spDate->edBegin->Clear();
    form->spDate->edFinal->Clear();
    form->spNo->edBegin->Clear();
    form->restored.clear();
    ASSERT_TRUE(form->OpenSchemeNamed(QStringLiteral("daily")));
    const QDate today = QDate::currentDate();
    EXPECT_EQ(form->spDate->edBegin->Text(), shown(today.addDays(-1)));
    EXPECT_EQ(form->spDate->edFinal->Text(), shown(today));
    EXPECT_EQ(form->spNo->edBegin->Text(), QStringLiteral("N1"));
    EXPECT_EQ(form->restored, QStringList({QStringLiteral("edRemark=")}))
        << "the rules' key restores no control";
}

TEST_F(CriteriaTest, OnlyTheMovingEndMovesAndSchemesWithoutMovingDatesStayAsTheyWere)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    form->spDate->edBegin->SetText(QStringLiteral("2024/05/15"));
    form->spDate->edFinal->SetText(QStringLiteral("2024/05/20"));
    // Begin fixed; end: the first day of the month after the run day's.
    form->DateRuleList() << panelRule(
        QStringLiteral("spDate"), {"N", "0", "0", "0", "0"}, {"Y", "1", "1", "1", "0"});
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("month"), Variant(0)));
    form->DateRuleList().clear();
    form->DateRuleList() << panelRule(
        QStringLiteral("spDate"), {"N", "0", "0", "0", "0"}, {"N", "0", "0", "0", "0"});
    ASSERT_TRUE(form->SaveScheme(keys, QStringLiteral("fixed"), Variant(0)));
    EXPECT_EQ(storedScheme(form.get(), QStringLiteral("fixed")).first, keys) << "stored as before";
    // A rule of a field the keys do not cover is not kept either.
    form->DateRuleList().clear();
    form->DateRuleList() << panelRule(
        QStringLiteral("spDate"), {"Y", "0", "0", "0", "0"}, {"Y", "0", "0", "0", "0"});
    ASSERT_TRUE(form->SaveScheme(QStringLiteral("spNo.style;"), QStringLiteral("nodates"), Variant(0)));
    EXPECT_EQ(storedScheme(form.get(), QStringLiteral("nodates")).first, QStringLiteral("spNo.style;"));

    ASSERT_TRUE(form->OpenSchemeNamed(QStringLiteral("month")));
    const QDate next = QDate::currentDate().addMonths(1);
    EXPECT_EQ(form->spDate->edBegin->Text(), QStringLiteral("2024/05/15"));
    EXPECT_EQ(form->spDate->edFinal->Text(), shown(QDate(next.year(), next.month(), 1)));
    ASSERT_TRUE(form->OpenSchemeNamed(QStringLiteral("fixed")));
    EXPECT_EQ(form->spDate->edBegin->Text(), QStringLiteral("2024/05/15"));
    EXPECT_EQ(form->spDate->edFinal->Text(), QStringLiteral("2024/05/20"));
}

TEST_F(CriteriaTest, ARulesLineThatIsDamagedFailsTheLoadInsteadOfGuessingADate)
{
    Form form = MakeForm();
    const QString withRules = keys + TfrmBaseGene::RunDayRulesKey() + u';';
    // An amount that is no number: the load stops, as for any value that cannot be applied.
    const QString damaged
        = panelRule(QStringLiteral("spDate"), {"Y", "x", "0", "0", "0"}, {"N", "0", "0", "0", "0"});
    EXPECT_FALSE(form->LoadScheme(withRules,
        QStringLiteral("sp_Range\x03"
                       "A\x03"
                       "B\r\nsp_Range\x03"
                       "20240101\x03"
                       "20240102\r\nnote\r\n")
            + damaged + QStringLiteral("\r\n")));
    // A rules line naming a field the form does not have changes nothing.
    const QString other
        = panelRule(QStringLiteral("spGone"), {"Y", "0", "0", "0", "0"}, {"Y", "0", "0", "0", "0"});
    EXPECT_TRUE(form->LoadScheme(withRules,
        QStringLiteral("sp_Range\x03"
                       "A\x03"
                       "B\r\nsp_Range\x03"
                       "20240101\x03"
                       "20240102\r\nnote\r\n")
            + other + QStringLiteral("\r\n")));
    EXPECT_EQ(form->spDate->edBegin->Text(), QStringLiteral("2024/01/01"));
    EXPECT_EQ(form->spDate->edFinal->Text(), QStringLiteral("2024/01/02"));
}

TEST_F(CriteriaTest, ASchemeIsOpenedByNameOnlyAmongTheUsersOwn)
{
    Form form = MakeForm();
    form->FormShow(form.get());
    form->edRemark->SetText(QStringLiteral("kept"));
    ASSERT_TRUE(form->SaveScheme(keys, Text("今日 寄送"), Variant(0)));
    form->edRemark->Clear();
    ASSERT_TRUE(form->OpenSchemeNamed(Text("今日 寄送")));
    EXPECT_EQ(form->edRemark->Text(), QStringLiteral("kept"));

    dialogs_->ExpectMessage(mrOk, Text("用户 DS 没有 ZORV52 的条件方案: 今日"));
    EXPECT_FALSE(form->OpenSchemeNamed(Text("今日"))) << "no partial match";
    form->edRemark->SetText(QStringLiteral("typed"));
    dialogs_->ExpectMessage(mrOk, Text("没有 ZORV52 的条件方案: NOSUCH"));
    EXPECT_FALSE(form->OpenSchemeNamed(QStringLiteral("NOSUCH")));
    EXPECT_EQ(form->edRemark->Text(), QStringLiteral("typed")) << "nothing was loaded";
}
