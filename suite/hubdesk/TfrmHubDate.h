#pragma once
// The date picker: a month calendar with year and month steps, today's
// button, and the chosen date shown as the user writes dates (years counted
// from 1911 when asked: 2024/05/31 reads 113/05/31).

#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"
#include "suite/hubdesk/HubCalendar.h"

class TfrmHubDate : public TForm {
    Q_OBJECT
public:
    explicit TfrmHubDate(TComponent* owner = nullptr);

    void SetRocYears(bool on);
    bool RocYears() const { return rocYears_; }
    QDate Date() const { return calCalendar->Date(); }
    void SetDate(const QDate& date) { calCalendar->SetDate(date); }
    // Moves by months (negative: back), keeping the day where the month has it.
    void StepMonths(int months);

    // How the picker writes a year and a date.
    static QString YearText(int year, bool rocYears);
    static QString DateText(const QDate& date, bool rocYears);

    TButton* btnPrevYear = nullptr;
    TButton* btnPrevMonth = nullptr;
    TButton* btnNextMonth = nullptr;
    TButton* btnNextYear = nullptr;
    TLabel* lblMonth = nullptr;
    THubCalendar* calCalendar = nullptr;
    TEdit* edDate = nullptr;
    TButton* btnToday = nullptr;
    TButton* btnOK = nullptr;
    TButton* btnCancel = nullptr;

private:
    void showDate(TObject* sender = nullptr);
    void accept(TObject* sender);

    bool rocYears_ = false;
};
