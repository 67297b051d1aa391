#pragma once
// A small format-like form for the designer tests: a report with a title,
// a column header and a detail band holding labels, data texts (one of the
// layouts' ReportDBText kind, one hidden), an expression and a shape, plus
// a query builder. Its constructor builds that layout, so a fresh instance
// is the built-in layout the stored text is the difference from.

#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Forms.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QuickRpt.h"

class TfrmDesignSample : public TForm {
    Q_OBJECT
public:
    explicit TfrmDesignSample(TComponent* owner = nullptr);
    TQuickRep* QuickRep1;
    TQRBand* TitleBand1;
    TQRBand* ColumnHeaderBand1;
    TQRBand* DetailBand1;
    TQRLabel* qrlTitle;
    TQRLabel* qrlNo;
    ReportDBText* qrdNo;
    ReportDBText* qrdName;
    TQRDBText* qrdHidden;
    TQRExpr* qreTotal;
    TQRShape* qrsLine;
    ReportQueryBuilder* SQLReBuilder;

    // Registers this class and the report and designer classes.
    static void Register();
};
