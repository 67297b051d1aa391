#include "runtime/system/ArgReader.h"

#include <gtest/gtest.h>

namespace {

// [low..] array of the given elements.
Variant arrayFrom(int low, const VariantList& items)
{
    Variant a = Variant::CreateArray(low, low + static_cast<int>(items.size()) - 1);
    for (int i = 0; i < items.size(); ++i)
        a[low + i] = items[i];
    return a;
}

} // namespace

TEST(ArgReader, PositionsCountFromTheLowBoundWhateverTheShapeOfTheCall)
{
    const VariantList items {"a", 2, true};
    Variant target = arrayFrom(5, items);
    const Variant ref = Variant::Ref(target);
    const Variant zeroBased = Variant::ArrayOf(items);
    for (const Variant* args : std::initializer_list<const Variant*> {&target, &ref, &zeroBased}) {
        const TArgReader r(*args);
        ASSERT_EQ(r.Count(), 3) << args->DebugText().toStdString();
        EXPECT_EQ(r.At(0), Variant("a"));
        EXPECT_EQ(r.At(2), Variant(true));
        EXPECT_TRUE(r.At(3).IsEmpty());
        EXPECT_TRUE(r.At(-1).IsEmpty());
        EXPECT_FALSE(r.Has(3));
    }
    const TArgReader list(items);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.At(1), Variant(2));
}

TEST(ArgReader, ValuesThatAreNoArrayHaveNoPositionsUnlessSpread)
{
    const Variant text("TO001");
    const Variant grid = Variant::CreateArray(0, 1, 0, 1);
    const Variant none;
    EXPECT_EQ(TArgReader(text).Count(), 0);
    EXPECT_EQ(TArgReader(grid).Count(), 0);
    EXPECT_EQ(TArgReader::Spread(text).Count(), 1);
    EXPECT_EQ(TArgReader::Spread(text).Text(0), "TO001");
    EXPECT_TRUE(TArgReader::Spread(text).At(1).IsEmpty());
    EXPECT_EQ(TArgReader::Spread(grid).Count(), 0);
    EXPECT_EQ(TArgReader::Spread(none).Count(), 0);
    const Variant null = Variant::Null();
    EXPECT_EQ(TArgReader::Spread(null).Count(), 1); // Null is a value given
    const Variant array = Variant::ArrayOf({"x", "y"});
    EXPECT_EQ(TArgReader::Spread(array).Text(1), "y");
}

TEST(ArgReader, ElementsThatAreReferencesReadAsTheirTargets)
{
    Variant out(7);
    Variant args = Variant::CreateArray(0, 0);
    args[0] = Variant::Ref(out);
    const TArgReader r(args);
    EXPECT_EQ(r.At(0), Variant(7));
    EXPECT_EQ(r.RequireInt(0), 7);
    out = Variant("now text");
    EXPECT_EQ(r.Text(0), "now text");
    EXPECT_FALSE(r.TryInt(0).has_value());
}

TEST(ArgReader, TryReadersRefuseMissingAndUnconvertibleElements)
{
    const Variant args = Variant::ArrayOf(
        {"12", "abc", Variant::ArrayOf({1}), Variant(), Variant::Null(), "false", 1.5, QByteArray("raw")});
    const TArgReader r(args);
    EXPECT_EQ(r.TryInt(0), 12);
    EXPECT_EQ(r.TryInt(1), std::nullopt);
    EXPECT_EQ(r.TryInt(2), std::nullopt);
    EXPECT_EQ(r.TryInt(3), 0); // Unassigned given reads as 0, as Variant reads it
    EXPECT_EQ(r.TryInt(8), std::nullopt);
    EXPECT_EQ(r.TryBool(5), false);
    EXPECT_EQ(r.TryBool(1), std::nullopt);
    EXPECT_EQ(r.TryBool(3), false);
    EXPECT_EQ(r.TryText(2), std::nullopt);
    EXPECT_EQ(r.TryText(4), QString());
    EXPECT_EQ(r.TryText(6), "1.5");
    EXPECT_EQ(r.TryText(7), std::nullopt);
    EXPECT_EQ(r.TryText(8), std::nullopt);
}

TEST(ArgReader, LenientReadersFallBack)
{
    const Variant args = Variant::ArrayOf(
        {" 42 ", "1.5", 2.5, true, Variant::Null(), "", "$10", Variant::ArrayOf({1}), 1e12});
    const TArgReader r(args);
    EXPECT_EQ(r.Int(0, -1), 42);
    EXPECT_EQ(r.Int(1, -1), -1); // no rounding of texts
    EXPECT_EQ(r.Int(2, -1), 2); // numbers round half to even
    EXPECT_EQ(r.Int(3, 9), -1); // True is -1, as the runtime reads it
    EXPECT_EQ(r.Int(4, 9), 9);
    EXPECT_EQ(r.Int(5, 9), 9);
    EXPECT_EQ(r.Int(6, 9), 9); // no hexadecimal
    EXPECT_EQ(r.Int(7, 9), 9);
    EXPECT_EQ(r.Int(8, 9), 9); // out of range
    EXPECT_EQ(r.Int(20, 9), 9);
    EXPECT_EQ(r.Text(7, "none"), "none");
    EXPECT_EQ(r.Text(4, "none"), "");
    EXPECT_EQ(r.Text(20, "none"), "none");
}

TEST(ArgReader, FlagsAsClientsWriteThem)
{
    const Variant yes = Variant::ArrayOf({true, 2, -0.5, "y", " Yes ", "t", "TRUE", "1"});
    const Variant no = Variant::ArrayOf(
        {false, 0, 0.0, "N", "0", "on", "2", "", Variant::Null(), Variant(), Variant::ArrayOf({true})});
    const TArgReader y(yes), n(no);
    for (int i = 0; i < y.Count(); ++i)
        EXPECT_TRUE(y.Flag(i)) << y.At(i).DebugText().toStdString();
    for (int i = 0; i < n.Count(); ++i)
        EXPECT_FALSE(n.Flag(i)) << n.At(i).DebugText().toStdString();
    EXPECT_FALSE(y.Flag(y.Count()));
}

TEST(ArgReader, RequireReadersNameThePositionAndWhatWasWanted)
{
    const Variant args = Variant::ArrayOf({"abc", 3});
    const TArgReader r(args);
    EXPECT_EQ(r.RequireText(0), "abc");
    EXPECT_EQ(r.RequireInt(1), 3);
    EXPECT_TRUE(r.RequireBool(1));
    try {
        r.RequireInt(0);
        FAIL() << "no error for a text that is no number";
    } catch (const EArgumentError& e) {
        EXPECT_EQ(e.Message(), "Argument 0 is not an integer: \"abc\"");
        EXPECT_EQ(e.ClassName(), "EArgumentError");
    }
    try {
        r.Require(2);
        FAIL() << "no error for a missing argument";
    } catch (const EArgumentError& e) {
        EXPECT_EQ(e.Message(), "Argument 2 is missing (2 given)");
    }
    // Callers that guard conversions catch it as a conversion error.
    EXPECT_THROW(r.RequireBool(0), EConvertError);
}
