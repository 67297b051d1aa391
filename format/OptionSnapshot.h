#pragma once
// The option snapshot a stored format keeps beside its layout: which of the
// options window's settings the layout's extended fields were designed
// with. specs is a ";"-separated list; the part of a spec before ":" names
// a control of the options form. Each control found gives a value: a check
// box (anything with Checked) "1" or "0", a combo box or radio group its
// item index. Every spec with a value makes a line "spec=value"; the lines
// are joined by CR LF. Empty when the layout has no extended fields or
// specs is blank; controls that are missing are left out.

#include <QString>

class TComponent;

QString OptionSnapshotText(const TComponent* optionsForm, const QString& specs, bool hasExtendedFields);
