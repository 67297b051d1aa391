#pragma once
// The predefined queries the change-slip options run through the
// work-centre manager (table and number of the manager's query catalogue,
// parameters bound in order, never pasted into SQL):
//
//   CMSMQ 22  check a typed slip type: it must be of document kind 51 or 52
//             (work-order changes); row: 0 slip type, 1 document kind (the
//             slip type key), 2 name
//   CMSMQ 19  the slip-type look-up: kinds 51 and 52, from a start type on
//   MOCTO 60  the slip-number look-up of one slip type

#include "options/PredefinedQuery.h"

#include <QString>

TPredefinedQuery SlipTypeCheckQuery(const QString& slipType);
TPredefinedQuery SlipTypeLookupQuery(const QString& start);
TPredefinedQuery SlipNumberLookupQuery(const QString& slipType);

// The slip type key (document kind) of a CMSMQ 22 row; empty when the row
// has none.
QString SlipTypeKeyOfRow(const Variant& row);
