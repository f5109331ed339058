#pragma once
// The utility library's registry operations over the registry stand-in. A hive is given by its
// classic number: 0x80000000 classes root, 0x80000001 current user, 0x80000002 local machine;
// any other number raises error 5. Failures of the registry itself pass through as its errors.

#include <cstdint>
#include <string>

namespace zorbel::system {

inline constexpr uint32_t kHiveClassesRoot = 0x80000000u;
inline constexpr uint32_t kHiveCurrentUser = 0x80000001u;
inline constexpr uint32_t kHiveLocalMachine = 0x80000002u;

// Value type numbers accepted by writeRegistryValue.
inline constexpr int32_t kRegistryText = 1;
inline constexpr int32_t kRegistryExpandableText = 2;
inline constexpr int32_t kRegistryNumber = 4;

// The stored value as text (a value of any type, in the registry's text form), or the default
// when the key or the value is missing.
std::string readRegistryValue(uint32_t hive, const std::string& key, const std::string& name,
                              const std::string& defaultValue);

// Stores the value, making the key as needed. Type 1 stores text, 2 expandable text and 4 a
// 32-bit number read from the text's leading number; other types raise error 5.
void writeRegistryValue(uint32_t hive, const std::string& key, const std::string& name, const std::string& value,
                        int32_t type = kRegistryText);

void ensureRegistryKey(uint32_t hive, const std::string& key);  // exists afterwards, values kept
void createRegistryKey(uint32_t hive, const std::string& key);  // exists afterwards, with all parents
void deleteRegistryKey(uint32_t hive, const std::string& key);  // gone with its values and subkeys

}  // namespace zorbel::system
