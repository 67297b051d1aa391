#include "frame/OptionsFormClass.h"

TfrmVRBaseOptClass frmVRBaseOptClass = nullptr;
