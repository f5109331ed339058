#pragma once
// New unique identifiers: a random (version 4) identifier in braces, upper-case hex, for
// example "{3F2504E0-4F89-41D3-9A0C-0305E82C3301}". 122 random bits from the kernel make a
// repeat practically impossible; the text never holds a single quote, so callers may put it
// inside a quoted search condition.

#include <string>

namespace zorbel::system {

std::string newUniqueId();

}  // namespace zorbel::system
