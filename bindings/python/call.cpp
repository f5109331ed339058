// Calls through the dispatch entry: positional and keyword arguments matched against the
// member's parameters, left-out positions as the missing marker (the member then takes its
// defaults), by-reference results as a tuple, and zorbel.invoke, the plain call behind it all.

#include <optional>

#include "bindings/python/binding.hpp"
#include "frame/error.hpp"
#include "frame/text.hpp"

namespace zorbel::python {

namespace {

constexpr int32_t kNamedArgumentNotFound = 448;

// The arguments of one call and the Python values they came from (None where left out).
struct Arguments {
    std::vector<Variant> values;
    std::vector<py::object> sources;
};

Arguments argumentsOf(const MemberInfo* member, const py::args& args, const py::kwargs& kwargs) {
    Arguments out;
    for (py::handle arg : args) {
        out.values.push_back(toVariant(arg));
        out.sources.push_back(py::reinterpret_borrow<py::object>(arg));
    }
    std::vector<bool> named;
    for (auto [key, value] : kwargs) {
        std::string name = key.cast<std::string>();
        if (!member) throw py::type_error("keyword argument '" + name + "' for a member without type information");
        size_t index = 0;
        while (index < member->params.size() && !text::equalsNoCase(member->params[index].name, name)) ++index;
        if (index == member->params.size())
            raiseError(kNamedArgumentNotFound, "Named argument not found: " + name, kDefaultErrorSource);
        if (index < args.size() || (index < named.size() && named[index]))
            throw py::type_error(member->name + "() got multiple values for argument '" + member->params[index].name +
                                 "'");
        if (out.values.size() <= index) {
            out.values.resize(index + 1, Variant::missing());
            out.sources.resize(index + 1, py::none());
            named.resize(index + 1, false);
        }
        out.values[index] = toVariant(value);
        out.sources[index] = py::reinterpret_borrow<py::object>(value);
        named[index] = true;
    }
    return out;
}

// The Python result of a finished call. paramCount arguments belong to the member's parameters
// (a let or set has the value after them). A record passed to a by-reference parameter is
// updated in place as well.
py::object resultOf(const Call& call, const Variant& result, Arguments& arguments, size_t paramCount, bool byRefTuple) {
    const MemberInfo* member = call.member;
    if (!member) return fromVariant(result);
    std::vector<py::object> byRef;
    for (size_t i = 0; i < member->params.size(); ++i) {
        if (!member->params[i].byRef) continue;
        bool given = i < paramCount && !arguments.values[i].isMissing();
        if (given && arguments.values[i].isRecord() && recordOf(arguments.sources[i]))
            updateRecord(arguments.sources[i], arguments.values[i].record());
        byRef.push_back(given ? fromVariant(arguments.values[i]) : py::none());
    }
    if (!byRefTuple || byRef.empty()) return fromVariant(result);
    py::tuple out(byRef.size() + 1);
    out[0] = fromVariant(result);
    for (size_t i = 0; i < byRef.size(); ++i) out[i + 1] = byRef[i];
    return out;
}

std::optional<Call> lookup(const ObjectRef& target, const std::string& name) {
    Call call{target};
    if (const ClassInfo* info = target->GetTypeInfo()) {
        call.member = info->find(name);
        if (!call.member) return std::nullopt;
        call.id = call.member->id;
        return call;
    }
    if (target->GetIDOfName(name, &call.id) != com::kOk) return std::nullopt;
    return call;
}

uint16_t kindNamed(const std::string& name) {
    struct Kind {
        const char* name;
        uint16_t kind;
    };
    static const Kind kinds[] = {{"get", com::kGet}, {"let", com::kLet}, {"set", com::kSet}, {"method", com::kMethod}};
    for (const Kind& k : kinds) {
        if (text::equalsNoCase(name, k.name)) return k.kind;
    }
    throw py::value_error("kind must be one of 'get', 'let', 'set', 'method', not '" + name + "'");
}

ObjectRef targetOf(py::handle object) {
    com::IDispatch* target = unwrap(object);
    if (!target) throw py::type_error("a library object is required");
    return ObjectRef(target);
}

}  // namespace

Variant invokeRaw(com::IDispatch* target, int32_t id, uint16_t kind, std::vector<Variant>& args) {
    if (!target) throw Error::runtime(err::kObjectNotSet);
    Variant result;
    com::ExcepInfo excep;
    com::HResult hr;
    {
        // Members may pump the thread's queue and call event handlers, which take the lock back.
        py::gil_scoped_release unlocked;
        hr = target->Invoke(id, kind, args.data(), args.size(), &result, &excep);
    }
    if (hr == com::kException) throw Error(excep.number, excep.description, excep.source);
    if (hr == com::kMemberNotFound || hr == com::kUnknownName) throw Error::runtime(err::kMemberNotSupported);
    if (!com::succeeded(hr)) throw Error(hr, "Automation error");
    return result;
}

Call findMember(const ObjectRef& target, const std::string& name) {
    if (std::optional<Call> call = lookup(target, name)) return *call;
    const ClassInfo* info = target->GetTypeInfo();
    throw py::attribute_error("'" + (info ? info->name : std::string("Object")) + "' object has no attribute '" + name +
                              "'");
}

py::object invokeMember(const Call& call, const py::args& args, const py::kwargs& kwargs, bool byRefTuple) {
    Arguments arguments = argumentsOf(call.member, args, kwargs);
    Variant result = invokeRaw(call.target.get(), call.id, call.kind, arguments.values);
    return resultOf(call, result, arguments, arguments.values.size(), byRefTuple);
}

void assignMember(Call call, const py::args& indexes, py::handle value) {
    bool isObject = unwrap(value) != nullptr;
    uint16_t offered = call.member ? call.member->kinds : com::kLet | com::kSet;
    if (isObject) {
        call.kind = (offered & com::kSet) ? com::kSet : com::kLet;
    } else {
        // None is Nothing for a member that only takes objects.
        call.kind = value.is_none() && (offered & com::kSet) && !(offered & com::kLet) ? com::kSet : com::kLet;
    }
    Arguments arguments = argumentsOf(call.member, indexes, py::kwargs());
    size_t paramCount = arguments.values.size();
    arguments.values.push_back(call.kind == com::kSet && value.is_none() ? Variant::nothing() : toVariant(value));
    arguments.sources.push_back(py::reinterpret_borrow<py::object>(value));
    invokeRaw(call.target.get(), call.id, call.kind, arguments.values);
    resultOf(call, Variant(), arguments, paramCount, false);
}

void defineCalls(py::module_& m) {
    m.def(
        "invoke",
        [](py::handle object, py::handle member, const std::string& kindName, py::args args) {
            ObjectRef target = targetOf(object);
            uint16_t kind = kindNamed(kindName);
            Call call{target};
            if (PyLong_Check(member.ptr())) {
                call.id = member.cast<int32_t>();
                const ClassInfo* info = target->GetTypeInfo();
                call.member = info ? info->find(call.id) : nullptr;
            } else {
                std::optional<Call> found = lookup(target, member.cast<std::string>());
                if (!found) throw Error::runtime(err::kMemberNotSupported);
                call = *found;
            }
            call.kind = kind;
            Arguments arguments = argumentsOf(call.member, args, py::kwargs());
            bool isPut = kind == com::kLet || kind == com::kSet;
            if (kind == com::kSet && !arguments.values.empty() && arguments.values.back().isEmpty())
                arguments.values.back() = Variant::nothing();
            Variant result = invokeRaw(target.get(), call.id, kind, arguments.values);
            size_t paramCount = arguments.values.size() - (isPut && !arguments.values.empty() ? 1 : 0);
            return resultOf(call, result, arguments, paramCount, true);
        },
        py::arg("object"), py::arg("member"), py::arg("kind"),
        "Calls a member by name (or member identifier) with the kind 'get', 'let', 'set' or 'method'.\n"
        "For let and set the value is the last argument. A member with by-reference parameters\n"
        "returns a tuple: its result followed by the final values of those parameters.");
}

}  // namespace zorbel::python
