#pragma once
// Creating objects of any registered component library: the class records in the registry
// stand-in name the library file, which is loaded with dlopen and asked for a class factory.

#include <optional>
#include <string>
#include <string_view>

#include "frame/com.hpp"
#include "frame/variant.hpp"

namespace zorbel::activation {

// The class identifier registered for a program identifier, if any.
std::optional<com::Guid> clsidFromProgId(std::string_view progId);

// A new object of a registered class, through its library's DllGetClassObject. Raises error
// 429 when the class is not registered, the library cannot be loaded or refuses the class.
ObjectRef createRegistered(const com::Guid& clsid);

}  // namespace zorbel::activation
