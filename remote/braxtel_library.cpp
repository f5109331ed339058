#include "remote/braxtel_library.hpp"

#include "frame/text.hpp"

namespace zorbel::remote {

namespace {

const std::vector<ClassIdentity>& braxtelClassIdentities() {
    static const std::vector<ClassIdentity> table = {
        {"API", com::Guid::of("{E7B1874E-CB29-4AC4-800A-DC5C156BEC9B}"),
         com::Guid::of("{422788FC-825C-41AB-8CB0-9855AFC9846F}"), {}, std::nullopt, {}, true, false},
    };
    return table;
}

}  // namespace

const ClassIdentity* braxtelIdentity(std::string_view className) {
    for (const ClassIdentity& c : braxtelClassIdentities()) {
        if (text::equalsNoCase(c.name, className)) return &c;
    }
    return nullptr;
}

const LibraryInfo& braxtelLibrary() {
    static const LibraryInfo library = [] {
        LibraryInfo l;
        l.typeLibName = "Braxtel";
        l.libid = com::Guid::of("{49D50CE7-6513-4D50-9AE1-78173F7AE442}");
        l.version = "2.0";
        l.help = "Braxtel";
        l.classes = &braxtelClassIdentities();
        // The API class becomes creatable here once it is implemented.
        return l;
    }();
    return library;
}

}  // namespace zorbel::remote
