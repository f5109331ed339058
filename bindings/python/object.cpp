// zorbel.Object: a library object in Python. Properties are attributes, methods and
// parameterised properties are bound members, collections iterate through their enumerator
// (member -4), have len() through Count and take indexes through their default member (0).

#include <cstdio>
#include <functional>

#include "bindings/python/binding.hpp"
#include "frame/error.hpp"

namespace zorbel::python {

namespace {

// A method or parameterised property of one object: calling it gets (or runs the method),
// indexing it gets without the by-reference tuple, assigning an index lets or sets.
struct BoundMember {
    Call call;
    std::string name;
};

// The items of a for-loop over a collection.
struct Iterator {
    Ref<com::IEnumVariant> items;
};

// The identity of a library object: its IUnknown, as the component rules define it.
const void* identityOf(com::IDispatch* object) {
    void* raw = nullptr;
    if (object->QueryInterface(com::IID_IUnknown, &raw) != com::kOk || !raw) return object;
    static_cast<com::IUnknown*>(raw)->Release();
    return raw;
}

std::string classNameOf(com::IDispatch* object) {
    const ClassInfo* info = object->GetTypeInfo();
    return info && !info->name.empty() ? info->name : "Object";
}

py::args argsOf(py::handle key) {
    if (PyTuple_Check(key.ptr())) return py::reinterpret_borrow<py::args>(key);
    return py::reinterpret_steal<py::args>(PyTuple_Pack(1, key.ptr()));
}

Call defaultMember(const Wrapped& self, uint16_t kind) {
    const ClassInfo* info = self.object->GetTypeInfo();
    return Call{self.object, com::kDispidValue, info ? info->find(com::kDispidValue) : nullptr, kind};
}

Ref<com::IEnumVariant> enumeratorOf(com::IDispatch* object) {
    void* raw = nullptr;
    if (object && object->QueryInterface(com::IID_IEnumVariant, &raw) == com::kOk && raw)
        return Ref<com::IEnumVariant>::adopt(static_cast<com::IEnumVariant*>(raw));
    return Ref<com::IEnumVariant>();
}

py::object iterate(const Wrapped& self) {
    // An enumerator handed out by NewEnum iterates itself.
    Ref<com::IEnumVariant> items = enumeratorOf(self.object.get());
    if (!items) {
        const ClassInfo* info = self.object->GetTypeInfo();
        if (info && !info->find(com::kDispidNewEnum))
            throw py::type_error("'" + classNameOf(self.object.get()) + "' object is not iterable");
        std::vector<Variant> none;
        Variant enumerator = invokeRaw(self.object.get(), com::kDispidNewEnum, com::kGet | com::kMethod, none);
        items = enumeratorOf(enumerator.toObject().get());
        if (!items) throw Error::runtime(err::kNoAutomation);
    }
    return py::cast(Iterator{items});
}

size_t lengthOf(const Wrapped& self) {
    int32_t id = 0;
    if (self.object->GetIDOfName("Count", &id) != com::kOk)
        throw py::type_error("object of type '" + classNameOf(self.object.get()) + "' has no len()");
    std::vector<Variant> none;
    int32_t count = invokeRaw(self.object.get(), id, com::kGet, none).toLong();
    return count < 0 ? 0 : static_cast<size_t>(count);
}

py::object getAttribute(const Wrapped& self, const std::string& name) {
    // Python's own probes (__length_hint__, __array__, ...) are never members.
    if (name.size() > 4 && name.compare(0, 2, "__") == 0) throw py::attribute_error(name);
    Call call = findMember(self.object, name);
    const MemberInfo* member = call.member;
    bool bound = !member || (member->kinds & com::kMethod) || !member->params.empty();
    if (bound) {
        call.kind = !member ? com::kMethod | com::kGet : (member->kinds & com::kMethod) ? com::kMethod : com::kGet;
        return py::cast(BoundMember{call, member ? member->name : name});
    }
    call.kind = com::kGet;
    return invokeMember(call, py::args(), py::kwargs(), false);
}

}  // namespace

py::object wrap(ObjectRef object) {
    if (!object) return py::none();
    return py::cast(Wrapped{std::move(object)});
}

com::IDispatch* unwrap(py::handle value) {
    if (!py::isinstance<Wrapped>(value)) return nullptr;
    return value.cast<Wrapped&>().object.get();
}

void defineObjects(py::module_& m) {
    py::class_<Wrapped>(m, "Object", "A library object; its members are its attributes.")
        .def("__getattr__", &getAttribute)
        .def("__setattr__", [](const Wrapped& self, const std::string& name,
                               py::handle value) { assignMember(findMember(self.object, name), py::args(), value); })
        .def("__getitem__",
             [](const Wrapped& self, py::handle key) {
                 return invokeMember(defaultMember(self, com::kGet | com::kMethod), argsOf(key), py::kwargs(), false);
             })
        .def("__setitem__", [](const Wrapped& self, py::handle key,
                               py::handle value) { assignMember(defaultMember(self, 0), argsOf(key), value); })
        .def("__iter__", &iterate)
        .def("__len__", &lengthOf)
        .def("__bool__", [](const Wrapped&) { return true; })
        .def("__eq__",
             [](const Wrapped& self, py::handle other) -> py::object {
                 com::IDispatch* theirs = unwrap(other);
                 if (!theirs) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                 return py::bool_(identityOf(self.object.get()) == identityOf(theirs));
             })
        .def("__hash__", [](const Wrapped& self) { return std::hash<const void*>()(identityOf(self.object.get())); })
        .def("__repr__",
             [](const Wrapped& self) {
                 char address[32];
                 std::snprintf(address, sizeof address, "%p", identityOf(self.object.get()));
                 return "<zorbel." + classNameOf(self.object.get()) + " object at " + address + ">";
             })
        .def("__dir__", [](const Wrapped& self) {
            py::list names;
            if (const ClassInfo* info = self.object->GetTypeInfo()) {
                for (const MemberInfo& member : info->members) {
                    if (!member.hidden) names.append(member.name);
                }
            }
            return names;
        });

    py::class_<BoundMember>(m, "Member", "A method or a property with parameters of one library object.")
        .def("__call__", [](const BoundMember& self, py::args args,
                            py::kwargs kwargs) { return invokeMember(self.call, args, kwargs, true); })
        .def("__getitem__",
             [](const BoundMember& self, py::handle key) {
                 Call get = self.call;
                 get.kind = com::kGet | com::kMethod;
                 return invokeMember(get, argsOf(key), py::kwargs(), false);
             })
        .def("__setitem__", [](const BoundMember& self, py::handle key,
                               py::handle value) { assignMember(self.call, argsOf(key), value); })
        .def("__repr__", [](const BoundMember& self) {
            return "<zorbel member " + classNameOf(self.call.target.get()) + "." + self.name + ">";
        });

    py::class_<Iterator>(m, "_Iterator")
        .def("__iter__", [](py::object self) { return self; })
        .def("__next__", [](Iterator& self) {
            Variant item;
            if (self.items->Next(&item) != com::kOk) throw py::stop_iteration();
            return fromVariant(item);
        });
}

}  // namespace zorbel::python
