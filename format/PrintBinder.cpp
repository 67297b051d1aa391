#include "format/PrintBinder.h"

#include "format/PrintTexts.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QuickRpt.h"

TPrintBinder::TPrintBinder(QObject* parent)
    : QObject(parent)
{
}

void TPrintBinder::BindOnPrint(ReportDBText* control)
{
    if (!control)
        return;
    using Event = TQRLabelOnPrintEvent;
    switch (static_cast<TPrintTextType>(control->TextType())) {
    case TPrintTextType::Plain:
        control->SetOnPrint(Event());
        break;
    case TPrintTextType::Date:
        control->SetOnPrint(Event::Of(this, &TPrintBinder::OnDatePrint, QStringLiteral("OnDatePrint")));
        break;
    case TPrintTextType::Percent:
        control->SetOnPrint(Event::Of(this, &TPrintBinder::OnPercentPrint, QStringLiteral("OnPercentPrint")));
        break;
    case TPrintTextType::ChineseAmount:
        control->SetOnPrint(Event::Of(this, &TPrintBinder::OnChinesePrint, QStringLiteral("OnChinesePrint")));
        break;
    case TPrintTextType::Asterisk:
        control->SetOnPrint(
            Event::Of(this, &TPrintBinder::OnAsteriskPrint, QStringLiteral("OnAsteriskPrint")));
        break;
    case TPrintTextType::Dictionary:
        control->SetOnPrint(
            Event::Of(this, &TPrintBinder::OnDictionaryPrint, QStringLiteral("OnDictionaryPrint")));
        break;
    default:
        break;
    }
}

void TPrintBinder::BindOnPrint(TQuickRep* report)
{
    if (!report)
        return;
    for (TQRCustomBand* band : report->Bands())
        for (int i = 0; i < band->ControlCount(); ++i)
            BindOnPrint(qobject_cast<ReportDBText*>(band->Controls(i)));
}

void TPrintBinder::OnDatePrint(TObject*, QString& value)
{
    value = DatePrintText(value, dateType_, dateSeparator_);
}

void TPrintBinder::OnPercentPrint(TObject*, QString& value)
{
    value = PercentPrintText(value);
}

void TPrintBinder::OnChinesePrint(TObject*, QString& value)
{
    // No spelling (an amount of 10^16 or more) prints the amount itself.
    const QString words = capital_.ChineseAmount(value);
    if (!words.isEmpty())
        value = words;
}

void TPrintBinder::OnAsteriskPrint(TObject*, QString&)
{
}

void TPrintBinder::OnDictionaryPrint(TObject* sender, QString& value)
{
    if (const auto* control = qobject_cast<ReportDBText*>(sender))
        value = DictionaryPrintText(value, control->Dictionary());
}
