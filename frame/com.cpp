#include "frame/com.hpp"

#include <cstdio>
#include <cstdlib>

namespace zorbel::com {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<Guid> Guid::parse(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
    if (text.size() != 36) return std::nullopt;
    // Positions of the dashes in the 36-character form.
    for (size_t dash : {8u, 13u, 18u, 23u}) {
        if (text[dash] != '-') return std::nullopt;
    }
    uint8_t bytes[16];
    size_t out = 0;
    for (size_t i = 0; i < text.size();) {
        if (text[i] == '-') {
            ++i;
            continue;
        }
        int high = hexDigit(text[i]);
        int low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[out++] = static_cast<uint8_t>(high * 16 + low);
        i += 2;
    }
    Guid g;
    g.data1 = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | bytes[3];
    g.data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    g.data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) g.data4[i] = bytes[8 + i];
    return g;
}

Guid Guid::of(std::string_view text) {
    auto g = parse(text);
    if (!g) {
        std::fprintf(stderr, "malformed identifier literal %.*s\n", static_cast<int>(text.size()), text.data());
        std::abort();
    }
    return *g;
}

std::string Guid::toString() const {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", data1, data2, data3,
                  data4[0], data4[1], data4[2], data4[3], data4[4], data4[5], data4[6], data4[7]);
    return buffer;
}

const Guid IID_IUnknown = Guid::of("{00000000-0000-0000-C000-000000000046}");
const Guid IID_IDispatch = Guid::of("{00020400-0000-0000-C000-000000000046}");
const Guid IID_IClassFactory = Guid::of("{00000001-0000-0000-C000-000000000046}");
const Guid IID_IEnumVariant = Guid::of("{00020404-0000-0000-C000-000000000046}");
const Guid IID_IEventSource = Guid::of("{B196B284-BAB4-101A-B69C-00AA00341D07}");

}  // namespace zorbel::com
