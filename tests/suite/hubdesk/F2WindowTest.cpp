// The three windows of Com_F2Window, answered by the scripted dialog service
// the way a user works them.
#include "HubDeskFixture.h"

#include "runtime/forms/Dialogs.h"
#include "suite/hubdesk/HubF2Window.h"
#include "suite/hubdesk/TfrmHubDate.h"
#include "suite/hubdesk/TfrmHubLookup.h"
#include "suite/hubdesk/TfrmHubPhrase.h"

#include <QApplication>
#include <QDir>

namespace {

// The 19-item look-up request.
Variant request(const QString& table, const QString& number, const Variant& conditions, bool multiple = false,
    const QString& search = QString())
{
    Variant r = Variant::CreateArray(0, 18);
    r[0] = table;
    r[1] = number;
    r[2] = conditions;
    r[3] = QStringLiteral("DEMO");
    r[5] = QStringLiteral("DS");
    r[6] = multiple;
    r[8] = search;
    r[9] = QStringLiteral("HV01");
    return r;
}

// Saves what a window looks like, for people to look at.
void snapshot(TForm* form, const QString& name)
{
    form->Show();
    QApplication::processEvents();
    const QString dir = qEnvironmentVariable("ZORV_BINARY_DIR", QDir::tempPath());
    EXPECT_TRUE(form->Widget()->grab().save(dir + u'/' + name));
    form->Hide();
}

} // namespace

