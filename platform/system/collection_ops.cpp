#include "platform/system/collection_ops.hpp"

#include <utility>
#include <vector>

#include "frame/error.hpp"
#include "platform/system/random.hpp"
#include "platform/system/text_ops.hpp"

namespace zorbel::system {

namespace {

bool hasText(const Variant& item, std::string_view text) {
    if (item.isObject() || item.isArray() || item.isRecord()) return false;
    try {
        return item.toString() == text;
    } catch (const Error&) {
        return false;
    }
}

}  // namespace

Ref<Collection> splitToCollection(std::string_view text, std::string_view separator, std::string_view quote) {
    Ref<Collection> result = makeCollection();
    for (std::string& part : splitText(text, separator, quote)) result->items().add(Variant(std::move(part)));
    return result;
}

bool collectionContains(const Ref<Collection>& collection, std::string_view text) {
    if (!collection) return false;
    const KeyedCollection& items = collection->items();
    for (size_t i = 1; i <= items.count(); ++i) {
        if (hasText(items.at(i), text)) return true;
    }
    return false;
}

void shuffleCollection(Ref<Collection>& collection) {
    if (!collection) return;
    KeyedCollection& items = collection->items();
    struct Item {
        Variant value;
        std::string key;
    };
    std::vector<Item> all;
    all.reserve(items.count());
    for (size_t i = 1; i <= items.count(); ++i) all.push_back({items.at(i), items.keyAt(i)});
    for (size_t i = all.size(); i > 1; --i) {  // Fisher-Yates
        auto j = static_cast<size_t>(randomInteger(0, static_cast<int32_t>(i - 1)));
        std::swap(all[i - 1], all[j]);
    }
    items.clear();
    for (Item& item : all) {
        if (item.key.empty()) items.add(std::move(item.value));
        else items.add(std::move(item.value), item.key);
    }
}

}  // namespace zorbel::system
