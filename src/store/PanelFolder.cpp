#include "store/PanelFolder.h"

#include <filesystem>
#include <system_error>

#include "platform/Paths.h"
#include "platform/Text.h"
#include "store/IniFile.h"
#include "store/InstrumentFile.h"

namespace vantrel {

namespace {

const std::string kPrefix = "Panel_";


// A directory that is nothing more: symlinks and other kinds of entry are passed over.
bool isPlainDirectory(const std::string& path) {
  std::error_code ec;
  const auto st = std::filesystem::symlink_status(fsPath(path), ec);
  return !ec && st.type() == std::filesystem::file_type::directory;
}

}  // namespace

std::string panelFolderPath(const std::string& iniPath, const std::string& name) {
  return joinPath(iniPath, kPrefix + name);
}

std::string panelFilePath(const std::string& iniPath, const std::string& name) {
  return joinPath(panelFolderPath(iniPath, name), name + ".ini");
}

bool OpenPanel(const std::string& iniPath, InstrumentList& list, Ui& ui, const std::string& name,
               bool reportMissing, bool partial, std::string& foundName) {
  bool found = false;
  if (!partial) {
    std::error_code ec;
    found = std::filesystem::is_directory(fsPath(panelFolderPath(iniPath, name)), ec);
    if (found) foundName = name;
  } else if (!name.empty()) {
    for (const std::string& entry : listEntries(iniPath, kPrefix + "*")) {
      if (!isPlainDirectory(joinPath(iniPath, entry))) continue;
      if (entry.find(name) == std::string::npos) continue;
      // Only the leading prefix goes: "Panel_" inside a name belongs to the name.
      foundName = entry.substr(kPrefix.size());
      found = true;
      break;
    }
  }
  if (!found) {
    if (reportMissing)
      ui.messageBox(MsgType::Error, "Panel " + name + " configuration is missing! - Create Panel again",
                    MsgButtons::OK);
    return false;
  }

  list.clear();
  std::string problem;
  if (!readInstrumentFile(instrumentFilePath(iniPath, foundName), list, problem)) {
    // Half a list must never become the panel's list: the next save would overwrite the
    // file with it.
    list.clear();
    ui.messageBox(MsgType::Error, problem, MsgButtons::OK);
    return false;
  }
  return true;
}

void ReadPanelFile(const std::string& iniPath, const std::string& name, std::string& currentPanel,
                   PanelState& state) {
  if (name.empty()) return;
  const IniFile ini(panelFilePath(iniPath, name), FlagStyle::OneZero);
  const std::string section = "Config";
  currentPanel = ini.readString(section, "PanelName", name);
  state.PanelMonitor = ini.readString(section, "PanelMonitor", "0");
  const std::int32_t count = strToInt(ini.readString(section, "No_of_Screens", "1"));
  state.Monitors.Count = count;
  for (std::int32_t i = 0; i < count && i < 4; ++i) {
    const std::string screen = "Screen_" + std::to_string(i);
    state.Monitors.Heights[i] = ini.readInteger(section, screen + "_Height", 0);
    state.Monitors.Widths[i] = ini.readInteger(section, screen + "_Width", 0);
  }
  state.ShowBezels = ini.readBool(section, "ShowBezels", true);
  state.EnableLighting = ini.readBool(section, "EnableLighting", false);
  state.ShowBackground = ini.readBool(section, "ShowBackground", true);
}

void copyPanelFiles(const std::string& iniPath, const std::string& source,
                    const std::string& target) {
  const std::string from = panelFolderPath(iniPath, source);
  const std::string to = panelFolderPath(iniPath, target);
  std::error_code ec;
  for (const std::string& entry : listEntries(from, "*.*")) {
    // The temporary file of a save is no part of the panel.
    if (entry == "." || entry == ".." || isSaveTempName(entry)) continue;
    const std::string copyName =
        utf8DropLast(entry, 4) == source ? target + extractFileExt(entry) : entry;
    // A subfolder or an unreadable file is skipped.
    std::filesystem::copy_file(fsPath(joinPath(from, entry)), fsPath(joinPath(to, copyName)),
                               std::filesystem::copy_options::overwrite_existing, ec);
  }
  IniFile(panelFilePath(iniPath, target), FlagStyle::OneZero)
      .writeString("Config", "PanelName", target);
}

void removePanelFolder(const std::string& iniPath, const std::string& name) {
  const std::string folder = panelFolderPath(iniPath, name);
  std::error_code ec;
  for (const std::string& entry : listEntries(folder, "*.*")) {
    const auto path = fsPath(joinPath(folder, entry));
    // Files and links go; a subfolder stays, and is never entered.
    if (std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::directory)
      std::filesystem::remove(path, ec);
  }
  // Removes the folder only when it is empty now.
  if (std::filesystem::is_directory(fsPath(folder), ec)) std::filesystem::remove(fsPath(folder), ec);
}

void ResetPanelState(std::string& currentPanel, PanelState& state) {
  currentPanel.clear();
  state.PanelMonitor = "0";
  state.ShowBackground = true;
  state.ShowBezels = true;
  state.EnableLighting = false;
}

bool isValidPanelName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32) return false;
    switch (c) {
      case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return false;
      default:
        break;
    }
  }
  const char last = name.back();
  return last != ' ' && last != '.';
}

std::string invalidPanelNameMessage(const std::string& name) {
  return "Invalid panel name: " + name +
         " - a panel name cannot contain \\ / : * ? \" < > | or end in a blank or dot";
}

std::string panelNameProblem(const std::string& name) {
  // Load Panel shows at most this many characters of a folder name: a longer name could
  // never be loaded again.
  constexpr std::size_t kListedCharacters = 99;
  // A file name holds at most 255 bytes; the panel's files add "Panel_" or ".cfg" and, while
  // a save is under way, the temporary name beside the file.
  constexpr std::size_t kMaxBytes = 200;
  if (name.empty()) return "The panel name is empty - Enter a name for the panel";
  if (!isValidPanelName(name)) return invalidPanelNameMessage(name);
  if (utf8Mid(name, 0, kListedCharacters) != name)
    return "Panel name too long - a panel name can have at most 99 characters";
  if (name.size() > kMaxBytes)
    return "Panel name too long for the file system - Choose a shorter name";
  return std::string();
}

std::string panelExistsMessage(const std::string& name) {
  return "Panel " + name + " already exists! - Choose a different name";
}

}  // namespace vantrel
