#include "frame/VROptionsForm.h"

TfrmVRBaseOptClass frmVRBaseOptClass = nullptr;

IVROptionsForm::~IVROptionsForm() = default;
