#pragma once
// Small builders for report tests: a report with bands and controls made in
// code, and rows in memory.

#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRDataSource.h"
#include "runtime/report/QuickRpt.h"

#include <QStringList>
#include <memory>

namespace reporttest {

// Zoom 100 and page values in tenths of a millimetre: with the default
// Letter page (10 mm margins) the body is 2594 tenths high.
inline std::unique_ptr<TQuickRep, FreeComponent> MakeReport()
{
    std::unique_ptr<TQuickRep, FreeComponent> report(new TQuickRep(nullptr));
    report->SetName(QStringLiteral("QuickRep1"));
    return report;
}

template<typename B = TQRBand>
B* AddBand(TQuickRep* report, const QString& name, int height, TQRBandType type = rbDetail)
{
    auto* band = new B(report);
    band->SetName(name);
    band->SetParent(report);
    band->SetHeight(height);
    if constexpr (std::is_same_v<B, TQRBand>)
        band->SetBandType(type);
    return band;
}

template<typename C = TQRLabel>
C* AddControl(TQRCustomBand* band, const QString& name, int left, int top, int width = 100, int height = 17)
{
    auto* control = new C(band->Owner());
    control->SetName(name);
    control->SetParent(band);
    control->SetBounds(left, top, width, height);
    return control;
}

inline TQRDBText* AddField(TQRCustomBand* band, const QString& field, int left, int top = 0)
{
    auto* text = AddControl<TQRDBText>(band, QStringLiteral("txt") + field, left, top);
    text->SetDataField(field);
    return text;
}

// All texts of a report page, in paint order.
QStringList PageTexts(const TQRPageModel& pages, int page);

} // namespace reporttest
