#include "suite/hubdesk/TfrmHubDate.h"

void InitHubDeskResources();

TfrmHubDate::TfrmHubDate(TComponent* owner)
    : TForm(owner)
{
    InitHubDeskResources();
    ReadFormResource(this, QStringLiteral(":/hubdesk/TfrmHubDate.dfm"));
    btnPrevYear = FindComponent<TButton>(QStringLiteral("btnPrevYear"));
    btnPrevMonth = FindComponent<TButton>(QStringLiteral("btnPrevMonth"));
    btnNextMonth = FindComponent<TButton>(QStringLiteral("btnNextMonth"));
    btnNextYear = FindComponent<TButton>(QStringLiteral("btnNextYear"));
    lblMonth = FindComponent<TLabel>(QStringLiteral("lblMonth"));
    calCalendar = FindComponent<THubCalendar>(QStringLiteral("calCalendar"));
    edDate = FindComponent<TEdit>(QStringLiteral("edDate"));
    btnToday = FindComponent<TButton>(QStringLiteral("btnToday"));
    btnOK = FindComponent<TButton>(QStringLiteral("btnOK"));
    btnCancel = FindComponent<TButton>(QStringLiteral("btnCancel"));
    btnPrevYear->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { StepMonths(-12); }));
    btnPrevMonth->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { StepMonths(-1); }));
    btnNextMonth->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { StepMonths(1); }));
    btnNextYear->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { StepMonths(12); }));
    btnToday->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) { SetDate(QDate::currentDate()); }));
    calCalendar->SetOnChange(TNotifyEvent::Of(this, &TfrmHubDate::showDate));
    calCalendar->SetOnDblClick(TNotifyEvent::Of(this, &TfrmHubDate::accept));
    showDate();
}

QString TfrmHubDate::YearText(int year, bool rocYears)
{
    if (!rocYears)
        return QString::number(year);
    // The year 1911 itself is year 0; earlier years count backwards.
    return year > 1911 ? QString::number(year - 1911) : QStringLiteral("前%1").arg(1912 - year);
}

QString TfrmHubDate::DateText(const QDate& date, bool rocYears)
{
    return YearText(date.year(), rocYears) + date.toString(QStringLiteral("/MM/dd"));
}

void TfrmHubDate::SetRocYears(bool on)
{
    rocYears_ = on;
    showDate();
}

void TfrmHubDate::StepMonths(int months)
{
    SetDate(Date().addMonths(months));
}

void TfrmHubDate::showDate(TObject*)
{
    const QDate d = Date();
    lblMonth->SetCaption((rocYears_ ? QStringLiteral("民国 %1 年 %2 月") : QStringLiteral("%1 年 %2 月"))
                             .arg(YearText(d.year(), rocYears_))
                             .arg(d.month()));
    edDate->SetText(DateText(d, rocYears_));
}

void TfrmHubDate::accept(TObject*)
{
    SetModalResult(mrOk);
}
