#pragma once
// Path and command-text helpers of the utility library. Paths use forward slashes; the
// trailing-separator helpers also strip backslashes, so a folder written the classic way still
// comes out right. The part helpers split at "/" only, because "\" is an ordinary character in
// a Linux file name.

#include <string>
#include <string_view>

namespace zorbel::system {

// The folder with exactly one trailing "/" (any trailing "/" and "\" replaced by one "/").
std::string withTrailingSeparator(std::string_view folder);
// The folder without any trailing "/" or "\" ("/" itself becomes "").
std::string withoutTrailingSeparator(std::string_view folder);

// The folder of a path, without a trailing separator: "/a/b/c.txt" -> "/a/b", "/c.txt" -> "/",
// "c.txt" -> "".
std::string folderPart(std::string_view path);
// The name after the last "/", with its extension: "/a/b/c.txt" -> "c.txt".
std::string fileNamePart(std::string_view path);
// The text after the last "." of the file name, without the dot; "" when the name has none.
std::string fileExtension(std::string_view path);

// The program part of a command line: a leading double-quoted part with its quotes, otherwise
// everything up to the first space or tab. Leading blanks are skipped.
std::string commandProgramPart(std::string_view commandLine);
// The text with every double-quote character removed.
std::string stripQuotes(std::string_view text);

// The path in the form a command line takes whole: unchanged when it has no space, tab or
// double quote and is not empty, otherwise quoted by the command-line quoting rules (see
// command_line.hpp), so that splitting the command line gives the path back byte for byte.
std::string pathForCommandLine(std::string_view path);

}  // namespace zorbel::system
