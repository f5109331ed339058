#include "frame/error.hpp"

#include <cerrno>
#include <utility>

namespace zorbel {

Error::Error(int32_t number, std::string description, std::string source)
    : number_(number), description_(std::move(description)), source_(std::move(source)) {}

Error Error::runtime(int32_t number, std::string source) {
    return Error(number, runtimeErrorText(number), std::move(source));
}

std::string runtimeErrorText(int32_t number) {
    switch (number) {
        case 3: return "Return without GoSub";
        case 5: return "Invalid procedure call or argument";
        case 6: return "Overflow";
        case 7: return "Out of memory";
        case 9: return "Subscript out of range";
        case 10: return "This array is fixed or temporarily locked";
        case 11: return "Division by zero";
        case 13: return "Type mismatch";
        case 14: return "Out of string space";
        case 28: return "Out of stack space";
        case 35: return "Sub or Function not defined";
        case 48: return "Error in loading DLL";
        case 51: return "Internal error";
        case 52: return "Bad file name or number";
        case 53: return "File not found";
        case 54: return "Bad file mode";
        case 55: return "File already open";
        case 57: return "Device I/O error";
        case 58: return "File already exists";
        case 59: return "Bad record length";
        case 61: return "Disk full";
        case 62: return "Input past end of file";
        case 63: return "Bad record number";
        case 67: return "Too many files";
        case 68: return "Device unavailable";
        case 70: return "Permission denied";
        case 71: return "Disk not ready";
        case 74: return "Can't rename with different drive";
        case 75: return "Path/File access error";
        case 76: return "Path not found";
        case 91: return "Object variable or With block variable not set";
        case 92: return "For loop not initialized";
        case 93: return "Invalid pattern string";
        case 94: return "Invalid use of Null";
        case 424: return "Object required";
        case 429: return "ActiveX component can't create object";
        case 430: return "Class does not support Automation or does not support expected interface";
        case 438: return "Object doesn't support this property or method";
        case 440: return "Automation error";
        case 445: return "Object doesn't support this action";
        case 446: return "Object doesn't support named arguments";
        case 448: return "Named argument not found";
        case 449: return "Argument not optional";
        case 450: return "Wrong number of arguments or invalid property assignment";
        case 451: return "Property let procedure not defined and property get procedure did not return an object";
        case 457: return "This key is already associated with an element of this collection";
        default: return "Application-defined or object-defined error";
    }
}

Error fileError(int errnoValue, std::string source) {
    int32_t number;
    switch (errnoValue) {
        case ENOENT: number = err::kFileNotFound; break;
        case ENOTDIR: number = err::kPathNotFound; break;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
        case EBUSY: number = err::kPermissionDenied; break;
        case EEXIST: number = err::kFileAlreadyExists; break;
        case ENOSPC:
        case EDQUOT: number = err::kDiskFull; break;
        case EMFILE:
        case ENFILE: number = err::kTooManyFiles; break;
        case EISDIR: number = err::kPathFileAccessError; break;
        case ENAMETOOLONG:
        case EINVAL: number = err::kBadFileName; break;
        case EXDEV: number = err::kRenameAcrossDisks; break;
        case ENXIO:
        case ENODEV: number = err::kDeviceUnavailable; break;
        default: number = err::kDeviceIoError; break;
    }
    return Error::runtime(number, std::move(source));
}

}  // namespace zorbel
