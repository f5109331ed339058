#include "frame/library.hpp"

#include <map>

#include "frame/text.hpp"

namespace zorbel {

const ClassIdentity* LibraryInfo::findByName(std::string_view className) const {
    for (const ClassIdentity& c : *classes) {
        if (text::equalsNoCase(c.name, className)) return &c;
    }
    return nullptr;
}

const ClassIdentity* LibraryInfo::findByClsid(const com::Guid& clsid) const {
    for (const ClassIdentity& c : *classes) {
        if (c.clsid == clsid) return &c;
    }
    return nullptr;
}

const ClassIdentity* LibraryInfo::findByProgId(std::string_view progIdText) const {
    std::string prefix = typeLibName + ".";
    if (progIdText.size() <= prefix.size() || !text::equalsNoCase(progIdText.substr(0, prefix.size()), prefix))
        return nullptr;
    return findByName(progIdText.substr(prefix.size()));
}

std::string LibraryInfo::progId(const ClassIdentity& identity) const { return typeLibName + "." + identity.name; }

const RecordInfo* LibraryInfo::findRecord(std::string_view name) const {
    for (const RecordInfo* r : records) {
        if (text::equalsNoCase(r->name, name)) return r;
    }
    return nullptr;
}

Factory LibraryInfo::factoryFor(const ClassIdentity& identity) const {
    for (const auto& [name, factory] : factories) {
        if (name == identity.name) return factory;
    }
    return nullptr;
}

Ref<Object> LibraryInfo::create(const ClassIdentity& identity) const {
    Factory factory = identity.creatable ? factoryFor(identity) : nullptr;
    if (!factory) throw Error::runtime(err::kCannotCreateObject);
    return factory();
}

Ref<Object> LibraryInfo::globalInstance(const ClassIdentity& identity) const {
    // Kept for the thread's lifetime, as the platform keeps the global object of an apartment.
    thread_local std::map<std::string, Ref<Object>> instances;
    Ref<Object>& slot = instances[identity.clsid.toString()];
    if (!slot) slot = create(identity);
    return slot;
}

}  // namespace zorbel
