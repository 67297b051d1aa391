// The main block of libZORV52C.so: unit initialisations in unit order, then
// the program's options form class. The change-slip options form is not part
// of the module yet, so frmVRBaseOptClass stays empty and Open says so.
#include "frame/DLLVRCtrller.h"
#include "suite/fax/HvnFaxApplication.h"
#include "suite/mail/OutlookApplication.h"

namespace {

struct ModuleMain {
    ModuleMain()
    {
        InitDLLVRCtrllerUnit();
        // The mail client and fax service the output sends through, created by
        // programmatic identifier from the module's own object registry.
        RegisterOutlook();
        RegisterHvnFax();
    }
};

const ModuleMain moduleMain;

} // namespace
