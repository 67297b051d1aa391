#include "options/VRFormatForm.h"

IVRFormatForm::~IVRFormatForm() = default;
IVRSlipFormat::~IVRSlipFormat() = default;
