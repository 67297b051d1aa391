#include "runtime/system/Variant.h"
#include "runtime/system/AutoObject.h"
#include "runtime/system/DateTime.h"

#include <QDataStream>
#include <QIODevice>
#include <gtest/gtest.h>

#include <limits>

TEST(VariantConversion, TextOfEmptyKindsAndScalars)
{
    EXPECT_EQ(Variant().ToString(), QString());
    EXPECT_EQ(Variant::Null().ToString(), QString());
    EXPECT_EQ(Variant(true).ToString(), QStringLiteral("True"));
    EXPECT_EQ(Variant(-42).ToString(), QStringLiteral("-42"));
    EXPECT_EQ(Variant(1.5).ToString(), QStringLiteral("1.5"));
    EXPECT_EQ(Variant(0.1 + 0.2).ToString(), QStringLiteral("0.3"));
    EXPECT_EQ(Variant(1e20).ToString(), QStringLiteral("1E20"));
    EXPECT_EQ(Variant(1e-7).ToString(), QStringLiteral("1E-7"));
    EXPECT_EQ(Variant::FromDate(datetime::EncodeDate(2011, 10, 28)).ToString(), QStringLiteral("2011/10/28"));
    EXPECT_THROW(Variant::CreateArray(0, 1).ToString(), EVariantTypeCastError);
}

TEST(VariantConversion, NumbersFromTextRaiseConvertErrors)
{
    EXPECT_EQ(Variant(" 12 ").ToInt(), 12);
    EXPECT_EQ(Variant("$1F").ToInt(), 31);
    EXPECT_EQ(Variant("2.5").ToInt(), 2); // round half to even, as the runtime does
    EXPECT_EQ(Variant("3.5").ToInt(), 4);
    EXPECT_EQ(Variant().ToInt(), 0);
    EXPECT_DOUBLE_EQ(Variant("-1.25").ToDouble(), -1.25);
    EXPECT_THROW(Variant("12a").ToInt(), EConvertError);
    EXPECT_THROW(Variant("").ToInt(), EConvertError);
    EXPECT_THROW(Variant("abc").ToDouble(), EConvertError);
    EXPECT_THROW(Variant("99999999999").ToInt(), EConvertError);
    EXPECT_THROW(Variant::Null().ToInt(), EConvertError); // a type cast error is a conversion error
    EXPECT_TRUE(Variant("TRUE").ToBool());
    EXPECT_FALSE(Variant("0").ToBool());
    EXPECT_THROW(Variant("yes").ToBool(), EConvertError);
}

TEST(VariantArray, BoundsGrowthAndValueSemantics)
{
    Variant table = Variant::CreateArray(0, 1, 0, 0);
    EXPECT_EQ(table.DimCount(), 2);
    table.At(0, 0) = "srv1";
    table.At(1, 0) = 211;
    table.Redim(2);
    table.At(0, 2) = "srv3";
    EXPECT_EQ(table.HighBound(2), 2);
    EXPECT_EQ(table.At(0, 0), Variant("srv1"));
    EXPECT_EQ(table.At(1, 0), Variant(211));
    EXPECT_TRUE(table.At(1, 1).IsEmpty());
    EXPECT_EQ(table.At(0, 2), Variant("srv3"));
    EXPECT_THROW(table.At(2, 0), EVariantBadIndexError);
    EXPECT_THROW(table.At(0), EVariantBadIndexError);

    Variant list = Variant::CreateArray(1, 3);
    EXPECT_EQ(list.LowBound(1), 1);
    list[1] = "a";
    Variant copy = list;
    copy[1] = "b"; // arrays are values: the copy changes alone
    EXPECT_EQ(list[1], Variant("a"));
    EXPECT_EQ(copy[1], Variant("b"));
    EXPECT_EQ(Variant::ArrayOf({}).HighBound(1), -1);
    EXPECT_EQ(Variant::ArrayOf({1, "x"}).DebugText(), QStringLiteral("[1, \"x\"]"));
    EXPECT_EQ(list.DebugText(), QStringLiteral("[\"a\", Unassigned, Unassigned]@1"));
}

