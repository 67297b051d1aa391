#include "common/forms/LangSourceScan.h"

#include <QRegularExpression>
#include <QSet>

namespace {

QChar at(const QString& text, qsizetype i)
{
    return i >= 0 && i < text.size() ? text.at(i) : QChar();
}

bool identifierChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Decodes the escapes of an ordinary literal's body.
QString decodeEscapes(const QString& body)
{
    QString out;
    out.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c != u'\\' || i + 1 >= body.size()) {
            out += c;
            continue;
        }
        const QChar e = body.at(++i);
        switch (e.unicode()) {
        case 'n':
            out += u'\n';
            break;
        case 'r':
            out += u'\r';
            break;
        case 't':
            out += u'\t';
            break;
        case '0':
            out += QChar(0);
            break;
        default:
            out += e;
            break; // \" \\ \' and the rest as themselves
        }
    }
    return out;
}

struct RawLiteral {
    qsizetype Start;
    qsizetype End; // one past the closing quote
    int Line;
    QString Text;
};

// The single literals of text in order; comments blanked in code.
QList<RawLiteral> scanLiterals(const QString& text, QString& code)
{
    QList<RawLiteral> found;
    code = text;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'\n') {
            ++line;
            ++i;
        } else if (c == u'/' && at(text, i + 1) == u'/') {
            while (i < n && text.at(i) != u'\n')
                code[i++] = u' ';
        } else if (c == u'/' && at(text, i + 1) == u'*') {
            while (i < n && !(text.at(i) == u'*' && at(text, i + 1) == u'/')) {
                if (text.at(i) == u'\n')
                    ++line;
                else
                    code[i] = u' ';
                ++i;
            }
            if (i < n) {
                code[i] = code[i + 1] = u' ';
                i += 2;
            }
        } else if (c == u'\'') {
            // A digit separator (1'000) or a character literal ('"', u'\\').
            if (at(text, i - 1).isDigit() && identifierChar(at(text, i + 1))) {
                ++i;
                continue;
            }
            ++i;
            while (i < n && text.at(i) != u'\'' && text.at(i) != u'\n')
                i += text.at(i) == u'\\' ? 2 : 1;
            ++i;
        } else if (c == u'"') {
            // The prefix (u8, u, U, L, R and their mixes) belongs to the literal.
            qsizetype start = i;
            while (start > 0 && QStringLiteral("u8ULR").contains(text.at(start - 1))
                && !identifierChar(at(text, start - 2)))
                --start;
            const bool raw = start < i && text.at(i - 1) == u'R';
            const int startLine = line;
            if (raw) {
                const qsizetype open = text.indexOf(u'(', i);
                const QString delimiter = text.mid(i + 1, open - i - 1);
                const QString closing = u')' + delimiter + u'"';
                const qsizetype close = open < 0 ? -1 : text.indexOf(closing, open);
                const qsizetype end = close < 0 ? n : close + closing.size();
                const QString body
                    = open < 0 ? QString() : text.mid(open + 1, (close < 0 ? n : close) - open - 1);
                line += static_cast<int>(body.count(u'\n'));
                found << RawLiteral {start, end, startLine, body};
                i = end;
            } else {
                qsizetype j = i + 1;
                while (j < n && text.at(j) != u'"' && text.at(j) != u'\n')
                    j += text.at(j) == u'\\' ? 2 : 1;
                found << RawLiteral {start, j + 1, startLine, decodeEscapes(text.mid(i + 1, j - i - 1))};
                i = j + 1;
            }
        } else {
            ++i;
        }
    }
    return found;
}

} // namespace

QList<TSourceLiteral> SourceLiterals(const QString& text, QString* codeOut)
{
    QString code;
    const QList<RawLiteral> raw = scanLiterals(text, code);
    QList<TSourceLiteral> literals;
    qsizetype previousEnd = -1;
    for (const RawLiteral& r : raw) {
        // "a" "b" is one text when only blanks stand between them.
        const bool adjacent
            = previousEnd >= 0 && code.mid(previousEnd, r.Start - previousEnd).trimmed().isEmpty();
        if (adjacent && !literals.isEmpty())
            literals.last().Text += r.Text;
        else
            literals << TSourceLiteral {r.Start, r.Line, r.Text};
        previousEnd = r.End;
    }
    if (codeOut)
        *codeOut = code;
    return literals;
}

void TLangSourceScan::Scan(TLangCatalogue& catalogue, const QString& text, const QString& file,
    const std::function<QString(const QString&)>& readFile) const
{
    static const QRegularExpression formMessage(QStringLiteral(
        R"re(GetFormMessage\(\s*QStringLiteral\(\s*"(\w+)"\s*\)\s*,\s*QStringLiteral\(\s*"(\w*)"\s*\)\s*,\s*\w+\s*,\s*(?:QStringLiteral|QString::fromUtf8)\(\s*$)re"));
    static const QRegularExpression langMessage(QStringLiteral(
        R"re(GetLangMessage\(\s*\w+\s*,\s*QStringLiteral\(\s*"(\w+)"\s*\)\s*,\s*QStringLiteral\(\s*"(\w*)"\s*\)\s*,\s*(?:QStringLiteral|QString::fromUtf8)\(\s*$)re"));
    QList<std::pair<QRegularExpression, const TMessageHelper*>> own;
    for (const TMessageHelper& helper : helpers_)
        if (helper.File == file)
            own.append({QRegularExpression(helper.Pattern), &helper});

    QSet<QString> controlTexts;
    for (const TControlTexts& control : controls_)
        if (control.File == file)
            for (const auto& attribute : control.Attributes)
                controlTexts.insert(attribute.second);

    QString code;
    const QList<TSourceLiteral> literals = SourceLiterals(text, &code);
    for (const TSourceLiteral& literal : literals) {
        if (!HasHanText(literal.Text) || controlTexts.contains(literal.Text))
            continue;
        const QString origin = file + u':' + QString::number(literal.Line);
        // The code in front of the default, back to the start of its statement
        // at most a few lines up: enough for a call split over lines.
        const qsizetype from = std::max<qsizetype>(0, literal.Start - 400);
        const QString before = code.mid(from, literal.Start - from);
        QString package;
        QString name;
        bool matched = false;
        for (const QRegularExpression* pattern : {&formMessage, &langMessage}) {
            const QRegularExpressionMatch m = pattern->match(before);
            if (m.hasMatch()) {
                package = m.captured(1);
                name = m.captured(2);
                matched = true;
                break;
            }
        }
        for (qsizetype h = 0; !matched && h < own.size(); ++h) {
            const QRegularExpressionMatch m = own[h].first.match(before);
            if (!m.hasMatch())
                continue;
            const TMessageHelper& helper = *own[h].second;
            matched = true;
            package = helper.Package;
            name = m.captured(1);
            if (!helper.KeyFile.isEmpty()) {
                const QRegularExpression key(helper.KeyPattern.arg(QRegularExpression::escape(name)));
                name = key.match(readFile(helper.KeyFile)).captured(1);
            }
        }
        if (matched && !name.isEmpty())
            catalogue.Add({package, name, QStringLiteral("Msg"), literal.Text, origin});
        else
            catalogue.AddStray({origin, literal.Text});
    }
}
