#include "frame/object.hpp"

#include <algorithm>
#include <new>

namespace zorbel {

namespace {

std::atomic<size_t> gLiveObjects{0};

void fillExcep(com::ExcepInfo* excep, int32_t number, std::string description, std::string source) {
    if (!excep) return;
    excep->number = number;
    excep->description = std::move(description);
    excep->source = std::move(source);
}

// Chooses which form of a member a request runs. Method and get requests are interchangeable
// as script hosts send them (a method with a result can be read, a property with parameters can
// be called); let with an object falls back to set and set to let where only one exists.
uint16_t chooseKind(const MemberInfo& member, uint16_t requested, const Variant* value) {
    if (requested & (com::kMethod | com::kGet)) {
        if ((requested & com::kMethod) && member.method) return com::kMethod;
        if ((requested & com::kGet) && member.get) return com::kGet;
        if (member.method) return com::kMethod;
        if (member.get) return com::kGet;
        return 0;
    }
    if (requested & com::kSet) {
        if (member.set) return com::kSet;
        if (member.let) return com::kLet;
        return 0;
    }
    if (requested & com::kLet) {
        if (member.let) return com::kLet;
        if (member.set && value && value->isObject()) return com::kSet;
        return 0;
    }
    return 0;
}

// Fills left-out optional arguments with their defaults and checks the count: the classic
// errors 450 for too many and 449 for a missing required argument.
Args normalizeArguments(const MemberInfo& member, Variant* args, size_t given, const Variant* value) {
    if (given > member.params.size()) throw Error::runtime(err::kWrongArgumentCount);
    Args normalized;
    normalized.reserve(member.params.size() + 1);
    for (size_t i = 0; i < member.params.size(); ++i) {
        const ParamInfo& param = member.params[i];
        if (i < given && !args[i].isMissing()) {
            normalized.push_back(args[i]);
        } else if (param.optional) {
            normalized.push_back(param.defaultValue);
        } else {
            throw Error::runtime(err::kArgumentNotOptional);
        }
    }
    if (value) normalized.push_back(*value);
    return normalized;
}

}  // namespace

Object::Object() { ++gLiveObjects; }
Object::~Object() { --gLiveObjects; }

size_t Object::liveObjects() { return gLiveObjects.load(); }

com::IUnknown* Object::queryExtraInterface(const com::Guid&) { return nullptr; }

com::HResult Object::QueryInterface(const com::Guid& iid, void** object) {
    if (!object) return com::kPointer;
    *object = nullptr;
    com::IUnknown* found = nullptr;
    const ClassInfo& info = classInfo();
    const ClassIdentity* identity = info.identity;
    auto isOneOf = [&](const std::vector<com::Guid>& list) { return std::find(list.begin(), list.end(), iid) != list.end(); };
    if (iid == com::IID_IUnknown || iid == com::IID_IDispatch ||
        (identity && (iid == identity->iid || isOneOf(identity->earlierIids)))) {
        found = static_cast<com::IDispatch*>(this);
    } else if (iid == com::IID_IEventSource && !info.events.empty()) {
        found = static_cast<com::IEventSource*>(this);
    } else if (identity && identity->eventIid && (iid == *identity->eventIid || isOneOf(identity->earlierEventIids))) {
        // The event interface is implemented by the host's sink, not by the object.
        return com::kNoInterface;
    } else {
        found = queryExtraInterface(iid);
    }
    if (!found) return com::kNoInterface;
    found->AddRef();
    *object = found;
    return com::kOk;
}

uint32_t Object::AddRef() { return ++refs_; }

uint32_t Object::Release() {
    uint32_t left = --refs_;
    if (left == 0) delete this;
    return left;
}

com::HResult Object::GetIDOfName(std::string_view name, int32_t* id) {
    const MemberInfo* member = classInfo().find(name);
    if (!member) return com::kUnknownName;
    *id = member->id;
    return com::kOk;
}

com::HResult Object::Invoke(int32_t id, uint16_t kind, Variant* args, size_t argCount, Variant* result,
                            com::ExcepInfo* excep) {
    const MemberInfo* member = classInfo().find(id);
    if (!member) {
        fillExcep(excep, err::kMemberNotSupported, runtimeErrorText(err::kMemberNotSupported), kDefaultErrorSource);
        return com::kMemberNotFound;
    }
    // Keep the object alive while its member runs, even if the member releases the last
    // outside reference (a handler dropping the object it was called on).
    Ref<Object> keepAlive(this);
    try {
        bool isPut = (kind & (com::kLet | com::kSet)) && !(kind & (com::kMethod | com::kGet));
        if (isPut && argCount == 0) throw Error::runtime(err::kWrongArgumentCount);
        const Variant* value = isPut ? &args[argCount - 1] : nullptr;
        uint16_t chosen = chooseKind(*member, kind, value);
        if (chosen == 0) {
            // Reading a write-only property or assigning a read-only one.
            throw Error::runtime(isPut ? err::kWrongArgumentCount : err::kMemberNotSupported);
        }
        size_t given = isPut ? argCount - 1 : argCount;
        Args normalized = normalizeArguments(*member, args, given, value);
        Variant out;
        switch (chosen) {
            case com::kMethod: out = member->method(*this, normalized); break;
            case com::kGet: out = member->get(*this, normalized); break;
            case com::kLet: member->let(*this, normalized); break;
            case com::kSet: member->set(*this, normalized); break;
        }
        for (size_t i = 0; i < given; ++i) {
            if (member->params[i].byRef && !args[i].isMissing()) args[i] = normalized[i];
        }
        if (result) *result = std::move(out);
        return com::kOk;
    } catch (const Error& e) {
        fillExcep(excep, e.number(), e.description(), e.source());
    } catch (const std::bad_alloc&) {
        fillExcep(excep, err::kOutOfMemory, runtimeErrorText(err::kOutOfMemory), kDefaultErrorSource);
    } catch (const std::exception& e) {
        fillExcep(excep, 51, std::string("Internal error: ") + e.what(), kDefaultErrorSource);
    }
    return com::kException;
}

com::HResult Object::Advise(com::IDispatch* sink, uint32_t* cookie) {
    if (!sink || !cookie) return com::kPointer;
    *cookie = nextCookie_++;
    sinks_.push_back({*cookie, Ref<com::IDispatch>(sink)});
    return com::kOk;
}

com::HResult Object::Unadvise(uint32_t cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const Sink& s) { return s.cookie == cookie; });
    if (it == sinks_.end()) return com::kInvalidArg;
    sinks_.erase(it);
    return com::kOk;
}

