#include "criteria/SelectPnl.h"

#include "../common/LanguageTestHome.h"
#include "common/forms/LibCodeConvert.h"

#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/forms/Forms.h"
#include "runtime/system/DateTime.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A form that records the look-up requests its panels send.
class LookupForm : public TForm, public IF2WindowTarget {
public:
    LookupForm() { RegisterSelectPanel(); }
    void F2Window(TWinControl* control) override { requests << control; }
    QList<TWinControl*> requests;
};

struct PanelOnForm {
    LookupForm form;
    TSelectPanel* panel = new TSelectPanel(&form);
    TEdit* other = new TEdit(&form);
    PanelOnForm()
    {
        panel->SetName(QStringLiteral("spNo"));
        panel->SetParent(&form);
        other->SetName(QStringLiteral("edOther"));
        other->SetParent(&form);
    }
    void type(const QString& begin, const QString& final)
    {
        panel->edBegin->SetText(begin);
        panel->edFinal->SetText(final);
    }
    // Focus into the panel and out again, as the user tabbing through does.
    void passThrough()
    {
        form.FocusControl(panel->edBegin);
        form.FocusControl(panel->edFinal);
        form.FocusControl(other);
    }
    QString begin() const { return panel->edBegin->Text(); }
    QString final() const { return panel->edFinal->Text(); }
};

QStringList captions(const TSelectPanel* panel)
{
    QStringList list;
    for (int i = 0; i < panel->Items()->Count(); ++i)
        list << panel->Items()->Items(i)->Caption();
    return list;
}

QRect boundsOnPanel(const TControl* control, const TSelectPanel* panel)
{
    QRect r = control->BoundsRect();
    for (const TControl* p = control->Parent(); p && p != panel; p = p->Parent())
        r.translate(p->Left(), p->Top());
    return r;
}

} // namespace

TEST(SelectPanel, FreshPanelDefaults)
{
    TSelectPanel panel;
    EXPECT_EQ(panel.Width(), 353);
    EXPECT_EQ(panel.Height(), 45);
    EXPECT_EQ(panel.Style(), sp_Range);
    EXPECT_TRUE(panel.IsRangeMode());
    EXPECT_TRUE(panel.pnlRange->Visible());
    EXPECT_FALSE(panel.pnlList->Visible());
    EXPECT_FALSE(panel.cbUserChoice->Visible());
    EXPECT_EQ(panel.HintWord(), QStringLiteral("区间选择"));
    EXPECT_EQ(panel.lblBegin->Caption(), QStringLiteral("起"));
    EXPECT_EQ(panel.lblFinal->Caption(), QStringLiteral("止"));
    EXPECT_EQ(panel.edBegin->Hint(), QStringLiteral("区间选择-起始信息"));
    EXPECT_EQ(panel.btnClearList->Hint(), QStringLiteral("多选-删除己选信息"));
    EXPECT_EQ(panel.btnBegin->GlyphIndex(), 8);
    EXPECT_EQ(panel.btnDeleteItem->GlyphIndex(), 47);
    EXPECT_EQ(panel.edBegin->Height(), 24);
    EXPECT_FALSE(panel.ListBox->ShowColumnHeaders());
    EXPECT_TRUE(panel.ListBox->MultiSelect());
}

TEST(SelectPanel, SideBySideAndStackedLayoutsStayInside)
{
    TSelectPanel panel;
    panel.SetBounds(0, 0, 400, 50);
    const QRect edBegin = boundsOnPanel(panel.edBegin, &panel);
    const QRect edFinal = boundsOnPanel(panel.edFinal, &panel);
    const QRect btnBegin = boundsOnPanel(panel.btnBegin, &panel);
    const QRect lblFinal = boundsOnPanel(panel.lblFinal, &panel);
    EXPECT_EQ(edBegin.width(), edFinal.width());
    EXPECT_EQ(edBegin.top(), edFinal.top());
    EXPECT_EQ(panel.edBegin->Left(), panel.lblBegin->Left() + panel.lblBegin->Width() + 1);
    EXPECT_EQ(btnBegin.left(), edBegin.right() + 1 + 2);
    EXPECT_EQ(lblFinal.left(), btnBegin.right() + 1 + 2);
    EXPECT_LE(boundsOnPanel(panel.btnFinal, &panel).right(), panel.Width()) << "nothing clipped at the right";
    EXPECT_GT(edBegin.width(), 100);

    panel.SetUseVertical(true);
    panel.SetBounds(0, 0, 200, 105);
    const QRect vBegin = boundsOnPanel(panel.edBegin, &panel);
    const QRect vFinal = boundsOnPanel(panel.edFinal, &panel);
    EXPECT_EQ(vBegin.left(), vFinal.left());
    EXPECT_EQ(vBegin.width(), vFinal.width());
    EXPECT_GT(vFinal.top(), vBegin.bottom()) << "final stands below begin";
    EXPECT_LE(vFinal.bottom(), panel.Height());
    EXPECT_LE(boundsOnPanel(panel.btnFinal, &panel).right(), panel.Width());

    panel.SetCanOpenWin(false);
    EXPECT_FALSE(panel.btnBegin->Visible());
    EXPECT_GT(boundsOnPanel(panel.edBegin, &panel).width(), vBegin.width())
        << "the edits take the buttons' room";
}

