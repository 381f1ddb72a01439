#pragma once
// A Platform that records what the core asks of it. Every call is also appended to log,
// so tests can check the order across kinds ("start ...", "terminate 3", "sleep 1000").
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vantrel::test {

class FakePlatform : public Platform {
 public:
  struct Process {
    ProcessHandle handle = 0;
    std::string commandLine;
    bool running = true;
    bool closed = false;
  };

  std::map<std::string, std::string> env;
  std::string appDataFolder = "/tmp/vantrel-fake-appdata";
  std::string exePath = "/opt/vantrel/vantrel";
  std::int64_t clock = 0;
  std::vector<int> sleeps;
  // Decides whether a command line can start; all can by default.
  std::function<bool(const std::string&)> canStart = [](const std::string&) { return true; };
  std::vector<Process> processes;
  std::vector<ProcessHandle> terminated;
  std::vector<std::string> shellOpened;
  std::vector<std::uint32_t> executionStates;
  bool screenSaver = true;
  std::vector<bool> screenSaverSets;
  std::vector<bool> desktopIconCalls;
  int minimizeAllCount = 0;
  std::vector<std::string> addresses = {"192.168.1.10"};
  char separator = '.';
  std::vector<std::string> log;
  // Processes running outside this manager (left by an earlier run, or another manager's).
  std::vector<ProcessIdentity> foreign;
  ProcessIdentity self{42, "boot:42", "/opt/vantrel/vantrel"};

  // Command lines of the started processes, in start order.
  std::vector<std::string> startedCommandLines() const;
  // Processes started and not terminated.
  std::vector<const Process*> runningProcesses() const;

  std::optional<std::string> environment(const std::string& name) override;
  std::string applicationDataFolder() override { return appDataFolder; }
  std::string executablePath() override { return exePath; }
  void sleepMs(int ms) override;
  std::int64_t nowMs() override { return clock; }
  ProcessHandle createProcess(const std::string& commandLine) override;
  bool terminateProcess(ProcessHandle handle, std::uint32_t exitCode) override;
  void closeProcess(ProcessHandle handle) override;
  // A running process's identity: its handle as number, "boot:<handle>", its program.
  std::optional<ProcessIdentity> processIdentity(ProcessHandle handle) override;
  std::optional<ProcessIdentity> ownIdentity() override { return self; }
  bool isRunning(const ProcessIdentity& identity) override;
  // Ends the exact matches among foreign; logs "end leftovers <count asked>".
  std::size_t endLeftovers(const std::vector<ProcessIdentity>& leftovers) override;
  bool shellOpen(const std::string& target) override;
  void setExecutionState(std::uint32_t flags) override;
  bool screenSaverActive() override { return screenSaver; }
  void setScreenSaverActive(bool active) override;
  void showDesktopIcons(bool show) override;
  void minimizeAllWindows() override;
  std::vector<std::string> localIPv4Addresses() override { return addresses; }
  char decimalSeparator() override { return separator; }

  // --- multicast command datagrams --------------------------------------------------
  // The receiver the core opens hands out what deliverDatagram queued, in order; a
  // datagram longer than its buffer is discarded as the real socket does.
  struct Multicast {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::string> queued;
    bool interrupted = false;
    bool left = false;
    bool closed = false;
    int receives = 0;
  };
  struct MulticastOpen {
    std::string group;
    int port = 0;
    int bufferSize = 0;
  };
  std::vector<MulticastOpen> multicastOpens;
  bool multicastOpenFails = false;
  std::shared_ptr<Multicast> multicast = std::make_shared<Multicast>();
  // Callable from any thread.
  void deliverDatagram(const std::string& bytes);
  std::unique_ptr<MulticastReceiver> openMulticastReceiver(const std::string& group, int port,
                                                           int bufferSize) override;
  // When set, multicast goes to this platform's real sockets (inside a private network).
  Platform* realNetwork = nullptr;
  std::vector<std::string> multicastSent;  // "group:port bytes"
  std::string sendMulticast(const std::string& group, int port, const std::string& bytes) override;

 private:
  ProcessHandle next_ = 1000;
};

}  // namespace vantrel::test
