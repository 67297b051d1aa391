#include "runtime/forms/FormText.h"

#include "runtime/system/Exceptions.h"

#include <cmath>
#include <limits>

namespace formtext {
namespace {

struct Token {
    enum Kind { End, Identifier, Integer, Float, String, Symbol, Binary };
    Kind kind = End;
    QString text;
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes;
    QChar symbol;
    int line = 1;
};

bool isIdentStart(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_';
}

bool isIdentPart(QChar c)
{
    return isIdentStart(c) || (c.unicode() >= u'0' && c.unicode() <= u'9');
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

class Lexer {
public:
    explicit Lexer(const QString& text)
        : text_(text)
    {
    }

    [[noreturn]] void fail(const QString& reason, int line = 0) const
    {
        throw EReadError(QStringLiteral("Line %1: %2").arg(line ? line : line_).arg(reason));
    }

    Token next()
    {
        skipSpace();
        Token token;
        token.line = line_;
        if (pos_ >= text_.size())
            return token;
        const QChar c = text_.at(pos_);
        if (isIdentStart(c)) {
            const qsizetype start = pos_;
            while (pos_ < text_.size() && (isIdentPart(text_.at(pos_)) || text_.at(pos_) == u'.'))
                ++pos_;
            token.kind = Token::Identifier;
            token.text = text_.mid(start, pos_ - start);
            return token;
        }
        if (c == u'\'' || c == u'#')
            return readString(token);
        if (c.isDigit() || c == u'$'
            || ((c == u'-' || c == u'+') && pos_ + 1 < text_.size()
                && (text_.at(pos_ + 1).isDigit() || text_.at(pos_ + 1) == u'$')))
            return readNumber(token);
        if (c == u'{')
            return readBinary(token);
        static const QString symbols = QStringLiteral("=:[](),<>+");
        if (symbols.contains(c)) {
            ++pos_;
            token.kind = Token::Symbol;
            token.symbol = c;
            return token;
        }
        fail(QStringLiteral("Invalid character '%1' (#%2)")
                 .arg(c.isPrint() ? QString(c) : QString())
                 .arg(c.unicode()));
    }

private:
    void skipSpace()
    {
        while (pos_ < text_.size()) {
            const QChar c = text_.at(pos_);
            if (c == u'\n')
                ++line_;
            else if (!c.isSpace() && c != u'\0')
                break;
            ++pos_;
        }
    }

    Token& readString(Token& token)
    {
        token.kind = Token::String;
        while (pos_ < text_.size()) {
            const QChar c = text_.at(pos_);
            if (c == u'\'') {
                ++pos_;
                for (;;) {
                    if (pos_ >= text_.size() || text_.at(pos_) == u'\n' || text_.at(pos_) == u'\r')
                        fail(QStringLiteral("Unterminated string"), token.line);
                    if (text_.at(pos_) == u'\'') {
                        if (pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'\'') {
                            token.text += u'\'';
                            pos_ += 2;
                            continue;
                        }
                        ++pos_;
                        break;
                    }
                    token.text += text_.at(pos_++);
                }
            } else if (c == u'#') {
                ++pos_;
                const bool hex = pos_ < text_.size() && text_.at(pos_) == u'$';
                if (hex)
                    ++pos_;
                quint32 code = 0;
                int digits = 0;
                while (pos_ < text_.size()) {
                    const int d = hex ? hexValue(text_.at(pos_))
                                      : (text_.at(pos_).isDigit() ? text_.at(pos_).digitValue() : -1);
                    if (d < 0)
                        break;
                    code = code * (hex ? 16 : 10) + static_cast<quint32>(d);
                    if (code > 0x10FFFF)
                        fail(QStringLiteral("Character code out of range"));
                    ++digits;
                    ++pos_;
                }
                if (digits == 0)
                    fail(QStringLiteral("Character code expected after #"));
                if (code > 0xFFFF) {
                    const char32_t wide = code;
                    token.text += QString::fromUcs4(&wide, 1);
                } else {
                    token.text += QChar(static_cast<char16_t>(code));
                }
            } else {
                break;
            }
        }
        return token;
    }

    Token& readNumber(Token& token)
    {
        const qsizetype start = pos_;
        bool negative = false;
        if (text_.at(pos_) == u'-' || text_.at(pos_) == u'+')
            negative = text_.at(pos_++) == u'-';
        if (text_.at(pos_) == u'$') {
            ++pos_;
            quint64 value = 0;
            int digits = 0;
            while (pos_ < text_.size() && hexValue(text_.at(pos_)) >= 0) {
                if (++digits > 16)
                    fail(QStringLiteral("Number too large"));
                value = value * 16 + static_cast<quint64>(hexValue(text_.at(pos_++)));
            }
            if (digits == 0)
                fail(QStringLiteral("Hexadecimal digits expected after $"));
            token.kind = Token::Integer;
            // Hexadecimal numbers keep their bit pattern ($FF000000 is a 32-bit colour).
            token.integer = static_cast<qint64>(value);
            if (digits <= 8 && value > 0x7FFFFFFF)
                token.integer = static_cast<qint32>(static_cast<quint32>(value));
            if (negative)
                token.integer = -token.integer;
            return token;
        }
        while (pos_ < text_.size() && text_.at(pos_).isDigit())
            ++pos_;
        bool isFloat = false;
        if (pos_ + 1 < text_.size() && text_.at(pos_) == u'.' && text_.at(pos_ + 1).isDigit()) {
            isFloat = true;
            ++pos_;
            while (pos_ < text_.size() && text_.at(pos_).isDigit())
                ++pos_;
        }
        if (pos_ < text_.size() && (text_.at(pos_) == u'e' || text_.at(pos_) == u'E')) {
            qsizetype p = pos_ + 1;
            if (p < text_.size() && (text_.at(p) == u'-' || text_.at(p) == u'+'))
                ++p;
            if (p < text_.size() && text_.at(p).isDigit()) {
                isFloat = true;
                pos_ = p;
                while (pos_ < text_.size() && text_.at(pos_).isDigit())
                    ++pos_;
            }
        }
        const QString literal = text_.mid(start, pos_ - start);
        bool ok = false;
        if (isFloat) {
            token.kind = Token::Float;
            token.real = literal.toDouble(&ok);
            if (!ok || !std::isfinite(token.real))
                fail(QStringLiteral("Invalid number %1").arg(literal));
        } else {
            token.kind = Token::Integer;
            token.integer = literal.toLongLong(&ok);
            if (!ok)
                fail(QStringLiteral("Invalid number %1").arg(literal.left(40)));
        }
        return token;
    }

    Token& readBinary(Token& token)
    {
        ++pos_; // {
        token.kind = Token::Binary;
        int high = -1;
        while (pos_ < text_.size() && text_.at(pos_) != u'}') {
            const QChar c = text_.at(pos_++);
            if (c == u'\n')
                ++line_;
            if (c.isSpace())
                continue;
            const int d = hexValue(c);
            if (d < 0)
                fail(QStringLiteral("Invalid character in binary data"));
            if (high < 0) {
                high = d;
            } else {
                token.bytes.append(static_cast<char>(high * 16 + d));
                high = -1;
            }
        }
        if (pos_ >= text_.size())
            fail(QStringLiteral("Unterminated binary data"), token.line);
        if (high >= 0)
            fail(QStringLiteral("Odd number of hexadecimal digits in binary data"));
        ++pos_; // }
        return token;
    }

    const QString& text_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

class Parser {
public:
    explicit Parser(const QString& text)
        : lexer_(text)
    {
        advance();
    }

    Object parseTop()
    {
        Object object = parseObject(0);
        if (token_.kind != Token::End)
            fail(QStringLiteral("Text after the final 'end'"));
        return object;
    }

private:
    [[noreturn]] void fail(const QString& reason) const { lexer_.fail(reason, token_.line); }

    void advance() { token_ = lexer_.next(); }

    bool isWord(const char* word) const
    {
        return token_.kind == Token::Identifier
            && token_.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isSymbol(char16_t c) const { return token_.kind == Token::Symbol && token_.symbol == c; }
    void expectSymbol(char16_t c)
    {
        if (!isSymbol(c))
            fail(QStringLiteral("'%1' expected").arg(QChar(c)));
        advance();
    }
    QString expectIdentifier(const char* what)
    {
        if (token_.kind != Token::Identifier)
            fail(QStringLiteral("%1 expected").arg(QLatin1String(what)));
        QString text = token_.text;
        advance();
        return text;
    }
    void checkDepth(int depth) const
    {
        if (depth > MaxDepth)
            fail(QStringLiteral("Nesting too deep"));
    }

    Object parseObject(int depth)
    {
        checkDepth(depth);
        Object object;
        object.line = token_.line;
        if (isWord("object"))
            object.mode = Object::New;
        else if (isWord("inherited"))
            object.mode = Object::Inherited;
        else if (isWord("inline"))
            object.mode = Object::Inline;
        else
            fail(QStringLiteral("'object' or 'inherited' expected"));
        advance();
        object.name = expectIdentifier("Component name");
        if (object.name.contains(u'.'))
            fail(QStringLiteral("Invalid component name %1").arg(object.name));
        expectSymbol(u':');
        object.className = expectIdentifier("Class name");
        if (object.className.contains(u'.'))
            fail(QStringLiteral("Invalid class name %1").arg(object.className));
        if (isSymbol(u'[')) { // position index of an inherited component: not needed here
            advance();
            if (token_.kind != Token::Integer)
                fail(QStringLiteral("Index expected"));
            advance();
            expectSymbol(u']');
        }
        for (;;) {
            if (token_.kind == Token::End)
                fail(QStringLiteral("'end' expected for %1").arg(object.name));
            if (isWord("end")) {
                advance();
                return object;
            }
            if (isWord("object") || isWord("inherited") || isWord("inline")) {
                object.children.push_back(parseObject(depth + 1));
                continue;
            }
            object.properties.push_back(parseProperty(depth));
        }
    }

    Property parseProperty(int depth)
    {
        Property property;
        property.line = token_.line;
        property.name = expectIdentifier("Property name");
        if (property.name.endsWith(u'.') || property.name.contains(QLatin1String("..")))
            fail(QStringLiteral("Invalid property name %1").arg(property.name));
        expectSymbol(u'=');
        property.value = parseValue(depth + 1);
        return property;
    }

    Value parseValue(int depth)
    {
        checkDepth(depth);
        Value value;
        value.line = token_.line;
        switch (token_.kind) {
        case Token::Integer:
            value.kind = Value::Integer;
            value.integer = token_.integer;
            advance();
            return value;
        case Token::Float:
            value.kind = Value::Float;
            value.real = token_.real;
            advance();
            return value;
        case Token::String:
            value.kind = Value::String;
            value.text = token_.text;
            advance();
            while (isSymbol(u'+')) {
                advance();
                if (token_.kind != Token::String)
                    fail(QStringLiteral("String expected after '+'"));
                value.text += token_.text;
                advance();
            }
            return value;
        case Token::Identifier:
            value.kind = Value::Identifier;
            value.text = token_.text;
            advance();
            return value;
        case Token::Binary:
            value.kind = Value::Binary;
            value.bytes = token_.bytes;
            advance();
            return value;
        case Token::Symbol:
            break;
        case Token::End:
            fail(QStringLiteral("Value expected"));
        }
        if (isSymbol(u'[')) {
            value.kind = Value::Set;
            advance();
            while (!isSymbol(u']')) {
                if (token_.kind == Token::Identifier)
                    value.elements << token_.text;
                else if (token_.kind == Token::Integer)
                    value.elements << QString::number(token_.integer);
                else
                    fail(QStringLiteral("Set element expected"));
                advance();
                if (isSymbol(u','))
                    advance();
                else if (!isSymbol(u']'))
                    fail(QStringLiteral("',' or ']' expected"));
            }
            advance();
            return value;
        }
        if (isSymbol(u'(')) {
            value.kind = Value::List;
            advance();
            while (!isSymbol(u')')) {
                if (token_.kind == Token::End)
                    fail(QStringLiteral("')' expected"));
                value.items.push_back(parseValue(depth + 1));
                if (isSymbol(u','))
                    advance();
            }
            advance();
            return value;
        }
        if (isSymbol(u'<')) {
            value.kind = Value::Collection;
            advance();
            while (!isSymbol(u'>')) {
                if (!isWord("item"))
                    fail(QStringLiteral("'item' expected"));
                advance();
                std::vector<Property> item;
                while (!isWord("end")) {
                    if (token_.kind == Token::End)
                        fail(QStringLiteral("'end' expected"));
                    item.push_back(parseProperty(depth + 1));
                }
                advance();
                value.collection.push_back(std::move(item));
            }
            advance();
            return value;
        }
        fail(QStringLiteral("Value expected, found '%1'").arg(token_.symbol));
    }

    Lexer lexer_;
    Token token_;
};

bool plainCharacter(QChar c)
{
    return c.unicode() >= 32 && c.unicode() < 127 && c != u'\'';
}

} // namespace

Object Parse(const QString& text)
{
    Parser parser(text);
    return parser.parseTop();
}

QString QuoteString(const QString& value, const QString& indent, int maxLine)
{
    if (value.isEmpty())
        return QStringLiteral("''");
    QStringList pieces;
    QString piece;
    bool quoted = false;
    for (const QChar c : value) {
        if (piece.size() >= maxLine) {
            if (quoted)
                piece += u'\'';
            pieces << piece;
            piece.clear();
            quoted = false;
        }
        if (plainCharacter(c) || c == u'\'') {
            if (!quoted) {
                piece += u'\'';
                quoted = true;
            }
            piece += c;
            if (c == u'\'')
                piece += u'\'';
        } else {
            if (quoted) {
                piece += u'\'';
                quoted = false;
            }
            piece += u'#' + QString::number(c.unicode());
        }
    }
    if (quoted)
        piece += u'\'';
    pieces << piece;
    return pieces.join(QStringLiteral(" +\n") + indent);
}

} // namespace formtext
