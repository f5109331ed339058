#include "frame/collection_object.hpp"

#include "frame/class_builder.hpp"
#include "frame/enumerator.hpp"

namespace zorbel {

const ClassInfo& Collection::typeInfo() {
    static const ClassInfo info = ClassBuilder<Collection>("Collection", nullptr)
                                      .method("Add", &Collection::Add,
                                              {"Item", Param::opt("Key", Variant::missing()),
                                               Param::opt("Before", Variant::missing()),
                                               Param::opt("After", Variant::missing())})
                                      .method("Count", &Collection::Count)
                                      .method("Item", &Collection::Item, {"Index"})
                                      .asDefault()
                                      .method("Remove", &Collection::Remove, {"Index"})
                                      .method("_NewEnum", &Collection::NewEnum)
                                      .asEnumerator()
                                      .build();
    return info;
}

void Collection::Add(const Variant& item, const Variant& key, const Variant& before, const Variant& after) {
    std::optional<std::string> keyText;
    if (!key.isMissing() && !key.isEmpty()) keyText = key.toString();
    items_.add(item, keyText, before, after);
}

Variant Collection::NewEnum() const { return makeEnumerator(items_.items()); }

Ref<Collection> makeCollection(const std::vector<Variant>& items) {
    Ref<Collection> collection = makeRef<Collection>();
    for (const Variant& item : items) collection->items().add(item);
    return collection;
}

}  // namespace zorbel
