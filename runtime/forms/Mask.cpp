#include "runtime/forms/Mask.h"

#include "runtime/forms/EditLine.h"

#include <QLineEdit>

TEditMask::TEditMask(const QString& mask)
{
    // Trailing fields: ";save literals;blank". A ';' after '\' is a literal.
    QStringList fields;
    QString current;
    for (int i = 0; i < mask.size(); ++i) {
        if (mask.at(i) == u'\\' && i + 1 < mask.size()) {
            current += mask.at(i);
            current += mask.at(++i);
        } else if (mask.at(i) == u';' && fields.size() < 2) {
            fields << current;
            current.clear();
        } else {
            current += mask.at(i);
        }
    }
    fields << current;
    if (fields.size() >= 2)
        saveLiterals_ = fields.at(1) != u"0";
    if (fields.size() >= 3 && !fields.at(2).isEmpty())
        blank_ = fields.at(2).at(0);

    const QString& pattern = fields.at(0);
    Case letterCase = Case::None;
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        Position position;
        position.letterCase = letterCase;
        switch (c.unicode()) {
        case u'!':
            leadingBlanks_ = true;
            continue;
        case u'>':
            letterCase = Case::Upper;
            continue;
        case u'<':
            if (i + 1 < pattern.size() && pattern.at(i + 1) == u'>') {
                letterCase = Case::None;
                ++i;
            } else {
                letterCase = Case::Lower;
            }
            continue;
        case u'\\':
            if (i + 1 < pattern.size()) {
                position.literal = true;
                position.ch = pattern.at(++i);
                positions_ << position;
            }
            continue;
        case u'L':
            position.accepts = Accepts::Letter;
            position.required = true;
            break;
        case u'l':
            position.accepts = Accepts::Letter;
            break;
        case u'A':
            position.accepts = Accepts::LetterOrDigit;
            position.required = true;
            break;
        case u'a':
            position.accepts = Accepts::LetterOrDigit;
            break;
        case u'C':
            position.accepts = Accepts::Any;
            position.required = true;
            break;
        case u'c':
            position.accepts = Accepts::Any;
            break;
        case u'0':
            position.accepts = Accepts::Digit;
            position.required = true;
            break;
        case u'9':
            position.accepts = Accepts::Digit;
            break;
        case u'#':
            position.accepts = Accepts::DigitOrSign;
            break;
        default:
            position.literal = true;
            position.ch = c;
            break;
        }
        positions_ << position;
    }
}

bool TEditMask::accepts(const Position& position, QChar c)
{
    switch (position.accepts) {
    case Accepts::Letter:
        return c.isLetter();
    case Accepts::LetterOrDigit:
        return c.isLetterOrNumber();
    case Accepts::Digit:
        return c.isDigit();
    case Accepts::DigitOrSign:
        return c.isDigit() || c == u'+' || c == u'-';
    case Accepts::Any:
        return c != u' ';
    }
    return false;
}

QChar TEditMask::cased(const Position& position, QChar c)
{
    switch (position.letterCase) {
    case Case::Upper:
        return c.toUpper();
    case Case::Lower:
        return c.toLower();
    default:
        return c;
    }
}

QString TEditMask::Format(const QString& value) const
{
    if (IsEmpty())
        return value;
    QString edit;
    edit.reserve(Length());
    int next = 0; // next character of value
    for (const Position& position : positions_) {
        if (position.literal) {
            edit += position.ch;
            // A value with literals holds them here too; one without them does not.
            if (saveLiterals_ && next < value.size() && value.at(next) == position.ch)
                ++next;
            continue;
        }
        QChar c = next < value.size() ? value.at(next) : QChar();
        ++next;
        edit += !c.isNull() && accepts(position, c) ? cased(position, c) : blank_;
    }
    return edit;
}

QString TEditMask::Normalize(const QString& editText) const
{
    if (IsEmpty())
        return editText;
    QString edit;
    for (int i = 0; i < Length(); ++i) {
        const Position& position = positions_.at(i);
        const QChar c = i < editText.size() ? editText.at(i) : QChar();
        if (position.literal)
            edit += position.ch;
        else
            edit += !c.isNull() && accepts(position, c) ? cased(position, c) : blank_;
    }
    return edit;
}

