#pragma once
// Report expressions: the texts of group expressions and expression controls.
//
//   ClientDataSet1.TO001 + '-' + TO002         field references and text joins
//   IF(TP004 = '', 'new', UPPER(TP004))         functions
//   SUM(ClientDataSet1.TP006) > 100 AND NOT X   aggregates, comparisons, logic
//
// Grammar, loosest first: OR; AND; NOT; comparisons (= <> < > <= >=);
// + and -; * and /; unary minus; operands: numbers (12, 1.5), strings in
// single or double quotes (a doubled quote stands for itself), TRUE, FALSE,
// field references (Source.Field, or Field alone for the default source),
// function calls, parentheses. Names and keywords ignore case.
//
// Functions: IF(c, a, b), UPPER(s), LOWER(s), COPY(s, start, count) (start
// counts from 1), STR(x), FORMATNUMERIC(format, x) (format digits '0', '#',
// grouping ',', decimal '.', anything else literal), DATE, TIME (today and the
// time now as text yyyy/MM/dd and hh:mm:ss), and the aggregates SUM(x),
// COUNT (rows), MAX(x), MIN(x), AVERAGE(x).
//
// Prepare parses the text once and resolves every field reference against
// the sources of the environment; a text that does not parse, an unknown
// function, a wrong argument count or a field the source lacks raises
// EQRExprError naming the expression and the fault. Value() then only
// evaluates. Values are QVariants: invalid (null), double, QString or bool.
// "+" adds numbers and joins anything else as text; a null counts as 0 or as
// an empty text; dividing by zero gives null (it prints empty) rather than
// stopping the report; comparing a number with a text compares texts.
// Aggregates collect the rows given to Update() since the last Reset().

#include "runtime/report/QRDataSource.h"
#include "runtime/system/Exceptions.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

ZORV_EXCEPTION_CLASS(EQRExprError, Exception)

struct TQRExprEnvironment {
    // The source of that name (case-insensitive), null when there is none.
    std::function<TQRDataSource*(const QString& name)> FindSource;
    // The source of bare field names; may be null.
    TQRDataSource* DefaultSource = nullptr;
};

namespace qrexpr {
struct Node;
}

class TQRExpression {
public:
    TQRExpression();
    ~TQRExpression();
    TQRExpression(TQRExpression&&) noexcept;
    TQRExpression& operator=(TQRExpression&&) noexcept;

    // Parses and binds; throws EQRExprError (and then holds nothing).
    void Prepare(const QString& text, const TQRExprEnvironment& environment);
    bool Prepared() const { return root_ != nullptr; }
    const QString& Text() const { return text_; }
    // The value at the current rows; null when not prepared.
    QVariant Value() const;
    // The value as printed: numbers in general form (up to 15 digits).
    QString Text(const QVariant& value) const;
    QString ValueText() const { return Text(Value()); }
    bool IsAggregate() const { return !aggregates_.empty(); }
    // Aggregates take the current row.
    void Update();
    // Aggregates start over.
    void Reset();

    // Whether text parses at all (field references are not resolved).
    static bool IsValid(const QString& text, QString* error = nullptr);
    // Text form of a value, as Text() gives it.
    static QString ToText(const QVariant& value);

private:
    QString text_;
    std::unique_ptr<qrexpr::Node> root_;
    std::vector<qrexpr::Node*> aggregates_;
};
