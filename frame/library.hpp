#pragma once
// LibraryInfo: what one component library offers: its type library identity, its class table
// with a factory for each class that is implemented, and its public records and enumerations.

#include <string>
#include <string_view>
#include <vector>

#include "frame/object.hpp"
#include "frame/typeinfo.hpp"

namespace zorbel {

using Factory = Ref<Object> (*)();

template <class T>
Ref<Object> createObject() {
    return Ref<Object>(new T());
}

struct LibraryInfo {
    std::string typeLibName;   // "ZorbelKit"; program identifiers are this name, a dot and the class name
    com::Guid libid;
    std::string version;       // "1.42"
    std::string help;
    const std::vector<ClassIdentity>* classes = nullptr;
    std::vector<std::pair<std::string, Factory>> factories;  // by class name
    std::vector<const RecordInfo*> records;
    std::vector<const EnumInfo*> enums;

    const ClassIdentity* findByName(std::string_view className) const;  // without letter case
    const ClassIdentity* findByClsid(const com::Guid& clsid) const;
    const ClassIdentity* findByProgId(std::string_view progId) const;
    std::string progId(const ClassIdentity& identity) const;
    const RecordInfo* findRecord(std::string_view name) const;
    Factory factoryFor(const ClassIdentity& identity) const;  // nullptr when not implemented yet

    // A new object of a creatable, implemented class; error 429 otherwise.
    Ref<Object> create(const ClassIdentity& identity) const;
    // The calling thread's shared instance of a global class, made on first use.
    Ref<Object> globalInstance(const ClassIdentity& identity) const;
};

}  // namespace zorbel
