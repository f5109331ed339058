#pragma once
// Object: the base of every scriptable class. It carries the intrusive reference count, answers
// the class's interface identifiers, serves the generic dispatch entry from the class's type
// information, and keeps the event sinks a host attaches.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "frame/com.hpp"
#include "frame/error.hpp"
#include "frame/ref.hpp"
#include "frame/typeinfo.hpp"
#include "frame/variant.hpp"

namespace zorbel {

class Object : public com::IDispatch, public com::IEventSource {
public:
    Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    virtual const ClassInfo& classInfo() const = 0;

    // IUnknown
    com::HResult QueryInterface(const com::Guid& iid, void** object) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    // IDispatch
    com::HResult GetIDOfName(std::string_view name, int32_t* id) override;
    com::HResult Invoke(int32_t id, uint16_t kind, Variant* args, size_t argCount, Variant* result,
                        com::ExcepInfo* excep) override;
    const ClassInfo* GetTypeInfo() override { return &classInfo(); }

    // IEventSource
    com::HResult Advise(com::IDispatch* sink, uint32_t* cookie) override;
    com::HResult Unadvise(uint32_t cookie) override;

    // The dispatch entry for C++ callers: raises Error instead of returning a code.
    Variant invoke(std::string_view member, uint16_t kind, Args args = {});

    // Number of live objects of this library, for the unload test.
    static size_t liveObjects();

    com::IDispatch* asDispatch() { return static_cast<com::IDispatch*>(this); }

protected:
    virtual ~Object();

    // Interfaces beyond the standard ones (for example an enumerator's). Returns nullptr when
    // the class has none for iid; the caller adds the reference.
    virtual com::IUnknown* queryExtraInterface(const com::Guid& iid);

    // Calls every attached sink with the event at this index of the class's events, in the
    // order the sinks were attached. A sink attached or detached by a handler takes effect
    // from the next event on.
    void raiseEvent(size_t eventIndex, Args args = {});

private:
    std::atomic<uint32_t> refs_{0};
    struct Sink {
        uint32_t cookie;
        Ref<com::IDispatch> target;
    };
    std::vector<Sink> sinks_;
    uint32_t nextCookie_ = 1;
};

// Class info for CRTP: Derived provides a static typeInfo() built once.
template <class Derived>
class Dispatchable : public Object {
public:
    const ClassInfo& classInfo() const override { return Derived::typeInfo(); }
};

// Object references as a dispatch pointer inside a variant.
template <class T>
Variant toVariant(const Ref<T>& object) {
    return Variant(ObjectRef(object ? object->asDispatch() : nullptr));
}

// The library object behind a variant's reference, when it is one of ours of class T.
template <class T>
Ref<T> objectAs(const Variant& value) {
    ObjectRef object = value.toObject();
    if (!object) return Ref<T>();
    // Our objects answer IDispatch with the Object's own dispatch base.
    auto* asObject = dynamic_cast<Object*>(object.get());
    auto* typed = dynamic_cast<T*>(asObject);
    if (!typed) throw Error::runtime(err::kTypeMismatch);
    return Ref<T>(typed);
}

// Invoke on any dispatch object, converting failures into Error.
Variant invokeDispatch(com::IDispatch* target, std::string_view member, uint16_t kind, Args& args);
Variant invokeDispatch(com::IDispatch* target, int32_t id, uint16_t kind, Args& args);

}  // namespace zorbel
