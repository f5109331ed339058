#pragma once
// The keyed collection: ordered, 1-based variants with optional unique text keys compared
// without letter case. Missing key: error 5; bad position: error 9; duplicate key: error 457.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "frame/variant.hpp"

namespace zorbel {

class KeyedCollection {
public:
    size_t count() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

    // Adds at the end, or before / after the item named by a position or key.
    void add(Variant item, const std::optional<std::string>& key = std::nullopt,
             const Variant& before = Variant(), const Variant& after = Variant());

    // The item at a 1-based position (any numeric variant) or with a key (a text).
    const Variant& item(const Variant& indexOrKey) const;
    const Variant& at(size_t position) const;  // 1-based; error 9 when out of range
    void remove(const Variant& indexOrKey);
    void clear();
    bool containsKey(const std::string& key) const;
    // The key of the item at a 1-based position ("" when it has none).
    std::string keyAt(size_t position) const;

    std::vector<Variant> items() const;

private:
    struct Entry {
        Variant value;
        std::string key;  // as given; empty when none
    };
    size_t positionOf(const Variant& indexOrKey) const;  // 0-based
    size_t insertionPoint(const Variant& before, const Variant& after) const;
    void reindexFrom(size_t position);

    std::vector<Entry> entries_;
    // Lower-cased key -> 0-based position; positions after a change are fixed up by reindexFrom.
    std::unordered_map<std::string, size_t> keys_;
};

}  // namespace zorbel
