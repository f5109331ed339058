#include "platform/system/collection_ops.hpp"

#include <algorithm>

#include <gtest/gtest.h>

#include "platform/system/random.hpp"

namespace zorbel::system {
namespace {

std::vector<std::string> texts(const Ref<Collection>& collection) {
    std::vector<std::string> out;
    for (const Variant& item : collection->items().items()) out.push_back(item.toString());
    return out;
}

TEST(CollectionOps, SplitToCollection) {
    Ref<Collection> parts = splitToCollection("mp3:\"a:b\":wav", ":", "\"");
    EXPECT_EQ(texts(parts), (std::vector<std::string>{"mp3", "a:b", "wav"}));
    EXPECT_EQ(splitToCollection("", ":", "\"")->Count(), 0);
}

TEST(CollectionOps, ContainsComparesTextWithLetterCase) {
    Ref<Collection> items =
        makeCollection({Variant("mp3"), Variant(42), Variant::null(), Variant(ObjectRef(makeCollection()))});
    EXPECT_TRUE(collectionContains(items, "mp3"));
    EXPECT_FALSE(collectionContains(items, "MP3"));
    EXPECT_TRUE(collectionContains(items, "42"));
    EXPECT_FALSE(collectionContains(items, ""));
    EXPECT_FALSE(collectionContains(Ref<Collection>(), "mp3"));
}

TEST(CollectionOps, ShuffleKeepsItemsKeysAndObject) {
    Ref<Collection> items = makeCollection();
    for (int i = 0; i < 50; ++i) items->items().add(Variant("song" + std::to_string(i)), "key" + std::to_string(i));
    Collection* before = items.get();
    std::vector<std::string> original = texts(items);
    seedRandom(1234);
    shuffleCollection(items);
    EXPECT_EQ(items.get(), before);
    std::vector<std::string> shuffled = texts(items);
    EXPECT_NE(shuffled, original);
    EXPECT_TRUE(std::is_permutation(shuffled.begin(), shuffled.end(), original.begin()));
    EXPECT_EQ(items->Item(Variant("key7")).toString(), "song7");

    // The same seed gives the same order.
    Ref<Collection> again = makeCollection();
    for (const std::string& text : original) again->items().add(Variant(text));
    seedRandom(1234);
    shuffleCollection(again);
    EXPECT_EQ(texts(again), shuffled);

    Ref<Collection> none;
    shuffleCollection(none);
    EXPECT_FALSE(none);
}

}  // namespace
}  // namespace zorbel::system
