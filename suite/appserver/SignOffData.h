#pragma once
// Sign-off data of the workflow service, from the sign-off records in TWSMD.
//
// A request is the text "<FormSet> <Form wfProgramID='' wfFormType='A511'
// wfSheetNo ='20240301001' wfParameter3='0001' wfParameter4='' /> ...
// </FormSet>", one Form per slip. Records match a Form by form type, sheet
// number and parameters 3 and 4 (an absent parameter matches an empty one).

#include "runtime/system/Variant.h"

class TDbBackend;

namespace SignOffData {

// The forms of a request: [type, sheet, parameter 3, parameter 4] each.
// Raises EConvertError for a text that is not such a request.
QList<QStringList> ParseRequest(const QString& request);

// The array answer: [count, set 1, ..., set count], one set per requested
// form: ["", type, sheet, parameter 3, parameter 4, table], where table is a
// two-dimensional array [column 0..12, row 0..n-1] (form type, sheet number,
// serial number, flow role, received, signed, state, recipient id and name,
// signer id and name, department position, signer title). A form without
// records has no table element.
Variant Table(TDbBackend& db, const QString& request);

// The text answer: "<FormSet><Form wfFormType=.. wfSheetNo=..>items</Form>
// ...</FormSet>" without an XML declaration; the items of a form, separated
// by "||", are one line per record (serial, branch, signer, title, state,
// signed time, opinion, joined by two spaces) and last the final state.
QString Xml(TDbBackend& db, const QString& request);

} // namespace SignOffData
