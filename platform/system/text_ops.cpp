#include "platform/system/text_ops.hpp"

#include "frame/error.hpp"
#include "frame/text.hpp"
#include "platform/system/process_runner.hpp"

namespace zorbel::system {

namespace {

size_t checkedCount(int32_t count) {
    if (count < 0) throw Error::runtime(err::kInvalidCall, kSystemErrorSource);
    return static_cast<size_t>(count);
}

std::string_view withoutLeadingSpaces(std::string_view text) {
    size_t start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

}  // namespace

std::string nulCut(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

std::string cutLeftChars(std::string_view text, int32_t count) { return text::cutLeft(text, checkedCount(count)); }

std::string cutRightChars(std::string_view text, int32_t count) { return text::cutRight(text, checkedCount(count)); }

std::string firstWord(std::string_view text) {
    std::string_view rest = withoutLeadingSpaces(text);
    return std::string(rest.substr(0, rest.find(' ')));
}

std::string dropFirstWord(std::string_view text) {
    std::string_view rest = withoutLeadingSpaces(text);
    size_t space = rest.find(' ');
    return space == std::string_view::npos ? std::string() : std::string(withoutLeadingSpaces(rest.substr(space)));
}

std::vector<std::string> splitText(std::string_view text, std::string_view separator, std::string_view quote) {
    std::vector<std::string> parts;
    if (text.empty()) return parts;
    if (separator.empty()) return {std::string(text)};
    std::string part;
    bool quoted = false;
    size_t pos = 0;
    while (pos < text.size()) {
        if (!quote.empty() && text.substr(pos, quote.size()) == quote) {
            quoted = !quoted;
            pos += quote.size();
        } else if (!quoted && text.substr(pos, separator.size()) == separator) {
            parts.push_back(std::move(part));
            part.clear();
            pos += separator.size();
        } else {
            part += text[pos++];
        }
    }
    parts.push_back(std::move(part));
    return parts;
}

}  // namespace zorbel::system
