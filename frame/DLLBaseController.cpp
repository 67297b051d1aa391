#include "frame/DLLBaseController.h"

TDLLControllerClass DLLControllerClass = nullptr;

extern "C" TDLLBaseController* GetController()
{
    if (!DLLControllerClass)
        throw Exception(
            QStringLiteral("HVN DLL Internal Error :\rNot Assign \"DLLControllerClass\" varible"));
    return DLLControllerClass();
}
