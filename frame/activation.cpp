#include "frame/activation.hpp"

#include <dlfcn.h>

#include <map>
#include <mutex>

#include "frame/error.hpp"
#include "platform/registry/registry.hpp"

namespace zorbel::activation {

namespace {

using registry::Hive;

// Loaded libraries stay loaded for the life of the process: objects and factories from them
// may still be alive anywhere, and nothing tracks them across libraries.
void* loadLibrary(const std::string& path) {
    static std::mutex mutex;
    static std::map<std::string, void*> loaded;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = loaded.find(path);
    if (it != loaded.end()) return it->second;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle) loaded[path] = handle;
    return handle;
}

Error cannotCreate(const std::string& detail) {
    return Error(err::kCannotCreateObject, "ActiveX component can't create object" + (detail.empty() ? "" : ": " + detail));
}

}  // namespace

std::optional<com::Guid> clsidFromProgId(std::string_view progId) {
    auto value = registry::readValue(Hive::ClassesRoot, std::string(progId) + "\\CLSID", "");
    if (!value) return std::nullopt;
    return com::Guid::parse(value->asText());
}

ObjectRef createRegistered(const com::Guid& clsid) {
    auto server = registry::readValue(Hive::ClassesRoot, "CLSID\\" + clsid.toString() + "\\InprocServer32", "");
    if (!server || server->asText().empty()) throw cannotCreate("class " + clsid.toString() + " is not registered");
    std::string path = server->asText();
    void* handle = loadLibrary(path);
    if (!handle) {
        const char* why = dlerror();
        throw cannotCreate(why ? why : path);
    }
    auto getClassObject = reinterpret_cast<com::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
    if (!getClassObject) throw cannotCreate(path + " is not a component library");
    void* raw = nullptr;
    if (getClassObject(&clsid, &com::IID_IClassFactory, &raw) != com::kOk || !raw) throw cannotCreate("");
    Ref<com::IClassFactory> factory = Ref<com::IClassFactory>::adopt(static_cast<com::IClassFactory*>(raw));
    raw = nullptr;
    if (factory->CreateInstance(nullptr, com::IID_IDispatch, &raw) != com::kOk || !raw) throw cannotCreate("");
    return ObjectRef::adopt(static_cast<com::IDispatch*>(raw));
}

}  // namespace zorbel::activation
