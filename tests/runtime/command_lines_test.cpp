#include <gtest/gtest.h>

#include <ostream>

#include "runtime/CommandLines.h"

namespace vantrel {
namespace {

struct SplitCase {
  std::string text;
  std::vector<std::string> parameters;
};

// Readable in the test output.
void PrintTo(const SplitCase& c, std::ostream* os) { *os << ::testing::PrintToString(c.text); }

class ParameterSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ParameterSplit, SplitsAtEveryComma) {
  EXPECT_EQ(splitParameters(GetParam().text), GetParam().parameters) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParameterSplit,
    ::testing::Values(
        SplitCase{"", {}},
        SplitCase{"a", {"a"}},
        SplitCase{"a, b c", {"a", " b c"}},
        SplitCase{" a ", {" a "}},
        SplitCase{"a,", {"a", ""}},
        SplitCase{"a,,b", {"a", "", "b"}},
        SplitCase{",a", {"", "a"}},
        SplitCase{",", {"", ""}},
        SplitCase{"\"x,y\",z", {"x,y", "z"}},
        SplitCase{"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        SplitCase{"\"q\",", {"q", ""}},
        // Text after a closing quote is a parameter of its own.
        SplitCase{"\"q\"r,s", {"q", "r", "s"}},
        // A quote left open runs to the end, commas included.
        SplitCase{"\"open,end", {"open,end"}},
        // A quote that does not begin a piece is an ordinary character.
        SplitCase{"a\"b,c", {"a\"b", "c"}}));

TEST(ApplicationCommandLine, QuotesEachPartAndEndsInABlank) {
  EXPECT_EQ(applicationCommandLine("/opt/app/run", {}), "\"/opt/app/run\" ");
  EXPECT_EQ(applicationCommandLine("/opt/app/run", splitParameters("a, b c")),
            "\"/opt/app/run\" \"a\" \" b c\" ");
  EXPECT_EQ(applicationCommandLine("C:\\A B\\x.exe", {""}), "\"C:\\A B\\x.exe\" \"\" ");
}

LaunchContext context(char separator) {
  LaunchContext c;
  c.AppPath = "/opt/vantrel/";
  c.PanelName = "My Panel";
  c.LocalAddress = "10.1.2.3";
  c.MulticastGroup = "224.11.5.62";
  c.FlightSimPort = "45000";
  c.Bezels = "true";
  c.Monitor = "1";
  c.Lighting = "false";
  c.DecimalSeparator = separator;
  return c;
}

TEST(LaunchTokens, BackgroundProgramGetsTheGroupWhereInstrumentsGetTheAddress) {
  EXPECT_EQ(joinTokens(backgroundTokens(context('.'))),
            "\"/opt/vantrel/Scrimlay.exe\" 0 \"My Panel\" \"224.11.5.62\" \"45000\" \"0\" "
            "\"true\" \"1\" \"false\" \"1\" \"224.11.5.62\"");
}

TEST(LaunchTokens, InstrumentRowSizeTakesTheLocaleSeparator) {
  struct Case {
    std::string size;
    char separator;
    std::string passed;
  } cases[] = {{"1,5", '.', "1.5"}, {"1.5", ',', "1,5"}, {"1.5", '.', "1.5"},
               {"1.2,3", ',', "1,2,3"}, {"2", ',', "2"}, {"", '.', ""}};
  for (const auto& c : cases) {
    InstrumentRow row;
    row.Checked = true;
    row.SubItems = {"47000", "Instruments_Brantic\\P@ASI.exe", "ignored", "ignored", c.size, "2"};
    EXPECT_EQ(joinTokens(instrumentTokens(context(c.separator), row)),
              "\"/opt/vantrel/Instruments_Brantic\\P@ASI.exe\" 47000 \"My Panel\" \"10.1.2.3\" "
              "\"45000\" \"" + c.passed + "\" \"true\" \"1\" \"false\" \"2\" \"224.11.5.62\"")
        << c.size << " with '" << c.separator << "'";
  }
}

MonitorTable table(int count, std::initializer_list<std::pair<int, int>> sizes) {
  MonitorTable t;
  t.Count = count;
  int i = 0;
  for (auto [w, h] : sizes) {
    t.Widths[i] = w;
    t.Heights[i] = h;
    ++i;
  }
  return t;
}

TEST(CompareMonitors, CountThenDimensionsOfTheFirstFour) {
  const MonitorTable two = table(2, {{1920, 1080}, {1280, 1024}});
  EXPECT_EQ(compareMonitors(two, two), 0);
  EXPECT_EQ(compareMonitors(two, table(1, {{1920, 1080}})), 1);
  EXPECT_EQ(compareMonitors(two, table(3, {{1920, 1080}, {1280, 1024}, {800, 600}})), 1);
  EXPECT_EQ(compareMonitors(two, table(2, {{1920, 1080}, {1280, 1000}})), 2);
  EXPECT_EQ(compareMonitors(two, table(2, {{1921, 1080}, {1280, 1024}})), 2);
  // Sizes beyond the count are not looked at.
  EXPECT_EQ(compareMonitors(table(1, {{1920, 1080}, {5, 5}}), table(1, {{1920, 1080}, {7, 7}})), 0);
  // Six monitors: only the four the tables hold are compared.
  const MonitorTable six = table(6, {{1, 1}, {2, 2}, {3, 3}, {4, 4}});
  EXPECT_EQ(compareMonitors(six, six), 0);
  EXPECT_EQ(compareMonitors(six, table(6, {{1, 1}, {2, 2}, {3, 3}, {4, 5}})), 2);
}

}  // namespace
}  // namespace vantrel
