#pragma once
// The remote-control library's descriptor: its type library identity and class table.

#include "frame/library.hpp"

namespace zorbel::remote {

const LibraryInfo& braxtelLibrary();
const ClassIdentity* braxtelIdentity(std::string_view className);

}  // namespace zorbel::remote
