#include "platform/system/paths.hpp"

#include "platform/system/command_line.hpp"

namespace zorbel::system {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

size_t withoutTrailingLength(std::string_view folder) {
    size_t end = folder.size();
    while (end > 0 && isSeparator(folder[end - 1])) --end;
    return end;
}

}  // namespace

std::string withTrailingSeparator(std::string_view folder) {
    std::string out(folder.substr(0, withoutTrailingLength(folder)));
    out += '/';
    return out;
}

std::string withoutTrailingSeparator(std::string_view folder) {
    return std::string(folder.substr(0, withoutTrailingLength(folder)));
}

std::string folderPart(std::string_view path) {
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return {};
    std::string_view folder = path.substr(0, slash);
    size_t end = folder.size();
    while (end > 0 && folder[end - 1] == '/') --end;
    if (end == 0) return "/";
    return std::string(folder.substr(0, end));
}

std::string fileNamePart(std::string_view path) {
    size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string fileExtension(std::string_view path) {
    size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot + 1));
}

std::string commandProgramPart(std::string_view commandLine) {
    size_t start = commandLine.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    std::string_view rest = commandLine.substr(start);
    if (rest.front() == '"') {
        size_t close = rest.find('"', 1);
        return std::string(close == std::string_view::npos ? rest : rest.substr(0, close + 1));
    }
    return std::string(rest.substr(0, rest.find_first_of(" \t")));
}

std::string stripQuotes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '"') out += c;
    }
    return out;
}

std::string pathForCommandLine(std::string_view path) { return quoteArgument(path); }

}  // namespace zorbel::system
