#include "platform/system/command_line.hpp"

namespace zorbel::system {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void skipBlanks(std::string_view text, size_t& pos) {
    while (pos < text.size() && isBlank(text[pos])) ++pos;
}

// Backslashes starting at pos, handled by what follows them.
void readBackslashes(std::string_view text, size_t& pos, std::string& arg) {
    size_t end = text.find_first_not_of('\\', pos);
    if (end == std::string_view::npos) end = text.size();
    size_t count = end - pos;
    if (end < text.size() && text[end] == '"') {
        arg.append(count / 2, '\\');
        if (count % 2 == 1) {
            arg += '"';
            ++end;  // the escaped quote is used up
        }
    } else {
        arg.append(count, '\\');
    }
    pos = end;
}

std::string readArgument(std::string_view text, size_t& pos) {
    std::string arg;
    bool quoted = false;
    while (pos < text.size()) {
        char c = text[pos];
        if (!quoted && isBlank(c)) break;
        if (c == '\\') {
            readBackslashes(text, pos, arg);
        } else if (c == '"') {
            if (quoted && pos + 1 < text.size() && text[pos + 1] == '"') {
                arg += '"';
                pos += 2;
            } else {
                quoted = !quoted;
                ++pos;
            }
        } else {
            arg += c;
            ++pos;
        }
    }
    return arg;
}

std::string readProgramPart(std::string_view text, size_t& pos) {
    size_t start = pos;
    if (text[pos] == '"') {
        size_t close = text.find('"', pos + 1);
        if (close == std::string_view::npos) close = text.size();
        pos = close < text.size() ? close + 1 : close;
        return std::string(text.substr(start + 1, close - start - 1));
    }
    while (pos < text.size() && !isBlank(text[pos])) ++pos;
    return std::string(text.substr(start, pos - start));
}

void readArguments(std::string_view text, size_t pos, std::vector<std::string>& out) {
    for (skipBlanks(text, pos); pos < text.size(); skipBlanks(text, pos)) out.push_back(readArgument(text, pos));
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> out;
    size_t pos = 0;
    skipBlanks(commandLine, pos);
    if (pos == commandLine.size()) return out;
    out.push_back(readProgramPart(commandLine, pos));
    readArguments(commandLine, pos, out);
    return out;
}

std::vector<std::string> splitArguments(std::string_view arguments) {
    std::vector<std::string> out;
    readArguments(arguments, 0, out);
    return out;
}

std::string quoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos) return std::string(argument);
    std::string out = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped; others stay as they are.
        out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(2 * backslashes, '\\');  // they now stand before the closing quote
    out += '"';
    return out;
}

std::string joinArguments(const std::vector<std::string>& arguments) {
    std::string out;
    for (const std::string& arg : arguments) {
        if (!out.empty()) out += ' ';
        out += quoteArgument(arg);
    }
    return out;
}

}  // namespace zorbel::system
