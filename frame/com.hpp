#pragma once
// The component interfaces that cross library boundaries: identifiers, the query-interface /
// add-ref / release base, the dispatch interface that makes every class scriptable, class
// factories, enumerators and event sources. Failures cross as result codes plus an ExcepInfo,
// never as C++ exceptions, so two libraries built apart can talk to each other.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorbel {
class Variant;
struct ClassInfo;
}

namespace zorbel::com {

using HResult = int32_t;

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kNotImplemented = static_cast<HResult>(0x80004001u);
inline constexpr HResult kNoInterface = static_cast<HResult>(0x80004002u);
inline constexpr HResult kPointer = static_cast<HResult>(0x80004003u);
inline constexpr HResult kFail = static_cast<HResult>(0x80004005u);
inline constexpr HResult kUnexpected = static_cast<HResult>(0x8000FFFFu);
inline constexpr HResult kNoAggregation = static_cast<HResult>(0x80040110u);
inline constexpr HResult kClassNotAvailable = static_cast<HResult>(0x80040111u);
inline constexpr HResult kClassNotRegistered = static_cast<HResult>(0x80040154u);
inline constexpr HResult kUnknownName = static_cast<HResult>(0x80020006u);
inline constexpr HResult kMemberNotFound = static_cast<HResult>(0x80020003u);
inline constexpr HResult kException = static_cast<HResult>(0x80020009u);
inline constexpr HResult kOutOfMemory = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult kInvalidArg = static_cast<HResult>(0x80070057u);
inline constexpr HResult kRegistryWriteFailed = static_cast<HResult>(0x80040201u);  // the self-registration failure

inline bool succeeded(HResult hr) { return hr >= 0; }

struct Guid {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {};

    // Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (braces optional, hex in any case).
    static std::optional<Guid> parse(std::string_view text);
    // A Guid from a literal known to be valid; aborts the program on a malformed one.
    static Guid of(std::string_view text);
    // Upper-case form with braces.
    std::string toString() const;
    bool operator==(const Guid&) const = default;
};

// Invocation kinds, combinable as flags in type information.
enum InvokeKind : uint16_t {
    kMethod = 1,
    kGet = 2,
    kLet = 4,
    kSet = 8,
};

// What a failed Invoke reports: the raised error's number, description and source.
struct ExcepInfo {
    int32_t number = 0;
    std::string description;
    std::string source;
};

// Member identifiers with fixed meaning.
inline constexpr int32_t kDispidValue = 0;       // the default member
inline constexpr int32_t kDispidNewEnum = -4;    // the enumerator
inline constexpr int32_t kDispidUnknown = -1;

struct IUnknown {
    virtual HResult QueryInterface(const Guid& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

struct IDispatch : IUnknown {
    // The member identifier of a member name, compared without letter case.
    virtual HResult GetIDOfName(std::string_view name, int32_t* id) = 0;
    // Calls a member. For let and set the value to assign is the last argument. Arguments are in
    // declaration order; by-reference arguments are written back into args. On a raised error
    // the result is kException and excep holds the error.
    virtual HResult Invoke(int32_t id, uint16_t kind, Variant* args, size_t argCount, Variant* result,
                           ExcepInfo* excep) = 0;
    // The type information of the object's class (names, identifiers, parameters, help texts).
    virtual const ClassInfo* GetTypeInfo() = 0;

protected:
    ~IDispatch() = default;
};

struct IClassFactory : IUnknown {
    virtual HResult CreateInstance(IUnknown* outer, const Guid& iid, void** object) = 0;
    virtual HResult LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The enumerator behind a for-each loop.
struct IEnumVariant : IUnknown {
    // Writes the next item into *item and returns kOk, or returns kFalse at the end.
    virtual HResult Next(Variant* item) = 0;
    virtual HResult Skip(uint32_t count) = 0;
    virtual HResult Reset() = 0;

protected:
    ~IEnumVariant() = default;
};

// Where a host attaches event sinks. A sink is a dispatch object; each event reaches it as a
// method call with the event's member identifier and arguments.
struct IEventSource : IUnknown {
    virtual HResult Advise(IDispatch* sink, uint32_t* cookie) = 0;
    virtual HResult Unadvise(uint32_t cookie) = 0;

protected:
    ~IEventSource() = default;
};

// Interface identifiers of the interfaces above (the platform's well-known values where one exists).
extern const Guid IID_IUnknown;
extern const Guid IID_IDispatch;
extern const Guid IID_IClassFactory;
extern const Guid IID_IEnumVariant;
extern const Guid IID_IEventSource;

// The C entry points every component library exports.
using DllGetClassObjectFn = HResult (*)(const Guid* clsid, const Guid* iid, void** object);
using DllCanUnloadNowFn = HResult (*)();
using DllRegisterServerFn = HResult (*)();
using DllUnregisterServerFn = HResult (*)();

}  // namespace zorbel::com
