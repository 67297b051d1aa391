#pragma once
// The parse tree of report expressions (private to the expression unit).

#include "runtime/report/QRExpr.h"

#include <QVariant>
#include <memory>
#include <vector>

namespace qrexpr {

enum class Op { Constant, Field, Neg, Not, Add, Sub, Mul, Div, Eq, Ne, Lt, Gt, Le, Ge, And, Or, Call };
enum class Fn { If, Upper, Lower, Copy, Str, FormatNumeric, Date, Time, Sum, Count, Max, Min, Average };

struct Node {
    Op op = Op::Constant;
    Fn fn = Fn::If;
    QVariant constant;
    // Field references: the name as written until bound, then source and column.
    QString sourceName;
    QString fieldName;
    TQRDataSource* source = nullptr;
    int field = -1;
    std::vector<std::unique_ptr<Node>> args;
    // Aggregate state.
    double sum = 0;
    qint64 count = 0;
    QVariant best;

    bool IsAggregate() const
    {
        return op == Op::Call
            && (fn == Fn::Sum || fn == Fn::Count || fn == Fn::Max || fn == Fn::Min || fn == Fn::Average);
    }
};

// Parses text into a tree; throws EQRExprError with the position of the fault.
std::unique_ptr<Node> Parse(const QString& text);

} // namespace qrexpr
