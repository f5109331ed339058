#pragma once
// The in-process component server behind each library's four C entry points: class factories,
// the unload test, and self-registration into the registry stand-in.

#include <string>

#include "frame/com.hpp"
#include "frame/library.hpp"

namespace zorbel::server {

com::HResult getClassObject(const LibraryInfo& library, const com::Guid* clsid, const com::Guid* iid, void** object);
com::HResult canUnloadNow();
// Writes the class records: class identifier -> library file (apartment threading), program
// identifier -> class identifier, the interfaces and the type library.
com::HResult registerServer(const LibraryInfo& library, const std::string& libraryPath);
com::HResult unregisterServer(const LibraryInfo& library);

// The file of the shared library (or program) that contains the given address.
std::string modulePathOf(const void* address);

// Number of class factory locks held through LockServer.
size_t serverLocks();

}  // namespace zorbel::server

// Defines the four exported entry points of a component library over a LibraryInfo getter.
#define ZORBEL_DEFINE_SERVER_EXPORTS(libraryGetter)                                                               \
    extern "C" __attribute__((visibility("default"))) ::zorbel::com::HResult DllGetClassObject(                  \
        const ::zorbel::com::Guid* clsid, const ::zorbel::com::Guid* iid, void** object) {                        \
        return ::zorbel::server::getClassObject(libraryGetter(), clsid, iid, object);                              \
    }                                                                                                             \
    extern "C" __attribute__((visibility("default"))) ::zorbel::com::HResult DllCanUnloadNow() {                 \
        return ::zorbel::server::canUnloadNow();                                                                  \
    }                                                                                                             \
    extern "C" __attribute__((visibility("default"))) ::zorbel::com::HResult DllRegisterServer() {               \
        return ::zorbel::server::registerServer(libraryGetter(),                                                  \
                                                ::zorbel::server::modulePathOf(reinterpret_cast<const void*>(&DllRegisterServer))); \
    }                                                                                                             \
    extern "C" __attribute__((visibility("default"))) ::zorbel::com::HResult DllUnregisterServer() {             \
        return ::zorbel::server::unregisterServer(libraryGetter());                                               \
    }
