#include "frame/text.hpp"

#include <clocale>
#include <cstdlib>
#include <cmath>
#include <cwctype>
#include <locale.h>

namespace zorbel::text {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point starting at s[pos] and advances pos; an invalid sequence decodes as
// U+FFFD and consumes one byte.
char32_t decodeOne(std::string_view s, size_t& pos) {
    char32_t cp;
    size_t length;
    if (!decodeAt(s, pos, cp, length)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return cp;
}

// Byte offset of the code point with the given index, or s.size() when there are fewer.
size_t offsetOf(std::string_view s, size_t index) {
    size_t pos = 0;
    while (index > 0 && pos < s.size()) {
        decodeOne(s, pos);
        --index;
    }
    return pos;
}

locale_t unicodeLocale() {
    static locale_t locale = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
        if (l == static_cast<locale_t>(0)) l = newlocale(LC_CTYPE_MASK, "C.utf8", static_cast<locale_t>(0));
        return l;
    }();
    return locale;
}

// Windows-1252 bytes 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isBlank(char c) { return c == ' '; }

}  // namespace

bool decodeAt(std::string_view s, size_t pos, char32_t& codePoint, size_t& length) {
    if (pos >= s.size()) return false;
    auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byte(pos);
    if (lead < 0x80) {
        codePoint = lead;
        length = 1;
        return true;
    }
    size_t count;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        count = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (s.size() - pos < count) return false;
    for (size_t i = 1; i < count; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) return false;
        cp = (cp << 6) | (byte(pos + i) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    codePoint = cp;
    length = count;
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = kReplacement;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::u32string decodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) out += decodeOne(s, pos);
    return out;
}

std::string encodeUtf8(std::u32string_view cps) {
    std::string out;
    out.reserve(cps.size());
    for (char32_t cp : cps) appendUtf8(out, cp);
    return out;
}

size_t length(std::string_view s) {
    size_t count = 0;
    for (size_t pos = 0; pos < s.size(); ++count) decodeOne(s, pos);
    return count;
}

std::string left(std::string_view s, size_t count) { return std::string(s.substr(0, offsetOf(s, count))); }

std::string right(std::string_view s, size_t count) {
    size_t total = length(s);
    return count >= total ? std::string(s) : std::string(s.substr(offsetOf(s, total - count)));
}

std::string mid(std::string_view s, size_t start, size_t count) {
    size_t from = offsetOf(s, start);
    std::string_view rest = s.substr(from);
    return count == std::string::npos ? std::string(rest) : std::string(rest.substr(0, offsetOf(rest, count)));
}

std::string cutLeft(std::string_view s, size_t count) { return std::string(s.substr(offsetOf(s, count))); }

std::string cutRight(std::string_view s, size_t count) {
    size_t total = length(s);
    return count >= total ? std::string() : left(s, total - count);
}

char32_t toLower(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    locale_t l = unicodeLocale();
    if (l != static_cast<locale_t>(0)) return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), l));
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
    return c;
}

char32_t toUpper(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    locale_t l = unicodeLocale();
    if (l != static_cast<locale_t>(0)) return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), l));
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
    return c;
}

std::string toLower(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) appendUtf8(out, toLower(decodeOne(s, pos)));
    return out;
}

std::string toUpper(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t pos = 0; pos < s.size();) appendUtf8(out, toUpper(decodeOne(s, pos)));
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (toLower(decodeOne(a, i)) != toLower(decodeOne(b, j))) return false;
    }
    return i == a.size() && j == b.size();
}

std::string ltrim(std::string_view s) {
    size_t start = 0;
    while (start < s.size() && isBlank(s[start])) ++start;
    return std::string(s.substr(start));
}

std::string rtrim(std::string_view s) {
    size_t end = s.size();
    while (end > 0 && isBlank(s[end - 1])) --end;
    return std::string(s.substr(0, end));
}

std::string trim(std::string_view s) { return rtrim(ltrim(s)); }

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        appendUtf8(out, (b >= 0x80 && b <= 0x9F) ? kCp1252High[b - 0x80] : char32_t{b});
    }
    return out;
}

std::string toWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t cp = decodeOne(utf8, pos);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = '?';
        for (int i = 0; i < 32; ++i) {
            if (kCp1252High[i] == cp) {
                mapped = static_cast<char>(0x80 + i);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

double leadingNumber(std::string_view s) {
    size_t pos = 0;
    auto skipBlanks = [&] {
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\n' || s[pos] == '\r')) ++pos;
    };
    skipBlanks();
    if (pos + 1 < s.size() && s[pos] == '&') {
        int base = (s[pos + 1] == 'H' || s[pos + 1] == 'h') ? 16 : (s[pos + 1] == 'O' || s[pos + 1] == 'o') ? 8 : 0;
        if (base != 0) {
            pos += 2;
            uint64_t value = 0;
            for (; pos < s.size(); ++pos) {
                int digit = -1;
                char c = s[pos];
                if (c >= '0' && c <= '9') digit = c - '0';
                else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
                else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
                if (digit < 0 || digit >= base) break;
                value = (value * base + digit) & 0xFFFFFFFFu;
            }
            // Like the classic Val, hex values of up to 16 bits are signed 16-bit, longer ones signed 32-bit.
            if (value <= 0xFFFF) return static_cast<int16_t>(value);
            return static_cast<int32_t>(value);
        }
    }
    // Val ignores blanks inside the number ("1 2 3" is 123).
    std::string digits;
    bool seenDigit = false, seenPoint = false, seenExp = false;
    if (pos < s.size() && (s[pos] == '-' || s[pos] == '+')) digits += s[pos++];
    for (; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == ' ' || c == '\t') continue;
        if (c >= '0' && c <= '9') {
            digits += c;
            seenDigit = true;
        } else if (c == '.' && !seenPoint && !seenExp) {
            digits += c;
            seenPoint = true;
        } else if ((c == 'e' || c == 'E' || c == 'd' || c == 'D') && seenDigit && !seenExp) {
            size_t look = pos + 1;
            if (look < s.size() && (s[look] == '+' || s[look] == '-')) ++look;
            if (look >= s.size() || s[look] < '0' || s[look] > '9') break;
            digits += 'e';
            seenExp = true;
            if (s[pos + 1] == '+' || s[pos + 1] == '-') digits += s[++pos];
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;
    return std::strtod(digits.c_str(), nullptr);
}

}  // namespace zorbel::text
