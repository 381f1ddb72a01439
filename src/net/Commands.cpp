#include "net/Commands.h"

#include <exception>

#include "platform/Platform.h"

namespace vantrel {

namespace {

bool trimmable(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b <= 0x20 || b == 0x7F;
}

// The switch flag is set only while a running panel is replaced, even when that fails.
class SwitchFlagOn {
 public:
  explicit SwitchFlagOn(CommandTarget& target) : target_(target) { target_.setSwitchFlag(true); }
  ~SwitchFlagOn() { target_.setSwitchFlag(false); }
  SwitchFlagOn(const SwitchFlagOn&) = delete;
  SwitchFlagOn& operator=(const SwitchFlagOn&) = delete;

 private:
  CommandTarget& target_;
};

void aircraftIdRule(const std::string& value, const SwitchOptions& options,
                    CommandTarget& target) {
  const std::string id = aircraftId(value);
  const std::string current = target.currentPanel();
  target.setDocumentName(current + " (" + id + ")");

  const std::string key = options.AircraftIDPrefix + id + options.AircraftIDSuffix;
  if (key.empty() || !options.PanelSwitching) return;
  if (current.find(key) != std::string::npos) return;

  std::string found;
  if (target.panelRunning()) {
    SwitchFlagOn switching(target);
    if (!target.findPanel(key, found)) return;
    target.stopCommand();
    target.makeCurrent(found, found + "(" + key + ")");
    target.startPanel();
  } else if (options.AutoStart) {
    if (!target.findPanel(key, found)) return;
    target.makeCurrent(found, found + "(" + key + ")");
    target.startPanel();
  }
}

void handleItem(const CommandItem& item, const SwitchOptions& options, CommandTarget& target,
                Platform& platform) {
  if (item.Kind != "PNL") return;
  if (item.Value == "Stop") {
    if (target.panelRunning()) target.stopCommand();
  } else if (item.Value == "Start") {
    if (target.startAvailable()) target.startCommand();
  } else if (item.Value == "Kill") {
    if (target.panelRunning()) target.stopCommand();
    target.restoreMainWindow();
    platform.sleepMs(100);
    target.endProgram();
  } else {
    aircraftIdRule(item.Value, options, target);
  }
}

}  // namespace

std::string aircraftId(const std::string& value) {
  std::size_t b = 0, e = value.size();
  while (b < e && trimmable(value[b])) ++b;
  while (e > b && trimmable(value[e - 1])) --e;
  return value.substr(b, e - b);
}

void handleCommands(const std::vector<CommandItem>& items, const SwitchOptions& options,
                    CommandTarget& target, Platform& platform) {
  for (const CommandItem& item : items) {
    try {
      handleItem(item, options, target, platform);
    } catch (const std::exception& e) {
      target.report(e);
    }
  }
}

}  // namespace vantrel
