#pragma once
// The shape the three voice collections share: an internal keyed collection of child objects
// with Add (appends a new child without key), Item, Count, Remove and NewEnum, plus two
// placeholder members that perform nothing.

#include "frame/class_builder.hpp"
#include "frame/enumerator.hpp"
#include "frame/keyed_collection.hpp"
#include "frame/zorbel_classes.hpp"

namespace zorbel::voices {

template <class Derived, class Child>
class ChildCollection : public Dispatchable<Derived> {
public:
    void Kill() {}
    void Create() {}

    Ref<Child> Add() {
        Ref<Child> child = makeRef<Child>();
        children_.add(toVariant(child));
        return child;
    }
    // Item and Remove take their argument by reference, as the interface declares.
    Ref<Child> Item(Variant& indexKey) { return objectAs<Child>(children_.item(indexKey)); }
    int32_t Count() { return static_cast<int32_t>(children_.count()); }
    void Remove(Variant& indexKey) { children_.remove(indexKey); }
    Variant NewEnum() { return makeEnumerator(children_.items()); }

protected:
    // The type information of a collection whose placeholder members carry the given names.
    static ClassInfo describe(const char* className, const char* killName, const char* createName) {
        using Self = ChildCollection<Derived, Child>;
        return ClassBuilder<Derived>(className, zorbelIdentity(className))
            .method(killName, &Self::Kill)
            .method(createName, &Self::Create)
            .method("Add", &Self::Add)
            .property("Item", &Self::Item, {"vntIndexKey"})
            .asDefault()
            .property("Count", &Self::Count)
            .method("Remove", &Self::Remove, {"vntIndexKey"})
            .property("NewEnum", &Self::NewEnum)
            .asEnumerator()
            .build();
    }

private:
    KeyedCollection children_;
};

}  // namespace zorbel::voices
