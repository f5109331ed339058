#include "platform/db/db_error.hpp"

namespace zorbel::db {

Error dbError(DbError e, const std::string& description) {
    return Error(errorNumber(e), description, kErrorSource);
}

}  // namespace zorbel::db
