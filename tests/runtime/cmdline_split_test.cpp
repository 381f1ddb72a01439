#include <gtest/gtest.h>

#include "platform/CommandLine.h"

namespace vantrel {
namespace {

struct SplitCase {
  const char* name;
  std::string line;
  std::vector<std::string> args;
};

TEST(SplitCommandLine, FollowsTheWindowsRules) {
  const SplitCase cases[] = {
      {"nothing", "", {}},
      {"only blanks", " \t ", {}},
      {"bare program", "prog", {"prog"}},
      {"quoted program with blank", "\"C:\\Program Files\\x.exe\" a", {"C:\\Program Files\\x.exe", "a"}},
      {"program keeps trailing backslash", "\"C:\\dir\\\" next", {"C:\\dir\\", "next"}},
      {"program ends at closing quote", "\"p\"q r", {"p", "q", "r"}},
      {"unquoted program ends at blank, quotes literal", "a\"b c", {"a\"b", "c"}},
      {"leading blanks skipped", "  prog x", {"prog", "x"}},
      {"blanks and tabs separate, runs collapse", "p a \t b\t\tc", {"p", "a", "b", "c"}},
      {"trailing blank adds nothing", "\"p\" \"a\" \"b c\" ", {"p", "a", "b c"}},
      {"empty quoted argument", "p \"\" x", {"p", "", "x"}},
      {"empty quoted argument at end", "p \"\"", {"p", ""}},
      {"quotes glue to neighbours", "p a\"b c\"d", {"p", "ab cd"}},
      {"backslashes not before a quote are literal", "p C:\\a\\\\b\\", {"p", "C:\\a\\\\b\\"}},
      {"odd backslashes escape the quote", "p \\\"x \\\\\\\"y", {"p", "\"x", "\\\"y"}},
      {"even backslashes then quote groups", "p \\\\\"a b\"", {"p", "\\a b"}},
      {"doubled quote inside quotes is a quote", "p \"a\"\"b\" c", {"p", "a\"b", "c"}},
      {"doubled quote outside quotes is empty", "p a\"\"b", {"p", "ab"}},
      {"unterminated quote runs to the end", "p \"a b", {"p", "a b"}},
      {"decimal comma stays", "p \"1,5\"", {"p", "1,5"}},
      // A value holding a quote is passed unquoted-as-is: the quote ends the group early
      // and the next blank falls inside the group that opens after it.
      {"value with an inner quote", "p \"a\"b\" \"c\"", {"p", "ab c"}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.args) << c.name << ": [" << c.line << "]";
}

TEST(SplitCommandLine, InstrumentLineGivesElevenTokens) {
  const std::string line =
      "\"/opt/v/Instruments_Brantic\\P@ASI.exe\" 5021 \"My Panel\" \"192.168.1.4\" \"45000\" \"1,5\" "
      "\"true\" \"0\" \"false\" \"2\" \"224.11.5.62\"";
  EXPECT_EQ(splitCommandLine(line),
            (std::vector<std::string>{"/opt/v/Instruments_Brantic\\P@ASI.exe", "5021", "My Panel", "192.168.1.4", "45000",
                                      "1,5", "true", "0", "false", "2", "224.11.5.62"}));
}

}  // namespace
}  // namespace vantrel
