#pragma once
// The Platform of Windows.
//
// A started program is known by the process handle CreateProcessW gave; as long as the
// handle is open the system does not give its number to another process, so every check
// and TerminateProcess goes through the handle, never the bare number.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

class Win32Platform : public Platform {
 public:
  Win32Platform();
  // Closes the handles still held; terminates no started program. Gives back a screen
  // saver switched off, and the keep-awake request, as a crash would.
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::optional<std::string> environment(const std::string& name) override;
  std::string applicationDataFolder() override;
  std::string executablePath() override;

  void sleepMs(int milliseconds) override;
  std::int64_t nowMs() override;

  ProcessHandle createProcess(const std::string& commandLine) override;
  bool terminateProcess(ProcessHandle handle, std::uint32_t exitCode) override;
  void closeProcess(ProcessHandle handle) override;
  std::optional<ProcessIdentity> processIdentity(ProcessHandle handle) override;
  std::optional<ProcessIdentity> ownIdentity() override;
  bool isRunning(const ProcessIdentity& identity) override;
  std::size_t endLeftovers(const std::vector<ProcessIdentity>& leftovers) override;
  bool shellOpen(const std::string& target) override;

  void setExecutionState(std::uint32_t flags) override;
  bool screenSaverActive() override;
  void setScreenSaverActive(bool active) override;
  void showDesktopIcons(bool show) override;
  void minimizeAllWindows() override;

  std::vector<std::string> localIPv4Addresses() override;
  char decimalSeparator() override;

  // Multicast command datagrams (Multicast.cpp).
  std::unique_ptr<MulticastReceiver> openMulticastReceiver(const std::string& group, int port,
                                                           int bufferSize) override;
  std::string sendMulticast(const std::string& group, int port,
                            const std::string& bytes) override;

  // The process id behind a handle; 0 when the handle is unknown.
  unsigned long pidOf(ProcessHandle handle) const;

 private:
  mutable std::mutex mutex_;
  std::map<ProcessHandle, void*> children_;  // HANDLE of each started process
  ProcessHandle nextHandle_ = 1;
  bool winsock_ = false;
};

}  // namespace vantrel
