#pragma once
// TfrmZorv52: the options window of the work-order change slips (ZORV52).
// It declares the program's criteria (slip type, slip number, version,
// change and approval dates, approval and print status, prices), checks
// the slip type against the document types of work-order changes, turns
// criteria or the shell's keys into the statement of TChangeSlipQuery, and
// takes every price and amount field off the slip when the user may not or
// does not want to print prices.
//
// Every value the user types or the shell sends reaches the statement as a
// quoted literal (zorv52/ChangeSlipCriteria.h); the statement texts are the
// ones stored layouts were written against.

#include "options/VROptF.h"

class TfrmZorv52 : public TfrmVROpt {
    Q_OBJECT
public:
    explicit TfrmZorv52(TComponent* owner = nullptr);

    void SetupEnvironment() override;
    void ApplyRights() override;
    bool PutTitleInfo(Variant& texts) override;
    bool PutPrintDate(Variant& values) override;
    void OpenLookup(Word key, TWinControl* control) override;
    void BuildQuery(int mode, const Variant& values, Variant& sql) override;
    void AdjustQuery(Variant& sql) override;
    bool PrintKeys(const Variant& keys, bool preview) override;
    // Every price and amount field of the slip prints empty unless the user
    // holds the price right and "打印单价金额" is ticked.
    void BeforeOutput(IVRFormatForm* format) override;
    // A scheme that ticks "打印单价金额" does so only for a user with the price right.
    void AfterRestoreControl(TComponent* control, const QString& line) override;

    // Checks the typed slip type (CMSMQ "22": document kinds 51 and 52) and
    // loads its settings; false (E;100007, the field cleared) for any other.
    bool ValidateSlipType();

    TLabel* lblTO001Caption = nullptr;
    TEdit* edTO001 = nullptr;
    TF2Button* btnTA001 = nullptr;
    TLabel* lblTO001 = nullptr;
    TSelectPanel* spTO002 = nullptr;
    TSelectPanel* spTO003 = nullptr;
    TSelectPanel* spTO004 = nullptr;
    TSelectPanel* spTO043 = nullptr;
    TTabSheet* tsOption3 = nullptr;
    TComboBox* cboTO041 = nullptr;
    TComboBox* cboTO042 = nullptr;
    TCheckBox* ChkPricePower = nullptr;

public slots:
    void edTO001Exit(TObject* Sender);

private:
    // A date panel's value with its dates in storage form.
    Variant storageDates(TSelectPanel* panel) const;
    Variant panelValue(TSelectPanel* panel) const;
};

// The change slips' format class: the key of their stored formats, and the
// format form (TfrmZorv52Fmt unless RegisterZorv52Format gave another).
TFormatClass Zorv52FormatClass();
void RegisterZorv52Format(std::function<std::unique_ptr<IVRFormatForm>(TComponent*)> create);
