#include "suite/hubdesk/HubCalendar.h"

#include <QCalendarWidget>
#include <QLocale>

THubCalendar::THubCalendar(TComponent* owner)
    : TWinControl(owner)
{
}

void THubCalendar::SetDate(const QDate& date)
{
    if (!date.isValid() || date == date_)
        return;
    date_ = date;
    Changed();
    onChange_(this);
}

QWidget* THubCalendar::CreateWidget(QWidget* parent)
{
    auto* calendar = new QCalendarWidget(parent);
    calendar->setNavigationBarVisible(false);
    calendar->setGridVisible(true);
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setLocale(QLocale(QLocale::Chinese, QLocale::China));
    calendar->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    connect(calendar, &QCalendarWidget::clicked, this, [this](const QDate& d) { SetDate(d); });
    connect(calendar, &QCalendarWidget::selectionChanged, this, [this, calendar] {
        if (!Updating())
            SetDate(calendar->selectedDate());
    });
    connect(calendar, &QCalendarWidget::activated, this, [this](const QDate& d) {
        SetDate(d);
        OnDblClick()(this);
    });
    return calendar;
}

void THubCalendar::UpdateWidget()
{
    TWinControl::UpdateWidget();
    auto* calendar = static_cast<QCalendarWidget*>(Widget());
    calendar->setSelectedDate(date_);
    calendar->setCurrentPage(date_.year(), date_.month());
}
