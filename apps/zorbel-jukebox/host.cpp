#include "apps/zorbel-jukebox/host.hpp"

#include "frame/zorbel_library.hpp"

namespace zorbel::host {

ObjectRef create(const std::string& progId) {
    const ClassIdentity* identity = zorbelLibrary().findByProgId(progId);
    if (!identity) throw Error::runtime(err::kCannotCreateObject);
    return ObjectRef(zorbelLibrary().create(*identity)->asDispatch());
}

Variant get(const ObjectRef& object, const std::string& member, Args args) {
    return invokeDispatch(object.get(), member, com::kGet, args);
}

void let(const ObjectRef& object, const std::string& member, Variant value) {
    Args args = {std::move(value)};
    invokeDispatch(object.get(), member, com::kLet, args);
}

Variant call(const ObjectRef& object, const std::string& member, Args args) {
    return invokeDispatch(object.get(), member, com::kMethod, args);
}

Variant callWithResults(const ObjectRef& object, const std::string& member, Args& args) {
    return invokeDispatch(object.get(), member, com::kMethod, args);
}

}  // namespace zorbel::host
