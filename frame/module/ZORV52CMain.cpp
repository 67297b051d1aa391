// The main block of libZORV52C.so: unit initialisations in unit order, then
// the program's options form class. The change-slip options form is not part
// of the module yet, so frmVRBaseOptClass stays empty and Open says so.
#include "frame/DLLVRCtrller.h"

namespace {

struct ModuleMain {
    ModuleMain() { InitDLLVRCtrllerUnit(); }
};

const ModuleMain moduleMain;

} // namespace
