#pragma once
// The main library's descriptor: type library identity, class table, factories of the
// implemented classes, records and enumerations.

#include "frame/library.hpp"

namespace zorbel {

const LibraryInfo& zorbelLibrary();

}  // namespace zorbel