void Object::raiseEvent(size_t eventIndex, Args args) {
    const EventInfo& event = classInfo().events.at(eventIndex);
    std::vector<Sink> current = sinks_;
    Ref<Object> keepAlive(this);
    for (Sink& sink : current) {
        Args copy = args;
        com::ExcepInfo ignored;
        // A failing handler does not stop the object; the host sees its own error itself.
        sink.target->Invoke(event.id, com::kMethod, copy.data(), copy.size(), nullptr, &ignored);
    }
}

Variant Object::invoke(std::string_view member, uint16_t kind, Args args) {
    return invokeDispatch(this, member, kind, args);
}

Variant invokeDispatch(com::IDispatch* target, int32_t id, uint16_t kind, Args& args) {
    if (!target) throw Error::runtime(err::kObjectNotSet);
    Variant result;
    com::ExcepInfo excep;
    com::HResult hr = target->Invoke(id, kind, args.data(), args.size(), &result, &excep);
    if (hr == com::kException) throw Error(excep.number, excep.description, excep.source);
    if (hr == com::kMemberNotFound) throw Error::runtime(err::kMemberNotSupported);
    if (!com::succeeded(hr)) throw Error(hr, "Automation error");
    return result;
}

Variant invokeDispatch(com::IDispatch* target, std::string_view member, uint16_t kind, Args& args) {
    if (!target) throw Error::runtime(err::kObjectNotSet);
    int32_t id = 0;
    if (target->GetIDOfName(member, &id) != com::kOk) throw Error::runtime(err::kMemberNotSupported);
    return invokeDispatch(target, id, kind, args);
}

}  // namespace zorbel
