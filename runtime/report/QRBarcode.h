#pragma once
// Barcodes: the encoders (Code 39, Code 128, EAN-13, QR) and the report
// control that prints one from a data field.
//
// EncodeBarcode turns a text into a symbol: a row of modules for the linear
// kinds (1 = bar), a square of modules for QR (1 = dark). A character the
// kind cannot encode goes to the invalid-character handler, whose answer
// replaces it (an empty answer drops it; the answer itself must be
// encodable, else it is dropped too). Code 39 takes 0-9, A-Z, space and
// - . $ / + %; Code 128 printable ASCII (digit-only texts of even length
// use the denser code set C); EAN-13 twelve digits (the check digit is
// added) or thirteen whose last is the right check digit - any other length
// or a wrong check digit gives no symbol and says why in Error; QR any text
// (UTF-8, error correction M, through libqrencode).

#include "runtime/report/QRCtrls.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

struct TQRBarcodeSymbol {
    int Columns = 0;
    int Rows = 0; // 1 for linear symbols
    std::vector<std::uint8_t> Modules; // row by row
    QString Text; // what was encoded, after replacements (for the human-readable line)
    QString Error; // why there is no symbol
    bool Valid() const { return Columns > 0 && Rows > 0; }
    bool Dark(int column, int row = 0) const
    {
        return Modules[static_cast<size_t>(row * Columns + column)] != 0;
    }
};

using TQRInvalidCharHandler = std::function<QString(QChar)>;

TQRBarcodeSymbol EncodeBarcode(
    TQRBarcodeType type, const QString& text, const TQRInvalidCharHandler& invalid = {});

// The barcode control of the report layouts. The symbol fills the control's
// box (quiet zones are left to the layout); ShowText prints the encoded text
// under a linear symbol. OnInvalidChar answers the replacement of characters
// the kind cannot encode.
class ReportDBBarcode : public TQRPrintable, public TQRDataBound {
    Q_OBJECT
    Q_PROPERTY(QString DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(Qrpt::TQRBarcodeType BarcodeType READ BarcodeType WRITE SetBarcodeType)
    Q_PROPERTY(bool ShowText READ ShowText WRITE SetShowText)
    Q_PROPERTY(TQRBarcodeInvalidCharEvent OnInvalidChar READ OnInvalidChar WRITE SetOnInvalidChar)
public:
    explicit ReportDBBarcode(TComponent* owner = nullptr);
    TQRBarcodeType BarcodeType() const { return type_; }
    void SetBarcodeType(TQRBarcodeType type) { type_ = type; }
    bool ShowText() const { return showText_; }
    void SetShowText(bool value) { showText_ = value; }
    TQRBarcodeInvalidCharEvent OnInvalidChar() const { return onInvalidChar_; }
    void SetOnInvalidChar(const TQRBarcodeInvalidCharEvent& handler) { onInvalidChar_ = handler; }

    // The symbol of a text, through OnInvalidChar.
    TQRBarcodeSymbol Encode(const QString& text) const;

    // Bars and the data field.
    QString DesignText() const override { return QStringLiteral("|||| [") + DataField() + u']'; }
    // The layouts' barcodes may be deleted in the designer.
    bool DesignerDeletable() const override { return true; }

    void BeginRun(TQRRunContext& context) override;
    void Print(TQRRunContext& context, QPoint origin) override;

private:
    TQRBarcodeType type_ = bcCode39;
    bool showText_ = false;
    TQRBarcodeInvalidCharEvent onInvalidChar_;
    int barStyle_ = 0;
    int textStyle_ = 0;
};
