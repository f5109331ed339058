// The four entry points of the main library.

#include "frame/server.hpp"
#include "frame/zorbel_library.hpp"

ZORBEL_DEFINE_SERVER_EXPORTS(::zorbel::zorbelLibrary)
