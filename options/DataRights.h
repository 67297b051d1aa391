#pragma once
// Moved to common/ so that the application server applies the very same
// rules as the options window; kept here for the includes of this folder.
#include "common/DataRights.h"
