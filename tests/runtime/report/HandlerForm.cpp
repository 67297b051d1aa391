#include "HandlerForm.h"

void TfrmHandlers::QuickRep1BeforePrint(TObject*, bool& PrintReport)
{
    Calls << QStringLiteral("report");
    PrintReport = true;
}

void TfrmHandlers::QRDetailBandBeforePrint(TQRCustomBand* Sender, bool& PrintBand)
{
    auto* report = Sender->ParentReport();
    const QString qty
        = report->MainSource()->FieldText(report->MainSource()->FieldIndex(QStringLiteral("QTY")));
    Calls << QStringLiteral("band ") + qty;
    PrintBand = qty.toInt() % 2 == 1;
}

void TfrmHandlers::QRDetailBandAfterPrint(TQRCustomBand* Sender, bool BandPrinted)
{
    if (BandPrinted) {
        auto* report = Sender->ParentReport();
        Calls << QStringLiteral("after ") + report->MainSource()->FieldText(0);
    }
}

void TfrmHandlers::txtQtyPrint(TObject*, QString& Value)
{
    Value = u'<' + Value + u'>';
}
