#include "frame/enumerator.hpp"

#include "frame/class_builder.hpp"

namespace zorbel {

const ClassInfo& Enumerator::typeInfo() {
    static const ClassInfo info = ClassBuilder<Enumerator>("Enumerator", nullptr).build();
    return info;
}

com::IUnknown* Enumerator::queryExtraInterface(const com::Guid& iid) {
    if (iid == com::IID_IEnumVariant) return static_cast<com::IEnumVariant*>(this);
    return nullptr;
}

com::HResult Enumerator::Next(Variant* item) {
    if (next_ >= items_.size()) return com::kFalse;
    *item = items_[next_++];
    return com::kOk;
}

com::HResult Enumerator::Skip(uint32_t count) {
    next_ += count;
    if (next_ > items_.size()) {
        next_ = items_.size();
        return com::kFalse;
    }
    return com::kOk;
}

com::HResult Enumerator::Reset() {
    next_ = 0;
    return com::kOk;
}

Variant makeEnumerator(std::vector<Variant> items) { return toVariant(makeRef<Enumerator>(std::move(items))); }

std::vector<Variant> enumerate(const Variant& enumerator) {
    ObjectRef object = enumerator.toObject();
    if (!object) throw Error::runtime(err::kObjectNotSet);
    void* raw = nullptr;
    if (object->QueryInterface(com::IID_IEnumVariant, &raw) != com::kOk) throw Error::runtime(err::kNoAutomation);
    Ref<com::IEnumVariant> items = Ref<com::IEnumVariant>::adopt(static_cast<com::IEnumVariant*>(raw));
    std::vector<Variant> out;
    Variant item;
    while (items->Next(&item) == com::kOk) out.push_back(item);
    return out;
}

}  // namespace zorbel
