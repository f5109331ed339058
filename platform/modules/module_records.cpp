#include "platform/modules/module_records.hpp"

#include <algorithm>
#include <cstring>

#include "frame/text.hpp"

namespace zorbel::modules {

NameField nameField(const std::string& utf8) {
    NameField field{};
    const std::string bytes = text::toWindows1252(utf8);
    std::memcpy(field.data(), bytes.data(), std::min(bytes.size(), field.size()));
    return field;
}

std::string nameText(const NameField& field) {
    return text::fromWindows1252(std::string_view(field.data(), field.size()));
}

}  // namespace zorbel::modules