TEST(SelectPanel, ListButtonsStayInsideALowList)
{
    TSelectPanel panel;
    panel.SetStyle(sp_Discrete);
    panel.SetBounds(0, 0, 290, 200);
    EXPECT_EQ(panel.btnClearList->Height(), 23) << "room enough: full buttons";
    EXPECT_EQ(panel.btnClearList->Top(), 46);

    // A user-choice panel of a few rows in list mode.
    TSelectPanel choice;
    choice.SetStyle(sp_UserChoice);
    choice.SetUserChoice(false);
    choice.SetBounds(0, 0, 286, 96);
    ASSERT_LT(choice.pnlList->Height(), 3 * 23) << "too low for three full buttons";
    const QRect clear = choice.btnClearList->BoundsRect(); // on pnlList
    EXPECT_LE(clear.bottom() + 1, choice.pnlList->Height()) << "the last button is not cut off";
    EXPECT_GE(choice.btnClearList->Height(), 18) << "its glyph still fits";
    EXPECT_EQ(choice.btnDeleteItem->Top(), choice.btnList->Top() + choice.btnList->Height());
    EXPECT_EQ(choice.btnClearList->Top(), choice.btnDeleteItem->Top() + choice.btnDeleteItem->Height());
}

TEST(SelectPanel, WordListsKeepTwoEntriesAndASingleWordServesBoth)
{
    TSelectPanel panel;
    TStrings words;
    words.SetLines({QStringLiteral("从"), QStringLiteral("起始"), QStringLiteral("多余")});
    panel.SetBeginWords(&words);
    EXPECT_EQ(panel.BeginWords()->Count(), 2);
    EXPECT_EQ(panel.lblBegin->Caption(), QStringLiteral("从"));
    panel.SetUseVertical(true);
    EXPECT_EQ(panel.lblBegin->Caption(), QStringLiteral("起始"));
    words.SetLines({QStringLiteral("到")});
    panel.SetFinalWords(&words);
    EXPECT_EQ(panel.lblFinal->Caption(), QStringLiteral("到"));
    panel.SetUseVertical(false);
    EXPECT_EQ(panel.lblFinal->Caption(), QStringLiteral("到"));
}

TEST(SelectPanel, StyleChangeSwapsSizeWithTheOtherLayout)
{
    TSelectPanel panel;
    panel.SetBounds(5, 5, 353, 45);
    panel.SetStyle(sp_Discrete);
    EXPECT_EQ(QSize(panel.Width(), panel.Height()), QSize(200, 105));
    EXPECT_EQ(panel.OtherWidth(), 353);
    EXPECT_EQ(panel.OtherHeight(), 45);
    EXPECT_TRUE(panel.pnlList->Visible());
    EXPECT_FALSE(panel.IsRangeMode());
    panel.SetStyle(sp_UserChoice); // list to list: no swap
    EXPECT_EQ(panel.Width(), 200);
    panel.SetStyle(sp_Range);
    EXPECT_EQ(QSize(panel.Width(), panel.Height()), QSize(353, 45));

    TSelectPanel vertical;
    vertical.SetUseVertical(true);
    vertical.SetStyle(sp_Discrete);
    EXPECT_EQ(vertical.Width(), 353) << "a stacked panel keeps its size";
}

TEST(SelectPanel, StyleChangingMayRefuseOrRedirect)
{
    TSelectPanel panel;
    QList<QPair<TSelectStyle, TSelectStyle>> changes;
    panel.SetOnStyleChange(TStyleChangeEvent::Of([&](TObject*, TSelectStyle from, TSelectStyle to) {
        changes.append({from, to});
    }));
    panel.SetOnStyleChanging(
        TStyleChangingEvent::Of([](TObject*, TSelectStyle, TSelectStyle& next, bool& accept) {
            if (next == sp_Discrete)
                accept = false;
            if (next == sp_UserChoice)
                next = sp_Range;
        }));
    panel.SetStyle(sp_Discrete);
    EXPECT_EQ(panel.Style(), sp_Range);
    EXPECT_TRUE(changes.isEmpty());
    panel.SetStyle(sp_UserChoice);
    EXPECT_EQ(panel.Style(), sp_Range);
    ASSERT_EQ(changes.size(), 1);
    EXPECT_EQ(changes.first().second, sp_Range);

    panel.SetDesigning(true);
    panel.SetStyle(sp_Discrete);
    EXPECT_EQ(panel.Style(), sp_Discrete) << "no events while designed";
    EXPECT_EQ(changes.size(), 1);
}

