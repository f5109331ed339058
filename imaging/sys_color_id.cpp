#include <string_view>

#include "frame/error.hpp"
#include "frame/variant.hpp"
#include "imaging/gradient.hpp"
#include "platform/registry/registry.hpp"

namespace zorbel::imaging {

namespace {

// The first word of a text (up to its first space) and the text after that space.
std::string_view firstWord(std::string_view text) { return text.substr(0, text.find(' ')); }
std::string_view dropFirstWord(std::string_view text) {
    size_t space = text.find(' ');
    return space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
}

int16_t wordToInteger(std::string_view word) {
    return Variant(Variant(std::string(word)).toLong()).toInteger();
}

// The channel as the colour function takes it: above 255 counts as 255, below 0 is an
// invalid argument.
int32_t channel(int16_t value) {
    if (value < 0) throw Error::runtime(err::kInvalidCall);
    return value > 255 ? 255 : value;
}

}  // namespace

int32_t colorFromSysColorId(const std::string& sysColorId) {
    std::string text = "0 0 0";
    if (auto value = registry::readValue(registry::Hive::CurrentUser, "Control Panel\\Colors", sysColorId))
        text = value->asText();
    std::string_view rest = text;
    int16_t red = wordToInteger(firstWord(rest));
    rest = dropFirstWord(rest);
    int16_t green = wordToInteger(firstWord(rest));
    rest = dropFirstWord(rest);
    int16_t blue = wordToInteger(firstWord(rest));
    return channel(red) + 256 * channel(green) + 65536 * channel(blue);
}

}  // namespace zorbel::imaging
