// A stand-in screen saver service on the session bus for the tests. It owns
// org.freedesktop.ScreenSaver, hands out cookies, and, like a real one, forgets the
// inhibits of a caller whose connection closes.
//
//   fake_screen_saver LOG PATH ANSWER
// PATH: the one object it serves. ANSWER: "cookie" (a uint32), "text" (a string instead),
// or "silent" (no answer to Inhibit at all).
//
// LOG gets one line per event, flushed at once:
//   ready                              the name is owned
//   Inhibit SENDER PATH APP|REASON COOKIE
//   UnInhibit SENDER COOKIE held|unknown
//   Dropped SENDER COOKIE              the caller left while holding COOKIE
//   Gone SENDER                        a caller that ever called has left the bus
// It ends when the bus goes, or after 60 s.
#include <dbus/dbus.h>
#include <time.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

constexpr const char* Name = "org.freedesktop.ScreenSaver";

FILE* logFile = nullptr;

void logLine(const std::string& line) {
  std::fprintf(logFile, "%s\n", line.c_str());
  std::fflush(logFile);
}

void replyError(DBusConnection* c, DBusMessage* m, const char* name) {
  DBusMessage* r = dbus_message_new_error(m, name, "not here");
  dbus_connection_send(c, r, nullptr);
  dbus_message_unref(r);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string path = argv[2];
  const std::string answer = argv[3];
  logFile = std::fopen(argv[1], "a");
  if (logFile == nullptr) return 2;

  DBusError err;
  dbus_error_init(&err);
  DBusConnection* c = dbus_bus_get_private(DBUS_BUS_SESSION, &err);
  if (c == nullptr) return 3;
  dbus_connection_set_exit_on_disconnect(c, FALSE);
  // A stand-in killed just before may still hold the name for a moment.
  for (int tries = 0;; ++tries) {
    if (dbus_bus_request_name(c, Name, DBUS_NAME_FLAG_DO_NOT_QUEUE, &err) == DBUS_REQUEST_NAME_REPLY_PRIMARY_OWNER) break;
    dbus_error_free(&err);
    if (tries == 40) return 4;
    const timespec pause{0, 50 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  dbus_bus_add_match(c, "type='signal',sender='org.freedesktop.DBus',member='NameOwnerChanged'", &err);
  if (dbus_error_is_set(&err)) return 5;
  logLine("ready");

  std::map<std::uint32_t, std::string> held;  // cookie -> sender
  std::set<std::string> callers;
  std::uint32_t nextCookie = 4242;
  const time_t end = time(nullptr) + 60;
  while (time(nullptr) < end && dbus_connection_read_write(c, 100)) {
    while (DBusMessage* m = dbus_connection_pop_message(c)) {
      const char* sender = dbus_message_get_sender(m);
      const std::string from = sender ? sender : "?";
      if (dbus_message_is_signal(m, DBUS_INTERFACE_DBUS, "NameOwnerChanged")) {
        const char *name = nullptr, *oldOwner = nullptr, *newOwner = nullptr;
        if (dbus_message_get_args(m, nullptr, DBUS_TYPE_STRING, &name, DBUS_TYPE_STRING, &oldOwner, DBUS_TYPE_STRING,
                                  &newOwner, DBUS_TYPE_INVALID) &&
            *newOwner == '\0' && callers.erase(name) > 0) {
          for (auto it = held.begin(); it != held.end();) {
            if (it->second == name) {
              logLine("Dropped " + it->second + " " + std::to_string(it->first));
              it = held.erase(it);
            } else {
              ++it;
            }
          }
          logLine(std::string("Gone ") + name);
        }
      } else if (dbus_message_get_type(m) == DBUS_MESSAGE_TYPE_METHOD_CALL) {
        const char* objectPath = dbus_message_get_path(m);
        if (objectPath == nullptr || path != objectPath) {
          replyError(c, m, DBUS_ERROR_UNKNOWN_OBJECT);
        } else if (dbus_message_is_method_call(m, Name, "Inhibit")) {
          const char *app = nullptr, *reason = nullptr;
          if (!dbus_message_get_args(m, nullptr, DBUS_TYPE_STRING, &app, DBUS_TYPE_STRING, &reason, DBUS_TYPE_INVALID)) {
            replyError(c, m, DBUS_ERROR_INVALID_ARGS);
          } else {
            callers.insert(from);
            const std::uint32_t cookie = nextCookie++;
            logLine("Inhibit " + from + " " + path + " " + app + "|" + reason + " " + std::to_string(cookie));
            if (answer != "silent") {
              DBusMessage* r = dbus_message_new_method_return(m);
              const std::string text = std::to_string(cookie);
              const char* t = text.c_str();
              if (answer == "text")
                dbus_message_append_args(r, DBUS_TYPE_STRING, &t, DBUS_TYPE_INVALID);
              else
                dbus_message_append_args(r, DBUS_TYPE_UINT32, &cookie, DBUS_TYPE_INVALID);
              held[cookie] = from;
              dbus_connection_send(c, r, nullptr);
              dbus_message_unref(r);
            }
          }
        } else if (dbus_message_is_method_call(m, Name, "UnInhibit")) {
          dbus_uint32_t cookie = 0;
          if (!dbus_message_get_args(m, nullptr, DBUS_TYPE_UINT32, &cookie, DBUS_TYPE_INVALID)) {
            replyError(c, m, DBUS_ERROR_INVALID_ARGS);
          } else {
            callers.insert(from);
            const auto it = held.find(cookie);
            const bool known = it != held.end() && it->second == from;
            if (known) held.erase(it);
            logLine("UnInhibit " + from + " " + std::to_string(cookie) + (known ? " held" : " unknown"));
            DBusMessage* r = dbus_message_new_method_return(m);
            dbus_connection_send(c, r, nullptr);
            dbus_message_unref(r);
          }
        } else {
          replyError(c, m, DBUS_ERROR_UNKNOWN_METHOD);
        }
      }
      dbus_message_unref(m);
    }
  }
  dbus_connection_close(c);
  dbus_connection_unref(c);
  return 0;
}
