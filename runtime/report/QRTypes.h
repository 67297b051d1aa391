#pragma once
// The enumerations and event families of the report components, under the
// names a form description uses (rbDetail, qrsRectangle, Letter ...). They live
// in the Q_NAMESPACE Qrpt so that the property system knows their keys.

#include "runtime/forms/Method.h"

#include <QObject>
#include <QString>

class TQRCustomBand;

namespace Qrpt {
Q_NAMESPACE

// Band kinds in the order of their ordinal values.
enum TQRBandType {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbOverlay,
    rbChild
};
Q_ENUM_NS(TQRBandType)

// The 28 paper sizes, "Default" first, "Letter" second, "A4" tenth, "Custom" last.
enum TQRPaperSize {
    Default,
    Letter,
    LetterSmall,
    Tabloid,
    Ledger,
    Legal,
    Statement,
    Executive,
    A3,
    A4,
    A4Small,
    A5,
    B4,
    B5,
    Folio,
    Quarto,
    qr10X14,
    qr11X17,
    Note,
    Env9,
    Env10,
    Env11,
    Env12,
    Env14,
    CSheet,
    DSheet,
    ESheet,
    Custom
};
Q_ENUM_NS(TQRPaperSize)

enum TQRUnit { MM, Inches, Pixels, Characters, Native };
Q_ENUM_NS(TQRUnit)

enum TPrinterOrientation { poPortrait, poLandscape };
Q_ENUM_NS(TPrinterOrientation)

// psHalfPage puts two report pages on one sheet, one above the other.
enum TQRPageStyle { psNormal, psHalfPage };
Q_ENUM_NS(TQRPageStyle)

enum TQRShapeType { qrsRectangle, qrsCircle, qrsHorLine, qrsVertLine, qrsTopAndBottom, qrsRightAndLeft };
Q_ENUM_NS(TQRShapeType)

enum TQROption { FirstPageHeader = 1, LastPageFooter = 2, Compression = 4 };
Q_DECLARE_FLAGS(TQROptions, TQROption)
Q_FLAG_NS(TQROptions)

// Barcode kinds of the barcode control.
enum TQRBarcodeType { bcCode39, bcCode128, bcEAN13, bcQRCode };
Q_ENUM_NS(TQRBarcodeType)

} // namespace Qrpt

Q_DECLARE_OPERATORS_FOR_FLAGS(Qrpt::TQROptions)
using namespace Qrpt;

// BeforePrint of a band: Sender, var PrintBand (true on entry; false keeps the
// band off the page for this record).
using TQRBandBeforePrintEvent = TEvent<TQRCustomBand*, bool&>;
// AfterPrint of a band: Sender, BandPrinted.
using TQRBandAfterPrintEvent = TEvent<TQRCustomBand*, bool>;
// BeforePrint of the report: Sender, var PrintReport (false cancels the run).
using TQRReportBeforePrintEvent = TEvent<TObject*, bool&>;
// OnPrint of a printable text: Sender, var Value (the text about to print).
using TQRLabelOnPrintEvent = TEvent<TObject*, QString&>;
// A character the barcode kind cannot encode: Sender, barcode kind, var
// Replacement (starts empty: the character is dropped unless a handler says).
using TQRBarcodeInvalidCharEvent = TEvent<TObject*, int, QString&>;

Q_DECLARE_METATYPE(TQRBandBeforePrintEvent)
Q_DECLARE_METATYPE(TQRBandAfterPrintEvent)
Q_DECLARE_METATYPE(TQRLabelOnPrintEvent)
Q_DECLARE_METATYPE(TQRBarcodeInvalidCharEvent)

// Registers the report components with the class registry and their event
// families; safe to call more than once. Call it before reading a form
// description that holds report components.
void RegisterReportClasses();
