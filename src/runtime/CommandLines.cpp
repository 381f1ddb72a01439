#include "runtime/CommandLines.h"

#include <algorithm>

#include "platform/Text.h"

namespace vantrel {

std::string quoted(const std::string& value) { return "\"" + value + "\""; }

LaunchTokens backgroundTokens(const LaunchContext& c) {
  return {quoted(c.AppPath + "Scrimlay.exe"), "0",
          quoted(c.PanelName),                quoted(c.MulticastGroup),
          quoted(c.FlightSimPort),            quoted("0"),
          quoted(c.Bezels),                   quoted(c.Monitor),
          quoted(c.Lighting),                 quoted("1"),
          quoted(c.MulticastGroup)};
}

LaunchTokens instrumentTokens(const LaunchContext& c, const InstrumentRow& row) {
  std::string size = row.SubItems[4];
  for (char& ch : size)
    if (ch == '.' || ch == ',') ch = c.DecimalSeparator;
  return {quoted(c.AppPath + row.SubItems[1]), row.SubItems[0],
          quoted(c.PanelName),                 quoted(c.LocalAddress),
          quoted(c.FlightSimPort),             quoted(size),
          quoted(c.Bezels),                    quoted(c.Monitor),
          quoted(c.Lighting),                  quoted(row.SubItems[5]),
          quoted(c.MulticastGroup)};
}

std::string joinTokens(const LaunchTokens& tokens) {
  std::string line;
  for (const std::string& t : tokens) {
    if (!line.empty()) line += ' ';
    line += t;
  }
  return line;
}

std::vector<std::string> splitParameters(const std::string& text) {
  std::vector<std::string> out;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n) {
    std::string piece;
    if (text[i] == '"') {
      // A quoted piece ends at its closing quote; what follows it before the next comma
      // is a piece of its own.
      piece = readQuoted(text, i);
    } else {
      const std::size_t comma = text.find(',', i);
      const std::size_t end = comma == std::string::npos ? n : comma;
      piece = text.substr(i, end - i);
      i = end;
    }
    out.push_back(std::move(piece));
    if (i < n && text[i] == ',') {
      ++i;
      if (i == n) out.emplace_back();
    }
  }
  return out;
}

std::string applicationCommandLine(const std::string& path,
                                   const std::vector<std::string>& parameters) {
  std::string line = quoted(path) + ' ';
  for (const std::string& p : parameters) line += quoted(p) + ' ';
  return line;
}

int compareMonitors(const MonitorTable& current, const MonitorTable& panel) {
  if (current.Count != panel.Count) return 1;
  int result = 0;
  const int last = std::min<int>(current.Count, 4);
  for (int i = 0; i < last; ++i)
    if (current.Widths[i] != panel.Widths[i] || current.Heights[i] != panel.Heights[i])
      result = 2;
  return result;
}

}  // namespace vantrel
