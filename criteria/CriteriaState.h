#pragma once
// What a user has entered on a criteria form, as one text, so that the form
// can tell whether anything was typed or chosen since a moment it remembers
// (the window shown, a scheme opened, a report run).
//
// CriteriaState(root) walks every named control below root and writes one
// line per control that holds a value: edits their text, lists and radio
// groups their item index (an editable combo box its text as well), check
// boxes their state, spin edits their value, selection panels their range or
// their rows (their own children are not walked again). A text with no
// letter and no digit counts as empty, so an empty date mask ("    /  /  "),
// which a date field shows from the moment it is entered, is no input.
// Labels, buttons and containers add nothing. Nothing is changed.

#include <QString>

class TWinControl;

QString CriteriaState(const TWinControl* root);
