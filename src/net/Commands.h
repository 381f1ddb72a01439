#pragma once
// What the command items of one datagram do: Stop, Start, Kill and the aircraft-id rule.
// The state they act on belongs to the main window, which implements CommandTarget.
#include <functional>
#include <string>
#include <vector>

#include "net/Datagram.h"

namespace vantrel {

class Platform;

// The switching options in force when the datagram is handled.
struct SwitchOptions {
  bool PanelSwitching = false;
  bool AutoStart = false;
  std::string AircraftIDPrefix;
  std::string AircraftIDSuffix;
};

class CommandTarget {
 public:
  virtual ~CommandTarget() = default;
  virtual bool panelRunning() const = 0;     // the Stop command is available
  virtual bool startAvailable() const = 0;   // the Start command is available
  virtual std::string currentPanel() const = 0;
  virtual void setDocumentName(const std::string& text) = 0;
  virtual void stopCommand() = 0;            // the Stop command
  virtual void startCommand() = 0;           // the Start command
  // Looks the aircraft key up among the panel folders (partial, reporting nothing missing).
  // Found: the found panel's instrument list is now the instrument list and foundName holds
  // its name. Not found, or a list that cannot be read: the instrument list is untouched.
  virtual bool findPanel(const std::string& key, std::string& foundName) = 0;
  // Makes the found panel current and reads its panel file.
  virtual void makeCurrent(const std::string& foundName, const std::string& documentName) = 0;
  virtual void startPanel() = 0;             // the panel start itself, whatever the commands
  virtual void setSwitchFlag(bool on) = 0;
  virtual void restoreMainWindow() = 0;
  virtual void endProgram() = 0;             // ends once the datagram has been handled
  // A command that failed with an error: shown as any command error is.
  virtual void report(const std::exception& error) = 0;
};

// The id of an aircraft-id item: blanks and control characters removed from both ends.
std::string aircraftId(const std::string& value);

// Carries out the items of one datagram in order. An item whose command fails is reported
// through the target and the next item is handled.
void handleCommands(const std::vector<CommandItem>& items, const SwitchOptions& options,
                    CommandTarget& target, Platform& platform);

}  // namespace vantrel
