// What the module offers of the main library as a whole: creating objects by program or class
// identifier, the global objects of the calling thread (zorbel.ToolsC), the record types and
// the members of the enumerations.

#include "bindings/python/binding.hpp"
#include "frame/activation.hpp"
#include "frame/error.hpp"
#include "frame/zorbel_library.hpp"

namespace zorbel::python {

namespace {

ObjectRef asDispatch(const Ref<Object>& object) { return ObjectRef(object ? object->asDispatch() : nullptr); }

// The library's own class table first, then the class records of the registry.
ObjectRef createByName(const std::string& name) {
    const LibraryInfo& library = zorbelLibrary();
    if (!name.empty() && name.front() == '{') {
        std::optional<com::Guid> clsid = com::Guid::parse(name);
        if (!clsid) throw Error::runtime(err::kCannotCreateObject);
        if (const ClassIdentity* identity = library.findByClsid(*clsid)) return asDispatch(library.create(*identity));
        return activation::createRegistered(*clsid);
    }
    if (const ClassIdentity* identity = library.findByProgId(name)) return asDispatch(library.create(*identity));
    std::optional<com::Guid> clsid = activation::clsidFromProgId(name);
    if (!clsid) throw Error::runtime(err::kCannotCreateObject);
    return activation::createRegistered(*clsid);
}

// The calling thread's shared instance of a global class, looked up on every access so that
// each thread sees its own.
py::object globalObject(const std::string& name) {
    const LibraryInfo& library = zorbelLibrary();
    const ClassIdentity* identity = library.findByName(name);
    if (!identity || !identity->global || name != identity->name)
        throw py::attribute_error("module 'zorbel' has no attribute '" + name + "'");
    return wrap(asDispatch(library.globalInstance(*identity)));
}

}  // namespace

void defineLibrary(py::module_& m) {
    m.def(
        "CreateObject", [](const std::string& name) { return wrap(createByName(name)); }, py::arg("name"),
        "A new object by program identifier (\"ZorbelKit.Playlist\") or class identifier text\n"
        "(\"{...}\"); zorbel.Error 429 when the class cannot be created.");
    m.def("__getattr__", &globalObject);

    const LibraryInfo& library = zorbelLibrary();
    for (const RecordInfo* record : library.records) m.attr(record->name.c_str()) = recordClass(*record);
    for (const EnumInfo* enumeration : library.enums) {
        for (const auto& [name, value] : enumeration->members) m.attr(name.c_str()) = value;
    }
    m.attr("library_name") = library.typeLibName;
    m.attr("library_version") = library.version;
}

}  // namespace zorbel::python
