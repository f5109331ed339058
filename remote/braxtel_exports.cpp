// The four entry points of the remote-control library.

#include "frame/server.hpp"
#include "remote/braxtel_library.hpp"

ZORBEL_DEFINE_SERVER_EXPORTS(::zorbel::remote::braxtelLibrary)
