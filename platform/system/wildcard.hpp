#pragma once
// File-name patterns with "*" (any run of characters, also none) and "?" (exactly one
// character), matched without letter case. Characters are Unicode code points; both sides are
// lower-cased the same way (frame/text), so "*.MP3" matches "song.mp3" and "?" matches "É".
// As in the classic file search, the patterns "", "*" and "*.*" match every name, including
// names without a dot.

#include <string>
#include <string_view>

namespace zorbel::system {

// The lower-cased form of a name that patterns are matched against (and that file search sorts
// by). Pure ASCII names take a fast path.
std::string foldCase(std::string_view name);
// foldCase(name) appended to out, without a separate allocation for ASCII names.
void appendFoldedCase(std::string& out, std::string_view name);

class WildcardPattern {
public:
    explicit WildcardPattern(std::string_view pattern);

    bool matches(std::string_view name) const { return matchesFolded(foldCase(name)); }
    // For a name already passed through foldCase.
    bool matchesFolded(std::string_view foldedName) const;
    bool matchesEverything() const { return everything_; }

private:
    std::string folded_;
    bool everything_ = false;
};

}  // namespace zorbel::system
