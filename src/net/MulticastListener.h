#pragma once
// The multicast command listener: a thread of its own receives the datagrams, splits them
// into items and hands each datagram to the user-interface thread, one after another in
// arrival order.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/Datagram.h"

namespace vantrel {

class MulticastReceiver;
class Platform;
class Ui;

class MulticastListener {
 public:
  // Runs on the user-interface thread with the items of one datagram.
  using Handler = std::function<void(const std::vector<CommandItem>&)>;
  // Asked on the user-interface thread before a datagram is handled: false while the user
  // is in the middle of a command (a dialog's event loop hands datagrams over too), so the
  // datagram waits until resume().
  using MayHandle = std::function<bool()>;

  MulticastListener(Platform& platform, Ui& ui);
  ~MulticastListener();
  MulticastListener(const MulticastListener&) = delete;
  MulticastListener& operator=(const MulticastListener&) = delete;

  // Validates the group ("The supplied IP address is not a valid multicast address.") and
  // converts the port ("'%s' is not a valid integer value"); both throw and leave the
  // listener inactive. A socket that cannot be opened, bound or joined is not reported:
  // the listener stays inactive and receives nothing.
  void start(const std::string& group, const std::string& portText, Handler handler,
             MayHandle mayHandle = {});
  // On the user-interface thread: handles the datagrams that had to wait, in order.
  void resume();
  // Ends the thread (at once, at the latest after one wait of 1000 ms), leaves the group
  // and closes the socket. Datagrams handed over but not handled yet are dropped. Never
  // waits for the user-interface thread. Nothing when inactive.
  void stop();
  bool active() const { return thread_.joinable(); }

  static constexpr int kWaitMs = 1000;

 private:
  struct Delivery;
  void run();

  Platform& platform_;
  Ui& ui_;
  std::unique_ptr<MulticastReceiver> receiver_;
  std::shared_ptr<Delivery> delivery_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

// "The supplied IP address is not a valid multicast address."
extern const char* const kInvalidGroupMessage;

}  // namespace vantrel