TEST(SelectPanel, UserChoiceSwitchesBetweenRangeAndList)
{
    TSelectPanel panel;
    int typeClicks = 0;
    panel.SetOnTypeClick(TNotifyEvent::Of([&](TObject*) { ++typeClicks; }));
    panel.SetUserChoice(false);
    EXPECT_TRUE(panel.IsRangeMode()) << "only sp_UserChoice listens to UserChoice";
    panel.SetStyle(sp_UserChoice);
    EXPECT_TRUE(panel.cbUserChoice->Visible());
    EXPECT_TRUE(panel.IsRangeMode());
    panel.SetUserChoice(false);
    EXPECT_FALSE(panel.IsRangeMode());
    EXPECT_FALSE(panel.UserChoice());
    EXPECT_TRUE(panel.pnlList->Visible());
    EXPECT_FALSE(panel.pnlRange->Visible());
    panel.cbUserChoice->Toggle();
    EXPECT_TRUE(panel.UserChoice());
    EXPECT_TRUE(panel.pnlRange->Visible());
    EXPECT_EQ(typeClicks, 2);
    EXPECT_EQ(panel.lblBegin->Caption(), QStringLiteral("起")) << "the user-choice layout is stacked";
    EXPECT_GT(panel.pnlRange->Top(), panel.cbUserChoice->Top());
}

TEST(SelectPanelOrder, NumbersCompareAsNumbersAndTextsByBytes)
{
    PanelOnForm f;
    f.panel->SetValueType(vt_String);
    f.type(QStringLiteral("10"), QStringLiteral("9"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("10")) << "byte order: '1' < '9'";
    f.panel->SetValueType(vt_Number);
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("9"));
    EXPECT_EQ(f.final(), QStringLiteral("10"));
    f.type(QStringLiteral("abc"), QStringLiteral("-3"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("-3")) << "a non-number counts as 0";

    f.panel->SetValueType(vt_String);
    f.type(QStringLiteral("  B01 "), QStringLiteral(" A01"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("A01"));
    EXPECT_EQ(f.final(), QStringLiteral("B01"));
    // 啊 is B0A1 in GBK and 一 D2BB, the other way round in Unicode.
    f.type(QStringLiteral("一"), QStringLiteral("啊"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("啊")) << "bytes of the Chinese code page decide";
    f.type(QStringLiteral("Z"), QString());
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("Z")) << "one side empty: nothing to order";
    f.panel->SetValueType(vt_OtherMask);
    f.type(QStringLiteral("Z"), QStringLiteral("A"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("Z"));
}

TEST(SelectPanelOrder, DatesFollowTheirDateTypeAndSwitches)
{
    PanelOnForm f;
    f.panel->SetValueType(vt_Date);
    f.panel->SetDateType(dt_YYYYMMDD);
    f.type(QStringLiteral("2024/05/31"), QStringLiteral("2024/05/01"));
    f.passThrough();
    EXPECT_EQ(f.begin(), QStringLiteral("2024/05/01"));
    EXPECT_EQ(f.final(), QStringLiteral("2024/05/31"));

    f.panel->SetAutoChangeDateSite(false);
    f.type(QStringLiteral("2024/05/31"), QStringLiteral("2024/05/01"));
    f.passThrough();
    EXPECT_EQ(f.begin(), QStringLiteral("2024/05/31"));

    f.panel->SetAutoChangeDateSite(true);
    f.panel->SetDateType(dt_DDMMYYYY);
    f.type(QStringLiteral("02/01/2024"), QStringLiteral("31/12/2023"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("31/12/2023")) << "by date, not by text";

    f.panel->SetUseDiscard(true);
    f.panel->SetDiscard(QStringLiteral("ZZZ"));
    f.type(QStringLiteral("ZZZ"), QStringLiteral("01/01/2020"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("ZZZ")) << "the discard marker is never moved";
    f.panel->SetValueType(vt_String);
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("ZZZ"));
}

TEST(SelectPanelOrder, FloatsAreRewrittenKeepingTheirValue)
{
    PanelOnForm f;
    f.panel->SetValueType(vt_Float);
    f.type(QStringLiteral(".5"), QStringLiteral("0.25"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("0.25"));
    EXPECT_EQ(f.final(), QStringLiteral("0.5"));
    f.type(QStringLiteral("12"), QStringLiteral("3."));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("3.0"));
    EXPECT_EQ(f.final(), QStringLiteral("12")) << "a whole number stays as typed";
}

TEST(SelectPanelOrder, MaskedDatesAndTheEmptyMask)
{
    PanelOnForm f;
    f.panel->SetValueType(vt_Date);
    f.panel->SetDateType(dt_YYYYMMDD);
    f.panel->edBegin->SetText(QStringLiteral("20240105"));
    f.panel->SetEditMask(QStringLiteral("!9999/99/99;1;_"));
    EXPECT_EQ(f.panel->EmptyMaskText(), QStringLiteral("    /  /  "));
    EXPECT_EQ(f.begin(), QStringLiteral("2024/01/05")) << "the text is kept under the new mask";
    f.panel->edFinal->SetText(QStringLiteral("2023/12/31"));
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("2023/12/31"));
    f.panel->edFinal->Clear();
    f.panel->OrderRange();
    EXPECT_EQ(f.begin(), QStringLiteral("2023/12/31")) << "an empty masked final orders nothing";
    EXPECT_EQ(f.panel->ParseDateText(f.panel->EmptyMaskText()), 0);
}

TEST(SelectPanelOrder, MaskChangeRaisesNoChangeEvent)
{
    TSelectPanel panel;
    int changes = 0;
    panel.edBegin->SetOnChange(TNotifyEvent::Of([&](TObject*) { ++changes; }));
    panel.edBegin->SetText(QStringLiteral("20240105"));
    const int typed = changes;
    EXPECT_GT(typed, 0);
    panel.SetEditMask(QStringLiteral("9999/99/99;1;_"));
    EXPECT_EQ(changes, typed);
    EXPECT_FALSE(panel.edBegin->Muted());
}

TEST(SelectPanelDates, ParseEveryDateType)
{
    TSelectPanel panel;
    auto day = [](int y, int m, int d) { return datetime::EncodeDate(y, m, d); };
    panel.SetDateType(dt_YYYMMDD);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("113/01/05")), day(2024, 1, 5));
    panel.SetDateType(dt_YYMMDD);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("99/12/31")), day(2010, 12, 31));
    panel.SetDateType(dt_YYYYMMDD);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("2024/05")), day(2024, 5, 1));
    EXPECT_EQ(panel.ParseDateText(QStringLiteral(" 2024 / 5 / 7 ")), day(2024, 5, 7));
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("2024/02/30")), 0);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("2024/02/01/01")), 0);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("20240201")), 0);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("2024/AB/01")), 0);
    panel.SetDateType(dt_MMDDYYYY);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("05/2024")), day(2024, 5, 1));
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("12/31/2023")), day(2023, 12, 31));
    panel.SetDateType(dt_DDMMYYYY);
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("05/2024")), day(2024, 5, 1));
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("31/12/2023")), day(2023, 12, 31));
    panel.SetDateSign(QStringLiteral("-"));
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("31-12-2023")), day(2023, 12, 31));
    EXPECT_EQ(panel.ParseDateText(QStringLiteral("31/12/2023")), 0);
}

