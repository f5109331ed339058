#pragma once
// The errors of the database layer. Every raised error is a zorbel::Error with the source
// "Zorbel.Database" and a number from kUserErrorBase + 0xC00 on.

#include <cstdint>
#include <string>

#include "frame/error.hpp"

namespace zorbel::db {

inline constexpr const char* kErrorSource = "Zorbel.Database";

enum class DbError : int32_t {
    CannotOpen = 0xC01,         // connection text, missing or foreign file, read-only file
    MalformedCriterion = 0xC02,
    UnknownColumn = 0xC03,
    NoCurrentRow = 0xC04,       // read or write at the end of the table
    ValueDoesNotFit = 0xC05,    // wrong kind or longer than the declared size
    EngineFailure = 0xC06,      // the storage engine reported an error
    RowDeleted = 0xC07,         // the current row was removed by another connection
    NotOpen = 0xC08,
};

inline int32_t errorNumber(DbError e) { return kUserErrorBase + static_cast<int32_t>(e); }

Error dbError(DbError e, const std::string& description);

}  // namespace zorbel::db
