#include <gtest/gtest.h>

#include "tests/support/errors.hpp"

#include "frame/error.hpp"
#include "frame/keyed_collection.hpp"

namespace zorbel {
namespace {

using zorbel::testing::errorOf;

std::string order(const KeyedCollection& c) {
    std::string out;
    for (const Variant& v : c.items()) out += v.toString();
    return out;
}

TEST(KeyedCollection, AddsAtEndBeforeAndAfter) {
    KeyedCollection c;
    c.add(Variant("b"), "kb");
    c.add(Variant("d"));
    c.add(Variant("a"), "ka", Variant(1));        // before position 1
    c.add(Variant("c"), std::nullopt, Variant(), Variant("KB"));  // after key kb
    EXPECT_EQ(order(c), "abcd");
    EXPECT_EQ(c.item(Variant("kB")).toString(), "b");
    EXPECT_EQ(c.item(Variant(4)).toString(), "d");
    EXPECT_EQ(c.keyAt(1), "ka");
}

TEST(KeyedCollection, KeysFollowRemovalsAndInsertions) {
    KeyedCollection c;
    for (const char* k : {"one", "two", "three"}) c.add(Variant(k), std::string(k));
    c.remove(Variant("ONE"));
    c.add(Variant("zero"), "zero", Variant(1));
    EXPECT_EQ(order(c), "zerotwothree");
    EXPECT_EQ(c.item(Variant("three")).toString(), "three");
    c.remove(Variant(2));
    EXPECT_EQ(c.item(Variant("three")).toString(), "three");
    EXPECT_FALSE(c.containsKey("two"));
    EXPECT_EQ(c.count(), 2u);
}

TEST(KeyedCollection, ClassicErrors) {
    KeyedCollection c;
    EXPECT_EQ(errorOf([&] { c.item(Variant(1)); }), err::kSubscriptOutOfRange);
    c.add(Variant(1), "Key");
    EXPECT_EQ(errorOf([&] { c.add(Variant(2), "KEY"); }), err::kDuplicateKey);
    EXPECT_EQ(errorOf([&] { c.item(Variant("missing")); }), err::kInvalidCall);
    EXPECT_EQ(errorOf([&] { c.item(Variant(0)); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.item(Variant(2)); }), err::kSubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { c.remove(Variant("nope")); }), err::kInvalidCall);
    EXPECT_EQ(errorOf([&] { c.add(Variant(3), std::nullopt, Variant(1), Variant(1)); }), err::kInvalidCall);
    EXPECT_EQ(c.count(), 1u);  // failed adds change nothing
}

}  // namespace
}  // namespace zorbel
