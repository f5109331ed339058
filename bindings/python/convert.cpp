// Values between Python and the library's variant.
//
// In:  None -> Empty, bool -> Boolean (-1/0), int -> Long (Double outside 32 bits), float ->
//      Double, str -> String, library object -> Object, record -> Record, bytes -> array of
//      Byte, list/tuple -> array, zorbel.missing -> the left-out-argument marker.
// Out: Empty/Null -> None, Byte/Integer/Long -> int, Single/Double -> float, Boolean -> bool,
//      String -> str, Object -> library object (Nothing -> None), Record -> record, array of
//      Byte -> bytes, other arrays -> lists (nested lists, first index outermost).

#include <pybind11/eval.h>

#include <climits>

#include "bindings/python/binding.hpp"
#include "frame/error.hpp"

namespace zorbel::python {

namespace {

PyObject* gMissing = nullptr;

constexpr const char* kMissingSource = R"py(
class _Missing:
    """Stands for a left-out optional argument in a positional argument list."""
    __slots__ = ()

    def __repr__(self):
        return "zorbel.missing"

    def __bool__(self):
        return False

missing = _Missing()
del _Missing
)py";

// Text crosses as UTF-8; bytes that are not UTF-8 survive the trip as lone surrogates.
std::string textOf(py::handle value) {
    py::object bytes =
        py::reinterpret_steal<py::object>(PyUnicode_AsEncodedString(value.ptr(), "utf-8", "surrogateescape"));
    if (!bytes) throw py::error_already_set();
    return std::string(PyBytes_AS_STRING(bytes.ptr()), static_cast<size_t>(PyBytes_GET_SIZE(bytes.ptr())));
}

py::object textFrom(const std::string& text) {
    PyObject* decoded = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
    if (!decoded) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(decoded);
}

Variant integerOf(py::handle value) {
    int overflow = 0;
    long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
    if (number == -1 && PyErr_Occurred()) throw py::error_already_set();
    if (!overflow && number >= INT32_MIN && number <= INT32_MAX)
        return Variant::longValue(static_cast<int32_t>(number));
    double wide = PyLong_AsDouble(value.ptr());
    if (wide == -1.0 && PyErr_Occurred()) {
        PyErr_Clear();
        throw Error::runtime(err::kOverflow);
    }
    return Variant(wide);
}

Variant sequenceOf(py::handle value) {
    std::vector<Variant> items;
    for (py::handle item : value) items.push_back(toVariant(item));
    return Variant::array(std::move(items));
}

Variant bytesOf(py::handle value) {
    std::string raw = PyBytes_Check(value.ptr()) ? std::string(py::bytes(py::reinterpret_borrow<py::object>(value)))
                                                 : std::string(PyByteArray_AS_STRING(value.ptr()),
                                                               static_cast<size_t>(PyByteArray_GET_SIZE(value.ptr())));
    std::vector<Variant> items;
    items.reserve(raw.size());
    for (char c : raw) items.push_back(Variant::byte(static_cast<uint8_t>(c)));
    return Variant::array(std::move(items), 0, VarType::Byte);
}

// One dimension of an array as a list; deeper dimensions become nested lists.
py::object dimensionOf(const VariantArray& array, size_t dimension, size_t base, const std::vector<size_t>& strides) {
    size_t count = static_cast<size_t>(array.bounds[dimension].count);
    py::list out(count);
    for (size_t i = 0; i < count; ++i) {
        size_t at = base + i * strides[dimension];
        out[i] = dimension + 1 == array.bounds.size() ? fromVariant(array.items.at(at))
                                                      : dimensionOf(array, dimension + 1, at, strides);
    }
    return out;
}

py::object arrayFrom(const VariantArray& array) {
    if (array.elementType == VarType::Byte && array.bounds.size() == 1) {
        std::string raw;
        raw.reserve(array.items.size());
        for (const Variant& item : array.items) raw.push_back(static_cast<char>(item.toByte()));
        return py::bytes(raw);
    }
    if (array.bounds.empty()) return py::list();
    // Items are stored with the first index varying fastest.
    std::vector<size_t> strides(array.bounds.size(), 1);
    for (size_t d = 1; d < array.bounds.size(); ++d)
        strides[d] = strides[d - 1] * static_cast<size_t>(array.bounds[d - 1].count);
    return dimensionOf(array, 0, 0, strides);
}

}  // namespace

py::handle missingMarker() { return gMissing; }

Variant toVariant(py::handle value) {
    PyObject* raw = value.ptr();
    if (value.is_none()) return Variant();
    if (raw == gMissing) return Variant::missing();
    if (PyBool_Check(raw)) return Variant(raw == Py_True);
    if (PyLong_Check(raw)) return integerOf(value);
    if (PyFloat_Check(raw)) return Variant(PyFloat_AS_DOUBLE(raw));
    if (PyUnicode_Check(raw)) return Variant(textOf(value));
    if (com::IDispatch* object = unwrap(value)) return Variant(ObjectRef(object));
    if (const RecordValue* record = recordOf(value)) return Variant::record(*record);
    if (PyBytes_Check(raw) || PyByteArray_Check(raw)) return bytesOf(value);
    if (PyList_Check(raw) || PyTuple_Check(raw)) return sequenceOf(value);
    // Other numbers: whatever offers an integer or float form (numpy scalars, Decimal, ...).
    if (PyIndex_Check(raw)) return integerOf(py::reinterpret_steal<py::object>(PyNumber_Index(raw)));
    if (PyObject_HasAttrString(raw, "__float__")) {
        double number = PyFloat_AsDouble(raw);
        if (number == -1.0 && PyErr_Occurred()) throw py::error_already_set();
        return Variant(number);
    }
    throw py::type_error(std::string("a value of type '") + Py_TYPE(raw)->tp_name +
                         "' cannot be passed to the library");
}

py::object fromVariant(const Variant& value) {
    switch (value.type()) {
        case VarType::Empty:
        case VarType::Null:
        case VarType::Error:
        case VarType::Variant:
            return py::none();
        case VarType::Integer:
        case VarType::Long:
        case VarType::Byte:
            return py::int_(value.toLong());
        case VarType::Single:
        case VarType::Double:
            return py::float_(value.toDouble());
        case VarType::Boolean:
            return py::bool_(value.toBool());
        case VarType::String:
            return textFrom(value.toString());
        case VarType::Object:
            return wrap(value.toObject());
        case VarType::Record:
            return fromRecord(value.record());
        case VarType::Array:
            return arrayFrom(value.array());
    }
    return py::none();
}

void defineConversions(py::module_& m) {
    py::dict scope = m.attr("__dict__");
    py::exec(kMissingSource, scope);
    gMissing = m.attr("missing").ptr();
    Py_INCREF(gMissing);
}

}  // namespace zorbel::python