// Every date type against a plain model: a random calendar date written in
// the type's order parses back to itself; a day past the month's end gives 0.
TEST(SelectPanelDates, RandomDatesRoundTripInEveryOrder)
{
    constexpr quint32 seed = 20240531;
    QRandomGenerator random(seed);
    TSelectPanel panel;
    for (int n = 0; n < 2000; ++n) {
        const auto type = static_cast<TDateType>(1 + random.bounded(5));
        const int year = 1912 + random.bounded(200);
        const int month = 1 + random.bounded(12);
        const QDate first(year, month, 1);
        const int day = 1 + random.bounded(first.daysInMonth() + 2); // sometimes past the end
        const bool exists = day <= first.daysInMonth();
        const QString y
            = type == dt_YYMMDD || type == dt_YYYMMDD ? QString::number(year - 1911) : QString::number(year);
        const QString m = QString::number(month), d = QString::number(day);
        QString text;
        switch (type) {
        case dt_MMDDYYYY:
            text = m + u'/' + d + u'/' + y;
            break;
        case dt_DDMMYYYY:
            text = d + u'/' + m + u'/' + y;
            break;
        default:
            text = y + u'/' + m + u'/' + d;
            break;
        }
        panel.SetDateType(type);
        const double expected = exists ? datetime::FromQDate(QDate(year, month, day)) : 0;
        ASSERT_EQ(panel.ParseDateText(text), expected)
            << "seed " << seed << " case " << n << ": " << text.toStdString();
    }
}

