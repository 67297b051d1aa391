// The main block of libZTST53C.so, as zorv52/module/ZORV52CMain.cpp is the
// change slips': unit initialisations, the program's descriptor (its
// Program.txt, compiled in by zorv_program), the in-process server, then
// the program's options form class.
//
// It runs while the library is being loaded: what it calls may use only
// constants and function-local statics.
#include "common/ProgramDescriptor.h"
#include "frame/DLLVRCtrller.h"
#include "frame/OptionsFormClass.h"
#include "suite/appserver/AppServer.h"
#include "tests/programs/ztst53/Ztst53F.h"

namespace {

struct ModuleMain {
    ModuleMain()
    {
        InitDLLVRCtrllerUnit();
        RegisterProgramText(ModuleProgramText);
        // The server in this process when the client configuration names 127.0.0.1.
        RegisterAppServer();
        frmVRBaseOptClass = &OptionsFormClass<TfrmZtst53>;
    }
};

const ModuleMain moduleMain;

} // namespace
