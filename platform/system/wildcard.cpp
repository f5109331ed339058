#include "platform/system/wildcard.hpp"

#include "frame/text.hpp"

namespace zorbel::system {

namespace {

bool isAscii(std::string_view s) {
    for (char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// The byte offset after the code point starting at pos. Folded texts are valid UTF-8.
size_t nextCodePoint(std::string_view s, size_t pos) {
    ++pos;
    while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80) ++pos;
    return pos;
}

// Greedy matching with one resumption point for the last "*": linear for patterns with one
// star, never worse than pattern length times name length.
bool matchFolded(std::string_view pattern, std::string_view name) {
    size_t p = 0, n = 0;
    size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = nextCodePoint(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            starName = nextCodePoint(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

void appendFoldedCase(std::string& out, std::string_view name) {
    if (!isAscii(name)) {
        out += text::toLower(name);
        return;
    }
    for (char c : name) out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

std::string foldCase(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    appendFoldedCase(out, name);
    return out;
}

WildcardPattern::WildcardPattern(std::string_view pattern)
    : folded_(foldCase(pattern)), everything_(pattern.empty() || pattern == "*" || pattern == "*.*") {}

bool WildcardPattern::matchesFolded(std::string_view foldedName) const {
    return everything_ || matchFolded(folded_, foldedName);
}

}  // namespace zorbel::system
