#pragma once
// The pieces of the Python module `zorbel` that its source files share. The module knows no
// class of the library: it reaches every object through the dispatch entry and its type
// information, so classes, records and enumerations added later need no code here.

#include <pybind11/pybind11.h>

#include <memory>
#include <string>
#include <vector>

#include "frame/com.hpp"
#include "frame/typeinfo.hpp"
#include "frame/variant.hpp"

namespace zorbel::python {

namespace py = pybind11;

// --- errors (errors.cpp) ---
// Defines zorbel.Error and translates the library's Error into it.
void defineErrors(py::module_& m);
// A Python exception carrying the library's error, for raising from binding code.
[[noreturn]] void raiseError(int32_t number, const std::string& description, const std::string& source);
// Reports an exception that cannot propagate (one from an event handler or a hook) the way
// the interpreter reports an uncaught one, and clears it.
void reportUncaught(py::error_already_set& error);

// A Python object kept by C++ code that may let go of it from any thread, with or without the
// interpreter lock, even after the interpreter has ended (then it is left alone).
std::shared_ptr<py::object> holdPython(py::object object);

// --- values (convert.cpp) ---
// Python value -> variant. Raises TypeError for values without a library form.
Variant toVariant(py::handle value);
// Variant -> Python value.
py::object fromVariant(const Variant& value);
// The marker object zorbel.missing, which stands for a left-out argument.
py::handle missingMarker();
void defineConversions(py::module_& m);

// --- objects (object.cpp) ---
// A library object as Python sees it: one reference, released with the Python object.
struct Wrapped {
    ObjectRef object;
};
py::object wrap(ObjectRef object);  // None for a null reference
// The wrapped reference, or nullptr when value is no library object.
com::IDispatch* unwrap(py::handle value);
void defineObjects(py::module_& m);

// --- calls (call.cpp) ---
// One call of a member through the dispatch entry. member may be null when the object offers
// no type information. When byRefTuple is set and the member has by-reference parameters,
// the result is a tuple of the result and the final by-reference values.
struct Call {
    ObjectRef target;
    int32_t id = 0;
    const MemberInfo* member = nullptr;
    uint16_t kind = 0;
};
py::object invokeMember(const Call& call, const py::args& args, const py::kwargs& kwargs, bool byRefTuple);
// Let or set of value, chosen by what value is and what the member offers.
void assignMember(Call call, const py::args& indexes, py::handle value);
// The member of target by name: its identifier and type information; AttributeError when none.
Call findMember(const ObjectRef& target, const std::string& name);
// Invoke with the raw entry, the interpreter lock released, failures raised as zorbel.Error.
Variant invokeRaw(com::IDispatch* target, int32_t id, uint16_t kind, std::vector<Variant>& args);
void defineCalls(py::module_& m);

// --- records (records.cpp) ---
// The Python class of a record type (made on first use).
py::object recordClass(const RecordInfo& info);
py::object fromRecord(const RecordValue& value);
// The record value of a Python record object, or nullptr when value is none.
const RecordValue* recordOf(py::handle value);
// Replaces the fields of a Python record object in place (a by-reference record came back).
void updateRecord(py::handle target, const RecordValue& value);
void defineRecords(py::module_& m);

// --- creation, globals, enumerations (library.cpp) ---
void defineLibrary(py::module_& m);

// --- events (events.cpp) ---
void defineEvents(py::module_& m);

// --- message queue and message boxes (queue.cpp) ---
void defineQueue(py::module_& m);

// --- internal test support (test_source.cpp) ---
void defineTestSupport(py::module_& m);

}  // namespace zorbel::python
