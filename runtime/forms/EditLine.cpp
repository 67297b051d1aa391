#include "runtime/forms/EditLine.h"

#include <QFocusEvent>
#include <QMouseEvent>

void EditLine::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
        // The toolkit itself only puts the caret of a masked edit on its
        // first position and selects nothing when code moves the focus; the
        // original selects the text in every one of these cases.
        selectAll();
        break;
    default:
        break;
    }
}

void EditLine::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    if (!firstBlank || event->button() != Qt::LeftButton || (event->modifiers() & Qt::ShiftModifier)
        || hasSelectedText())
        return;
    const int blank = firstBlank();
    if (blank >= 0 && cursorPosition() > blank)
        setCursorPosition(blank);
}
