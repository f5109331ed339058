#pragma once
// The enumerator a collection's NewEnum hands out: it walks a snapshot of the items taken
// when it was made, so a loop that changes the collection does not disturb itself.

#include <vector>

#include "frame/object.hpp"

namespace zorbel {

class Enumerator final : public Dispatchable<Enumerator>, public com::IEnumVariant {
public:
    explicit Enumerator(std::vector<Variant> items) : items_(std::move(items)) {}
    static const ClassInfo& typeInfo();

    // One IUnknown for both bases.
    com::HResult QueryInterface(const com::Guid& iid, void** object) override { return Object::QueryInterface(iid, object); }
    uint32_t AddRef() override { return Object::AddRef(); }
    uint32_t Release() override { return Object::Release(); }

    com::HResult Next(Variant* item) override;
    com::HResult Skip(uint32_t count) override;
    com::HResult Reset() override;

protected:
    com::IUnknown* queryExtraInterface(const com::Guid& iid) override;

private:
    std::vector<Variant> items_;
    size_t next_ = 0;
};

// An enumerator object as a variant, for NewEnum members.
Variant makeEnumerator(std::vector<Variant> items);

// Every item an enumerator variant yields (the client side of a for-each loop).
std::vector<Variant> enumerate(const Variant& enumerator);

}  // namespace zorbel
