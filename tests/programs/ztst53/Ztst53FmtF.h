#pragma once
// TfrmZtst53Fmt: the built-in layout of ZTST53, one slip per change slip
// header (type, number, version), one line per slip with its change date in
// the user's date style and its factory; its data are the base's (OpenData).

#include "format/VRFormatF.h"
#include "options/VRFormatForm.h"

class TfrmZtst53Fmt : public TfrmVRFormat {
    Q_OBJECT
public:
    explicit TfrmZtst53Fmt(TComponent* owner = nullptr);

public slots:
    void txtTO004Print(TObject* Sender, QString& Value);
};

// The format class of ZTST53: the key of its stored formats and its form.
TFormatClass Ztst53FormatClass();
