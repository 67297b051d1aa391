#pragma once
// Binds the print conversions of the report data texts: each ReportDBText
// gets the OnPrint handler of its text type (PrintTexts.h):
//   0 none (any handler is removed), 1 OnDatePrint, 2 OnPercentPrint,
//   3 OnChinesePrint, 4 OnAsteriskPrint, 5 OnDictionaryPrint.
// A text type outside 0-5 leaves the control's handler as it is.
//
// The handlers are members of the binder (named, so a written layout keeps
// them) and are skipped once the binder is destroyed. The date handler uses
// the binder's date type and separator at print time, so they may be set
// after binding. OnAsteriskPrint prints the text unchanged here; a slip
// layout overrides it to hide amounts on all but a slip's last page.
// None of the handlers throws; what a conversion cannot read prints as it is.

#include "format/ChineseCapital.h"

#include "runtime/forms/Component.h"

#include <QObject>
#include <QString>

class ReportDBText;
class TQuickRep;

class TPrintBinder : public QObject {
    Q_OBJECT
public:
    explicit TPrintBinder(QObject* parent = nullptr);

    // The date order of LibDates (1 y/m/d ... 5) and the separator of dates.
    int DateType() const { return dateType_; }
    void SetDateType(int type) { dateType_ = type; }
    QString DateSeparator() const { return dateSeparator_; }
    void SetDateSeparator(const QString& separator) { dateSeparator_ = separator; }
    // The words of the Chinese amount (the layout's memo lines).
    void SetChineseWords(const QStringList& memoLines) { capital_ = TChineseCapital(memoLines); }

    void BindOnPrint(ReportDBText* control);
    // Every ReportDBText on the report's bands.
    void BindOnPrint(TQuickRep* report);

    void OnDatePrint(TObject* sender, QString& value);
    void OnPercentPrint(TObject* sender, QString& value);
    void OnChinesePrint(TObject* sender, QString& value);
    virtual void OnAsteriskPrint(TObject* sender, QString& value);
    // The dictionary is the sending ReportDBText's; other senders print unchanged.
    void OnDictionaryPrint(TObject* sender, QString& value);

private:
    int dateType_ = 1;
    QString dateSeparator_ = QStringLiteral("/");
    TChineseCapital capital_;
};
