#include "platform/system/registry_values.hpp"

#include "frame/error.hpp"
#include "frame/text.hpp"
#include "frame/variant.hpp"
#include "platform/registry/registry.hpp"
#include "platform/system/process_runner.hpp"

namespace zorbel::system {

namespace {

registry::Hive hiveOf(uint32_t hive) {
    switch (hive) {
        case kHiveClassesRoot: return registry::Hive::ClassesRoot;
        case kHiveCurrentUser: return registry::Hive::CurrentUser;
        case kHiveLocalMachine: return registry::Hive::LocalMachine;
        default: throw Error::runtime(err::kInvalidCall, kSystemErrorSource);
    }
}

registry::Value valueOf(const std::string& value, int32_t type) {
    switch (type) {
        case kRegistryText: return registry::Value::ofString(value);
        case kRegistryExpandableText: return registry::Value::ofExpandString(value);
        case kRegistryNumber:
            return registry::Value::ofDWord(static_cast<uint32_t>(convert::toLong(text::leadingNumber(value))));
        default: throw Error::runtime(err::kInvalidCall, kSystemErrorSource);
    }
}

}  // namespace

std::string readRegistryValue(uint32_t hive, const std::string& key, const std::string& name,
                              const std::string& defaultValue) {
    std::optional<registry::Value> value = registry::readValue(hiveOf(hive), key, name);
    return value ? value->asText() : defaultValue;
}

void writeRegistryValue(uint32_t hive, const std::string& key, const std::string& name, const std::string& value,
                        int32_t type) {
    registry::Hive target = hiveOf(hive);
    registry::writeValue(target, key, name, valueOf(value, type));
}

void ensureRegistryKey(uint32_t hive, const std::string& key) {
    registry::Hive target = hiveOf(hive);
    if (!registry::keyExists(target, key)) registry::createKey(target, key);
}

void createRegistryKey(uint32_t hive, const std::string& key) { registry::createKey(hiveOf(hive), key); }

void deleteRegistryKey(uint32_t hive, const std::string& key) { registry::deleteKey(hiveOf(hive), key); }

}  // namespace zorbel::system
