// Tokenizer and recursive-descent parser of report expressions.

#include "runtime/report/QRExprParser.h"

#include <QHash>

namespace qrexpr {
namespace {

enum class Tok { End, Number, String, Name, Op, LParen, RParen, Comma };

struct Token {
    Tok kind = Tok::End;
    QString text;
    double number = 0;
    int pos = 0;
};

struct FunctionInfo {
    Fn fn;
    int minArgs;
    int maxArgs;
};

const QHash<QString, FunctionInfo>& functions()
{
    static const QHash<QString, FunctionInfo> table = {
        {QStringLiteral("IF"), {Fn::If, 3, 3}},
        {QStringLiteral("UPPER"), {Fn::Upper, 1, 1}},
        {QStringLiteral("LOWER"), {Fn::Lower, 1, 1}},
        {QStringLiteral("COPY"), {Fn::Copy, 3, 3}},
        {QStringLiteral("STR"), {Fn::Str, 1, 1}},
        {QStringLiteral("FORMATNUMERIC"), {Fn::FormatNumeric, 2, 2}},
        {QStringLiteral("DATE"), {Fn::Date, 0, 0}},
        {QStringLiteral("TIME"), {Fn::Time, 0, 0}},
        {QStringLiteral("SUM"), {Fn::Sum, 1, 1}},
        {QStringLiteral("COUNT"), {Fn::Count, 0, 1}},
        {QStringLiteral("MAX"), {Fn::Max, 1, 1}},
        {QStringLiteral("MIN"), {Fn::Min, 1, 1}},
        {QStringLiteral("AVERAGE"), {Fn::Average, 1, 1}},
    };
    return table;
}

class Parser {
public:
    explicit Parser(const QString& text)
        : text_(text)
    {
        tokenize();
    }

    std::unique_ptr<Node> Run()
    {
        if (tokens_.size() == 1)
            fail(0, QStringLiteral("the expression is empty"));
        auto node = orExpr();
        if (peek().kind != Tok::End)
            fail(peek().pos, QStringLiteral("unexpected '%1'").arg(peek().text));
        return node;
    }

private:
    [[noreturn]] void fail(int pos, const QString& reason) const
    {
        throw EQRExprError(
            QStringLiteral("Expression '%1': %2 at position %3").arg(text_, reason).arg(pos + 1));
    }

    void tokenize()
    {
        int i = 0;
        const int n = static_cast<int>(text_.size());
        while (i < n) {
            const QChar c = text_.at(i);
            if (c.isSpace()) {
                ++i;
                continue;
            }
            Token t;
            t.pos = i;
            if (c.isDigit() || (c == u'.' && i + 1 < n && text_.at(i + 1).isDigit())) {
                int j = i;
                while (j < n && (text_.at(j).isDigit() || text_.at(j) == u'.'))
                    ++j;
                t.kind = Tok::Number;
                t.text = text_.mid(i, j - i);
                bool ok = false;
                t.number = t.text.toDouble(&ok);
                if (!ok)
                    fail(i, QStringLiteral("bad number '%1'").arg(t.text));
                i = j;
            } else if (c == u'\'' || c == u'"') {
                int j = i + 1;
                QString value;
                bool closed = false;
                while (j < n) {
                    if (text_.at(j) == c) {
                        if (j + 1 < n && text_.at(j + 1) == c) {
                            value += c;
                            j += 2;
                            continue;
                        }
                        closed = true;
                        ++j;
                        break;
                    }
                    value += text_.at(j++);
                }
                if (!closed)
                    fail(i, QStringLiteral("the text is not closed"));
                t.kind = Tok::String;
                t.text = value;
                i = j;
            } else if (c.isLetter() || c == u'_') {
                int j = i;
                // Dotted names (Source.Field) are one token.
                while (
                    j < n && (text_.at(j).isLetterOrNumber() || text_.at(j) == u'_' || text_.at(j) == u'.'))
                    ++j;
                t.kind = Tok::Name;
                t.text = text_.mid(i, j - i);
                i = j;
            } else if (c == u'(' || c == u')' || c == u',') {
                t.kind = c == u'(' ? Tok::LParen : c == u')' ? Tok::RParen : Tok::Comma;
                t.text = c;
                ++i;
            } else if (QStringLiteral("+-*/=<>").contains(c)) {
                t.kind = Tok::Op;
                t.text = c;
                if (i + 1 < n && c == u'<' && (text_.at(i + 1) == u'>' || text_.at(i + 1) == u'='))
                    t.text += text_.at(++i);
                else if (i + 1 < n && c == u'>' && text_.at(i + 1) == u'=')
                    t.text += text_.at(++i);
                ++i;
            } else {
                fail(i, QStringLiteral("unexpected character '%1'").arg(c));
            }
            tokens_.push_back(t);
        }
        Token end;
        end.pos = n;
        tokens_.push_back(end);
    }

