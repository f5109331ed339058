#include "frame/keyed_collection.hpp"

#include "frame/error.hpp"
#include "frame/text.hpp"

namespace zorbel {

size_t KeyedCollection::positionOf(const Variant& indexOrKey) const {
    if (indexOrKey.isString()) {
        auto it = keys_.find(text::toLower(indexOrKey.toString()));
        if (it == keys_.end()) throw Error::runtime(err::kInvalidCall);
        return it->second;
    }
    if (!indexOrKey.isNumeric()) throw Error::runtime(err::kTypeMismatch);
    int32_t position = indexOrKey.toLong();
    if (position < 1 || static_cast<size_t>(position) > entries_.size()) throw Error::runtime(err::kSubscriptOutOfRange);
    return static_cast<size_t>(position - 1);
}

size_t KeyedCollection::insertionPoint(const Variant& before, const Variant& after) const {
    if (!before.isEmpty() && !before.isMissing()) {
        if (!after.isEmpty() && !after.isMissing()) throw Error::runtime(err::kInvalidCall);
        return positionOf(before);
    }
    if (!after.isEmpty() && !after.isMissing()) return positionOf(after) + 1;
    return entries_.size();
}

void KeyedCollection::reindexFrom(size_t position) {
    for (size_t i = position; i < entries_.size(); ++i) {
        if (!entries_[i].key.empty()) keys_[text::toLower(entries_[i].key)] = i;
    }
}

void KeyedCollection::add(Variant item, const std::optional<std::string>& key, const Variant& before,
                          const Variant& after) {
    std::string lowered;
    if (key) {
        lowered = text::toLower(*key);
        if (keys_.count(lowered)) throw Error::runtime(err::kDuplicateKey);
    }
    size_t position = insertionPoint(before, after);
    entries_.insert(entries_.begin() + static_cast<ptrdiff_t>(position), Entry{std::move(item), key.value_or("")});
    if (key) keys_[lowered] = position;
    if (position + 1 < entries_.size()) reindexFrom(position + 1);
}

const Variant& KeyedCollection::item(const Variant& indexOrKey) const { return entries_[positionOf(indexOrKey)].value; }

const Variant& KeyedCollection::at(size_t position) const {
    if (position < 1 || position > entries_.size()) throw Error::runtime(err::kSubscriptOutOfRange);
    return entries_[position - 1].value;
}

void KeyedCollection::remove(const Variant& indexOrKey) {
    size_t position = positionOf(indexOrKey);
    if (!entries_[position].key.empty()) keys_.erase(text::toLower(entries_[position].key));
    entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(position));
    reindexFrom(position);
}

void KeyedCollection::clear() {
    entries_.clear();
    keys_.clear();
}

bool KeyedCollection::containsKey(const std::string& key) const { return keys_.count(text::toLower(key)) != 0; }

std::string KeyedCollection::keyAt(size_t position) const {
    if (position < 1 || position > entries_.size()) throw Error::runtime(err::kSubscriptOutOfRange);
    return entries_[position - 1].key;
}

std::vector<Variant> KeyedCollection::items() const {
    std::vector<Variant> out;
    out.reserve(entries_.size());
    for (const Entry& e : entries_) out.push_back(e.value);
    return out;
}

}  // namespace zorbel
