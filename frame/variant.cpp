#include "frame/variant.hpp"

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "frame/error.hpp"
#include "frame/text.hpp"

namespace zorbel {

namespace convert {

namespace {

double roundHalfEven(double value) {
    // nearbyint honours the current rounding mode, which the toolkit never changes from
    // round-to-nearest-even; rint-family functions are exact for all finite doubles.
    return std::nearbyint(value);
}

template <class Int>
Int roundedInto(double value) {
    if (std::isnan(value)) throw Error::runtime(err::kOverflow);
    double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw Error::runtime(err::kOverflow);
    return static_cast<Int>(rounded);
}

std::string trimBlanks(std::string_view s) {
    size_t start = 0, end = s.size();
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (start < end && blank(s[start])) ++start;
    while (end > start && blank(s[end - 1])) --end;
    return std::string(s.substr(start, end - start));
}

std::string stripTrailingZeros(std::string s) {
    // "%.15G" never pads with zeros, except in the exponent, which stays as it is.
    return s;
}

}  // namespace

int16_t toInteger(double value) { return roundedInto<int16_t>(value); }
int32_t toLong(double value) { return roundedInto<int32_t>(value); }
uint8_t toByte(double value) { return roundedInto<uint8_t>(value); }

double parseNumber(std::string_view textIn) {
    std::string s = trimBlanks(textIn);
    if (s.empty()) throw Error::runtime(err::kTypeMismatch);
    if (s.size() > 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h' || s[1] == 'O' || s[1] == 'o')) {
        int base = (s[1] == 'H' || s[1] == 'h') ? 16 : 8;
        char* end = nullptr;
        unsigned long long value = std::strtoull(s.c_str() + 2, &end, base);
        if (*end != '\0' || value > 0xFFFFFFFFull) throw Error::runtime(err::kTypeMismatch);
        if (value <= 0xFFFF) return static_cast<int16_t>(value);
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    // Only plain decimal forms: strtod alone would also take "inf", "nan" and hex floats.
    for (char c : s) {
        bool allowed = (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
        if (!allowed) throw Error::runtime(err::kTypeMismatch);
    }
    char* end = nullptr;
    double value = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || *end != '\0') throw Error::runtime(err::kTypeMismatch);
    if (std::isinf(value)) throw Error::runtime(err::kOverflow);
    return value;
}

std::string formatDouble(double value) {
    if (value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return stripTrailingZeros(buffer);
}

std::string formatSingle(float value) {
    if (value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    return buffer;
}

}  // namespace convert

const char* varTypeName(VarType type) {
    switch (type) {
        case VarType::Empty: return "Empty";
        case VarType::Null: return "Null";
        case VarType::Integer: return "Integer";
        case VarType::Long: return "Long";
        case VarType::Single: return "Single";
        case VarType::Double: return "Double";
        case VarType::String: return "String";
        case VarType::Object: return "Object";
        case VarType::Boolean: return "Boolean";
        case VarType::Variant: return "Variant";
        case VarType::Byte: return "Byte";
        case VarType::Array: return "Array";
        case VarType::Error: return "Error";
        case VarType::Record: return "Record";
    }
    return "Unknown";
}

size_t VariantArray::position(const std::vector<int32_t>& index) const {
    if (index.size() != bounds.size()) throw Error::runtime(err::kSubscriptOutOfRange);
    size_t flat = 0;
    size_t stride = 1;
    for (size_t d = 0; d < bounds.size(); ++d) {
        int64_t offset = int64_t{index[d]} - bounds[d].lower;
        if (offset < 0 || offset >= bounds[d].count) throw Error::runtime(err::kSubscriptOutOfRange);
        flat += static_cast<size_t>(offset) * stride;
        stride *= static_cast<size_t>(bounds[d].count);
    }
    return flat;
}

Variant::Variant(bool value) : type_(VarType::Boolean), storage_(static_cast<int16_t>(value ? -1 : 0)) {}
Variant::Variant(int value) : type_(VarType::Long), storage_(static_cast<int32_t>(value)) {}
Variant::Variant(double value) : type_(VarType::Double), storage_(value) {}
Variant::Variant(std::string value) : type_(VarType::String), storage_(std::move(value)) {}
Variant::Variant(std::string_view value) : type_(VarType::String), storage_(std::string(value)) {}
Variant::Variant(const char* value) : type_(VarType::String), storage_(std::string(value)) {}
Variant::Variant(ObjectRef object) : type_(VarType::Object), storage_(std::move(object)) {}

Variant Variant::null() { return Variant(VarType::Null, std::monostate{}); }
Variant Variant::integer(int16_t value) { return Variant(VarType::Integer, value); }
Variant Variant::longValue(int32_t value) { return Variant(VarType::Long, value); }
Variant Variant::byte(uint8_t value) { return Variant(VarType::Byte, value); }
Variant Variant::single(float value) { return Variant(VarType::Single, value); }
Variant Variant::nothing() { return Variant(VarType::Object, ObjectRef()); }
Variant Variant::missing() { return Variant(VarType::Error, static_cast<int32_t>(0x80020004u)); }
Variant Variant::record(RecordValue value) {
    return Variant(VarType::Record, std::make_shared<RecordValue>(std::move(value)));
}

Variant Variant::array(VariantArray array) {
    return Variant(VarType::Array, std::make_shared<VariantArray>(std::move(array)));
}
Variant Variant::array(std::vector<Variant> items, int32_t lowerBound, VarType elementType) {
    VariantArray a;
    a.elementType = elementType;
    a.bounds.push_back({lowerBound, static_cast<int32_t>(items.size())});
    a.items = std::move(items);
    return array(std::move(a));
}

bool Variant::isNumeric() const {
    switch (type_) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Single:
        case VarType::Double:
        case VarType::Byte:
        case VarType::Boolean: return true;
        default: return false;
    }
}

double Variant::toDouble() const {
    switch (type_) {
        case VarType::Empty: return 0;
        case VarType::Null: throw Error::runtime(err::kInvalidUseOfNull);
        case VarType::Integer:
        case VarType::Boolean: return std::get<int16_t>(storage_);
        case VarType::Long: return std::get<int32_t>(storage_);
        case VarType::Byte: return std::get<uint8_t>(storage_);
        case VarType::Single: return std::get<float>(storage_);
        case VarType::Double: return std::get<double>(storage_);
        case VarType::String: {
            const std::string& s = std::get<std::string>(storage_);
            if (text::equalsNoCase(text::trim(s), "True")) return -1;
            if (text::equalsNoCase(text::trim(s), "False")) return 0;
            return convert::parseNumber(s);
        }
        default: throw Error::runtime(err::kTypeMismatch);
    }
}

bool Variant::toBool() const {
    if (type_ == VarType::Boolean) return std::get<int16_t>(storage_) != 0;
    return toDouble() != 0;
}

int16_t Variant::toInteger() const {
    if (type_ == VarType::Integer || type_ == VarType::Boolean) return std::get<int16_t>(storage_);
    return convert::toInteger(toDouble());
}

int32_t Variant::toLong() const {
    if (type_ == VarType::Long) return std::get<int32_t>(storage_);
    return convert::toLong(toDouble());
}

uint8_t Variant::toByte() const {
    if (type_ == VarType::Byte) return std::get<uint8_t>(storage_);
    return convert::toByte(toDouble());
}

float Variant::toSingle() const {
    if (type_ == VarType::Single) return std::get<float>(storage_);
    double d = toDouble();
    if (std::isfinite(d) && std::fabs(d) > std::numeric_limits<float>::max()) throw Error::runtime(err::kOverflow);
    return static_cast<float>(d);
}

std::string Variant::toString() const {
    switch (type_) {
        case VarType::Empty: return "";
        case VarType::Null: throw Error::runtime(err::kInvalidUseOfNull);
        case VarType::Boolean: return std::get<int16_t>(storage_) ? "True" : "False";
        case VarType::Integer: return std::to_string(std::get<int16_t>(storage_));
        case VarType::Long: return std::to_string(std::get<int32_t>(storage_));
        case VarType::Byte: return std::to_string(std::get<uint8_t>(storage_));
        case VarType::Single: return convert::formatSingle(std::get<float>(storage_));
        case VarType::Double: return convert::formatDouble(std::get<double>(storage_));
        case VarType::String: return std::get<std::string>(storage_);
        default: throw Error::runtime(err::kTypeMismatch);
    }
}

ObjectRef Variant::toObject() const {
    if (type_ == VarType::Object) return std::get<ObjectRef>(storage_);
    if (type_ == VarType::Empty) return ObjectRef();
    throw Error::runtime(err::kTypeMismatch);
}

Variant Variant::convertTo(VarType type) const {
    switch (type) {
        case VarType::Variant: return *this;
        case VarType::Empty: return Variant();
        case VarType::Null: return null();
        case VarType::Boolean: return Variant(toBool());
        case VarType::Integer: return integer(toInteger());
        case VarType::Long: return longValue(toLong());
        case VarType::Byte: return byte(toByte());
        case VarType::Single: return single(toSingle());
        case VarType::Double: return Variant(toDouble());
        case VarType::String: return Variant(toString());
        case VarType::Object: return Variant(toObject());
        case VarType::Array:
        case VarType::Record:
        case VarType::Error:
            if (type_ != type) throw Error::runtime(err::kTypeMismatch);
            return *this;
    }
    throw Error::runtime(err::kTypeMismatch);
}

const VariantArray& Variant::array() const {
    if (type_ != VarType::Array) throw Error::runtime(err::kTypeMismatch);
    return *std::get<std::shared_ptr<VariantArray>>(storage_);
}

VariantArray& Variant::array() {
    if (type_ != VarType::Array) throw Error::runtime(err::kTypeMismatch);
    auto& shared = std::get<std::shared_ptr<VariantArray>>(storage_);
    // Arrays have value semantics: copy on the first write after a copy of the variant.
    if (shared.use_count() > 1) shared = std::make_shared<VariantArray>(*shared);
    return *shared;
}

const RecordValue& Variant::record() const {
    if (type_ != VarType::Record) throw Error::runtime(err::kTypeMismatch);
    return *std::get<std::shared_ptr<RecordValue>>(storage_);
}

RecordValue& Variant::record() {
    if (type_ != VarType::Record) throw Error::runtime(err::kTypeMismatch);
    auto& shared = std::get<std::shared_ptr<RecordValue>>(storage_);
    if (shared.use_count() > 1) shared = std::make_shared<RecordValue>(*shared);
    return *shared;
}

bool Variant::operator==(const Variant& other) const {
    if (type_ != other.type_) return false;
    if (type_ == VarType::Array) {
        const VariantArray& a = array();
        const VariantArray& b = other.array();
        if (a.elementType != b.elementType || a.bounds.size() != b.bounds.size()) return false;
        for (size_t i = 0; i < a.bounds.size(); ++i) {
            if (a.bounds[i].lower != b.bounds[i].lower || a.bounds[i].count != b.bounds[i].count) return false;
        }
        return a.items == b.items;
    }
    if (type_ == VarType::Record) return record().info == other.record().info && record().fields == other.record().fields;
    return storage_ == other.storage_;
}

}  // namespace zorbel
