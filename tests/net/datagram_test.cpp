// Command datagrams: bytes to text, items and fields.
#include <gtest/gtest.h>

#include "net/Commands.h"
#include "net/Datagram.h"

namespace vantrel {
void PrintTo(const CommandItem& item, std::ostream* os) {
  *os << "[" << item.Kind << "|" << item.Value << "]";
}
}  // namespace vantrel

namespace vantrel::test {
namespace {

using Items = std::vector<CommandItem>;

struct DatagramCase {
  const char* what;
  std::string bytes;
  Items items;
};

TEST(Datagram, DecodesAndSplitsIntoItems) {
  const std::string fffd = "\xEF\xBF\xBD";
  const DatagramCase cases[] = {
      {"a small s is no command word", "PNL:start", {{"PNL", "start"}}},
      {"the blank after the colon stays", "PNL: Start", {{"PNL", " Start"}}},
      {"a blank before PNL stays", " PNL:Start", {{" PNL", "Start"}}},
      {"small letters are kept as sent", "pnl:Stop", {{"pnl", "Stop"}}},
      {"nothing after the colon", "PNL:", {{"PNL", ""}}},
      {"an empty second field", "PNL::Start", {{"PNL", ""}}},
      {"third and later fields are dropped", "PNL:C172:x:y", {{"PNL", "C172"}}},
      {"two items in order", "PNL:C172|PNL:Start", {{"PNL", "C172"}, {"PNL", "Start"}}},
      {"a trailing bar adds an empty item, which has no fields", "PNL:C172|", {{"PNL", "C172"}}},
      {"empty items between bars", "||PNL:Stop||", {{"PNL", "Stop"}}},
      {"an item without a colon", "PNL|PNL:Kill", {{"PNL", "Kill"}}},
      {"a quoted item keeps its bar", "\"PNL:C1|72\"|PNL:Stop", {{"PNL", "C1|72"}, {"PNL", "Stop"}}},
      {"a quoted field keeps its colon, a doubled quote is one",
       "PNL:\"A:\"\"B\"\"\"",
       {{"PNL", "A:\"B\""}}},
      {"text after a closing quote starts a new field", "PNL:\"C1\"72", {{"PNL", "C1"}}},
      {"a missing closing quote runs to the end of its item", "PNL:\"C172|PNL:Stop",
       {{"PNL", "C172"}, {"PNL", "Stop"}}},
      {"an item's missing closing quote runs to the end", "\"PNL:C172|PNL:Stop",
       {{"PNL", "C172|PNL"}}},
      {"a NUL ends the text", std::string("PNL:C1\0|PNL:Stop", 16), {{"PNL", "C1"}}},
      {"a NUL first leaves nothing", std::string("\0PNL:Stop", 9), {}},
      {"bytes above 127 become U+FFFD", "PNL:C\xC3\xA9\x80", {{"PNL", "C" + fffd + fffd + fffd}}},
      {"an empty datagram has no item", "", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseDatagram(c.bytes), c.items) << c.what;
}

TEST(Datagram, SplittingKeepsEmptyFieldsAndBlanks) {
  using V = std::vector<std::string>;
  EXPECT_EQ(splitDelimited("a||b|", '|'), (V{"a", "", "b", ""}));
  EXPECT_EQ(splitDelimited("|", '|'), (V{"", ""}));
  EXPECT_EQ(splitDelimited(" a | b ", '|'), (V{" a ", " b "}));
  EXPECT_EQ(splitDelimited("", '|'), V{});
  EXPECT_EQ(splitDelimited("\"\"", ':'), V{""});
}

TEST(Datagram, AircraftIdLosesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(aircraftId(" Start"), "Start");
  EXPECT_EQ(aircraftId("\t C 172\r\n\x7F"), "C 172");
  EXPECT_EQ(aircraftId("\x01\x1F"), "");
  EXPECT_EQ(aircraftId("C\xEF\xBF\xBD"), "C\xEF\xBF\xBD");
}

TEST(Datagram, MulticastGroupsAreDottedAddressesFrom224To239) {
  for (const char* good : {"224.11.5.62", "224.0.0.0", "239.255.255.255", "230.1.2.3"})
    EXPECT_TRUE(isMulticastGroup(good)) << good;
  for (const char* bad : {"223.255.255.255", "240.0.0.1", "10.0.0.1", "224.11.5", "224.11.5.62.1",
                          "224.11.5.256", "224.11.5.62 ", " 224.11.5.62", "224..5.62", "0224.1.1.1",
                          "224.1.1.1x", "", "ff02::1", "multicast"})
    EXPECT_FALSE(isMulticastGroup(bad)) << bad;
}

}  // namespace
}  // namespace vantrel::test
