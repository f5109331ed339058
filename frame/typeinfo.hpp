#pragma once
// Type information: what a script host can learn about a library and its classes. Every public
// member with its identifier, kinds, parameters and help text, the events, the records and the
// enumerations. The generic dispatch entry (frame/object.hpp) serves every class from this.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame/com.hpp"
#include "frame/variant.hpp"

namespace zorbel {

class Object;
using Args = std::vector<Variant>;

struct ParamInfo {
    std::string name;
    VarType type = VarType::Variant;
    bool byRef = false;
    bool optional = false;
    Variant defaultValue;              // taken when an optional argument is left out
    const RecordInfo* record = nullptr;  // for record-typed parameters
};

enum class MemberCategory : uint8_t {
    Stored,    // a public field: get stores nothing else, let/set store without checks
    Property,  // property procedures
    Method,
};

struct MemberInfo {
    using Getter = std::function<Variant(Object&, Args&)>;
    using Putter = std::function<void(Object&, Args&)>;  // the value is the last argument

    std::string name;
    int32_t id = 0;
    MemberCategory category = MemberCategory::Method;
    uint16_t kinds = 0;             // com::InvokeKind flags
    std::vector<ParamInfo> params;  // of get and method; let and set take these plus the value
    VarType resultType = VarType::Empty;  // Empty: no result
    VarType valueType = VarType::Variant;  // of let and set
    std::string help;
    bool hidden = false;

    Getter get;     // kGet
    Getter method;  // kMethod
    Putter let;     // kLet
    Putter set;     // kSet
};

struct EventInfo {
    std::string name;
    int32_t id = 0;
    std::vector<ParamInfo> params;
};

struct RecordInfo {
    struct Field {
        std::string name;
        VarType type;
    };
    std::string name;
    std::vector<Field> fields;

    // A record value with every field at its type's empty value.
    RecordValue makeValue() const;
};

struct EnumInfo {
    std::string name;
    std::vector<std::pair<std::string, int32_t>> members;
};

// The identity of a public class in its library's class table.
struct ClassIdentity {
    std::string name;
    com::Guid clsid;
    com::Guid iid;                            // the default interface
    std::vector<com::Guid> earlierIids;
    std::optional<com::Guid> eventIid;
    std::vector<com::Guid> earlierEventIids;
    bool creatable = true;
    bool global = false;  // members callable without an instance (one shared instance per thread)
};

struct ClassInfo {
    std::string name;
    const ClassIdentity* identity = nullptr;  // null for library-internal scriptable classes
    std::vector<MemberInfo> members;
    std::vector<EventInfo> events;

    const MemberInfo* find(int32_t id) const;
    const MemberInfo* find(std::string_view name) const;  // without letter case
    // Called once after the members are complete; builds the lookup tables.
    void index();

private:
    std::unordered_map<int32_t, size_t> byId_;
    std::unordered_map<std::string, size_t> byName_;
};

}  // namespace zorbel
