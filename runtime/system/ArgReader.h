#pragma once
// Reading the arguments a caller hands over as Variants: the shell's arrays to
// a program's controller, a client's arrays to the application server, the
// requests of the manager's service objects, criteria values, and the
// argument list of a late-bound call.
//
// What goes in (kept by reference: the arguments must outlive the reader):
//   - a Variant holding a one-dimensional array, or a reference to one: its
//     elements are read by position, counted from the array's low bound
//     (position 0 is the first element whatever the bounds are);
//   - a Variant holding anything else: no positions at all, or, through
//     Spread(), the value itself at position 0 (for callers that take "one
//     value or an array of values"); a two-dimensional array has no positions
//     either way;
//   - a VariantList (the arguments of TAutoObject's members): position i is
//     list item i.
//
// What is guaranteed:
//   - At() of a position that does not exist (negative, or at or past Count())
//     is Unassigned; an element that is a reference reads as its target;
//   - the Try readers convert the way Variant does (ToString, ToInt, ToBool)
//     and answer nullopt instead of raising, for a missing position as for an
//     element of the wrong kind ("abc" as a number, an array as a text);
//   - the lenient readers never raise and fall back as each one says;
//   - the Require readers raise EArgumentError naming the position and the
//     kind wanted; EArgumentError is an EConvertError, so callers guarding a
//     conversion catch it too.
//
// What is left alone: the arguments are never changed. Filling an
// out-argument through a reference is TAutoObject::SetOut's job.

#include "runtime/system/Exceptions.h"
#include "runtime/system/Variant.h"

#include <QString>
#include <optional>

// An argument missing or of the wrong kind where one is required.
ZORV_EXCEPTION_CLASS(EArgumentError, EConvertError)

class TArgReader {
public:
    // The elements of a one-dimensional array; nothing for any other value.
    explicit TArgReader(const Variant& args);
    // The items of a late-bound call's argument list.
    explicit TArgReader(const VariantList& args);
    // Like the array constructor, except that a value that is no array reads
    // as an array holding just that value (Unassigned has no positions).
    static TArgReader Spread(const Variant& args);
    // A reader keeps a pointer to its arguments: never to a temporary.
    explicit TArgReader(Variant&&) = delete;
    explicit TArgReader(VariantList&&) = delete;
    static TArgReader Spread(Variant&&) = delete;

    int Count() const { return count_; }
    bool Has(int position) const { return position >= 0 && position < count_; }
    // The element, dereferenced; Unassigned when there is none.
    const Variant& At(int position) const;

    std::optional<QString> TryText(int position) const;
    std::optional<int> TryInt(int position) const;
    std::optional<bool> TryBool(int position) const;

    // The element as text; fallback when it is missing or has no text (an
    // array, an object, bytes). Null and Unassigned read as the empty text.
    QString Text(int position, const QString& fallback = QString()) const;
    // A number (rounded as Variant rounds) or a text holding a whole number
    // (spaces around it allowed); fallback for anything else, Null, Unassigned
    // and the empty text included.
    int Int(int position, int fallback) const;
    // A flag as clients write flags: True, a non-zero number, or the text "Y",
    // "YES", "T", "TRUE" or "1" (any case, spaces around it allowed); false
    // for anything else, a missing element included.
    bool Flag(int position) const;

    // The element; raises EArgumentError when the position does not exist.
    const Variant& Require(int position) const;
    QString RequireText(int position) const;
    int RequireInt(int position) const;
    bool RequireBool(int position) const;

private:
    TArgReader() = default;
    template<typename T, typename Convert> std::optional<T> tryRead(int position, Convert convert) const;
    [[noreturn]] void refuse(int position, const char* wanted) const;

    const Variant* array_ = nullptr; // a one-dimensional array, dereferenced
    const VariantList* list_ = nullptr;
    const Variant* single_ = nullptr; // Spread() of a value that is no array
    int low_ = 0;
    int count_ = 0;
};
