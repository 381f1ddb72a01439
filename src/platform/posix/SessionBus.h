#pragma once
// A private connection to the user's session bus. It lives exactly as long as this object,
// since services such as the screen saver forget what a caller asked for once its
// connection closes. Every call waits a bounded time; a bus that is gone or silent makes
// calls fail, never hang, and never ends the program.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct DBusConnection;

namespace vantrel {

using BusArgument = std::variant<std::string, std::uint32_t>;

struct BusReply {
  bool answered = false;   // a return or an error came back in time
  std::string error;       // the error's name; empty for a return
  std::optional<std::uint32_t> firstUint32;  // the first returned value, when it is one
  bool ok() const { return answered && error.empty(); }
};

class SessionBus {
 public:
  // Connects to address and introduces itself to the bus, each step within timeoutMs.
  // Null when there is no bus there, or when the address would start a program.
  static std::unique_ptr<SessionBus> open(const std::string& address, int timeoutMs);
  ~SessionBus();
  SessionBus(const SessionBus&) = delete;
  SessionBus& operator=(const SessionBus&) = delete;

  // False once the bus has closed the connection (as far as has been seen).
  bool connected();
  bool nameHasOwner(const std::string& name);
  // A method call that never starts a service which is not already running.
  BusReply call(const std::string& destination, const std::string& path, const std::string& interface,
                const std::string& method, const std::vector<BusArgument>& arguments);

 private:
  SessionBus(DBusConnection* connection, int timeoutMs) : connection_(connection), timeoutMs_(timeoutMs) {}
  // Lets go of messages nobody asked for (the bus's greeting), so they do not pile up.
  void dropUnasked();

  DBusConnection* connection_;
  int timeoutMs_;
};

}  // namespace vantrel
