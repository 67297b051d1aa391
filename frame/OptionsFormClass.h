#pragma once
// Which options form a program module's controller creates: the module's
// main block stores the program's form class here before the shell asks for
// a controller; TDLLVRCtrller::Open creates the form from it. The form is
// the caller's (the controller's) to free.

#include "options/VROptionsForm.h"

class TComponent;

// Creates the program's options form with the given owner. The module's main
// block registers it; empty until then.
using TfrmVRBaseOptClass = IVROptionsForm* (*)(TComponent* owner);
extern TfrmVRBaseOptClass frmVRBaseOptClass;

// The factory of a form class T (an options form, TfrmVRBaseOpt or below,
// or any TForm that implements IVROptionsForm): creates it and runs its
// AfterConstruction; a form whose construction raises is freed again.
//     frmVRBaseOptClass = &OptionsFormClass<TfrmZorv52>;
template<typename T> IVROptionsForm* OptionsFormClass(TComponent* owner)
{
    T* form = new T(owner);
    try {
        form->AfterConstruction();
    } catch (...) {
        delete form;
        throw;
    }
    return form;
}
