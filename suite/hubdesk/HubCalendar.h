#pragma once
// THubCalendar: a month calendar control for the date picker. It shows one
// month as a grid of days (the form draws its own month heading, so that
// years counted from 1911 can be shown); Date is the chosen day.

#include "runtime/forms/Controls.h"

#include <QDate>

class THubCalendar : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString DateText READ DateText WRITE SetDateText)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)
public:
    explicit THubCalendar(TComponent* owner = nullptr);

    QDate Date() const { return date_; }
    // Moves to date (an invalid date is ignored); raises OnChange when it changed.
    void SetDate(const QDate& date);
    // The date as YYYYMMDD.
    QString DateText() const { return date_.toString(QStringLiteral("yyyyMMdd")); }
    void SetDateText(const QString& text) { SetDate(QDate::fromString(text, QStringLiteral("yyyyMMdd"))); }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(const TNotifyEvent& handler) { onChange_ = handler; }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;
    TColor DefaultColor() const override { return clWindow; }

private:
    QDate date_ = QDate::currentDate();
    TNotifyEvent onChange_;
};
