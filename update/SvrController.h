#pragma once
// The contract between a print program and its server library.
//
// A program's server library (Windows name: program code + "S.DLL", here
// lib<CODE>S.so) exports one C function, GetSvrController, which creates a
// controller. The program hands the controller the run parameters of one
// print run (ServerRunParams.h: 6 items for report kind "B", else 11), reads
// its answer, and releases it with Release() before it unloads the library:
// the controller is freed by the code that made it, so no allocation crosses
// the library boundary.
//
// Both sides are C++ built by the same compiler against the same Qt and the
// same Variant (as the shell and the module are, frame/DLLBaseController.h).
// Run never throws: every failure is an answer.

#include "runtime/system/Variant.h"

class TSvrController {
public:
    TSvrController() = default;
    TSvrController(const TSvrController&) = delete;
    TSvrController& operator=(const TSvrController&) = delete;

    // Runs the server side of one print run. Returns 0 when the parameters
    // were accepted and the run done; any other value means refused, and
    // answer then holds the reason as text. On success answer holds what the
    // server side reports (text).
    virtual qint32 Run(const Variant& params, Variant& answer) = 0;
    // Frees the controller. Nothing of it may be used afterwards.
    virtual void Release() = 0;

protected:
    // Only Release() frees a controller.
    virtual ~TSvrController() = default;
};

// The server library's one export: a new controller, or nullptr when it
// cannot make one.
extern "C" TSvrController* GetSvrController();
using TGetSvrController = TSvrController* (*)();
