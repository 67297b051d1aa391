// Registers the report components and their event families once.

#include "runtime/report/QRBarcode.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "runtime/report/QuickRpt.h"

#include <mutex>

void RegisterReportClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        qRegisterMetaType<TQRCustomBand*>("TQRCustomBand*");
        RegisterEventFamily<TQRBandBeforePrintEvent>(QStringLiteral("TQRBandBeforePrintEvent"));
        RegisterEventFamily<TQRBandAfterPrintEvent>(QStringLiteral("TQRBandAfterPrintEvent"));
        RegisterEventFamily<TQRLabelOnPrintEvent>(QStringLiteral("TQRLabelOnPrintEvent"));
        RegisterEventFamily<TQRBarcodeInvalidCharEvent>(QStringLiteral("TQRBarcodeInvalidCharEvent"));
        RegisterClass<TQuickRep>();
        RegisterClass<TQRBand>();
        RegisterClass<TQRChildBand>();
        RegisterClass<TQRGroup>();
        RegisterClass<TQRLabel>();
        RegisterClass<TQRDBText>();
        RegisterClass<TQRDBIDText>();
        RegisterClass<ReportDBText>();
        RegisterClass<TQRExpr>();
        RegisterClass<TQRShape>();
        RegisterClass<TQRImage>();
        RegisterClass<ReportDBBarcode>();
        RegisterClass<TQRPreview>();
    });
}
