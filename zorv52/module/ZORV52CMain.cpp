// The main block of libZORV52C.so: unit initialisations in unit order, the
// program's descriptor (zorv52/Program.txt, compiled in by zorv_program),
// then the program's options form class.
//
// It runs while the library is being loaded, before the dynamically
// initialised objects of the files linked after this one (the folder
// libraries): what it calls may use only constants and function-local
// statics. A registration that read a namespace-scope QString got an empty
// name (tests/frame/ModuleTest.cpp creates the objects from the loaded module).
#include "common/ProgramDescriptor.h"
#include "frame/DLLVRCtrller.h"
#include "frame/OptionsFormClass.h"
#include "suite/appserver/AppServer.h"
#include "suite/fax/HvnFaxApplication.h"
#include "suite/mail/OutlookApplication.h"
#include "zorv52/Zorv52F.h"

namespace {

struct ModuleMain {
    ModuleMain()
    {
        InitDLLVRCtrllerUnit();
        // Before the server: it serves every known program's class id.
        RegisterProgramText(ModuleProgramText);
        // The mail client and fax service the output sends through, created by
        // programmatic identifier from the module's own object registry.
        RegisterOutlook();
        RegisterHvnFax();
        // The application server that runs in this process when the client
        // configuration names 127.0.0.1: the module's objects are its own,
        // so the shell's registration does not reach here.
        RegisterAppServer();
        // Last, as the library's main block does: the change-slip options form.
        frmVRBaseOptClass = &OptionsFormClass<TfrmZorv52>;
    }
};

const ModuleMain moduleMain;

} // namespace
