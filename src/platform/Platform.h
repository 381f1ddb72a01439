#pragma once
// What the core needs of the operating system. The host's implementation lives in
// platform/posix (or platform/win32); tests use FakePlatform.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// A started process. Zero never denotes a process.
using ProcessHandle = std::uint64_t;

// What tells a started process apart from any other beyond the manager's own life: its
// number, when it started (a token only the host compares; it also changes with every
// boot) and the program it runs.
struct ProcessIdentity {
  std::int64_t pid = 0;
  std::string startTime;
  std::string program;
  bool operator==(const ProcessIdentity&) const = default;
};

// Execution-state flags handed to setExecutionState.
constexpr std::uint32_t ES_CONTINUOUS = 0x80000000u;
constexpr std::uint32_t ES_SYSTEM_REQUIRED = 0x00000001u;

// --- multicast command datagrams ---------------------------------------------------
// An IPv4 UDP socket bound to 0.0.0.0 and a port, joined to one multicast group.
class MulticastReceiver {
 public:
  enum class Wait { Datagram, Timeout, Discarded, Interrupted, Failed };
  virtual ~MulticastReceiver() = default;
  // Waits at most timeoutMs for one datagram. Datagram: bytes holds exactly what was
  // received. Discarded: one was received but was longer than the buffer, so it was
  // dropped whole. Interrupted: interrupt() was called.
  virtual Wait receive(std::string& bytes, int timeoutMs) = 0;
  // Makes a waiting (or the next) receive return Interrupted; callable from any thread.
  virtual void interrupt() = 0;
  // Leaves the group; a failure is ignored. The socket closes with the object.
  virtual void leaveGroup() = 0;
};
// -------------------------------------------------------------------------------------

class Platform {
 public:
  virtual ~Platform() = default;

  // Environment and the program's own place.
  // The value of an environment variable; nullopt when it is not set.
  virtual std::optional<std::string> environment(const std::string& name) = 0;
  // The folder under which "Quorvane/Dexalune" lies: APPDATA when set, else the host's
  // per-user configuration folder. Empty when nothing fits.
  virtual std::string applicationDataFolder() = 0;
  // Full path of the running executable.
  virtual std::string executablePath() = 0;

  // Clock. Every wait of the program goes through here.
  virtual void sleepMs(int milliseconds) = 0;
  virtual std::int64_t nowMs() = 0;

  // Processes, shaped like CreateProcessW / TerminateProcess: a handle per process.
  // Starts a program from a command line whose first token is its path, with the
  // manager's environment and working folder, in a process group of its own.
  // Returns 0 when it cannot be started.
  virtual ProcessHandle createProcess(const std::string& commandLine) = 0;
  // Ends the process without waiting for it. False when the handle is unknown or the
  // process had already ended.
  virtual bool terminateProcess(ProcessHandle handle, std::uint32_t exitCode) = 0;
  // Lets go of a handle once nothing will use it again (reaps an ended child).
  virtual void closeProcess(ProcessHandle handle) = 0;
  // The identity of a started process while it runs; nullopt when the handle is unknown,
  // the process ended or the host cannot tell.
  virtual std::optional<ProcessIdentity> processIdentity(ProcessHandle handle) {
    (void)handle;
    return std::nullopt;
  }
  // The identity of the manager itself.
  virtual std::optional<ProcessIdentity> ownIdentity() { return std::nullopt; }
  // True while a process with exactly this identity runs.
  virtual bool isRunning(const ProcessIdentity& identity) {
    (void)identity;
    return false;
  }
  // Ends, with what it started, each process an earlier run of the manager left running,
  // but only one whose number, start time and program all still match; waits briefly for
  // them to be gone. Returns how many were ended.
  virtual std::size_t endLeftovers(const std::vector<ProcessIdentity>& leftovers) {
    (void)leftovers;
    return 0;
  }
  // The shell's "open" on a file, program or address, shown normally.
  virtual bool shellOpen(const std::string& target) = 0;

  // Power and desktop. Each is silently nothing where the service is absent.
  virtual void setExecutionState(std::uint32_t flags) = 0;
  virtual bool screenSaverActive() = 0;
  virtual void setScreenSaverActive(bool active) = 0;
  virtual void showDesktopIcons(bool show) = 0;
  virtual void minimizeAllWindows() = 0;

  // Network: the IPv4 addresses the host name resolves to, in resolver order.
  virtual std::vector<std::string> localIPv4Addresses() = 0;

  // The user's locale.
  virtual char decimalSeparator() = 0;

  // --- multicast command datagrams -------------------------------------------------
  // Opens an IPv4 UDP socket with address reuse off, binds it to 0.0.0.0:port and joins
  // group (dotted IPv4) on the interface the system chooses. Datagrams longer than
  // bufferSize are discarded. nullptr when opening, binding or joining fails.
  virtual std::unique_ptr<MulticastReceiver> openMulticastReceiver(const std::string& group,
                                                                   int port, int bufferSize) {
    (void)group, (void)port, (void)bufferSize;
    return nullptr;
  }
  // Sends bytes as one datagram to group:port with TTL 1 and multicast loop on. Empty
  // when sent, else what went wrong.
  virtual std::string sendMulticast(const std::string& group, int port,
                                    const std::string& bytes) {
    (void)group, (void)port, (void)bytes;
    return "no network";
  }
};

}  // namespace vantrel
