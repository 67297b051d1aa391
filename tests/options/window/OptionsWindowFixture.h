#pragma once
// The options window (TfrmVRBaseOpt, TfrmVROpt) under test: a real print
// program's window on a demo home, the change-slip one, with the real
// manager, the in-process server with its query log and a recording format
// form (the change-slip tests' fixture, tests/zorv52/Zorv52Fixture.h). The
// tests here check what the options window itself does: its printer, paper
// and format tools, the stored-format choice, condition schemes and their
// delivery, and runs through extended fields.

#include "tests/zorv52/Zorv52Fixture.h"

using OptionsWindowTest = Zorv52FormTest;

// A text of the window as the tests write it (UTF-8 literals).
inline QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
