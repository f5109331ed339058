#pragma once
// Collection: the scriptable keyed collection that members hand to hosts and take from them
// (Add, Item, Count, Remove and for-each), over a KeyedCollection.

#include "frame/keyed_collection.hpp"
#include "frame/object.hpp"

namespace zorbel {

class Collection final : public Dispatchable<Collection> {
public:
    static const ClassInfo& typeInfo();

    void Add(const Variant& item, const Variant& key, const Variant& before, const Variant& after);
    Variant Item(const Variant& index) const { return items_.item(index); }
    int32_t Count() const { return static_cast<int32_t>(items_.count()); }
    void Remove(const Variant& index) { items_.remove(index); }
    Variant NewEnum() const;

    KeyedCollection& items() { return items_; }
    const KeyedCollection& items() const { return items_; }

private:
    KeyedCollection items_;
};

// A new collection holding the given items in order, without keys.
Ref<Collection> makeCollection(const std::vector<Variant>& items = {});

}  // namespace zorbel
