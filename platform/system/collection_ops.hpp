#pragma once
// The utility library's operations on scriptable collections.

#include <string>
#include <string_view>

#include "frame/collection_object.hpp"

namespace zorbel::system {

// splitText (text_ops.hpp) as a new collection of texts without keys.
Ref<Collection> splitToCollection(std::string_view text, std::string_view separator, std::string_view quote);

// True when an item's text form equals the text exactly, letter case included (the classic
// default text comparison). Items without a text form (objects, arrays) never match. A null
// reference gives False.
bool collectionContains(const Ref<Collection>& collection, std::string_view text);

// Leaves the same items (with their keys) in a random order drawn from the library's generator
// (random.hpp). The collection object stays the same; a null reference is left alone.
void shuffleCollection(Ref<Collection>& collection);

}  // namespace zorbel::system
