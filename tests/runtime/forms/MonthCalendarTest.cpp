// The month calendar: a date within limits, kept in step with its widget.

#include "SampleForms.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/system/DateTime.h"
#include "runtime/system/SystemFacts.h"

#include <QAbstractItemModel>
#include <QCalendarWidget>
#include <QTableView>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace {

double day(int year, int month, int dayOfMonth)
{
    return datetime::EncodeDate(year, month, dayOfMonth);
}

} // namespace

// Dates are whole days; limits refuse dates outside them and pull the date
// in when they narrow; nonsense is refused without changing anything.
TEST(MonthCalendarTest, DateStaysWithinItsLimits)
{
    TForm form;
    auto* calendar = new TMonthCalendar(&form);
    EXPECT_EQ(calendar->Date(), datetime::Today());
    EXPECT_EQ(calendar->MinDate(), 0);
    QStringList changes;
    calendar->SetOnChange(TNotifyEvent::Of(
        [&changes, calendar](TObject*) { changes << calendar->DateValue().toString(Qt::ISODate); }));

    calendar->SetDate(day(2024, 5, 31) + 0.75);
    EXPECT_EQ(calendar->Date(), day(2024, 5, 31));
    EXPECT_EQ(calendar->DateValue(), QDate(2024, 5, 31));
    calendar->SetDate(day(2024, 5, 31)); // the same day: no change
    EXPECT_EQ(changes, QStringList {"2024-05-31"});

    calendar->SetMinDate(day(2024, 6, 10));
    EXPECT_EQ(calendar->DateValue(), QDate(2024, 6, 10));
    calendar->SetMaxDate(day(2024, 6, 30));
    EXPECT_THROW(calendar->SetDate(day(2024, 6, 9)), EPropertyError);
    EXPECT_THROW(calendar->SetDateValue(QDate(2024, 7, 1)), EPropertyError);
    EXPECT_THROW(calendar->SetDateValue(QDate()), EPropertyError);
    EXPECT_THROW(calendar->SetMinDate(day(2024, 7, 1)), EPropertyError) << "after MaxDate";
    EXPECT_THROW(calendar->SetDate(std::numeric_limits<double>::quiet_NaN()), EPropertyError);
    EXPECT_THROW(calendar->SetDate(1e12), EPropertyError);
    EXPECT_EQ(calendar->MinDate(), day(2024, 6, 10));
    EXPECT_EQ(changes, QStringList({"2024-05-31", "2024-06-10"}));

    EXPECT_THROW(calendar->SetMaxDate(day(2024, 6, 5) + 0.5), EPropertyError) << "before MinDate";
    EXPECT_EQ(calendar->MaxDate(), day(2024, 6, 30));
    calendar->SetMinDate(0);
    calendar->SetMaxDate(day(2024, 6, 5) + 0.5);
    EXPECT_EQ(calendar->MaxDate(), day(2024, 6, 5));
    EXPECT_EQ(calendar->DateValue(), QDate(2024, 6, 5));
    calendar->SetDateValue(QDate(1, 1, 1));
    EXPECT_EQ(calendar->DateValue(), QDate(1, 1, 1));
}

// Read from a description, shown, and picked by the user: the widget shows
// the date and limits; a pick raises OnChange, a click OnClick after it.
TEST(MonthCalendarTest, TheUsersPickReachesTheDate)
{
    std::unique_ptr<TForm> form(
        qobject_cast<TForm*>(CreateFromText(QStringLiteral("object frmDate: TForm\n"
                                                           "  object calDue: TMonthCalendar\n"
                                                           "    Left = 8\n    Top = 8\n"
                                                           "    Date = 45292.5\n"
                                                           "    MaxDate = 45400.0\n"
                                                           "    MinDate = 45200.0\n"
                                                           "    WeekNumbers = True\n"
                                                           "  end\n"
                                                           "end\n"))));
    ASSERT_TRUE(form);
    auto* calendar = form->FindComponent<TMonthCalendar>("calDue");
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->DateValue(), QDate(2024, 1, 1));
    QStringList events;
    calendar->SetOnChange(TNotifyEvent::Of([&events, calendar](TObject*) {
        events << "change " + calendar->DateValue().toString(Qt::ISODate);
    }));
    calendar->SetOnClick(TNotifyEvent::Of([&events](TObject*) { events << "click"; }));
    form->Show();
    auto* widget = qobject_cast<QCalendarWidget*>(calendar->Widget());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->selectedDate(), QDate(2024, 1, 1));
    EXPECT_EQ(widget->minimumDate(), datetime::ToQDate(45200));
    EXPECT_EQ(widget->maximumDate(), datetime::ToQDate(45400));
    EXPECT_EQ(widget->verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
    EXPECT_TRUE(events.isEmpty());

    widget->setSelectedDate(QDate(2024, 1, 5)); // keyboard
    EXPECT_EQ(calendar->DateValue(), QDate(2024, 1, 5));
    widget->setSelectedDate(QDate(2024, 1, 9));
    emit widget->clicked(QDate(2024, 1, 9)); // the mouse: selection, then the click
    EXPECT_EQ(events, QStringList({"change 2024-01-05", "change 2024-01-09", "click"}));

    calendar->SetDateValue(QDate(2024, 2, 1));
    EXPECT_EQ(widget->selectedDate(), QDate(2024, 2, 1));

    // Written and read again, the calendar keeps its date and limits.
    const QString text = WriteComponent(form.get());
    EXPECT_TRUE(text.contains("Date = 45323")) << text.toStdString();
    std::unique_ptr<TForm> again(qobject_cast<TForm*>(CreateFromText(text)));
    ASSERT_TRUE(again);
    auto* copy = again->FindComponent<TMonthCalendar>("calDue");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->DateValue(), QDate(2024, 2, 1));
    EXPECT_EQ(copy->MinDate(), 45200);
    EXPECT_EQ(copy->MaxDate(), 45400);
    EXPECT_TRUE(copy->WeekNumbers());
}

// Month and day names come from the locale in force, which a session sets
// from its configured code page.
TEST(MonthCalendarTest, NamesFollowTheLocaleOfTheCodePage)
{
    const QLocale before;
    const struct {
        int codePage;
        QString october;
        QString sunday;
    } cases[] = {{936, QStringLiteral("十月"), QStringLiteral("周日")},
        {950, QStringLiteral("10月"), QStringLiteral("週日")},
        {437, QStringLiteral("October"), QStringLiteral("Sun")}};
    for (const auto& c : cases) {
        QLocale::setDefault(LocaleOfCodePage(c.codePage));
        TForm form;
        auto* calendar = new TMonthCalendar(&form);
        calendar->SetParent(&form);
        calendar->SetDateValue(QDate(2011, 10, 26));
        auto* widget = qobject_cast<QCalendarWidget*>(calendar->Widget());
        ASSERT_NE(widget, nullptr);
        widget->setFirstDayOfWeek(Qt::Sunday);
        const auto* month = widget->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"));
        const auto* view = widget->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
        ASSERT_TRUE(month && view) << "Qt's calendar changed its inner widgets";
        EXPECT_EQ(month->text(), c.october) << c.codePage;
        const QAbstractItemModel* model = view->model();
        EXPECT_EQ(model->data(model->index(0, 0)).toString(), c.sunday) << c.codePage;
    }
    QLocale::setDefault(before);
}
