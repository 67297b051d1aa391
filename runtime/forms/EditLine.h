#pragma once
// The line widget of the one-line edits (TEdit, TMaskEdit), with the caret
// rules users of the original know:
//   - focus that comes by the keyboard or from code (Tab, Shift+Tab, a
//     mnemonic, Enter moving on, SetFocus) selects the whole text, masked or
//     not, so what is typed next replaces it;
//   - a click never leaves the caret behind the empty part of a mask: when
//     it lands after the first position still waiting for a character, the
//     caret goes to that position (an empty date field takes "20241101" from
//     its start wherever it was clicked);
//   - focus coming back with the window (a message box closed) or after a
//     pop-up menu keeps the caret and selection the user left.
// Private to runtime/forms.

#include <QLineEdit>
#include <functional>

class EditLine : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

    // Where a masked edit waits for its next character: the first entry
    // position without one, or -1 when every position is filled (or there is
    // no mask). Unset for plain edits.
    std::function<int()> firstBlank;

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
