#include "runtime/report/QRExpr.h"

#include "runtime/report/QRExprParser.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>

using qrexpr::Fn;
using qrexpr::Node;
using qrexpr::Op;

namespace {

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

double toNumber(const QVariant& v)
{
    if (!v.isValid())
        return 0;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    if (isNumber(v))
        return v.toDouble();
    bool ok = false;
    const double d = v.toString().trimmed().toDouble(&ok);
    return ok ? d : 0;
}

bool toBool(const QVariant& v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool();
    if (isNumber(v))
        return v.toDouble() != 0;
    const QString s = v.toString();
    return s.compare(u"TRUE", Qt::CaseInsensitive) == 0 || s == u"1";
}

// Formats x by a picture of '0' (digit always), '#' (digit when needed), ','
// (thousands grouping anywhere in the integer part) and '.' (decimal point);
// other characters are copied. Only the shape of the common money pictures
// ("#,##0.00", "0.000", "#") is honoured, which is what report layouts use.
QString formatNumeric(const QString& picture, double x)
{
    const int point = static_cast<int>(picture.indexOf(u'.'));
    const QString intPart = point < 0 ? picture : picture.left(point);
    const QString fracPart = point < 0 ? QString() : picture.mid(point + 1);
    int minFrac = 0;
    int maxFrac = 0;
    for (QChar c : fracPart) {
        if (c == u'0')
            ++minFrac, ++maxFrac;
        else if (c == u'#')
            ++maxFrac;
    }
    int minInt = 0;
    for (QChar c : intPart)
        if (c == u'0')
            ++minInt;
    const bool grouping = intPart.contains(u',');
    QString digits = QString::number(std::fabs(x), 'f', maxFrac);
    QString whole = digits.section(u'.', 0, 0);
    QString frac = digits.contains(u'.') ? digits.section(u'.', 1) : QString();
    while (frac.size() > minFrac && frac.endsWith(u'0'))
        frac.chop(1);
    if (whole == u"0" && minInt == 0)
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(u'0');
    if (grouping)
        for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
            whole.insert(i, u',');
    QString prefix;
    QString suffix;
    for (QChar c : intPart)
        if (c != u'0' && c != u'#' && c != u',')
            prefix += c;
    for (QChar c : fracPart)
        if (c != u'0' && c != u'#')
            suffix += c;
    // No "-0.00": the sign shows only when a digit that prints is not zero.
    const QString shown = whole + frac;
    const bool negative
        = x < 0 && std::any_of(shown.cbegin(), shown.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    return (negative ? QStringLiteral("-") : QString()) + prefix + whole
        + (frac.isEmpty() ? QString() : u'.' + frac) + suffix;
}

int compareValues(const QVariant& a, const QVariant& b)
{
    if ((isNumber(a) || !a.isValid()) && (isNumber(b) || !b.isValid())) {
        const double x = toNumber(a);
        const double y = toNumber(b);
        return x < y ? -1 : x > y ? 1 : 0;
    }
    return QString::compare(TQRExpression::ToText(a), TQRExpression::ToText(b));
}

QVariant evaluate(const Node& node);

QVariant call(const Node& node)
{
    auto arg = [&](size_t i) { return evaluate(*node.args[i]); };
    switch (node.fn) {
    case Fn::If:
        return toBool(arg(0)) ? arg(1) : arg(2);
    case Fn::Upper:
        return TQRExpression::ToText(arg(0)).toUpper();
    case Fn::Lower:
        return TQRExpression::ToText(arg(0)).toLower();
    case Fn::Copy: {
        const QString s = TQRExpression::ToText(arg(0));
        const int start = std::max(1, static_cast<int>(toNumber(arg(1))));
        const int count = std::max(0, static_cast<int>(toNumber(arg(2))));
        return s.mid(start - 1, count);
    }
    case Fn::Str:
        return TQRExpression::ToText(toNumber(arg(0)));
    case Fn::FormatNumeric:
        return formatNumeric(TQRExpression::ToText(arg(0)), toNumber(arg(1)));
    case Fn::Date:
        return QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    case Fn::Time:
        return QTime::currentTime().toString(QStringLiteral("hh:mm:ss"));
    case Fn::Sum:
        return node.sum;
    case Fn::Count:
        return static_cast<double>(node.count);
    case Fn::Max:
    case Fn::Min:
        return node.best;
    case Fn::Average:
        return node.count ? QVariant(node.sum / static_cast<double>(node.count)) : QVariant(0.0);
    }
    return {};
}

QVariant arithmetic(Op op, const QVariant& a, const QVariant& b)
{
    auto numeric = [](const QVariant& v) { return isNumber(v) || !v.isValid(); };
    if (op == Op::Add && (!numeric(a) || !numeric(b)))
        return TQRExpression::ToText(a) + TQRExpression::ToText(b);
    const double x = toNumber(a);
    const double y = toNumber(b);
    switch (op) {
    case Op::Add:
        return x + y;
    case Op::Sub:
        return x - y;
    case Op::Mul:
        return x * y;
    case Op::Div:
        return y == 0 ? QVariant() : QVariant(x / y);
    default:
        return {};
    }
}

QVariant evaluate(const Node& node)
{
    switch (node.op) {
    case Op::Constant:
        return node.constant;
    case Op::Field:
        return node.source ? node.source->FieldValue(node.field) : QVariant();
    case Op::Neg:
        return -toNumber(evaluate(*node.args[0]));
    case Op::Not:
        return !toBool(evaluate(*node.args[0]));
    case Op::And:
        return toBool(evaluate(*node.args[0])) && toBool(evaluate(*node.args[1]));
    case Op::Or:
        return toBool(evaluate(*node.args[0])) || toBool(evaluate(*node.args[1]));
    case Op::Add:
    case Op::Sub:
    case Op::Mul:
    case Op::Div:
        return arithmetic(node.op, evaluate(*node.args[0]), evaluate(*node.args[1]));
    case Op::Eq:
        return compareValues(evaluate(*node.args[0]), evaluate(*node.args[1])) == 0;
    case Op::Ne:
        return compareValues(evaluate(*node.args[0]), evaluate(*node.args[1])) != 0;
    case Op::Lt:
        return compareValues(evaluate(*node.args[0]), evaluate(*node.args[1])) < 0;
    case Op::Gt:
        return compareValues(evaluate(*node.args[0]), evaluate(*node.args[1])) > 0;
    case Op::Le:
        return compareValues(evaluate(*node.args[0]), evaluate(*node.args[1])) <= 0;
    case Op::Ge:
        return compareValues(evaluate(*node.args[0]), evaluate(*node.args[1])) >= 0;
    case Op::Call:
        return call(node);
    }
    return {};
}

void bind(Node& node, const TQRExprEnvironment& env, const QString& text, std::vector<Node*>& aggregates,
    bool insideAggregate)
{
    if (node.op == Op::Field) {
        TQRDataSource* source = node.sourceName.isEmpty()
            ? env.DefaultSource
            : (env.FindSource ? env.FindSource(node.sourceName) : nullptr);
        if (!source)
            throw EQRExprError(node.sourceName.isEmpty()
                    ? QStringLiteral("Expression '%1': no data set for field %2").arg(text, node.fieldName)
                    : QStringLiteral("Expression '%1': data set %2 not found").arg(text, node.sourceName));
        node.field = source->FieldIndex(node.fieldName);
        if (node.field < 0)
            throw EQRExprError(
                QStringLiteral("Expression '%1': field %2 not found").arg(text, node.fieldName));
        node.source = source;
    }
    if (node.IsAggregate()) {
        if (insideAggregate)
            throw EQRExprError(QStringLiteral("Expression '%1': an aggregate cannot hold another").arg(text));
        aggregates.push_back(&node);
    }
    for (auto& child : node.args)
        bind(*child, env, text, aggregates, insideAggregate || node.IsAggregate());
}

} // namespace

TQRExpression::TQRExpression() = default;
TQRExpression::~TQRExpression() = default;
TQRExpression::TQRExpression(TQRExpression&&) noexcept = default;
TQRExpression& TQRExpression::operator=(TQRExpression&&) noexcept = default;

void TQRExpression::Prepare(const QString& text, const TQRExprEnvironment& environment)
{
    root_.reset();
    aggregates_.clear();
    text_ = text;
    std::unique_ptr<Node> root = qrexpr::Parse(text);
    std::vector<Node*> aggregates;
    bind(*root, environment, text, aggregates, false);
    root_ = std::move(root);
    aggregates_ = std::move(aggregates);
}

QVariant TQRExpression::Value() const
{
    return root_ ? evaluate(*root_) : QVariant();
}

QString TQRExpression::Text(const QVariant& value) const
{
    return ToText(value);
}

QString TQRExpression::ToText(const QVariant& value)
{
    if (!value.isValid())
        return {};
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (isNumber(value))
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
}

void TQRExpression::Update()
{
    for (Node* node : aggregates_) {
        if (node->fn == Fn::Count) {
            ++node->count;
            continue;
        }
        const QVariant v = evaluate(*node->args[0]);
        if (node->fn == Fn::Max || node->fn == Fn::Min) {
            if (!v.isValid())
                continue;
            const int order = node->best.isValid() ? compareValues(v, node->best) : 0;
            if (!node->best.isValid() || (node->fn == Fn::Max ? order > 0 : order < 0))
                node->best = v;
            continue;
        }
        node->sum += toNumber(v);
        ++node->count;
    }
}

void TQRExpression::Reset()
{
    for (Node* node : aggregates_) {
        node->sum = 0;
        node->count = 0;
        node->best = QVariant();
    }
}

bool TQRExpression::IsValid(const QString& text, QString* error)
{
    try {
        qrexpr::Parse(text);
        return true;
    } catch (const EQRExprError& e) {
        if (error)
            *error = e.Message();
        return false;
    }
}
