// zorbel.Error: the one exception of the module, with the number, description and source of
// the library's raised error; and how C++ code reports and keeps Python objects.

#include <pybind11/eval.h>

#include "bindings/python/binding.hpp"
#include "frame/error.hpp"

namespace zorbel::python {

namespace {

// Kept for the life of the process; the module is never unloaded.
PyObject* gErrorClass = nullptr;

constexpr const char* kErrorSource = R"py(
class Error(Exception):
    """A raised error of the library: number, description and source."""

    def __init__(self, number=0, description="", source=""):
        super().__init__(number, description, source)
        self.number = number
        self.description = description
        self.source = source

    def __str__(self):
        number = self.number
        if isinstance(number, int) and number < 0:
            number = "%d (0x%08X)" % (number, number & 0xFFFFFFFF)
        return "%s: %s" % (number, self.description)
)py";

}  // namespace

void raiseError(int32_t number, const std::string& description, const std::string& source) {
    py::object error = py::reinterpret_borrow<py::object>(gErrorClass)(number, description, source);
    PyErr_SetObject(gErrorClass, error.ptr());
    throw py::error_already_set();
}

void reportUncaught(py::error_already_set& error) {
    try {
        py::object trace = error.trace() ? error.trace() : py::object(py::none());
        py::module_::import("sys").attr("excepthook")(error.type(), error.value(), trace);
    } catch (py::error_already_set& hookFailed) {
        // A broken excepthook: fall back to the interpreter's report of lost exceptions.
        hookFailed.discard_as_unraisable("zorbel event handler");
    }
}

std::shared_ptr<py::object> holdPython(py::object object) {
    return std::shared_ptr<py::object>(new py::object(std::move(object)), [](py::object* held) {
#if PY_VERSION_HEX >= 0x030D0000
        bool running = Py_IsInitialized() && !Py_IsFinalizing();
#else
        bool running = Py_IsInitialized() && !_Py_IsFinalizing();
#endif
        if (running) {
            py::gil_scoped_acquire locked;
            delete held;
        } else {
            held->release();  // nothing is left to free it with
            delete held;
        }
    });
}

void defineErrors(py::module_& m) {
    py::dict scope = m.attr("__dict__");
    py::exec(kErrorSource, scope);
    gErrorClass = m.attr("Error").ptr();
    Py_INCREF(gErrorClass);

    py::register_exception_translator([](std::exception_ptr pending) {
        try {
            if (pending) std::rethrow_exception(pending);
        } catch (const Error& e) {
            try {
                raiseError(e.number(), e.description(), e.source());
            } catch (py::error_already_set& raised) {
                raised.restore();
            }
        }
    });
}

}  // namespace zorbel::python
