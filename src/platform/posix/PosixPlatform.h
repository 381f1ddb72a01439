#pragma once
// The Platform of Linux and other POSIX hosts.
//
// Started programs are the manager's children and are reaped only through their handle
// (closeProcess, later calls, the destructor): this code never waits for "any child", so it
// takes nothing from a toolkit that reaps its own children. Only the unreaped child keeps
// its number from being given out again (holding a pidfd does not), so every check and
// signal goes through the child's pidfd where the kernel has one, never the bare number.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Platform.h"

namespace vantrel {

class SessionBus;

class PosixPlatform : public Platform {
 public:
  PosixPlatform();
  // Reaps the children that have ended (giving those killed a moment to finish dying), ends
  // the sleep inhibitor and gives back a screen saver inhibit still held; terminates no
  // started program.
  // closeProcess never waits: what it lets go of is reaped on a thread of this object.
  ~PosixPlatform() override;
  PosixPlatform(const PosixPlatform&) = delete;
  PosixPlatform& operator=(const PosixPlatform&) = delete;

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
  int pidOf(ProcessHandle handle) const;

 private:
  struct Child {
    int pid = 0;
    int pidfd = -1;  // -1 where the kernel has no pidfd
    bool killed = false;
  };

  // Reaps whatever of pending_ has ended. Caller holds mutex_; only the destructor calls
  // it, once the reaper thread has stopped, so no pidfd closes under the reaper's poll.
  void reapPendingLocked();
  // Hands a child that is let go of but not yet reaped to the reaper thread, which reaps
  // it once it ends and never signals it. Caller holds mutex_.
  void handToReaperLocked(const Child& child);
  void reaperLoop();
  void stopReaper();
  void endInhibitor();
  // Gives back the screen saver inhibit and closes its connection. Caller holds
  // screenSaverMutex_.
  void releaseScreenSaverLocked();

  mutable std::mutex mutex_;
  std::map<ProcessHandle, Child> children_;
  std::vector<Child> pending_;  // let go of, not yet reaped
  // The reaper thread starts with the first child handed to it; wakePipe_ tells it that
  // pending_ changed or that it is to stop.
  std::thread reaper_;
  int wakePipe_[2] = {-1, -1};
  bool stopping_ = false;
  ProcessHandle nextHandle_ = 1;

  // Sleep inhibitor: a helper in its own process group, kept alive by a pipe whose
  // writing end only the manager holds, so it ends with the manager.
  std::optional<Child> inhibitor_;
  int inhibitorPipe_ = -1;

  // Screen saver inhibit: the service keeps it only while this connection stays open.
  std::mutex screenSaverMutex_;
  std::unique_ptr<SessionBus> screenSaverBus_;
  std::uint32_t screenSaverCookie_ = 0;
  std::string screenSaverPath_;  // the object that gave the cookie
};

}  // namespace vantrel
