#pragma once
// The search criterion of a cursor's find: a column name, "=", and a single-quoted literal in
// which two single quotes stand for one, with optional spaces between the parts:
//   ID = 'a1b2'      Title='It''s'
// Anything else is a malformed criterion.

#include <string>
#include <string_view>

namespace zorbel::db {

struct Criterion {
    std::string column;
    std::string value;
};

// The text as a quoted literal of a criterion: "it's" -> "'it''s'".
std::string quoteLiteral(std::string_view text);

// Raises DbError::MalformedCriterion naming what is wrong.
Criterion parseCriterion(std::string_view text);

}  // namespace zorbel::db
