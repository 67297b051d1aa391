#pragma once
// TSchemeListView: the scheme pane's list, whose item captions the user may
// edit in place (a click on the selected item, or the edit key of the
// platform). OnEdited sees the new text first and may change it back; the
// caption then takes what the handler left.

#include "runtime/forms/ComCtrls.h"

// Sender, the item, var S: the new caption.
using TLVEditedEvent = TEvent<TObject*, TListItem*, QString&>;
Q_DECLARE_METATYPE(TLVEditedEvent)

class TSchemeListView : public TListView {
    Q_OBJECT
    Q_PROPERTY(TLVEditedEvent OnEdited READ OnEdited WRITE SetOnEdited)
public:
    explicit TSchemeListView(TComponent* owner = nullptr);
    TLVEditedEvent OnEdited() const { return onEdited_; }
    void SetOnEdited(const TLVEditedEvent& h) { onEdited_ = h; }
    // What finishing an edit does: OnEdited, then the caption takes S.
    void Edited(TListItem* item, QString text);

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    TLVEditedEvent onEdited_;
};
