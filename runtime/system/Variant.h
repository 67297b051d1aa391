#pragma once
// Variant: the dynamically typed value of the original runtime. Arguments of
// every late-bound call, criteria values, query rows and configuration tables
// travel as Variants.
//
// Kinds: Unassigned, Null, Boolean, Integer, Float, Date (day number, 0 = no
// date), String, Array (one or two dimensions, any bounds, value semantics),
// Object (an automation object, shared) and Reference (points at another
// Variant, so that a callee can fill an out-argument).
//
// Conversions follow the original runtime: the text of Null and Unassigned is
// empty, Unassigned reads as 0 and false, a text that is not a number raises
// EConvertError (EVariantTypeCastError for kinds that never convert).

#include "runtime/system/Exceptions.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <initializer_list>
#include <memory>
#include <variant>
#include <vector>

class IAutoObject;
class Variant;
class QDataStream;

using AutoObjectPtr = std::shared_ptr<IAutoObject>;
using VariantList = QList<Variant>;

// Bytes is the runtime's array of bytes: blobs, images and data packets travel as one.
enum class VarType {
    Unassigned,
    Null,
    Boolean,
    Integer,
    Float,
    Date,
    String,
    Array,
    Object,
    Reference,
    Bytes
};

// Element storage of an array Variant: one or two dimensions with their bounds.
struct VariantArrayData {
    int dims = 1;
    int low[2] = {0, 0};
    int high[2] = {-1, -1};
    std::vector<Variant> items; // row-major: [i][j] at (i - low0) * count1 + (j - low1)

    int count(int dim) const { return high[dim] - low[dim] + 1; }
};

class Variant {
public:
    Variant() = default; // Unassigned
    Variant(bool value);
    Variant(int value);
    Variant(unsigned value);
    Variant(long value);
    Variant(long long value);
    Variant(double value);
    Variant(const QString& value);
    Variant(const char* utf8);
    Variant(const char16_t* text);
    Variant(QChar ch);
    Variant(const QByteArray& bytes);
    // An automation object (any class deriving from IAutoObject).
    template<typename T>
    Variant(std::shared_ptr<T> object)
        : value_(AutoObjectPtr(std::move(object)))
    {
        if (!std::get<AutoObjectPtr>(value_))
            value_ = std::monostate {};
    }

    static Variant Null();
    static Variant FromDate(double dayNumber);
    // A reference to target: a callee that assigns through it fills target.
    // The target must outlive the reference.
    static Variant Ref(Variant& target);

    // One-dimensional array with bounds low..high, elements Unassigned.
    // Bounds must leave a count of 0 or more (high >= low - 1), at most
    // INT_MAX elements in all, and a high bound below INT_MAX (so that a
    // loop "i <= HighBound" ends); others raise EVariantBadIndexError.
    static Variant CreateArray(int low, int high);
    // Two-dimensional array [low1..high1, low2..high2], bounds as above.
    static Variant CreateArray(int low1, int high1, int low2, int high2);
    // Zero-based one-dimensional array of the given elements.
    static Variant ArrayOf(std::initializer_list<Variant> items);
    static Variant ArrayOf(const VariantList& items);

    // Kind of the value; a reference answers the kind of its target.
    VarType Type() const;
    bool IsReference() const { return std::holds_alternative<Variant*>(value_); }
    bool IsEmpty() const { return Type() == VarType::Unassigned; }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsEmptyOrNull() const { return IsEmpty() || IsNull(); }
    bool IsArray() const { return Type() == VarType::Array; }
    bool IsObject() const { return Type() == VarType::Object; }
    bool IsString() const { return Type() == VarType::String; }
    bool IsNumeric() const;
    bool IsBytes() const { return Type() == VarType::Bytes; }

    // The value a reference points at (itself for any other kind).
    const Variant& Deref() const;
    Variant& Deref();
    // Replaces the value; through a reference, replaces the target's value.
    void Assign(const Variant& value);

    QString ToString() const;
    int ToInt() const;
    qint64 ToInt64() const;
    double ToDouble() const;
    bool ToBool() const;
    double ToDate() const;
    AutoObjectPtr ToObject() const; // nullptr unless an object
    // The bytes of a Bytes value; a string gives its UTF-8 form; empty kinds give none.
    QByteArray ToBytes() const;

    // Arrays. Dimensions are numbered from 1, as the original runtime does.
    int DimCount() const; // 0 for a value that is not an array
    int LowBound(int dim = 1) const;
    int HighBound(int dim = 1) const;
    // Grows (or shrinks) the last dimension to end at newHigh, keeping
    // contents; newHigh is held to the bounds rule of CreateArray.
    void Redim(int newHigh);
    const Variant& At(int index) const;
    Variant& At(int index);
    const Variant& At(int row, int column) const;
    Variant& At(int row, int column);
    const Variant& operator[](int index) const { return At(index); }
    Variant& operator[](int index) { return At(index); }
    // The elements of a one-dimensional array in order.
    VariantList Elements() const;

    // Late binding on an object Variant: call a member, read or write a property.
    // Arguments may be references (Variant::Ref) for out-values.
    Variant Call(const QString& member, VariantList args = {}) const;
    Variant Get(const QString& property, VariantList args = {}) const;
    void Set(const QString& property, const Variant& value) const;

    // Strict equality for tests and look-ups: same kind and value; integers and
    // floats compare by value; arrays by bounds and elements.
    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

    // Readable form for test messages: Null, Unassigned, 12, 1.5, "text",
    // Date(2011-10-28), [1, "a"] and [[...], [...]] for two dimensions.
    QString DebugText() const;
    static QString TypeName(VarType type);

private:
    friend QDataStream& operator>>(QDataStream& in, Variant& value);
    using ArrayPtr = std::shared_ptr<VariantArrayData>;
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct DateValue {
        double day = 0;
    };

    const VariantArrayData& array() const;
    VariantArrayData& mutableArray(); // detaches a shared array
    [[noreturn]] void castError(VarType to) const;

    std::variant<std::monostate, NullTag, bool, qint64, double, DateValue, QString, ArrayPtr, AutoObjectPtr,
        Variant*, QByteArray>
        value_;
};

// Streaming of plain values and arrays (objects and references cannot travel).
QDataStream& operator<<(QDataStream& out, const Variant& value);
QDataStream& operator>>(QDataStream& in, Variant& value);

// GoogleTest prints Variants through this.
void PrintTo(const Variant& value, std::ostream* os);

// The original runtime's free functions, for code that reads like it.
inline bool VarIsNull(const Variant& v)
{
    return v.IsNull();
}
inline bool VarIsEmpty(const Variant& v)
{
    return v.IsEmpty();
}
inline bool VarIsArray(const Variant& v)
{
    return v.IsArray();
}
inline QString VarToStr(const Variant& v)
{
    return v.ToString();
}
inline int VarArrayDimCount(const Variant& v)
{
    return v.DimCount();
}
inline int VarArrayLowBound(const Variant& v, int dim)
{
    return v.LowBound(dim);
}
inline int VarArrayHighBound(const Variant& v, int dim)
{
    return v.HighBound(dim);
}
inline void VarArrayRedim(Variant& v, int high)
{
    v.Redim(high);
}
