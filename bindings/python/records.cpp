// Record types as Python classes: one subclass of zorbel.Record per record type, made from its
// type information on first use. A record holds its fields as the library's values; assigning
// a field converts the value to the field's type at once (raising 13 or 6 as the library would).

#include <unordered_map>

#include "bindings/python/binding.hpp"
#include "frame/error.hpp"
#include "frame/text.hpp"

namespace zorbel::python {

namespace {

struct PyRecord {
    RecordValue value;
};

// Made once per record type and kept for the life of the process.
std::unordered_map<const RecordInfo*, PyObject*> gClasses;

PyRecord& recordSelf(py::handle self) {
    PyRecord& record = self.cast<PyRecord&>();
    if (!record.value.info) throw py::type_error("zorbel.Record is the base of the record types; create one of those");
    return record;
}

size_t fieldIndex(const PyRecord& record, const std::string& name) {
    const auto& fields = record.value.info->fields;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (text::equalsNoCase(fields[i].name, name)) return i;
    }
    throw py::attribute_error("'" + record.value.info->name + "' record has no field '" + name + "'");
}

void setField(PyRecord& record, const std::string& name, py::handle value) {
    size_t index = fieldIndex(record, name);
    VarType type = record.value.info->fields[index].type;
    Variant converted = toVariant(value);
    record.value.fields[index] = type == VarType::Variant ? converted : converted.convertTo(type);
}

py::object makeClass(const RecordInfo& info) {
    py::object base = py::type::of<PyRecord>();
    py::tuple names(info.fields.size());
    std::string doc = "The record " + info.name + ", with the fields";
    for (size_t i = 0; i < info.fields.size(); ++i) {
        names[i] = info.fields[i].name;
        doc += std::string(i ? ", " : " ") + info.fields[i].name + " (" + varTypeName(info.fields[i].type) + ")";
    }
    py::dict scope;
    scope["__slots__"] = py::tuple();
    scope["__module__"] = "zorbel";
    scope["__doc__"] = doc + ".";
    scope["_fields"] = names;
    py::object metaclass = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(Py_TYPE(base.ptr())));
    py::object cls = metaclass(info.name, py::make_tuple(base), scope);

    const RecordInfo* type = &info;
    cls.attr("__init__") = py::cpp_function(
        [type](py::handle self, py::args args, py::kwargs kwargs) {
            py::type::of<PyRecord>().attr("__init__")(self);
            PyRecord& record = self.cast<PyRecord&>();
            record.value = type->makeValue();
            if (args.size() > type->fields.size())
                throw py::type_error(type->name + "() takes at most " + std::to_string(type->fields.size()) +
                                     " field values");
            for (size_t i = 0; i < args.size(); ++i) setField(record, type->fields[i].name, args[i]);
            for (auto [key, value] : kwargs) setField(record, key.cast<std::string>(), value);
        },
        py::name("__init__"), py::is_method(cls));
    return cls;
}

}  // namespace

py::object recordClass(const RecordInfo& info) {
    auto found = gClasses.find(&info);
    if (found != gClasses.end()) return py::reinterpret_borrow<py::object>(found->second);
    py::object cls = makeClass(info);
    gClasses[&info] = cls.inc_ref().ptr();
    return cls;
}

py::object fromRecord(const RecordValue& value) {
    if (!value.info) throw Error::runtime(err::kTypeMismatch);
    py::object record = recordClass(*value.info)();
    record.cast<PyRecord&>().value = value;
    return record;
}

const RecordValue* recordOf(py::handle value) {
    if (!py::isinstance<PyRecord>(value)) return nullptr;
    const PyRecord& record = value.cast<const PyRecord&>();
    return record.value.info ? &record.value : nullptr;
}

void updateRecord(py::handle target, const RecordValue& value) {
    PyRecord& record = target.cast<PyRecord&>();
    if (record.value.info == value.info) record.value = value;
}

void defineRecords(py::module_& m) {
    py::class_<PyRecord>(m, "Record", "The base of the library's record types.")
        .def(py::init<>())
        .def("__getattr__",
             [](py::handle self, const std::string& name) {
                 if (name.compare(0, 2, "__") == 0) throw py::attribute_error(name);
                 PyRecord& record = recordSelf(self);
                 return fromVariant(record.value.fields[fieldIndex(record, name)]);
             })
        .def("__setattr__", [](py::handle self, const std::string& name,
                               py::handle value) { setField(recordSelf(self), name, value); })
        .def("__eq__",
             [](py::handle self, py::handle other) -> py::object {
                 const RecordValue* mine = recordOf(self);
                 const RecordValue* theirs = recordOf(other);
                 if (!mine || !theirs) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
                 return py::bool_(mine->info == theirs->info && mine->fields == theirs->fields);
             })
        .def("__repr__",
             [](py::handle self) {
                 PyRecord& record = recordSelf(self);
                 std::string out = record.value.info->name + "(";
                 for (size_t i = 0; i < record.value.fields.size(); ++i) {
                     if (i) out += ", ";
                     out += record.value.info->fields[i].name + "=" +
                            py::repr(fromVariant(record.value.fields[i])).cast<std::string>();
                 }
                 return out + ")";
             })
        .def("__dir__", [](py::handle self) {
            py::list names;
            for (const auto& field : recordSelf(self).value.info->fields) names.append(field.name);
            return names;
        });
    // Records are values: equal by their fields, so not hashable.
    m.attr("Record").attr("__hash__") = py::none();
}

}  // namespace zorbel::python
