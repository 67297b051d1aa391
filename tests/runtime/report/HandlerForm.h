#pragma once
// A form with report handlers for binding by name.

#include "runtime/forms/Forms.h"
#include "runtime/report/QRCtrls.h"

class TfrmHandlers : public TForm {
    Q_OBJECT
public:
    using TForm::TForm;
    QStringList Calls;

public slots:
    void QuickRep1BeforePrint(TObject* Sender, bool& PrintReport);
    void QRDetailBandBeforePrint(TQRCustomBand* Sender, bool& PrintBand);
    void QRDetailBandAfterPrint(TQRCustomBand* Sender, bool BandPrinted);
    void txtQtyPrint(TObject* Sender, QString& Value);
};
