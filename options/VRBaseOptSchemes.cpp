// The options window's side of condition schemes: saving one under a name
// (and date rules) asked in the scheme dialog, the delivery a scheme keeps
// besides the criteria, and the scheme pane's size.

#include "options/VRBaseOptF.h"

#include "controls/ExtPage.h"
#include "criteria/GeneCondition.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/ExtCtrls.h"
#include "runtime/forms/StdCtrls.h"

#include <algorithm>
#include <memory>

namespace {

// Space left under the scheme list, above the window's button bar.
constexpr int SchemeListBottomGap = 30;

} // namespace

int TfrmVRBaseOpt::DateFieldsOutsideSchemes() const
{
    // The date-field list ends with the fields of the base form (the print
    // date); those the scheme keys do not cover get no date rule.
    const QStringList fields = DateFieldList().split(u',');
    int outside = 0;
    for (auto it = fields.crbegin(); it != fields.crend(); ++it) {
        const QString name = it->trimmed();
        if (!name.isEmpty() && optionControls_.contains(name + u'.', Qt::CaseInsensitive))
            break;
        ++outside;
    }
    return outside;
}

bool TfrmVRBaseOpt::SaveSchemeAs()
{
    if (optionControls_.trimmed().isEmpty())
        return false;
    std::unique_ptr<TfrmGeneCondition, FreeComponent> dialog(
        new TfrmGeneCondition(this, DateFieldList(), DateFieldsOutsideSchemes()));
    dialog->AfterConstruction();
    if (Dialogs().ShowModal(dialog.get()) != mrOk)
        return false;
    // The dialog asked already whether a scheme of that name may be replaced.
    if (!SaveScheme(optionControls_, dialog->SchemeName(), Variant(dialog->ReplaceExisting())))
        return false;
    RefreshSchemeList();
    return true;
}

void TfrmVRBaseOpt::btnInsertClick(TObject* Sender)
{
    // The base moves the focus out of the last field (its checks run) and
    // stops while a run is in progress.
    TfrmBaseGene::btnInsertClick(Sender);
    SaveSchemeAs();
}

QString TfrmVRBaseOpt::DeliveryControlKeys()
{
    return QStringLiteral("rgSendType.itemindex;cboSendWay.itemindex;edtFaxEmailData.text;cboSendStatus."
                          "itemindex;cboFormStyleName.text;");
}

void TfrmVRBaseOpt::AfterSchemeOpened()
{
    TfrmBaseGene::AfterSchemeOpened();
    // The restored indexes do not run the boxes' own handlers: the delivery
    // is brought in step here, keeping the restored send status.
    if (!tsFEP->TabVisible() && rgSendType->ItemIndex() != 0) {
        rgSendType->SetItemIndex(0);
        cboSendStatus->SetItemIndex(2);
    }
    const bool sending = rgSendType->ItemIndex() == 1;
    cboSendStatus->SetEnabled(sending);
    cboSendWay->SetEnabled(sending);
    applySendWay();
}

void TfrmVRBaseOpt::SizeSchemeList()
{
    // The list runs from under the tool bar to a little above the bottom of
    // the page control beside it, and follows the window's size from there.
    auto* toolBar = FindComponent<TToolBar>(QStringLiteral("ToolBar1"));
    if (!toolBar)
        return;
    lstCondition->SetAlign(alNone);
    lstCondition->SetBounds(0, toolBar->Top() + toolBar->Height(), pnlCondition->ClientWidth(),
        std::max(0, pgOption->Height() - toolBar->Height() - SchemeListBottomGap));
    lstCondition->SetAnchors(TAnchors(akLeft) | akTop | akRight | akBottom);
}
