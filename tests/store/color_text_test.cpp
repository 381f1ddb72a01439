#include <gtest/gtest.h>

#include "platform/Error.h"
#include "store/ColorText.h"

namespace vantrel::test {
namespace {

// Values that write as a name or as "$" and eight hex digits, and read back the same.
struct RoundTrip {
  std::uint32_t value;
  const char* text;
};

TEST(ColorText, WritesNamesOrHexAndReadsThemBack) {
  const RoundTrip cases[] = {
      {0x000000FF, "clRed"},      {0x00000000, "clBlack"},     {0x00FFFFFF, "clWhite"},
      {0x00C0DCC0, "clMoneyGreen"}, {0x00F0CAA6, "clSkyBlue"},  {0x00F0FBFF, "clCream"},
      {0x00A4A0A0, "clMedGray"},  {0x00808000, "clTeal"},      {0x000080FF, "$000080FF"},
      {0x00000001, "$00000001"},  {0x00ABCDEF, "$00ABCDEF"},   {0xFF00000F, "$FF00000F"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(colorToText(c.value), c.text) << std::hex << c.value;
    EXPECT_EQ(textToColor(c.text), c.value) << c.text;
  }
}

TEST(ColorText, ReadsAnyLetterCaseSystemColoursAndNumbers) {
  const RoundTrip cases[] = {
      {0x000000FF, "CLRED"},        {0x00FFFF00, "claqua"},     {0xFF000000, "clScrollBar"},
      {0xFF00000F, "clBtnFace"},    {0xFF000015, "cl3DDkShadow"}, {0xFF000018, "clinfobk"},
      {0xFF00001A, "clHotLight"},   {0xFF00001E, "clMenuBar"},  {0x1FFFFFFF, "clNone"},
      {0x20000000, "clDefault"},    {255, "255"},               {0x00FF8000, "$00ff8000"},
      {0x00FF8000, "16744448"},     {0xFFFFFFFF, "-1"},
  };
  for (const auto& c : cases) EXPECT_EQ(textToColor(c.text), c.value) << c.text;
  // System colours are read, never written: the same value written back is hex.
  EXPECT_EQ(colorToText(0xFF00000F), "$FF00000F");
}

TEST(ColorText, JunkIsAConversionErrorNamingTheText) {
  for (const char* junk : {"", "red", "clRedd", "$", "$GG", "12 34", "clRed;"}) {
    try {
      textToColor(junk);
      ADD_FAILURE() << "no error for '" << junk << "'";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), conversionError(junk).what());
    }
  }
}

}  // namespace
}  // namespace vantrel::test
