#include "frame/server.hpp"

#include <dlfcn.h>

#include <atomic>
#include <filesystem>

#include "platform/registry/registry.hpp"

namespace zorbel::server {

namespace {

std::atomic<size_t> gLocks{0};
std::atomic<size_t> gLiveFactories{0};

using registry::Hive;
using registry::Value;

// The dispatch interface marshaller every dispatch interface is registered with.
constexpr const char* kDispatchProxy = "{00020424-0000-0000-C000-000000000046}";

class ClassFactory final : public com::IClassFactory {
public:
    ClassFactory(const LibraryInfo& library, const ClassIdentity& identity) : library_(library), identity_(identity) {
        ++gLiveFactories;
    }

    com::HResult QueryInterface(const com::Guid& iid, void** object) override {
        if (!object) return com::kPointer;
        if (iid == com::IID_IUnknown || iid == com::IID_IClassFactory) {
            AddRef();
            *object = static_cast<com::IClassFactory*>(this);
            return com::kOk;
        }
        *object = nullptr;
        return com::kNoInterface;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override {
        uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    com::HResult CreateInstance(com::IUnknown* outer, const com::Guid& iid, void** object) override {
        if (!object) return com::kPointer;
        *object = nullptr;
        if (outer) return com::kNoAggregation;
        try {
            Ref<Object> created = library_.create(identity_);
            return created->QueryInterface(iid, object);
        } catch (const std::bad_alloc&) {
            return com::kOutOfMemory;
        } catch (...) {
            return com::kFail;
        }
    }

    com::HResult LockServer(bool lock) override {
        if (lock) {
            ++gLocks;
        } else if (gLocks > 0) {
            --gLocks;
        }
        return com::kOk;
    }

private:
    ~ClassFactory() { --gLiveFactories; }

    const LibraryInfo& library_;
    const ClassIdentity& identity_;
    std::atomic<uint32_t> refs_{0};
};

std::string clsidKey(const ClassIdentity& c) { return "CLSID\\" + c.clsid.toString(); }
std::string interfaceKey(const com::Guid& iid) { return "Interface\\" + iid.toString(); }
std::string typeLibKey(const LibraryInfo& library) { return "TypeLib\\" + library.libid.toString(); }

void writeString(const std::string& key, const std::string& name, const std::string& value) {
    registry::writeValue(Hive::ClassesRoot, key, name, Value::ofString(value));
}

void registerInterface(const LibraryInfo& library, const com::Guid& iid, const std::string& name) {
    std::string key = interfaceKey(iid);
    writeString(key, "", name);
    writeString(key + "\\ProxyStubClsid32", "", kDispatchProxy);
    writeString(key + "\\TypeLib", "", library.libid.toString());
    writeString(key + "\\TypeLib", "Version", library.version);
}

void registerClass(const LibraryInfo& library, const ClassIdentity& c, const std::string& path) {
    registerInterface(library, c.iid, "_" + c.name);
    for (const com::Guid& iid : c.earlierIids) registerInterface(library, iid, "_" + c.name);
    if (c.eventIid) registerInterface(library, *c.eventIid, "__" + c.name);
    for (const com::Guid& iid : c.earlierEventIids) registerInterface(library, iid, "__" + c.name);
    if (!c.creatable) return;
    std::string progId = library.progId(c);
    std::string key = clsidKey(c);
    writeString(key, "", progId);
    writeString(key + "\\InprocServer32", "", path);
    writeString(key + "\\InprocServer32", "ThreadingModel", "Apartment");
    writeString(key + "\\ProgID", "", progId);
    writeString(key + "\\VERSION", "", library.version);
    writeString(key + "\\TypeLib", "", library.libid.toString());
    writeString(progId, "", progId);
    writeString(progId + "\\CLSID", "", c.clsid.toString());
}

}  // namespace

com::HResult getClassObject(const LibraryInfo& library, const com::Guid* clsid, const com::Guid* iid, void** object) {
    if (!clsid || !iid || !object) return com::kPointer;
    *object = nullptr;
    const ClassIdentity* identity = library.findByClsid(*clsid);
    if (!identity || !identity->creatable || !library.factoryFor(*identity)) return com::kClassNotAvailable;
    Ref<com::IClassFactory> factory(new ClassFactory(library, *identity));
    return factory->QueryInterface(*iid, object);
}

com::HResult canUnloadNow() {
    return (Object::liveObjects() == 0 && gLiveFactories == 0 && gLocks == 0) ? com::kOk : com::kFalse;
}

size_t serverLocks() { return gLocks; }

com::HResult registerServer(const LibraryInfo& library, const std::string& libraryPath) {
    try {
        for (const ClassIdentity& c : *library.classes) registerClass(library, c, libraryPath);
        std::string key = typeLibKey(library) + "\\" + library.version;
        writeString(key, "", library.help);
        writeString(key + "\\0\\linux64", "", libraryPath);
        writeString(key + "\\FLAGS", "", "0");
        writeString(key + "\\HELPDIR", "", std::filesystem::path(libraryPath).parent_path().string());
        return com::kOk;
    } catch (...) {
        return com::kRegistryWriteFailed;
    }
}

com::HResult unregisterServer(const LibraryInfo& library) {
    try {
        for (const ClassIdentity& c : *library.classes) {
            registry::deleteKey(Hive::ClassesRoot, interfaceKey(c.iid));
            for (const com::Guid& iid : c.earlierIids) registry::deleteKey(Hive::ClassesRoot, interfaceKey(iid));
            if (c.eventIid) registry::deleteKey(Hive::ClassesRoot, interfaceKey(*c.eventIid));
            for (const com::Guid& iid : c.earlierEventIids) registry::deleteKey(Hive::ClassesRoot, interfaceKey(iid));
            if (!c.creatable) continue;
            registry::deleteKey(Hive::ClassesRoot, clsidKey(c));
            registry::deleteKey(Hive::ClassesRoot, library.progId(c));
        }
        registry::deleteKey(Hive::ClassesRoot, typeLibKey(library));
        return com::kOk;
    } catch (...) {
        return com::kRegistryWriteFailed;
    }
}

std::string modulePathOf(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0 || !info.dli_fname) return {};
    std::error_code ignored;
    auto absolute = std::filesystem::canonical(info.dli_fname, ignored);
    return ignored ? std::string(info.dli_fname) : absolute.string();
}

}  // namespace zorbel::server
