#include "platform/CommandLine.h"

namespace vantrel {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
  std::vector<std::string> args;
  const std::size_t n = commandLine.size();
  std::size_t i = 0;
  while (i < n && isBlank(commandLine[i])) ++i;
  if (i == n) return args;

  // The program path: no escapes, so "C:\dir\" stays as written.
  std::string first;
  if (commandLine[i] == '"') {
    ++i;
    while (i < n && commandLine[i] != '"') first += commandLine[i++];
    if (i < n) ++i;  // the closing quote
  } else {
    while (i < n && !isBlank(commandLine[i])) first += commandLine[i++];
  }
  args.push_back(first);

  for (;;) {
    while (i < n && isBlank(commandLine[i])) ++i;
    if (i == n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      const char c = commandLine[i];
      if (!quoted && isBlank(c)) break;
      if (c == '\\') {
        std::size_t count = 0;
        while (i < n && commandLine[i] == '\\') {
          ++count;
          ++i;
        }
        if (i < n && commandLine[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg += '"';
            ++i;
          }
          // An even run leaves the quote to the next round, where it groups.
        } else {
          arg.append(count, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
          arg += '"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
        continue;
      }
      arg += c;
      ++i;
    }
    args.push_back(arg);
  }
  return args;
}

}  // namespace vantrel
