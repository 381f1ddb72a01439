#include "platform/posix/SessionBus.h"

#include <dbus/dbus.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace vantrel {

namespace {

constexpr const char* BusName = "org.freedesktop.DBus";
constexpr const char* BusPath = "/org/freedesktop/DBus";

// Frees a message when it goes out of scope.
struct MessageRef {
  DBusMessage* m;
  explicit MessageRef(DBusMessage* message) : m(message) {}
  ~MessageRef() {
    if (m != nullptr) dbus_message_unref(m);
  }
  MessageRef(const MessageRef&) = delete;
  MessageRef& operator=(const MessageRef&) = delete;
};

// Connecting blocks inside the library for as long as a stuck bus has no room for another
// caller, so it runs on a thread that the caller stops waiting for in time. At most one
// such thread is left waiting: until it is done, no bus is tried.
std::atomic<bool> connectStuck{false};

struct Attempt {
  std::mutex mutex;
  std::condition_variable doneChanged;
  bool done = false;
  bool abandoned = false;
  DBusConnection* connection = nullptr;
};

DBusConnection* connectWithin(const std::string& address, std::chrono::steady_clock::time_point deadline) {
  if (connectStuck.load()) return nullptr;
  auto attempt = std::make_shared<Attempt>();
  try {
    std::thread([attempt, address] {
      DBusError err;
      dbus_error_init(&err);
      DBusConnection* connection = dbus_connection_open_private(address.c_str(), &err);
      dbus_error_free(&err);
      std::lock_guard<std::mutex> lock(attempt->mutex);
      attempt->done = true;
      if (attempt->abandoned) {
        if (connection != nullptr) {
          dbus_connection_close(connection);
          dbus_connection_unref(connection);
        }
        connectStuck = false;
        return;
      }
      attempt->connection = connection;
      attempt->doneChanged.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return nullptr;
  }
  std::unique_lock<std::mutex> lock(attempt->mutex);
  if (!attempt->doneChanged.wait_until(lock, deadline, [&] { return attempt->done; })) {
    attempt->abandoned = true;
    connectStuck = true;
    return nullptr;
  }
  return attempt->connection;
}

BusReply sendAndWait(DBusConnection* connection, DBusMessage* message, int timeoutMs) {
  BusReply out;
  DBusError err;
  dbus_error_init(&err);
  MessageRef reply(dbus_connection_send_with_reply_and_block(connection, message, timeoutMs, &err));
  if (reply.m == nullptr) {
    // A call the bus could not deliver comes back as an error from the bus itself; a
    // timeout or a lost connection means nobody answered.
    const bool silent = !dbus_error_is_set(&err) || dbus_error_has_name(&err, DBUS_ERROR_NO_REPLY) ||
                        dbus_error_has_name(&err, DBUS_ERROR_TIMEOUT) ||
                        dbus_error_has_name(&err, DBUS_ERROR_DISCONNECTED);
    out.answered = !silent;
    out.error = dbus_error_is_set(&err) ? err.name : DBUS_ERROR_FAILED;
    dbus_error_free(&err);
    return out;
  }
  out.answered = true;
  DBusMessageIter it;
  if (dbus_message_iter_init(reply.m, &it) && dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_UINT32) {
    dbus_uint32_t value = 0;
    dbus_message_iter_get_basic(&it, &value);
    out.firstUint32 = value;
  }
  return out;
}

}  // namespace

std::unique_ptr<SessionBus> SessionBus::open(const std::string& address, int timeoutMs) {
  // Such addresses start a bus or a bridge program of our own, which has no screen saver.
  if (address.empty() || address.rfind("autolaunch:", 0) == 0 || address.find("unixexec:") != std::string::npos)
    return nullptr;
  // The program's own handling of SIGPIPE stays as it is; writes to the bus do not raise it.
  dbus_connection_set_change_sigpipe(FALSE);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  DBusConnection* connection = connectWithin(address, deadline);
  if (connection == nullptr) return nullptr;
  dbus_connection_set_exit_on_disconnect(connection, FALSE);
  std::unique_ptr<SessionBus> bus(new SessionBus(connection, timeoutMs));
  // A blocking call waits without limit while the bus has not yet accepted us, so the
  // handshake is driven here with a deadline of our own.
  while (!dbus_connection_get_is_authenticated(connection)) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    if (left <= 0 || !dbus_connection_read_write(connection, static_cast<int>(left))) return nullptr;
  }
  // The bus's own Hello, sent here rather than by the library so that it is bounded too.
  MessageRef hello(dbus_message_new_method_call(BusName, BusPath, BusName, "Hello"));
  if (hello.m == nullptr || !sendAndWait(connection, hello.m, timeoutMs).ok()) return nullptr;
  return bus;
}

SessionBus::~SessionBus() {
  dbus_connection_close(connection_);
  dbus_connection_unref(connection_);
}

bool SessionBus::connected() {
  dbus_connection_read_write(connection_, 0);
  dropUnasked();
  return dbus_connection_get_is_connected(connection_);
}

bool SessionBus::nameHasOwner(const std::string& name) {
  MessageRef msg(dbus_message_new_method_call(BusName, BusPath, BusName, "NameHasOwner"));
  if (msg.m == nullptr) return false;
  const char* n = name.c_str();
  if (!dbus_message_append_args(msg.m, DBUS_TYPE_STRING, &n, DBUS_TYPE_INVALID)) return false;
  DBusError err;
  dbus_error_init(&err);
  MessageRef reply(dbus_connection_send_with_reply_and_block(connection_, msg.m, timeoutMs_, &err));
  dbus_error_free(&err);
  dropUnasked();
  dbus_bool_t owned = FALSE;
  if (reply.m == nullptr) return false;
  DBusError argErr;
  dbus_error_init(&argErr);
  const bool read = dbus_message_get_args(reply.m, &argErr, DBUS_TYPE_BOOLEAN, &owned, DBUS_TYPE_INVALID);
  dbus_error_free(&argErr);
  return read && owned;
}

BusReply SessionBus::call(const std::string& destination, const std::string& path, const std::string& interface,
                          const std::string& method, const std::vector<BusArgument>& arguments) {
  MessageRef msg(dbus_message_new_method_call(destination.c_str(), path.c_str(), interface.c_str(), method.c_str()));
  if (msg.m == nullptr) return {};
  dbus_message_set_auto_start(msg.m, FALSE);
  DBusMessageIter it;
  dbus_message_iter_init_append(msg.m, &it);
  for (const BusArgument& a : arguments) {
    bool appended = false;
    if (const auto* s = std::get_if<std::string>(&a)) {
      const char* text = s->c_str();
      appended = dbus_message_iter_append_basic(&it, DBUS_TYPE_STRING, &text);
    } else {
      const dbus_uint32_t value = std::get<std::uint32_t>(a);
      appended = dbus_message_iter_append_basic(&it, DBUS_TYPE_UINT32, &value);
    }
    if (!appended) return {};
  }
  BusReply reply = sendAndWait(connection_, msg.m, timeoutMs_);
  dropUnasked();
  return reply;
}

void SessionBus::dropUnasked() {
  while (DBusMessage* m = dbus_connection_pop_message(connection_)) dbus_message_unref(m);
}

}  // namespace vantrel