TEST(VariantArray, BoundsAtTheEndsOfIntAreRefusedOrKeptExactly)
{
    constexpr int lo = std::numeric_limits<int>::min();
    constexpr int hi = std::numeric_limits<int>::max();
    // An empty array at the lowest int would need a high bound below it;
    // wrapped, it reads as lo..hi, a count that does not fit an int.
    EXPECT_THROW(Variant::CreateArray(lo, hi), EVariantBadIndexError);
    // A high bound a loop "i <= high" cannot pass.
    EXPECT_THROW(Variant::CreateArray(-2, hi - 1), EVariantBadIndexError);
    EXPECT_THROW(Variant::CreateArray(hi, hi), EVariantBadIndexError);
    EXPECT_THROW(Variant::CreateArray(0, 0, hi - 1, hi), EVariantBadIndexError);
    EXPECT_THROW(Variant::CreateArray(0, 65535, 0, 65535), EVariantBadIndexError);
    // Bounds far from zero that fit are kept as given.
    const Variant low = Variant::CreateArray(lo, lo);
    EXPECT_EQ(low.LowBound(), lo);
    EXPECT_EQ(low.HighBound(), lo);
    const Variant top = Variant::CreateArray(hi - 2, hi - 1);
    int visited = 0;
    for (int i = top.LowBound(); i <= top.HighBound(); ++i)
        ++visited;
    EXPECT_EQ(visited, 2);
    Variant grown = Variant::CreateArray(hi - 2, hi - 2);
    EXPECT_THROW(grown.Redim(hi), EVariantBadIndexError);
    EXPECT_EQ(grown.HighBound(), hi - 2);
    Variant shrunk = Variant::CreateArray(lo, lo);
    EXPECT_THROW(shrunk.Redim(hi - 1), EVariantBadIndexError);
}

TEST(VariantEquality, KindsAndNumbers)
{
    EXPECT_EQ(Variant(2), Variant(2.0));
    EXPECT_NE(Variant("2"), Variant(2));
    EXPECT_EQ(Variant::Null(), Variant::Null());
    EXPECT_NE(Variant::Null(), Variant());
    EXPECT_NE(Variant::ArrayOf({1, 2}), Variant::ArrayOf({1, 3}));
    EXPECT_EQ(Variant::ArrayOf({Variant::ArrayOf({"a"}), Variant::Null()}),
        Variant::ArrayOf({Variant::ArrayOf({"a"}), Variant::Null()}));
}

TEST(VariantStream, RoundTripKeepsKindsAndBounds)
{
    Variant table = Variant::CreateArray(0, 1, 2, 3);
    table.At(0, 2) = "中文";
    table.At(1, 3) = Variant::FromDate(40844.5);
    const Variant original = Variant::ArrayOf(
        {Variant::Null(), Variant(), true, 7, 2.25, table, Variant(QByteArray("\0\xff", 2))});
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << original;
    }
    QDataStream in(bytes);
    Variant back;
    in >> back;
    EXPECT_EQ(in.status(), QDataStream::Ok);
    EXPECT_EQ(back, original);
    EXPECT_EQ(back[5].LowBound(2), 2);

    QByteArray junk("\x07\x00\x00\x00\x01\x7f\xff\xff\xff\x80\x00\x00\x00", 13);
    QDataStream bad(junk);
    Variant out;
    bad >> out;
    EXPECT_NE(bad.status(), QDataStream::Ok);
}

namespace {

class Counter : public TAutoObject {
public:
    Counter()
        : TAutoObject(QStringLiteral("Test.Counter"))
    {
        AddMethod(QStringLiteral("GetSysInfo"), [](VariantList& args) {
            SetOut(args, 1, Variant::ArrayOf({"Sys001", "1"}));
            return Variant(Arg(args, 0).ToString() == QLatin1String("01"));
        });
        AddProperty(
            QStringLiteral("Total"), [this](VariantList&) { return Variant(total_); },
            [this](const Variant& v) { total_ = v.ToInt(); });
    }

private:
    int total_ = 0;
};

} // namespace

TEST(LateBinding, MembersByNameWithOutArguments)
{
    AutoObjectFactory::Register(QStringLiteral("Test.Counter"), [] { return std::make_shared<Counter>(); });
    const Variant counter = CreateOleObject(QStringLiteral("TEST.counter"));
    Variant rows;
    EXPECT_TRUE(counter.Call(QStringLiteral("getsysinfo"), {"01", Variant::Ref(rows)}).ToBool());
    EXPECT_EQ(rows, Variant::ArrayOf({"Sys001", "1"}));

    counter.Set(QStringLiteral("TOTAL"), 5);
    EXPECT_EQ(counter.Get(QStringLiteral("total")), Variant(5));
    EXPECT_THROW(counter.Call(QStringLiteral("NoSuchMember")), EOleError);
    EXPECT_THROW(CreateOleObject(QStringLiteral("No.Such.Class")), EOleSysError);
    EXPECT_THROW(Variant().Call(QStringLiteral("GetSysInfo")), EVariantError);
    AutoObjectFactory::Unregister(QStringLiteral("Test.Counter"));
    EXPECT_FALSE(AutoObjectFactory::IsRegistered(QStringLiteral("test.counter")));
}

TEST(LateBinding, ReferenceAssignsThroughToTarget)
{
    Variant target = 1;
    Variant ref = Variant::Ref(target);
    EXPECT_TRUE(ref.IsReference());
    EXPECT_EQ(ref.Type(), VarType::Integer);
    ref.Assign(Variant::ArrayOf({ref, 2})); // a value built from the target itself
    EXPECT_EQ(target, Variant::ArrayOf({1, 2}));
}
