#include <gtest/gtest.h>

#include "tests/support/errors.hpp"

#include "frame/error.hpp"
#include "frame/variant.hpp"

namespace zorbel {
namespace {

using zorbel::testing::errorOf;

TEST(Variant, RoundsToNearestWithTiesToEven) {
    struct Case {
        double input;
        int32_t expected;
    } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.49999, 0}, {1.5000001, 2}, {-0.5, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(Variant(c.input).toLong(), c.expected) << c.input;
        EXPECT_EQ(Variant(c.input).toInteger(), c.expected) << c.input;
    }
}

TEST(Variant, RangeAndTypeErrors) {
    EXPECT_EQ(errorOf([] { Variant(32767.5).toInteger(); }), err::kOverflow);  // rounds to 32768
    EXPECT_EQ(errorOf([] { Variant(-32768.5).toInteger(); }), 0);              // rounds to -32768
    EXPECT_EQ(errorOf([] { Variant(256).toByte(); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { Variant(-1).toByte(); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { Variant(3e10).toLong(); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { Variant("abc").toLong(); }), err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("").toLong(); }), err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("1e999").toDouble(); }), err::kOverflow);
    EXPECT_EQ(errorOf([] { Variant("inf").toDouble(); }), err::kTypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), err::kInvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Variant(5).toObject(); }), err::kTypeMismatch);
}

TEST(Variant, TextConversions) {
    EXPECT_EQ(Variant(" 12.5 ").toDouble(), 12.5);
    EXPECT_EQ(Variant("&HFF").toLong(), 255);
    EXPECT_EQ(Variant("&HFFFF").toLong(), -1);
    EXPECT_EQ(Variant("true").toLong(), -1);
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant(false).toString(), "False");
    EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3");
    EXPECT_EQ(Variant(1e20).toString(), "1E+20");
    EXPECT_EQ(Variant(-0.5).toString(), "-0.5");
    EXPECT_EQ(Variant::single(1.1f).toString(), "1.1");
    EXPECT_EQ(Variant().toString(), "");
    EXPECT_EQ(Variant().toLong(), 0);
}

TEST(Variant, BooleansAreMinusOneAndZero) {
    EXPECT_EQ(Variant(true).toInteger(), -1);
    EXPECT_EQ(Variant(false).toInteger(), 0);
    EXPECT_TRUE(Variant(7).toBool());
    EXPECT_FALSE(Variant(0.0).toBool());
    EXPECT_EQ(Variant(5).convertTo(VarType::Boolean), Variant(true));
}

TEST(Variant, ArraysHaveValueSemantics) {
    Variant a = Variant::array({Variant(1), Variant(2)}, 1);
    Variant b = a;
    b.array().items[0] = Variant(9);
    EXPECT_EQ(a.array().items[0], Variant(1));
    EXPECT_EQ(b.array().position({2}), 1u);
    EXPECT_EQ(errorOf([&] { b.array().position({3}); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { b.array().position({0}); }), err::kSubscriptOutOfRange);
}

}  // namespace
}  // namespace zorbel
