#include "store/ColorText.h"

#include <cstdio>

#include "platform/Error.h"
#include "platform/Text.h"

namespace vantrel {

namespace {

struct NamedColor {
  const char* name;
  std::uint32_t value;
};

// The colours a chosen RGB value can match, in the order they are looked up.
constexpr NamedColor kPlainColors[] = {
    {"clBlack", 0x000000},     {"clMaroon", 0x000080}, {"clGreen", 0x008000},
    {"clOlive", 0x008080},     {"clNavy", 0x800000},   {"clPurple", 0x800080},
    {"clTeal", 0x808000},      {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},       {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},      {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},     {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},     {"clMedGray", 0xA4A0A0},
};

// Read only: system colours carry the platform's colour index in the low byte.
constexpr std::uint32_t kSystem = 0xFF000000u;
constexpr NamedColor kReadOnlyColors[] = {
    {"clScrollBar", kSystem | 0},
    {"clBackground", kSystem | 1},
    {"clActiveCaption", kSystem | 2},
    {"clInactiveCaption", kSystem | 3},
    {"clMenu", kSystem | 4},
    {"clWindow", kSystem | 5},
    {"clWindowFrame", kSystem | 6},
    {"clMenuText", kSystem | 7},
    {"clWindowText", kSystem | 8},
    {"clCaptionText", kSystem | 9},
    {"clActiveBorder", kSystem | 10},
    {"clInactiveBorder", kSystem | 11},
    {"clAppWorkSpace", kSystem | 12},
    {"clHighlight", kSystem | 13},
    {"clHighlightText", kSystem | 14},
    {"clBtnFace", kSystem | 15},
    {"clBtnShadow", kSystem | 16},
    {"clGrayText", kSystem | 17},
    {"clBtnText", kSystem | 18},
    {"clInactiveCaptionText", kSystem | 19},
    {"clBtnHighlight", kSystem | 20},
    {"cl3DDkShadow", kSystem | 21},
    {"cl3DLight", kSystem | 22},
    {"clInfoText", kSystem | 23},
    {"clInfoBk", kSystem | 24},
    {"clHotLight", kSystem | 26},
    {"clGradientActiveCaption", kSystem | 27},
    {"clGradientInactiveCaption", kSystem | 28},
    {"clMenuHighlight", kSystem | 29},
    {"clMenuBar", kSystem | 30},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
};

}  // namespace

std::string colorToText(std::uint32_t color) {
  for (const auto& c : kPlainColors)
    if (c.value == color) return c.name;
  char buf[10];
  std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(color));
  return buf;
}

std::uint32_t textToColor(const std::string& text) {
  for (const auto& c : kPlainColors)
    if (sameTextIgnoreCase(text, c.name)) return c.value;
  for (const auto& c : kReadOnlyColors)
    if (sameTextIgnoreCase(text, c.name)) return c.value;
  int value = 0;
  if (!tryStrToInt(text, value)) throw conversionError(text);
  return static_cast<std::uint32_t>(value);
}

}  // namespace vantrel
