#pragma once
// TfrmVROpt: the options window of the slip-printing programs. Beside the
// shared options it offers a footer (页脚) and a sign-off block (签核) chosen
// by code from table CMSMS, the switches that print footer, sign-off and
// totals on every page, and the settings a slip type brings from the
// document-type table CMSMQ and the program's row of CMSMT. Before a prepared
// slip layout prints, it hands all of this to the layout (IVRSlipFormat).
//
// Contract for descendants: set SlipTypeKey once the slip type is checked;
// call LoadSlipTypeSettings when the slip type changes. Key prints and
// exports load the slip type's settings first and run nothing for a slip
// type the table does not hold.

#include "options/SlipTypeSettings.h"
#include "options/VRBaseOptF.h"

class TF2Button;

class TfrmVROpt : public TfrmVRBaseOpt {
    Q_OBJECT
public:
    explicit TfrmVROpt(TComponent* owner = nullptr);

    void SetupEnvironment() override;
    bool PrintKeys(const Variant& keys, bool preview) override;
    bool ExportPictures(
        const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution) override;
    void BeforeOutput(IVRFormatForm* format) override;
    void OpenLookup(Word key, TWinControl* control) override;

    // The slip type's settings onto the window; row: the slip type's CMSMQ
    // row (Unassigned when the table lacks it), for an empty slip type the
    // program's row or an empty text.
    void LoadSlipTypeSettings(const QString& slipType, bool showMessages, Variant& row);
    // A footer or sign-off block by code; false only when the code is
    // unknown and messages were wanted (W;000004 shown).
    bool LoadFooter(const QString& code, bool showMessages);
    bool LoadSignOff(const QString& code, bool showMessages);

    QString SlipTypeKey; // second parameter of the CMSMQ "38" query
    QString CurrentSlipType;
    QString SlipTypeExtra;
    // The name of CurrentSlipType (element 0 of its row); empty without one.
    QString SlipTypeName;
    bool KeyMode = false;
    bool ExportMode = false;

    TGroupBox* grpNote = nullptr;
    TEdit* edtNoteID = nullptr;
    TF2Button* btnNote = nullptr;
    TEdit* edtNote1 = nullptr;
    TEdit* edtNote2 = nullptr;
    TEdit* edtNote3 = nullptr;
    TGroupBox* grpSignIn = nullptr;
    TEdit* edtSignInID = nullptr;
    TF2Button* btnSignIn = nullptr;
    TEdit* edtSignIn1 = nullptr;
    TEdit* edtSignIn2 = nullptr;
    TEdit* edtSignIn3 = nullptr;
    TCheckBox* chkNoteEPPrint = nullptr;
    TCheckBox* chkSignInEPPrint = nullptr;
    TCheckBox* chkTotalPrint = nullptr;

public slots:
    void SignCodeEnter(TObject* Sender);
    void SignCodeExit(TObject* Sender);

private:
    // The controls of one block.
    struct Block {
        TSignBlockKind Kind;
        TGroupBox* Group;
        TEdit* Code;
        TF2Button* Button;
        TEdit* Lines[3];
        TCheckBox* EveryPage;
    };
    Block block(TSignBlockKind kind) const;
    bool loadBlock(TSignBlockKind kind, const QString& code, bool showMessages);
    void enableBlock(TSignBlockKind kind, bool enabled);
    void applyPlan(const TSlipTypePlan& plan, bool showMessages);

    QString codeOnEntry_;
};