TEST(SelectPanelList, AddRowGrowsColumnsAndPadsRows)
{
    TSelectPanel panel;
    EXPECT_FALSE(panel.ListBox->AddRow({}));
    ASSERT_TRUE(panel.ListBox->AddRow({QStringLiteral("A")}));
    ASSERT_TRUE(panel.ListBox->AddRow({QStringLiteral("B"), QStringLiteral("b1"), QStringLiteral("b2")}));
    ASSERT_EQ(panel.Columns()->Count(), 3);
    EXPECT_EQ(panel.Columns()->Items(1)->Caption(), QStringLiteral("Data2"));
    EXPECT_EQ(panel.Columns()->Items(2)->Caption(), QStringLiteral("Data3"));
    EXPECT_EQ(panel.Items()->Items(0)->SubItems()->Count(), 2) << "older rows are padded";
    ASSERT_TRUE(panel.ListBox->AddRow({QStringLiteral("C"), QStringLiteral("c1")}));
    EXPECT_EQ(panel.Items()->Items(2)->SubItems()->Lines(), QStringList({QStringLiteral("c1"), QString()}));

    TSelectPanel named;
    TStrings names;
    names.SetLines({QStringLiteral("单号")});
    named.SetColumnCaptions(&names);
    ASSERT_TRUE(named.ListBox->AddRow({QStringLiteral("A"), QStringLiteral("x")}));
    EXPECT_EQ(
        named.ColumnCaptions()->Lines(), QStringList({QStringLiteral("单号"), QStringLiteral("Data2")}));
    const int charW = QFontMetrics(named.ListBox->Font()->ToQFont()).horizontalAdvance(u'W');
    EXPECT_EQ(named.Columns()->Items(1)->Width(), 5 * charW) << "Data2: five characters wide";
}

TEST(SelectPanelList, DuplicatesAreDroppedByTheChosenComparison)
{
    for (TCheckDuplicate check : {cd_None, cd_CheckCase, cd_CaseInsensitive}) {
        TSelectPanel panel;
        panel.SetStyle(sp_Discrete);
        panel.SetCheckDuplicate(check);
        for (const char* caption : {"A", "a", "B"})
            ASSERT_TRUE(panel.ListBox->AddRow({QString::fromLatin1(caption)}));
        const int expected = check == cd_CaseInsensitive ? 2 : 3;
        EXPECT_EQ(panel.Items()->Count(), expected) << "check " << check;
        if (check != cd_None) {
            EXPECT_TRUE(panel.SortListBox());
        }
    }
    TSelectPanel later;
    later.SetStyle(sp_Discrete);
    for (const char* caption : {"b", "a", "b"})
        later.ListBox->AddRow({QString::fromLatin1(caption)});
    later.SetCheckDuplicate(cd_CheckCase);
    EXPECT_EQ(captions(&later), QStringList({QStringLiteral("a"), QStringLiteral("b")}))
        << "turning the check on sorts and drops at once";
}

TEST(SelectPanelList, HeaderClicksSortAndToggle)
{
    TSelectPanel panel;
    panel.ListBox->AddRow({QStringLiteral("b"), QStringLiteral("2")});
    panel.ListBox->AddRow({QStringLiteral("A"), QStringLiteral("3")});
    panel.ListBox->AddRow({QStringLiteral("c"), QStringLiteral("1")});
    panel.ListBox->AddRow({QStringLiteral("a"), QStringLiteral("1")});
    panel.SortByColumn(1);
    EXPECT_EQ(captions(&panel), QStringList({"a", "c", "b", "A"})) << "ties broken by caption";
    panel.SortByColumn(1);
    EXPECT_FALSE(panel.SortAscending());
    EXPECT_EQ(captions(&panel), QStringList({"A", "b", "c", "a"}));
    panel.SortByColumn(0);
    EXPECT_TRUE(panel.SortAscending());
    EXPECT_EQ(panel.SortColumn(), 0);
    EXPECT_EQ(captions(&panel), QStringList({"a", "A", "b", "c"}))
        << "A and a tie on caption, column 1 decides";
}

TEST(SelectPanelList, DeleteAndClear)
{
    PanelOnForm f;
    TSelectPanel* panel = f.panel;
    for (const char* c : {"1", "2", "3"})
        panel->ListBox->AddRow({QString::fromLatin1(c)});
    panel->Items()->Items(0)->SetSelected(true);
    panel->Items()->Items(2)->SetSelected(true);
    bool accept = false;
    panel->SetOnDeleteClick(TCloseQueryEvent::Of([&](TObject*, bool& a) { a = accept; }));
    panel->btnDeleteItem->Click();
    EXPECT_EQ(panel->Items()->Count(), 3) << "refused";
    accept = true;
    panel->btnDeleteItem->Click();
    EXPECT_EQ(captions(panel), QStringList({QStringLiteral("2")}));
    int cleared = 0;
    panel->SetOnClearClick(TNotifyEvent::Of([&](TObject*) { ++cleared; }));
    panel->btnClearList->Click();
    EXPECT_EQ(panel->Items()->Count(), 0);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(f.form.ActiveControl(), panel->ListBox);
}

