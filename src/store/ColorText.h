#pragma once
// Colours as the background file writes them: a name where one fits, else "$" and eight
// hexadecimal digits of the 00BBGGRR value.
#include <cstdint>
#include <string>

namespace vantrel {

// "clRed" for 0x000000FF, "$000080FF" for a value no name matches exactly.
std::string colorToText(std::uint32_t color);
// Accepts the colour names (any letter case, system colours included), decimal and
// "$"-hexadecimal numbers; anything else throws a conversion error naming the text.
std::uint32_t textToColor(const std::string& text);

}  // namespace vantrel
