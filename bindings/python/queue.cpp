// The calling thread's message queue and the message boxes, for scripts: events and timer
// ticks of the library run while the script pumps; every message box can be answered by a
// Python callable.

#include <algorithm>
#include <chrono>
#include <cmath>

#include "bindings/python/binding.hpp"
#include "platform/window/message_box.hpp"
#include "platform/window/pump.hpp"

namespace zorbel::python {

namespace {

using Clock = std::chrono::steady_clock;

// How long a wait sleeps at most before it looks at the interpreter's signals (Ctrl+C).
constexpr std::chrono::milliseconds kSignalCheck{50};

size_t pump() {
    py::gil_scoped_release unlocked;
    return window::pumpOnce();
}

void wait(double seconds) {
    if (!(seconds >= 0) || std::isinf(seconds)) throw py::value_error("seconds must be a finite number of at least 0");
    Clock::time_point deadline =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    do {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        auto slice = std::clamp(left, std::chrono::milliseconds(0), kSignalCheck);
        {
            py::gil_scoped_release unlocked;
            window::runUntil([] { return false; }, slice);
        }
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    } while (Clock::now() < deadline);
}

void setHook(py::object hook) {
    if (hook.is_none()) {
        window::setMessageBoxHook(nullptr);
        return;
    }
    if (!PyCallable_Check(hook.ptr())) throw py::type_error("the message box hook must be callable or None");
    std::shared_ptr<py::object> held = holdPython(std::move(hook));
    window::setMessageBoxHook(
        [held](const std::string& text, const std::string& caption, uint32_t style) -> std::optional<int> {
            py::gil_scoped_acquire locked;
            try {
                py::object answer = (*held)(fromVariant(Variant(text)), fromVariant(Variant(caption)), style);
                if (answer.is_none()) return std::nullopt;
                return answer.cast<int>();
            } catch (py::error_already_set& error) {
                reportUncaught(error);
            } catch (const py::cast_error&) {
                PyErr_SetString(PyExc_TypeError, "a message box hook must answer an int or None");
                py::error_already_set error;
                reportUncaught(error);
            }
            return std::nullopt;
        });
}

}  // namespace

void defineQueue(py::module_& m) {
    m.def("pump", &pump, "Runs the calling thread's pending messages and due timers once; returns how many ran.");
    m.def("wait", &wait, py::arg("seconds"),
          "Keeps pumping the calling thread's queue for this many seconds; events and timer\n"
          "ticks run inside.");
    m.def("set_message_box_hook", &setHook, py::arg("hook"),
          "hook(text, caption, style) answers every message box of the process (an int such as\n"
          "IDYES, or None for the default button). None restores the default message boxes.");
    struct Constant {
        const char* name;
        int value;
    };
    static const Constant answers[] = {
        {"IDOK", window::IDOK},       {"IDCANCEL", window::IDCANCEL}, {"IDABORT", window::IDABORT},
        {"IDRETRY", window::IDRETRY}, {"IDIGNORE", window::IDIGNORE}, {"IDYES", window::IDYES},
        {"IDNO", window::IDNO},
    };
    for (const Constant& c : answers) m.attr(c.name) = c.value;
}

}  // namespace zorbel::python
