#include "frame/DLLBaseController.h"

TDLLControllerClass DLLControllerClass = nullptr;

TDLLBaseController::~TDLLBaseController() = default;

void TDLLBaseController::DoFormCreated()
{
    NotifyEvent(ncFormCreated);
}

void TDLLBaseController::FormShowHandler(QObject*)
{
    NotifyEvent(ncFormShown);
}

void TDLLBaseController::FormHideHandler(QObject*)
{
    NotifyEvent(ncFormHidden);
}

void TDLLBaseController::FormDestroyHandler(QObject*)
{
    NotifyEvent(ncFormDestroyed);
}

void TDLLBaseController::DoEvent320()
{
    NotifyEvent(ncEvent320);
}

void TDLLBaseController::NotifyEvent(qint32 code)
{
    // The shell may free the controller from inside its handler (on 0x130
    // above all): the handler runs from a copy, so what it carries lives
    // until it returns.
    if (const TControllerEvent handler = OnControllerEvent)
        handler(code, this);
}

void TDLLBaseController::CloseDesigner()
{
}

extern "C" TDLLBaseController* GetController()
{
    if (!DLLControllerClass)
        throw Exception(
            QStringLiteral("HVN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible"));
    return DLLControllerClass();
}