TEST(SelectPanelList, ListTextAndCriteriaValue)
{
    TSelectPanel panel;
    panel.SetStyle(sp_UserChoice);
    panel.SetUserChoice(false);
    panel.ListBox->AddRow({QStringLiteral("A"), QStringLiteral("a1")});
    panel.ListBox->AddRow({QStringLiteral("B")});
    const QString text = panel.ListText();
    EXPECT_EQ(text,
        QStringLiteral("A\x01"
                       "a1\x04"
                       "B\x01\x04"));
    const Variant value = panel.CriteriaValue();
    ASSERT_EQ(value.HighBound(), 2);
    EXPECT_EQ(value[0].ToString(), QString(QChar(5)));
    EXPECT_EQ(value[1][1].ToString(), QStringLiteral("a1"));

    TSelectPanel copy;
    ASSERT_TRUE(copy.SetListText(QStringLiteral("甲\x01"
                                                "一\x04"
                                                "乙\x04")));
    EXPECT_EQ(captions(&copy), QStringList({QStringLiteral("甲"), QStringLiteral("乙")}));
    EXPECT_EQ(copy.Items()->Items(0)->SubItems()->Strings(0), QStringLiteral("一"));
    ASSERT_TRUE(copy.SetListText(QString()));
    EXPECT_EQ(copy.Items()->Count(), 0);

    copy.edBegin->SetText(QStringLiteral("M-01"));
    const Variant range = copy.CriteriaValue();
    EXPECT_EQ(range, Variant::ArrayOf({QString(QChar(4)), QStringLiteral("M-01"), QString()}));
}

TEST(SelectPanelEvents, LookupButtonsAskTheFormForTheirControl)
{
    PanelOnForm f;
    QList<TWinControl*> opened;
    f.panel->SetOnOpenWinClick(TOpenWinClickEvent::Of([&](TSelectPanel* sender, TWinControl* control) {
        EXPECT_EQ(sender, f.panel);
        opened << control;
    }));
    f.panel->btnFinal->Click();
    EXPECT_EQ(f.form.ActiveControl(), f.panel->edFinal);
    f.panel->SetStyle(sp_Discrete);
    f.panel->btnList->Click();
    EXPECT_EQ(f.form.requests, (QList<TWinControl*> {f.panel->edFinal, f.panel->ListBox}));
    EXPECT_EQ(opened, f.form.requests);
    EXPECT_EQ(f.form.ActiveControl(), f.panel->ListBox);
}

TEST(SelectPanelEvents, RowChangesReachThePanelsItemEvents)
{
    TSelectPanel panel;
    panel.SetStyle(sp_Discrete);
    panel.ListBox->AddRow({QStringLiteral("5101"), QStringLiteral("工单变更单")});
    panel.ListBox->AddRow({QStringLiteral("5102"), QStringLiteral("委外工单变更单")});
    QStringList events;
    panel.SetOnItemChanging(TListViewDataChangingEvent::Of(
        [&](TObject* sender, TListItem* item, TItemChange change, bool& allow) {
            EXPECT_EQ(sender, panel.ListBox);
            events << QStringLiteral("changing %1 %2").arg(item->Caption()).arg(int(change));
            allow = !(item->Caption() == u"5102" && change == ctText); // the second row's text is fixed
        }));
    panel.SetOnItemChange(
        TListViewDataChangeEvent::Of([&](TObject* sender, TListItem* item, TItemChange change) {
            EXPECT_EQ(sender, panel.ListBox);
            events << QStringLiteral("change %1 %2").arg(item->Caption()).arg(int(change));
        }));
    panel.SetOnItemSelect(
        TListViewSelectItemEvent::Of([&](TObject*, TListItem* item, int index, bool selected) {
            events << QStringLiteral("select %1 %2 %3").arg(item->Caption()).arg(index).arg(selected);
        }));
    panel.Items()->Items(0)->SetCaption(QStringLiteral("5103"));
    panel.Items()->Items(0)->SetSelected(true);
    panel.Items()->Items(1)->SetCaption(QStringLiteral("5104"));
    EXPECT_EQ(panel.Items()->Items(1)->Caption(), QStringLiteral("5102")) << "the handler refused";
    EXPECT_EQ(events,
        (QStringList {"changing 5101 0", "change 5103 0", "changing 5103 2", "change 5103 2",
            "select 5103 0 1", "changing 5102 0"}));

    // Deleting asks about each selected row; a refused one stays.
    panel.ListBox->SetMultiSelect(true);
    panel.Items()->Items(1)->SetSelected(true);
    ASSERT_EQ(panel.ListBox->SelCount(), 2);
    events.clear();
    panel.DeleteSelected();
    EXPECT_EQ(events, (QStringList {"changing 5102 0", "changing 5103 0"}));
    EXPECT_EQ(panel.Items()->Count(), 1);
    EXPECT_EQ(panel.Items()->Items(0)->Caption(), QStringLiteral("5102"));
}

