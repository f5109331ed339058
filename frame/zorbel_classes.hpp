#pragma once
// The class table of the main library: every public class with its identifiers and how it
// may be created. Classes become creatable through a factory in the library's descriptor
// (frame/zorbel_library.cpp) once they are implemented.

#include <string_view>
#include <vector>

#include "frame/typeinfo.hpp"

namespace zorbel {

const std::vector<ClassIdentity>& zorbelClassIdentities();
const ClassIdentity* zorbelIdentity(std::string_view className);       // nullptr when unknown
const ClassIdentity& zorbelIdentityOf(std::string_view className);    // raises 429 when unknown

}  // namespace zorbel
