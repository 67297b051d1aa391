#include "suite/appserver/JoinOrder.h"

#include "runtime/system/Exceptions.h"
#include "suite/appserver/SqlTokens.h"

#include <QList>
#include <QSet>

using namespace sqltokens;

namespace {

struct TableRef {
    QString table;
    QString alias; // the table's own name when the text gives none
};

struct Join {
    TableRef ref;
    int begin = 0; // token range of "LEFT JOIN ... ON ...", up to the next join
    int end = 0;
    int condBegin = 0; // range in the significant-token list
    int condEnd = 0;
    bool atMostOneRow = false;
    QSet<int> refersTo; // joins named in the ON condition (indices into the joins)
};

bool isAnyWord(const Token& t, std::initializer_list<const char*> words)
{
    for (const char* w : words)
        if (isWord(t, w))
            return true;
    return false;
}

class JoinChain {
public:
    JoinChain(const QString& sql, const TJoinSchema& schema)
        : schema_(schema)
    {
        try {
            toks_ = tokenize(sql);
        } catch (const Exception&) {
            ok_ = false; // the translator reports such texts
        }
    }

    // The reordered text, or an empty string when the text stays as it is.
    QString Reordered()
    {
        if (!ok_ || !indexSignificant() || !findFromClause() || !parseFromClause() || !analyseConditions())
            return {};
        QList<bool> deferred(joins_.size(), false);
        bool anyDeferred = false;
        for (int j = 0; j < joins_.size(); ++j) {
            deferred[j] = !joins_[j].atMostOneRow;
            for (int k : std::as_const(joins_[j].refersTo))
                deferred[j] = deferred[j] || deferred[k];
            anyDeferred = anyDeferred || deferred[j];
        }
        // Nothing to gain when the deferred joins already come last.
        int firstDeferred = deferred.indexOf(true);
        if (!anyDeferred || !deferred.mid(firstDeferred).contains(false))
            return {};
        QString out = text(0, joins_.first().begin);
        for (bool late : {false, true})
            for (int j = 0; j < joins_.size(); ++j)
                if (deferred[j] == late)
                    out += segment(joins_[j]);
        return out + text(joins_.last().end, toks_.size());
    }

private:
    QString text(int from, int to) const
    {
        QString s;
        for (int i = from; i < to; ++i)
            s += toks_[i].text;
        return s;
    }
    QString segment(const Join& j) const
    {
        QString s = text(j.begin, j.end);
        if (!s.isEmpty() && !s.back().isSpace())
            s += u' ';
        return s;
    }
    const Token& sig(int k) const { return toks_[sig_[k]]; }
    bool wordAt(int k) const { return k < clauseEnd_ && sig(k).kind == Tok::Word; }

    bool indexSignificant()
    {
        int depth = 0;
        for (int i = 0; i < toks_.size(); ++i) {
            const Token& t = toks_[i];
            if (!significant(t))
                continue;
            if (isPunct(t, ")") && --depth < 0)
                return false;
            sig_ << i;
            depth_ << depth;
            if (isPunct(t, "("))
                ++depth;
        }
        return !sig_.isEmpty() && isWord(sig(0), "SELECT");
    }

    bool findFromClause()
    {
        from_ = -1;
        clauseEnd_ = sig_.size();
        bool ordered = false;
        for (int k = 1; k < sig_.size(); ++k) {
            if (depth_[k] != 0)
                continue;
            const Token& t = sig(k);
            if (from_ < 0) {
                if (isPunct(t, "*")) // "SELECT *" (or a product): columns would follow the join order
                    return false;
                if (isWord(t, "FROM"))
                    from_ = k;
                continue;
            }
            if (isAnyWord(t, {"UNION", "INTERSECT", "EXCEPT"}))
                return false;
            if (clauseEnd_ == sig_.size()
                && isAnyWord(t, {"WHERE", "GROUP", "ORDER", "HAVING", "LIMIT", "WINDOW"}))
                clauseEnd_ = k;
            ordered = ordered || isWord(t, "ORDER");
        }
        if (from_ > 0)
            noteColumnAliases();
        return from_ > 0 && ordered;
    }

    // The names the select list gives its columns ("X.A AS N", "X.A N",
    // "X.A AS [N]", "X.A AS 'N'"): SQLite lets an ON condition use them for
    // the column they stand for.
    void noteColumnAliases()
    {
        for (int k = 1; k < from_; ++k) {
            const Token& t = sig(k);
            const bool quoted = t.kind == Tok::QuotedName || t.kind == Tok::String;
            if (depth_[k] != 0 || (t.kind != Tok::Word && !quoted))
                continue;
            const Token& before = sig(k - 1);
            const bool named = isWord(before, "AS")
                || ((isPunct(sig(k + 1), ",") || k + 1 == from_) && !isPunct(before, ",")
                    && !isAnyWord(before, {"SELECT", "DISTINCT", "ALL"}));
            if (named)
                aliases_.insert((quoted ? t.text.mid(1, t.text.size() - 2) : t.text).toUpper());
        }
    }

    bool parseTableRef(int& k, TableRef& ref) const
    {
        if (!wordAt(k) || isKeyword(sig(k)) || !schema_.HasTable(sig(k).text))
            return false;
        ref.table = sig(k).text;
        ref.alias = ref.table.mid(ref.table.lastIndexOf(u'.') + 1);
        ++k;
        if (k < clauseEnd_ && isWord(sig(k), "AS")) {
            ++k;
            if (!wordAt(k) || isKeyword(sig(k)))
                return false;
            ref.alias = sig(k++).text;
        } else if (wordAt(k) && !isKeyword(sig(k))) {
            ref.alias = sig(k++).text;
        }
        return true;
    }

