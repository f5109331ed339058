// The Python module `zorbel`: the library's classes, records, enumerations, events and errors
// for scripts, all through the generic dispatch entry and type information.

#include "bindings/python/binding.hpp"

PYBIND11_MODULE(zorbel, m) {
    using namespace zorbel::python;
    m.doc() =
        "Scripting the Zorbel toolkit: CreateObject, objects with their members as attributes, "
        "records, enumerations, events (connect/disconnect), zorbel.Error, pump/wait and message boxes.";
    defineErrors(m);
    defineConversions(m);
    defineObjects(m);
    defineCalls(m);
    defineRecords(m);
    defineLibrary(m);
    defineEvents(m);
    defineQueue(m);
    defineTestSupport(m);
}
