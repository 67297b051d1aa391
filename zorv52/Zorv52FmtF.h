#pragma once
// TfrmZorv52Fmt: the built-in layout of the work-order change slip
// (工单变更单) and its print logic. One slip per slip type, number and
// version; the header shows each field before the change in its left half
// and after the change in its right half, the lines likewise, each line
// with the remark of its kind (replaced, added, removed item).
//
// Per slip: each page it prints on is noted with the slip's print count
// ($$MOCTO, TO042, the key condition), so that a print counts the slip
// once when any of its pages goes out (nothing for a preview alone), and
// the slip's recipient is registered for a send run. Packing fields print only with the system
// option "sys024" = "3". A line whose before-item (TP004) is the
// placeholder of twenty asterisks (blanks around it ignored, as a CHAR
// column pads it) added an item: its before-side prints empty. A row without a line (TP003 empty: a slip
// without lines) prints no line band. The report's data are the base's (OpenData).

#include "format/VRFormatF.h"

class TfrmZorv52Fmt : public TfrmVRFormat {
    Q_OBJECT
public:
    explicit TfrmZorv52Fmt(TComponent* owner = nullptr);

    // The before-item of a line that added an item.
    static QString Placeholder() { return QStringLiteral("********************"); }
    // The current line added an item: its before-item is the placeholder,
    // blanks around it ignored.
    bool AddsItem() const;
    // The condition selecting a slip by its key text (type-number-version)
    // in the server's dialect: SqlType 0 "+" concatenation, 1 "||"; other
    // dialects give none. The key is a quoted literal.
    static QString KeyCondition(int sqlType, const QString& slipKey);

public slots:
    void QRGroupBeforePrint(TQRCustomBand* Sender, bool& PrintBand) override;
    void QRDetailBandBeforePrint(TQRCustomBand* Sender, bool& PrintBand) override;
    void txtTO004Print(TObject* Sender, QString& Value);
    void txtTP016Print(TObject* Sender, QString& Value);
    void lblTO006Print(TObject* Sender, QString& Value);
    void lblTO012Print(TObject* Sender, QString& Value);
    void lblTO013Print(TObject* Sender, QString& Value);
    void lblTO007Print(TObject* Sender, QString& Value);
    void lblTO106Print(TObject* Sender, QString& Value);
    void lblTO112Print(TObject* Sender, QString& Value);
    void lblTO113Print(TObject* Sender, QString& Value);
    void lblTO107Print(TObject* Sender, QString& Value);
    void txtTO070Print(TObject* Sender, QString& Value);
    void txtTO170Print(TObject* Sender, QString& Value);
    void txtTP004Print(TObject* Sender, QString& Value);
    void txtTP005Print(TObject* Sender, QString& Value);
    void txtTP006Print(TObject* Sender, QString& Value);
    void txtTP007Print(TObject* Sender, QString& Value);
    void txtTP008Print(TObject* Sender, QString& Value);
    void txtTP010Print(TObject* Sender, QString& Value);
    void txtTP012Print(TObject* Sender, QString& Value);
    void txtTP013Print(TObject* Sender, QString& Value);
    void txtTP014Print(TObject* Sender, QString& Value);
    void txtTP018Print(TObject* Sender, QString& Value);
    void txtCMSMC002CPrint(TObject* Sender, QString& Value);
    void lblMemoPrint(TObject* Sender, QString& Value);
    void lblVoucherNamePrint(TObject* Sender, QString& Value);

private:
    // The weekday of the date field the label is named after (lblTO006: TO006).
    void weekday(TObject* sender, QString& value);
    // A before-side value of a line: empty on a line that added an item.
    void beforeSide(QString& value);
    QString message(const QString& code) const;
};

// The program's format class, made by the module (the options window's
// TfrmZorv52 uses it unless a test registers another).
std::unique_ptr<IVRFormatForm> CreateZorv52Format(TComponent* owner);
