#pragma once
// What the user's rights string for the program allows on the options
// window (one character per right, "Y" grants it, counted from 1):
// 2 design formats, 3 delete formats, 6 print and preview.

#include <QString>

struct TOptionRights {
    bool Design = false;
    bool DeleteFormat = false;
    bool PrintAndPreview = false;
};

// A shorter string grants none of the missing rights.
TOptionRights OptionRightsOf(const QString& rightsString);
