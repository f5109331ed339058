#pragma once
// How the jukebox host drives the library: objects created by program identifier and used
// through the dispatch entry only, as any script host would.

#include <string>

#include "frame/object.hpp"

namespace zorbel::host {

ObjectRef create(const std::string& progId);
Variant get(const ObjectRef& object, const std::string& member, Args args = {});
void let(const ObjectRef& object, const std::string& member, Variant value);
Variant call(const ObjectRef& object, const std::string& member, Args args = {});
// A method call whose by-reference arguments the caller wants back.
Variant callWithResults(const ObjectRef& object, const std::string& member, Args& args);

}  // namespace zorbel::host
