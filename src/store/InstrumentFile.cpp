#include "store/InstrumentFile.h"

#include <filesystem>
#include <system_error>

#include "platform/Error.h"
#include "platform/Paths.h"
#include "platform/Text.h"
#include "store/PanelFolder.h"

namespace vantrel {

namespace {

constexpr std::size_t kFields = 8;

bool isBlankOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 1 && u <= 32;
}

// A line break inside a field would split its row in two and leave a file that no longer
// reads; it becomes a blank. A NUL would end the line on reading, so the field ends there.
std::string quoteField(const std::string& field) {
  std::string out = "\"";
  for (const char c : field) {
    if (c == '\0') break;
    if (c == '"') out += '"';
    out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  return out + '"';
}

const std::string kBom = "\xEF\xBB\xBF";

// Lines end at CR LF, LF or a lone CR; a last line without an end still counts.
std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

bool hasWildcard(const std::string& s) { return s.find_first_of("*?") != std::string::npos; }

bool isFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(fsPath(path), ec);
}

// The name of a file in folder equal to fileName (letter case aside), or empty.
std::string findFileIn(const std::string& folder, const std::string& fileName) {
  if (fileName.empty()) return {};
  for (const std::string& entry : listEntries(folder, fileName)) {
    // A wildcard in a stored name is no pattern: only the name itself counts.
    if (hasWildcard(fileName) && entry != fileName) continue;
    if (isFile(joinPath(folder, entry))) return entry;
  }
  return {};
}

}  // namespace

std::string instrumentFilePath(const std::string& iniPath, const std::string& name) {
  return joinPath(panelFolderPath(iniPath, name), name + ".cfg");
}

std::vector<std::string> splitCommaText(const std::string& input) {
  // A NUL ends the line, as it ends the text the rules were made for.
  const std::string line = input.substr(0, input.find('\0'));
  std::vector<std::string> fields;
  std::size_t p = 0;
  const std::size_t n = line.size();
  auto skipBlanks = [&] {
    while (p < n && isBlankOrControl(line[p])) ++p;
  };
  skipBlanks();
  while (p < n) {
    std::string field;
    if (line[p] == '"') {
      field = readQuoted(line, p);
    } else {
      const std::size_t start = p;
      while (p < n && !isBlankOrControl(line[p]) && line[p] != ',') ++p;
      field = line.substr(start, p - start);
    }
    fields.push_back(std::move(field));
    skipBlanks();
    if (p < n && line[p] == ',') {
      ++p;
      if (p == n) fields.emplace_back();
      skipBlanks();
    }
  }
  return fields;
}

std::array<std::string, 8> instrumentFields(const InstrumentRow& row) {
  const auto& s = row.SubItems;
  const std::string check = row.Checked ? "Y" : "N";
  if (row.isApplication()) return {row.Caption, s[0], s[1], check, s[2], "", "", ""};
  return {row.Caption, s[0], s[1], check, s[2], s[3], s[4], s[5]};
}

std::string instrumentLine(const InstrumentRow& row, const std::string& multicastGroup,
                           const std::string& flightSimPort) {
  auto fields = instrumentFields(row);
  if (!row.isApplication()) {
    fields[4] = multicastGroup;
    fields[5] = flightSimPort;
  }
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i) line += ',';
    line += quoteField(fields[i]);
  }
  return line;
}

std::string instrumentFileText(const InstrumentList& list, const std::string& multicastGroup,
                               const std::string& flightSimPort) {
  std::string text;
  for (const InstrumentRow& row : list.rows())
    text += instrumentLine(row, multicastGroup, flightSimPort) + "\r\n";
  return text;
}

bool parseInstrumentText(const std::string& text, const std::string& path, InstrumentList& list,
                         std::string& problem) {
  std::size_t number = 0;
  for (const std::string& line : splitLines(text)) {
    ++number;
    const std::vector<std::string> f = splitCommaText(line);
    if (f.size() < kFields) {
      problem = "Instrument list file " + path + " is damaged: line " + std::to_string(number) +
                " holds fewer than eight fields";
      return false;
    }
    InstrumentRow row;
    row.Caption = f[0];
    row.Checked = f[3] == "Y";
    row.SubItems = {f[1], f[2], f[4], f[5], f[6], f[7]};
    list.add(std::move(row));
  }
  return true;
}

bool readInstrumentFile(const std::string& path, InstrumentList& list, std::string& problem) {
  std::string bytes;
  if (!isFile(path)) {
    problem = "Instrument list file " + path + " is missing";
    return false;
  }
  if (!readFileBytes(toHostPath(path), bytes)) {
    problem = "Instrument list file " + path + " cannot be read";
    return false;
  }
  // A byte-order mark is no part of the first caption.
  if (bytes.compare(0, kBom.size(), kBom) == 0) bytes.erase(0, kBom.size());
  return parseInstrumentText(decodeFileLines(bytes), path, list, problem);
}

void saveInstrumentFile(const std::string& iniPath, const std::string& name,
                        const InstrumentList& list, const std::string& multicastGroup,
                        const std::string& flightSimPort) {
  if (name.empty()) return;
  const std::string folder = panelFolderPath(iniPath, name);
  const std::string path = instrumentFilePath(iniPath, name);
  std::error_code ec;
  if (!std::filesystem::is_directory(fsPath(folder), ec)) {
    std::filesystem::create_directory(fsPath(folder), ec);
    if (ec) throw writeError(path);
  }
  writeFileAtomic(toHostPath(path), encodeFileText(instrumentFileText(list, multicastGroup, flightSimPort)));
}

void CheckInstrumentFiles(const std::string& appPath, InstrumentList& list, Ui& ui) {
  for (InstrumentRow& row : list.rows()) {
    if (row.isApplication()) continue;
    std::string& path = row.SubItems[1];
    if (!isFile(joinPath(appPath, path))) {
      const std::string fileName = extractFileName(path);
      bool moved = false;
      for (const std::string& set : listEntries(appPath, "Instruments_*")) {
        const std::string hit = findFileIn(joinPath(appPath, set), fileName);
        if (hit.empty()) continue;
        path = set + "\\" + hit;
        moved = true;
        break;
      }
      if (!moved)
        ui.messageBox(MsgType::Error,
                      "Missing instrument file for " + row.Caption + "\n\r" +
                          "Did you install all instument add-ons?",
                      MsgButtons::OK);
    }
    // A port that is no number is left alone; the rows after it are still checked.
    int port = 0;
    if (tryStrToInt(row.SubItems[0], port) && port > 47000 && port < 47100)
      row.SubItems[0] = "47000";
  }
}

}  // namespace vantrel
