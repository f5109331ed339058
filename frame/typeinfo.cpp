#include "frame/typeinfo.hpp"

#include "frame/text.hpp"

namespace zorbel {

RecordValue RecordInfo::makeValue() const {
    RecordValue value;
    value.info = this;
    for (const Field& field : fields) value.fields.push_back(Variant().convertTo(field.type));
    return value;
}

const MemberInfo* ClassInfo::find(int32_t id) const {
    auto it = byId_.find(id);
    return it == byId_.end() ? nullptr : &members[it->second];
}

const MemberInfo* ClassInfo::find(std::string_view name) const {
    auto it = byName_.find(text::toLower(name));
    return it == byName_.end() ? nullptr : &members[it->second];
}

void ClassInfo::index() {
    byId_.clear();
    byName_.clear();
    for (size_t i = 0; i < members.size(); ++i) {
        byId_[members[i].id] = i;
        byName_[text::toLower(members[i].name)] = i;
    }
}

}  // namespace zorbel