    static bool isKeyword(const Token& t)
    {
        return isAnyWord(t,
            {"LEFT", "RIGHT", "FULL", "INNER", "CROSS", "NATURAL", "OUTER", "JOIN", "ON", "USING", "AS",
                "WHERE", "GROUP", "ORDER", "HAVING", "LIMIT", "WINDOW"});
    }

    bool parseFromClause()
    {
        int k = from_ + 1;
        if (!parseTableRef(k, base_))
            return false;
        while (k < clauseEnd_) {
            Join j;
            if (!isWord(sig(k), "LEFT"))
                return false;
            j.begin = sig_[k++];
            if (k < clauseEnd_ && isWord(sig(k), "OUTER"))
                ++k;
            if (k >= clauseEnd_ || !isWord(sig(k++), "JOIN"))
                return false;
            if (!parseTableRef(k, j.ref) || k >= clauseEnd_ || !isWord(sig(k++), "ON"))
                return false;
            j.condBegin = k;
            while (k < clauseEnd_ && !(depth_[k] == 0 && isWord(sig(k), "LEFT"))) {
                const Token& t = sig(k);
                if (depth_[k] == 0
                    && (isPunct(t, ",")
                        || isAnyWord(t, {"JOIN", "INNER", "RIGHT", "FULL", "CROSS", "NATURAL", "USING"})))
                    return false;
                // "?" takes the caller's parameters in the order of the text:
                // moving it would hand a condition another one's value.
                if (isPunct(t, "?"))
                    return false;
                ++k;
            }
            j.condEnd = k;
            if (j.condEnd == j.condBegin)
                return false;
            j.end = k < sig_.size() ? sig_[k] : toks_.size();
            joins_ << j;
        }
        return !joins_.isEmpty();
    }

    // The reference a name belongs to: 0 the base table, j + 1 join j;
    // -1 for a word that is no column, -2 for a name that cannot be placed.
    int owner(const QString& word, int self) const
    {
        const qsizetype dot = word.lastIndexOf(u'.');
        if (dot >= 0) {
            const QString qualifier = word.left(dot);
            if (base_.alias.compare(qualifier, Qt::CaseInsensitive) == 0)
                return 0;
            for (int j = 0; j <= self; ++j)
                if (joins_[j].ref.alias.compare(qualifier, Qt::CaseInsensitive) == 0)
                    return j + 1;
            return -2; // a later table, or one the statement does not join
        }
        QList<int> owners;
        if (schema_.HasColumn(base_.table, word))
            owners << 0;
        for (int j = 0; j < joins_.size(); ++j)
            if (schema_.HasColumn(joins_[j].ref.table, word))
                owners << j + 1;
        if (owners.isEmpty())
            return -1;
        if (owners.size() > 1 || owners.first() > self + 1)
            return -2; // ambiguous, or a table joined later: leave the text to the engine
        return owners.first();
    }

    bool analyseConditions()
    {
        for (int j = 0; j < joins_.size(); ++j) {
            Join& join = joins_[j];
            QStringList keyColumns;
            bool hasOr = false;
            QList<int> term; // significant-token positions of the current AND term at depth 0
            const int level = depth_[join.condBegin];
            for (int k = join.condBegin; k <= join.condEnd; ++k) {
                const bool last = k == join.condEnd;
                if (!last) {
                    const Token& t = sig(k);
                    // A quoted name, or a name put together around a ".", may
                    // stand for a column of any table: its owner is unknown.
                    if (t.kind == Tok::QuotedName || isPunct(t, "."))
                        return false;
                    if (t.kind == Tok::Word && !(k + 1 < sig_.size() && isPunct(sig(k + 1), "("))) {
                        const int o = owner(t.text, j);
                        if (o == -2 || (o == -1 && aliases_.contains(t.text.toUpper())))
                            return false;
                        if (o > 0 && o != j + 1)
                            join.refersTo.insert(o - 1);
                    }
                    if (depth_[k] == level && isWord(t, "OR"))
                        hasOr = true;
                    if (!(depth_[k] == level && isWord(t, "AND"))) {
                        term << k;
                        continue;
                    }
                }
                if (term.size() == 3 && isPunct(sig(term[1]), "=")) {
                    for (int side : {0, 2}) {
                        const Token& col = sig(term[side]);
                        const Token& other = sig(term[2 - side]);
                        if (col.kind == Tok::Word && owner(col.text, j) == j + 1
                            && !(other.kind == Tok::Word && owner(other.text, j) == j + 1))
                            keyColumns << col.text.mid(col.text.lastIndexOf(u'.') + 1);
                    }
                }
                term.clear();
            }
            join.atMostOneRow
                = !hasOr && !keyColumns.isEmpty() && schema_.CoversUniqueKey(join.ref.table, keyColumns);
        }
        return true;
    }

    const TJoinSchema& schema_;
    QList<Token> toks_;
    bool ok_ = true;
    QList<int> sig_; // positions of the significant tokens
    QList<int> depth_; // parenthesis depth of each
    int from_ = -1;
    int clauseEnd_ = 0; // first significant token after the FROM clause
    TableRef base_;
    QList<Join> joins_;
    QSet<QString> aliases_; // upper-case names of the select list's columns
};

} // namespace

QString DeferFanOutJoins(const QString& sql, const TJoinSchema& schema)
{
    if (!schema.HasTable || !schema.HasColumn || !schema.CoversUniqueKey)
        return sql;
    const QString reordered = JoinChain(sql, schema).Reordered();
    return reordered.isEmpty() ? sql : reordered;
}