    const Token& peek() const { return tokens_[pos_]; }
    Token take() { return tokens_[pos_++]; }
    bool isKeyword(const char* word) const
    {
        return peek().kind == Tok::Name && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool isOp(const char* op) const { return peek().kind == Tok::Op && peek().text == QLatin1String(op); }

    static std::unique_ptr<Node> binary(Op op, std::unique_ptr<Node> left, std::unique_ptr<Node> right)
    {
        auto node = std::make_unique<Node>();
        node->op = op;
        node->args.push_back(std::move(left));
        node->args.push_back(std::move(right));
        return node;
    }

    std::unique_ptr<Node> orExpr()
    {
        auto left = andExpr();
        while (isKeyword("OR")) {
            take();
            left = binary(Op::Or, std::move(left), andExpr());
        }
        return left;
    }

    std::unique_ptr<Node> andExpr()
    {
        auto left = notExpr();
        while (isKeyword("AND")) {
            take();
            left = binary(Op::And, std::move(left), notExpr());
        }
        return left;
    }

    std::unique_ptr<Node> notExpr()
    {
        if (isKeyword("NOT")) {
            take();
            auto node = std::make_unique<Node>();
            node->op = Op::Not;
            node->args.push_back(notExpr());
            return node;
        }
        return comparison();
    }

    std::unique_ptr<Node> comparison()
    {
        auto left = additive();
        static const QHash<QString, Op> ops
            = {{"=", Op::Eq}, {"<>", Op::Ne}, {"<", Op::Lt}, {">", Op::Gt}, {"<=", Op::Le}, {">=", Op::Ge}};
        while (peek().kind == Tok::Op && ops.contains(peek().text)) {
            const Op op = ops.value(take().text);
            left = binary(op, std::move(left), additive());
        }
        return left;
    }

    std::unique_ptr<Node> additive()
    {
        auto left = multiplicative();
        while (isOp("+") || isOp("-")) {
            const Op op = take().text == u"+" ? Op::Add : Op::Sub;
            left = binary(op, std::move(left), multiplicative());
        }
        return left;
    }

    std::unique_ptr<Node> multiplicative()
    {
        auto left = unary();
        while (isOp("*") || isOp("/")) {
            const Op op = take().text == u"*" ? Op::Mul : Op::Div;
            left = binary(op, std::move(left), unary());
        }
        return left;
    }

    std::unique_ptr<Node> unary()
    {
        if (isOp("-") || isOp("+")) {
            const bool negate = take().text == u"-";
            auto operand = unary();
            if (!negate)
                return operand;
            auto node = std::make_unique<Node>();
            node->op = Op::Neg;
            node->args.push_back(std::move(operand));
            return node;
        }
        return operand();
    }

    std::unique_ptr<Node> operand()
    {
        const Token t = take();
        auto node = std::make_unique<Node>();
        switch (t.kind) {
        case Tok::Number:
            node->constant = t.number;
            return node;
        case Tok::String:
            node->constant = t.text;
            return node;
        case Tok::LParen: {
            node = orExpr();
            if (peek().kind != Tok::RParen)
                fail(peek().pos, QStringLiteral("')' expected"));
            take();
            return node;
        }
        case Tok::Name:
            return name(t);
        case Tok::End:
            fail(t.pos, QStringLiteral("the expression ends too early"));
        default:
            fail(t.pos, QStringLiteral("unexpected '%1'").arg(t.text));
        }
    }

    std::unique_ptr<Node> name(const Token& t)
    {
        auto node = std::make_unique<Node>();
        const QString upper = t.text.toUpper();
        if (peek().kind == Tok::LParen
            || (functions().contains(upper) && functions().value(upper).minArgs == 0)) {
            const auto found = functions().constFind(upper);
            if (found == functions().cend())
                fail(t.pos, QStringLiteral("unknown function %1").arg(t.text));
            node->op = Op::Call;
            node->fn = found->fn;
            if (peek().kind == Tok::LParen) {
                take();
                if (peek().kind != Tok::RParen) {
                    node->args.push_back(orExpr());
                    while (peek().kind == Tok::Comma) {
                        take();
                        node->args.push_back(orExpr());
                    }
                }
                if (peek().kind != Tok::RParen)
                    fail(peek().pos, QStringLiteral("')' expected"));
                take();
            }
            const int count = static_cast<int>(node->args.size());
            if (count < found->minArgs || count > found->maxArgs)
                fail(t.pos,
                    QStringLiteral("%1 takes %2 argument(s), not %3")
                        .arg(upper)
                        .arg(found->minArgs == found->maxArgs
                                ? QString::number(found->minArgs)
                                : QStringLiteral("%1 to %2").arg(found->minArgs).arg(found->maxArgs))
                        .arg(count));
            return node;
        }
        if (upper == u"TRUE" || upper == u"FALSE") {
            node->constant = upper == u"TRUE";
            return node;
        }
        node->op = Op::Field;
        const int dot = static_cast<int>(t.text.lastIndexOf(u'.'));
        if (dot == 0 || dot == t.text.size() - 1)
            fail(t.pos, QStringLiteral("bad field reference '%1'").arg(t.text));
        node->sourceName = dot > 0 ? t.text.left(dot) : QString();
        node->fieldName = dot > 0 ? t.text.mid(dot + 1) : t.text;
        return node;
    }

    QString text_;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
};

} // namespace

std::unique_ptr<Node> Parse(const QString& text)
{
    return Parser(text).Run();
}

} // namespace qrexpr
