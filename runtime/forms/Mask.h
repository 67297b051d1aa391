#pragma once
// Edit masks as the original runtime writes them: "mask;save literals;blank",
// e.g. "!90/90/00;1;_". Mask characters: L l (letter), A a (letter or digit),
// C c (any character), 0 9 (digit), # (digit or sign) - upper case required,
// lower case optional; > and < switch to upper or lower case, <> back to
// none; \ makes the next character a literal; ! keeps optional blanks
// leading; everything else is a literal. The second field 0 keeps literals out
// of Text; the third is the blank character shown in empty positions.

#include "runtime/forms/StdCtrls.h"

#include <QList>

class TEditMask {
public:
    TEditMask() = default;
    explicit TEditMask(const QString& mask);

    bool IsEmpty() const { return positions_.isEmpty(); }
    int Length() const { return static_cast<int>(positions_.size()); }
    bool SaveLiterals() const { return saveLiterals_; }
    QChar Blank() const { return blank_; }
    bool LeadingBlanks() const { return leadingBlanks_; }

    // The edit text (literals and blanks in place) that value gives: with
    // saved literals value is matched position by position, otherwise its
    // characters fill the entry positions in order. Characters an entry
    // position does not accept leave it blank.
    QString Format(const QString& value) const;
    // An edit text made valid: every position taken from editText when it fits.
    QString Normalize(const QString& editText) const;
    // Text of an edit text: blanks as spaces, literals dropped unless saved.
    QString Text(const QString& editText) const;
    // The text of an empty edit.
    QString EmptyText() const { return Text(Format(QString())); }
    // The first entry position of editText that holds no character yet; -1
    // when there is none.
    int FirstBlank(const QString& editText) const;
    // True when every required position of editText holds a character.
    bool IsComplete(const QString& editText) const;
    // The same mask as a QLineEdit input mask.
    QString ToQtInputMask() const;

private:
    enum class Accepts { Letter, LetterOrDigit, Any, Digit, DigitOrSign };
    enum class Case { None, Upper, Lower };
    struct Position {
        bool literal = false;
        QChar ch;
        Accepts accepts = Accepts::Any;
        bool required = false;
        Case letterCase = Case::None;
    };
    static bool accepts(const Position& position, QChar c);
    static QChar cased(const Position& position, QChar c);

    QList<Position> positions_;
    bool saveLiterals_ = true;
    QChar blank_ = u'_';
    bool leadingBlanks_ = false;
};

class TMaskEdit : public TCustomEdit {
    Q_OBJECT
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_PROPERTY(QString PasswordChar READ PasswordChar WRITE SetPasswordChar)
public:
    explicit TMaskEdit(TComponent* owner = nullptr);
    QString EditMask() const { return editMask_; }
    // Keeps the text, re-placed in the new mask.
    void SetEditMask(const QString& mask);
    const TEditMask& Mask() const { return mask_; }
    // What the user sees: literals and blank characters in place.
    QString EditText() const { return caption_; }
    void SetEditText(const QString& value);
    QString Text() const;
    void SetText(const QString& value) override;
    QString PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(const QString& value) { Set(passwordChar_, value.left(1)); }
    bool IsMasked() const { return !mask_.IsEmpty(); }

protected:
    QWidget* CreateWidget(QWidget* parent) override;
    void UpdateWidget() override;

private:
    QString editMask_;
    TEditMask mask_;
    QString passwordChar_;
};
