// Events as Python callables. zorbel.connect attaches one sink per connection to the object's
// event source; the sink is a dispatch object that calls the Python callable when its event
// arrives. A handler's exception cannot travel back through the library: it is reported like
// an uncaught one and the object carries on.

#include <atomic>

#include "bindings/python/binding.hpp"
#include "frame/error.hpp"
#include "frame/text.hpp"

namespace zorbel::python {

namespace {

class EventSink final : public com::IDispatch {
public:
    EventSink(int32_t eventId, py::object handler) : eventId_(eventId), handler_(holdPython(std::move(handler))) {}

    com::HResult QueryInterface(const com::Guid& iid, void** object) override {
        if (!object) return com::kPointer;
        *object = nullptr;
        if (iid != com::IID_IUnknown && iid != com::IID_IDispatch) return com::kNoInterface;
        AddRef();
        *object = static_cast<com::IDispatch*>(this);
        return com::kOk;
    }
    uint32_t AddRef() override { return ++refs_; }
    uint32_t Release() override {
        uint32_t left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    com::HResult GetIDOfName(std::string_view, int32_t*) override { return com::kUnknownName; }
    const ClassInfo* GetTypeInfo() override { return nullptr; }

    com::HResult Invoke(int32_t id, uint16_t, Variant* args, size_t count, Variant*, com::ExcepInfo* excep) override {
        if (id != eventId_) return com::kOk;  // another event of the source
        py::gil_scoped_acquire locked;
        try {
            py::tuple pyArgs(count);
            for (size_t i = 0; i < count; ++i) pyArgs[i] = fromVariant(args[i]);
            (*handler_)(*pyArgs);
            return com::kOk;
        } catch (py::error_already_set& error) {
            reportUncaught(error);
        } catch (const std::exception& e) {
            PyErr_SetString(PyExc_RuntimeError, e.what());
            py::error_already_set error;
            reportUncaught(error);
        }
        if (excep) {
            excep->number = kUserErrorBase;
            excep->description = "The Python event handler raised an exception";
            excep->source = "zorbel (Python)";
        }
        return com::kException;
    }

private:
    ~EventSink() = default;

    std::atomic<uint32_t> refs_{0};
    int32_t eventId_;
    std::shared_ptr<py::object> handler_;
};

// The handle zorbel.connect returns. It keeps the object alive until it is disconnected.
struct Connection {
    Ref<com::IEventSource> source;
    uint32_t cookie = 0;
    std::string event;
    std::string className;

    bool disconnect() {
        if (!source) return false;
        Ref<com::IEventSource> detached = std::move(source);
        return detached->Unadvise(cookie) == com::kOk;
    }
};

Connection connect(py::handle object, const std::string& eventName, py::object handler) {
    com::IDispatch* target = unwrap(object);
    if (!target) throw py::type_error("a library object is required");
    if (!PyCallable_Check(handler.ptr())) throw py::type_error("the handler must be callable");
    const ClassInfo* info = target->GetTypeInfo();
    const EventInfo* event = nullptr;
    if (info) {
        for (const EventInfo& e : info->events) {
            if (text::equalsNoCase(e.name, eventName)) event = &e;
        }
    }
    void* raw = nullptr;
    if (!event || target->QueryInterface(com::IID_IEventSource, &raw) != com::kOk || !raw)
        raiseError(err::kMemberNotSupported, "Object has no event '" + eventName + "'", kDefaultErrorSource);
    Connection connection;
    connection.source = Ref<com::IEventSource>::adopt(static_cast<com::IEventSource*>(raw));
    connection.event = event->name;
    connection.className = info->name;
    Ref<EventSink> sink(new EventSink(event->id, std::move(handler)));
    com::HResult hr = connection.source->Advise(sink.get(), &connection.cookie);
    if (!com::succeeded(hr)) throw Error(hr, "The object refused the event handler");
    return connection;
}

}  // namespace

void defineEvents(py::module_& m) {
    py::class_<Connection>(m, "Connection", "An event handler attached by zorbel.connect.")
        .def("disconnect", &Connection::disconnect, "Detaches the handler; False when it was detached already.")
        .def_property_readonly("connected", [](const Connection& c) { return static_cast<bool>(c.source); })
        .def_readonly("event", &Connection::event)
        .def("__enter__", [](py::object self) { return self; })
        .def("__exit__", [](Connection& c, py::args) { c.disconnect(); })
        .def("__repr__", [](const Connection& c) {
            return "<zorbel.Connection " + c.className + "." + c.event + (c.source ? "" : " (disconnected)") + ">";
        });

    m.def("connect", &connect, py::arg("object"), py::arg("event"), py::arg("handler"),
          "Attaches a callable to an event of a library object; it receives the event's arguments.\n"
          "Returns the connection, which keeps the object alive until zorbel.disconnect.");
    m.def(
        "disconnect", [](Connection& connection) { return connection.disconnect(); }, py::arg("connection"),
        "Detaches an event handler attached by zorbel.connect.");
}

}  // namespace zorbel::python
