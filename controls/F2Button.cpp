#include "controls/F2Button.h"

#include "runtime/forms/Dialogs.h"

TF2Button::TF2Button(TComponent* owner)
    : TGSpeedButton(owner)
{
    SetFlat(true);
    SetGlyphIndex(8);
}

TF2Button::~TF2Button()
{
    unhook();
}

void TF2Button::SetF2Control(TWinControl* edit)
{
    if (edit == edit_)
        return;
    if (edit) {
        // Siblings on the same parent (or, before the button has one, the
        // components of the same owner).
        QList<TComponent*> siblings;
        if (Parent())
            for (TControl* control : Parent()->ControlList())
                siblings << control;
        else if (Owner())
            siblings = Owner()->ComponentList();
        for (TComponent* sibling : std::as_const(siblings)) {
            auto* other = qobject_cast<TF2Button*>(sibling);
            if (other && other != this && other->F2Control() == edit) {
                MessageDlg(QStringLiteral("不能同时有两个 F2Button 指到同一个 Edit."), mtError, mbOK);
                return;
            }
        }
    }
    unhook();
    edit_ = edit;
    hook();
    AlignToEdit();
}

void TF2Button::SetAutoAlign(bool value)
{
    if (autoAlign_ == value)
        return;
    autoAlign_ = value;
    AlignToEdit();
}

void TF2Button::SetGap(int value)
{
    value = std::clamp(value, 0, 255);
    if (gap_ == value)
        return;
    gap_ = value;
    AlignToEdit();
}

void TF2Button::AlignToEdit()
{
    if (!autoAlign_ || !edit_)
        return;
    const int side = edit_->Height();
    SetBounds(edit_->Left() + edit_->Width() + gap_, edit_->Top(), side, side);
}

void TF2Button::hook()
{
    if (!edit_)
        return;
    boundsConnection_ = connect(edit_, &TControl::BoundsChanged, this, &TF2Button::AlignToEdit);
    destroyedConnection_ = connect(edit_, &QObject::destroyed, this, [this] { edit_ = nullptr; });
}

void TF2Button::unhook()
{
    disconnect(boundsConnection_);
    disconnect(destroyedConnection_);
}

void TF2Button::Click()
{
    TGSpeedButton::Click();
    if (!edit_ || !edit_->Enabled())
        return;
    edit_->SetFocus();
    if (!edit_ || !edit_->Focused())
        return;
    if (auto* target = dynamic_cast<IF2WindowTarget*>(edit_->Owner()))
        target->F2Window(edit_);
}
