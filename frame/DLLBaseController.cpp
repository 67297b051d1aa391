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
    if (OnControllerEvent)
        OnControllerEvent(code, this);
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
