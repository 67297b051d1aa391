#include "common/DataRights.h"

#include "common/LibConditions.h"
#include "common/PowerData.h"
#include "common/SqlScan.h"
#include "common/VariantElements.h"
#include "runtime/system/Exceptions.h"

#include <algorithm>

namespace {

// Deep enough for any statement a report builds; a deeper text is refused
// rather than risk the stack or leave a sub-select without its filter.
constexpr int MaxNesting = 200;

enum class TMarkKind { From, Where, ClauseEnd, Or };

// A keyword on the outer level of one statement.
struct TMark {
    TMarkKind Kind;
    qsizetype Pos;
    qsizetype End;
};

// A parenthesised part of one statement; its inside is a statement of its own.
struct TGroup {
    qsizetype OpenPos;
    qsizetype InnerEnd; // position of ")" or the statement's end
    bool Closed;
    std::size_t FirstToken; // first token inside
    std::size_t EndToken; // the ")" token, or the statement's end token
};

struct TLevel {
    std::vector<TGroup> Groups;
    std::vector<TMark> Marks;
};

class TRightsWeaver {
public:
    TRightsWeaver(const TSqlScan& scan, Variant rights, const QString& databaseName)
        : scan_(scan)
        , text_(scan.Text())
        , rights_(std::move(rights))
        , databaseName_(databaseName)
    {
    }

    // The statement in tokens [firstToken, endToken) and text [begin, end),
    // woven.
    QString Weave(std::size_t firstToken, std::size_t endToken, qsizetype begin, qsizetype end, int depth);

private:
    TLevel readLevel(std::size_t firstToken, std::size_t endToken, qsizetype end) const;
    // Text [from, to) with every sub-select woven.
    QString woven(const TLevel& level, qsizetype from, qsizetype to, int depth);
    // Text [from, to) with the inside of every parenthesis, every literal
    // and every comment blanked: only the tables this statement reads count.
    QString masked(const TLevel& level, qsizetype from, qsizetype to) const;
    bool hasOr(const TLevel& level, qsizetype from, qsizetype to) const;

