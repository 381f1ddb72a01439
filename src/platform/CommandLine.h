#pragma once
// Splitting a command line into the arguments a started program receives. The command
// lines the manager builds follow the Windows conventions, so a program is given the same
// arguments on every system.
#include <string>
#include <vector>

namespace vantrel {

// Blanks and tabs separate arguments; double quotes group; 2n backslashes before a quote
// give n backslashes and the quote toggles grouping, 2n+1 give n backslashes and a literal
// quote; other backslashes are literal; "" inside a group is a literal quote. The first
// argument, the program path, ends at its closing quote when it starts with one, else at
// the first blank, and keeps its backslashes. Leading blanks are skipped. An empty or
// all-blank line gives no arguments.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace vantrel
