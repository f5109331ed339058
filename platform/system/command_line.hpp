#pragma once
// Command lines in the classic form: one text that is cut into an argument vector by the
// quoting rules of the classic platform's command-line splitter. No shell ever sees the text.
//
// Rules for every argument but the program part:
//  - arguments are separated by runs of spaces and tabs (nothing else separates);
//  - a double quote starts or ends a quoted stretch, in which spaces and tabs are kept;
//    quoted stretches can sit inside an argument (a"b c"d is one argument: ab cd);
//  - inside a quoted stretch, two double quotes in a row give one literal double quote and the
//    stretch goes on;
//  - 2n backslashes followed by a double quote give n backslashes, and the quote acts as above;
//    2n+1 backslashes followed by a double quote give n backslashes and a literal quote;
//  - backslashes not followed by a double quote are literal;
//  - "" on its own is an empty argument; an unfinished quoted stretch ends at the end of text.
// The program part (first argument of a whole command line) is read without escapes: when it
// starts with a double quote it runs to the next double quote, which ends it; otherwise it
// runs to the first space or tab. Leading blanks of the text are skipped.

#include <string>
#include <string_view>
#include <vector>

namespace zorbel::system {

// Program part and arguments of a whole command line.
std::vector<std::string> splitCommandLine(std::string_view commandLine);
// Arguments only (no program part), as a program's argument text.
std::vector<std::string> splitArguments(std::string_view arguments);

// One argument in the form splitArguments reads back unchanged: as it is when it is not empty
// and holds no space, tab or double quote, otherwise double-quoted with the needed escapes.
std::string quoteArgument(std::string_view argument);
// Arguments joined by single spaces, each quoted by quoteArgument.
std::string joinArguments(const std::vector<std::string>& arguments);

}  // namespace zorbel::system