    const TSqlScan& scan_;
    QStringView text_;
    Variant rights_;
    QString databaseName_;
};

TMarkKind markKind(const TSqlScan& scan, std::size_t token, bool& isMark)
{
    static const QLatin1String clauseEnds[]
        = {QLatin1String("GROUP"), QLatin1String("ORDER"), QLatin1String("HAVING"), QLatin1String("UNION"),
            QLatin1String("INTERSECT"), QLatin1String("EXCEPT"), QLatin1String("LIMIT")};
    isMark = true;
    if (scan.IsKeyword(token, QLatin1String("FROM")))
        return TMarkKind::From;
    if (scan.IsKeyword(token, QLatin1String("WHERE")))
        return TMarkKind::Where;
    if (scan.IsKeyword(token, QLatin1String("OR")))
        return TMarkKind::Or;
    for (const QLatin1String& word : clauseEnds)
        if (scan.IsKeyword(token, word))
            return TMarkKind::ClauseEnd;
    isMark = false;
    return TMarkKind::ClauseEnd;
}

TLevel TRightsWeaver::readLevel(std::size_t firstToken, std::size_t endToken, qsizetype end) const
{
    TLevel level;
    const std::vector<TSqlToken>& tokens = scan_.Tokens();
    std::size_t t = firstToken;
    while (t < endToken) {
        const TSqlToken& token = tokens[t];
        if (token.TokenKind == TSqlToken::Open) {
            const std::size_t close = static_cast<std::size_t>(token.Match);
            const bool closed = close < endToken;
            level.Groups.push_back(
                {token.Pos, closed ? tokens[close].Pos : end, closed, t + 1, closed ? close : endToken});
            t = closed ? close + 1 : endToken;
            continue;
        }
        bool isMark = false;
        const TMarkKind kind = markKind(scan_, t, isMark);
        if (isMark)
            level.Marks.push_back({kind, token.Pos, token.Pos + token.Length});
        ++t;
    }
    return level;
}

QString TRightsWeaver::woven(const TLevel& level, qsizetype from, qsizetype to, int depth)
{
    QString out;
    qsizetype pos = from;
    for (const TGroup& group : level.Groups) {
        if (group.OpenPos < from || group.OpenPos >= to)
            continue;
        out += text_.mid(pos, group.OpenPos + 1 - pos);
        out += Weave(group.FirstToken, group.EndToken, group.OpenPos + 1, group.InnerEnd, depth + 1);
        pos = group.InnerEnd;
    }
    out += text_.mid(pos, to - pos);
    return out;
}

QString TRightsWeaver::masked(const TLevel& level, qsizetype from, qsizetype to) const
{
    QString out = text_.mid(from, to - from).toString();
    for (const TGroup& group : level.Groups)
        if (group.OpenPos >= from && group.OpenPos < to)
            std::fill(out.begin() + (group.OpenPos + 1 - from), out.begin() + (group.InnerEnd - from), u' ');
    for (const auto& [pos, length] : scan_.Quoted()) {
        const qsizetype begin = std::max(pos, from);
        const qsizetype end = std::min(pos + length, to);
        if (begin < end)
            std::fill(out.begin() + (begin - from), out.begin() + (end - from), u' ');
    }
    return out;
}

bool TRightsWeaver::hasOr(const TLevel& level, qsizetype from, qsizetype to) const
{
    return std::any_of(level.Marks.begin(), level.Marks.end(),
        [&](const TMark& m) { return m.Kind == TMarkKind::Or && m.Pos >= from && m.Pos < to; });
}

QString TRightsWeaver::Weave(
    std::size_t firstToken, std::size_t endToken, qsizetype begin, qsizetype end, int depth)
{
    if (depth > MaxNesting)
        throw Exception(QStringLiteral("The statement is nested more than %1 levels deep").arg(MaxNesting));
    const TLevel level = readLevel(firstToken, endToken, end);
    const std::vector<TMark>& marks = level.Marks;
    // The clause after a mark ends at the next FROM, WHERE or clause keyword.
    auto nextStop = [&](std::size_t after) {
        std::size_t j = after + 1;
        while (j < marks.size() && marks[j].Kind == TMarkKind::Or)
            ++j;
        return j;
    };

    QString out;
    qsizetype pos = begin;
    for (std::size_t k = 0; k < marks.size(); ++k) {
        if (marks[k].Kind != TMarkKind::From)
            continue;
        out += woven(level, pos, marks[k].End, depth);
        const std::size_t j = nextStop(k);
        const qsizetype clauseEnd = j < marks.size() ? marks[j].Pos : end;
        const QString tables = woven(level, marks[k].End, clauseEnd, depth);
        QString filter;
        BuildRightsFilter(rights_, databaseName_, masked(level, marks[k].End, clauseEnd), filter);

        if (j < marks.size() && marks[j].Kind == TMarkKind::Where) {
            // The filter goes first, the statement's own condition after it.
            out += QLatin1Char(' ') + tables + QStringLiteral(" WHERE ");
            if (!filter.isEmpty())
                out += filter + QStringLiteral(" AND ");
            const qsizetype conditionStart = marks[j].End;
            const std::size_t stop = nextStop(j);
            const qsizetype conditionEnd = stop < marks.size() ? marks[stop].Pos : end;
            if (!filter.isEmpty() && hasOr(level, conditionStart, conditionEnd)) {
                out += QStringLiteral(" (") + woven(level, conditionStart, conditionEnd, depth)
                    + QStringLiteral(") ");
                pos = conditionEnd;
            } else {
                if (conditionStart < end)
                    out += QLatin1Char(' ');
                pos = conditionStart;
            }
            k = j;
        } else if (j < marks.size()) {
            // No WHERE: the filter becomes one, in front of ORDER BY and the like.
            out += tables;
            if (!filter.isEmpty())
                out += QStringLiteral(" WHERE ") + filter;
            out += QLatin1Char(' ');
            pos = clauseEnd;
            k = j - 1;
        } else {
            out += QLatin1Char(' ') + tables;
            if (!filter.isEmpty())
                out += QStringLiteral(" WHERE ") + filter;
            pos = end;
        }
    }
    out += woven(level, pos, end, depth);
    return out;
}

} // namespace

QString ApplyDataRights(const QString& sql, const Variant& powerData, const QString& databaseName)
{
    if (ElementText(powerData, PowerDataRightsApply) != QLatin1String("Y"))
        return sql;
    const TSqlScan scan(sql);
    TRightsWeaver weaver(scan, ElementAt(powerData, PowerDataRightsList), databaseName);
    return weaver.Weave(0, scan.Tokens().size(), 0, sql.size(), 0);
}
