#pragma once
// The options window as the shell's report controller drives it (frame/
// DLLVRCtrller.h): the seam between the module's controller above and the
// options windows here, as IVRFormatForm (VRFormatForm.h) is the seam
// between an options window and its format forms. TfrmVRBaseOpt implements
// it, so every program's options form is one; the module registers the
// program's form class in frmVRBaseOptClass (frame/OptionsFormClass.h).
//
// Destruction: a form freed with Free (CloseForm does), Release, a close with
// caFree or by its owner raises OnDestroy from BeforeDestruction, while the
// whole form still exists, and the controller reads its results there. A
// form deleted outright reaches the controller from ~TForm, when only the
// TForm part is left; the controller then forgets the form without reading
// its results.

#include "runtime/system/Variant.h"

#include <QString>

class TForm;

class IVROptionsForm {
public:
    // Inline, so that the frame needs no library of the options forms to
    // know the interface.
    virtual ~IVROptionsForm() = default;

    // The window itself (the object that implements this interface).
    virtual TForm* AsForm() = 0;

    // The module's full file name; the form derives its program code from it.
    virtual void SetModulePath(const QString& path) = 0;
    // The work-centre manager the shell placed in the controller.
    virtual void SetHostObject(const Variant& host) = 0;
    // Initialisation from the shell's argument array; false when the form cannot run.
    virtual bool ApplyParams(const Variant& params) = 0;
    // New arguments from the shell while the form lives; may raise.
    virtual void SetParams(const Variant& params) = 0;

    // Shell commands: print or preview from the entered criteria (5), the given
    // keys (6), and pictures of the given keys' pages (11). True on success.
    virtual bool PrintOrPreview(bool preview) = 0;
    virtual bool PrintKeys(const Variant& keys, bool preview) = 0;
    virtual bool ExportPictures(
        const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution)
        = 0;
    // Shell commands 12 and 13: open the user's condition scheme of that
    // name into the (hidden) window, and send the report of the entered
    // criteria to its recipients by their send way. True on success; a form
    // without schemes or sending answers false.
    virtual bool OpenScheme(const QString&) { return false; }
    virtual bool SendReport() { return false; }
    // Closes the layout designer when one is open.
    virtual void CloseDesigner() = 0;

    virtual QString VersionStamp() const = 0;
    virtual int ResultCode() const = 0;
    virtual Variant ResultValue() const = 0;
    virtual QString UserCode() const = 0;
    virtual QString CompanyCode() const = 0;
    virtual QString ProgramCode() const = 0;
    virtual QString ProgramName() const = 0;
};
