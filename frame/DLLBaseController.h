#pragma once
// The controller contract between the client shell and a program module.
//
// A module (lib<PROGRAM>C.so) exports one C function, GetController, which
// creates a controller; the shell drives the program only through the
// controller's virtual operations and hears about the program's window
// through OnControllerEvent. The shell and every module are compiled from
// this header, so the order of the virtual operations below is the contract:
//
//   slot  0..10  abstract here, filled by the module's controller class
//   slot 11..17  the base behaviour defined here
//   then         the virtual destructor (kept last so that slot n is vtable
//                entry n; the shell frees a controller with plain delete)
//
// Every virtual operation of this class is defined here, in the header: the
// class has no key function, so each object file that uses it (a shell's as
// much as a module's) carries its type information. A shell built with
// UndefinedBehaviorSanitizer's vptr check needs exactly that, since the
// module's own copy is local to the module.
//
// Types across the boundary: QString and Variant (runtime/system) by
// reference. Both sides are C++ built by the same compiler against the same
// Qt, which is what makes this workable; nothing here is meant for C callers.
//
// Failures: GetController and Open raise exceptions, and they do cross the
// module boundary. Every exception the module raises derives from
// std::exception (runtime/system/Exceptions.h: Exception::what() is the
// UTF-8 message), so a shell catches `const std::exception&` and shows
// what(); it must do so while the module is still loaded. The module's
// symbols are local to it except GetController, so a shell must not rely on
// catching the module's own exception classes by type.

#include "runtime/system/Variant.h"

#include <QString>
#include <QtGlobal>
#include <functional>

class QObject;
class TDLLBaseController;

// Event codes passed to OnControllerEvent.
enum NotifyCode : int {
    ncFormCreated = 0x100, // Open has created and initialised the form
    ncFormShown = 0x110, // the form's show event
    ncFormHidden = 0x120, // the form's hide event
    ncFormDestroyed = 0x130, // the form is being destroyed; results are copied
    ncEvent320 = 0x140, // only on the shell's request (DoEvent320)
};

// The shell's event handler: (event code, controller).
using TControllerEvent = std::function<void(int code, TDLLBaseController* controller)>;

class TDLLBaseController {
public:
    TDLLBaseController() = default;
    TDLLBaseController(const TDLLBaseController&) = delete;
    TDLLBaseController& operator=(const TDLLBaseController&) = delete;

    // Slot 0: the form's version text; left untouched without a form.
    virtual void GetVersion(QString& version) = 0;
    // Slot 1: -1 when the form exists and is visible, else 0.
    virtual qint32 IsFormVisible() = 0;
    // Slot 2: shows (restoring a minimised window, brought to the front) or hides the form.
    virtual void SetFormVisible(bool visible) = 0;
    // Slot 3: the form's native window id (the window is made when needed), or 0.
    virtual quintptr GetFormHandle() = 0;
    // Slot 4: creates and prepares the form; 0 on success, -1 on failure.
    // Arguments: [user, company, database, caller's window handle, features,
    // and optionally the user's password], the password taken as the
    // module's login and not handed to the form.
    virtual qint32 Open(const Variant& args) = 0;
    // Slot 5: hands new arguments to the form; 0 or -1 (never raises).
    virtual qint32 SetParams(const Variant& args) = 0;
    // Slot 6: runs a numbered command (5, 6, 11); `ignored` is not read; 0 or -1.
    virtual qint32 Execute(qint32 command, qint32 ignored, const Variant& args) = 0;
    // Slot 7: runs the form modally; result is its modal result (2, cancel, without a form).
    virtual void ShowModal(Variant& result) = 0;
    // Slot 8: frees the form (its destroy event then fires 0x130).
    virtual void CloseForm() = 0;
    // Slot 9: fills info with [user, company, program code, program name]; 0, or -1
    // without a form (info left untouched).
    virtual qint32 GetInfo(Variant& info) = 0;
    // Slot 10: true when there is no form.
    virtual bool IsClosed() = 0;

    // Slot 11: fires 0x100; called by Open.
    virtual void DoFormCreated() { NotifyEvent(ncFormCreated); }
    // Slots 12..14: installed as the form's show, hide and destroy events.
    virtual void FormShowHandler(QObject*) { NotifyEvent(ncFormShown); }
    virtual void FormHideHandler(QObject*) { NotifyEvent(ncFormHidden); }
    virtual void FormDestroyHandler(QObject*) { NotifyEvent(ncFormDestroyed); }
    // Slot 15: fires 0x140, form or no form.
    virtual void DoEvent320() { NotifyEvent(ncEvent320); }
    // Slot 16: calls OnControllerEvent(code, this) when it is assigned.
    virtual void NotifyEvent(qint32 code)
    {
        // The shell may free the controller from inside its handler (on 0x130
        // above all): the handler runs from a copy, so what it carries lives
        // until it returns.
        if (const TControllerEvent handler = OnControllerEvent)
            handler(code, this);
    }
    // Slot 17: closes the form's open layout designer; nothing here.
    virtual void CloseDesigner() { }

    // Last on purpose: see the slot table above.
    virtual ~TDLLBaseController() = default;

    // Placed by the shell before Open; Open hands it to the form.
    Variant HostObject;
    // Copied from the form when it is destroyed.
    qint32 ResultCode = 0;
    Variant ResultValue;
    // Set by the shell; fired by NotifyEvent.
    TControllerEvent OnControllerEvent;
};

// What GetController creates: a registered factory (C++ has no class
// references). Empty until the module's controller unit registers itself.
using TDLLControllerClass = TDLLBaseController* (*)();
extern TDLLControllerClass DLLControllerClass;

// The module's one export. Returns a new controller, owned by the caller.
// Raises Exception "HVN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible"
// when no controller class is registered.
extern "C" TDLLBaseController* GetController();
using TGetController = TDLLBaseController* (*)();
