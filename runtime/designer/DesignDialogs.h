#pragma once
// The designer's align, size and scale dialogs. Each builds a small form
// (no owner; freed before it returns) and shows it modally through the
// dialog service, so tests answer it with ScriptedDialogService::ExpectModal
// by working the named controls:
//   align:  rgHorizontal, rgVertical (item 0 = no change, then the
//           THorzAlign / TVertAlign values in order)
//   size:   rgWidth, rgHeight (0 no change, 1 shrink to smallest, 2 grow to
//           largest, 3 value), edWidth, edHeight
//   scale:  edScale (percent, 25 to 400)
// Each answers true only when the user confirmed with OK and asked for a
// change; the out values are left alone otherwise.

#include "runtime/designer/DCFormDesigner.h"

bool ExecuteAlignDialog(THorzAlign& horizontal, TVertAlign& vertical);
bool ExecuteSizeDialog(TSizeRule& widthRule, int& width, TSizeRule& heightRule, int& height);
bool ExecuteScaleDialog(int& percent);