TEST_F(HubDeskTest, LookupListsSortsAndReturnsTheChosenRow)
{
    ScriptedDialogService dialogs;
    QStringList shown;
    dialogs.ExpectModal([&](TForm* f) {
        auto* form = qobject_cast<TfrmHubLookup*>(f);
        EXPECT_NE(form, nullptr);
        EXPECT_EQ(form->Caption(), Text("单别"));
        EXPECT_FALSE(form->Multiple());
        for (int i = 0; i < form->ShownCount(); ++i)
            shown << form->ShownText(i, 0);
        form->SortByColumn(0);
        form->SortByColumn(0); // descending
        EXPECT_EQ(form->ShownText(0, 0), "A521");
        form->ChooseShown(1);
        snapshot(form, QStringLiteral("hubdesk-lookup.png"));
        return static_cast<int>(mrOk);
    });
    const Variant f2 = manager_.Get(QStringLiteral("Com_F2Window"));
    const Variant answer
        = f2.Call(QStringLiteral("F2GetData"), {request("CMSMQ", "19", Variant::ArrayOf({"51", "52", ""}))});
    EXPECT_EQ(shown, (QStringList {"A511", "A512", "A521"}));
    ASSERT_TRUE(answer.IsArray());
    ASSERT_EQ(answer.HighBound(), 0);
    EXPECT_EQ(answer[0][0].ToString(), "A512");
    EXPECT_EQ(answer[0][2].ToString(), "51");
    EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(HubDeskTest, LookupSearchesEveryColumnAndChoosesSeveral)
{
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([&](TForm* f) {
        auto* form = qobject_cast<TfrmHubLookup*>(f);
        EXPECT_TRUE(form->Multiple());
        EXPECT_EQ(form->ShownCount(), 3); // the three sign-off blocks
        form->SetSearchText(Text("厂长"));
        EXPECT_EQ(form->ShownCount(), 1);
        form->SetSearchText(QString());
        form->ChooseShown(0);
        form->ChooseShown(2);
        return static_cast<int>(mrOk);
    });
    const Variant answer = manager_.Get(QStringLiteral("Com_F2Window"))
                               .Call(QStringLiteral("F2GetData"), {request("CMSMS", "01", "2", true)});
    ASSERT_EQ(answer.HighBound(), 1);
    EXPECT_EQ(answer[0][0].ToString(), "S01");
    EXPECT_EQ(answer[0][2].ToString(), Text("核准:"));
    EXPECT_EQ(answer[1][0].ToString(), "TIDEWS");
}

TEST_F(HubDeskTest, LookupCancelledOrEmptyAnswersNothing)
{
    const Variant f2 = manager_.Get(QStringLiteral("Com_F2Window"));
    {
        ScriptedDialogService dialogs;
        dialogs.ExpectModal([](TForm* f) {
            qobject_cast<TfrmHubLookup*>(f)->ChooseShown(0);
            return static_cast<int>(mrCancel);
        });
        EXPECT_TRUE(f2.Call(QStringLiteral("F2GetData"), {request("MOCTO", "60", "A511")}).IsEmpty());
    }
    // No rows, an unknown query, a request without a name: no window at all
    // (the scripted service raises on a window nobody expected).
    ScriptedDialogService none;
    EXPECT_TRUE(f2.Call(QStringLiteral("F2GetData"), {request("MOCTO", "60", "NOTYPE")}).IsEmpty());
    EXPECT_TRUE(f2.Call(QStringLiteral("F2GetData"), {request("MOCTO", "99", "A511")}).IsEmpty());
    EXPECT_TRUE(f2.Call(QStringLiteral("F2GetData"), {Variant()}).IsEmpty());
    EXPECT_TRUE(none.Failures().isEmpty());
}

TEST_F(HubDeskTest, DatePickerStepsAndReturnsYYYYMMDD)
{
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([](TForm* f) {
        auto* form = qobject_cast<TfrmHubDate*>(f);
        EXPECT_FALSE(form->RocYears());
        EXPECT_EQ(form->Date(), QDate(2024, 1, 31));
        form->StepMonths(1); // no 31 February: the last day of the month
        EXPECT_EQ(form->edDate->Text(), "2024/02/29");
        return static_cast<int>(mrOk);
    });
    dialogs.ExpectModal([](TForm*) { return static_cast<int>(mrCancel); });
    const Variant f2 = manager_.Get(QStringLiteral("Com_F2Window"));
    EXPECT_EQ(
        f2.Call(QStringLiteral("ShowInputDay"), {Variant::ArrayOf({false, "20240131", "DEMO"})}).ToString(),
        "20240229");
    EXPECT_EQ(
        f2.Call(QStringLiteral("ShowInputDay"), {Variant::ArrayOf({false, "20240131", "DEMO"})}).ToString(),
        "");
}

TEST_F(HubDeskTest, DatePickerCountsYearsFrom1911WhenAsked)
{
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([](TForm* f) {
        auto* form = qobject_cast<TfrmHubDate*>(f);
        EXPECT_TRUE(form->RocYears());
        EXPECT_EQ(form->edDate->Text(), "113/05/31");
        EXPECT_EQ(form->lblMonth->Caption(), Text("民国 113 年 5 月"));
        snapshot(form, QStringLiteral("hubdesk-date.png"));
        form->StepMonths(-12);
        return static_cast<int>(mrOk);
    });
    // A start that is no date starts on today.
    dialogs.ExpectModal([](TForm* f) {
        EXPECT_EQ(qobject_cast<TfrmHubDate*>(f)->Date(), QDate::currentDate());
        return static_cast<int>(mrOk);
    });
    const Variant f2 = manager_.Get(QStringLiteral("Com_F2Window"));
    EXPECT_EQ(
        f2.Call(QStringLiteral("ShowInputDay"), {Variant::ArrayOf({true, "20240531", "DEMO"})}).ToString(),
        "20230531");
    EXPECT_EQ(
        f2.Call(QStringLiteral("ShowInputDay"), {Variant::ArrayOf({"Y", "20240230", "DEMO"})}).ToString(),
        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    // 1912 is the first year; the years before count back from it.
    EXPECT_EQ(TfrmHubDate::YearText(1912, true), "1");
    EXPECT_EQ(TfrmHubDate::YearText(1911, true), Text("前1"));
    EXPECT_EQ(TfrmHubDate::YearText(1900, true), Text("前12"));
}

TEST_F(HubDeskTest, PhrasesAreKeptPerUserAndChosen)
{
    home_.write("Phrase/CHEN.txt", QString::fromUtf8("请尽快回复\n\n急件\n").toUtf8());
    ScriptedDialogService dialogs;
    dialogs.ExpectModal([](TForm* f) {
        auto* form = qobject_cast<TfrmHubPhrase*>(f);
        EXPECT_EQ(
            form->Phrases(), (QStringList {QString::fromUtf8("请尽快回复"), QString::fromUtf8("急件")}));
        EXPECT_TRUE(form->AddPhrase(QString::fromUtf8("  依图面修改\r\n第二行 ")));
        EXPECT_FALSE(form->AddPhrase(QString::fromUtf8("急件")));
        EXPECT_FALSE(form->AddPhrase(QStringLiteral("   ")));
        EXPECT_TRUE(form->DeletePhrase(0));
        EXPECT_EQ(form->Chosen(), QString::fromUtf8("急件")); // the phrase that moved up
        form->lstPhrases->SetItemIndex(1);
        snapshot(form, QStringLiteral("hubdesk-phrase.png"));
        return static_cast<int>(mrOk);
    });
    dialogs.ExpectModal([](TForm*) { return static_cast<int>(mrCancel); });
    const Variant f2 = manager_.Get(QStringLiteral("Com_F2Window"));
    EXPECT_EQ(
        f2.Call(QStringLiteral("GetPhrase"), {"CHEN", "DEMO", 0}).ToString(), Text("依图面修改  第二行"));
    EXPECT_EQ(QString::fromUtf8(home_.read("Phrase/CHEN.txt")), Text("急件\n依图面修改  第二行\n"));
    EXPECT_EQ(f2.Call(QStringLiteral("GetPhrase"), {"CHEN", "DEMO", 0}).ToString(), QString());
    // A user code never names a file outside the phrase folder.
    EXPECT_TRUE(
        THubF2Window::PhraseFile(QStringLiteral("../../etc/x")).endsWith(QLatin1String("Phrase/etcx.txt")));
}
