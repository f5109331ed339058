#pragma once
// The variant: one tagged value for optional and polymorphic arguments and results. The
// conversions follow the classic rules: numbers round to nearest with ties to even, values out
// of range raise overflow (6), values that cannot convert raise type mismatch (13).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "frame/com.hpp"
#include "frame/ref.hpp"

namespace zorbel {

// Type tags with the classic numbers (as VarType reports them).
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,  // 16-bit
    Long = 3,     // 32-bit
    Single = 4,
    Double = 5,
    String = 8,
    Object = 9,
    Error = 10,    // only the "missing argument" marker
    Boolean = 11,
    Variant = 12,  // only as a declared parameter or element type: any value
    Byte = 17,
    Record = 36,   // a value of a public record type
    Array = 0x2000,
};

const char* varTypeName(VarType type);

using ObjectRef = Ref<com::IDispatch>;

class Variant;
struct RecordInfo;

// A value of a public record type: its type and its fields in declaration order.
struct RecordValue {
    const RecordInfo* info = nullptr;
    std::vector<Variant> fields;
};

// A fixed-size array of variants with one or more dimensions. Items are stored with the first
// index varying fastest.
struct VariantArray {
    struct Bound {
        int32_t lower = 0;
        int32_t count = 0;
    };
    VarType elementType = VarType::Variant;
    std::vector<Bound> bounds;
    std::vector<Variant> items;

    // The flat position of an index tuple; raises error 9 when out of range.
    size_t position(const std::vector<int32_t>& index) const;
};

class Variant {
public:
    Variant() = default;  // Empty
    Variant(bool value);
    Variant(int value);  // Long
    Variant(double value);
    Variant(std::string value);
    Variant(std::string_view value);
    Variant(const char* value);
    Variant(ObjectRef object);  // Object (a null reference is Nothing)

    static Variant null();
    static Variant integer(int16_t value);
    static Variant longValue(int32_t value);
    static Variant byte(uint8_t value);
    static Variant single(float value);
    static Variant nothing();  // an Object variant without an object
    // The marker for an optional argument the caller left out.
    static Variant missing();
    static Variant record(RecordValue value);
    static Variant array(VariantArray array);
    // A one-dimensional array with the given lower bound.
    static Variant array(std::vector<Variant> items, int32_t lowerBound = 0, VarType elementType = VarType::Variant);

    VarType type() const { return type_; }
    bool isEmpty() const { return type_ == VarType::Empty; }
    bool isNull() const { return type_ == VarType::Null; }
    bool isObject() const { return type_ == VarType::Object; }
    bool isString() const { return type_ == VarType::String; }
    bool isArray() const { return type_ == VarType::Array; }
    bool isMissing() const { return type_ == VarType::Error; }
    bool isRecord() const { return type_ == VarType::Record; }
    bool isNumeric() const;  // Integer, Long, Single, Double, Byte, Boolean

    // Conversions with the classic rules (may raise 6, 13 or 94).
    bool toBool() const;
    int16_t toInteger() const;
    int32_t toLong() const;
    uint8_t toByte() const;
    float toSingle() const;
    double toDouble() const;
    std::string toString() const;
    // The object reference; Empty and Nothing give a null reference; other values raise 13.
    ObjectRef toObject() const;
    Variant convertTo(VarType type) const;

    const VariantArray& array() const;  // raises 13 when not an array
    VariantArray& array();
    const RecordValue& record() const;  // raises 13 when not a record
    RecordValue& record();

    // Same type and same value (objects: same pointer); for tests and collections.
    bool operator==(const Variant& other) const;

private:
    using Storage = std::variant<std::monostate, int16_t, int32_t, uint8_t, float, double, std::string, ObjectRef,
                                 std::shared_ptr<VariantArray>, std::shared_ptr<RecordValue>>;
    // Builds the stored alternative in place (a temporary Storage would be copied needlessly).
    template <class T>
    Variant(VarType type, T&& value) : type_(type), storage_(std::forward<T>(value)) {}

    VarType type_ = VarType::Empty;
    Storage storage_;
};

// Classic rounding helpers, exposed for classes that convert numbers themselves.
namespace convert {
int16_t toInteger(double value);  // ties to even, 6 on overflow
int32_t toLong(double value);
uint8_t toByte(double value);
// Parses a whole text as a number the way the classic conversions do ("  12.5 ", "&HFF",
// "1E3"); raises 13 when the text is not a number.
double parseNumber(std::string_view text);
// The classic text form of a double ("0.5", "1E+20") and of a single.
std::string formatDouble(double value);
std::string formatSingle(float value);
}  // namespace convert

}  // namespace zorbel