QString TEditMask::Text(const QString& editText) const
{
    if (IsEmpty())
        return editText;
    QString text;
    for (int i = 0; i < Length(); ++i) {
        const Position& position = positions_.at(i);
        const QChar c = i < editText.size() ? editText.at(i) : blank_;
        if (position.literal) {
            if (saveLiterals_)
                text += position.ch;
            continue;
        }
        text += c == blank_ ? QChar(u' ') : c;
    }
    return text;
}

int TEditMask::FirstBlank(const QString& editText) const
{
    for (int i = 0; i < Length(); ++i) {
        const Position& position = positions_.at(i);
        if (!position.literal && (i >= editText.size() || editText.at(i) == blank_))
            return i;
    }
    return -1;
}

bool TEditMask::IsComplete(const QString& editText) const
{
    for (int i = 0; i < Length(); ++i) {
        const Position& position = positions_.at(i);
        if (!position.literal && position.required && (i >= editText.size() || editText.at(i) == blank_))
            return false;
    }
    return true;
}

QString TEditMask::ToQtInputMask() const
{
    if (IsEmpty())
        return QString();
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{};");
    QString mask;
    Case current = Case::None;
    for (const Position& position : positions_) {
        if (position.letterCase != current) {
            mask += position.letterCase == Case::Upper ? u'>'
                : position.letterCase == Case::Lower   ? u'<'
                                                       : u'!';
            current = position.letterCase;
        }
        if (position.literal) {
            if (special.contains(position.ch))
                mask += u'\\';
            mask += position.ch;
            continue;
        }
        switch (position.accepts) {
        case Accepts::Letter:
            mask += position.required ? u'A' : u'a';
            break;
        case Accepts::LetterOrDigit:
            mask += position.required ? u'N' : u'n';
            break;
        case Accepts::Any:
            mask += position.required ? u'X' : u'x';
            break;
        case Accepts::Digit:
            mask += position.required ? u'9' : u'0';
            break;
        case Accepts::DigitOrSign:
            mask += u'#';
            break;
        }
    }
    return mask + u';' + blank_;
}

// TMaskEdit ----------------------------------------------------------------

TMaskEdit::TMaskEdit(TComponent* owner)
    : TCustomEdit(owner)
{
}

void TMaskEdit::SetEditMask(const QString& mask)
{
    if (mask == editMask_)
        return;
    const QString text = Text();
    editMask_ = mask;
    mask_ = TEditMask(mask);
    caption_ = mask_.Format(text);
    Changed();
}

void TMaskEdit::SetEditText(const QString& value)
{
    const QString edit = mask_.Normalize(value);
    if (edit == caption_)
        return;
    caption_ = edit;
    Changed();
    Change();
}

QString TMaskEdit::Text() const
{
    return mask_.Text(caption_);
}

void TMaskEdit::SetText(const QString& value)
{
    const QString edit = IsMasked() ? mask_.Format(value) : applyCharCase(value);
    if (edit == caption_)
        return;
    caption_ = edit;
    Changed();
    Change();
}

QWidget* TMaskEdit::CreateWidget(QWidget* parent)
{
    auto* edit = new EditLine(parent);
    edit->firstBlank = [this, edit] { return IsMasked() ? mask_.FirstBlank(edit->displayText()) : -1; };
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
        caption_ = IsMasked() ? edit->displayText() : applyCharCase(edit->text());
        Change();
    });
    return edit;
}

void TMaskEdit::UpdateWidget()
{
    TCustomEdit::UpdateWidget();
    auto* edit = static_cast<QLineEdit*>(Widget());
    const QString qtMask = mask_.ToQtInputMask();
    if (edit->inputMask() != qtMask)
        edit->setInputMask(qtMask);
    if (IsMasked()) {
        if (edit->displayText() != caption_) {
            QString raw = caption_;
            edit->setText(raw.replace(mask_.Blank(), u' '));
        }
    } else if (edit->text() != caption_) {
        edit->setText(caption_);
    }
    if (edit->isReadOnly() != ReadOnly())
        edit->setReadOnly(ReadOnly());
    if (const auto echo = passwordChar_.isEmpty() ? QLineEdit::Normal : QLineEdit::Password;
        edit->echoMode() != echo)
        edit->setEchoMode(echo);
}