TEST(SelectPanelEvents, MouseAndDragOfTheChildrenAreThePanels)
{
    TSelectPanel panel;
    panel.SetBounds(0, 0, 400, 50);
    QStringList events;
    auto who = [&panel](TObject* sender) {
        return sender == &panel ? QStringLiteral("panel") : qobject_cast<TControl*>(sender)->Name();
    };
    panel.SetOnMouseDown(TMouseEvent::Of([&](TObject* sender, TMouseButton, TShiftState, int x, int y) {
        events << QStringLiteral("down %1 %2,%3").arg(who(sender)).arg(x).arg(y);
    }));
    panel.SetOnMouseMove(TMouseMoveEvent::Of([&](TObject* sender, TShiftState, int x, int y) {
        events << QStringLiteral("move %1 %2,%3").arg(who(sender)).arg(x).arg(y);
    }));
    // A label: the panel is Sender, the point is the panel's.
    panel.lblFinal->MouseDown(mbLeft, {}, 1, 2);
    const QPoint label = panel.lblFinal->BoundsRect().topLeft() + panel.pnlRange->BoundsRect().topLeft();
    // An edit stays Sender with its own point.
    panel.edBegin->MouseMove({}, 3, 4);
    EXPECT_EQ(events,
        (QStringList {QStringLiteral("down panel %1,%2").arg(label.x() + 1).arg(label.y() + 2),
            QStringLiteral("move edBegin 3,4")}));

    // Drops: nothing lands on a panel that does not say so.
    TPanel source;
    EXPECT_FALSE(panel.btnBegin->DragOver(&source, 1, 1, dsDragEnter));
    panel.SetOnDragOver(
        TDragOverEvent::Of([&](TObject* sender, TObject* from, int x, int y, TDragState, bool& accept) {
            events << QStringLiteral("over %1 %2,%3").arg(who(sender)).arg(x).arg(y);
            accept = from == &source;
        }));
    panel.SetOnDragDrop(TDragDropEvent::Of([&](TObject* sender, TObject*, int x, int y) {
        events << QStringLiteral("drop %1 %2,%3").arg(who(sender)).arg(x).arg(y);
    }));
    panel.SetOnEndDrag(TEndDragEvent::Of([&](TObject* sender, TObject* target, int, int) {
        events << QStringLiteral("end %1 %2").arg(who(sender)).arg(target == &source);
    }));
    events.clear();
    EXPECT_TRUE(panel.ListBox->DragOver(&source, 5, 6, dsDragMove));
    EXPECT_FALSE(panel.ListBox->DragOver(&panel, 5, 6, dsDragMove));
    const QPoint button = panel.btnBegin->BoundsRect().topLeft() + panel.pnlRange->BoundsRect().topLeft();
    panel.btnBegin->DragDrop(&source, 2, 3);
    panel.btnClearList->OnEndDrag()(panel.btnClearList, &source, 0, 0);
    EXPECT_EQ(events,
        (QStringList {"over ListBox 5,6", "over ListBox 5,6",
            QStringLiteral("drop panel %1,%2").arg(button.x() + 2).arg(button.y() + 3), "end panel 1"}));
}

TEST(SelectPanelEvents, ExitRunsOnceWhenTheFocusLeavesThePanel)
{
    PanelOnForm f;
    f.panel->SetValueType(vt_Number);
    QStringList seen;
    f.panel->SetOnEnter(TNotifyEvent::Of([&](TObject*) { seen << QStringLiteral("enter"); }));
    f.panel->SetOnExit(TNotifyEvent::Of([&](TObject* sender) {
        EXPECT_EQ(sender, f.panel);
        seen << QStringLiteral("exit ") + f.begin();
    }));
    f.type(QStringLiteral("20"), QStringLiteral("3"));
    f.passThrough();
    EXPECT_EQ(seen, QStringList({QStringLiteral("enter"), QStringLiteral("exit 3")}))
        << "ordered before OnExit, once for the whole panel";
    Word key = 0;
    QObject* keySender = nullptr;
    f.panel->SetOnKeyDown(TKeyEvent::Of([&](TObject* s, Word& k, TShiftState) { keySender = s, key = k; }));
    Word f2 = VK_F2;
    f.panel->edFinal->OnKeyDown()(f.panel->edFinal, f2, {});
    EXPECT_EQ(keySender, f.panel->edFinal);
    EXPECT_EQ(key, VK_F2);
}

TEST(SelectPanelEvents, DisablingReachesEveryChild)
{
    TSelectPanel panel;
    panel.SetEnabled(false);
    for (TControl* c : QList<TControl*> {panel.edBegin, panel.btnBegin, panel.ListBox, panel.btnClearList,
             panel.pnlRange, panel.cbUserChoice})
        EXPECT_FALSE(c->Enabled()) << c->Name().toStdString();
    panel.SetEnabled(true);
    EXPECT_TRUE(panel.btnClearList->Enabled());
}

