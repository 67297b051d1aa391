#pragma once
// A query of the work-centre manager's catalogue, named by table and
// number; the parameters are bound in order by the server, never pasted
// into SQL. The options windows describe their look-ups and checks with it
// and run them through the criteria form's query service.

#include "runtime/system/Variant.h"

#include <QString>

struct TPredefinedQuery {
    QString Table;
    QString Number;
    Variant Params; // zero-based array
};
