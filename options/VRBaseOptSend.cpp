// The options window's send run without a preview: the shell's send
// command, which a scheduled run of a saved scheme uses.

#include "options/VRBaseOptF.h"

#include "runtime/forms/Dialogs.h"

bool TfrmVRBaseOpt::SendReport()
{
    // Only a send way of fax or e-mail sends; printing is asked for with
    // the print command, and a send that would print instead is a failure.
    if (SendMode() != 1 && SendMode() != 2) {
        Dialogs().MessageDlg(
            Text("sSendNeedsWay", "传送方式为打印, 没有可传送的对象 (选择传送方式: Fax/Email)"), mtError,
            mbOK, Caption());
        return false;
    }
    QString sql;
    if (!BuildCriteriaQuery(sql))
        return false;
    std::unique_ptr<IVRFormatForm> format;
    if (RunFormat(sql, format) != 1)
        return false;
    try {
        if (format->SendToRecipients())
            return true;
        // The format form has told the user; the shell repeats the reason.
        resultValue_ = Variant(format->LastError());
    } catch (const Exception& e) {
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
    }
    return false;
}