TEST(SelectPanelDescription, WrittenAndReadBackLikeAnyControl)
{
    LookupForm form;
    form.SetName(QStringLiteral("frmTest"));
    auto* panel = new TSelectPanel(&form);
    panel->SetName(QStringLiteral("spDate"));
    panel->SetParent(&form);
    panel->SetCaption(QStringLiteral("变更日期"));
    panel->SetStyle(sp_UserChoice);
    panel->SetValueType(vt_Date);
    panel->SetDateType(dt_YYYMMDD);
    panel->SetDateSign(QStringLiteral("-"));
    panel->SetCheckDuplicate(cd_CaseInsensitive);
    panel->SetUseDiscard(true);
    panel->SetDiscard(QStringLiteral("~"));
    TStrings words;
    words.SetLines({QStringLiteral("从"), QStringLiteral("自")});
    panel->SetBeginWords(&words);
    panel->ListBox->AddRow({QStringLiteral("甲"), QStringLiteral("\"引号\"")});
    const QString text = WriteComponent(&form);
    EXPECT_TRUE(text.contains(QStringLiteral("Style = sp_UserChoice"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("edBegin"))) << "children belong to the panel";

    LookupForm copy;
    ReadComponent(&copy, text);
    auto* read = copy.FindComponent<TSelectPanel>(QStringLiteral("spDate"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Caption(), QStringLiteral("变更日期"));
    EXPECT_EQ(read->Style(), sp_UserChoice);
    EXPECT_EQ(read->ValueType(), vt_Date);
    EXPECT_EQ(read->DateType(), dt_YYYMMDD);
    EXPECT_EQ(read->DateSign(), QStringLiteral("-"));
    EXPECT_EQ(read->CheckDuplicate(), cd_CaseInsensitive);
    EXPECT_EQ(read->Discard(), QStringLiteral("~"));
    EXPECT_EQ(read->BeginWords()->Lines(), words.Lines());
    EXPECT_EQ(read->Width(), panel->Width());
    EXPECT_EQ(read->Height(), panel->Height()) << "reading does not swap sizes again";
    EXPECT_EQ(read->ListText(), panel->ListText());
    EXPECT_EQ(read->Columns()->Count(), 2);
    EXPECT_TRUE(read->cbUserChoice->Visible());
}

TEST(SelectPanel, GlyphsTheBankLacksLeaveTheButtonsBare)
{
    TSelectPanel panel;
    panel.SetGlyphIndex(9);
    EXPECT_EQ(panel.GlyphIndex(), 9);
    EXPECT_EQ(panel.btnList->GlyphIndex(), 9);
    panel.SetGlyphIndex(30); // the bank has no picture 30
    EXPECT_EQ(panel.GlyphIndex(), 9) << "the property stays";
    for (TF2Button* b : {panel.btnBegin, panel.btnFinal, panel.btnList})
        EXPECT_EQ(b->GlyphIndex(), 0);
}

TEST(SelectPanel, ATraditionalInterfaceConvertsTheWordsHintsAndRowsThePanelHolds)
{
    steward_test::LanguageHome home("950");
    TForm form;
    auto* panel = new TSelectPanel(&form);
    panel->SetName(QStringLiteral("spNo"));
    panel->SetParent(&form);
    panel->SetCaption(QStringLiteral("选择变更单号"));
    panel->SetStyle(sp_UserChoice);
    panel->SetBounds(0, 0, 340, 90);
    panel->ListBox->Columns()->Add()->SetCaption(QStringLiteral("单号"));
    TListItem* row = panel->Items()->Add();
    row->SetCaption(QStringLiteral("变更"));
    row->SubItems()->SetLines({QStringLiteral("开始")});

    TCodeConverter converter(&form);
    ASSERT_EQ(converter.UIConvertMode(), 2);
    converter.ConvertForm(&form, false, true);
    EXPECT_EQ(panel->Caption(), QStringLiteral("選擇變更單號"));
    EXPECT_EQ(panel->HintWord(), QStringLiteral("區間選擇"));
    EXPECT_EQ(panel->cbUserChoice->Caption(), QStringLiteral("區間選擇")) << "the check box the user sees";
    EXPECT_EQ(panel->edBegin->Hint(), QStringLiteral("區間選擇-起始信息"));
    EXPECT_EQ(panel->btnClearList->Hint(), QStringLiteral("多選-刪除己選信息"));
    EXPECT_EQ(panel->ChildHints()->Strings(5), QStringLiteral("多選-己選擇的信息"));
    EXPECT_EQ(panel->ListBox->Column(0)->Caption(), QStringLiteral("單號"));
    EXPECT_EQ(panel->Items()->Items(0)->Caption(), QStringLiteral("變更"));
    EXPECT_EQ(panel->Items()->Items(0)->SubItems()->Lines(), QStringList({QStringLiteral("開始")}));

    // A simplified interface leaves every word as designed.
    steward_test::LanguageHome simplified("936");
    TForm other;
    auto* plain = new TSelectPanel(&other);
    TCodeConverter keeps(&other);
    keeps.ConvertForm(&other, false, true);
    EXPECT_EQ(plain->HintWord(), QStringLiteral("区间选择"));
    EXPECT_EQ(plain->edBegin->Hint(), QStringLiteral("区间选择-起始信息"));
}
